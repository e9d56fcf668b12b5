#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

// A UTF-8 literal as bytes (narrow literals are GB18030 in this program).
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// The names in a folder as they are on disk, sorted.
std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// The names CFileFind reports, walked the way the program walks them.
std::vector<std::string> FindAll(const CString& pattern, const CString& folder)
{
    std::vector<std::string> names;
    CFileFind ff;
    BOOL more = ff.FindFile(pattern);
    while (more) {
        more = ff.FindNextFile();
        EXPECT_EQ(ff.GetFilePath(), folder + ff.GetFileName());
        names.push_back(ff.GetFileName().str());
    }
    return names;
}

} // namespace

// ---- Atomic writes ----

TEST(WriteFileAtomicallyTest, ReplacesContentAndLeavesNoTemporaryFile)
{
    struct Case {
        const char* comment;
        std::optional<std::string> before;
        std::string bytes;
    };
    const Case cases[] = {
        {"new file", std::nullopt, "hello"},
        {"longer old content is not left behind", std::string(1000, 'o'), "short"},
        {"emptied", "old", ""},
        {"bytes kept exactly (NUL, CR LF)", "old", std::string("a\0b\r\nc", 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        TempFolder tmp;
        if (c.before) {
            tmp.write("store.data", *c.before);
        }
        EXPECT_TRUE(WriteFileAtomically(tmp.ansi() + "store.data", c.bytes));
        EXPECT_EQ(ReadBytes(tmp.path() + "store.data"), c.bytes);
        EXPECT_EQ(NamesIn(tmp.path()), std::vector<std::string>{"store.data"});
    }
}

TEST(WriteFileAtomicallyTest, NewFileFollowsUmaskAndReplacedFileKeepsItsMode)
{
    // The temporary file is created 0600; the result must not stay that way.
    TempFolder tmp;
    const mode_t old = ::umask(027);
    EXPECT_TRUE(WriteFileAtomically(tmp.ansi() + "new.data", "x"));
    ::umask(old);
    EXPECT_EQ(ModeOf(tmp.path() + "new.data"), 0640u);

    tmp.write("shared.data", "old");
    ::chmod((tmp.path() + "shared.data").c_str(), 0604);
    EXPECT_TRUE(WriteFileAtomically(tmp.ansi() + "shared.data", "new"));
    EXPECT_EQ(ModeOf(tmp.path() + "shared.data"), 0604u);
}

TEST(WriteFileAtomicallyTest, FailureKeepsOldFileAndLeavesNoTemporaryFile)
{
    enum Setup { kNoFolder, kReadOnlyFolder, kTargetIsFolder };
    struct Case {
        const char* comment;
        Setup setup;
    };
    const Case cases[] = {
        {"folder missing", kNoFolder},
        {"folder read-only", kReadOnlyFolder},
        {"rename over a folder fails after the temporary file was written", kTargetIsFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        // Root writes into read-only folders; that row says nothing then.
        if (c.setup == kReadOnlyFolder && ::geteuid() == 0)
            continue;
        TempFolder tmp;
        const std::string folder = tmp.path() + "sub/";
        if (c.setup == kTargetIsFolder)
            fs::create_directories(folder + "store.data");
        if (c.setup == kReadOnlyFolder) {
            tmp.write("sub/store.data", "old");
            ::chmod(folder.c_str(), 0555);
        }

        EXPECT_FALSE(WriteFileAtomically(Utf8BytesToAnsi(folder) + "store.data", "new"));
        if (c.setup == kNoFolder) {
            EXPECT_FALSE(fs::exists(folder));
            continue;
        }
        EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"store.data"});
        if (c.setup == kTargetIsFolder)
            EXPECT_TRUE(fs::is_directory(folder + "store.data"));
        else
            EXPECT_EQ(ReadBytes(folder + "store.data"), "old");
    }
}

// The rename would replace any target; one the learner made read-only must
// stay as it is, while a writable or missing target is written as always.
TEST(WriteFileAtomicallyTest, KeepsReadOnlyTargetAndWritesOthers)
{
    struct Case {
        const char* comment;
        bool exists;
        mode_t mode;
        bool written;
    };
    const Case cases[] = {
        {"writable target replaced", true, 0644, true},
        {"target writable by its owner only replaced", true, 0600, true},
        {"read-only target kept", true, 0444, false},
        {"target without any permission kept", true, 0000, false},
        {"missing target created", false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        TempFolder tmp;
        const std::string target = tmp.path() + "UI.data";
        if (c.exists) {
            tmp.write("UI.data", "old");
            ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
        }
        struct stat before {};
        ::stat(target.c_str(), &before);

        EXPECT_EQ(WriteFileAtomically(tmp.ansi() + "UI.data", "new"), c.written);
        EXPECT_EQ(NamesIn(tmp.path()), std::vector<std::string>{"UI.data"});   // no temporary file left
        if (c.written) {
            EXPECT_EQ(ReadBytes(target), "new");
            continue;
        }
        struct stat after {};
        ::stat(target.c_str(), &after);
        EXPECT_EQ(after.st_ino, before.st_ino);   // the same file, not a replacement
        EXPECT_EQ(ModeOf(target), c.mode);
        ::chmod(target.c_str(), 0644);
        EXPECT_EQ(ReadBytes(target), "old");
    }
}

// Only regular files are read: a FIFO would block open() until a writer
// comes, a device like /dev/zero never ends. Each read runs in a child with
// a time and memory limit so that such a fault fails the row instead of
// hanging the test program.
TEST(ReadRegularFileTest, ReadsOnlyRegularFilesUpToTheLimit)
{
    TempFolder tmp;
    const std::string dir = tmp.path();
    tmp.write("good.txt", "hello");
    ASSERT_EQ(::mkfifo((dir + "fifo.txt").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir + "zero.txt").c_str()), 0);
    ASSERT_EQ(::symlink((dir + "good.txt").c_str(), (dir + "link.txt").c_str()), 0);
    tmp.write("sparse.txt", "");
    ASSERT_EQ(::truncate((dir + "sparse.txt").c_str(), 65 * 1024 * 1024), 0);   // sparse: costs no disk
    constexpr int64_t kLimit = 64 * 1024 * 1024;

    struct Case {
        const char* name;
        int64_t limit;
        EFileReadResult expected;
        const char* bytes;
    };
    const Case cases[] = {
        {"good.txt", kLimit, EFileReadResult::Read, "hello"},
        {"link.txt", kLimit, EFileReadResult::Read, "hello"},        // a link to a regular file
        {"good.txt", 5, EFileReadResult::Read, "hello"},             // exactly at the limit
        {"good.txt", 4, EFileReadResult::TooLarge, ""},
        {"sparse.txt", kLimit, EFileReadResult::TooLarge, ""},
        {"fifo.txt", kLimit, EFileReadResult::Unreadable, ""},
        {"zero.txt", kLimit, EFileReadResult::Unreadable, ""},       // a link to a device
        {"missing.txt", kLimit, EFileReadResult::Unreadable, ""},
        {"", kLimit, EFileReadResult::Unreadable, ""},               // the folder itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " limit " + std::to_string(c.limit));
        const CString path = tmp.ansi() + c.name;
        const std::optional<int> code = testsupport::RunBoundedInChild(
            [&] {
                std::string bytes;
                const EFileReadResult result = ReadRegularFile(path, bytes, c.limit);
                return bytes == c.bytes ? static_cast<int>(result) : 100;
            },
            10.0, 2L * 1024 * 1024 * 1024);
        ASSERT_TRUE(code.has_value()) << "blocked, ran out of memory or crashed";
        EXPECT_EQ(*code, static_cast<int>(c.expected));
    }
}

// Every way the program opens a file that someone else can put in place
// keeps to one rule: only a regular file is opened, and the open never
// waits. A FIFO blocked CFile, CopyFile and SQLite in open() for good (a
// read-only open waits for a writer; a read-write SQLite open then waits in
// its first read), a folder or a device was taken as a file. Each open runs
// in a child with a time limit so that a blocking reader fails its row.
TEST(ReplaceableFileTest, EveryOpenerRefusesWhatIsNoRegularFileWithoutWaiting)
{
    TempFolder tmp;
    const std::string dir = tmp.path();
    tmp.write("plain.txt", "hello\n");
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(tmp.ansi() + "good.db", CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table t(a)"));
    }
    ASSERT_EQ(::mkfifo((dir + "fifo").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir((dir + "folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir + "device").c_str()), 0);

    // Each opener gives 1 when it took the file, 0 when it refused it.
    using Opener = std::function<int(const CString& path)>;
    const auto sqlite = [](CSqliteDb::OpenMode mode) {
        return [mode](const CString& path) {
            CSqliteDb db;
            SQueryResult result;
            return db.Open(path, mode) && db.Query("select count(*) from sqlite_master", {}, result) ? 1 : 0;
        };
    };
    struct Reader {
        const char* name;
        const char* good;   // a file the opener takes
        Opener open;
    };
    const Reader readers[] = {
        {"ReadRegularFile", "plain.txt",
         [](const CString& path) {
             std::string bytes;
             return ReadRegularFile(path, bytes, 1 << 20) == EFileReadResult::Read ? 1 : 0;
         }},
        {"CFile read", "plain.txt",
         [](const CString& path) {
             CFile file;
             return file.Open(path, CFile::modeRead) ? 1 : 0;
         }},
        {"CFile write", "plain.txt",
         [](const CString& path) {
             CFile file;
             return file.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate) ? 1 : 0;
         }},
        {"CStdioFile", "plain.txt",
         [](const CString& path) {
             CStdioFile file;
             CString line;
             return file.Open(path, CFile::modeRead | CFile::typeText) && file.ReadString(line) ? 1 : 0;
         }},
        {"CopyFile", "plain.txt",
         [&tmp](const CString& path) { return CopyFile(path, tmp.ansi() + "copy") ? 1 : 0; }},
        {"SQLite read-only", "good.db", sqlite(CSqliteDb::ReadOnly)},
        {"SQLite limited", "good.db", sqlite(CSqliteDb::ReadOnlyLimited)},
        {"SQLite read-write", "good.db", sqlite(CSqliteDb::ReadWrite)},
    };
    for (const Reader& reader : readers) {
        for (const char* name : {reader.good, "fifo", "folder", "device"}) {
            SCOPED_TRACE(std::string(reader.name) + " on " + name);
            const CString path = tmp.ansi() + name;
            const std::optional<int> taken =
                testsupport::RunBoundedInChild([&] { return reader.open(path); }, 10.0, 1L << 30);
            ASSERT_TRUE(taken.has_value()) << "blocked or crashed";
            EXPECT_EQ(*taken, name == reader.good ? 1 : 0);
        }
    }
}

// ---- Files and folders ----

TEST(FileTest, CreateFoldersLikeMkdirP)
{
    TempFolder tmp;
    tmp.write("file", "x");
    struct Case {
        const char* comment;
        std::string relative;
        bool expected;
    };
    const Case cases[] = {
        {"three new levels", "a/b/c", true},
        {"already there", "a/b", true},
        {"trailing slash", "d/e/", true},
        {"below a file", "file/sub", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(CreateFolders(tmp.ansi() + c.relative.c_str()), c.expected);
        EXPECT_EQ(fs::is_directory(tmp.path() + c.relative), c.expected);
    }
    EXPECT_FALSE(CreateFolders(""));
}

// The probe leaves nothing behind, and answers for root too: /proc refuses
// new files whatever the caller's rights.
TEST(FileTest, CanCreateFilesInTriesARealFile)
{
    TempFolder tmp;
    tmp.write("file", "x");
    EXPECT_TRUE(CanCreateFilesIn(tmp.ansi()));
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 1);
    EXPECT_FALSE(CanCreateFilesIn("/proc"));
    EXPECT_FALSE(CanCreateFilesIn(tmp.ansi() + "missing"));
    EXPECT_FALSE(CanCreateFilesIn(tmp.ansi() + "file"));
    EXPECT_FALSE(CanCreateFilesIn(""));
}

TEST(FileTest, CopyMoveDeleteAndSize)
{
    TempFolder tmp;
    const CString dir = tmp.ansi();
    tmp.write("a", "12345");
    tmp.write("b", "old old old");

    EXPECT_TRUE(CopyFile(dir + "a", dir + "b"));   // replaces
    EXPECT_EQ(ReadBytes(tmp.path() + "b"), "12345");
    EXPECT_FALSE(CopyFile(dir + "missing", dir + "c"));
    EXPECT_FALSE(fs::exists(tmp.path() + "c"));

    tmp.write("c", "moved");
    EXPECT_TRUE(MoveFile(dir + "c", dir + "a"));   // replaces
    EXPECT_EQ(ReadBytes(tmp.path() + "a"), "moved");
    EXPECT_FALSE(fs::exists(tmp.path() + "c"));

    std::string bytes;
    EXPECT_EQ(ReadRegularFile(dir + "a", bytes, 5), EFileReadResult::Read);
    EXPECT_EQ(bytes, "moved");

    EXPECT_EQ(GetFileSize(dir + "a"), 5);
    EXPECT_EQ(GetFileSize(dir + "missing"), -1);
    EXPECT_TRUE(DeleteFile(dir + "a"));
    EXPECT_FALSE(DeleteFile(dir + "a"));
    EXPECT_EQ(NamesIn(tmp.path()), (std::vector<std::string>{"b"}));
}

TEST(FileTest, ChinesePathIsUtf8OnDisk)
{
    // The literal is GB18030 program text; on disk the name must be UTF-8.
    ASSERT_NE(std::string("课程"), U8(u8"课程"));
    TempFolder tmp;
    const CString folder = tmp.ansi() + "课程/第一课";
    const CString file = folder + "/听力.data";

    EXPECT_TRUE(CreateFolders(folder));
    EXPECT_TRUE(WriteFileAtomically(file, "x"));
    EXPECT_EQ(ReadBytes(tmp.path() + U8(u8"课程/第一课/听力.data")), "x");
    EXPECT_TRUE(IsRegularFile(file));
    EXPECT_TRUE(IsFolder(folder));

    const std::vector<SFolderEntry> entries = ListFolder(folder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, CString("听力.data"));
    EXPECT_EQ(entries[0].path, file);
    EXPECT_EQ(ListFilesRecursive(tmp.ansi()), std::vector<CString>{file});

    CStdioFile in;
    ASSERT_TRUE(in.Open(file, CFile::modeRead));
    CString line;
    EXPECT_TRUE(in.ReadString(line));
    EXPECT_EQ(line, "x");
}

// Names that are not UTF-8 on the disk: in GB18030 (copied from an old
// Chinese system), with a stray byte, and a GB18030 file in a UTF-8 Chinese
// folder. Each is listed with its bytes kept, a GB18030 name reads as its
// Chinese, and the path listed opens the file.
TEST(FileTest, NamesThatAreNotUtf8KeepTheirBytesAndOpen)
{
    TempFolder tmp;
    struct Case {
        const char* why;
        std::string folderOnDisk;   // below tmp, "" or ending in "/"
        std::string nameOnDisk;
        CString folder;             // the program's text for the folder below tmp
        CString name;               // and for the name
    };
    const Case cases[] = {
        {"a GB18030 name", "", "\xD6\xD0\xCE\xC4.mp4", "", "中文.mp4"},
        {"a stray byte", "", "bad\xFF.mp4", "", CString("bad\xFF.mp4")},
        {"GB18030 inside a UTF-8 folder", U8(u8"课程/"), "\xCC\xFD\xC1\xA6.mp3", "课程/", "听力.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        fs::create_directories(tmp.path() + c.folderOnDisk);
        tmp.write(c.folderOnDisk + c.nameOnDisk, c.why);
        const CString folder = tmp.ansi() + c.folder;

        const std::vector<SFolderEntry> entries = ListFolder(folder);
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const SFolderEntry& e) { return e.name == c.name; });
        ASSERT_NE(found, entries.end());
        EXPECT_EQ(found->path, folder + c.name);
        EXPECT_EQ(ToFsPath(found->path), tmp.path() + c.folderOnDisk + c.nameOnDisk);
        EXPECT_EQ(FromFsPath(tmp.path() + c.folderOnDisk + c.nameOnDisk), found->path);
        EXPECT_TRUE(IsRegularFile(found->path));
        std::string bytes;
        EXPECT_EQ(ReadRegularFile(found->path, bytes, 1 << 20), EFileReadResult::Read);
        EXPECT_EQ(bytes, c.why);
    }
    // A new name is made in UTF-8, as ever.
    EXPECT_TRUE(WriteFileAtomically(tmp.ansi() + "课程/新.txt", "n"));
    EXPECT_EQ(ReadBytes(tmp.path() + U8(u8"课程/新.txt")), "n");
}

TEST(FileTest, ListFolderReportsLinksAndWhatTheyPointTo)
{
    TempFolder tmp;
    tmp.write("dir/inner", "");
    tmp.write("file", "");
    fs::create_directory_symlink("dir", tmp.path() + "link-dir");
    fs::create_symlink("file", tmp.path() + "link-file");
    fs::create_symlink("nowhere", tmp.path() + "dangling");

    struct Expected {
        const char* name;
        bool isFolder;
        bool isSymlink;
    };
    const Expected expected[] = {
        {"dangling", false, true}, {"dir", true, false}, {"file", false, false},
        {"link-dir", true, true},  {"link-file", false, true},
    };
    const std::vector<SFolderEntry> entries = ListFolder(tmp.ansi());
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(entries[i].name, expected[i].name);
        EXPECT_EQ(entries[i].path, tmp.ansi() + expected[i].name);
        EXPECT_EQ(entries[i].isFolder, expected[i].isFolder);
        EXPECT_EQ(entries[i].isSymlink, expected[i].isSymlink);
    }
}

TEST(FileTest, ListFilesRecursiveSkipsLinkedFoldersAndEndsOnALoop)
{
    TempFolder tmp;
    tmp.write("Z.txt", "");   // byte order: capitals before small letters
    tmp.write("a/x.txt", "");
    tmp.write("a/b/y.txt", "");
    tmp.write("c.txt", "");
    fs::create_directory(tmp.path() + "empty");
    fs::create_directory_symlink("..", tmp.path() + "a/loop");   // a -> its parent, forever
    fs::create_directory_symlink("a", tmp.path() + "z-dir-link");
    TempFolder outside;
    outside.write("elsewhere.txt", "");
    fs::create_directory_symlink(outside.path(), tmp.path() + "out-link");
    fs::create_symlink("c.txt", tmp.path() + "f-link");
    fs::create_symlink("nowhere", tmp.path() + "dangling");

    const CString root = tmp.ansi();
    const std::vector<CString> expected = {root + "Z.txt", root + "a/b/y.txt", root + "a/x.txt", root + "c.txt",
                                           root + "f-link"};
    EXPECT_EQ(ListFilesRecursive(root), expected);
    // The folder may also be given without its trailing "/".
    EXPECT_EQ(ListFilesRecursive(root.Left(root.GetLength() - 1)), expected);
    EXPECT_TRUE(ListFilesRecursive(root + "missing").empty());
}

TEST(FileTest, ProgramFolderIsTheTestProgramsFolder)
{
    const CString folder = GetProgramFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(folder.Right(1), "/");
    EXPECT_EQ(folder, FromFsPath(fs::canonical("/proc/self/exe").parent_path().string() + "/"));
    EXPECT_TRUE(IsRegularFile(folder + "platform_tests"));
}

// ---- CFile and CStdioFile ----

TEST(CFileTest, OpenModes)
{
    struct Case {
        const char* comment;
        std::optional<std::string> before;   // nullopt: no file
        unsigned flags;
        BOOL opened;
        bool writable;
        std::optional<std::string> after;
    };
    const unsigned create = CFile::modeCreate;
    const Case cases[] = {
        {"read a missing file", std::nullopt, CFile::modeRead, FALSE, false, std::nullopt},
        {"write without create needs the file", std::nullopt, CFile::modeWrite, FALSE, false, std::nullopt},
        {"create a new file", std::nullopt, CFile::modeWrite | create, TRUE, true, "XY"},
        {"create truncates", "abcdef", CFile::modeWrite | create, TRUE, true, "XY"},
        {"create without truncating", "abcdef", CFile::modeWrite | create | CFile::modeNoTruncate, TRUE, true, "XYcdef"},
        {"write alone keeps the rest", "abcdef", CFile::modeWrite, TRUE, true, "XYcdef"},
        {"read and write", "abcdef", CFile::modeReadWrite | CFile::shareDenyNone, TRUE, true, "XYcdef"},
        {"read only refuses writes", "abcdef", CFile::modeRead, TRUE, false, "abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        TempFolder tmp;
        if (c.before)
            tmp.write("f", *c.before);
        CFile file;
        EXPECT_EQ(file.Open(tmp.ansi() + "f", c.flags), c.opened);
        EXPECT_EQ(file.IsOpen(), c.opened == TRUE);
        if (file.IsOpen()) {
            EXPECT_EQ(file.Write("XY", 2) && file.Flush(), c.writable);
            EXPECT_EQ(file.Close(), c.writable) << "a write that failed is reported again at close";
        }
        EXPECT_EQ(fs::exists(tmp.path() + "f"), c.after.has_value());
        if (c.after) {
            EXPECT_EQ(ReadBytes(tmp.path() + "f"), *c.after);
        }
    }
}

// A full disk: the bytes fit in the stream's buffer, so the write itself
// succeeds and only the flush at close finds there is no room.
// A file size limit of zero stands in for a full disk: every byte that
// reaches the file fails to be written (CFile opens no device such as
// /dev/full). It runs in a child, which alone gets the limit.
TEST(CFileTest, CloseReportsBytesThatNeverReachedAFullDisk)
{
    TempFolder tmp;
    const CString path = tmp.ansi() + "full.txt";
    const std::optional<int> code = testsupport::RunBoundedInChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);   // the write fails with EFBIG instead
            const rlimit none {0, 0};
            if (::setrlimit(RLIMIT_FSIZE, &none) != 0)
                return 100;
            CStdioFile file;
            if (!file.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::typeText))
                return 101;
            if (!file.WriteString("study\n"))
                return 102;   // still in the buffer: no failure yet
            if (file.Close() || file.IsOpen())
                return 103;
            return file.Close() ? 0 : 104;   // nothing left to lose
        },
        10.0, 1L << 30);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
}

TEST(CFileTest, LengthPositionAndFolders)
{
    TempFolder tmp;
    CFile file;
    EXPECT_FALSE(file.Open(tmp.ansi(), CFile::modeRead));   // a folder is no file
    ASSERT_TRUE(file.Open(tmp.ansi() + "f", CFile::modeReadWrite | CFile::modeCreate));
    EXPECT_EQ(file.GetFilePath(), tmp.ansi() + "f");
    EXPECT_TRUE(file.Write("0123456789", 10));
    EXPECT_EQ(file.GetLength(), 10);   // still in the stream's buffer
    EXPECT_EQ(file.Seek(2, CFile::begin), 2);
    char buffer[4] = {};
    EXPECT_EQ(file.Read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "234");
    EXPECT_EQ(file.GetPosition(), 5);
    EXPECT_EQ(file.Seek(-1, CFile::end), 9);
}

TEST(CStdioFileTest, WriteStringTurnsNewlinesIntoCrLfOnlyInTextMode)
{
    struct Case {
        const char* comment;
        unsigned type;
        CString text;
        std::string bytes;
    };
    const Case cases[] = {
        {"text mode", CFile::typeText, "a\nb\n", "a\r\nb\r\n"},
        {"text mode, Chinese", CFile::typeText, "中\n", std::string("中") + "\r\n"},
        {"binary mode", CFile::typeBinary, "a\nb\n", "a\nb\n"},
        {"no type given", 0, "a\n", "a\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        TempFolder tmp;
        {
            CStdioFile file;
            ASSERT_TRUE(file.Open(tmp.ansi() + "f", CFile::modeWrite | CFile::modeCreate | c.type));
            EXPECT_TRUE(file.WriteString(c.text));
        }   // the destructor closes (and flushes)
        EXPECT_EQ(ReadBytes(tmp.path() + "f"), c.bytes);
    }
}

TEST(CStdioFileTest, ReadStringStripsLineEnds)
{
    struct Case {
        const char* comment;
        std::string bytes;
        std::vector<CString> lines;
    };
    const std::string longLine(10000, 'w');
    const Case cases[] = {
        {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
        {"LF", "one\ntwo\n", {"one", "two"}},
        {"last line without newline", "one\ntwo", {"one", "two"}},
        {"empty lines kept", "a\r\n\r\n\nb", {"a", "", "", "b"}},
        {"empty file", "", {}},
        {"longer than any buffer", longLine + "\r\nx", {CString(longLine), "x"}},
        {"Chinese text", "第一句\r\n", {"第一句"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        TempFolder tmp;
        tmp.write("f", c.bytes);
        CStdioFile file;
        ASSERT_TRUE(file.Open(tmp.ansi() + "f", CFile::modeRead | CFile::typeText));
        std::vector<CString> lines;
        CString line;
        while (file.ReadString(line))
            lines.push_back(line);
        EXPECT_EQ(lines, c.lines);
        EXPECT_FALSE(file.ReadString(line));   // still at the end
        EXPECT_TRUE(line.IsEmpty());
    }
}

// ---- CFileFind ----

TEST(CFileFindTest, PatternsListSortedEntries)
{
    TempFolder tmp;
    for (const char* name : {"b.data", "a.data", "Z.data", "c.txt", "noext", ".hidden", "x.data.txt"})
        tmp.write(name, "");
    fs::create_directory(tmp.path() + "sub");
    const CString folder = tmp.ansi();

    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"*.*", {".hidden", "Z.data", "a.data", "b.data", "c.txt", "noext", "sub", "x.data.txt"}},
        {"*.data", {"Z.data", "a.data", "b.data"}},
        {"*.txt", {"c.txt", "x.data.txt"}},
        {"*.mp4", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FindAll(folder + c.pattern, folder), c.names);
    }

    CFileFind ff;
    EXPECT_FALSE(ff.FindFile(folder + "missing/*.*"));
    ASSERT_TRUE(ff.FindFile(folder + "*.*"));
    EXPECT_TRUE(ff.GetFileName().IsEmpty());   // nothing selected before FindNextFile
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(ff.FindNextFile());
    EXPECT_FALSE(ff.FindNextFile());   // selects the last one
    EXPECT_EQ(ff.GetFileName(), "x.data.txt");
    EXPECT_FALSE(ff.IsDirectory());
    EXPECT_FALSE(ff.FindNextFile());   // past the end: stays there
    EXPECT_EQ(ff.GetFileName(), "x.data.txt");
}

TEST(CFileFindTest, ExactNameIsNoWildcard)
{
    TempFolder tmp;
    tmp.write("only-ab/ab.mp4", "");
    tmp.write("both/ab.mp4", "");
    tmp.write("both/a*.mp4", "");
    fs::create_directory(tmp.path() + "both/sub");
    const CString root = tmp.ansi();

    struct Case {
        const char* comment;
        CString path;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"\"*\" inside a name does not match another file", root + "only-ab/a*.mp4", {}},
        {"a name with \"*\" finds itself only", root + "both/a*.mp4", {"a*.mp4"}},
        {"plain name", root + "both/ab.mp4", {"ab.mp4"}},
        {"missing", root + "both/ac.mp4", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(FindAll(c.path, c.path.Left(c.path.ReverseFind('/') + 1)), c.names);
    }

    CFileFind ff;
    ASSERT_TRUE(ff.FindFile(root + "both/sub"));
    EXPECT_FALSE(ff.FindNextFile());
    EXPECT_TRUE(ff.IsDirectory());
    EXPECT_EQ(ff.GetFilePath(), root + "both/sub");
}
