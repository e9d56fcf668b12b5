-- text: GB18030
-- Lesson script of the talk "How small robots learn to walk" (Lena Okafor,
-- 2018), our own text. Table tablename holds one sentence a row; wordlist and
-- phaselist hold the notable words and phrases, their second column listing
-- where each occurs as "(text:line:offset)". In stored texts an apostrophe is
-- "*". The build runs this UTF-8 source (in GB18030) between
-- tools/lessonscript_head.sql and tools/lessonscript_tables.sql to make
-- LenaOkafor_2018.script.
INSERT INTO sentence VALUES
(0, 600, 5400, 'When my son was one year old, he learned to walk.', '我儿子一岁时学会了走路。'),
(1, 5700, 9900, 'He fell down about a hundred times a day.', '他每天大约摔倒一百次。'),
(2, 10200, 12700, 'He never gave up.', '他从未放弃。'),
(3, 13000, 18500, 'Today I want to tell you about robots that learn the same way.', '今天我想给大家讲讲用同样方式学习的机器人。'),
(4, 18800, 21000, 'This is Pip.', '这是皮普。'),
(5, 21300, 26800, 'Pip is about the size of a cat, and it has four legs.', '皮普大约有一只猫那么大，它有四条腿。'),
(6, 27100, 31600, 'When we first turned Pip on, it didn*t know anything.', '我们第一次打开皮普时，它什么都不知道。'),
(7, 31900, 35700, 'We didn*t give it any rules for walking.', '我们没有给它任何走路的规则。'),
(8, 36000, 40200, 'Instead, we gave it one simple goal: move forward.', '相反，我们给了它一个简单的目标：向前移动。'),
(9, 40500, 44300, 'At first, Pip just shook on the floor.', '起初，皮普只是在地板上抖动。'),
(10, 44600, 48100, 'Then it started to slide a little.', '然后它开始滑动一点点。'),
(11, 48400, 51600, 'After two hours, it could crawl.', '两个小时后，它会爬了。'),
(12, 51900, 56100, 'After one day, it could walk across the room.', '一天之后，它能走过整个房间。'),
(13, 56400, 60200, 'Every time Pip fell, it tried something new.', '皮普每次摔倒，都会尝试新的做法。'),
(14, 60500, 64700, 'Every time it moved forward, it kept what worked.', '每次它向前移动，都会保留有效的做法。'),
(15, 65000, 68800, 'This is called learning by trial and error.', '这叫做试错学习。'),
(16, 69100, 74600, 'Children do it, animals do it, and now machines can do it too.', '孩子这样做，动物这样做，现在机器也可以。'),
(17, 74900, 78100, 'But here is the interesting question.', '但有趣的问题在这里。'),
(18, 78400, 81600, 'What happens when the floor changes?', '当地面改变时会发生什么？'),
(19, 81900, 87100, 'We put Pip on sand, on ice, and on a soft bed.', '我们把皮普放在沙子上、冰上和柔软的床上。'),
(20, 87400, 91200, 'On the ice, it fell again and again.', '在冰上，它一次又一次地摔倒。'),
(21, 91500, 96300, 'Then, after ten minutes, it found a new way to walk.', '然后，十分钟后，它找到了一种新的走路方式。'),
(22, 96600, 100800, 'It spread its legs wide, like a young deer.', '它把腿张得很开，像一只小鹿。'),
(23, 101100, 103600, 'Nobody taught it that.', '没有人教过它这个。'),
(24, 103900, 108100, 'Robots like Pip could one day help after earthquakes.', '像皮普这样的机器人有一天可以在地震后提供帮助。'),
(25, 108400, 111900, 'They could walk where wheels can*t go.', '它们能走到轮子去不了的地方。'),
(26, 112200, 116400, 'But for me, the real lesson is about us.', '但对我来说，真正的启示是关于我们自己的。'),
(27, 116700, 120500, 'Falling down is not the opposite of learning.', '摔倒不是学习的反面。'),
(28, 120800, 124000, 'Falling down is how learning happens.', '摔倒正是学习发生的方式。'),
(29, 124300, 126200, 'Thank you.', '谢谢。');

INSERT INTO form VALUES
('word', 'learn', 'learn'), ('word', 'learn', 'learned'), ('word', 'learn', 'learning'),
('word', 'robot', 'robots'),
('word', 'walk', 'walk'), ('word', 'walk', 'walking'),
('word', 'time', 'time'), ('word', 'time', 'times'),
('word', 'question', 'question'),
('word', 'machine', 'machines'),
('word', 'animal', 'animals'),
('word', 'floor', 'floor'),
('word', 'forward', 'forward'),
('word', 'rule', 'rules'),
('word', 'lesson', 'lesson'),
('word', 'happen', 'happens'),
('phrase', 'fall down', 'fell down'), ('phrase', 'fall down', 'falling down'),
('phrase', 'give up', 'gave up'),
('phrase', 'trial and error', 'trial and error'),
('phrase', 'again and again', 'again and again'),
('phrase', 'one day', 'one day');
