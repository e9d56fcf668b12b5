#include "platform/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <limits>
#include <set>
#include <utility>

#include "platform/codepage.h"

namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Well-formed UTF-8: no stray continuation byte, no cut-off sequence, no
// overlong form, surrogate or code point past U+10FFFF.
bool IsUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return true;
}

bool EntryExists(const std::string& fsPath)
{
    struct stat st;
    return ::lstat(fsPath.c_str(), &st) == 0;
}

// One part of a path in the program's text as the file system spells it:
// its UTF-8 form when the text converts without loss, else its bytes.
std::string FsPart(std::string_view part, bool& lossless)
{
    std::string utf8 = AnsiToUtf8Bytes(part);
    lossless = Utf8BytesToAnsi(utf8).view() == part;
    return lossless ? utf8 : std::string(part);
}

} // namespace

// Names on the disk are normally UTF-8 and become the program's text by
// conversion. A name that is not UTF-8 (copied in GB18030 from an old Chinese
// system, or with a stray byte) keeps its bytes in the program's text, where
// a GB18030 name reads as the Chinese it is. Going back, a part of a path
// that does not exist in its UTF-8 form is taken with its bytes as they are
// when that names an entry.
std::string ToFsPath(const CString& path)
{
    const std::string_view text = path.view();
    if (IsAscii(text))
        return std::string(text);
    std::string utf8 = AnsiToUtf8Bytes(text);
    if (Utf8BytesToAnsi(utf8).view() == text && EntryExists(utf8))
        return utf8;
    // Part by part: each part in the form that exists, while the parts before it exist.
    std::string fs;
    bool found = true;
    for (size_t from = 0; from <= text.size();) {
        const size_t slash = std::min(text.find('/', from), text.size());
        const std::string_view part = text.substr(from, slash - from);
        bool lossless = false;
        std::string spelled = FsPart(part, lossless);
        if (found && !IsAscii(part) && !(lossless && EntryExists(fs + spelled))) {
            const std::string raw(part);
            if (EntryExists(fs + raw))
                spelled = raw;
            else
                found = false;
        }
        fs += spelled;
        if (slash < text.size())
            fs += '/';
        from = slash + 1;
    }
    return fs;
}

CString FromFsPath(const std::string& path)
{
    if (IsUtf8(path))
        return Utf8BytesToAnsi(path);
    // Part by part: UTF-8 parts are converted, the others keep their bytes.
    CString text;
    const std::string_view view = path;
    for (size_t from = 0; from <= view.size();) {
        const size_t slash = std::min(view.find('/', from), view.size());
        const std::string_view part = view.substr(from, slash - from);
        text += IsUtf8(part) ? Utf8BytesToAnsi(part) : CString(part);
        if (slash < view.size())
            text += "/";
        from = slash + 1;
    }
    return text;
}

namespace {

bool StatPath(const CString& path, struct stat& st) { return !path.IsEmpty() && ::stat(ToFsPath(path).c_str(), &st) == 0; }

// Opens without waiting and keeps the descriptor only when it is a regular
// file. O_NONBLOCK changes nothing for a regular file once it is open; it is
// cleared again so that later reads and writes behave as usual.
int OpenWithoutWaiting(const std::string& fsPath, int flags, mode_t mode, struct stat& st)
{
    const int fd = ::open(fsPath.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = ENXIO;
        return -1;
    }
    if (!(flags & O_NONBLOCK)) {
        const int status = ::fcntl(fd, F_GETFL);
        if (status >= 0)
            ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    return fd;
}

// Writes all bytes to a descriptor, going on after short writes and signals.
bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The process's file-creation mask. umask() cannot be read without setting it
// (which would race with other threads), so it is taken from /proc.
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

// A temporary file beside a target: created with mkstemp, renamed over the
// target by Commit, removed again when Commit was not reached.
class CTempBeside {
public:
    explicit CTempBeside(const std::string& target) : m_target(target), m_temp(target + ".tmp-XXXXXX")
    {
        m_fd = ::mkostemp(m_temp.data(), O_CLOEXEC);
        if (m_fd < 0)
            return;
        m_created = true;
        // mkstemp creates the file 0600; give it the mode the target has, or
        // the mode a newly created file would get.
        struct stat st;
        const mode_t mode = ::stat(m_target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
        ::fchmod(m_fd, mode);
    }
    ~CTempBeside()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_created && !m_committed)
            ::unlink(m_temp.c_str());
    }
    CTempBeside(const CTempBeside&) = delete;
    CTempBeside& operator=(const CTempBeside&) = delete;

    int fd() const { return m_fd; }

    bool Commit()
    {
        if (m_fd < 0)
            return false;
        const bool synced = ::fsync(m_fd) == 0;
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        if (!synced || !closed || ::rename(m_temp.c_str(), m_target.c_str()) != 0)
            return false;
        m_committed = true;
        SyncFolder();
        return true;
    }

private:
    // Makes the rename itself durable (best effort).
    void SyncFolder() const
    {
        const size_t slash = m_target.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : m_target.substr(0, slash));
        const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            ::fsync(dfd);
            ::close(dfd);
        }
    }

    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    bool m_created = false;
    bool m_committed = false;
};

std::string JoinFsPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

struct SFsEntry {
    std::string name;   // UTF-8, as on disk
    bool isSymlink = false;
    bool isFolder = false;    // what the entry (or the link's target) is
    bool isRegular = false;
};

// The entries of a folder sorted by their on-disk bytes.
std::vector<SFsEntry> ReadFolder(const std::string& folder)
{
    std::vector<SFsEntry> entries;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return entries;
    while (const dirent* d = ::readdir(dir)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..")
            continue;
        SFsEntry e;
        // The kind the folder gives needs no look-up; links and file systems
        // that give none are looked up.
        if (d->d_type == DT_REG || d->d_type == DT_DIR) {
            e.name = name;
            e.isFolder = d->d_type == DT_DIR;
            e.isRegular = d->d_type == DT_REG;
            entries.push_back(std::move(e));
            continue;
        }
        const std::string path = JoinFsPath(folder, name);
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            continue;   // removed while listing
        e.name = name;
        e.isSymlink = S_ISLNK(st.st_mode);
        if (e.isSymlink && ::stat(path.c_str(), &st) != 0)
            st.st_mode = 0;   // dangling link: neither file nor folder
        e.isFolder = S_ISDIR(st.st_mode);
        e.isRegular = S_ISREG(st.st_mode);
        entries.push_back(std::move(e));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const SFsEntry& a, const SFsEntry& b) { return a.name < b.name; });
    return entries;
}

void CollectFiles(const std::string& folder, std::set<std::pair<dev_t, ino_t>>& visited, std::vector<CString>& out)
{
    struct stat st;
    if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0 || !visited.insert({st.st_dev, st.st_ino}).second)
        return;   // gone, or already scanned (a bind mount can loop back)
    for (const SFsEntry& e : ReadFolder(folder)) {
        const std::string path = JoinFsPath(folder, e.name);
        if (e.isFolder) {
            if (!e.isSymlink)
                CollectFiles(path, visited, out);
        } else if (e.isRegular) {
            out.push_back(FromFsPath(path));
        }
    }
}

} // namespace

bool FileExists(const CString& path)
{
    struct stat st;
    return StatPath(path, st);
}

bool IsRegularFile(const CString& path)
{
    struct stat st;
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool IsFolder(const CString& path)
{
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

int64_t GetFileSize(const CString& path)
{
    struct stat st;
    return StatPath(path, st) ? static_cast<int64_t>(st.st_size) : -1;
}

bool CreateFolders(const CString& path)
{
    const std::string fs = ToFsPath(path);
    if (fs.empty())
        return false;
    // Create each level in turn; a level that exists already is fine.
    for (size_t pos = fs.find('/', 1); pos != std::string::npos; pos = fs.find('/', pos + 1)) {
        const std::string part = fs.substr(0, pos);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    if (::mkdir(fs.c_str(), 0777) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    return ::stat(fs.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CanCreateFilesIn(const CString& folder)
{
    if (folder.IsEmpty())
        return false;
    std::string probe = JoinFsPath(ToFsPath(folder), ".write-probe-XXXXXX");
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool DeleteFile(const CString& path) { return !path.IsEmpty() && ::unlink(ToFsPath(path).c_str()) == 0; }

bool MoveFile(const CString& from, const CString& to)
{
    if (from.IsEmpty() || to.IsEmpty())
        return false;
    if (::rename(ToFsPath(from).c_str(), ToFsPath(to).c_str()) == 0)
        return true;
    // Across file systems rename cannot work: copy, then remove the original.
    if (errno != EXDEV || !IsRegularFile(from))
        return false;
    return CopyFile(from, to) && DeleteFile(from);
}

bool CopyFile(const CString& from, const CString& to)
{
    if (from.IsEmpty() || to.IsEmpty())
        return false;
    struct stat st;
    const int in = OpenWithoutWaiting(ToFsPath(from), O_RDONLY, 0, st);
    if (in < 0)
        return false;
    CTempBeside temp(ToFsPath(to));
    bool ok = temp.fd() >= 0;
    if (ok)
        ::fchmod(temp.fd(), st.st_mode & 07777);
    char buffer[64 * 1024];
    while (ok) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = WriteAll(temp.fd(), buffer, static_cast<size_t>(n));
    }
    ::close(in);
    return ok && temp.Commit();
}

int OpenReplaceableFile(const CString& path, int64_t maxBytes, EFileReadResult& result)
{
    result = EFileReadResult::Unreadable;
    if (path.IsEmpty())
        return -1;
    struct stat st;
    const int fd = OpenWithoutWaiting(ToFsPath(path), O_RDONLY, 0, st);
    if (fd < 0)
        return -1;
    if (st.st_size > maxBytes) {
        ::close(fd);
        result = EFileReadResult::TooLarge;
        return -1;
    }
    result = EFileReadResult::Read;
    return fd;
}

EFileReadResult ReadRegularFile(const CString& path, std::string& bytes, int64_t maxBytes)
{
    bytes.clear();
    EFileReadResult result = EFileReadResult::Unreadable;
    const int fd = OpenReplaceableFile(path, maxBytes, result);
    if (fd < 0)
        return result;
    struct stat st;
    if (::fstat(fd, &st) == 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[64 * 1024];
    while (result == EFileReadResult::Read) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            result = EFileReadResult::Unreadable;
        if (n <= 0)
            break;
        if (static_cast<int64_t>(bytes.size()) + n > maxBytes)
            result = EFileReadResult::TooLarge;   // grew while being read
        else
            bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (result != EFileReadResult::Read)
        std::string().swap(bytes);
    return result;
}

namespace {

// Whether an existing file may be replaced: the user must be able to write it.
// The process's effective ids decide, as for open(O_WRONLY). Root passes
// access() whatever the mode bits say, so for root a file without any write
// bit (chmod a-w, a file the learner made read-only) counts as not writable.
bool MayReplace(const std::string& target)
{
    struct stat st;
    if (::stat(target.c_str(), &st) != 0)
        return errno == ENOENT;   // nothing to keep: the file is created
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

} // namespace

bool WriteFileAtomically(const CString& path, std::string_view bytes)
{
    if (path.IsEmpty())
        return false;
    const std::string target = ToFsPath(path);
    if (!MayReplace(target))
        return false;
    CTempBeside temp(target);
    return temp.fd() >= 0 && WriteAll(temp.fd(), bytes.data(), bytes.size()) && temp.Commit();
}

int RemoveLeftoverTemporaryFiles(const CString& target)
{
    const std::string fsTarget = ToFsPath(target);
    const size_t slash = fsTarget.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : fsTarget.substr(0, slash + 1);
    const std::string prefix = (slash == std::string::npos ? fsTarget : fsTarget.substr(slash + 1)) + ".tmp-";
    constexpr size_t kRandomPart = 6;   // the XXXXXX of mkstemp
    const time_t lastMinute = ::time(nullptr) - 60;
    int removed = 0;
    for (const SFsEntry& e : ReadFolder(folder)) {
        if (e.isFolder || e.name.size() != prefix.size() + kRandomPart || e.name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string path = JoinFsPath(folder, e.name);
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < lastMinute &&
            ::unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::vector<SFolderEntry> ListFolder(const CString& folder)
{
    const std::string fsFolder = ToFsPath(folder);
    std::vector<SFolderEntry> entries;
    for (const SFsEntry& e : ReadFolder(fsFolder)) {
        SFolderEntry entry;
        // The folder as it was given: its parts keep the bytes they have.
        entry.name = FromFsPath(e.name);
        entry.path = folder.IsEmpty() ? entry.name : (folder.Right(1) == "/" ? folder : folder + "/") + entry.name;
        entry.isFolder = e.isFolder;
        entry.isSymlink = e.isSymlink;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<CString> ListFilesRecursive(const CString& folder)
{
    std::vector<CString> files;
    std::set<std::pair<dev_t, ino_t>> visited;
    CollectFiles(ToFsPath(folder), visited, files);
    return files;
}

CString GetProgramFolder()
{
    std::string exe(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
        if (n < 0)
            return CString();
        if (static_cast<size_t>(n) < exe.size()) {
            exe.resize(static_cast<size_t>(n));
            break;
        }
        exe.resize(exe.size() * 2);   // may have been cut off
    }
    const size_t slash = exe.rfind('/');
    return FromFsPath(slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1));
}

// ---- CFile ----

CFile::~CFile()
{
    if (m_file)
        std::fclose(m_file);
}

BOOL CFile::Open(const CString& path, unsigned flags)
{
    (void)Close();   // a file still open here was the caller's to check
    // open(2) gives the exact combinations (write without truncating, create
    // without truncating) that fopen's mode letters cannot express.
    int oflags = 0;
    const char* mode = "rb";
    if (flags & modeReadWrite) {
        oflags |= O_RDWR;
        mode = "r+b";
    } else if (flags & modeWrite) {
        oflags |= O_WRONLY;
        mode = "wb";   // fdopen with "w" does not truncate; O_TRUNC decides
    } else {
        oflags |= O_RDONLY;
    }
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    if (path.IsEmpty())
        return FALSE;
    // Only a regular file is opened, and the open never waits: a FIFO put
    // in a file's place would block it until a writer (or reader) comes.
    struct stat st;
    const int fd = OpenWithoutWaiting(ToFsPath(path), oflags, 0666, st);
    if (fd < 0)
        return FALSE;
    m_file = ::fdopen(fd, mode);
    if (!m_file) {
        ::close(fd);
        return FALSE;
    }
    m_path = path;
    m_flags = flags;
    return TRUE;
}

bool CFile::Close()
{
    bool written = true;
    if (m_file) {
        written = std::ferror(m_file) == 0;
        written = std::fclose(m_file) == 0 && written;
    }
    m_file = nullptr;
    m_path.Empty();
    m_flags = 0;
    return written;
}

unsigned CFile::Read(void* buffer, unsigned count)
{
    if (!m_file || count == 0)
        return 0;
    return static_cast<unsigned>(std::fread(buffer, 1, count, m_file));
}

bool CFile::HasError() const
{
    return m_file != nullptr && std::ferror(m_file) != 0;
}

bool CFile::Write(const void* buffer, unsigned count)
{
    if (!m_file)
        return false;
    return std::fwrite(buffer, 1, count, m_file) == count;
}

int64_t CFile::Seek(int64_t offset, SeekPosition from)
{
    if (!m_file || ::fseeko(m_file, static_cast<off_t>(offset), static_cast<int>(from)) != 0)
        return -1;
    return static_cast<int64_t>(::ftello(m_file));
}

int64_t CFile::GetLength() const
{
    if (!m_file)
        return -1;
    // Bytes still in the stream's buffer count too.
    if (m_flags & (modeWrite | modeReadWrite))
        std::fflush(m_file);
    struct stat st;
    if (::fstat(::fileno(m_file), &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

int64_t CFile::GetPosition() const { return m_file ? static_cast<int64_t>(::ftello(m_file)) : -1; }

bool CFile::Flush() { return m_file && std::fflush(m_file) == 0; }

// ---- CStdioFile ----

BOOL CStdioFile::ReadString(CString& line)
{
    line.Empty();
    if (!m_file)
        return FALSE;
    char* buffer = nullptr;
    size_t capacity = 0;
    const ssize_t n = ::getline(&buffer, &capacity, m_file);
    if (n < 0) {
        std::free(buffer);
        return FALSE;
    }
    size_t length = static_cast<size_t>(n);
    if (length > 0 && buffer[length - 1] == '\n')
        --length;
    if (length > 0 && buffer[length - 1] == '\r')
        --length;
    line = CString(std::string(buffer, length));
    std::free(buffer);
    return TRUE;
}

bool CStdioFile::WriteString(const CString& text)
{
    if (!(m_flags & typeText))
        return Write(text.GetString(), static_cast<unsigned>(text.GetLength()));
    // "\n" (0x0A) is never part of a GB18030 character, so bytes can be mapped.
    std::string out;
    out.reserve(text.str().size() + 16);
    for (const char c : text.str()) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return Write(out.data(), static_cast<unsigned>(out.size()));
}

// ---- CFileFind ----

BOOL CFileFind::FindFile(const CString& pattern)
{
    Close();
    const int slash = pattern.ReverseFind('/');
    const CString folder = pattern.Left(slash + 1);
    const CString name = pattern.Mid(slash + 1);
    if (name.IsEmpty())
        return FALSE;

    if (name[0] != '*') {
        // An exact name: "*" or "?" inside it are ordinary characters.
        struct stat st;
        if (!StatPath(pattern, st))
            return FALSE;
        SFolderEntry entry;
        entry.name = name;
        entry.path = pattern;
        entry.isFolder = S_ISDIR(st.st_mode);
        struct stat lst;
        entry.isSymlink = ::lstat(ToFsPath(pattern).c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
        m_entries.push_back(std::move(entry));
        return TRUE;
    }

    // "*.*" is every entry, dotless names included; other names starting with
    // "*" match through fnmatch (on the UTF-8 names, whose multibyte
    // characters contain no ASCII bytes that fnmatch could take as syntax).
    const bool all = name == "*.*" || name == "*";
    const std::string fsPattern = ToFsPath(name);
    for (SFolderEntry& entry : ListFolder(folder)) {
        if (all || ::fnmatch(fsPattern.c_str(), ToFsPath(entry.name).c_str(), 0) == 0)
            m_entries.push_back(std::move(entry));
    }
    return m_entries.empty() ? FALSE : TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_next >= static_cast<int>(m_entries.size()))
        return FALSE;
    m_current = m_next++;
    return m_next < static_cast<int>(m_entries.size()) ? TRUE : FALSE;
}

void CFileFind::Close()
{
    m_entries.clear();
    m_next = 0;
    m_current = -1;
}

CString CFileFind::GetFileName() const
{
    return m_current >= 0 ? m_entries[static_cast<size_t>(m_current)].name : CString();
}

CString CFileFind::GetFilePath() const
{
    return m_current >= 0 ? m_entries[static_cast<size_t>(m_current)].path : CString();
}

BOOL CFileFind::IsDirectory() const
{
    return m_current >= 0 && m_entries[static_cast<size_t>(m_current)].isFolder ? TRUE : FALSE;
}
