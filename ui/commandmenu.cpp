#include "ui/commandmenu.h"

#include <wx/window.h>

#include "ui/wxtext.h"

bool SendCommandToFrame(wxWindow* source, int id)
{
    wxWindow* top = source ? wxGetTopLevelParent(source) : nullptr;
    if (!top)
        return false;
    wxCommandEvent command(wxEVT_MENU, id);
    command.SetEventObject(source);
    return top->GetEventHandler()->ProcessEvent(command);
}

CCommandMenu::CCommandMenu() : m_menu(std::make_unique<wxMenu>()) {}

CCommandMenu::~CCommandMenu()
{
    m_menu.reset();
    for (const SItem& item : m_items)
        wxWindow::UnreserveControlId(item.itemId);
}

wxMenu* CCommandMenu::AddSubMenu(const CString& text)
{
    auto* submenu = new wxMenu;
    m_menu->AppendSubMenu(submenu, ToWx(text));
    return submenu;
}

void CCommandMenu::Append(int commandId, const CString& text, wxItemKind kind, wxMenu* submenu)
{
    const int itemId = wxWindow::NewControlId();
    m_items.push_back({itemId, commandId});
    (submenu ? submenu : m_menu.get())->Append(itemId, ToWx(text), wxEmptyString, kind);
}

int CCommandMenu::CommandFromItem(int itemId) const
{
    for (const SItem& item : m_items) {
        if (item.itemId == itemId)
            return item.commandId;
    }
    return 0;
}

wxMenuItem* CCommandMenu::FindCommand(int commandId) const
{
    for (const SItem& item : m_items) {
        if (item.commandId == commandId)
            return m_menu->FindItem(item.itemId);
    }
    return nullptr;
}

std::vector<int> CCommandMenu::GetCommands() const
{
    std::vector<int> commands;
    for (const SItem& item : m_items)
        commands.push_back(item.commandId);
    return commands;
}

void CCommandMenu::UpdateUI(wxWindow* source)
{
    for (const SItem& item : m_items) {
        wxMenuItem* menuItem = m_menu->FindItem(item.itemId);
        if (!menuItem)
            continue;
        wxUpdateUIEvent update(item.commandId);
        update.SetEventObject(source);
        if (!source->GetEventHandler()->ProcessEvent(update))
            continue;
        if (update.GetSetEnabled())
            menuItem->Enable(update.GetEnabled());
        // A radio item is unchecked by checking another one of its group.
        if (update.GetSetChecked() && menuItem->IsCheckable() && (update.GetChecked() || !menuItem->IsRadio()))
            menuItem->Check(update.GetChecked());
        if (update.GetSetText())
            menuItem->SetItemLabel(update.GetText());
    }
}

