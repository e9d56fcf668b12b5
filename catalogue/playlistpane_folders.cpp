// The playlist pane's folder commands: adding and removing playlist folders,
// reloading the local media view, showing an item's file in the file
// browser, queueing videos for online subtitles and deleting history entries.
#include "catalogue/playlistpane.h"

#include <algorithm>
#include <vector>

#include "catalogue/core/talkfiles.h"
#include "catalogue/localviewtree.h"
#include "platform/file.h"
#include "ui/browsefolder.h"
#include "ui/messagebox.h"
#include "ui/wxtext.h"
#include "core/desktopopen.h"
#include "core/quenlow.h"

namespace {

constexpr int kError = 1;
constexpr int kOther = 3;

CString ItemText(const CLocalViewTree& tree, wxTreeItemId item)
{
    CString text = FromWx(tree.GetItemText(item));
    return text.Trim();
}

bool IsSystemFolderName(const CString& name)
{
    CString cacheDir = theApp.m_strCacheDir;
    if (cacheDir.Right(1) == "/")
        cacheDir = cacheDir.Left(cacheDir.GetLength() - 1);
    CString cacheName = FileNamePart(cacheDir);
    cacheName.Trim();
    return name == "当前播放列表" || name == "播放历史" || name == cacheName;
}

// The first play-list entry that holds the name after its first character.
CString PlayListEntryHolding(const CString& name)
{
    for (const CString& entry : theApp.m_arrPlayList)
        if (entry.Find(name) > 0)
            return entry;
    return CString();
}

CString HistoryPathOf(const CString& key)
{
    theApp.LoadTable(theApp.m_strPlayHistoryTable, key);
    return theApp.m_arrPlayHistoryRows.GetSize() > 5 ? theApp.m_arrPlayHistoryRows[1] : CString();
}

} // namespace

CString CPlayListPane::GetItemFilePath(wxTreeItemId item) const
{
    const CString root = ItemText(*m_wndTree, GetRootItemOf(item));
    const CString text = ItemText(*m_wndTree, item);
    // The two lists stand for files kept elsewhere: the play list and the
    // history rows hold their paths.
    if (root == "当前播放列表")
        return PlayListEntryHolding(text);
    if (root == "播放历史")
        return HistoryPathOf(text);
    return GetItemMediaPath(item);
}

void CPlayListPane::OnNewPlayFolder()
{
    CString folder = m_browseForFolder ? m_browseForFolder() : BrowseForFolder(this, "请选择播放文件所在的文件夹");
    folder.Trim();
    if (folder.IsEmpty())
        return;
    while (folder.GetLength() > 1 && folder.Right(1) == "/")
        folder = folder.Left(folder.GetLength() - 1);
    CString name = FileNamePart(folder);
    name.Trim();
    if (name.IsEmpty()) {
        theApp.SetMessage(kError, "由于文件数过大，不能将磁盘作为播放目录！", 5);
        return;
    }
    if (theApp.RecordExists(theApp.m_strUserDataDbPath, theApp.m_strLocalPlaylistTable, name)) {
        theApp.SetMessage(kError, "有同名文件夹存在，不能重复添加文件夹！", 5);
        return;
    }
    if (!theApp.PutRecord(theApp.m_strLocalPlaylistTable, name, folder, CString(), CString(), CString(), CString())) {
        theApp.SetMessage(kError, "添加播放目录失败！", 5);
        return;
    }
    const wxTreeItemId item = m_wndTree->AppendItem(m_wndTree->GetRootItem(), ToWx(name),
                                                    CLocalViewTree::kImageFolder, CLocalViewTree::kImageFolder);
    const CString stored = theApp.GetRecordText(name);
    if (FolderExists(stored))
        LoadFolderTree(stored, item);
    m_wndTree->Expand(item);
    m_wndTree->SetItemImage(item, CLocalViewTree::kImageFolderOpen);
    m_wndTree->SetItemImage(item, CLocalViewTree::kImageFolderOpen, wxTreeItemIcon_Selected);
}

void CPlayListPane::OnDeletePlayFolder()
{
    const wxTreeItemId item = m_wndTree->GetFocusedItem();
    if (!item.IsOk() || item == m_wndTree->GetRootItem()) {
        theApp.SetMessage(kError, "请选择要删除的目录！", 5);
        return;
    }
    if (m_wndTree->GetItemParent(item) != m_wndTree->GetRootItem()) {
        theApp.SetMessage(kError, "由于不是根目录，不能删除！", 5);
        return;
    }
    const CString text = ItemText(*m_wndTree, item);
    if (IsSystemFolderName(text)) {
        theApp.SetMessage(kError, "系统文件夹不能被删除。", 6);
        return;
    }
    if (ShowMessageBox("您确定要删除目录吗？", "HalvikEnglish", wxOK | wxCANCEL, this) != wxOK)
        return;
    if (theApp.DeleteRecord(theApp.m_strLocalPlaylistTable, text)) {
        m_wndTree->Delete(item);
        theApp.SetMessage(kOther, "成功删除目录", 3);
    }
}

void CPlayListPane::OnRefreshPlayFolders()
{
    PostToFrame("LocalMediaPlaylistRefresh:", "LocalMediaPlaylistRefresh:");
}

void CPlayListPane::OnOpenItemFolder()
{
    const wxTreeItemId item = m_wndTree->GetFocusedItem();
    if (!item.IsOk() || item == m_wndTree->GetRootItem()) {
        theApp.SetMessage(kError, "请选择播放列表节点", 5);
        return;
    }
    const CString text = ItemText(*m_wndTree, item);
    if (text == "当前播放列表" || text == "播放历史") {
        CString message;
        message.Format("[%s]是虚拟目录，不能被访问！", text.GetString());
        theApp.SetMessage(kError, message, 5);
        return;
    }
    const CString root = ItemText(*m_wndTree, GetRootItemOf(item));
    if (root == "当前播放列表" && theApp.m_arrPlayList.IsEmpty()) {
        theApp.SetMessage(kError, "当前播放列表中没有文件！", 5);
        return;
    }
    const CString target = GetItemFilePath(item);
    if (target.IsEmpty() || !FileExists(target)) {
        theApp.SetMessage(kError, "目标文件不存在！", 5);
        return;
    }
    // A folder item opens that folder; a file opens the folder that holds it.
    if (IsFolder(target)) {
        OpenOnDesktop(target);
        return;
    }
    OpenOnDesktop(FolderPart(target));
}

void CPlayListPane::OnGetOnlineSubtitles()
{
    theApp.m_arrSubtitleFetchList.RemoveAll();
    std::vector<CString> candidates;
    for (const wxTreeItemId item : m_wndTree->GetSelectedShownItems()) {
        const CString path = GetItemFilePath(item);
        if (!IsFolder(path)) {
            candidates.push_back(path);
            continue;
        }
        // A playlist folder stands for the media files in it.
        const CString folder = path.Right(1) == "/" ? path : path + "/";
        for (const SFolderEntry& entry : ListFolder(folder))
            if (!entry.isFolder)
                candidates.push_back(entry.path);
    }
    // A file selected both itself and through its folder is fetched once.
    std::vector<CString> queued;
    for (const CString& path : candidates) {
        if (theApp.GetMediaKind(path) != 1 || FileExists(ScriptPathBeside(path)) ||
            std::find(queued.begin(), queued.end(), path) != queued.end())
            continue;
        queued.push_back(path);
        theApp.m_arrSubtitleFetchList.Add(path);
    }
    theApp.m_strSubtitleCommand = "HalvikEnglishGetNetSubtitles:";
}

void CPlayListPane::OnDeleteHistoryItems()
{
    // Only entries of the history are history rows: another item that
    // happens to carry a history key's name stays untouched.
    int deleted = 0;
    for (const wxTreeItemId item : m_wndTree->GetSelectedShownItems()) {
        const wxTreeItemId parent = m_wndTree->GetItemParent(item);
        if (ItemText(*m_wndTree, parent) != "播放历史" || m_wndTree->GetItemParent(parent) != m_wndTree->GetRootItem())
            continue;
        const int rows = theApp.DeleteRecordCount(theApp.m_strPlayHistoryTable, ItemText(*m_wndTree, item));
        if (rows > 0)
            deleted += rows;
    }
    CString message;
    message.Format("成功删除了%d个选中项目!", deleted);
    theApp.SetMessage(kOther, message, 5);
    OnRefreshPlayFolders();
}
