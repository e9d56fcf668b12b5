// The downloader program run for real against a loopback HTTP server: the
// commands the player sends, the progress files it reads back, the update
// file, and the process rules (one per program folder, prompt end on SIGTERM).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <memory>
#include <optional>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "core/downloaderexchange.h"
#include "core/downloaderprocess.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "core/updateresult.h"
#include "tests/downloader/downloaderrun.h"
#include "tests/loopbackftpserver.h"
#include "tests/loopbackserver.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using downloadertest::CDownloaderRun;
using downloadertest::SProgressFile;
using downloadertest::WaitFor;

// Line numbers of a progress file.
enum { kTarget = 0, kTotal = 1, kPercent = 4, kActive = 8, kTag = 9, kPrefix = 10, kPrefixPlusOne = 11 };

// Bytes no run of equal bytes could stand for: a block skipped, repeated or
// written at the wrong place shows.
std::string MediaBytes(size_t size, unsigned seed = 1)
{
    std::string bytes(size, '\0');
    unsigned value = seed;
    for (char& c : bytes) {
        value = value * 1103515245u + 12345u;
        c = static_cast<char>(value >> 16);
    }
    return bytes;
}

std::string Address(const CLoopbackServer& server, const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(server.port()) + path;
}

// The player's command for a download into a folder (program text).
std::string DlAndPlay(const std::string& address, const CString& folder)
{
    return ComposeDlAndPlayCommand(CString(address), folder).str();
}

int64_t Number(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }

bool IsFinal(const SProgressFile& file) { return file.lines[kActive] == "0"; }

int64_t FileSize(const std::string& path)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<int64_t>(size);
}

// The downloader program of a run's folder (program text).
CString ExePath(const CDownloaderRun& run) { return run.folder().ansi() + "Downloader/HalvikSoftDownloader.exe"; }

class DownloaderTest : public testing::Test {
protected:
    // The cache folder of a download (program text) and the target on disk.
    CString CacheFolder() const { return run.folder().ansi() + "CacheFolder"; }
    std::string TargetPath() const { return run.Path("CacheFolder/halviksoft.mp4"); }

    CDownloaderRun run;
};

TEST_F(DownloaderTest, DownloadAndPlayReportsEachSecondAndEndsAtOneHundred)
{
    run.Start();
    // Paced over about two seconds, so progress files come while it runs. The
    // folder's name is Chinese: program text in the command and in the
    // progress file, UTF-8 on disk.
    const std::string media = MediaBytes(48 * 1024);
    SReply reply = Body(media);
    reply.pieces = 6;
    reply.pieceGap = 400ms;
    CLoopbackServer server([&](const std::string&) { return reply; }, 1);
    const CString folder = run.folder().ansi() + "CacheFolder/缓存";
    const CString target = folder + "/halviksoft.mp4";
    ASSERT_TRUE(run.Send(DlAndPlay(Address(server, "/media/a.mp4"), folder)));

    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kPercent] == "100"; }, 8s));
    const std::vector<SProgressFile> files = run.ProgressFiles();
    ASSERT_GE(files.size(), 2u) << "a file each second while it runs, and one at the end";
    int64_t prefix = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const SProgressFile& f = files[i];
        SCOPED_TRACE("progress file " + std::to_string(f.number));
        EXPECT_EQ(f.number, static_cast<int64_t>(i + 1)) << "numbered one after the other";
        ASSERT_EQ(f.lines.size(), 12u);
        EXPECT_EQ(f.lines[kTarget], target.str());
        EXPECT_EQ(f.lines[kTag], files.front().lines[kTag]);
        EXPECT_FALSE(f.lines[kTag].empty());
        EXPECT_GE(Number(f.lines[kPrefix]), prefix) << "the readable part never shrinks";
        prefix = Number(f.lines[kPrefix]);
        EXPECT_EQ(Number(f.lines[kPrefixPlusOne]), prefix + 1);
        // The end is said twice at once; every file before it tells of a running task.
        if (f.lines[kActive] == "0") {
            EXPECT_EQ(f.lines[kPercent], "100");
            EXPECT_GE(i + 2, files.size()) << "only the last two tell of the end";
        } else {
            EXPECT_NE(f.lines[kPercent], "100");
            EXPECT_LE(std::stod(f.lines[kPercent]), 99.9);
            EXPECT_EQ(f.lines[kActive], "1");
            EXPECT_LT(prefix, static_cast<int64_t>(media.size()));
        }
    }
    const SProgressFile& last = files.back();
    EXPECT_EQ(last.lines[kPercent], "100");
    EXPECT_EQ(last.lines[kActive], "0");
    EXPECT_EQ(last.lines[kTotal], std::to_string(media.size()));
    EXPECT_EQ(last.lines[kPrefix], std::to_string(media.size()));
    EXPECT_EQ(testsupport::ReadBytes(AnsiToUtf8Bytes(target.view())), media);
    // Files appear by rename: nothing but the numbered files is in the folder.
    for (const auto& entry : fs::directory_iterator(run.ProgressFolder()))
        EXPECT_EQ(entry.path().extension(), ".data") << entry.path();
}

TEST(DownloaderRestartTest, AfterAStallItGoesOnFromTheBytesInTheFile)
{
    // A server that honours ranges sends the rest; one that ignores them sends
    // the whole file again, whose first bytes are skipped. Either way the
    // part the player may be reading stays as it is.
    struct Case {
        const char* what;
        bool ranges;
    };
    for (const Case& c : {Case {"ranges honoured", true}, Case {"ranges ignored", false}}) {
        SCOPED_TRACE(c.what);
        CDownloaderRun local;
        local.Start();
        const std::string media = MediaBytes(64 * 1024, 7);
        constexpr size_t kStall = 20000;
        std::atomic<int> asked {0};
        CLoopbackServer server(
            [&](const std::string&) {
                SReply reply = Body(media);
                reply.ranges = c.ranges;
                if (asked++ == 0)
                    reply.stallAfter = kStall;
                return reply;
            },
            2);
        const std::string target = local.Path("CacheFolder/halviksoft.mp4");
        ASSERT_TRUE(local.Send(DlAndPlay(Address(server, "/media/b.mp4"), local.folder().ansi() + "CacheFolder")));
        SProgressFile stalled;
        ASSERT_TRUE(local.WaitForProgress(
            [&](const SProgressFile& f) { return Number(f.lines[kPrefix]) == static_cast<int64_t>(kStall); }, 5s,
            &stalled));
        EXPECT_EQ(stalled.lines[kPercent], "30.5");
        EXPECT_EQ(FileSize(target), static_cast<int64_t>(kStall));

        ASSERT_TRUE(local.Send(kCmdRestartDownloader));
        SProgressFile last;
        ASSERT_TRUE(
            local.WaitForProgress([](const SProgressFile& f) { return f.lines[kPercent] == "100"; }, 5s, &last));
        EXPECT_EQ(testsupport::ReadBytes(target), media);
        EXPECT_EQ(last.lines[kTag], stalled.lines[kTag]) << "a restart goes on with the same task";
        const std::vector<std::string> ranges = server.ranges();
        ASSERT_EQ(ranges.size(), 2u);
        EXPECT_EQ(ranges[0], "");
        EXPECT_EQ(ranges[1], "bytes=20000-");
        for (const SProgressFile& f : local.ProgressFiles()) {
            if (f.number > stalled.number) {
                EXPECT_GE(Number(f.lines[kPrefix]), static_cast<int64_t>(kStall)) << "file " << f.number;
            }
        }
    }
}

// A server that closes the connection part-way: the task asks again from
// the bytes the file holds, by itself, for as long as tries bring bytes, and
// the file is whole only when every announced byte is there (a break at 98%
// is not the end). A server that then sends nothing more is given up after
// a few tries in a row, and the end says the file is short.
TEST_F(DownloaderTest, ATransferThatBreaksGoesOnFromTheBytesItHas)
{
    struct Case {
        const char* what;
        size_t firstCut;      // body bytes the first answer sends
        size_t laterCut;      // body bytes each later answer sends
        bool complete;
        size_t answers;
    };
    const Case cases[] = {
        {"breaks once at 98%", 49'000, 50'000, true, 2},
        {"breaks at every answer, each bringing more", 12'000, 12'000, true, 5},
        {"breaks at 98%, then sends nothing more", 49'000, 0, false, 5},
    };
    constexpr size_t kSize = 50'000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDownloaderRun local;
        local.Start();
        const std::string media = MediaBytes(kSize, 3);
        std::atomic<int> asked {0};
        CLoopbackServer server(
            [&](const std::string&) {
                SReply reply = Body(media);
                reply.ranges = true;
                reply.closeAfter = asked++ == 0 ? c.firstCut : c.laterCut;
                return reply;
            },
            8, 30s);
        const std::string target = local.Path("CacheFolder/halviksoft.mp4");
        ASSERT_TRUE(local.Send(DlAndPlay(Address(server, "/media/g.mp4"), local.folder().ansi() + "CacheFolder")));
        SProgressFile final;
        ASSERT_TRUE(local.WaitForProgress(IsFinal, 20s, &final));

        std::vector<std::string> ranges;
        size_t had = 0;
        for (size_t i = 0; i < c.answers; ++i) {
            ranges.push_back(i == 0 ? "" : "bytes=" + std::to_string(had) + "-");
            had = std::min(kSize, had + (i == 0 ? c.firstCut : c.laterCut));
        }
        EXPECT_EQ(server.ranges(), ranges);
        EXPECT_EQ(FileSize(target), static_cast<int64_t>(had));
        EXPECT_EQ(final.lines[kPrefix], std::to_string(had));
        EXPECT_EQ(final.lines[kTotal], std::to_string(kSize));
        EXPECT_EQ(final.lines[kPercent] == "100", c.complete) << final.lines[kPercent];
        EXPECT_EQ(testsupport::ReadBytes(target), media.substr(0, had));
        for (const SProgressFile& f : local.ProgressFiles())
            if (f.number < final.number) {
                EXPECT_EQ(f.lines[kActive], "1") << "a task trying again still runs: file " << f.number;
            }
    }
}

TEST_F(DownloaderTest, StopAllEndsTheTaskAndKeepsWhatArrived)
{
    run.Start();
    const std::string media = MediaBytes(40'000);
    SReply reply = Body(media);
    reply.stallAfter = 10000;
    CLoopbackServer server([&](const std::string&) { return reply; }, 1);
    ASSERT_TRUE(run.Send(DlAndPlay(Address(server, "/media/c.mp4"), CacheFolder())));
    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kPrefix] == "10000"; }, 5s));

    ASSERT_TRUE(run.Send(kCmdStopAllDownloadTask));
    SProgressFile final;
    ASSERT_TRUE(run.WaitForProgress(IsFinal, 3s, &final));
    EXPECT_EQ(final.lines[kPrefix], "10000");
    EXPECT_EQ(final.lines[kPercent], "25.0");
    EXPECT_EQ(FileSize(TargetPath()), 10000);
    // The ended task's last state is said again at once and then each second
    // (so a reader a few files behind still sees it); nothing says it runs.
    std::vector<SProgressFile> repeats;
    ASSERT_TRUE(WaitFor(
        [&] {
            repeats.clear();
            for (const SProgressFile& file : run.ProgressFiles())
                if (file.number > final.number && file.lines.size() >= 12)
                    repeats.push_back(file);
            return repeats.size() >= 3;
        },
        5s))
        << repeats.size() << " repeated reports";
    for (const SProgressFile& file : repeats) {
        EXPECT_TRUE(IsFinal(file)) << file.number;
        EXPECT_EQ(file.lines[kPrefix], "10000") << file.number;
        EXPECT_EQ(file.lines[kPercent], "25.0") << file.number;
    }
}

TEST_F(DownloaderTest, DeleteTasksEndsTheUpdateButNotTheDownloadAndPlay)
{
    run.Start();
    const std::string media = MediaBytes(40'000);
    SReply paced = Body(media);
    paced.pieces = 8;
    paced.pieceGap = 300ms;
    CLoopbackServer mediaServer([&](const std::string&) { return paced; }, 1);
    SReply stalling = Body(std::string(5000, 'u'));
    stalling.stallAfter = 100;
    CLoopbackServer updateServer([&](const std::string&) { return stalling; }, 1);
    run.folder().write("AppData/CommonData/Product.cfg",
                       "UpdateServerHost=127.0.0.1\nUpdateServerPort=" + std::to_string(updateServer.port()) + "\n");
    run.folder().write("AppData/CommonData/PrdID.data", "P1\r\n");

    ASSERT_TRUE(run.Send(DlAndPlay(Address(mediaServer, "/media/d.mp4"), CacheFolder())));
    ASSERT_TRUE(run.Send(kCmdUpdate));
    ASSERT_TRUE(WaitFor([&] { return updateServer.requests().size() == 1; }, 3s));
    // The player sends it twice, two seconds apart.
    ASSERT_TRUE(run.Send(kCmdDeleteDownloaderTask));
    ASSERT_TRUE(run.Send(kCmdDeleteDownloaderTask));
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(run.Path("AppData/CommonData/update.data.part")); }, 3s));
    EXPECT_FALSE(fs::exists(run.Path("AppData/CommonData/update.data")));
    std::optional<SUpdateDownloadEnd> end;
    const CString result = UpdateResultPath(CString(run.folder().path().c_str()));
    ASSERT_TRUE(WaitFor([&] { return (end = TakeUpdateResult(result)).has_value(); }, 3s));
    EXPECT_EQ(UpdateEndMessage(*end), "软件更新下载失败：下载程序已停止");

    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kPercent] == "100"; }, 6s));
    EXPECT_EQ(testsupport::ReadBytes(TargetPath()), media);
}

TEST_F(DownloaderTest, AMissingFileGivesNothingToPlayAndLeavesTheOldTarget)
{
    run.Start();
    // The length stays 0, so the player never starts; the file of an earlier
    // task under the same name is neither replaced nor removed.
    run.folder().write("CacheFolder/halviksoft.mp4", "earlier video");
    SReply missing = Page("<html>not here</html>");
    missing.status = 404;
    CLoopbackServer server([&](const std::string&) { return missing; }, 1);
    ASSERT_TRUE(run.Send(DlAndPlay(Address(server, "/media/gone.mp4"), CacheFolder())));

    SProgressFile final;
    ASSERT_TRUE(run.WaitForProgress(IsFinal, 4s, &final));
    // Said twice at once, so the program can read it without waiting for
    // the next second.
    EXPECT_TRUE(WaitFor([&] { return run.ProgressFiles().size() >= 2; }, 300ms));
    EXPECT_EQ(final.lines[kTarget], (CacheFolder() + "/halviksoft.mp4").str());
    EXPECT_EQ(final.lines[kTotal], "0");
    EXPECT_EQ(final.lines[kPercent], "0.0");
    EXPECT_EQ(final.lines[kPrefix], "0");
    EXPECT_EQ(final.lines[kPrefixPlusOne], "1");
    EXPECT_EQ(testsupport::ReadBytes(TargetPath()), "earlier video");
}

// An address the downloader will not fetch ends as a task without a byte,
// reported at once, so the program tells the learner rather than waiting
// for good; a command without its fields ends the same way.
TEST_F(DownloaderTest, ARefusedAddressIsReportedAsAFailedTask)
{
    run.Start();
    const struct {
        const char* why;
        std::string command;
    } cases[] = {
        {"a scheme it does not fetch", DlAndPlay("file:///etc/passwd", CacheFolder())},
        {"no host", DlAndPlay("http:///a.mp4", CacheFolder())},
        {"no folder and name", "HalvikSoftDlAndPlay:    http://127.0.0.1/a.mp4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::error_code none;
        for (const auto& entry : fs::directory_iterator(run.ProgressFolder(), none))
            fs::remove(entry.path());
        const auto asked = std::chrono::steady_clock::now();
        ASSERT_TRUE(run.Send(c.command));
        SProgressFile final;
        ASSERT_TRUE(run.WaitForProgress(IsFinal, 3s, &final));
        EXPECT_LT(std::chrono::steady_clock::now() - asked, 2s);
        EXPECT_EQ(final.lines[kTotal], "0");
        EXPECT_EQ(final.lines[kPrefix], "0");
        EXPECT_FALSE(final.lines[kTag].empty());
        EXPECT_TRUE(WaitFor([&] { return run.ProgressFiles().size() >= 2; }, 300ms)) << "said twice at once";
    }
}

// An ftp:// address is downloaded as the address bar promises.
TEST_F(DownloaderTest, AnFtpAddressIsDownloaded)
{
    run.Start();
    const std::string media = MediaBytes(200'000, 5);
    SFtpFile file;
    file.bytes = media;
    file.pieces = 8;
    file.pieceGap = 300ms;
    CLoopbackFtpServer server({{"/pub/talk.mp4", file}});
    ASSERT_TRUE(run.Send(DlAndPlay("ftp://127.0.0.1:" + std::to_string(server.port()) + "/pub/talk.mp4", CacheFolder())));
    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kActive] == "1"; }, 4s));
    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kPercent] == "100"; }, 6s));
    const std::vector<SProgressFile> files = run.ProgressFiles();
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(files.front().lines[kTotal], std::to_string(media.size())) << "the length is known from the start";
    EXPECT_EQ(testsupport::ReadBytes(TargetPath()), media);
}

TEST_F(DownloaderTest, ANewDownloadReplacesTheRunningOne)
{
    run.Start();
    // As the player starts one: stop everything, then the new command.
    SReply first = Body(MediaBytes(30'000, 3));
    first.stallAfter = 10000;
    CLoopbackServer firstServer([&](const std::string&) { return first; }, 1);
    const std::string second = MediaBytes(12000, 4);
    CLoopbackServer secondServer([&](const std::string&) { return Body(second); }, 1);
    ASSERT_TRUE(run.Send(DlAndPlay(Address(firstServer, "/media/e.mp4"), CacheFolder())));
    SProgressFile old;
    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kPrefix] == "10000"; }, 5s, &old));

    ASSERT_TRUE(run.Send(kCmdStopAllDownloadTask));
    ASSERT_TRUE(run.Send(DlAndPlay(Address(secondServer, "/media/f.mp4"), CacheFolder())));
    SProgressFile done;
    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kPercent] == "100"; }, 5s, &done));
    EXPECT_NE(done.lines[kTag], old.lines[kTag]) << "the player tells the tasks apart by their tags";
    EXPECT_EQ(done.lines[kTotal], "12000");
    EXPECT_EQ(testsupport::ReadBytes(TargetPath()), second);
}

TEST(DownloaderUpdateTest, TheUpdateFileIsReplacedOnlyByAWholeNewOne)
{
    struct Case {
        const char* what;
        int status;
        const char* expected;
        const char* told;   // what the program tells the learner
    };
    for (const Case& c : {Case {"a new update file", 200, "version 2 of the update", "软件更新下载完成。"},
                          Case {"a missing one", 404, "version 1", "软件更新下载失败：服务器回答 404"}}) {
        SCOPED_TRACE(c.what);
        CDownloaderRun local;
        local.Start();
        SReply reply = c.status == 200 ? Body("version 2 of the update") : Page("<html>missing</html>");
        reply.status = c.status;
        CLoopbackServer server([&](const std::string&) { return reply; }, 1);
        local.folder().write("AppData/CommonData/Product.cfg",
                             "# the update server\nUpdateServerHost=127.0.0.1\nUpdateServerPort=" +
                                 std::to_string(server.port()) + "\n");
        // As the update check writes it (the id is escaped in the address).
        local.folder().write("AppData/CommonData/PrdID.data", "HE 1\r\n");
        local.folder().write("AppData/CommonData/update.data", "version 1");
        ASSERT_TRUE(local.Send(kCmdUpdate));

        // The end is told once the update file is in place or known to stay.
        const CString result = UpdateResultPath(CString(local.folder().path().c_str()));
        std::optional<SUpdateDownloadEnd> end;
        ASSERT_TRUE(WaitFor([&] { return (end = TakeUpdateResult(result)).has_value(); }, 4s));
        EXPECT_EQ(UpdateEndMessage(*end), c.told);
        const std::string path = local.Path("AppData/CommonData/update.data");
        EXPECT_FALSE(fs::exists(path + ".part"));
        EXPECT_EQ(server.requests(), std::vector<std::string> {"GET /update/HE%201/update.data"});
        EXPECT_EQ(testsupport::ReadBytes(path), c.expected);
    }
}

TEST_F(DownloaderTest, OnlyOneRunsForAProgramFolderAndAKilledOneDoesNotBlockTheNext)
{
    run.Start();
    ASSERT_TRUE(WaitFor([&] { return fs::exists(run.Path("AppData/DataExchange/downloader.lock")); }, 3s));
    const pid_t first = run.pid();
    ASSERT_TRUE(WaitFor([&] { return RunningDownloader(ExePath(run)) == first; }, 3s)) << "the lock names its pid";
    run.Start();
    int status = 0;
    ASSERT_TRUE(run.WaitEnded(2s, status)) << "a second downloader ends at once";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0) << "the first one still runs";
    EXPECT_TRUE(run.Send(kCmdShowDownloader));

    // Killed outright, it leaves its lock file; the lock itself goes with it.
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    ASSERT_TRUE(fs::exists(run.Path("AppData/DataExchange/downloader.lock")));
    EXPECT_EQ(RunningDownloader(ExePath(run)), 0) << "a stale pid in the lock file is not a downloader";
    run.Start();
    EXPECT_TRUE(run.Send(kCmdShowDownloader)) << "a new downloader takes commands";
    EXPECT_EQ(RunningDownloader(ExePath(run)), run.pid());
}

// Another copy of the program with its own downloader runs on the machine:
// this copy starts and stops its own downloader and never touches the other.
TEST_F(DownloaderTest, TheProgramTalksToTheDownloaderOfItsOwnFolderOnly)
{
    CDownloaderRun other;
    other.Start();
    ASSERT_TRUE(WaitFor([&] { return RunningDownloader(ExePath(other)) == other.pid(); }, 3s));
    EXPECT_EQ(RunningDownloader(ExePath(run)), 0);

    CQuenlowApp app;
    ApplyStartupDefaults(app, run.folder().ansi());
    CDownloaderExchange exchange(app);
    exchange.isAnotherInstanceRunning = [] { return false; };
    // The exchange starts ours detached (not a child of the test): it is
    // stopped by its pid whatever happens below.
    const std::unique_ptr<CQuenlowApp, void (*)(CQuenlowApp*)> stopOurs(
        &app, [](CQuenlowApp* a) { StopDownloader(a->m_strDownloaderPath); });
    ASSERT_TRUE(exchange.SendCommand(kCmdShowDownloader));
    const pid_t ours = RunningDownloader(app.m_strDownloaderPath);
    ASSERT_NE(ours, 0) << "started at once, although another copy's downloader runs";
    EXPECT_NE(ours, other.pid());

    // Replacing our downloader stops ours only.
    run.folder().write("Downloader/new.exe", "new");
    ASSERT_TRUE(exchange.BeginReplacement(run.folder().ansi() + "Downloader/new.exe"));
    EXPECT_EQ(RunningDownloader(app.m_strDownloaderPath), 0);
    EXPECT_EQ(RunningDownloader(ExePath(other)), other.pid());
    EXPECT_EQ(waitpid(other.pid(), nullptr, WNOHANG), 0) << "the other copy's downloader still runs";
}

TEST_F(DownloaderTest, SigtermEndsItPromptlyDuringATransfer)
{
    run.Start();
    SReply reply = Body(MediaBytes(30'000));
    reply.stallAfter = 10000;
    CLoopbackServer server([&](const std::string&) { return reply; }, 1);
    ASSERT_TRUE(run.Send(DlAndPlay(Address(server, "/media/g.mp4"), CacheFolder())));
    ASSERT_TRUE(run.WaitForProgress([](const SProgressFile& f) { return f.lines[kPrefix] == "10000"; }, 5s));

    run.Kill(SIGTERM);
    int status = 0;
    ASSERT_TRUE(run.WaitEnded(2s, status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fs::exists(run.Path("AppData/DataExchange/downloader.lock")));
    EXPECT_EQ(FileSize(TargetPath()), 10000) << "what arrived stays for the player";
}

} // namespace
