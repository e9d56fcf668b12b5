// One downloader per program folder: an exclusive lock on a file, held for
// the process's life. A second downloader finds it taken and ends at once.
#pragma once

#include <string>

#include "platform/cstring.h"

class CInstanceLock {
public:
    CInstanceLock() = default;
    ~CInstanceLock() { Release(); }
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // Creates the file (and its folder) and locks it; false when another
    // process holds the lock or the file cannot be made.
    bool Acquire(const CString& path);
    // Removes the file and gives the lock up.
    void Release();

private:
    int m_fd = -1;
    std::string m_path;
};
