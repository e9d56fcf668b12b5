// Download progress and the network-file watches: the progress files read
// from a real exchange folder, and the watches driven second by second with
// a stand-in player, stand-in timers on a simulated clock and a recorder for
// the downloader commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/file.h"
#include "core/downloaderexchange.h"
#include "core/downloadprogress.h"
#include "core/exchangefile.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

std::string Fs(const CString& path) { return AnsiToUtf8Bytes(path.view()); }

// The frame's timers on a simulated clock: Advance fires every timer whose
// period has elapsed, as the window timers would.
class FakeTimers {
public:
    void Set(int id, int ms) { m_timers[id] = {ms, m_now + ms}; }
    void Kill(int id) { m_timers.erase(id); }
    bool Running(int id) const { return m_timers.count(id) != 0; }
    int Period(int id) const { return Running(id) ? m_timers.at(id).period : 0; }
    int64_t Now() const { return m_now; }

    template <typename Fire>
    void Advance(int64_t ms, Fire fire)
    {
        m_now += ms;
        std::vector<int> due;
        for (const auto& [id, timer] : m_timers) {
            if (timer.due <= m_now)
                due.push_back(id);
        }
        for (int id : due) {
            auto it = m_timers.find(id);
            if (it == m_timers.end() || it->second.due > m_now)
                continue;   // killed or restarted by an earlier one
            it->second.due += it->second.period;
            fire(id);
        }
    }

private:
    struct Timer {
        int period;
        int64_t due;
    };
    std::map<int, Timer> m_timers;
    int64_t m_now = 0;
};

struct StandInPlayer {
    int64_t time = 0;
    int64_t length = 0;
    int state = 3;
    bool fullscreen = false;
    int pauses = 0;
    int stops = 0;
    int resumes = 0;
    int reopens = 0;
    std::vector<int> cursorMoves;
};

struct Task {
    std::string target = "/cache/halviksoft.mp4";
    std::string size = "52428800";
    std::string percent = "10.5";
    std::string speed = "204800";
    std::string activity = "1";
    std::string tag = "task-1";
    std::string written = "0";
    std::vector<std::string> parts;
};

class DownloadProgressTest : public testing::Test {
protected:
    void SetUp() override
    {
        ApplyStartupDefaults(app, program.ansi());
        ASSERT_TRUE(CreateFolders(app.m_strDownloaderDataDir));
        app.m_strPlayStateText = "播放中";

        progress.playerTime = [this] { return player.time; };
        progress.playerLength = [this] { return player.length; };
        progress.playerState = [this] { return player.state; };
        progress.pausePlayer = [this] { ++player.pauses; player.state = 4; };
        progress.isPlayerFullscreen = [this] { return player.fullscreen; };
        progress.stopPlayback = [this] { ++player.stops; };
        progress.playFromResumeTime = [this] { ++player.resumes; app.m_strPlayState = "OnPlay"; };
        progress.moveCursorDown = [this](int pixels) { player.cursorMoves.push_back(pixels); };
        progress.reopenMedia = [this] { ++player.reopens; };
        progress.setTimer = [this](int id, int ms) { timers.Set(id, ms); };
        progress.killTimer = [this](int id) { timers.Kill(id); };
        progress.sendCommand = [this](const CString& command) {
            sent.push_back(command.str());
            return sendWorks;
        };
        progress.showStatus = [this](int element, const CString& text) { status[element] = text.str(); };
    }

    // The frame's timer handler for the watch timers.
    void Fire(int id)
    {
        switch (id) {
        case kDlTimerDlAndPlayWatch: progress.OnDlAndPlayTick(); break;
        case kDlTimerBufferingWait: progress.OnBufferingTick(); break;
        case kDlTimerRestartRearm: progress.OnRestartRearmTick(); break;
        case kDlTimerSecondDelete: progress.OnSecondDeleteTick(); break;
        case kDlTimerReopenWait: progress.OnReopenTick(); break;
        default: FAIL() << "unexpected timer " << id;
        }
    }
    void Second() { timers.Advance(1000, [this](int id) { Fire(id); }); }

    std::string DataFolder() const { return Fs(app.m_strDownloaderDataDir); }

    // A progress file as the downloader writes it (CR LF, values padded).
    void WriteTask(const std::string& name, const Task& task)
    {
        const std::vector<std::string> head = {task.target, task.size, task.written, "0", task.percent, task.speed, "0", "0",
                                               task.activity, task.tag};
        std::string text;
        for (const std::string& line : head)
            text += " " + line + " \r\n";
        for (const std::string& part : task.parts)
            text += part + "\r\n";
        program.write("AppData/DataExchange/DownloaderData/" + name, text);
    }
    bool DataFileExists(const std::string& name) const { return fs::exists(DataFolder() + name); }

    // Makes the stall watch see a network file playing at time t.
    void PlayingNetFile(int64_t t)
    {
        app.m_strPlayingNetFile = "true";
        app.m_strPlayState = "OnPlay";
        player.state = 3;
        player.time = t;
        progress.m_nLastPlayTime = t;
    }

    // A download-and-play task of a 1,000,000-byte file that the watch has
    // taken over and handed to the player: `arrived` bytes are there.
    void WatchedDownload(uint64_t arrived, const char* tag = "task-1")
    {
        ASSERT_TRUE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/a.mp4", app.m_strCacheDir)));
        progress.m_strTaskTarget = "/cache/halviksoft.mp4";
        progress.m_strTaskTag = tag;
        app.m_nNetFileSize = 1000000;
        Arrived(arrived);
        progress.OnDlAndPlayTick();
        ASSERT_EQ(app.m_strPendingCommand, "HalvikEnglishPlayNetFile:");
        app.m_strPendingCommand.Empty();
        app.m_strMediaPath = "/cache/halviksoft.mp4";
        app.m_strPlayState = "OnPlay";
    }
    // What a progress reading of the watched task gives.
    void Arrived(uint64_t bytes, bool complete = false)
    {
        progress.m_nDownloadedBytes = bytes;
        app.m_nDownloadPercentValue = complete ? 100 : static_cast<int>(bytes * 100 / 1000000);
        if (complete)
            app.m_strPlayingNetFile.Empty();
    }
    CString TakeMessage()
    {
        int kind = 0, seconds = 0;
        CString text;
        app.TakeMessage(kind, text, seconds);
        return text;
    }

    testsupport::TempProgramFolder program;
    CQuenlowApp app;
    CDownloadProgress progress{app};
    StandInPlayer player;
    FakeTimers timers;
    std::vector<std::string> sent;
    bool sendWorks = true;
    std::map<int, std::string> status;
};

TEST_F(DownloadProgressTest, ChoosesTheOldestOfAtLeastTwoProgressFiles)
{
    struct Case {
        const char* name;
        std::vector<std::string> files;   // a trailing "/" makes a folder
        const char* chosen;               // "" when nothing is to be read
    };
    const Case cases[] = {
        {"empty folder", {}, ""},
        {"only one file (may still be being written)", {"5.data"}, ""},
        {"numeric order, not name order", {"12.data", "7.data", "100.data"}, "7.data"},
        {"leading zeros", {"0009.data", "10.data"}, "0009.data"},
        {"numbers of any size", {"30000000.data", "20000000.data"}, "20000000.data"},
        {"a foreign file does not count", {"7.data", "notes.txt"}, ""},
        {"foreign files are passed over", {"9.data", "1.txt", "readme.data", "4.data.bak", "8.data"}, "8.data"},
        {"folders and files in them are not read", {"1.data/", "sub/2.data", "6.data", "5.data"}, "5.data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(DataFolder());
        fs::create_directories(DataFolder());
        for (const std::string& file : c.files) {
            if (file.back() == '/')
                fs::create_directories(DataFolder() + file);
            else
                program.write("AppData/DataExchange/DownloaderData/" + file, "x");
        }
        const CString chosen = progress.FindProgressFile();
        EXPECT_EQ(chosen.str(), *c.chosen ? DataFolder() + c.chosen : "");
    }
}

TEST_F(DownloadProgressTest, SymbolicLinkIsNoProgressFile)
{
    program.write("elsewhere/1.data", "x");
    fs::create_symlink(program.path() + "elsewhere/1.data", DataFolder() + "1.data");
    WriteTask("2.data", Task{});
    WriteTask("3.data", Task{});
    EXPECT_EQ(progress.FindProgressFile().str(), DataFolder() + "2.data");
}

TEST_F(DownloadProgressTest, ReadsTheFiguresAndTheStatusText)
{
    struct Case {
        const char* percent;
        int value;
        const char* text;
        bool complete;   // the network file no longer counts as downloading
    };
    const Case cases[] = {
        {"37.5", 37, "速度:200 KB/s 进度:37.5%", false},
        {"5.2", 5, "速度:200 KB/s 进度:5.2%", false},
        {"96.99", 96, "速度:200 KB/s 进度:96.99%", false},
        {"96.999", 96, "速度:200 KB/s 进度:96.99%", false},   // the text keeps five characters
        {"97", 97, "速度:200 KB/s 进度:97%", false},       // a transfer can break at 98%:
        {"99.9", 99, "速度:200 KB/s 进度:99.9%", false},   // only every byte is complete
        {"100", 100, "速度:0 KB/s 进度:100%", true},          // read as a number, not as "10"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        app.m_strPlayingNetFile = "true";
        Task task;
        task.percent = c.percent;
        task.speed = "205000";
        WriteTask("1.data", task);
        WriteTask("2.data", task);

        progress.ReadDownloadProgress();
        EXPECT_EQ(app.m_nDownloadPercentValue, c.value);
        EXPECT_EQ(status[kStatusDownloadElement], c.text);
        EXPECT_EQ(app.m_strDownloadStatusText.str(), c.text);
        EXPECT_EQ(app.m_strPlayingNetFile.IsEmpty(), c.complete);
        EXPECT_FALSE(DataFileExists("1.data"));
        EXPECT_TRUE(DataFileExists("2.data"));
        fs::remove(DataFolder() + "2.data");
    }
    // The other figures of the last file, trimmed.
    EXPECT_EQ(progress.m_strTaskTarget, "/cache/halviksoft.mp4");
    EXPECT_EQ(app.m_nDownloadMediaKind, 1);
    EXPECT_EQ(app.m_strDownloadTotalSize, "52428800");
    EXPECT_EQ(app.m_nNetFileSize, 52428800);
    EXPECT_EQ(app.m_strDownloadPercent, "100");
    EXPECT_EQ(app.m_strDownloadSpeed, "205000");
    EXPECT_EQ(progress.m_strTaskTag, "task-1");
    EXPECT_EQ(progress.m_strProgressFilePath.str(), DataFolder() + "1.data");
}

TEST_F(DownloadProgressTest, DownloadedPrefixIsTheFirstValueBelowItsSuccessor)
{
    struct Case {
        std::vector<std::string> parts;
        uint64_t downloaded;
    };
    const Case cases[] = {
        {{}, 0},
        {{"3000", "2000", "5000"}, 2000},
        {{"1000", "2000"}, 1000},
        {{"5000", "4000", "4000"}, 0},                     // no value below the one after it
        {{"7000"}, 0},
        {{"6000000000", "6000000001"}, 6000000000ull},     // 64-bit values
    };
    for (const Case& c : cases) {
        Task task;
        task.parts = c.parts;
        WriteTask("1.data", task);
        WriteTask("2.data", task);
        progress.m_nDownloadedBytes = 12345;
        progress.ReadDownloadProgress();
        EXPECT_EQ(progress.m_nDownloadedBytes, c.downloaded) << testing::PrintToString(c.parts);
        fs::remove(DataFolder() + "2.data");
    }
}

TEST_F(DownloadProgressTest, FileWithFewerThanTenLinesIsLeftForTheNextSecond)
{
    program.write("AppData/DataExchange/DownloaderData/1.data", "/cache/a.mp4\r\n1000\r\n0\r\n0\r\n50\r\n");
    WriteTask("2.data", Task{});
    app.m_nNetFileSize = 77;

    progress.ReadDownloadProgress();
    EXPECT_TRUE(DataFileExists("1.data"));
    EXPECT_EQ(app.m_nNetFileSize, 77);
    EXPECT_EQ(status.count(kStatusDownloadElement), 0u);
}

// Files the downloader never writes: nothing of them reaches the status bar,
// and a huge one is refused by its size without being read.
TEST_F(DownloadProgressTest, ForeignProgressFilesShowNothingAndAreDropped)
{
    std::string huge;
    for (const char* line : {"/cache/a.mp4", "1000", "0", "0", "50", "100", "0", "0", "1", "t"})
        huge += std::string(line) + "\r\n";
    huge += std::string(static_cast<size_t>(kExchangeFileLimit), '7');
    const struct {
        const char* what;
        std::string text;
    } rows[] = {
        {"binary bytes", std::string("\x01\xff\r\n\x80\x81garbage\x00\r\n", 16) + std::string(200, '\n')},
        {"a percentage that is no figure", "/cache/a.mp4\r\n1000\r\n0\r\n0\r\n5%0\xfe\r\n100\r\n0\r\n0\r\n1\r\nt\r\n"},
        {"larger than any progress file", huge},
    };
    for (const auto& row : rows) {
        status.clear();
        program.write("AppData/DataExchange/DownloaderData/1.data", row.text);
        WriteTask("2.data", Task{});
        progress.ReadDownloadProgress();
        EXPECT_EQ(status.count(kStatusDownloadElement), 0u) << row.what;
        EXPECT_FALSE(DataFileExists("1.data")) << row.what;
    }
}

TEST_F(DownloadProgressTest, NoFileToReadShowsTheZeroText)
{
    WriteTask("1.data", Task{});   // a single file is not read
    progress.ReadDownloadProgress();
    EXPECT_EQ(status[kStatusDownloadElement], "速度:0000 KB/s 进度:0000%");
    EXPECT_EQ(app.m_strDownloadStatusText, "速度:0000 KB/s 进度:0000%");
    EXPECT_TRUE(DataFileExists("1.data"));
    EXPECT_TRUE(progress.m_strProgressFilePath.IsEmpty());
}

TEST_F(DownloadProgressTest, IdleTaskShowsTheZeroTextFromTheTenthReadingOn)
{
    Task idle;
    idle.activity = "0";
    for (int reading = 1; reading <= 11; ++reading) {
        WriteTask(std::to_string(reading) + ".data", idle);
        WriteTask(std::to_string(reading + 1) + ".data", idle);
        progress.ReadDownloadProgress();
        EXPECT_EQ(status[kStatusDownloadElement],
                  reading < 10 ? "速度:200 KB/s 进度:10.5%" : "速度:0000 KB/s 进度:0000%")
            << reading;
    }
    // An active reading starts the count again.
    WriteTask("12.data", Task{});
    WriteTask("13.data", Task{});
    progress.ReadDownloadProgress();
    EXPECT_EQ(progress.m_nIdleProgressTicks, 0);
    EXPECT_EQ(status[kStatusDownloadElement], "速度:200 KB/s 进度:10.5%");
}

// After a request the files that tell of earlier tasks are dropped unread:
// those written before the downloader took the command, and late ones of
// the task read last. An earlier task's failure is never taken for the new
// one's, and the new task's first file is read at once.
TEST_F(DownloadProgressTest, DownloadAndPlayReadsOnlyTheNewTasksFiles)
{
    bool waiting = true;
    progress.dlAndPlayCommandWaiting = [&waiting] { return waiting; };
    const auto takeMessage = [this] {
        int kind = 0, seconds = 0;
        CString text;
        app.TakeMessage(kind, text, seconds);
        return text;
    };
    Task old;
    old.tag = "old-task";
    WriteTask("1.data", old);
    WriteTask("2.data", old);
    progress.ReadDownloadProgress();
    ASSERT_EQ(progress.m_strTaskTag, "old-task");

    ASSERT_TRUE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/a.mp4", app.m_strCacheDir)));
    Task oldFailed = old;   // as an earlier refused address ends
    oldFailed.size = "0";
    oldFailed.percent = "0.0";
    oldFailed.activity = "0";
    WriteTask("3.data", oldFailed);
    progress.ReadDownloadProgress();   // the command is still on its way
    EXPECT_FALSE(DataFileExists("2.data"));
    EXPECT_EQ(app.m_nNetFileSize, 52428800) << "dropped unread";

    waiting = false;
    WriteTask("4.data", oldFailed);
    Task fresh;
    fresh.tag = "new-task";
    fresh.size = "1000000";
    WriteTask("5.data", fresh);
    WriteTask("6.data", fresh);
    progress.ReadDownloadProgress();   // 3: late, of the old task
    progress.ReadDownloadProgress();   // 4: the same
    EXPECT_EQ(takeMessage(), "");
    EXPECT_TRUE(timers.Running(kDlTimerDlAndPlayWatch));
    EXPECT_EQ(progress.m_strTaskTag, "old-task");
    progress.ReadDownloadProgress();
    EXPECT_EQ(progress.m_strTaskTag, "new-task");
    EXPECT_EQ(app.m_nNetFileSize, 1000000);
}

TEST_F(DownloadProgressTest, DownloadAndPlayStartsWhenOneFiftiethHasArrived)
{
    ASSERT_TRUE(progress.BeginDlAndPlay("HalvikSoftDlAndPlay:    http://media.cn/a.mp4    /c    halviksoft.mp4"));
    sent.clear();
    Second();   // no progress read yet: nothing happens
    EXPECT_EQ(player.stops, 0);

    progress.m_strTaskTarget = "/cache/halviksoft.mp4";
    progress.m_strTaskTag = "task-1";
    app.m_nNetFileSize = 50000000;   // one fiftieth: 1000000 bytes
    app.m_nDownloadPercentValue = 1;
    progress.m_nDownloadedBytes = 500000;
    Second();
    EXPECT_EQ(player.stops, 1);
    EXPECT_EQ(app.m_strPlayingNetFile, "true");
    EXPECT_EQ(app.m_bNetFileReady, 0);
    EXPECT_EQ(sent, std::vector<std::string>{"Delete0N1DownloaderTask: "});
    EXPECT_EQ(app.m_strMediaPath, "/cache/halviksoft.mp4");
    EXPECT_EQ(app.m_strMediaName, "halviksoft.mp4");
    EXPECT_EQ(status[kStatusPlayStateElement], "缓冲:50%");

    // The task passes 5 percent: the one restart goes out, re-armed after a minute.
    app.m_nDownloadPercentValue = 5;
    progress.m_nDownloadedBytes = 900000;
    Second();
    EXPECT_EQ(sent, (std::vector<std::string>{"Delete0N1DownloaderTask: ", "RestartHalvikSoftDownloader: "}));
    EXPECT_EQ(app.m_bRestartPending, 0);
    EXPECT_EQ(timers.Period(kDlTimerRestartRearm), 60000);
    EXPECT_EQ(status[kStatusPlayStateElement], "缓冲:90%");
    EXPECT_EQ(player.stops, 1);   // only the first tick of a task stops the player

    // Two seconds after the first, timer 1700 sends the delete command once more.
    progress.m_nDownloadedBytes = 1000000;
    Second();
    EXPECT_EQ(sent.back(), "Delete0N1DownloaderTask: ");
    EXPECT_EQ(sent.size(), 3u);
    EXPECT_EQ(status[kStatusPlayStateElement], "缓冲:100%");
    EXPECT_EQ(app.m_strPendingCommand, "HalvikEnglishPlayNetFile:");
    EXPECT_EQ(app.m_bNetFileReady, 1);
    EXPECT_EQ(progress.m_strAcceptedTaskTag, "task-1");
    EXPECT_FALSE(timers.Running(kDlTimerDlAndPlayWatch));
    EXPECT_FALSE(timers.Running(kDlTimerSecondDelete));

    // The accepted task is not taken over again.
    progress.OnDlAndPlayTick();
    EXPECT_EQ(player.stops, 1);
    EXPECT_EQ(sent.size(), 3u);
}

// The address gave nothing (an error answer, no such host): the task ends
// before its first byte, and the learner is told instead of waiting forever.
// A task that ended after bytes arrived is no failure.
TEST_F(DownloadProgressTest, ATaskThatEndsBeforeItsFirstByteIsReportedAndTheWatchStops)
{
    const auto takeMessage = [this] {
        int kind = 0, seconds = 0;
        CString text;
        app.TakeMessage(kind, text, seconds);
        return text;
    };
    ASSERT_TRUE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/missing.mp4", app.m_strCacheDir)));
    Task running;
    running.size = "0";
    running.percent = "0.0";
    WriteTask("1.data", running);   // still trying: nothing to say yet
    Task failed = running;
    failed.activity = "0";
    WriteTask("2.data", failed);
    WriteTask("3.data", failed);
    progress.ReadDownloadProgress();
    EXPECT_EQ(takeMessage(), "");
    EXPECT_TRUE(timers.Running(kDlTimerDlAndPlayWatch));
    progress.ReadDownloadProgress();
    EXPECT_EQ(takeMessage(), "网络文件下载失败，请检查网络地址！");
    EXPECT_FALSE(timers.Running(kDlTimerDlAndPlayWatch));
    // Said once.
    WriteTask("4.data", failed);
    progress.ReadDownloadProgress();
    EXPECT_EQ(takeMessage(), "");

    // A new task: the downloader removes the files of the one before.
    fs::remove(DataFolder() + "4.data");
    ASSERT_TRUE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/a.mp4", app.m_strCacheDir)));
    Task ended;
    ended.activity = "0";
    ended.written = "1000";
    ended.parts = {"1000", "1001"};
    WriteTask("5.data", ended);
    WriteTask("6.data", ended);
    progress.ReadDownloadProgress();
    progress.ReadDownloadProgress();
    EXPECT_EQ(takeMessage(), "");
    EXPECT_TRUE(timers.Running(kDlTimerDlAndPlayWatch));
}

TEST_F(DownloadProgressTest, TaskThatIsNeitherVideoNorAudioEndsTheWatch)
{
    ASSERT_TRUE(progress.BeginDlAndPlay("HalvikSoftDlAndPlay:    x    /c    halviksoft.mp4"));
    progress.m_strTaskTarget = "/cache/setup.zip";
    progress.m_strTaskTag = "task-2";
    app.m_nNetFileSize = 1000;
    progress.m_nDownloadedBytes = 1000;
    Second();
    EXPECT_FALSE(timers.Running(kDlTimerDlAndPlayWatch));
    EXPECT_EQ(player.stops, 0);
    EXPECT_TRUE(app.m_strPendingCommand.IsEmpty());
}

TEST_F(DownloadProgressTest, PlaybackIsCoveredByTheDownloadedPart)
{
    app.m_nNetFileSize = 6000000;
    struct Case {
        const char* name;
        int64_t mediaLength;
        int64_t playerTime;
        int64_t playerLength;
        const char* percent;
        int64_t t;
        uint64_t downloaded;
        bool covered;
    };
    // A 100 s video at 20 s needs one fifth of the file plus one sixtieth:
    // 1200000 + 100000 bytes.
    const Case cases[] = {
        {"one byte short", 100000, 20000, 100000, "21.6", 20000, 1299999, false},
        {"exactly enough", 100000, 20000, 100000, "21.6", 20000, 1300000, true},
        {"first three seconds", 100000, 2999, 100000, "0", 20000, 0, true},
        {"player length below a second", 100000, 20000, 999, "0", 20000, 0, true},
        {"download complete", 100000, 20000, 100000, "100", 20000, 0, true},
        {"last fifteen seconds", 100000, 90000, 100000, "0", 85001, 0, true},
        {"just before the last fifteen seconds", 100000, 90000, 100000, "0", 85000, 5199999, false},
        {"short media: the tail rule covers all of it", 10000, 5000, 10000, "0", 5000, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.m_nMediaLength = c.mediaLength;
        player.time = c.playerTime;
        player.length = c.playerLength;
        app.m_strDownloadPercent = c.percent;
        progress.m_nDownloadedBytes = c.downloaded;
        EXPECT_EQ(progress.IsDownloadedUpTo(c.t), c.covered);
    }

    // The full-buffer amount: 20 MiB for media of 10 s or less, else one sixtieth.
    app.m_nMediaLength = 10000;
    EXPECT_EQ(progress.GetBufferBytes(), 20971520u);
    app.m_nMediaLength = 10001;
    EXPECT_EQ(progress.GetBufferBytes(), 100000u);
}

TEST_F(DownloadProgressTest, StallOfTenSecondsPausesAndBuffers)
{
    PlayingNetFile(40'000);
    progress.m_nDownloadedBytes = 777;
    for (int second = 1; second <= 9; ++second) {
        player.time += 99;   // less than 100 ms of progress per second
        progress.OnStallTick();
    }
    EXPECT_EQ(app.m_strPlayState, "OnPlay");
    EXPECT_EQ(player.pauses, 0);

    player.time += 99;
    progress.OnStallTick();
    EXPECT_EQ(app.m_strPlayState, "OnBuffering");
    EXPECT_EQ(player.pauses, 1);
    EXPECT_EQ(status[kStatusPlayStateElement], "正在缓冲...");
    EXPECT_EQ(app.m_strPlayStateText, "正在缓冲...");
    EXPECT_EQ(timers.Period(kDlTimerBufferingWait), 1000);
    EXPECT_EQ(progress.m_nStallDownloaded, 777u);
    EXPECT_EQ(progress.m_nStallTicks, 0);
    EXPECT_TRUE(player.cursorMoves.empty());   // not full screen
}

TEST_F(DownloadProgressTest, ProgressOrAJumpResetsTheStallCount)
{
    struct Case {
        const char* name;
        int64_t step;   // the player time change in the sixth second
    };
    const Case cases[] = {{"normal playback", 1000}, {"exactly 100 ms", 100}, {"a jump back", -5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayingNetFile(60000);
        progress.m_nStallTicks = 0;
        for (int second = 1; second <= 5; ++second)
            progress.OnStallTick();
        player.time += c.step;
        progress.OnStallTick();
        for (int second = 1; second <= 9; ++second)
            progress.OnStallTick();
        EXPECT_EQ(app.m_strPlayState, "OnPlay");
        EXPECT_EQ(progress.m_nStallTicks, 9);
    }
    // A local file, or a paused one, never counts.
    app.m_strPlayingNetFile.Empty();
    progress.OnStallTick();
    EXPECT_EQ(progress.m_nStallTicks, 0);
}

TEST_F(DownloadProgressTest, FullScreenStallNudgesTheCursorWhenTheBarIsHidden)
{
    player.fullscreen = true;
    for (int barShown : {0, 1}) {
        PlayingNetFile(1000000);
        app.m_bPlayerBarShown = barShown;
        player.cursorMoves.clear();
        for (int second = 1; second <= 10; ++second)
            progress.OnStallTick();
        EXPECT_EQ(app.m_strPlayState, "OnBuffering");
        EXPECT_EQ(player.cursorMoves, barShown ? std::vector<int>{} : std::vector<int>{30});
    }
}

TEST_F(DownloadProgressTest, CatchingUpWithTheDownloadStartsTheBufferingWait)
{
    app.m_nNetFileSize = 6000000;
    app.m_nMediaLength = 100000;
    player.length = 100000;
    app.m_strDownloadPercent = "21";
    progress.m_nDownloadedBytes = 1300000;
    PlayingNetFile(20000);
    progress.OnCatchUpTick();
    EXPECT_EQ(app.m_strPlayState, "OnPlay");

    player.time = 20001;
    progress.OnCatchUpTick();
    EXPECT_EQ(app.m_strPlayState, "OnBuffering");
    EXPECT_TRUE(timers.Running(kDlTimerBufferingWait));
    EXPECT_EQ(progress.m_nStallDownloaded, 1300000u);
}

TEST_F(DownloadProgressTest, BufferingWaitRestartsAtMostEveryTwoMinutesAndResumesWhenFull)
{
    // A 100 s video of 6000000 bytes: a full buffer is 100000 bytes.
    app.m_nNetFileSize = 6000000;
    app.m_nMediaLength = 100000;
    progress.m_nDownloadedBytes = 2000000;
    PlayingNetFile(50000);
    for (int second = 1; second <= 10; ++second)
        progress.OnStallTick();
    ASSERT_EQ(app.m_strPlayState, "OnBuffering");

    // Five minutes without a byte: a restart in the first second, then one
    // each time the two-minute re-arm has run out.
    std::vector<int64_t> restartTimes;
    for (int second = 1; second <= 300; ++second) {
        sent.clear();
        Second();
        if (!sent.empty()) {
            EXPECT_EQ(sent, std::vector<std::string>{"RestartHalvikSoftDownloader: "});
            restartTimes.push_back(timers.Now());
        }
    }
    EXPECT_EQ(restartTimes, (std::vector<int64_t>{1000, 122000, 243000}));
    EXPECT_EQ(status[kStatusPlayStateElement], "缓冲:0%");
    EXPECT_EQ(player.resumes, 0);

    progress.m_nDownloadedBytes = 2040000;
    Second();
    EXPECT_EQ(status[kStatusPlayStateElement], "缓冲:40%");
    EXPECT_EQ(player.resumes, 0);

    progress.m_nDownloadedBytes = 2100000;
    Second();
    EXPECT_EQ(status[kStatusPlayStateElement], "缓冲:100%");
    EXPECT_EQ(player.resumes, 1);
    EXPECT_FALSE(timers.Running(kDlTimerBufferingWait));
    Second();
    EXPECT_EQ(player.resumes, 1);
}

TEST_F(DownloadProgressTest, DownloaderThatCannotRunEndsTheWaitInsteadOfDownloadingForever)
{
    // The real exchange with no downloader installed.
    CDownloaderExchange exchange(app);
    exchange.isDownloaderRunning = [] { return false; };
    progress.sendCommand = [&exchange](const CString& command) { return exchange.SendCommand(command); };

    // Download-and-play: the player state text comes back instead of "正在下载......".
    status[kStatusPlayStateElement] = "正在下载......";
    EXPECT_FALSE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/a.mp4", app.m_strCacheDir)));
    EXPECT_FALSE(timers.Running(kDlTimerDlAndPlayWatch));
    EXPECT_EQ(status[kStatusPlayStateElement], "播放中");
    int kind = 0;
    int seconds = 0;
    CString text;
    ASSERT_TRUE(app.TakeMessage(kind, text, seconds));
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(text, "找不到下载器程序：" + app.m_strDownloaderPath);

    // Buffering: the restart cannot go out, so the wait ends and the file stays paused.
    app.m_nNetFileSize = 6000000;
    app.m_nMediaLength = 100000;
    PlayingNetFile(50000);
    for (int second = 1; second <= 10; ++second)
        progress.OnStallTick();
    Second();
    EXPECT_FALSE(timers.Running(kDlTimerBufferingWait));
    EXPECT_EQ(app.m_strPlayState, "OnPause");
    EXPECT_EQ(status[kStatusPlayStateElement], "暂停");
    EXPECT_EQ(player.resumes, 0);
    EXPECT_TRUE(exchange.Queue().IsEmpty());
}

// An MP4 whose index comes at its end cannot be opened before the whole
// file is there: the refusal is a wait (the download pane shows how far it
// is), the
// file is opened again after each further tenth (five times at most) and
// once it is whole, and only a refusal of the whole file is real.
TEST_F(DownloadProgressTest, AFileTheEngineCannotOpenYetIsOpenedAgainAsMoreArrives)
{
    WatchedDownload(20000);
    ASSERT_TRUE(progress.WaitToReopen());
    EXPECT_EQ(app.m_strPlayState, "OnBuffering");
    EXPECT_EQ(status[kStatusPlayStateElement], "正在缓冲...");
    EXPECT_EQ(timers.Period(kDlTimerReopenWait), 1000);

    Arrived(110000);   // not yet a further tenth
    Second();
    EXPECT_EQ(player.reopens, 0);
    EXPECT_EQ(status[kStatusPlayStateElement], "正在缓冲...");
    uint64_t arrived = 110000;
    for (int tryNumber = 1; tryNumber <= 7; ++tryNumber) {
        arrived += 110000;
        Arrived(arrived);
        Second();
        EXPECT_EQ(player.reopens, std::min(tryNumber, 5)) << "after try " << tryNumber;
        if (!timers.Running(kDlTimerReopenWait)) {
            ASSERT_TRUE(progress.WaitToReopen()) << "refused again while it downloads";
        }
    }
    EXPECT_EQ(TakeMessage(), "");

    Arrived(1000000, true);
    Second();
    EXPECT_EQ(player.reopens, 6);
    EXPECT_FALSE(timers.Running(kDlTimerReopenWait));
    EXPECT_FALSE(progress.WaitToReopen()) << "the whole file refused is a real failure";
}

TEST_F(DownloadProgressTest, OnlyTheDownloadInProgressWaitsToBeOpenedAgain)
{
    // Another file of the learner's.
    WatchedDownload(20000);
    app.m_strMediaPath = "/videos/lesson.mp4";
    EXPECT_FALSE(progress.WaitToReopen());
    EXPECT_FALSE(timers.Running(kDlTimerReopenWait));

    // The learner opens something else during the wait: the wait ends.
    app.m_strMediaPath = "/cache/halviksoft.mp4";
    ASSERT_TRUE(progress.WaitToReopen());
    app.m_strMediaPath = "/videos/lesson.mp4";
    app.m_strPlayState = "OnPlay";
    Arrived(1000000, true);
    Second();
    EXPECT_FALSE(timers.Running(kDlTimerReopenWait));
    EXPECT_EQ(player.reopens, 0);
}

// A transfer that ended short after its retries is said once, with how far
// it came; the waits for more of it end instead of waiting for good, and a
// percentage of 98 is not taken for a whole file.
TEST_F(DownloadProgressTest, ADownloadThatEndsShortIsReportedAndEndsTheWaits)
{
    WatchedDownload(20000);
    app.m_strPlayingNetFile = "true";
    ASSERT_TRUE(progress.WaitToReopen());
    Task broken;
    broken.tag = "task-1";
    broken.size = "1000000";
    broken.percent = "98.0";
    broken.activity = "0";
    broken.parts = {"980000", "980001"};
    for (const char* name : {"1.data", "2.data", "3.data"})
        WriteTask(name, broken);
    progress.ReadDownloadProgress();
    EXPECT_EQ(TakeMessage(), "网络文件下载中断，已下载98.0%，请稍后重试！");
    EXPECT_EQ(app.m_strPlayingNetFile, "true") << "98% is not complete";
    progress.ReadDownloadProgress();
    EXPECT_EQ(TakeMessage(), "") << "said once";

    Second();
    EXPECT_FALSE(timers.Running(kDlTimerReopenWait));
    EXPECT_EQ(player.reopens, 0);
    EXPECT_EQ(status[kStatusPlayStateElement], "停止");
    EXPECT_FALSE(progress.WaitToReopen());
}

// A new download ends the task before, so a network file it had not
// finished is played no longer: it would stop where its bytes end, buffer
// and start over for good. When the new address then fails, the player
// stays stopped with the failure said. A whole file plays on meanwhile.
class NewDownloadAfterANetFileTest : public DownloadProgressTest {
protected:
    // A network file playing when a download of a missing address starts;
    // the number of times the player was stopped for it.
    int RequestAMissingAddress(bool oldWhole)
    {
        progress.stopPlayback = [this] {
            ++player.stops;
            player.state = 5;
            app.m_strPlayState = "OnStop";
            app.m_strPlayStateText = "停止";
        };
        WatchedDownload(20000);
        player = StandInPlayer();
        app.m_strPlayingNetFile = "true";
        app.m_nMediaLength = 20000;
        Arrived(oldWhole ? 1000000 : 350000, oldWhole);

        EXPECT_TRUE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/missing.mp4", app.m_strCacheDir)));
        const int stops = player.stops;
        Task failed;
        failed.tag = "task-2";
        failed.size = "0";
        failed.percent = "0.0";
        failed.activity = "0";
        for (const char* name : {"1.data", "2.data", "3.data"})
            WriteTask(name, failed);
        progress.ReadDownloadProgress();
        progress.ReadDownloadProgress();
        EXPECT_EQ(TakeMessage(), "网络文件下载失败，请检查网络地址！");
        return stops;
    }
};

TEST_F(NewDownloadAfterANetFileTest, AnUnfinishedFileStopsAndStaysStopped)
{
    EXPECT_EQ(RequestAMissingAddress(false), 1);
    EXPECT_EQ(status[kStatusPlayStateElement], "停止");
    // A minute on: the old file is neither resumed, reopened nor buffered.
    for (int second = 0; second < 60; ++second) {
        player.time = 12000;
        progress.OnStallTick();
        progress.OnCatchUpTick();
        EXPECT_FALSE(progress.WaitAtDownloadedEnd(12000));
        Second();
    }
    EXPECT_EQ(player.resumes, 0);
    EXPECT_EQ(player.reopens, 0);
    EXPECT_EQ(app.m_strPlayState, "OnStop");
    EXPECT_EQ(status[kStatusPlayStateElement], "停止");
}

TEST_F(NewDownloadAfterANetFileTest, AWholeFilePlaysOn)
{
    EXPECT_EQ(RequestAMissingAddress(true), 0);
    EXPECT_EQ(app.m_strPlayState, "OnPlay");
}

// While the new task has sent nothing yet, the figures last read are those
// of the task before: the watch's second must not take that task over, or
// the new task's failure would go unsaid. Whichever of the reading and the
// watch comes first, the failure is said.
class NewDownloadDuringAStartBufferTest : public DownloadProgressTest,
                                          public testing::WithParamInterface<bool> {};

TEST_P(NewDownloadDuringAStartBufferTest, TheTaskBeforeIsNotTakenForTheNewOneThatFails)
{
    const bool watchFirst = GetParam();
    // A large download still filling its start buffer.
    ASSERT_TRUE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/big.mp4", app.m_strCacheDir)));
    Task big;
    big.tag = "big-task";
    big.size = "5368709120";
    big.percent = "0.0";
    big.written = "2147483";
    big.parts = {"2147483", "2147484"};
    WriteTask("1.data", big);
    WriteTask("2.data", big);
    progress.ReadDownloadProgress();
    Second();
    ASSERT_EQ(status[kStatusPlayStateElement], "缓冲:1%");

    ASSERT_TRUE(progress.BeginDlAndPlay(ComposeDlAndPlayCommand("http://media.cn/missing.mp4", app.m_strCacheDir)));
    if (watchFirst)
        Second();
    Task failed;
    failed.tag = "missing-task";
    failed.size = "0";
    failed.percent = "0.0";
    failed.activity = "0";
    WriteTask("3.data", failed);
    WriteTask("4.data", failed);
    progress.ReadDownloadProgress();   // 2.data: the big task's, dropped
    progress.ReadDownloadProgress();
    EXPECT_EQ(TakeMessage(), "网络文件下载失败，请检查网络地址！");
    EXPECT_FALSE(timers.Running(kDlTimerDlAndPlayWatch));
    EXPECT_FALSE(progress.m_bAwaitingTask);
}

INSTANTIATE_TEST_SUITE_P(WatchOrReadingFirst, NewDownloadDuringAStartBufferTest, testing::Bool());

// Playback that reaches the end of what has arrived waits there for more
// instead of ending (and starting the next file, or the same one again).
TEST_F(DownloadProgressTest, TheEndOfWhatArrivedIsNoEndOfTheMedia)
{
    struct Case {
        const char* what;
        bool netFile;
        bool complete;
        bool broken;
        bool waits;           // the caller does not go on to the next file
        bool bufferingWait;   // timer 1500 runs
        const char* state;
    };
    const Case cases[] = {
        {"an ordinary file", false, false, false, false, false, "OnPlay"},
        {"a whole download", true, true, false, false, false, "OnPlay"},
        {"a download in progress", true, false, false, true, true, "OnBuffering"},
        {"a download that ended short", true, false, true, true, false, "OnPause"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        timers.Kill(kDlTimerBufferingWait);
        WatchedDownload(500000, c.what);
        app.m_strPlayingNetFile = c.netFile ? "true" : "";
        Arrived(c.complete ? 1000000 : 500000, c.complete);
        progress.m_bDownloadBroken = c.broken;
        app.m_nResumeTime = 0;
        EXPECT_EQ(progress.WaitAtDownloadedEnd(41'000), c.waits);
        EXPECT_EQ(timers.Running(kDlTimerBufferingWait), c.bufferingWait);
        EXPECT_EQ(app.m_strPlayState, c.state);
        if (c.waits) {
            EXPECT_EQ(app.m_nResumeTime, 41'000) << "goes on from there";
        }
    }

    // The wait ends when the file is whole, however little it still needed.
    timers.Kill(kDlTimerBufferingWait);
    WatchedDownload(500000, "short clip");
    app.m_strPlayingNetFile = "true";
    app.m_nMediaLength = 8000;   // a short clip wants a 20 MiB buffer
    ASSERT_TRUE(progress.WaitAtDownloadedEnd(7000));
    Second();
    EXPECT_EQ(player.resumes, 0);
    Arrived(1000000, true);
    Second();
    EXPECT_EQ(player.resumes, 1);
    EXPECT_FALSE(timers.Running(kDlTimerBufferingWait));
}

} // namespace
