#include "online/core/filesha1.h"

#include "online/core/sha1.h"
#include "platform/file.h"

CString CFileSha1::GetFileSha1(const CString& mediaPath, const CString& /*scratch1*/, const CString& /*scratch2*/)
{
    CFile file;
    if (!file.Open(mediaPath, CFile::modeRead | CFile::typeBinary))
        return CString();
    char head[kHeadBytes];
    // A file shorter than the head is hashed whole.
    const unsigned length = file.Read(head, kHeadBytes);
    file.Close();
    return CString(CSha1::HexOf(std::string_view(head, length)));
}
