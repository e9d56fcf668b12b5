// A pop-up menu of the program's commands, and sending a command to the
// frame of a window.
#pragma once

#include <memory>
#include <vector>

#include <wx/menu.h>

#include "platform/cstring.h"

class wxWindow;

// A pop-up menu of commands. Menu items cannot carry command ids beyond the
// toolkit's id range (kLargestToolkitId, core/commandids.h), so each
// item gets a reserved automatic id and the menu translates between the two.
class CCommandMenu {
public:
    CCommandMenu();
    ~CCommandMenu();
    CCommandMenu(const CCommandMenu&) = delete;
    CCommandMenu& operator=(const CCommandMenu&) = delete;

    wxMenu& GetMenu() { return *m_menu; }
    // Appends to the menu itself, or to `submenu` when given (one made with
    // AddSubMenu).
    void Append(int commandId, const CString& text, wxItemKind kind, wxMenu* submenu = nullptr);
    wxMenu* AddSubMenu(const CString& text);
    void AppendSeparator() { m_menu->AppendSeparator(); }

    // The command of a menu item id (0 when none), and the item of a command.
    int CommandFromItem(int itemId) const;
    wxMenuItem* FindCommand(int commandId) const;
    std::vector<int> GetCommands() const;

    // Asks the update-UI handlers above `source` (the frame's) about every
    // command and applies Enable, Check and SetText to its item.
    void UpdateUI(wxWindow* source);

private:
    struct SItem {
        int itemId;
        int commandId;
    };
    std::unique_ptr<wxMenu> m_menu;
    std::vector<SItem> m_items;
};

// Sends command `id` as wxEVT_MENU to the top-level window of `source` and
// processes it there at once. Returns whether a handler took it.
bool SendCommandToFrame(wxWindow* source, int id);

