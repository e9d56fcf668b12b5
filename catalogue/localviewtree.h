// The local media tree that fills the playlist pane. Its top-level items are
// the children of a hidden root that Create adds, so several of them can
// stand side by side ("当前播放列表", "播放历史", the playlist folders).
// Items are selected one by one with Ctrl, in ranges with Shift (also Shift
// with the arrow keys), as in every CViewTree; the caret is the tree's
// focused item.
#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <vector>

#include <wx/timer.h>

#include "controls/viewtree.h"
#include "platform/cstring.h"
#include "platform/folderreader.h"

class CLocalViewTree : public CViewTree {
public:
    enum { IDC_TREE = 201 };
    // Indices in the tree's image list. A media item shows 2 + its media
    // kind (CQuenlowApp::GetMediaKind): 3 video, 4 audio, 5 other.
    enum {
        kImageFolder = 0,
        kImageFolderOpen = 1,
        kImageDocument = 2,
        kImageVideo = 3,
        kImageAudio = 4,
        kImageOtherFile = 5,
        kImageMarked = 6,
        kImageCount = 7,
    };

    // Timers: a click and a double click act 300 ms later, so a double
    // click runs the click's step first; the fill timer puts the next slice
    // of a large folder into the tree.
    enum ELocalViewTreeTimer { kTimerClick = 100, kTimerDoubleClick = 200, kTimerFill = 300 };
    static constexpr int kClickDelay = 300;
    // A folder level is read and put into the tree in slices of about this
    // many milliseconds, the event loop turning between them: a folder of
    // 200,000 files never stops the window. A folder that takes one slice
    // is done when the call returns.
    static constexpr int kFillSliceMs = 25;

    CLocalViewTree();
    ~CLocalViewTree() override;

    // Creates the tree with its image list and its hidden root.
    bool Create(wxWindow* parent, int id = IDC_TREE);

    // A click on an item (without Ctrl or Shift): a closed folder item reads
    // its folder's first level from the disk anew; then an item with children
    // opens or closes (the tree has no expander buttons).
    void OnClickTick();
    // A double click on an item without children below a top-level item
    // plays it: from "当前播放列表" the play-list entry that holds its name,
    // from "播放历史" the path stored in its history row, from a playlist
    // folder the media of its folder (listed under "当前播放列表"; the play
    // request follows once the play list stands, and the file is found by
    // its path). The play request goes to the frame
    // ("HalvikSoftPlayerPlayLocalFile:"); where it goes can be set (tests).
    void OnDoubleClickTick();
    void SetCommandTarget(wxEvtHandler* target) { m_pCommandTarget = target; }
    wxEvtHandler* CommandTarget() const;
    // The top-level item above an item (the item itself at the top level).
    wxTreeItemId TopLevelItemOf(wxTreeItemId item) const;
    // The folder on the disk an item below a playlist folder stands for: the
    // path stored for its top-level item, then "/" and each item's text down
    // to it. For a top-level item, its stored path; "" when none is stored.
    CString ItemDiskPath(wxTreeItemId item) const;

    // Depth-first search from start over start's following siblings and all
    // their descendants (an item before its descendants, its descendants
    // before its next sibling) for the first item whose text equals text
    // exactly. An invalid id when there is none or when start is invalid.
    wxTreeItemId FindItemByText(wxTreeItemId start, const CString& text) const;
    // Marks the playing item (image 6) and gives the item marked before its
    // own image back. The mark goes when its item is deleted.
    void MarkPlayingItem(wxTreeItemId item);
    wxTreeItemId PlayingItem() const { return m_hPlayingItem; }
    // Deletes every child of the item (the item itself stays).
    void DeleteChildItems(wxTreeItemId item);
    // Lists the folder itself (not its sub-folders) in name order; every file
    // that is video or audio gets its full path appended to theApp's play
    // list and its file name inserted as the last child of parent, with
    // image 2 + media kind (without a parent, the play list alone is filled).
    void AddFolderMedia(wxTreeItemId parent, const CString& folder);
    // Whether the path is a folder (a link to one included).
    static bool IsFolder(const CString& path);
    // Appends an item for a name on the disk. Its text shows the name; a
    // name whose bytes the text cannot give back (a stray byte that is no
    // character) is kept with the item.
    wxTreeItemId AppendNamedItem(wxTreeItemId parent, const CString& name, int image);
    // The name an item stands for: the name kept with it, else its text.
    CString ItemName(wxTreeItemId item) const;
    // Inserts the folder's sub-folders (image 0, their names) and its video
    // and audio files (image 2 + media kind) as the last children of parent,
    // in name order, folders and files mixed. LoadFolderLevel stays at the
    // folder's own level, in slices (IsFilling tells whether slices remain);
    // LoadFolderTree also fills every sub-folder, but never descends into a
    // linked folder (a link can lead back up the tree).
    void LoadFolderLevel(const CString& folder, wxTreeItemId parent);
    // Gives a folder item that is filled only when opened its expander, when
    // the folder holds a sub-folder or a video or audio file (reading stops
    // at the first one).
    void ShowExpanderIfFilled(wxTreeItemId item, const CString& folder);
    void LoadFolderTree(const CString& folder, wxTreeItemId parent);

    // Whether a folder level is still being put into the tree.
    bool IsFilling() const { return !m_fills.empty(); }

protected:
    // A plain click acts once the double-click time has passed.
    void OnPlainClick() override;

private:
    // A folder level on its way into the tree: read entry by entry, sorted by
    // the names' bytes on the disk, then appended as items, each step in
    // slices of bounded time.
    struct SFolderFill {
        wxTreeItemId parent;     // the item filled (may be invalid: the play list alone)
        CString folder;
        bool mediaOnly = false;  // files only, also into the play list (the current play list)
        bool play = false;       // the play request follows once the play list stands
        CString playPath;        // the file to play and to mark
        CString playText;        // its item's text, when its path is not found
        std::unique_ptr<CFolderReader> reader;
        std::vector<SFolderItem> items;   // as read, the kinds kept
        std::vector<int> images;
        std::future<std::vector<size_t>> sorting;
        std::vector<size_t> order;        // indices of items in name order
        bool sorted = false;
        size_t listed = 0;                // entries of order in the play list
        int playIndex = -1;
        bool posted = false;
        size_t next = 0;                  // entries of order in the tree
        // Items appended per slice: the tree measures each new item's text
        // when the event loop turns, so the count follows how long that took.
        size_t perSlice = 1000;
        std::chrono::steady_clock::time_point sliceEnd;
    };

    // Runs the fill's first slice now and the rest from the fill timer.
    void StartFill(std::unique_ptr<SFolderFill> fill);
    // One slice of a fill; true when it is done.
    bool StepFill(SFolderFill& fill);
    void OnFillTimer();
    // Stops the fills into an item (it is deleted, or filled anew).
    void CancelFills(wxTreeItemId parent);
    bool FillsInto(const SFolderFill& fill, wxTreeItemId item) const;
    // The media files of a folder as the play list and as the children of
    // `parent` (when valid); once the play list stands, the play index is
    // the entry of playPath (else the one holding text) and the play
    // request goes out.
    void PlayFolderMedia(wxTreeItemId parent, const CString& folder, const CString& playPath, const CString& text);
    // The index of the play-list entry whose file name is the text; else the
    // first entry that holds the text; `current` when none does.
    static int PlayListIndexHolding(const CString& text, int current);
    void LoadFolder(const CString& folder, wxTreeItemId parent, bool recursive);
    wxTreeItemId FindItemByWxText(wxTreeItemId start, const wxString& text) const;
    void ToggleItem(wxTreeItemId item);
    void SetFolderImage(wxTreeItemId item, int image);
    void OnTimer(wxTimerEvent& event);

    wxTimer m_clickTimer;
    wxTimer m_doubleClickTimer;
    wxTimer m_fillTimer;
    std::vector<std::unique_ptr<SFolderFill>> m_fills;
    wxEvtHandler* m_pCommandTarget = nullptr;
    wxTreeItemId m_hPlayingItem;    // the item marked as playing
    int m_nPlayingItemImage = 0;    // its own image
};
