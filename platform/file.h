// Files and folders. Every path is program text (GB18030); the layer converts
// it to the UTF-8 that the file system holds. Existence tests use stat, never
// wildcards, and listings are sorted (directory order on Linux is arbitrary).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cstring.h"

std::string ToFsPath(const CString& path);     // program text -> UTF-8 path
CString FromFsPath(const std::string& path);   // UTF-8 path -> program text

bool FileExists(const CString& path);          // any kind of entry (stat)
bool IsRegularFile(const CString& path);
bool IsFolder(const CString& path);
int64_t GetFileSize(const CString& path);      // -1 when missing
bool CreateFolders(const CString& path);       // like mkdir -p; true when it exists afterwards
// Whether a new file can be made in a folder, found by making one and
// removing it: permission bits, a read-only file system and root all give
// their real answer, which no mode test does.
bool CanCreateFilesIn(const CString& folder);
bool DeleteFile(const CString& path);
[[nodiscard]] bool MoveFile(const CString& from, const CString& to);   // rename, replacing the target
[[nodiscard]] bool CopyFile(const CString& from, const CString& to);
enum class EFileReadResult {
    Read,         // bytes hold the whole file
    Unreadable,   // missing, no permission, or not a regular file
    TooLarge,     // a regular file of more than maxBytes bytes
};

// The one rule for opening a file that the learner or another program can
// put in place (a configuration file, a lesson, a page, a download): only a
// regular file, a symbolic link to one included, is opened; the open itself
// never waits (a FIFO would otherwise block until a writer comes, for good);
// type and size are taken from the opened descriptor, so nothing can be
// swapped in between a test and the read; and a file of more than maxBytes
// bytes is refused. Returns the descriptor (in blocking mode again, for the
// caller to close) or -1 with the reason in result.
int OpenReplaceableFile(const CString& path, int64_t maxBytes, EFileReadResult& result);
// Reads a file whole under that rule: a file larger than maxBytes (also one
// that grows past it while being read) is refused. bytes are empty unless
// Read. Every reader of a whole file gives a bound that no file it expects
// reaches, and says so to the learner when it is passed.
EFileReadResult ReadRegularFile(const CString& path, std::string& bytes, int64_t maxBytes);

// Writes a temporary file beside the target and renames it over the target,
// so a failure never leaves a half-written file. An existing target that the
// user cannot write (made read-only) is kept: the call returns false without
// touching it, because the rename would otherwise replace it regardless.
[[nodiscard]] bool WriteFileAtomically(const CString& path, std::string_view bytes);
// Removes the temporary files that WriteFileAtomically (or CopyFile) left
// beside the target when the program was killed during a write: the
// target's name plus ".tmp-" and six characters. Those changed within the
// last minute are kept, as another copy of the program may be writing them.
// Returns how many were removed.
int RemoveLeftoverTemporaryFiles(const CString& target);

struct SFolderEntry {
    CString name;      // file name only
    CString path;      // folder + name
    bool isFolder = false;
    bool isSymlink = false;
};
// The entries of a folder (no "." and ".."), sorted by the bytes of the names
// on disk. Symbolic links are reported as links, with isFolder telling what
// they point to.
std::vector<SFolderEntry> ListFolder(const CString& folder);
// Every regular file below a folder (links to regular files included), depth
// first in name order, without entering symbolically linked folders.
std::vector<CString> ListFilesRecursive(const CString& folder);

// The program folder: the folder of the running executable, with a trailing "/".
CString GetProgramFolder();

// A file opened for reading or writing, like the framework's CFile.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x10000,
        modeCreate = 0x1000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = SEEK_SET, current = SEEK_CUR, end = SEEK_END };

    CFile() = default;
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE (never an exception) when the file cannot be opened or is not a
    // regular file (a folder, a FIFO, a device); the open never waits.
    // modeCreate truncates unless modeNoTruncate is given; modeWrite alone
    // opens an existing file without truncating it.
    virtual BOOL Open(const CString& path, unsigned flags);
    // Flushes and closes; false when buffered bytes could not be written
    // (a full disk shows here first) or an earlier write of this file failed.
    // A file opened only for reading may be left to the destructor.
    [[nodiscard]] virtual bool Close();
    bool IsOpen() const { return m_file != nullptr; }
    unsigned Read(void* buffer, unsigned count);
    // Whether a read or write of this file has failed (not the end of it).
    bool HasError() const;
    // False when not all bytes could be written.
    [[nodiscard]] bool Write(const void* buffer, unsigned count);
    int64_t Seek(int64_t offset, SeekPosition from);
    int64_t GetLength() const;   // includes bytes not yet flushed
    int64_t GetPosition() const;
    const CString& GetFilePath() const { return m_path; }
    [[nodiscard]] bool Flush();

protected:
    FILE* m_file = nullptr;
    CString m_path;
    unsigned m_flags = 0;
};

// Line-oriented text file. A line read keeps no "\r" or "\n"; in text mode
// (typeText) every "\n" written becomes "\r\n", as the stored files hold.
class CStdioFile : public CFile {
public:
    // FALSE at the end of the file when nothing was read; a last line
    // without "\n" is still returned.
    BOOL ReadString(CString& line);
    [[nodiscard]] bool WriteString(const CString& text);
};

// Lists the entries of a folder that match a pattern, in name order. Only a
// last part that starts with "*" is a pattern: "folder/*.*" (every entry),
// "folder/*.data" (fnmatch on the name). Any other path names one entry,
// looked up with stat: "a*.mp4" is that exact name and never matches "ab.mp4".
// Usage: BOOL more = ff.FindFile(p); while (more) { more = ff.FindNextFile(); ... }
class CFileFind {
public:
    BOOL FindFile(const CString& pattern = "*.*");
    BOOL FindNextFile();   // TRUE while more entries follow the current one
    void Close();
    CString GetFileName() const;
    CString GetFilePath() const;
    BOOL IsDirectory() const;
    BOOL IsDots() const { return FALSE; }   // "." and ".." are never listed

private:
    std::vector<SFolderEntry> m_entries;
    int m_next = 0;
    int m_current = -1;
};
