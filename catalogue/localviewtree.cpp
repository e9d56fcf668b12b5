#include "catalogue/localviewtree.h"

#include <algorithm>
#include <functional>

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/imaglist.h>

#include "platform/file.h"
#include "ui/wxtext.h"
#include "ui/icons.h"
#include "ui/mainframehost.h"
#include "ui/playercommand.h"
#include "catalogue/core/talkfiles.h"
#include "core/quenlow.h"

namespace {

const wxSize kImageSize(16, 16);

void DrawFolder(wxDC& dc, const wxColour& fill)
{
    dc.SetPen(wxPen(wxColour(150, 110, 20)));
    dc.SetBrush(wxBrush(fill));
    dc.DrawRectangle(1, 3, 6, 3);
    dc.DrawRectangle(1, 5, 14, 9);
}

void DrawPage(wxDC& dc, bool lines)
{
    dc.SetPen(wxPen(wxColour(90, 90, 90)));
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(3, 1, 10, 14);
    if (lines)
        for (int y = 4; y <= 11; y += 3)
            dc.DrawLine(5, y, 11, y);
}

void DrawVideo(wxDC& dc)
{
    dc.SetPen(wxPen(wxColour(20, 40, 90)));
    dc.SetBrush(wxBrush(wxColour(40, 70, 150)));
    dc.DrawRectangle(1, 3, 14, 10);
    const wxPoint triangle[] = {{6, 5}, {11, 8}, {6, 11}};
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.SetPen(*wxWHITE_PEN);
    dc.DrawPolygon(3, triangle);
}

void DrawAudio(wxDC& dc)
{
    const wxColour ink(30, 110, 40);
    dc.SetPen(wxPen(ink, 2));
    dc.DrawLine(10, 2, 10, 12);
    dc.DrawLine(10, 2, 14, 4);
    dc.SetBrush(wxBrush(ink));
    dc.SetPen(wxPen(ink));
    dc.DrawEllipse(4, 10, 6, 5);
}

void DrawMark(wxDC& dc)
{
    dc.SetPen(wxPen(wxColour(200, 120, 0)));
    dc.SetBrush(wxBrush(wxColour(250, 190, 30)));
    dc.DrawEllipse(2, 2, 12, 12);
}

} // namespace

CLocalViewTree::CLocalViewTree()
    : m_clickTimer(this, kTimerClick), m_doubleClickTimer(this, kTimerDoubleClick), m_fillTimer(this, kTimerFill)
{
    Bind(wxEVT_TIMER, &CLocalViewTree::OnTimer, this);
}

CLocalViewTree::~CLocalViewTree()
{
    // The items go while this class's members still stand: their deletion
    // events reach the handlers above.
    m_fillTimer.Stop();
    m_fills.clear();
    DeleteAllItems();
}

bool CLocalViewTree::Create(wxWindow* parent, int id)
{
    if (!CViewTree::Create(parent, id, wxDefaultPosition, wxDefaultSize,
                           wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxBORDER_NONE))
        return false;

    auto* images = new wxImageList(kImageSize.x, kImageSize.y, true, kImageCount);
    images->Add(ThemeIconOrDrawn(wxART_FOLDER, wxART_OTHER, kImageSize,
                                 [](wxDC& dc) { DrawFolder(dc, wxColour(240, 200, 80)); }));
    images->Add(ThemeIconOrDrawn(wxART_FOLDER_OPEN, wxART_OTHER, kImageSize,
                                 [](wxDC& dc) { DrawFolder(dc, wxColour(255, 230, 150)); }));
    images->Add(ThemeIconOrDrawn(wxART_NORMAL_FILE, wxART_OTHER, kImageSize, [](wxDC& dc) { DrawPage(dc, false); }));
    images->Add(ThemeIconOrDrawn("video-x-generic", wxART_OTHER, kImageSize, DrawVideo));
    images->Add(ThemeIconOrDrawn("audio-x-generic", wxART_OTHER, kImageSize, DrawAudio));
    images->Add(ThemeIconOrDrawn("text-x-generic", wxART_OTHER, kImageSize, [](wxDC& dc) { DrawPage(dc, true); }));
    images->Add(ThemeIconOrDrawn("starred", wxART_OTHER, kImageSize, DrawMark));
    AssignImageList(images);

    AddRoot(wxEmptyString);

    // The mark lets go of a deleted item: its handle must not be used again.
    Bind(wxEVT_TREE_DELETE_ITEM, [this](wxTreeEvent& event) {
        event.Skip();
        if (event.GetItem() == m_hPlayingItem)
            m_hPlayingItem = wxTreeItemId();
        CancelFills(event.GetItem());
    });
    // A folder opened by its expander is filled then (a click fills it in
    // OnClickTick); one with nothing to show loses its expander.
    Bind(wxEVT_TREE_ITEM_EXPANDING, [this](wxTreeEvent& event) {
        const wxTreeItemId item = event.GetItem();
        const auto filling = [&] {
            return std::any_of(m_fills.begin(), m_fills.end(), [&](const auto& f) { return FillsInto(*f, item); });
        };
        if (!filling() && GetChildrenCount(item, false) == 0) {
            const CString folder = ItemDiskPath(item);
            if (!folder.IsEmpty() && IsFolder(folder))
                LoadFolderLevel(folder, item);
            // A large folder opens while its items come in.
            if (GetChildrenCount(item, false) == 0 && !filling()) {
                SetItemHasChildren(item, false);
                event.Veto();
                return;
            }
        }
        event.Skip();
    });
    Bind(wxEVT_TREE_ITEM_EXPANDED, [this](wxTreeEvent& event) {
        SetFolderImage(event.GetItem(), kImageFolderOpen);
        event.Skip();
    });
    Bind(wxEVT_TREE_ITEM_COLLAPSED, [this](wxTreeEvent& event) {
        SetFolderImage(event.GetItem(), kImageFolder);
        event.Skip();
    });
    // The toolkit's own double-click action (opening the row) is replaced by
    // the play request.
    Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent&) { m_doubleClickTimer.StartOnce(kClickDelay); });
    return true;
}

void CLocalViewTree::OnPlainClick()
{
    m_clickTimer.StartOnce(kClickDelay);
}

void CLocalViewTree::OnTimer(wxTimerEvent& event)
{
    if (event.GetId() == kTimerClick)
        OnClickTick();
    else if (event.GetId() == kTimerDoubleClick)
        OnDoubleClickTick();
    else if (event.GetId() == kTimerFill)
        OnFillTimer();
}

wxTreeItemId CLocalViewTree::TopLevelItemOf(wxTreeItemId item) const
{
    const wxTreeItemId root = GetRootItem();
    while (item.IsOk() && item != root && GetItemParent(item).IsOk() && GetItemParent(item) != root)
        item = GetItemParent(item);
    return item;
}

void CLocalViewTree::SetFolderImage(wxTreeItemId item, int image)
{
    SetItemImage(item, image);
    SetItemImage(item, image, wxTreeItemIcon_Selected);
}

void CLocalViewTree::ToggleItem(wxTreeItemId item)
{
    if (!item.IsOk() || !ItemHasChildren(item))
        return;
    if (IsExpanded(item)) {
        Collapse(item);
        SetFolderImage(item, kImageFolder);
    } else {
        Expand(item);
        if (IsExpanded(item))
            SetFolderImage(item, kImageFolderOpen);
    }
}


CString CLocalViewTree::ItemDiskPath(wxTreeItemId item) const
{
    const wxTreeItemId top = TopLevelItemOf(item);
    if (!top.IsOk() || top == GetRootItem())
        return CString();
    CString subPath;
    for (wxTreeItemId level = item; level.IsOk() && level != top; level = GetItemParent(level))
        subPath = "/" + ItemName(level) + subPath;
    CString rootName = FromWx(GetItemText(top));
    rootName.Trim();
    CString record = theApp.GetRecordText(rootName);
    record.Trim();
    // A stored folder may end in "/"; the parts below add their own.
    if (record.GetLength() > 1 && record.Right(1) == "/")
        record = record.Left(record.GetLength() - 1);
    return record.IsEmpty() ? CString() : record + subPath;
}

void CLocalViewTree::OnClickTick()
{
    const wxTreeItemId item = GetFocusedItem();
    if (!item.IsOk() || item == GetRootItem())
        return;
    // A closed folder shows what its folder holds now.
    if (GetItemImage(item) == kImageFolder) {
        const CString folder = ItemDiskPath(item);
        if (!folder.IsEmpty() && IsFolder(folder)) {
            DeleteChildItems(item);
            LoadFolderLevel(folder, item);
            // A large folder opens at once and fills while it shows.
            if (IsFilling())
                SetItemHasChildren(item, true);
        }
    }
    ToggleItem(item);
}

// The index of the play-list entry whose file name is the text; else the
// first entry that holds the text ("ba.mp4" holds "a.mp4", so an exact name
// goes first); `current` when none does.
int CLocalViewTree::PlayListIndexHolding(const CString& text, int current)
{
    const CStringArray& list = theApp.m_arrPlayList;
    for (int i = 0; i < list.GetSize(); ++i) {
        if (FileNamePart(list[i]) == text)
            return i;
    }
    for (int i = 0; i < list.GetSize(); ++i) {
        if (list[i].Find(text) >= 0)
            return i;
    }
    return current;
}


void CLocalViewTree::OnDoubleClickTick()
{
    const wxTreeItemId item = GetFocusedItem();
    const wxTreeItemId root = GetRootItem();
    if (!item.IsOk() || item == root)
        return;
    if (ItemHasChildren(item)) {
        ToggleItem(item);   // a folder: the click opened it, the double click closes it again
        return;
    }
    const wxTreeItemId top = TopLevelItemOf(item);
    if (top == item)
        return;   // a top-level item without children plays nothing
    CString rootName = FromWx(GetItemText(top));
    rootName.Trim();
    const CString text = ItemName(item);
    if (rootName == "当前播放列表") {
        theApp.m_nPlayIndex = PlayListIndexHolding(text, theApp.m_nPlayIndex);
    } else if (rootName == "播放历史") {
        CString path;
        theApp.LoadTable(theApp.m_strPlayHistoryTable, text);
        if (theApp.m_arrPlayHistoryRows.GetSize() > 5)
            path = theApp.m_arrPlayHistoryRows[1];
        theApp.m_arrPlayList.RemoveAll();
        theApp.m_arrPlayList.Add(path);
        theApp.m_nPlayIndex = -1;
    } else {
        // A playlist folder: the items below the top-level one name the path
        // inside the folder stored for it.
        const CString fullPath = ItemDiskPath(item);
        theApp.m_arrPlayList.RemoveAll();
        // "当前播放列表" shows the new list; beside the talk catalogue there
        // is none, and only the play list is filled.
        wxTreeItemIdValue cookie;
        wxTreeItemId current = GetFirstChild(root, cookie);
        if (current.IsOk() && FromWx(GetItemText(current)) != "当前播放列表")
            current = wxTreeItemId();
        DeleteChildItems(current);
        // The folder is read once; the play request follows when the play
        // list stands, with the file found by its path.
        PlayFolderMedia(current, fullPath.Left(fullPath.ReverseFind('/')), fullPath, text);
        if (current.IsOk()) {
            if (IsFilling())
                SetItemHasChildren(current, true);
            Expand(current);
            SetItemImage(current, kImageFolderOpen);
            SetItemImage(current, kImageFolderOpen, wxTreeItemIcon_Selected);
        }
        return;
    }
    PostPlayerCommand(CommandTarget(), "HalvikSoftPlayerPlayLocalFile:", "HalvikSoftPlayerPlayLocalFile:");
}

wxEvtHandler* CLocalViewTree::CommandTarget() const
{
    if (m_pCommandTarget != nullptr)
        return m_pCommandTarget;
    IMainFrameHost* host = MainFrameHost();
    return host != nullptr ? host->CommandTarget() : nullptr;
}

wxTreeItemId CLocalViewTree::FindItemByText(wxTreeItemId start, const CString& text) const
{
    return FindItemByWxText(start, ToWx(text));
}

// The siblings are walked with their parent's cookie: the tree finds an
// item's next sibling by searching its parent's children, which over a
// folder of 200,000 files would make the walk quadratic.
wxTreeItemId CLocalViewTree::FindItemByWxText(wxTreeItemId start, const wxString& text) const
{
    if (!start.IsOk())
        return wxTreeItemId();
    const wxTreeItemId parent = GetItemParent(start);
    wxTreeItemIdValue cookie;
    wxTreeItemId item = start;
    if (parent.IsOk()) {
        item = GetFirstChild(parent, cookie);
        while (item.IsOk() && item != start)
            item = GetNextChild(parent, cookie);
    }
    for (; item.IsOk(); item = parent.IsOk() ? GetNextChild(parent, cookie) : wxTreeItemId()) {
        if (GetItemText(item) == text)
            return item;
        wxTreeItemIdValue childCookie;
        const wxTreeItemId child = GetFirstChild(item, childCookie);
        if (child.IsOk()) {
            const wxTreeItemId found = FindItemByWxText(child, text);
            if (found.IsOk())
                return found;
        }
    }
    return wxTreeItemId();
}

void CLocalViewTree::MarkPlayingItem(wxTreeItemId item)
{
    if (m_hPlayingItem.IsOk()) {
        SetItemImage(m_hPlayingItem, m_nPlayingItemImage);
        SetItemImage(m_hPlayingItem, m_nPlayingItemImage, wxTreeItemIcon_Selected);
    }
    m_hPlayingItem = item;
    if (!item.IsOk())
        return;
    m_nPlayingItemImage = GetItemImage(item);
    ScrollTo(item);
    SetItemImage(item, kImageMarked);
    SetItemImage(item, kImageMarked, wxTreeItemIcon_Selected);
}

void CLocalViewTree::DeleteChildItems(wxTreeItemId item)
{
    if (item.IsOk())
        DeleteChildren(item);
}
