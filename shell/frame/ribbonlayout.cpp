// The ribbon's layout tables.
#include "shell/frame/ribbonlayout.h"

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
    SRibbonElement fontSize = StandIn(K::SizeCombo, 32798, "", 50, "16");
    fontSize.choices = {"12", "13", "14", "15", "16", "17", "18", "19", "20", "22", "24", "26", "28", ""};

    std::vector<SRibbonCategory> layout;

    layout.push_back({"主页",
                      {
                          {"常用功能",
                           "",
                           {
                               Button(32899, "播放列表"),
                               Hybrid(32969, "词典窗口",
                                      {{33343, "使用本地词典", true}, {33344, "使用网络词典", true}}),
                               Button(32814, "播放器"),
                               Toggle(33122, "鼠标取词", S::Small),
                               Toggle(32968, "跳过空白", S::Small),
                               Toggle(33136, "显示中文", S::Small),
                               Hybrid(32909, "启用点读",
                                      {{33348, "点读后暂停", true}, {33349, "点读后继续播放", true}}, true),
                               Button(33243, "边下边看"),
                           }},
                          {"段落控制",
                           "D",
                           {
                               Button(32792, "增加", S::Small),
                               Button(32791, "减少", S::Small),
                               Blank(33239),
                               Toggle(33133, "字幕模式", S::Small),
                               Toggle(33134, "段落模式", S::Small),
                               Toggle(33256, "英汉对照", S::Small),
                           }},
                          {"字体与颜色",
                           "",
                           {
                               StandIn(K::FontCombo, 32797, "", 50, "Arial"),
                               fontSize,
                               Blank(32906),
                               Toggle(32795, "粗体", S::Small),
                               Toggle(32785, "斜体", S::Small),
                               Toggle(32786, "下划线", S::Small),
                               ColorButton(32787, "字体颜色", RGB(0, 0, 0)),
                               ColorButton(32788, "背景颜色", RGB(255, 255, 255)),
                           }},
                          {"字幕微调",
                           "",
                           {
                               Button(33151, "快进200毫秒", S::Small),
                               Button(33152, "延迟200毫秒", S::Small),
                               StandIn(K::Edit, 33337, "偏移量", 50, ""),
                           }},
                      }});

    layout.push_back({"播放列表",
                      {
                          {"播放列表",
                           "",
                           {
                               Button(32899, "打开"),
                               Toggle(33259, "英文"),
                               Toggle(33260, "中文"),
                               Toggle(33261, "简介"),
                           }},
                          {"有无视频筛选",
                           "",
                           {
                               Toggle(33066, "已下载"),
                               Toggle(33064, "未下载"),
                           }},
                          {"TED演讲类别",
                           "",
                           {
                               Toggle(33033, "全部", S::Small),
                               Toggle(33034, "技术", S::Small),
                               Toggle(33035, "娱乐", S::Small),
                               Toggle(33036, "设计", S::Small),
                               Toggle(33037, "科学", S::Small),
                               Toggle(33038, "商业", S::Small),
                               Toggle(33039, "全球问题", S::Small),
                               Toggle(33040, "其他", S::Small),
                           }},
                          {"排序",
                           "",
                           {
                               Toggle(33042, "ID", S::Small),
                               Toggle(33043, "演讲者", S::Small),
                               Toggle(33044, "标题", S::Small),
                               Toggle(33045, "视频名", S::Small),
                               Toggle(33046, "演讲长度", S::Small),
                           }},
                          {"检索", "", {Button(33067, "检索")}},
                      }});

    layout.push_back({"词汇管理",
                      {
                          {"我的词汇",
                           "",
                           {
                               Hybrid(32974, "生词库",
                                      {{33004, "导出生词", false},
                                       {33271, "导入生词", false},
                                       {33277, "清空生词库", false}}),
                               Toggle(33169, "随机分组"),
                               Separator(),
                               Button(33168, "常用词组"),
                           }},
                          {"当前单元",
                           "",
                           {
                               Toggle(33176, "单词"),
                               Toggle(33177, "词组"),
                               Toggle(33278, "生词"),
                           }},
                          {"播放例句",
                           "",
                           {
                               Toggle(33182, "自动播放"),
                               Toggle(33188, "视频窗口"),
                           }},
                          {"词汇练习",
                           "",
                           {
                               Button(33185, "生成习题"),
                               Button(33187, "做题成绩"),
                           }},
                          {"判断",
                           "",
                           {
                               Button(33173, "认识"),
                               Button(33172, "不认识"),
                           }},
                      }});

    layout.push_back({"口语练习",
                      {
                          {"训练模式",
                           "",
                           {
                               Hybrid(33120, "逐句跟读", {{33124, "自动", true}, {33125, "手动", true}}, true),
                               Hybrid(33121, "角色扮演", {{33126, "开始", false}}, true),
                               Hybrid(33127, "全文配音", {{33132, "结束", false}}, true),
                               Button(33128, "重置"),
                           }},
                          {"录音DIY",
                           "",
                           {
                               Toggle(33096, "录音"),
                               Toggle(33116, "暂停"),
                               Button(33118, "停止"),
                           }},
                          {"回放音频", "", {Button(33131, "回放")}},
                          {"导出音频", "", {Button(33129, "导出")}},
                      }});

    layout.push_back({"配置",
                      {
                          {"帮助", "", {Button(33156, "查看")}},
                          {"软件更新", "", {Button(33157, "更新软件"), Separator()}},
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
            {210, "Gray", true},
            {205, "Windows 2000", true},
            {207, "Windows XP", true},
            {219, "Windows 7(&D)", true},
            {206, "OfficeXP", true},
            {208, "Office 2003", true},
            {215, "Office 2007 (蓝色样式)(&B)", true},
            {216, "Office 2007 (黑色样式)(&L)", true},
            {217, "Office 2007 (银色样式)(&S)", true},
            {218, "Office 2007 (水绿色样式)", true},
        },
        {57664, "显示帮助信息", false},
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
