#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/quenlow.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;
using testsupport::TempFolder;

namespace {

// Sets theApp's content kind for one test and puts the old one back.
class CContentKind {
public:
    explicit CContentKind(const char* kind) : m_old(theApp.m_strContentKind) { theApp.m_strContentKind = kind; }
    ~CContentKind() { theApp.m_strContentKind = m_old; }

private:
    CString m_old;
};

std::vector<CString> ToVector(const CStringArray& array) { return std::vector<CString>(array.begin(), array.end()); }

} // namespace

TEST(ServicesTest, MediaKindByExtension)
{
    struct Case {
        const char* path;
        int kind;
    };
    const Case cases[] = {
        {"/v/Lesson.MP4", 1},   // the extension is lower-cased
        {"song.wma", 1},        // in both lists; video is tested first
        {"song.flac", 2},
        {"song.mp3", 2},
        {"clip.m2ts", 1},
        {"notes.txt", 3},
        {"clip.mpeg", 3},       // only ".mpe" and ".mpg" are video
        {"noextension", 1},
        {".hidden", 1},         // the only dot is the first character
        {"", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(theApp.GetMediaKind(c.path), c.kind) << c.path;
}

TEST(ServicesTest, MediaUrl)
{
    struct Case {
        const char* address;
        BOOL media;
    };
    const Case cases[] = {
        {"http://media.cn/v/lesson.mp4?token=1", TRUE},    // ".mp4" anywhere
        {"https://media.cn/v/lesson.mp4?token=1", FALSE},  // only "http:" is followed
        {"http://media.cn/pack.ZIP", TRUE},                // the extension is lower-cased
        {"http://media.cn/a.MP3", TRUE},
        {"http://media.cn/talk.srt", TRUE},
        {"http://media.cn/index.html", FALSE},
        {"http://media.cn/download?id=3", FALSE},
        {"http://localhost/video", FALSE},                 // no "." after the first character
        {"  http://media.cn/a.mkv \r\n", TRUE},            // trimmed
        {"ftp://media.cn/a.mp4", FALSE},
        {"http://yun.example-disk.cn/play/video?path=/a.mp4", FALSE},   // a play page, not a file
    };
    for (const Case& c : cases)
        EXPECT_EQ(theApp.IsMediaUrl(c.address), c.media) << c.address;
}

TEST(ServicesTest, PanFileId)
{
    const CString base = "http://abc/file/";   // "/file/" at position 10
    const CString fhash = "http://x.cn/?fhash=";   // "fhash=" at position 13
    const CString second = "http://pan.example-cloud.cn/s/";
    struct Case {
        const char* comment;
        CString address;
        CString id;
    };
    const Case cases[] = {
        {"41 characters: 20 after /file/", base + "ABCDEFGHIJKLMNOPQRSTUVWXY", "ABCDEFGHIJKLMNOPQRST"},
        {"40 characters: whole address", base + "ABCDEFGHIJKLMNOPQRSTUVWX", base + "ABCDEFGHIJKLMNOPQRSTUVWX"},
        {"/file/ wins over fhash=", base + "ABCDEFGHIJKLMNOPQRSTUVWXY?fhash=0123456789abcdefghij",
         "ABCDEFGHIJKLMNOPQRST"},
        {"/file/ at the start does not count", "/file/" + CString('A', 40), "/file/" + CString('A', 40)},
        {"second service, long: first 120", second + CString('x', 100), (second + CString('x', 100)).Left(120)},
        {"second service, short: whole", second + "abc", second + "abc"},
        {"host at the start does not count", "pan.example-cloud.cn/" + CString('x', 130),
         "pan.example-cloud.cn/" + CString('x', 130)},
        {"fhash, 39 characters: 10 after fhash=", fhash + "0123456789abcdefghij", "0123456789"},
        {"fhash, 33 characters: whole", fhash + "0123456789abcd", fhash + "0123456789abcd"},
        {"nothing known: whole", "http://other.cn/x", "http://other.cn/x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(theApp.GetPanFileId(c.address), c.id) << c.comment;
}

TEST(ServicesTest, FindMediaForScript)
{
    struct Case {
        const char* comment;
        const char* kind;
        std::vector<std::string> files;   // a name ending in "/" is a folder
        std::string script;
        std::string media;                // "" when none is found
        bool leadingSpace = false;
    };
    const Case cases[] = {
        {"mp4 before avi", "drama", {"a.mp4", "a.avi"}, "a.script", "a.mp4"},
        {"drama never tries -480p", "drama", {"a-480p.mp4", "a-light.mp4", "a.avi"}, "a.script", "a.avi"},
        {"drama: -480p alone is no media", "drama", {"a-480p.mp4"}, "a.script", ""},
        {"ted: -480p before -light and avi", "ted", {"a-480p.mp4", "a-light.mp4", "a.avi"}, "a.script", "a-480p.mp4"},
        {"ted: -light", "ted", {"a-light.mp4", "a.avi"}, "a.script", "a-light.mp4"},
        {"ted: mp4 still first", "ted", {"a.mp4", "a-480p.mp4"}, "a.script", "a.mp4"},
        {"kind is case-sensitive", "TED", {"a-480p.mp4"}, "a.script", ""},
        {"rmvb before mkv", "", {"a.rmvb", "a.mkv", "a.mp3"}, "a.script", "a.rmvb"},
        {"mkv before mp3", "", {"a.mkv", "a.mp3"}, "a.script", "a.mkv"},
        {"mp3 last", "", {"a.mp3"}, "a.script", "a.mp3"},
        {"mkv found from a path with leading space", "", {"a.mkv"}, "a.script", "a.mkv", true},
        {"only the trailing extension is replaced", "", {"my.scripts/a.mp4", "my.mp4s/a.mp4"},
         "my.scripts/a.script", "my.scripts/a.mp4"},
        {"doubled extension", "", {"a.script.mp4"}, "a.script.script", "a.script.mp4"},
        {"a folder is no media", "", {"a.mp4/", "a.avi"}, "a.script", "a.avi"},
        {"no wildcard: a*.mp4 is not ab.mp4", "", {"ab.mp4"}, "a*.script", ""},
        {"not a lesson script", "", {"a.mp4"}, "a.txt", ""},
        {"extension is case-sensitive", "", {"a.mp4"}, "a.SCRIPT", ""},
        {"no media at all", "", {}, "a.script", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        TempFolder tmp;
        for (const std::string& file : c.files) {
            if (file.back() == '/')
                fs::create_directories(tmp.path() + file);
            else
                tmp.write(file, "media");
        }
        CContentKind kind(c.kind);
        const CString script = CString(c.leadingSpace ? " " : "") + tmp.ansi() + c.script.c_str();
        const CString expected = c.media.empty() ? CString() : tmp.ansi() + c.media.c_str();
        EXPECT_EQ(theApp.FindMediaForScript(script), expected);
    }
}

TEST(ServicesTest, CollectDataFilesAppendsStoreFilesInNameOrder)
{
    TempFolder tmp;
    tmp.write("Z.data", "");
    tmp.write("sub/a.data", "");
    tmp.write("sub/deep/b.data", "");
    tmp.write("x.data.txt", "");               // ".data" not at the end
    tmp.write("c.DATA", "");                   // other case
    tmp.write("folder.data/inside.txt", "");   // a folder named like a store file
    fs::create_directory_symlink("..", tmp.path() + "sub/loop");
    TempFolder outside;
    outside.write("other.data", "");
    fs::create_directory_symlink(outside.path(), tmp.path() + "linked");   // not entered

    theApp.m_arrDataFiles.RemoveAll();
    theApp.m_arrDataFiles.Add("kept");   // the scan does not empty the list
    theApp.CollectDataFiles(tmp.ansi());
    const CString root = tmp.ansi();
    EXPECT_EQ(ToVector(theApp.m_arrDataFiles),
              (std::vector<CString>{"kept", root + "Z.data", root + "sub/a.data", root + "sub/deep/b.data"}));
    theApp.m_arrDataFiles.RemoveAll();
}

TEST(ServicesTest, ProcessRunningAndKill)
{
    // A name of its own: stopping is system-wide and tests run in parallel.
    const std::string name = "HalvikSoftDownloader" + std::to_string(::getpid()) + ".exe";
    TempFolder tmp;
    const std::string program = tmp.path() + name;
    fs::copy_file("/bin/sleep", program);
    fs::permissions(program, fs::perms::owner_all);

    EXPECT_FALSE(theApp.IsProcessRunning(name.c_str()));
    std::string arg1 = "30";
    char* argv[] = {const_cast<char*>(program.c_str()), arg1.data(), nullptr};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    ASSERT_GT(pid, 0);
    bool running = false;   // true once exec has happened
    for (int i = 0; i < 200 && !(running = theApp.IsProcessRunning(name.c_str())); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(running);

    theApp.KillProcesses(name.c_str());
    EXPECT_FALSE(theApp.IsProcessRunning(name.c_str()));
    int status = 0;
    ::kill(pid, SIGKILL);   // a no-op unless KillProcesses failed
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

TEST(ServicesTest, RandomIndex)
{
    EXPECT_EQ(theApp.RandomIndex(0), 1);
    EXPECT_EQ(theApp.RandomIndex(1), 0);
    for (int i = 0; i < 200; ++i) {
        const int index = theApp.RandomIndex(7);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 7);
    }
}

TEST(ServicesTest, FileLength)
{
    TempFolder tmp;
    tmp.write("empty", "");
    tmp.write("ten", "0123456789");
    fs::create_directory(tmp.path() + "folder");
    struct Case {
        const char* name;
        int64_t length;
    };
    const Case cases[] = {{"missing", 0}, {"empty", 0}, {"ten", 10}, {"folder", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(theApp.GetFileLength(tmp.ansi() + c.name), c.length) << c.name;
}
