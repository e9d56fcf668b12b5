// The layout of the main window's ribbon as data: the application menu, the
// five categories in index order, their panels and their elements with the
// command ids and texts the frame dispatches on. CMainRibbon builds its
// windows by walking these tables; nothing else in the ribbon names an id.
//
// Texts are narrow literals, so they are GB18030 at run time like every other
// program text; convert them with ToWx before they reach the toolkit.
#pragma once

#include <vector>

#include "platform/wintypes.h"
#include "core/commandids.h"

enum class ERibbonElementKind {
    Button,       // a button bar button (a toggle button when checkable)
    Hybrid,       // a button with its own command and a drop-down menu of sub-items
    Blank,        // an element without text: defined, but not shown
    Separator,    // a vertical line between two groups of elements
    FontCombo,    // editable combo of the installed font faces
    SizeCombo,    // editable combo of font sizes
    ColorButton,  // colour button with a palette
    Edit,         // labelled edit box
};

enum class ERibbonElementSize {
    Large,  // 32 px image above the text when the panel has room
    Small,  // 16 px image beside the text
};

// One item of a drop-down menu ("+" elements of the layout).
struct SRibbonSubItem {
    int id;
    const char* text;
    bool checkable;
};

struct SRibbonElement {
    ERibbonElementKind kind = ERibbonElementKind::Button;
    int id = 0;
    const char* text = "";
    ERibbonElementSize size = ERibbonElementSize::Large;
    // Shown pressed when the frame's update handler checks the command.
    bool checkable = false;
    // Stand-ins: width in pixels, initial text, combo items, initial colour.
    int width = 0;
    const char* initialText = "";
    std::vector<const char*> choices;
    COLORREF initialColor = 0;
    std::vector<SRibbonSubItem> items;
};

struct SRibbonPanel {
    const char* name;
    const char* keyTip;  // "" when the panel has none
    std::vector<SRibbonElement> elements;
};

struct SRibbonCategory {
    const char* name;
    std::vector<SRibbonPanel> panels;
};

// The categories in index order: 主页, 播放列表, 词汇管理, 口语练习, 配置.
const std::vector<SRibbonCategory>& GetRibbonLayout();
// A category's index in that order, which is also its page in the ribbon.
enum ERibbonCategory {
    kCategoryHome = 0,       // 主页
    kCategoryPlaylist = 1,   // 播放列表
    kCategoryWordBook = 2,   // 词汇管理
    kCategorySpeech = 3,     // 口语练习
    kCategorySettings = 4,   // 配置
};

// The application button's menu: the look group, then the about command.
struct SApplicationMenu {
    const char* groupName;    // "换肤中心"
    const char* groupKeyTip;  // "S"
    std::vector<SRibbonSubItem> looks;  // radio items, in menu order
    SRibbonSubItem about;
};
const SApplicationMenu& GetApplicationMenuLayout();

// The image of the application button.
constexpr int kApplicationButtonImage = 408;

// Where an id occurs in the layout (categories, panels, elements and the
// sub-items of drop-down menus); empty when the layout does not hold it.
struct SRibbonPlace {
    int category = -1;
    int panel = -1;
    int element = -1;
    int subItem = -1;  // -1: the element itself
    const char* text = "";
};
std::vector<SRibbonPlace> FindRibbonPlaces(int id);

// Every command id of the categories (elements and sub-items, Blank elements
// included, separators excluded), each once, in layout order.
std::vector<int> GetRibbonCommandIds();
