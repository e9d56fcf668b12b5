// A folder read entry by entry, a bounded number at a time: a caller can stop
// at the first entry it looks for, or spread a folder of hundreds of
// thousands of entries over several turns of the event loop. Entries come in
// the folder's own order (unsorted); names and paths are program text as
// ListFolder gives them.
#pragma once

#include <string>
#include <vector>

#include "platform/cstring.h"

struct SFolderItem {
    std::string fsName;       // the name's bytes on the disk (their order is the listing's)
    CString name;
    CString path;             // folder + name
    bool isFolder = false;    // a folder, or a link to one
    bool isRegular = false;   // a regular file, or a link to one
};

class CFolderReader {
public:
    explicit CFolderReader(const CString& folder);
    ~CFolderReader();
    CFolderReader(const CFolderReader&) = delete;
    CFolderReader& operator=(const CFolderReader&) = delete;

    // Appends up to `count` entries ("." and ".." left out) to `items`;
    // false once the folder has been read to its end (or could not be opened).
    bool ReadSome(int count, std::vector<SFolderItem>& items);

private:
    struct SImpl;
    SImpl* m_impl;
};
