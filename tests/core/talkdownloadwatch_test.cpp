// The talk downloads as the learner sees them: the downloader's reports read
// from a real exchange folder, second by second, into the download pane's
// text, the caption messages and the talks that arrived.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/file.h"
#include "core/messagekind.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "core/talkdownloadreport.h"
#include "core/talkdownloadwatch.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

STalkDownloadReport Report(ETalkDownloadState state, const char* name, int64_t total, int64_t written,
                           int64_t speed = 0, const char* cause = "")
{
    STalkDownloadReport report;
    report.state = state;
    report.name = name;
    report.total = total;
    report.written = written;
    report.bytesPerSecond = speed;
    report.cause = cause;
    return report;
}

class TalkDownloadWatchTest : public testing::Test {
protected:
    void SetUp() override { ApplyStartupDefaults(app, program.ansi()); }

    std::string Folder() const { return AnsiToUtf8Bytes(TalkReportFolder(app.m_strAppDir).view()); }
    void Write(int number, const STalkDownloadReport& report)
    {
        program.write("AppData/DataExchange/TalkDownloads/" + std::to_string(number) + ".data",
                      TalkReportText(report).str());
    }
    // The message slot's notice ("" when none), emptied.
    std::string TakeMessage(int* kind = nullptr)
    {
        int k = 0;
        int seconds = 0;
        CString text;
        if (!app.TakeMessage(k, text, seconds))
            return "";
        if (kind)
            *kind = k;
        return text.str();
    }
    size_t FilesLeft() const
    {
        size_t count = 0;
        if (fs::exists(Folder()))
            for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Folder()))
                ++count;
        return count;
    }

    testsupport::TempFolder program;
    CQuenlowApp app;
    CTalkDownloadWatch watch {app};
};

TEST_F(TalkDownloadWatchTest, ProgressStaysInThePaneUntilTheTalkEnds)
{
    Write(1, Report(ETalkDownloadState::Running, "Talk.mp4", 200000, 20000));
    Write(2, Report(ETalkDownloadState::Running, "Talk.mp4", 200000, 130000, 51200));
    STalkDownloadNews news = watch.ReadReports();
    EXPECT_TRUE(news.running);
    EXPECT_EQ(news.statusText.str(), "速度:50 KB/s 进度:65.0%") << "the newest report counts";
    EXPECT_EQ(FilesLeft(), 0u) << "every report is read once";
    EXPECT_EQ(TakeMessage(), "");

    // A second without a report (a transfer taken up again after a break)
    // keeps the last figures: the pane never falls back to nothing.
    news = watch.ReadReports();
    EXPECT_TRUE(news.running);
    EXPECT_EQ(news.statusText.str(), "速度:50 KB/s 进度:65.0%");

    Write(3, Report(ETalkDownloadState::Done, "Talk.mp4", 200000, 200000));
    news = watch.ReadReports();
    EXPECT_FALSE(news.running);
    EXPECT_EQ(news.done, (std::vector<CString> {"Talk.mp4"}));
    int kind = 0;
    EXPECT_EQ(TakeMessage(&kind), "下载完成：Talk.mp4");
    EXPECT_EQ(kind, kMessageInfo);
    // The whole file's figures stay a while, then the pane is free again.
    EXPECT_EQ(news.statusText.str(), "速度:0 KB/s 进度:100%");
    int shown = 1;
    while (!watch.ReadReports().statusText.IsEmpty() && shown < 100)
        ++shown;
    EXPECT_GE(shown, 5);
    EXPECT_LE(shown, 15);
}

TEST_F(TalkDownloadWatchTest, EndsOfOneSecondMakeOneMessageInTheirOrder)
{
    struct SCase {
        const char* why;
        std::vector<STalkDownloadReport> reports;   // numbered 8, 9, 10, ... (9 before 10)
        const char* message;
        int kind;
        std::vector<CString> done;
    };
    const std::vector<SCase> cases = {
        {"a missing talk",
         {Report(ETalkDownloadState::Failed, "A.mp4", 0, 0, 0, "服务器回答 404")},
         "下载失败：A.mp4（服务器回答 404）", kMessageError, {}},
        {"a broken transfer after its retries",
         {Report(ETalkDownloadState::Running, "A.mp4", 1000, 650),
          Report(ETalkDownloadState::Failed, "A.mp4", 1000, 650, 0, "传输中断：已从断点重试3次，收到65.0%")},
         "下载失败：A.mp4（传输中断：已从断点重试3次，收到65.0%）", kMessageError, {}},
        {"a queue cancelled, and one that made it before",
         {Report(ETalkDownloadState::Done, "A.mp4", 10, 10), Report(ETalkDownloadState::Failed, "B.mp4", 0, 0, 0, "下载已取消"),
          Report(ETalkDownloadState::Done, "C.mp4", 10, 10), Report(ETalkDownloadState::Failed, "D.mp4", 0, 0, 0, "下载已取消")},
         "下载完成：A.mp4、C.mp4  下载失败：B.mp4（下载已取消）；D.mp4（下载已取消）", kMessageError, {"A.mp4", "C.mp4"}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.why);
        int number = 8;
        for (const STalkDownloadReport& report : c.reports)
            Write(number++, report);
        const STalkDownloadNews news = watch.ReadReports();
        EXPECT_FALSE(news.running);
        EXPECT_EQ(news.done, c.done);
        int kind = 0;
        EXPECT_EQ(TakeMessage(&kind), c.message);
        EXPECT_EQ(kind, c.kind);
    }
}

TEST_F(TalkDownloadWatchTest, StrayFilesShowNothingAndNeverBlock)
{
    program.write("AppData/DataExchange/TalkDownloads/1.data", std::string("\x01\xff\x00garbage", 10));
    program.write("AppData/DataExchange/TalkDownloads/2.data", "running\r\nTalk.mp4\r\nmany\r\n0\r\n0\r\n\r\n");
    program.write("AppData/DataExchange/TalkDownloads/3.data", "done\r\n../../etc/passwd\r\n1\r\n1\r\n0\r\n\r\n");
    program.write("AppData/DataExchange/TalkDownloads/4.data", std::string(200'000, '7'));
    ASSERT_EQ(::mkfifo((Folder() + "5.data").c_str(), 0600), 0);
    program.write("AppData/DataExchange/TalkDownloads/notes.txt", "the learner's");

    const STalkDownloadNews news = watch.ReadReports();
    EXPECT_FALSE(news.running);
    EXPECT_TRUE(news.done.empty());
    EXPECT_EQ(TakeMessage(), "");
    EXPECT_EQ(FilesLeft(), 1u) << "only a file that is no report's stays";
}

TEST_F(TalkDownloadWatchTest, ADownloaderThatFallsSilentIsReportedOnce)
{
    Write(1, Report(ETalkDownloadState::Running, "Talk.mp4", 1000, 400));
    EXPECT_TRUE(watch.ReadReports().running);
    int readings = 1;
    while (watch.ReadReports().running && readings < 100)
        ++readings;
    EXPECT_GE(readings, 10) << "a few quiet seconds are a slow server, not a lost downloader";
    EXPECT_LE(readings, 20);
    EXPECT_EQ(TakeMessage(), "下载失败：Talk.mp4（下载程序已停止）");
    watch.ReadReports();
    EXPECT_EQ(TakeMessage(), "");
}

TEST(TalkDownloadReportTest, TextReadsBackAndOnlyAReportIsTaken)
{
    STalkDownloadReport report = Report(ETalkDownloadState::Failed, "演讲-480p.mp4", 300, 120, 0, "传输中断\r\n第二行");
    const std::optional<STalkDownloadReport> back = ParseTalkReport(TalkReportText(report));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->state, ETalkDownloadState::Failed);
    EXPECT_EQ(back->name, report.name);
    EXPECT_EQ(back->total, 300);
    EXPECT_EQ(back->written, 120);
    EXPECT_EQ(back->cause.str(), "传输中断  第二行") << "a line end in the cause shifts no line";

    for (const char* text : {"", "finished\r\nA.mp4\r\n1\r\n1\r\n0\r\n\r\n", "done\r\n\r\n1\r\n1\r\n0\r\n\r\n",
                             "done\r\nA.mp4\r\n-1\r\n1\r\n0\r\n\r\n", "done\r\nA.mp4\r\n1\r\n1\r\n0\r\n",
                             "done\r\nA.mp4\r\n1\r\n99999999999999999999\r\n0\r\n\r\n"})
        EXPECT_FALSE(ParseTalkReport(text).has_value()) << text;
}

} // namespace
