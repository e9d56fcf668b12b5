#include "frame/contextmenus.h"

#include <wx/menu.h>

#include "ui/wxtext.h"
#include "core/commandids.h"

wxMenu* CreateEditContextMenu()
{
    auto* mark = new wxMenu;
    mark->AppendCheckItem(kCmdMarkWord, ToWx("标记单词"));
    mark->AppendCheckItem(kCmdMarkPhrase, ToWx("标记词组"));

    auto* repeat = new wxMenu;
    const char* repeatTexts[kRepeatSelectionCount] = {"复读2次", "复读4次", "复读6次",
                                                         "复读8次", "复读10次", "复读12次"};
    for (int i = 0; i < kRepeatSelectionCount; ++i)
        repeat->Append(kCmdFirstRepeatSelection + i, ToWx(repeatTexts[i]));

    auto* translate = new wxMenu;
    translate->Append(kCmdBaiduTranslate, ToWx("百度翻译"));
    translate->Append(kCmdGoogleTranslate, ToWx("谷歌翻译"));

    auto* menu = new wxMenu;
    menu->AppendSubMenu(mark, ToWx("标记词汇"));
    menu->AppendSubMenu(repeat, ToWx("复读选中句"));
    menu->AppendSubMenu(translate, ToWx("在线翻译"));
    return menu;
}
