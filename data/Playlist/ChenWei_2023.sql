-- text: GB18030
-- Lesson script of the talk "Learning a language at any age" (Chen Wei, 2023),
-- our own text. Table tablename holds one sentence a row; wordlist and
-- phaselist hold the notable words and phrases, their second column listing
-- where each occurs as "(text:line:offset)". In stored texts an apostrophe is
-- "*". The build turns this UTF-8 source into the GB18030 database
-- ChenWei_2023.script. It ships with a generated video, ChenWei_2023.mp4, one
-- second longer than the end of the last sentence.
BEGIN;
CREATE TABLE tablename(linecnt INTEGER, starttime INTEGER, endtime INTEGER, fgnstartpos INTEGER,
  fgntxtlen INTEGER, chnstartpos INTEGER, chntxtlen INTEGER, fgntxt varchar(3000), chntxt varchar(3000));
CREATE TABLE wordlist(stroriginalword varchar(1000), strreference varchar(10000));
CREATE TABLE phaselist(stroriginalphase varchar(1000), strreference varchar(10000));

-- The sentences: line (from 0), start and end in ms, English, Chinese.
CREATE TEMP TABLE sentence(line INTEGER PRIMARY KEY, startms INTEGER, endms INTEGER, english TEXT, chinese TEXT);
INSERT INTO sentence VALUES
(0, 500, 2500, 'Hello, everyone.', '大家好。'),
(1, 2700, 5100, 'My name is Chen Wei.', '我叫陈伟。'),
(2, 5300, 8100, 'I started to study English at fifty.', '我五十岁开始学英语。'),
(3, 8300, 10900, 'People said it was too late.', '人们说太晚了。'),
(4, 11100, 13700, 'I had one question for them.', '我问了他们一个问题。'),
(5, 13900, 16100, 'Too late for what?', '对什么来说太晚？'),
(6, 16300, 18900, 'A language is not a race.', '语言不是一场比赛。'),
(7, 19100, 22000, 'It is a road you walk every day.', '它是你每天都走的一条路。'),
(8, 22200, 25000, 'I studied for twenty minutes each morning.', '我每天早上学习二十分钟。'),
(9, 25200, 28100, 'I listened to short talks on the bus.', '我在公交车上听简短的演讲。'),
(10, 28300, 30900, 'I wrote down every new word.', '我把每个生词都记了下来。'),
(11, 31100, 33900, 'Some days I forgot all of them.', '有些日子我全都忘了。'),
(12, 34100, 36900, 'That is normal, and it is fine.', '这很正常，也没关系。'),
(13, 37100, 40000, 'Your brain needs time to keep a word.', '你的大脑需要时间记住一个词。'),
(14, 40200, 42800, 'Now I am a student again.', '现在我又成了学生。'),
(15, 43000, 45800, 'My teacher is younger than my son.', '我的老师比我儿子还年轻。'),
(16, 46000, 48600, 'We laugh a lot in class.', '我们在课堂上常常大笑。'),
(17, 48800, 51200, 'So here is my advice.', '所以这是我的建议。'),
(18, 51400, 53800, 'Start today, and start small.', '今天就开始，从小处开始。'),
(19, 54000, 56000, 'Thank you.', '谢谢。');

-- The notable words and phrases (an apostrophe as "*"), each with the
-- forms of it that the lesson uses, in lower case.
CREATE TEMP TABLE form(kind TEXT, item TEXT, form TEXT);
INSERT INTO form VALUES
('word', 'study', 'study'), ('word', 'study', 'studied'),
('word', 'language', 'language'),
('word', 'question', 'question'),
('word', 'time', 'time'),
('word', 'student', 'student'),
('word', 'teacher', 'teacher'),
('word', 'brain', 'brain'),
('word', 'word', 'word'),
('word', 'listen', 'listened'),
('word', 'forget', 'forgot'),
('word', 'advice', 'advice'),
('word', 'laugh', 'laugh'),
('phrase', 'every day', 'every day'),
('phrase', 'write down', 'wrote down'),
('phrase', 'a lot', 'a lot'),
('phrase', 'too late', 'too late');

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
