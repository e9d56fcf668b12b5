// The local media tree's folder loaders: media files of one folder for the
// current play list, and folder items with their media for playlist folders.
#include "catalogue/localviewtree.h"

#include <algorithm>
#include <chrono>
#include <future>

#include "platform/file.h"
#include "platform/folderreader.h"
#include "ui/playercommand.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"

namespace {

CString WithSlash(const CString& folder)
{
    return folder.Right(1) == "/" ? folder : folder + "/";
}

// Video (1) or audio (2): the kinds the tree lists.
bool IsPlayableKind(int kind) { return kind == 1 || kind == 2; }

// The name on the disk of an item whose text does not give it back.
class CDiskNameData : public wxTreeItemData {
public:
    explicit CDiskNameData(const CString& name) : m_name(name) {}
    const CString& Name() const { return m_name; }

private:
    CString m_name;
};

using Clock = std::chrono::steady_clock;

// Entries read from the folder between two looks at the clock.
constexpr int kReadBatch = 256;

} // namespace

bool CLocalViewTree::FillsInto(const SFolderFill& fill, wxTreeItemId item) const
{
    return fill.parent.IsOk() && fill.parent == item;
}

void CLocalViewTree::CancelFills(wxTreeItemId parent)
{
    if (!parent.IsOk())
        return;
    m_fills.erase(std::remove_if(m_fills.begin(), m_fills.end(), [&](const auto& f) { return FillsInto(*f, parent); }),
                  m_fills.end());
}

void CLocalViewTree::StartFill(std::unique_ptr<SFolderFill> fill)
{
    CancelFills(fill->parent);
    fill->reader = std::make_unique<CFolderReader>(fill->folder);
    if (StepFill(*fill))
        return;
    m_fills.push_back(std::move(fill));
    m_fillTimer.StartOnce(1);
}

void CLocalViewTree::OnFillTimer()
{
    if (m_fills.empty())
        return;
    // The first fill goes on; one that is done (or deleted meanwhile) makes way.
    SFolderFill* fill = m_fills.front().get();
    if (StepFill(*fill) && !m_fills.empty() && m_fills.front().get() == fill)
        m_fills.erase(m_fills.begin());
    if (!m_fills.empty())
        m_fillTimer.StartOnce(1);
}

bool CLocalViewTree::StepFill(SFolderFill& fill)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kFillSliceMs);
    std::vector<SFolderItem> batch;
    while (fill.reader) {
        batch.clear();
        if (!fill.reader->ReadSome(kReadBatch, batch))
            fill.reader.reset();
        // Folders (unless only media are wanted) and video and audio files.
        for (SFolderItem& item : batch) {
            const int kind = item.isFolder ? 0 : theApp.GetMediaKind(item.name);
            if (item.isFolder ? fill.mediaOnly : !item.isRegular || !IsPlayableKind(kind))
                continue;
            fill.images.push_back(item.isFolder ? kImageFolder : 2 + kind);
            fill.items.push_back(std::move(item));
        }
        if (fill.reader && Clock::now() >= deadline)
            return false;
    }
    if (!fill.sorted) {
        // In the order of the names' bytes on the disk. Sorting 200,000
        // names takes longer than a slice: it runs beside the event loop,
        // on items nothing changes meanwhile.
        if (!fill.sorting.valid()) {
            fill.sorting = std::async(std::launch::async, [items = &fill.items] {
                std::vector<size_t> order(items->size());
                for (size_t k = 0; k < order.size(); ++k)
                    order[k] = k;
                std::sort(order.begin(), order.end(),
                          [items](size_t a, size_t b) { return (*items)[a].fsName < (*items)[b].fsName; });
                return order;
            });
        }
        if (fill.sorting.wait_until(deadline) != std::future_status::ready)
            return false;
        fill.order = fill.sorting.get();
        fill.sorted = true;
        if (fill.parent.IsOk() && fill.items.empty() && GetChildrenCount(fill.parent, false) == 0)
            SetItemHasChildren(fill.parent, false);
    }
    // The play list first, so that the play request can go out.
    while (fill.mediaOnly && fill.listed < fill.order.size()) {
        const SFolderItem& item = fill.items[fill.order[fill.listed]];
        if (fill.playIndex < 0 && fill.play && item.path == fill.playPath)
            fill.playIndex = theApp.m_arrPlayList.GetSize();
        theApp.m_arrPlayList.Add(item.path);
        ++fill.listed;
        if (fill.listed % 256 == 0 && fill.listed < fill.order.size() && Clock::now() >= deadline)
            return false;
    }
    if (fill.play && !fill.posted) {
        fill.posted = true;
        theApp.m_nPlayIndex = fill.playIndex >= 0 ? fill.playIndex : PlayListIndexHolding(fill.playText, theApp.m_nPlayIndex);
        PostPlayerCommand(CommandTarget(), "HalvikSoftPlayerPlayLocalFile:", "HalvikSoftPlayerPlayLocalFile:");
    }
    if (!fill.parent.IsOk())
        return true;
    // The tree's own work on the items of the last slice (measuring their
    // text) came between that slice and this one: fewer items when it was long.
    if (fill.next > 0) {
        const auto between = Clock::now() - fill.sliceEnd;
        if (between > std::chrono::milliseconds(kFillSliceMs))
            fill.perSlice = std::max<size_t>(fill.perSlice / 2, 400);
        else if (between < std::chrono::milliseconds(kFillSliceMs / 2))
            fill.perSlice = std::min<size_t>(fill.perSlice * 3 / 2, 8000);
    }
    const size_t sliceEnd = std::min(fill.order.size(), fill.next + fill.perSlice);
    while (fill.next < fill.order.size()) {
        if (fill.next >= sliceEnd) {
            fill.sliceEnd = Clock::now();
            return false;
        }
        const size_t k = fill.order[fill.next];
        const SFolderItem& item = fill.items[k];
        const wxTreeItemId added = AppendNamedItem(fill.parent, item.name, fill.images[k]);
        if (fill.play && item.path == fill.playPath)
            MarkPlayingItem(added);
        ++fill.next;
        if (fill.next % 64 == 0 && fill.next < fill.order.size() && Clock::now() >= deadline) {
            fill.sliceEnd = Clock::now();
            return false;
        }
    }
    return true;
}

void CLocalViewTree::PlayFolderMedia(wxTreeItemId parent, const CString& folder, const CString& playPath,
                                     const CString& text)
{
    auto fill = std::make_unique<SFolderFill>();
    fill->parent = parent;
    fill->folder = WithSlash(folder);
    fill->mediaOnly = true;
    fill->play = true;
    fill->playPath = playPath;
    fill->playText = text;
    StartFill(std::move(fill));
}

wxTreeItemId CLocalViewTree::AppendNamedItem(wxTreeItemId parent, const CString& name, int image)
{
    const wxString text = ToWx(name);
    CDiskNameData* data = FromWx(text) == name ? nullptr : new CDiskNameData(name);
    return AppendItem(parent, text, image, image, data);
}

CString CLocalViewTree::ItemName(wxTreeItemId item) const
{
    if (const auto* data = dynamic_cast<const CDiskNameData*>(GetItemData(item)))
        return data->Name();
    return FromWx(GetItemText(item));
}

bool CLocalViewTree::IsFolder(const CString& path)
{
    return ::IsFolder(path);
}

void CLocalViewTree::AddFolderMedia(wxTreeItemId parent, const CString& folder)
{
    // An empty path names no folder (with "/" added it would be the file
    // system's root).
    if (folder.IsEmpty())
        return;
    const CString base = WithSlash(folder);
    for (const SFolderEntry& entry : ListFolder(base)) {
        // Plain files only: sub-folders are not entered, and a link counts
        // when it leads to a regular file.
        if (entry.isFolder || !IsRegularFile(entry.path))
            continue;
        const int kind = theApp.GetMediaKind(entry.name);
        if (!IsPlayableKind(kind))
            continue;
        theApp.m_arrPlayList.Add(base + entry.name);
        if (parent.IsOk())
            AppendNamedItem(parent, entry.name, 2 + kind);
    }
}

void CLocalViewTree::ShowExpanderIfFilled(wxTreeItemId item, const CString& folder)
{
    if (folder.IsEmpty() || !item.IsOk())
        return;
    CFolderReader reader(WithSlash(folder));
    std::vector<SFolderItem> items;
    for (bool more = true; more;) {
        items.clear();
        more = reader.ReadSome(kReadBatch, items);
        for (const SFolderItem& entry : items) {
            if (entry.isFolder || IsPlayableKind(theApp.GetMediaKind(entry.name))) {
                SetItemHasChildren(item, true);
                return;
            }
        }
    }
}

void CLocalViewTree::LoadFolderLevel(const CString& folder, wxTreeItemId parent)
{
    if (folder.IsEmpty() || !parent.IsOk())
        return;
    auto fill = std::make_unique<SFolderFill>();
    fill->parent = parent;
    fill->folder = WithSlash(folder);
    StartFill(std::move(fill));
}

void CLocalViewTree::LoadFolderTree(const CString& folder, wxTreeItemId parent)
{
    LoadFolder(folder, parent, true);
}

void CLocalViewTree::LoadFolder(const CString& folder, wxTreeItemId parent, bool recursive)
{
    if (folder.IsEmpty() || !parent.IsOk())
        return;
    for (const SFolderEntry& entry : ListFolder(WithSlash(folder))) {
        if (entry.isFolder) {
            const wxTreeItemId item = AppendNamedItem(parent, entry.name, kImageFolder);
            if (recursive && !entry.isSymlink)
                LoadFolder(entry.path, item, true);
            continue;
        }
        if (!IsRegularFile(entry.path))
            continue;
        const int kind = theApp.GetMediaKind(entry.name);
        if (IsPlayableKind(kind))
            AppendNamedItem(parent, entry.name, 2 + kind);
    }
}
