-- text: GB18030
-- Lesson script of the talk "Small shops, big ideas" (Grace Mbeki, 2021), our
-- own text. Table tablename holds one sentence a row; wordlist and phaselist
-- hold the notable words and phrases, their second column listing where each
-- occurs as "(text:line:offset)". In stored texts an apostrophe is "*". The
-- build runs this UTF-8 source (in GB18030) between tools/lessonscript_head.sql
-- and tools/lessonscript_tables.sql to make GraceMbeki_2021.script.
INSERT INTO sentence VALUES
(0, 700, 5900, 'My mother ran a small shop in our village for thirty years.', '我母亲在村里经营一家小店，经营了三十年。'),
(1, 6200, 11000, 'It sold bread, soap, phone cards, and a little of everything.', '店里卖面包、肥皂、电话卡，什么都卖一点。'),
(2, 11300, 17100, 'As a child, I thought it was the most boring place in the world.', '小时候，我觉得那是世界上最无聊的地方。'),
(3, 17400, 21600, 'Now I think it was my first business school.', '现在我认为那是我的第一所商学院。'),
(4, 21900, 25400, 'My mother knew every customer by name.', '我母亲能叫出每位顾客的名字。'),
(5, 25700, 30900, 'She knew who could pay today and who would pay next week.', '她知道谁今天能付钱，谁要下周才付。'),
(6, 31200, 35400, 'She never wrote it down, but she never forgot.', '她从不记下来，但她从不忘记。'),
(7, 35700, 41200, 'That is a kind of trust that big companies spend millions to build.', '那是一种大公司花数百万都想建立的信任。'),
(8, 41500, 45700, 'Today, I study small shops across Africa and Asia.', '今天，我研究非洲和亚洲各地的小商店。'),
(9, 46000, 48800, 'There are millions of them.', '它们有数百万家。'),
(10, 49100, 52900, 'Together, they serve more people than any supermarket.', '它们服务的人加起来比任何超市都多。'),
(11, 53200, 58000, 'Yet most of them have no bank loan and no website.', '然而它们中的大多数既没有银行贷款，也没有网站。'),
(12, 58300, 61500, 'People often ask me one question.', '人们经常问我一个问题。'),
(13, 61800, 65300, 'Why don*t these shops just grow bigger?', '这些商店为什么不干脆做大呢？'),
(14, 65600, 70100, 'My answer is that many of them don*t want to.', '我的回答是，很多商店并不想。'),
(15, 70400, 74200, 'They want to stay close to their neighbours.', '它们想和邻居保持亲近。'),
(16, 74500, 77300, 'Their strength is being small.', '它们的力量就在于小。'),
(17, 77600, 82800, 'So instead of asking them to change, we asked what they needed.', '所以我们没有要求它们改变，而是问它们需要什么。'),
(18, 83100, 86300, 'The answer was simple: better information.', '答案很简单：更好的信息。'),
(19, 86600, 92800, 'We built a text message service that tells shop owners the prices in nearby markets.', '我们建立了一个短信服务，告诉店主附近市场的价格。'),
(20, 93100, 97900, 'It costs almost nothing, and it works on the oldest phones.', '它几乎不花钱，而且在最旧的手机上也能用。'),
(21, 98200, 103400, 'In one year, the shops that used it earned twenty percent more.', '一年之内，使用它的商店多赚了百分之二十。'),
(22, 103700, 107200, 'Big ideas don*t always need big money.', '大想法并不总是需要大钱。'),
(23, 107500, 110700, 'Sometimes they need a good listener.', '有时它们需要一个好的倾听者。'),
(24, 111000, 115200, 'My mother would say it is just good manners.', '我母亲会说，这只是礼貌而已。'),
(25, 115500, 117400, 'Thank you.', '谢谢。');

INSERT INTO form VALUES
('word', 'shop', 'shop'), ('word', 'shop', 'shops'),
('word', 'business', 'business'),
('word', 'customer', 'customer'),
('word', 'study', 'study'),
('word', 'question', 'question'),
('word', 'answer', 'answer'),
('word', 'trust', 'trust'),
('word', 'price', 'prices'),
('word', 'money', 'money'),
('word', 'information', 'information'),
('word', 'neighbour', 'neighbours'),
('word', 'don*t', 'don*t'),
('word', 'idea', 'ideas'),
('phrase', 'a little', 'a little'),
('phrase', 'by name', 'by name'),
('phrase', 'close to', 'close to'),
('phrase', 'instead of', 'instead of'),
('phrase', 'a kind of', 'a kind of');
