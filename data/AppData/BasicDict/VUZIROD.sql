-- text: GB18030
-- The talks the program lists: table tablename, one talk a row, read with
-- "select *" by column position, so the columns keep this order: id,
-- categoryid (1 technology, 2 entertainment, 3 design, 4 science, 5 business,
-- 6 global issues, 99 other), duration (seconds), event (shown last in a list
-- item), title, titlechn, speaker, speakerchn, vedioname (the media file in
-- the Playlist folder; its lesson script has the same name ending ".script"),
-- wordfrq (starts at 0), talksummary and speakersummary. Numbers are stored
-- as integers so that sorting by them is numeric. Table famousid lists the
-- ids of the featured talks as text. In stored texts an apostrophe is "*".
-- The talks, speakers and summaries are the team's own inventions. The build
-- turns this UTF-8 source into the GB18030 database VUZIROD.script.
BEGIN;
CREATE TABLE tablename(id INTEGER PRIMARY KEY, categoryid INTEGER NOT NULL, duration INTEGER NOT NULL,
  event TEXT NOT NULL, title TEXT NOT NULL, titlechn TEXT NOT NULL, speaker TEXT NOT NULL,
  speakerchn TEXT NOT NULL, vedioname TEXT NOT NULL, wordfrq INTEGER NOT NULL DEFAULT 0,
  talksummary TEXT NOT NULL, speakersummary TEXT NOT NULL);
CREATE TABLE famousid(strfamousid TEXT);

INSERT INTO tablename VALUES(137, 1, 131, 'TALK2018', 'How small robots learn to walk', '小型机器人如何学会走路',
  'Lena Okafor', '莉娜·奥卡福', 'LenaOkafor_2018.mp4', 0,
  'A four-legged robot that nobody taught to walk learns it by falling, and shows how trial and error works for machines and people.',
  '机器人工程师，研究会自己学习运动的小型机器人。');
INSERT INTO tablename VALUES(104, 1, 615, 'TALK2020', 'Why we don*t trust our phones', '我们为什么不信任自己的手机',
  'Daniel Reyes', '丹尼尔·雷耶斯', 'DanielReyes_2020.mp4', 0,
  '我们每天把最私密的信息交给手机，却又不相信它。这个演讲讲述如何设计值得信任的软件。',
  'Software designer who builds privacy tools for small teams.');
INSERT INTO tablename VALUES(152, 2, 388, 'TALK2016', 'The joy of bad singing', '唱得不好的快乐',
  'Marta Kowalski', '玛尔塔·科瓦尔斯基', 'MartaKowalski_2016.mp4', 0,
  'Why singing out loud, even badly, makes people happier and brings strangers together.',
  '合唱团指挥，她的合唱团欢迎所有不会唱歌的人。');
INSERT INTO tablename VALUES(149, 2, 467, 'TALK2013', 'The quiet art of listening', '倾听的安静艺术',
  'Sofia Almeida', '索菲娅·阿尔梅达', 'SofiaAlmeida_2013.mp4', 0,
  '一位广播主持人分享二十年来从倾听中学到的东西。',
  'Radio host whose late-night programme lets callers talk for as long as they need.');
INSERT INTO tablename VALUES(119, 3, 1033, 'TALK2015', 'A chair that fits everyone*s back', '适合每个人后背的椅子',
  'Hiro Tanabe', '田边浩', 'HiroTanabe_2015.mp4', 0,
  'A designer spends ten years on one chair and learns that the best design starts by watching people sit.',
  '家具设计师，住在大阪，作品以简单和舒适著称。');
INSERT INTO tablename VALUES(145, 4, 1195, 'TALK2019', 'What a drop of seawater knows', '一滴海水知道什么',
  'Amara Singh', '阿玛拉·辛格', 'AmaraSingh_2019.mp4', 0,
  '一滴海水里有成千上万种微小的生命，它们记录着海洋的变化。',
  'Marine biologist who reads the health of the ocean from tiny living things.');
INSERT INTO tablename VALUES(108, 4, 198, 'TALK2017', 'Why we don*t sleep enough', '我们为什么睡不够',
  'Peter Lindqvist', '彼得·林德奎斯特', 'PeterLindqvist_2017.mp4', 0,
  'Most of us don*t sleep enough. A sleep researcher explains what one short night does to the brain and gives three small suggestions.',
  '睡眠研究者，十二年来一直在观察人们如何睡觉。');
INSERT INTO tablename VALUES(126, 5, 121, 'TALK2021', 'Small shops, big ideas', '小商店，大想法',
  'Grace Mbeki', '格蕾丝·姆贝基', 'GraceMbeki_2021.mp4', 0,
  '母亲的小店是她的第一所商学院。她讲述小商店的力量，以及一条简单的短信如何帮助它们。',
  'Economist who studies small family shops across Africa and Asia.');
INSERT INTO tablename VALUES(160, 6, 1320, 'TALK2014', 'Clean water for every village', '让每个村庄都有干净的水',
  'Tomas Herrera', '托马斯·埃雷拉', 'TomasHerrera_2014.mp4', 0,
  'A cheap filter made from sand and clay brings clean water to villages that no pipe will reach.',
  '土木工程师，在中美洲的山区村庄工作了十五年。');
INSERT INTO tablename VALUES(113, 6, 502, 'TALK2022', 'What our grandparents* kitchens teach us', '祖父母的厨房教会我们什么',
  'Yuki Mori', '森由纪', 'YukiMori_2022.mp4', 0,
  '祖父母那一代人几乎不浪费食物。他们的厨房习惯可以帮助我们减少浪费。',
  'Food writer who collects family recipes from old cooks.');
INSERT INTO tablename VALUES(131, 99, 57, 'TALK2023', 'Learning a language at any age', '任何年龄都能学语言',
  'Chen Wei', '陈伟', 'ChenWei_2023.mp4', 0,
  'He started to study English at fifty. His advice: start today, and start small.',
  '退休工程师，五十岁开始学英语，现在是一名快乐的学生。');
INSERT INTO tablename VALUES(102, 99, 954, 'TALK2012', 'It*s time to ask better questions', '是时候提出更好的问题了',
  'Omar Haddad', '奥马尔·哈达德', 'OmarHaddad_2012.mp4', 0,
  '好的问题比好的答案更难得。一位老师讲述他如何教学生提问。',
  'Teacher who has asked his students one new question every day for twenty years.');

INSERT INTO famousid VALUES('137');
INSERT INTO famousid VALUES('108');
INSERT INTO famousid VALUES('145');
INSERT INTO famousid VALUES('160');
COMMIT;
