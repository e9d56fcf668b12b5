#include "shell/frame/contextmenus.h"

#include <wx/menu.h>

#include "shell/base/wxtext.h"

wxMenu* CreateEditContextMenu()
{
    auto* mark = new wxMenu;
    mark->Append(33184, ToWx("标记单词"));
    mark->Append(33192, ToWx("标记词组"));

    auto* repeat = new wxMenu;
    const int repeatIds[] = {32939, 32940, 32941, 32942, 32943, 32944};
    const char* repeatTexts[] = {"复读2次", "复读4次", "复读6次", "复读8次", "复读10次", "复读12次"};
    for (size_t i = 0; i < std::size(repeatIds); ++i)
        repeat->Append(repeatIds[i], ToWx(repeatTexts[i]));

    auto* translate = new wxMenu;
    translate->Append(32948, ToWx("百度翻译"));
    translate->Append(32947, ToWx("谷歌翻译"));

    auto* menu = new wxMenu;
    menu->AppendSubMenu(mark, ToWx("标记词汇"));
    menu->AppendSubMenu(repeat, ToWx("复读选中句"));
    menu->AppendSubMenu(translate, ToWx("在线翻译"));
    return menu;
}
