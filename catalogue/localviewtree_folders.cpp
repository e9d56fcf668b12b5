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

} // namespace

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
            AppendItem(parent, ToWx(entry.name), 2 + kind, 2 + kind);
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
            const wxTreeItemId item = AppendItem(parent, ToWx(entry.name), kImageFolder, kImageFolder);
            if (recursive && !entry.isSymlink)
                LoadFolder(entry.path, item, true);
            continue;
        }
        if (!IsRegularFile(entry.path))
            continue;
        const int kind = theApp.GetMediaKind(entry.name);
        if (IsPlayableKind(kind))
            AppendItem(parent, ToWx(entry.name), 2 + kind, 2 + kind);
    }
}
