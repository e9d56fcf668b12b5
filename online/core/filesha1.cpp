#include "online/core/filesha1.h"

#include "online/core/sha1.h"
#include "platform/file.h"

namespace {

// The two work files keep what was hashed: the head, and the head with its
// padding. They are written for whoever looks, and their failure changes
// nothing: the digest comes from the bytes read.
void WriteWorkFiles(std::string_view head, const CString& headCopy, const CString& paddedCopy)
{
    if (!headCopy.IsEmpty())
        (void)WriteFileAtomically(headCopy, head);
    if (!paddedCopy.IsEmpty())
        (void)WriteFileAtomically(paddedCopy, CSha1::PaddedMessage(head));
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
    WriteWorkFiles(bytes, scratch1, scratch2);
    return CString(CSha1::HexOf(bytes));
}
