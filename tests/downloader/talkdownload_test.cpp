// One talk download against loopback servers that break off, stall, pace
// their bytes or have no such talk: what lands in the playlist folder, the
// requests made on the way, and the reports the program reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/progressfileformat.h"
#include "core/talkdownloadreport.h"
#include "downloader/talkdownloads.h"
#include "downloader/talkreports.h"
#include "platform/file.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string VideoBytes(size_t size)
{
    std::string bytes(size, '\0');
    unsigned value = 7;
    for (char& c : bytes) {
        value = value * 1103515245u + 12345u;
        c = static_cast<char>(value >> 16);
    }
    return bytes;
}

// Runs one download as the talk worker does, with the downloader's main
// loop ticking the reports meanwhile, and reads the reports back in order.
struct STalkRun {
    std::vector<STalkDownloadReport> reports;
    bool targetThere = false;
    std::string targetBytes;
    std::vector<std::string> leftovers;   // other files in the playlist folder
};

STalkRun RunTalkDownload(const std::string& address, const CString& name)
{
    testsupport::TempFolder folder;
    const CString playlist = folder.ansi() + "Playlist/";
    const CString reportFolder = TalkReportFolder(folder.ansi());
    CTalkReports reports(reportFolder, folder.ansi() + "talkreport.tmp");
    STalkFetchRules rules;
    rules.limits.connectTimeoutMs = 2000;
    rules.limits.stallSeconds = 1;
    rules.retries = 2;
    rules.retryPause = 50ms;
    std::atomic<bool> cancel {false};
    std::atomic<bool> ended {false};

    reports.Queue(name);
    std::thread worker([&] {
        DownloadTalk(address, playlist, rules, reports, cancel);
        ended = true;
    });
    for (auto deadline = std::chrono::steady_clock::now() + 20s; !ended && std::chrono::steady_clock::now() < deadline;) {
        reports.Tick(std::chrono::steady_clock::now());
        std::this_thread::sleep_for(50ms);
    }
    cancel = true;
    worker.join();
    reports.Tick(std::chrono::steady_clock::now());

    STalkRun run;
    std::vector<std::pair<long long, std::string>> files;
    for (const auto& entry : fs::directory_iterator(ToFsPath(reportFolder)))
        files.emplace_back(std::stoll(entry.path().stem().string()), entry.path().string());
    std::sort(files.begin(), files.end());
    for (const auto& [number, path] : files) {
        const std::optional<STalkDownloadReport> report = ParseTalkReport(CString(testsupport::ReadBytes(path)));
        EXPECT_TRUE(report.has_value()) << path;
        if (report)
            run.reports.push_back(*report);
    }
    const std::string target = ToFsPath(playlist + name);
    run.targetThere = fs::exists(target);
    run.targetBytes = testsupport::ReadBytes(target);
    for (const auto& entry : fs::directory_iterator(ToFsPath(playlist)))
        if (entry.path().filename().string() != name.str())
            run.leftovers.push_back(entry.path().filename().string());
    return run;
}

// The figures of the running reports only ever grow, and never pass the end.
void ExpectSteadyProgress(const STalkRun& run, size_t size)
{
    int64_t written = 0;
    for (const STalkDownloadReport& report : run.reports) {
        EXPECT_GE(report.written, written) << "the progress never goes back";
        written = report.written;
        EXPECT_LE(report.written, static_cast<int64_t>(size));
        if (report.state == ETalkDownloadState::Running && report.total > 0) {
            EXPECT_NE(PercentText(report.written, report.total, false), "100");
        }
    }
}

TEST(TalkDownloadTest, ABrokenTransferGoesOnFromItsBytesUntilTheFileIsWhole)
{
    const std::string video = VideoBytes(200'000);
    const size_t at65 = video.size() * 65 / 100;
    struct SCase {
        const char* why;
        std::function<SReply(int request)> reply;
    };
    const std::vector<SCase> cases = {
        {"closed at 65%, then served from there",
         [&](int request) {
             SReply reply = Body(video);
             reply.ranges = true;
             if (request == 0)
                 reply.closeAt = at65;
             return reply;
         }},
        {"stalled at 65%, then served from there",
         [&](int request) {
             SReply reply = Body(video);
             reply.ranges = true;
             if (request == 0)
                 reply.stallAfter = at65;
             return reply;
         }},
        {"closed at 65% by a server that ignores ranges",
         [&](int request) {
             SReply reply = Body(video);
             if (request == 0)
                 reply.closeAt = at65;
             return reply;
         }},
        {"paced in pieces, closed twice on the way",
         [&](int request) {
             SReply reply = Body(video);
             reply.ranges = true;
             reply.pieces = 8;
             reply.pieceGap = 150ms;
             if (request < 2)
                 reply.closeAt = video.size() * (request + 1) * 40 / 100;
             return reply;
         }},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.why);
        std::atomic<int> requests {0};
        CLoopbackServer server([&](const std::string&) { return c.reply(requests++); }, 8, 25s);
        const STalkRun run = RunTalkDownload(
            "http://127.0.0.1:" + std::to_string(server.port()) + "/talks/Talk-480p.mp4", "Talk-480p.mp4");

        EXPECT_TRUE(run.targetBytes == video) << "the file is whole and byte for byte the server's";
        EXPECT_TRUE(run.leftovers.empty());
        ASSERT_FALSE(run.reports.empty());
        EXPECT_EQ(run.reports.back().state, ETalkDownloadState::Done);
        EXPECT_EQ(run.reports.back().name, "Talk-480p.mp4");
        ExpectSteadyProgress(run, video.size());
        const std::vector<std::string> ranges = server.ranges();
        ASSERT_GE(ranges.size(), 2u);
        EXPECT_EQ(ranges[0], "");
        EXPECT_NE(ranges[1], "") << "the retry asks for the bytes it lacks";
    }
}

TEST(TalkDownloadTest, ADownloadThatCannotFinishIsReportedAsFailedAndLeavesNothing)
{
    const std::string video = VideoBytes(100'000);
    struct SCase {
        const char* why;
        std::function<SReply(int request)> reply;
        size_t requests;          // tries made
        const char* causeHolds;   // in the failure's cause
    };
    const std::vector<SCase> cases = {
        {"no such talk: one request, no retry",
         [](int) {
             SReply reply = Page("<html>not here</html>");
             reply.status = 404;
             return reply;
         },
         1, "404"},
        // 98% is not the whole file: it never counts as done.
        {"always closed at 98%", [&](int) {
             SReply reply = Body(video);
             reply.ranges = true;
             reply.closeAt = video.size() * 98 / 100;
             return reply;
         },
         4, "98.0%"},
        {"stalled at 65%, and silent from there on", [&](int request) {
             SReply reply = Body(video);
             reply.ranges = true;
             reply.stallAfter = request == 0 ? video.size() * 65 / 100 : 0;
             return reply;
         },
         4, "65.0%"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.why);
        std::atomic<int> requests {0};
        CLoopbackServer server([&](const std::string&) { return c.reply(requests++); }, 8, 25s);
        const STalkRun run =
            RunTalkDownload("http://127.0.0.1:" + std::to_string(server.port()) + "/talks/Talk.mp4", "Talk.mp4");

        EXPECT_FALSE(run.targetThere);
        EXPECT_TRUE(run.leftovers.empty()) << "the partial file goes";
        EXPECT_EQ(server.requests().size(), c.requests);
        ASSERT_FALSE(run.reports.empty());
        const STalkDownloadReport& last = run.reports.back();
        EXPECT_EQ(last.state, ETalkDownloadState::Failed);
        EXPECT_GE(last.cause.Find(c.causeHolds), 0) << last.cause.str();
        // The learner reads Chinese only: the transfer's English reason goes to the log.
        const std::string cause = last.cause.str();
        EXPECT_EQ(std::count_if(cause.begin(), cause.end(), [](char ch) { return std::isalpha(static_cast<unsigned char>(ch)); }), 0)
            << cause;
        const auto ends = std::count_if(run.reports.begin(), run.reports.end(), [](const STalkDownloadReport& r) {
            return r.state != ETalkDownloadState::Running;
        });
        EXPECT_EQ(ends, 1) << "the end is reported once";
        ExpectSteadyProgress(run, video.size());
    }
}

// No server answers at the address (nothing listens on port 1 of the
// loopback): the cause says so in Chinese, without the library's reason.
TEST(TalkDownloadTest, ATalkWithoutAServerIsReportedInChinese)
{
    const STalkRun run = RunTalkDownload("http://127.0.0.1:1/talks/Talk.mp4", "Talk.mp4");
    ASSERT_FALSE(run.reports.empty());
    EXPECT_EQ(run.reports.back().state, ETalkDownloadState::Failed);
    EXPECT_EQ(run.reports.back().cause, "无法连接服务器");
}

TEST(TalkDownloadTest, DroppedTalksAreReportedAndNeverFetched)
{
    testsupport::TempFolder folder;
    const CString reportFolder = TalkReportFolder(folder.ansi());
    CTalkReports reports(reportFolder, folder.ansi() + "talkreport.tmp");
    reports.Queue("A.mp4");
    reports.Queue("B.mp4");
    reports.DropWaiting(kTalkCancelledCause);
    // A job the queue had already taken finds its talk dropped.
    EXPECT_FALSE(reports.Begin("A.mp4"));
    reports.Tick(std::chrono::steady_clock::now());

    std::vector<std::string> texts;
    for (const char* number : {"1", "2"})
        texts.push_back(testsupport::ReadBytes(ToFsPath(reportFolder) + number + ".data"));
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::optional<STalkDownloadReport> report = ParseTalkReport(CString(texts[i]));
        ASSERT_TRUE(report.has_value());
        EXPECT_EQ(report->name, i == 0 ? "A.mp4" : "B.mp4");
        EXPECT_EQ(report->state, ETalkDownloadState::Failed);
        EXPECT_EQ(report->cause, kTalkCancelledCause);
    }
}

} // namespace
