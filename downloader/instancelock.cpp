#include "downloader/instancelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/file.h"

namespace {

// Replaces the file's content by "<pid>\n". A write that fails leaves the
// lock held: the downloader still serves the folder, the program just cannot
// see it and starts another, which finds the lock taken and ends.
void WritePid(int fd)
{
    const std::string text = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, text.data(), text.size(), 0);
    }
}

} // namespace

bool CInstanceLock::Acquire(const CString& path)
{
    Release();
    const int slash = path.ReverseFind('/');
    if (slash > 0)
        CreateFolders(path.Left(slash));
    const std::string fsPath = ToFsPath(path);
    // The holder removes the file when it ends. A lock taken on a file that
    // was removed meanwhile guards nothing, so it is taken again on the file
    // that the path names now.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(fsPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return false;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(fsPath.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino) {
            m_fd = fd;
            m_path = fsPath;
            WritePid(fd);
            return true;
        }
        ::close(fd);
    }
    return false;
}

void CInstanceLock::Release()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so no other process locks the old file.
    ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
}
