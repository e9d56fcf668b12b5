-- text: GB18030
-- The word-root database: table tablename(strkeyword, strdetailtxt), one row
-- per word. strkeyword is the word in lower case as the word lists hold it
-- (an apostrophe as "*"); strdetailtxt explains the word's parts and its
-- root in plain text (an apostrophe as "*", no HTML), since the word book
-- view writes it into a small page beside the dictionary page. The
-- explanations are the team's own. The build turns this UTF-8 source into the
-- GB18030 database WordRoot.script.
BEGIN;
create table tablename( strkeyword varchar(100) primary key, strdetailtxt varchar(2000) );
insert into tablename values('transport', 'transport = trans-（越过）+ port（运） → 运输。词根 port 意为“拿，运”。同根词：export（出口）、import（进口）、portable（便于携带的）。');
insert into tablename values('export', 'export = ex-（向外）+ port（运） → 出口。词根 port 意为“拿，运”。同根词：transport（运输）、import（进口）、portable（便于携带的）。');
insert into tablename values('import', 'import = im-（向内）+ port（运） → 进口。词根 port 意为“拿，运”。同根词：transport（运输）、export（出口）、portable（便于携带的）。');
insert into tablename values('portable', 'portable = port（拿）+ -able（能……的） → 便于携带的。词根 port 意为“拿，运”。同根词：transport（运输）、export（出口）、import（进口）。');
insert into tablename values('predict', 'predict = pre-（预先）+ dict（说） → 预言，预测。词根 dict 意为“说，言”。同根词：dictionary（词典）。');
insert into tablename values('dictionary', 'dictionary = dict（说）+ -ion + -ary（集合） → 词典。词根 dict 意为“说，言”。同根词：predict（预言，预测）。');
insert into tablename values('inspect', 'inspect = in-（向里）+ spect（看） → 检查。词根 spect 意为“看”。同根词：respect（尊重）、spectator（观众）。');
insert into tablename values('respect', 'respect = re-（再，回）+ spect（看） → 尊重。词根 spect 意为“看”。同根词：inspect（检查）、spectator（观众）。');
insert into tablename values('spectator', 'spectator = spect（看）+ -ator（人） → 观众。词根 spect 意为“看”。同根词：inspect（检查）、respect（尊重）。');
insert into tablename values('construct', 'construct = con-（共同）+ struct（建造） → 建造，构造。词根 struct 意为“建造”。同根词：structure（结构）。');
insert into tablename values('structure', 'structure = struct（建造）+ -ure（名词） → 结构。词根 struct 意为“建造”。同根词：construct（建造，构造）。');
insert into tablename values('describe', 'describe = de-（向下）+ scrib（写） → 描述。词根 scrib / script 意为“写”。同根词：manuscript（手稿）、subscribe（订阅；签名）。');
insert into tablename values('manuscript', 'manuscript = manu（手）+ script（写） → 手稿。词根 scrib / script 意为“写”。同根词：describe（描述）、subscribe（订阅；签名）。');
insert into tablename values('subscribe', 'subscribe = sub-（在下面）+ scrib（写） → 订阅；签名。词根 scrib / script 意为“写”。同根词：describe（描述）、manuscript（手稿）。');
insert into tablename values('visible', 'visible = vis（看见）+ -ible（能……的） → 看得见的。词根 vis / vid 意为“看见”。同根词：evidence（证据）。');
insert into tablename values('evidence', 'evidence = e-（出）+ vid（看见）+ -ence → 证据。词根 vis / vid 意为“看见”。同根词：visible（看得见的）。');
insert into tablename values('audience', 'audience = aud（听）+ -ience（名词） → 听众，观众。词根 aud 意为“听”。同根词：audible（听得见的）。');
insert into tablename values('audible', 'audible = aud（听）+ -ible（能……的） → 听得见的。词根 aud 意为“听”。同根词：audience（听众，观众）。');
insert into tablename values('biology', 'biology = bio（生命）+ -logy（学科） → 生物学。词根 bio 意为“生命”。同根词：biography（传记）。');
insert into tablename values('biography', 'biography = bio（生命）+ graph（写）+ -y → 传记。词根 bio 意为“生命”。同根词：biology（生物学）。');
insert into tablename values('geography', 'geography = geo（地球）+ graph（写，描绘）+ -y → 地理学。词根 geo 意为“地球，土地”。');
insert into tablename values('telescope', 'telescope = tele（远）+ scope（看） → 望远镜。词根 tele 意为“远”。同根词：telephone（电话）。');
insert into tablename values('telephone', 'telephone = tele（远）+ phone（声音） → 电话。词根 tele 意为“远”。同根词：telescope（望远镜）。');
insert into tablename values('photograph', 'photograph = photo（光）+ graph（画） → 照片。词根 graph 意为“写，画”。同根词：paragraph（段落）。');
insert into tablename values('paragraph', 'paragraph = para-（在旁边）+ graph（写） → 段落。词根 graph 意为“写，画”。同根词：photograph（照片）。');
insert into tablename values('century', 'century = cent（百）+ -ury → 世纪，百年。词根 cent 意为“百”。同根词：percent（百分之……）。');
insert into tablename values('percent', 'percent = per（每）+ cent（百） → 百分之……。词根 cent 意为“百”。同根词：century（世纪，百年）。');
insert into tablename values('credit', 'credit = cred（相信）+ -it → 信用；学分。词根 cred 意为“相信”。同根词：incredible（难以置信的）。');
insert into tablename values('incredible', 'incredible = in-（不）+ cred（相信）+ -ible → 难以置信的。词根 cred 意为“相信”。同根词：credit（信用；学分）。');
insert into tablename values('survive', 'survive = sur-（超过）+ viv（活） → 幸存。词根 viv / vit 意为“活，生命”。同根词：vital（至关重要的）。');
insert into tablename values('vital', 'vital = vit（生命）+ -al（……的） → 至关重要的。词根 viv / vit 意为“活，生命”。同根词：survive（幸存）。');
insert into tablename values('factory', 'factory = fact（制造）+ -ory（场所） → 工厂。词根 fact / fac 意为“做，制造”。同根词：manufacture（制造）。');
insert into tablename values('manufacture', 'manufacture = manu（手）+ fact（做）+ -ure → 制造。词根 fact / fac 意为“做，制造”。同根词：factory（工厂）。');
insert into tablename values('progress', 'progress = pro-（向前）+ gress（走） → 进步。词根 gress 意为“行走”。同根词：aggressive（好斗的，积极进取的）。');
insert into tablename values('aggressive', 'aggressive = ag-（向）+ gress（走）+ -ive → 好斗的，积极进取的。词根 gress 意为“行走”。同根词：progress（进步）。');
insert into tablename values('inject', 'inject = in-（向内）+ ject（投） → 注射。词根 ject 意为“投，掷”。同根词：reject（拒绝）、project（项目；投射）。');
insert into tablename values('reject', 'reject = re-（向回）+ ject（投） → 拒绝。词根 ject 意为“投，掷”。同根词：inject（注射）、project（项目；投射）。');
insert into tablename values('project', 'project = pro-（向前）+ ject（投） → 项目；投射。词根 ject 意为“投，掷”。同根词：inject（注射）、reject（拒绝）。');
insert into tablename values('interrupt', 'interrupt = inter-（在中间）+ rupt（断） → 打断。词根 rupt 意为“断裂”。同根词：erupt（（火山）喷发）、bankrupt（破产的）。');
insert into tablename values('erupt', 'erupt = e-（出）+ rupt（断裂） → （火山）喷发。词根 rupt 意为“断裂”。同根词：interrupt（打断）、bankrupt（破产的）。');
insert into tablename values('bankrupt', 'bankrupt = bank（银行，钱庄）+ rupt（断裂） → 破产的。词根 rupt 意为“断裂”。同根词：interrupt（打断）、erupt（（火山）喷发）。');
insert into tablename values('attract', 'attract = at-（向）+ tract（拉） → 吸引。词根 tract 意为“拉，拖”。同根词：extract（提取）、abstract（抽象的）。');
insert into tablename values('extract', 'extract = ex-（向外）+ tract（拉） → 提取。词根 tract 意为“拉，拖”。同根词：attract（吸引）、abstract（抽象的）。');
insert into tablename values('abstract', 'abstract = abs-（离开）+ tract（拉） → 抽象的。词根 tract 意为“拉，拖”。同根词：attract（吸引）、extract（提取）。');
insert into tablename values('introduce', 'introduce = intro-（向内）+ duc（引导） → 介绍，引进。词根 duc / duct 意为“引导”。同根词：produce（生产）、educate（教育）。');
insert into tablename values('produce', 'produce = pro-（向前）+ duc（引导） → 生产。词根 duc / duct 意为“引导”。同根词：introduce（介绍，引进）、educate（教育）。');
insert into tablename values('educate', 'educate = e-（出）+ duc（引导）+ -ate → 教育。词根 duc / duct 意为“引导”。同根词：introduce（介绍，引进）、produce（生产）。');
insert into tablename values('transmit', 'transmit = trans-（越过）+ mit（送） → 传送。词根 mit / miss 意为“送，放出”。同根词：mission（使命，任务）、dismiss（解散；不予理会）。');
insert into tablename values('mission', 'mission = miss（送）+ -ion → 使命，任务。词根 mit / miss 意为“送，放出”。同根词：transmit（传送）、dismiss（解散；不予理会）。');
insert into tablename values('dismiss', 'dismiss = dis-（分开）+ miss（送） → 解散；不予理会。词根 mit / miss 意为“送，放出”。同根词：transmit（传送）、mission（使命，任务）。');
insert into tablename values('pedestrian', 'pedestrian = ped（脚）+ -estrian（……的人） → 行人。词根 ped 意为“脚”。同根词：pedal（踏板）。');
insert into tablename values('pedal', 'pedal = ped（脚）+ -al → 踏板。词根 ped 意为“脚”。同根词：pedestrian（行人）。');
insert into tablename values('manual', 'manual = manu（手）+ -al（……的） → 手工的；手册。词根 manu 意为“手”。');
insert into tablename values('motion', 'motion = mot（动）+ -ion → 运动，动作。词根 mot / mov 意为“动”。同根词：remove（移走）。');
insert into tablename values('remove', 'remove = re-（离开）+ mov（动） → 移走。词根 mot / mov 意为“动”。同根词：motion（运动，动作）。');
insert into tablename values('event', 'event = e-（出）+ vent（来） → 事件。词根 ven / vent 意为“来”。同根词：invent（发明）、convention（大会；惯例）。');
insert into tablename values('invent', 'invent = in-（进入）+ vent（来） → 发明。词根 ven / vent 意为“来”。同根词：event（事件）、convention（大会；惯例）。');
insert into tablename values('convention', 'convention = con-（共同）+ vent（来）+ -ion → 大会；惯例。词根 ven / vent 意为“来”。同根词：event（事件）、invent（发明）。');
insert into tablename values('depend', 'depend = de-（向下）+ pend（挂） → 依靠。词根 pend 意为“悬挂”。同根词：independent（独立的）。');
insert into tablename values('independent', 'independent = in-（不）+ de-（向下）+ pend（挂）+ -ent → 独立的。词根 pend 意为“悬挂”。同根词：depend（依靠）。');
insert into tablename values('pressure', 'pressure = press（压）+ -ure → 压力。词根 press 意为“压”。同根词：express（表达）。');
insert into tablename values('express', 'express = ex-（向外）+ press（压） → 表达。词根 press 意为“压”。同根词：pressure（压力）。');
insert into tablename values('transform', 'transform = trans-（改变）+ form（形状） → 改变，转化。词根 form 意为“形状”。同根词：uniform（制服；统一的）。');
insert into tablename values('uniform', 'uniform = uni-（单一）+ form（形状） → 制服；统一的。词根 form 意为“形状”。同根词：transform（改变，转化）。');
insert into tablename values('local', 'local = loc（地方）+ -al（……的） → 当地的。词根 loc 意为“地方”。同根词：location（位置）。');
insert into tablename values('location', 'location = loc（地方）+ -ation → 位置。词根 loc 意为“地方”。同根词：local（当地的）。');
insert into tablename values('microscope', 'microscope = micro-（微小）+ scope（看） → 显微镜。词根 scope 意为“看，观察”。');
insert into tablename values('capacity', 'capacity = cap（容纳）+ -acity → 容量；能力。词根 cap / cept 意为“拿，容纳”。同根词：accept（接受）。');
insert into tablename values('accept', 'accept = ac-（向）+ cept（拿） → 接受。词根 cap / cept 意为“拿，容纳”。同根词：capacity（容量；能力）。');
COMMIT;
