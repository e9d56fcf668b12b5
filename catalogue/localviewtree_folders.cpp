// The local media tree's folder loaders: media files of one folder for the
// current play list, and folder items with their media for playlist folders.
#include "catalogue/localviewtree.h"

#include "platform/file.h"
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

} // namespace

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
    for (const SFolderEntry& entry : ListFolder(WithSlash(folder))) {
        if (entry.isFolder || IsPlayableKind(theApp.GetMediaKind(entry.name))) {
            SetItemHasChildren(item, true);
            return;
        }
    }
}

void CLocalViewTree::LoadFolderLevel(const CString& folder, wxTreeItemId parent)
{
    LoadFolder(folder, parent, false);
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
