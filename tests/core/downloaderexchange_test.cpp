// The exchange with the downloader over real files in a temporary program
// folder: the outgoing queue handed over one command per second to a
// stand-in downloader, the start of a downloader that is not running, the
// incoming command file, the start-up clean-up and the replacement by a
// newer copy.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/file.h"
#include "core/downloaderexchange.h"
#include "core/exchangefile.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

std::string Fs(const CString& path) { return AnsiToUtf8Bytes(path.view()); }

class DownloaderExchangeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ApplyStartupDefaults(app, program.ansi());
        exchange.isDownloaderRunning = [this] {
            ++runningQueries;
            return downloaderRunning;
        };
        exchange.startProgram = [this](const CString& path) {
            started.push_back(path);
            return startSucceeds;
        };
        exchange.stopDownloader = [this] { ++stopped; };
        exchange.isAnotherInstanceRunning = [this] { return anotherInstance; };
    }

    void InstallDownloader(const std::string& bytes = "old")
    {
        program.write("Downloader/HalvikSoftDownloader.exe", bytes);
    }

    // The stand-in downloader: takes a complete pair (marker present) and
    // deletes both files, as the real one does.
    void PeerTakes()
    {
        const std::string command = Fs(app.m_strOutboxCommandPath);
        const std::string marker = Fs(app.m_strOutboxMarkerPath);
        if (!fs::exists(marker))
            return;
        received.push_back(testsupport::ReadBytes(command));
        fs::remove(command);
        fs::remove(marker);
    }

    // The message in the slot ("" when there is none).
    std::string TakeMessage(int* kind = nullptr) { return testsupport::TakeMessage(app, kind).str(); }

    testsupport::TempProgramFolder program;
    CQuenlowApp app;
    CDownloaderExchange exchange{app};
    bool downloaderRunning = true;
    bool startSucceeds = true;
    bool anotherInstance = false;
    int runningQueries = 0;
    std::vector<CString> started;
    int stopped = 0;
    std::vector<std::string> received;
};

TEST_F(DownloaderExchangeTest, HandsOverOneCommandPerSecondInOrderThenOneEmptyCommand)
{
    // The shipped tree has no exchange folders: the first hand-over makes them.
    ASSERT_FALSE(fs::exists(Fs(app.m_strOutboxCommandPath)));
    ASSERT_FALSE(fs::exists(fs::path(Fs(app.m_strOutboxCommandPath)).parent_path()));

    ASSERT_TRUE(exchange.SendCommand(kCmdStopAllDownloadTask));
    ASSERT_TRUE(exchange.SendCommand(ComposeDlAndPlayCommand("http://media.cn/a.mp4", app.m_strCacheDir)));
    ASSERT_TRUE(exchange.SendCommand(kCmdShowDownloader));
    EXPECT_EQ(runningQueries, 3);
    EXPECT_TRUE(started.empty());

    // Second 1: the first command goes out; the downloader has not taken it
    // by second 2, so nothing is overwritten.
    EXPECT_TRUE(exchange.HandOver());
    EXPECT_EQ(testsupport::ReadBytes(Fs(app.m_strOutboxCommandPath)), "StopAllDownloadTask: ");
    EXPECT_TRUE(fs::exists(Fs(app.m_strOutboxMarkerPath)));
    EXPECT_FALSE(exchange.HandOver());
    EXPECT_EQ(testsupport::ReadBytes(Fs(app.m_strOutboxCommandPath)), "StopAllDownloadTask: ");

    PeerTakes();

    // A marker left alone keeps the outbox busy as well.
    program.write("AppData/CommandExchange/Player2Downloader/commandcopy.data", "");
    EXPECT_FALSE(exchange.HandOver());
    fs::remove(Fs(app.m_strOutboxMarkerPath));

    for (int second = 0; second < 3; ++second) {
        EXPECT_TRUE(exchange.HandOver());
        PeerTakes();
    }
    const std::string dlAndPlay = "HalvikSoftDlAndPlay:    http://media.cn/a.mp4    " + program.path() +
                                  "CacheFolder    halviksoft.mp4";
    EXPECT_EQ(received, (std::vector<std::string>{"StopAllDownloadTask: ", dlAndPlay, "ShowHalvikSoftDownloader: ",
                                                  ""}));   // the empty command once the queue drained
    EXPECT_TRUE(exchange.Queue().IsEmpty());

    // Nothing more goes out until a command is queued.
    EXPECT_FALSE(exchange.HandOver());
    EXPECT_FALSE(fs::exists(Fs(app.m_strOutboxMarkerPath)));
    EXPECT_EQ(TakeMessage(), "");
}

TEST_F(DownloaderExchangeTest, CommandQueuedLaterFollowsTheHandedOverEntries)
{
    exchange.SendCommand("A: ");
    exchange.SendCommand("B: ");
    exchange.HandOver();
    PeerTakes();
    // An entry of one character is no command and is passed over.
    exchange.SendCommand("x");
    exchange.SendCommand("C: ");
    EXPECT_EQ(exchange.Queue().GetSize(), 4);
    for (int second = 0; second < 4; ++second) {
        exchange.HandOver();
        PeerTakes();
    }
    EXPECT_EQ(received, (std::vector<std::string>{"A: ", "B: ", "C: ", ""}));
    EXPECT_TRUE(exchange.Queue().IsEmpty());
}

TEST_F(DownloaderExchangeTest, NoRunningDownloaderDeletesTheWaitingPairAndStartsIt)
{
    InstallDownloader();
    program.write("AppData/CommandExchange/Player2Downloader/command.data", "RestartHalvikSoftDownloader: ");
    program.write("AppData/CommandExchange/Player2Downloader/commandcopy.data", "");

    // While it runs, the waiting pair is its business.
    EXPECT_TRUE(exchange.SendCommand(kCmdUpdate));
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(fs::exists(Fs(app.m_strOutboxCommandPath)));

    downloaderRunning = false;
    EXPECT_TRUE(exchange.SendCommand(kCmdShowDownloader));
    EXPECT_EQ(started, std::vector<CString>{app.m_strDownloaderPath});
    EXPECT_FALSE(fs::exists(Fs(app.m_strOutboxCommandPath)));
    EXPECT_FALSE(fs::exists(Fs(app.m_strOutboxMarkerPath)));
    EXPECT_EQ(exchange.Queue().GetSize(), 2);
    EXPECT_EQ(TakeMessage(), "");
}

TEST_F(DownloaderExchangeTest, DownloaderThatCannotRunIsReportedAndNothingIsQueued)
{
    struct Case {
        const char* name;
        bool installed;
        bool startWorks;
        const char* message;
    };
    const Case cases[] = {
        {"missing", false, true, "找不到下载器程序："},
        {"start fails", true, false, "无法启动下载器程序："},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Fs(app.m_strDownloaderPath));
        if (c.installed)
            InstallDownloader();
        downloaderRunning = false;
        startSucceeds = c.startWorks;
        started.clear();

        EXPECT_FALSE(exchange.SendCommand(kCmdStopAllDownloadTask));
        EXPECT_EQ(started.size(), c.installed ? 1u : 0u);
        int kind = 0;
        EXPECT_EQ(TakeMessage(&kind), (CString(c.message) + app.m_strDownloaderPath).str());
        EXPECT_EQ(kind, 1);   // an error
        EXPECT_TRUE(exchange.Queue().IsEmpty());
        EXPECT_FALSE(exchange.HandOver());
        EXPECT_FALSE(fs::exists(Fs(app.m_strOutboxCommandPath)));
    }

    // A missing program is said once; every later command fails quietly
    // until the program is there.
    fs::remove(Fs(app.m_strDownloaderPath));
    EXPECT_FALSE(exchange.SendCommand(kCmdStopAllDownloadTask));
    EXPECT_NE(TakeMessage().find("找不到下载器程序"), std::string::npos);
    EXPECT_FALSE(exchange.SendCommand(kCmdStopAllDownloadTask));
    EXPECT_EQ(TakeMessage(), "");
    InstallDownloader();
    startSucceeds = true;
    EXPECT_TRUE(exchange.SendCommand(kCmdStopAllDownloadTask));
}

TEST_F(DownloaderExchangeTest, CommandThatCannotBeWrittenStaysQueuedAndIsReportedOnce)
{
    // A file where the exchange folder should be: the folder cannot be made.
    program.write("AppData/CommandExchange/Player2Downloader", "in the way");
    exchange.SendCommand("A: ");

    EXPECT_FALSE(exchange.HandOver());
    int kind = 0;
    EXPECT_NE(TakeMessage(&kind).find("无法写入下载器命令文件"), std::string::npos);
    EXPECT_EQ(kind, 1);
    EXPECT_FALSE(exchange.HandOver());
    EXPECT_EQ(TakeMessage(), "");   // reported once, not every second
    EXPECT_EQ(exchange.Queue().GetSize(), 1);

    fs::remove(program.path() + "AppData/CommandExchange/Player2Downloader");
    EXPECT_TRUE(exchange.HandOver());
    PeerTakes();
    EXPECT_EQ(received, std::vector<std::string>{"A: "});
}

TEST_F(DownloaderExchangeTest, TakesTheDownloadersCommandFileAway)
{
    EXPECT_FALSE(exchange.ReadDownloaderCommand());

    program.write("AppData/CommandExchange/Downloader2Player/command.data", "TaskFinished: 3\r\nsecond line\r\n");
    program.write("AppData/CommandExchange/Downloader2Player/commandcopy.data", "");
    EXPECT_TRUE(exchange.ReadDownloaderCommand());
    EXPECT_EQ(exchange.InboxLine(), "TaskFinished: 3");
    EXPECT_FALSE(fs::exists(Fs(app.m_strInboxCommandPath)));
    EXPECT_TRUE(fs::exists(Fs(app.m_strInboxMarkerPath)));   // the marker is not looked at

    // Something that is not a small regular file is left unread, at once:
    // a FIFO is never waited on, a huge file never read.
    const std::string path = Fs(app.m_strInboxCommandPath);
    const auto leftUnread = [&](const char* what) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(exchange.ReadDownloaderCommand()) << what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << what;
        EXPECT_TRUE(fs::exists(path)) << what;
        fs::remove_all(path);
    };
    fs::create_directories(path);
    leftUnread("a folder");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    leftUnread("a FIFO");
    program.write("AppData/CommandExchange/Downloader2Player/command.data",
                  "TaskFinished: 4\r\n" + std::string(static_cast<size_t>(kExchangeFileLimit), 'x'));
    leftUnread("a file larger than any command");
}

TEST_F(DownloaderExchangeTest, StartUpDeletesTheLeftoverExchangeFilesUnlessAnotherInstanceOwnsThem)
{
    const std::vector<std::string> exchangeFiles = {
        "AppData/CommandExchange/Downloader2Player/command.data",
        "AppData/CommandExchange/Player2Downloader/command.data",
        "AppData/CommandExchange/Player2Downloader/commandcopy.data",
        "AppData/CommandExchange/Downloader2Player/commandcopy.data",
    };
    const std::string firstStart = "AppData/Temp/firstupstartup.data";
    for (const bool otherInstance : {false, true}) {
        SCOPED_TRACE(otherInstance ? "another instance runs" : "alone");
        anotherInstance = otherInstance;
        for (const std::string& file : exchangeFiles)
            program.write(file, "x");
        program.write(firstStart, "x");
        program.write("AppData/CommandExchange/Player2Downloader/other.data", "kept");

        exchange.CleanUpExchangeFiles(app.m_strAppDir + kFirstStartRelPath);
        // The other instance's command waiting for the downloader is its own.
        for (const std::string& file : exchangeFiles)
            EXPECT_EQ(fs::exists(program.path() + file), otherInstance) << file;
        EXPECT_FALSE(fs::exists(program.path() + firstStart));
        EXPECT_TRUE(fs::exists(program.path() + "AppData/CommandExchange/Player2Downloader/other.data"));
        exchange.CleanUpExchangeFiles(app.m_strAppDir + kFirstStartRelPath);   // nothing more to do: no harm
    }
}

TEST_F(DownloaderExchangeTest, ReplacementStopsTheDownloaderAndRenamesTheNewCopyOverIt)
{
    const CString newPath = app.m_strAppDir + kNewDownloaderRelPath;
    InstallDownloader("old");
    EXPECT_FALSE(exchange.BeginReplacement(newPath));   // no newer copy
    EXPECT_EQ(stopped, 0);

    program.write(kNewDownloaderRelPath, "new");
    EXPECT_TRUE(exchange.BeginReplacement(newPath));
    EXPECT_EQ(stopped, 1);

    EXPECT_TRUE(exchange.FinishReplacement(newPath));
    EXPECT_EQ(testsupport::ReadBytes(Fs(app.m_strDownloaderPath)), "new");
    EXPECT_FALSE(fs::exists(Fs(newPath)));
}

TEST_F(DownloaderExchangeTest, FailedReplacementKeepsTheOldDownloader)
{
    const CString newPath = app.m_strAppDir + kNewDownloaderRelPath;
    InstallDownloader("old");
    program.write(kNewDownloaderRelPath, "new");
    exchange.renameFile = [](const CString&, const CString&) { return false; };

    EXPECT_FALSE(exchange.FinishReplacement(newPath));
    EXPECT_EQ(testsupport::ReadBytes(Fs(app.m_strDownloaderPath)), "old");
    EXPECT_EQ(testsupport::ReadBytes(Fs(newPath)), "new");
}

} // namespace
