// One downloader per program folder: an exclusive lock on a file, held for
// the process's life. A second downloader finds it taken and ends at once.
// The file names the holder's pid, so the program finds the downloader of
// its own folder (and no other) to talk to or to stop.
#pragma once

#include <string>

#include "platform/cstring.h"

class CInstanceLock {
public:
    CInstanceLock() = default;
    ~CInstanceLock() { Release(); }
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // Creates the file (and its folder), locks it and writes this process's
    // pid into it; false when another process holds the lock or the file
    // cannot be made.
    bool Acquire(const CString& path);
    // Removes the file and gives the lock up.
    void Release();

private:
    int m_fd = -1;
    std::string m_path;
};
