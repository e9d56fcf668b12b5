#include "online/core/filesha1.h"

#include "online/core/sha1.h"
#include "platform/file.h"

namespace {

// The digest is computed in memory; work files of an earlier version at the
// scratch paths are stale copies of some media's head and are removed.
void RemoveWorkFiles(const CString& headCopy, const CString& paddedCopy)
{
    for (const CString& path : {headCopy, paddedCopy})
        if (!path.IsEmpty() && IsRegularFile(path))
            (void)DeleteFile(path);
}

} // namespace

CString CFileSha1::GetFileSha1(const CString& mediaPath, const CString& scratch1, const CString& scratch2)
{
    CFile file;
    if (!IsRegularFile(mediaPath) || !file.Open(mediaPath, CFile::modeRead | CFile::typeBinary))
        return CString();
    char head[kHeadBytes];
    // A file shorter than the head is hashed whole; a read that fails gives
    // no digest rather than the digest of part of the head.
    const unsigned length = file.Read(head, kHeadBytes);
    const bool failed = file.HasError();
    (void)file.Close();   // read only: nothing to lose
    if (failed)
        return CString();
    const std::string_view bytes(head, length);
    RemoveWorkFiles(scratch1, scratch2);
    return CString(CSha1::HexOf(bytes));
}
