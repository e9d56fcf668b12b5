-- text: GB18030
-- Lesson script of the talk "Why we don*t sleep enough" (Peter Lindqvist,
-- 2017), our own text. Table tablename holds one sentence a row; wordlist and
-- phaselist hold the notable words and phrases, their second column listing
-- where each occurs as "(text:line:offset)". In stored texts an apostrophe is
-- "*". The build turns this UTF-8 source into the GB18030 database
-- PeterLindqvist_2017.script. Some sentences end in a closing double quote,
-- one has no translation ("tmpchntxt"), and some run on into the next without
-- final punctuation.
BEGIN;
CREATE TABLE tablename(linecnt INTEGER, starttime INTEGER, endtime INTEGER, fgnstartpos INTEGER,
  fgntxtlen INTEGER, chnstartpos INTEGER, chntxtlen INTEGER, fgntxt varchar(3000), chntxt varchar(3000));
CREATE TABLE wordlist(stroriginalword varchar(1000), strreference varchar(10000));
CREATE TABLE phaselist(stroriginalphase varchar(1000), strreference varchar(10000));

-- The sentences: line (from 0), start and end in ms, English, Chinese.
CREATE TEMP TABLE sentence(line INTEGER PRIMARY KEY, startms INTEGER, endms INTEGER, english TEXT, chinese TEXT);
INSERT INTO sentence VALUES
(0, 800, 4300, 'Let me start with a simple question.', '让我从一个简单的问题开始。'),
(1, 4600, 8800, 'How many of you slept eight hours last night?', '昨晚有多少人睡了八个小时？'),
(2, 9100, 13600, 'Don*t worry, I won*t ask you to raise your hands.', '别担心，我不会让你们举手。'),
(3, 13900, 18400, 'Most of us don*t sleep enough, and we know it.', '我们大多数人睡眠不足，而且我们自己也知道。'),
(4, 18700, 23200, 'My grandmother used to say, "Sleep is the cheapest medicine."', '我祖母常说：“睡眠是最便宜的药。”'),
(5, 23500, 29300, 'She was right, but it took science a long time to agree with her.', '她是对的，但科学花了很长时间才认同她。'),
(6, 29600, 34800, 'I*m a sleep researcher, and for twelve years I*ve watched people sleep.', '我是一名睡眠研究者，十二年来我一直在观察人们睡觉。'),
(7, 35100, 38300, 'It sounds like an easy job.', '这听起来像一份轻松的工作。'),
(8, 38600, 40500, 'It isn*t.', '其实不是。'),
(9, 40800, 44600, 'When you sleep, your brain doesn*t switch off', '当你睡觉时，你的大脑并没有关机'),
(10, 44900, 51900, 'it cleans itself, it sorts the day*s memories, and it decides what to keep and what to throw away', '它清洁自己，整理白天的记忆，并决定保留什么、丢掉什么'),
(11, 52200, 57000, 'A student once asked me, "Can I learn while I sleep?"', '一个学生曾经问我：“我能在睡觉时学习吗？”'),
(12, 57300, 62100, 'The honest answer is no, not in the way you hope.', '诚实的回答是不能，至少不是你希望的那种方式。'),
(13, 62400, 66600, 'But sleep after learning is when the learning stays.', '但学习之后的睡眠，才是让所学留下来的时候。'),
(14, 66900, 71700, 'In one study, two groups learned the same list of words.', '在一项研究中，两组人学习了同一份单词表。'),
(15, 72000, 76200, 'One group slept, and the other group stayed awake.', '一组睡觉，另一组保持清醒。'),
(16, 76500, 80300, 'The next morning, the sleepers remembered far more.', '第二天早上，睡了觉的那组记住的多得多。'),
(17, 80600, 83400, 'So why don*t we sleep?', '那么我们为什么不睡觉呢？'),
(18, 83700, 86900, 'Part of the answer is light.', '部分原因是光。'),
(19, 87200, 92400, 'Our phones and screens tell the brain that it is still daytime', '我们的手机和屏幕告诉大脑现在还是白天'),
(20, 92700, 96500, 'and the brain believes them, even at midnight', '而大脑相信了它们，即使是在午夜'),
(21, 96800, 101000, 'Another part is the way we talk about sleep.', '另一部分原因在于我们谈论睡眠的方式。'),
(22, 101300, 104800, 'We say, "I*ll sleep when I*m dead."', '我们说：“等我死了再睡吧。”'),
(23, 105100, 108600, 'We treat tired people as hard workers.', '我们把疲惫的人当作勤奋的人。'),
(24, 108900, 112700, 'Nobody gives you a prize for being tired.', 'tmpchntxt'),
(25, 113000, 116800, 'Here is what happens after one short night.', '下面是一个短暂的夜晚之后会发生的事。'),
(26, 117100, 119900, 'Your reaction time gets slower.', '你的反应时间变慢。'),
(27, 120200, 124400, 'Your mood gets worse, and small problems feel big.', '你的情绪变差，小问题也显得很大。'),
(28, 124700, 128500, 'You eat more, and you want sweeter food.', '你吃得更多，而且想吃更甜的食物。'),
(29, 128800, 133300, 'After a week of short nights, the effects add up', '在一周的短睡之后，这些影响会累积起来'),
(30, 133600, 140600, 'and many people no longer notice how tired they really are, which is the most dangerous part of all', '许多人甚至不再察觉自己到底有多累，这是最危险的部分'),
(31, 140900, 143700, 'So what can we do?', '那么我们能做什么？'),
(32, 144000, 146800, 'I have three small suggestions.', '我有三个小建议。'),
(33, 147100, 151600, 'First, go to bed at the same time every night.', '第一，每晚在同一时间上床睡觉。'),
(34, 151900, 155100, 'Your body loves a regular clock.', '你的身体喜欢有规律的时钟。'),
(35, 155400, 158900, 'Second, keep your bedroom cool and dark.', '第二，保持卧室凉爽和黑暗。'),
(36, 159200, 162700, 'Third, put the phone in another room.', '第三，把手机放在另一个房间。'),
(37, 163000, 166200, 'I know, that one is hard.', '我知道，这一条很难。'),
(38, 166500, 170000, 'My daughter told me, "Dad, that*s impossible."', '我女儿对我说：“爸爸，那不可能。”'),
(39, 170300, 173800, 'She tried it for a month anyway.', '但她还是试了一个月。'),
(40, 174100, 178300, 'Now she says she feels like a different person.', '现在她说她感觉自己像换了一个人。'),
(41, 178600, 181100, 'Sleep isn*t lost time.', '睡眠不是浪费的时间。'),
(42, 181400, 186900, 'It*s the time when your body and your mind get ready for tomorrow.', '这是你的身体和头脑为明天做准备的时间。'),
(43, 187200, 191700, 'So tonight, give yourself the gift of a long night.', '所以今晚，送给自己一个长长的夜晚作为礼物。'),
(44, 192000, 193900, 'Thank you.', '谢谢。');

-- The notable words and phrases (an apostrophe as "*"), each with the
-- forms of it that the lesson uses, in lower case.
CREATE TEMP TABLE form(kind TEXT, item TEXT, form TEXT);
INSERT INTO form VALUES
('word', 'sleep', 'sleep'), ('word', 'sleep', 'slept'), ('word', 'sleep', 'sleepers'),
('word', 'brain', 'brain'),
('word', 'don*t', 'don*t'),
('word', 'question', 'question'),
('word', 'student', 'student'),
('word', 'study', 'study'),
('word', 'time', 'time'),
('word', 'learn', 'learn'), ('word', 'learn', 'learned'), ('word', 'learn', 'learning'),
('word', 'tired', 'tired'),
('word', 'medicine', 'medicine'),
('word', 'memory', 'memories'),
('word', 'answer', 'answer'),
('word', 'light', 'light'),
('word', 'body', 'body'),
('word', 'night', 'night'), ('word', 'night', 'nights'),
('word', 'clock', 'clock'),
('phrase', 'used to', 'used to'),
('phrase', 'a long time', 'a long time'),
('phrase', 'switch off', 'switch off'),
('phrase', 'throw away', 'throw away'),
('phrase', 'add up', 'add up'),
('phrase', 'no longer', 'no longer'),
('phrase', 'go to bed', 'go to bed'),
('phrase', 'get ready', 'get ready');

-- The lesson tables from the lists above. English lines end with "\n" as the
-- lesson view shows one sentence per line; positions count bytes of the
-- stored (GB18030) text, running over the lines as the view lays them out.
-- "tmpchntxt" marks a sentence without translation and counts as empty.
INSERT INTO tablename
SELECT line, startms, endms,
       coalesce(sum(length(english) + 1) OVER before, 0), length(english) + 1,
       coalesce(sum(chnbytes + 1) OVER before, 0), chnbytes,
       english || char(10), chinese
  FROM (SELECT *, CASE chinese WHEN 'tmpchntxt' THEN 0 ELSE length(CAST(chinese AS BLOB)) END AS chnbytes
          FROM sentence)
WINDOW before AS (ORDER BY line ROWS BETWEEN UNBOUNDED PRECEDING AND 1 PRECEDING)
 ORDER BY line;

-- Every whole-word occurrence of each form, ignoring case: "(text:line:offset)"
-- with the text as it stands in the sentence and the offset in characters.
CREATE TEMP TABLE ref AS
WITH RECURSIVE hit(seq, form, line, english, pos) AS (
  SELECT f.rowid, f.form, s.line, s.english, instr(lower(s.english), f.form)
    FROM form f JOIN sentence s ON instr(lower(s.english), f.form) > 0
  UNION ALL
  SELECT seq, form, line, english, pos + instr(substr(lower(english), pos + 1), form)
    FROM hit WHERE instr(substr(lower(english), pos + 1), form) > 0
)
SELECT f.kind, f.item, h.seq, h.line, h.pos,
       '(' || substr(h.english, h.pos, length(h.form)) || ':' || h.line || ':' || (h.pos - 1) || ')' AS text
  FROM hit h JOIN form f ON f.rowid = h.seq
 WHERE (h.pos = 1 OR substr(lower(h.english), h.pos - 1, 1) NOT GLOB '[a-z]')
   AND substr(lower(h.english), h.pos + length(h.form), 1) NOT GLOB '[a-z]';

INSERT INTO wordlist
SELECT item, group_concat(text, '') FROM (SELECT * FROM ref WHERE kind = 'word' ORDER BY item, line, pos)
 GROUP BY item ORDER BY min(seq);
INSERT INTO phaselist
SELECT item, group_concat(text, '') FROM (SELECT * FROM ref WHERE kind = 'phrase' ORDER BY item, line, pos)
 GROUP BY item ORDER BY min(seq);
COMMIT;
