// The key of a media file in the online subtitle service and the subtitle
// store: the SHA-1 of the file's first 1000 bytes.
#pragma once

#include "platform/cstring.h"

class CFileSha1 {
public:
    // Number of leading bytes of the media file that the digest covers.
    static constexpr unsigned kHeadBytes = 1000;

    // 40 lower-case hexadecimal digits, or "" when the media file is missing
    // or cannot be read. The digest is computed in memory; files left at the
    // two scratch paths are deleted.
    CString GetFileSha1(const CString& mediaPath, const CString& scratch1, const CString& scratch2);
};
