-- text: GB18030
-- Lesson script of the talk "Learning a language at any age" (Chen Wei, 2023),
-- our own text. Table tablename holds one sentence a row; wordlist and
-- phaselist hold the notable words and phrases, their second column listing
-- where each occurs as "(text:line:offset)". In stored texts an apostrophe is
-- "*". The build runs this UTF-8 source (in GB18030) between
-- tools/lessonscript_head.sql and tools/lessonscript_tables.sql to make
-- ChenWei_2023.script. It ships with a generated video, ChenWei_2023.mp4, one
-- second longer than the end of the last sentence.
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
