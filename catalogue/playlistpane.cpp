#include "catalogue/playlistpane.h"

#include <algorithm>

#include <wx/artprov.h>
#include <wx/sizer.h>

#include "catalogue/localviewtree.h"
#include "platform/file.h"
#include "platform/wintypes.h"
#include "ui/commandmenu.h"
#include "ui/panetoolbar.h"
#include "ui/mainframehost.h"
#include "ui/playercommand.h"
#include "ui/wxcolour.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"

namespace {

const std::vector<SPaneTool> kToolCommands = {
    {kCmdNewPlayFolder, "新建", "创建新的播放目录", wxITEM_NORMAL, wxART_NEW_DIR},
    {kCmdDeletePlayFolder, "删除", "删除选定的播放目录", wxITEM_NORMAL, wxART_DELETE},
    {kCmdRefreshPlayFolders, "刷新", "重新载入播放目录", wxITEM_NORMAL, wxART_REDO},
    {kCmdOpenItemFolder, "打开文件夹", "打开光标所在节点的文件夹", wxITEM_NORMAL, wxART_FOLDER_OPEN},
};

enum class EPaneMenu { History, LocalItem, Talk };

struct SMenuEntry {
    EPaneMenu menu;
    int command;
    const char* text;
    const char* submenu;   // null: the menu itself
};

// The history entry's menu, the menu of playlist folders, their content and
// the cache folder, and the menu of a talk of the catalogue.
const SMenuEntry kMenuEntries[] = {
    {EPaneMenu::History, kCmdDeleteHistoryItems, "删除选中项", nullptr},
    {EPaneMenu::LocalItem, kCmdExportLocalText, "导出对白文本", nullptr},
    {EPaneMenu::LocalItem, kCmdExportLocalLrc, "导出LRC文件", nullptr},
    {EPaneMenu::LocalItem, kCmdGetOnlineSubtitles, "获取网络字幕", nullptr},
    {EPaneMenu::Talk, kCmdDownloadTalkLight, "低清晰度", "下载视频"},
    {EPaneMenu::Talk, kCmdDownloadTalkNormal, "普通清晰度", "下载视频"},
    {EPaneMenu::Talk, kCmdDownloadTalk480p, "高清480P", "下载视频"},
    {EPaneMenu::Talk, kCmdExportTalkText, "导出对白文本", "导出文本资料"},
    {EPaneMenu::Talk, kCmdExportTalkLrc, "导出LRC文件", "导出文本资料"},
};

std::vector<int> CommandsOf(EPaneMenu menu)
{
    std::vector<int> commands;
    for (const SMenuEntry& entry : kMenuEntries)
        if (entry.menu == menu)
            commands.push_back(entry.command);
    return commands;
}

const SMenuEntry* FindMenuEntry(int command)
{
    for (const SMenuEntry& entry : kMenuEntries)
        if (entry.command == command)
            return &entry;
    return nullptr;
}

} // namespace

CPlayListPane::~CPlayListPane()
{
    m_focusTimer.Stop();
    m_talkInfoTimer.Stop();
}

bool CPlayListPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    m_wndTree = new CLocalViewTree;
    if (!m_wndTree->Create(this))
        return false;
    if (!CreateToolBar())
        return false;
    // A 20-pixel line at the screen's scale (the characters take three
    // quarters of it).
    const double scale = theApp.m_dScaleX > 0 ? theApp.m_dScaleX : 1.0;
    wxFont font = m_wndTree->GetFont();
    font.SetPixelSize(wxSize(0, std::max(1, static_cast<int>(scale * 20) * 3 / 4)));
    m_wndTree->SetFont(font);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_wndToolBar, 0, wxEXPAND);
    sizer->Add(m_wndTree, 1, wxEXPAND);
    SetSizer(sizer);

    m_focusTimer.SetOwner(this, kTimerFocusTree);
    m_talkInfoTimer.SetOwner(this, kTimerTalkInfo);
    Bind(wxEVT_TIMER, &CPlayListPane::OnTimer, this);
    m_wndTree->Bind(wxEVT_CONTEXT_MENU, &CPlayListPane::OnContextMenu, this);
    return true;
}

bool CPlayListPane::CreateToolBar()
{
    m_wndToolBar = new CPaneToolBar;
    return m_wndToolBar->Create(this, IDC_TOOLBAR, kToolCommands, [this](int command) { OnCommand(command); });
}

void CPlayListPane::ApplyColors()
{
    // The tree draws its connecting lines in its text colour.
    m_wndTree->SetForegroundColour(ToWxColour(theApp.m_clrText));
    m_wndTree->SetBackgroundColour(ToWxColour(theApp.m_clrBackground));
    m_wndTree->Refresh();
}

void CPlayListPane::OnCommand(int commandId)
{
    switch (commandId) {
    case kCmdNewPlayFolder: OnNewPlayFolder(); break;
    case kCmdDeletePlayFolder: OnDeletePlayFolder(); break;
    case kCmdRefreshPlayFolders: OnRefreshPlayFolders(); break;
    case kCmdOpenItemFolder: OnOpenItemFolder(); break;
    case kCmdGetOnlineSubtitles: OnGetOnlineSubtitles(); break;
    case kCmdDeleteHistoryItems: OnDeleteHistoryItems(); break;
    case kCmdExportLocalText: OnExportLocal(false); break;
    case kCmdExportLocalLrc: OnExportLocal(true); break;
    case kCmdExportTalkText: OnExportTalks(false); break;
    case kCmdExportTalkLrc: OnExportTalks(true); break;
    case kCmdDownloadTalkLight: OnDownloadTalk(ETalkQuality::Light); break;
    case kCmdDownloadTalkNormal: OnDownloadTalk(ETalkQuality::Normal); break;
    case kCmdDownloadTalk480p: OnDownloadTalk(ETalkQuality::P480); break;
    case kCmdPlayTalkOnlineNormal: OnPlayTalkOnline(ETalkQuality::Normal); break;
    case kCmdPlayTalkOnline480p: OnPlayTalkOnline(ETalkQuality::P480); break;
    case kCmdPlayTalkOnlineLight: OnPlayTalkOnline(ETalkQuality::Light); break;
    default: break;
    }
}

bool CPlayListPane::IsTalkItem(wxTreeItemId item) const
{
    return item.IsOk() && m_wndTree->GetItemParent(item) == m_wndTree->GetRootItem() &&
           FromWx(m_wndTree->GetItemText(item)).Left(1) == "[";
}

std::vector<int> CPlayListPane::ContextMenuCommands() const
{
    const wxTreeItemId item = m_wndTree->GetFocusedItem();
    if (!item.IsOk() || item == m_wndTree->GetRootItem())
        return {};
    CString text = FromWx(m_wndTree->GetItemText(item));
    text.Trim();
    if (text == "当前播放列表" || text == "播放历史")
        return {};
    const wxTreeItemId parent = m_wndTree->GetItemParent(item);
    CString parentText = parent.IsOk() && parent != m_wndTree->GetRootItem() ? FromWx(m_wndTree->GetItemText(parent))
                                                                             : CString();
    parentText.Trim();
    if (parentText == "当前播放列表")
        return {};
    if (parentText == "播放历史")
        return CommandsOf(EPaneMenu::History);
    if (IsTalkItem(item))
        return CommandsOf(EPaneMenu::Talk);
    return CommandsOf(EPaneMenu::LocalItem);
}

void CPlayListPane::OnContextMenu(wxContextMenuEvent& event)
{
    // A right click on an item outside the selection makes it the selection,
    // as the desktop's lists do; inside it, the selection stays for the menu.
    wxPoint point = event.GetPosition();
    point = point == wxDefaultPosition ? wxPoint(0, 0) : m_wndTree->ScreenToClient(point);
    int flags = 0;
    const wxTreeItemId hit = m_wndTree->HitTest(point, flags);
    if (hit.IsOk() && !m_wndTree->IsSelected(hit)) {
        m_wndTree->ClearSelection();
        m_wndTree->SelectItem(hit);
    }
    const std::vector<int> commands = ContextMenuCommands();
    if (commands.empty())
        return;
    CCommandMenu menu;
    std::vector<std::pair<CString, wxMenu*>> submenus;
    for (int command : commands) {
        const SMenuEntry* entry = FindMenuEntry(command);
        wxMenu* submenu = nullptr;
        if (entry->submenu != nullptr) {
            for (const auto& [name, made] : submenus)
                if (name == entry->submenu)
                    submenu = made;
            if (submenu == nullptr) {
                submenu = menu.AddSubMenu(entry->submenu);
                submenus.emplace_back(entry->submenu, submenu);
            }
        }
        menu.Append(command, entry->text, wxITEM_NORMAL, submenu);
    }
    const int chosen = m_wndTree->GetPopupMenuSelectionFromUser(menu.GetMenu(), point);
    const int command = chosen == wxID_NONE ? 0 : menu.CommandFromItem(chosen);
    if (command != 0)
        OnCommand(command);
}

void CPlayListPane::OnTimer(wxTimerEvent& event)
{
    if (event.GetId() == kTimerFocusTree) {
        m_focusTimer.Stop();
        m_wndTree->SetFocus();
        return;
    }
    if (event.GetId() != kTimerTalkInfo)
        return;
    // The page lies across the pane, 150 pixels high, below or above the
    // pointer; it stays while the pointer is inside it.
    const wxPoint pointer = wxGetMousePosition();
    IMainFrameHost* host = MainFrameHost();
    if (host != nullptr && host->IsInDictionaryPopup(pointer.x, pointer.y))
        return;
    m_talkInfoTimer.Stop();
    if (host != nullptr)
        host->HideDictionaryPopup();
}

bool CPlayListPane::FolderExists(const CString& path)
{
    return IsFolder(path);
}

bool CPlayListPane::CreateFolder(const CString& path)
{
    return CreateFolders(path);
}

void CPlayListPane::DeleteSrtFiles(const CString& folder)
{
    m_arrSrtFiles.RemoveAll();
    for (const SFolderEntry& entry : ListFolder(folder))
        if (!entry.isFolder && entry.path.Find(".srt") > 0)
            m_arrSrtFiles.Add(entry.path);
}

wxTreeItemId CPlayListPane::GetRootItemOf(wxTreeItemId item) const
{
    return m_wndTree->TopLevelItemOf(item);
}

CString CPlayListPane::GetItemTreePath(wxTreeItemId item) const
{
    CString path;
    const wxTreeItemId root = m_wndTree->GetRootItem();
    for (; item.IsOk() && item != root; item = m_wndTree->GetItemParent(item))
        path = path.IsEmpty() ? FromWx(m_wndTree->GetItemText(item)) : FromWx(m_wndTree->GetItemText(item)) + "/" + path;
    return path;
}

CString CPlayListPane::GetItemMediaPath(wxTreeItemId item) const
{
    const CString path = GetItemTreePath(item);
    const int slash = path.Find('/');
    const CString first = slash >= 0 ? path.Left(slash) : path;
    const CString rest = slash >= 0 ? path.Mid(slash) : CString();
    CString folder = theApp.GetRecordText(first);
    if (folder.GetLength() > 1 && folder.Right(1) == "/")
        folder = folder.Left(folder.GetLength() - 1);
    return folder + rest;
}

void CPlayListPane::LoadFolderTree(const CString& folder, wxTreeItemId parent)
{
    m_wndTree->LoadFolderTree(folder, parent);
}

void CPlayListPane::PostToFrame(const CString& keyword, const CString& argument)
{
    PostPlayerCommand(m_wndTree->CommandTarget(), keyword, argument);
}
