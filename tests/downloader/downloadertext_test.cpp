// The texts the downloader reads and writes: the player's commands, the
// clipboard's download commands, addresses and the file names they give,
// and the percentage of the progress files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "downloader/address.h"
#include "downloader/command.h"
#include "downloader/progressfile.h"
#include "downloader/talkdownloads.h"
#include "core/downloaderexchange.h"
#include "core/updatecheck.h"

namespace {

TEST(DownloaderCommandTest, EachCommandOfThePlayerIsRecognised)
{
    struct Case {
        const char* why;
        CString text;
        ECommand kind;
    };
    const Case cases[] = {
        {"the empty text after the queue drains", "", ECommand::None},
        {"blanks only", "   \r\n", ECommand::None},
        {"stop all", kCmdStopAllDownloadTask, ECommand::StopAll},
        {"restart", kCmdRestartDownloader, ECommand::Restart},
        {"delete tasks", kCmdDeleteDownloaderTask, ECommand::DeleteTasks},
        {"show", kCmdShowDownloader, ECommand::Show},
        {"update", kUpdateDownloaderCommand, ECommand::Update},
        {"a line end after the keyword", "StopAllDownloadTask: \r\nmore", ECommand::StopAll},
        {"a keyword without its colon", "StopAllDownloadTask", ECommand::Unknown},
        {"another program's text", "hello", ECommand::Unknown},
        {"download-and-play without fields", "HalvikSoftDlAndPlay:", ECommand::Malformed},
        {"download-and-play without a name", "HalvikSoftDlAndPlay:    http://a/b.mp4    /cache", ECommand::Malformed},
        {"a name that is a path", "HalvikSoftDlAndPlay:    http://a/b.mp4    /cache    ../x.mp4", ECommand::Malformed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCommand(c.text).kind, c.kind) << c.why;
}

TEST(DownloaderCommandTest, DownloadAndPlayGivesAddressFolderAndTarget)
{
    struct Case {
        const char* why;
        CString folder;
        CString target;
    };
    const Case cases[] = {
        {"a folder without a trailing slash", "/p/CacheFolder", "/p/CacheFolder/halviksoft.mp4"},
        {"a folder with one", "/p/CacheFolder/", "/p/CacheFolder/halviksoft.mp4"},
        {"a folder with blanks, four in a row too", "/p/my    cache", "/p/my    cache/halviksoft.mp4"},
        {"a Chinese folder (program text)", "/p/缓存", "/p/缓存/halviksoft.mp4"},
    };
    for (const Case& c : cases) {
        const SCommand command = ParseCommand(ComposeDlAndPlayCommand("http://media.cn/a.mp4?x=1", c.folder));
        ASSERT_EQ(command.kind, ECommand::DlAndPlay) << c.why;
        EXPECT_EQ(command.address, "http://media.cn/a.mp4?x=1") << c.why;
        EXPECT_EQ(command.folder, c.folder) << c.why;
        EXPECT_EQ(command.name, kDlAndPlayTargetName) << c.why;
        EXPECT_EQ(command.target, c.target) << c.why;
    }
}

TEST(DownloaderTalkTextTest, AddressesOfTheClipboardsDownloadCommands)
{
    struct Case {
        const char* why;
        std::string text;
        std::vector<std::string> addresses;
    };
    const Case cases[] = {
        {"the player's list: two blanks after each",
         "HalvikSoftDL:http://h/talks/A.mp4  HalvikSoftDL:http://h/talks/B-480p.mp4  ",
         {"http://h/talks/A.mp4", "http://h/talks/B-480p.mp4"}},
        {"a request repeated ends in one blank more",
         "HalvikSoftDL:http://h/talks/A.mp4  HalvikSoftDL:http://h/talks/B-480p.mp4   ",
         {"http://h/talks/A.mp4", "http://h/talks/B-480p.mp4"}},
        {"without the separating blanks", "HalvikSoftDL:http://h/a.mp4HalvikSoftDL:http://h/b.mp4",
         {"http://h/a.mp4", "http://h/b.mp4"}},
        {"one blank belongs to the address", "HalvikSoftDL:http://h/a b.mp4  ", {"http://h/a b.mp4"}},
        {"text around and line ends", "see:\r\nHalvikSoftDL: http://h/a.mp4\r\nthanks", {"http://h/a.mp4"}},
        {"an empty command is skipped", "HalvikSoftDL:  HalvikSoftDL:http://h/a.mp4", {"http://h/a.mp4"}},
        {"other clipboard text", "http://h/a.mp4", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TalkAddresses(c.text), c.addresses) << c.why;
}

TEST(DownloaderAddressTest, AddressesAreReadyForARequestOrRefused)
{
    struct Case {
        const char* why;
        std::string address;
        std::string expected;
    };
    const std::string longest = "http://h/" + std::string(kMaxAddressBytes - 9, 'a');
    const Case cases[] = {
        {"plain", "http://h:8080/talks/A.mp4", "http://h:8080/talks/A.mp4"},
        {"https, any case", "HTTPS://h/a.mp4", "HTTPS://h/a.mp4"},
        {"blanks and UTF-8 are escaped", "http://h/a b/\xE8\xAF\xBE.mp4", "http://h/a%20b/%E8%AF%BE.mp4"},
        {"escapes already there stay", "http://h/a%20b.mp4", "http://h/a%20b.mp4"},
        {"ftp, as the address bar takes it", "ftp://h/pub/a b.mp4", "ftp://h/pub/a%20b.mp4"},
        {"another scheme", "file:///etc/passwd", ""},
        {"ftp without a host", "ftp:///a.mp4", ""},
        {"no host", "http:///a.mp4", ""},
        {"8 KiB is the limit", longest, longest},
        {"one byte more is refused", longest + "a", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TransferAddress(c.address), c.expected) << c.why;
}

TEST(DownloaderAddressTest, FileNamesComeFromTheLastPartOfThePath)
{
    struct Case {
        const char* why;
        std::string address;
        std::string name;
    };
    const Case cases[] = {
        {"a talk", "http://h/talks/Talk_2010-480p.mp4", "Talk_2010-480p.mp4"},
        {"query and fragment dropped", "http://h/a/b.mp4?s=1#t", "b.mp4"},
        {"escapes decoded", "http://h/a%20b.mp4", "a b.mp4"},
        {"a folder address", "http://h/talks/", ""},
        {"the host only", "http://h", ""},
        {"an escaped slash", "http://h/a%2F..%2Fx.mp4", ""},
        {"a hidden name", "http://h/.bashrc", ""},
        {"a parent", "http://h/a/..", ""},
        {"a control character", "http://h/a%0Ab.mp4", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileNameOfAddress(c.address), c.name) << c.why;
}

TEST(DownloaderProgressTextTest, PercentageIsOneHundredOnlyWhenComplete)
{
    struct Case {
        const char* why;
        int64_t written;
        int64_t total;
        bool complete;
        const char* text;
    };
    const Case cases[] = {
        {"nothing yet", 0, 1000, false, "0.0"},
        {"length unknown", 5000, -1, false, "0.0"},
        {"rounded down", 1999, 2000, false, "99.9"},
        {"one byte short of a large file", 4000000000, 4000000001, false, "99.9"},
        {"all bytes but not yet confirmed", 1000, 1000, false, "99.9"},
        {"a third", 1, 3, false, "33.3"},
        {"complete", 1000, 1000, true, "100"},
        {"complete with the length unknown before", 0, -1, true, "100"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentText(c.written, c.total, c.complete), c.text) << c.why;
}

} // namespace
