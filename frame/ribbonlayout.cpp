// The ribbon's layout tables.
#include "frame/ribbonlayout.h"

#include <algorithm>

namespace {

using K = ERibbonElementKind;
using S = ERibbonElementSize;

SRibbonElement Button(int id, const char* text, S size = S::Large)
{
    SRibbonElement e;
    e.kind = K::Button;
    e.id = id;
    e.text = text;
    e.size = size;
    return e;
}

SRibbonElement Toggle(int id, const char* text, S size = S::Large)
{
    SRibbonElement e = Button(id, text, size);
    e.checkable = true;
    return e;
}

SRibbonElement Hybrid(int id, const char* text, std::vector<SRibbonSubItem> items, bool checkable = false)
{
    SRibbonElement e = Button(id, text);
    e.kind = K::Hybrid;
    e.checkable = checkable;
    e.items = std::move(items);
    return e;
}

SRibbonElement Blank(int id)
{
    SRibbonElement e;
    e.kind = K::Blank;
    e.id = id;
    e.size = S::Small;
    return e;
}

SRibbonElement Separator()
{
    SRibbonElement e;
    e.kind = K::Separator;
    return e;
}

SRibbonElement StandIn(K kind, int id, const char* text, int width, const char* initialText)
{
    SRibbonElement e;
    e.kind = kind;
    e.id = id;
    e.text = text;
    e.size = S::Small;
    e.width = width;
    e.initialText = initialText;
    return e;
}

SRibbonElement ColorButton(int id, const char* text, COLORREF initial)
{
    SRibbonElement e = StandIn(K::ColorButton, id, text, 0, "");
    e.initialColor = initial;
    return e;
}

std::vector<SRibbonCategory> BuildLayout()
{
    SRibbonElement fontSize = StandIn(K::SizeCombo, kCmdFontSize, "", 50, "16");
    fontSize.choices = {"12", "13", "14", "15", "16", "17", "18", "19", "20", "22", "24", "26", "28", ""};

    std::vector<SRibbonCategory> layout;

    layout.push_back({"主页",
                      {
                          {"常用功能",
                           "",
                           {
                               Button(kCmdPlaylist, "播放列表"),
                               Hybrid(kCmdOpenDict, "词典窗口",
                                      {{kCmdLocalWord, "使用本地词典", true},
                                       {kCmdOnlineWord, "使用网络词典", true}}),
                               Button(kCmdPlayerPane, "播放器"),
                               Toggle(kCmdMouseWordPick, "鼠标取词", S::Small),
                               Toggle(kCmdSkipBlank, "跳过空白", S::Small),
                               Toggle(kCmdShowChinese, "显示中文", S::Small),
                               Hybrid(kCmdPointRead, "启用点读",
                                      {{kCmdClickPause, "点读后暂停", true},
                                       {kCmdClickContinue, "点读后继续播放", true}},
                                      true),
                               Button(kCmdPlayFromPan, "边下边看"),
                           }},
                          {"段落控制",
                           "D",
                           {
                               Button(kCmdIncreaseMargin, "增加", S::Small),
                               Button(kCmdDecreaseMargin, "减少", S::Small),
                               Blank(kCmdParagraphBlank),
                               Toggle(kCmdSubtitleMode, "字幕模式", S::Small),
                               Toggle(kCmdParagraphMode, "段落模式", S::Small),
                               Toggle(kCmdBilingualMode, "英汉对照", S::Small),
                               Toggle(kCmdBilingualListView, "双语列表", S::Small),
                           }},
                          {"字体与颜色",
                           "",
                           {
                               StandIn(K::FontCombo, kCmdFontName, "", 50, "Arial"),
                               fontSize,
                               Blank(kCmdFontBlank),
                               Toggle(kCmdFontBold, "粗体", S::Small),
                               Toggle(kCmdFontItalic, "斜体", S::Small),
                               Toggle(kCmdFontUnderline, "下划线", S::Small),
                               ColorButton(kCmdFontColor, "字体颜色", RGB(0, 0, 0)),
                               ColorButton(kCmdBackColor, "背景颜色", RGB(255, 255, 255)),
                           }},
                          {"字幕微调",
                           "",
                           {
                               Button(kCmdFast, "快进200毫秒", S::Small),
                               Button(kCmdSlow, "延迟200毫秒", S::Small),
                               StandIn(K::Edit, kCmdOffsetEdit, "偏移量", 50, ""),
                           }},
                      }});

    layout.push_back({"播放列表",
                      {
                          {"播放列表",
                           "",
                           {
                               Button(kCmdPlaylist, "打开"),
                               Toggle(kCmdPlaylistEng, "英文"),
                               Toggle(kCmdPlaylistChn, "中文"),
                               Toggle(kCmdShowTalkInfo, "简介"),
                           }},
                          {"有无视频筛选",
                           "",
                           {
                               Toggle(kCmdFilterBoth, "已下载"),
                               Toggle(kCmdFilterScript, "未下载"),
                           }},
                          {"TED演讲类别",
                           "",
                           {
                               Toggle(kCmdCategoryAll, "全部", S::Small),
                               Toggle(kCmdCategoryTechnology, "技术", S::Small),
                               Toggle(kCmdCategoryEntertainment, "娱乐", S::Small),
                               Toggle(kCmdCategoryDesign, "设计", S::Small),
                               Toggle(kCmdCategoryScience, "科学", S::Small),
                               Toggle(kCmdCategoryBusiness, "商业", S::Small),
                               Toggle(kCmdCategoryGlobalIssues, "全球问题", S::Small),
                               Toggle(kCmdCategoryOthers, "其他", S::Small),
                           }},
                          {"排序",
                           "",
                           {
                               Toggle(kCmdSortById, "ID", S::Small),
                               Toggle(kCmdSortBySpeaker, "演讲者", S::Small),
                               Toggle(kCmdSortByTitle, "标题", S::Small),
                               Toggle(kCmdSortByVideoName, "视频名", S::Small),
                               Toggle(kCmdSortByDuration, "演讲长度", S::Small),
                           }},
                          {"检索", "", {Button(kCmdSearch, "检索")}},
                      }});

    layout.push_back({"词汇管理",
                      {
                          {"我的词汇",
                           "",
                           {
                               Hybrid(kCmdWordBook, "生词库",
                                      {{kCmdExportWords, "导出生词", false},
                                       {kCmdImportWords, "导入生词", false},
                                       {kCmdClearWordBook, "清空生词库", false}}),
                               Toggle(kCmdRandomGroups, "随机分组"),
                               Separator(),
                               Button(kCmdCommonPhrases, "常用词组"),
                           }},
                          {"当前单元",
                           "",
                           {
                               Toggle(kCmdShowWords, "单词"),
                               Toggle(kCmdShowPhrases, "词组"),
                               Toggle(kCmdShowNewWords, "生词"),
                           }},
                          {"播放例句",
                           "",
                           {
                               Toggle(kCmdAutoPlayExample, "自动播放"),
                               Toggle(kCmdExampleVideoWindow, "视频窗口"),
                           }},
                          {"词汇练习",
                           "",
                           {
                               Button(kCmdMakeExercise, "生成习题"),
                               Button(kCmdExerciseScores, "做题成绩"),
                           }},
                          {"判断",
                           "",
                           {
                               Button(kCmdWordKnown, "认识"),
                               Button(kCmdWordUnknown, "不认识"),
                           }},
                      }});

    layout.push_back({"口语练习",
                      {
                          {"训练模式",
                           "",
                           {
                               Hybrid(kCmdFollowRead, "逐句跟读",
                                      {{kCmdFollowReadAuto, "自动", true}, {kCmdFollowReadManual, "手动", true}}, true),
                               Hybrid(kCmdRolePlay, "角色扮演", {{kCmdRolePlayStart, "开始", false}}, true),
                               Hybrid(kCmdDubbing, "全文配音", {{kCmdDubbingEnd, "结束", false}}, true),
                               Button(kCmdSpeechReset, "重置"),
                           }},
                          {"录音DIY",
                           "",
                           {
                               Toggle(kCmdRecord, "录音"),
                               Toggle(kCmdRecordPause, "暂停"),
                               Button(kCmdRecordStop, "停止"),
                           }},
                          {"回放音频", "", {Button(kCmdReplayRecording, "回放")}},
                          {"导出音频", "", {Button(kCmdExportRecording, "导出")}},
                      }});

    layout.push_back({"配置",
                      {
                          {"帮助", "", {Button(ID_SHOW_HELP_COMMAND, "查看")}},
                          {"软件更新", "", {Button(kCmdUpdateSoft, "更新软件"), Separator()}},
                      }});

    return layout;
}

} // namespace

const std::vector<SRibbonCategory>& GetRibbonLayout()
{
    static const std::vector<SRibbonCategory> layout = BuildLayout();
    return layout;
}

const SApplicationMenu& GetApplicationMenuLayout()
{
    static const SApplicationMenu menu = {
        "换肤中心",
        "S",
        {
            {kCmdLookGray, "Gray", true},
            {kCmdLookWindows2000, "Windows 2000", true},
            {kCmdLookWindowsXP, "Windows XP", true},
            {kCmdLookWindows7, "Windows 7(&D)", true},
            {kCmdLookOfficeXP, "OfficeXP", true},
            {kCmdLookOffice2003, "Office 2003", true},
            {kCmdLookOffice2007Blue, "Office 2007 (蓝色样式)(&B)", true},
            {kCmdLookOffice2007Black, "Office 2007 (黑色样式)(&L)", true},
            {kCmdLookOffice2007Silver, "Office 2007 (银色样式)(&S)", true},
            {kCmdLookOffice2007Aqua, "Office 2007 (水绿色样式)", true},
        },
        {kCmdAppAbout, "显示帮助信息", false},
    };
    return menu;
}

std::vector<SRibbonPlace> FindRibbonPlaces(int id)
{
    std::vector<SRibbonPlace> places;
    const std::vector<SRibbonCategory>& layout = GetRibbonLayout();
    for (int c = 0; c < static_cast<int>(layout.size()); ++c) {
        const std::vector<SRibbonPanel>& panels = layout[c].panels;
        for (int p = 0; p < static_cast<int>(panels.size()); ++p) {
            const std::vector<SRibbonElement>& elements = panels[p].elements;
            for (int e = 0; e < static_cast<int>(elements.size()); ++e) {
                const SRibbonElement& element = elements[e];
                if (element.kind == ERibbonElementKind::Separator)
                    continue;
                if (element.id == id)
                    places.push_back({c, p, e, -1, element.text});
                for (int s = 0; s < static_cast<int>(element.items.size()); ++s) {
                    if (element.items[s].id == id)
                        places.push_back({c, p, e, s, element.items[s].text});
                }
            }
        }
    }
    return places;
}

std::vector<int> GetRibbonCommandIds()
{
    std::vector<int> ids;
    const auto add = [&ids](int id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    };
    for (const SRibbonCategory& category : GetRibbonLayout()) {
        for (const SRibbonPanel& panel : category.panels) {
            for (const SRibbonElement& element : panel.elements) {
                if (element.kind == ERibbonElementKind::Separator)
                    continue;
                add(element.id);
                for (const SRibbonSubItem& item : element.items)
                    add(item.id);
            }
        }
    }
    return ids;
}
