// Download-and-play end to end: an address typed into the network-address
// bar goes through the frame to our downloader program, which fetches a
// generated video from a throttled loopback server while the frame plays the
// growing file (or waits for it to be whole); an address that gives nothing
// is reported.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/textctrl.h>

#include "online/inputnetadressdlg.h"
#include "playback/vlcplayer.h"
#include "ui/mycaptionbar.h"
#include "core/downloaderexchange.h"
#include "core/downloaderprocess.h"
#include "core/quenlow.h"
#include "frame/mainfrm.h"
#include "tests/lessonmedia.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class NetFilePlayingTest : public testsupport::PlayingFrameTest {
protected:
    void SetUp() override
    {
        PlayingFrameTest::SetUp();
        // Our downloader in the program folder, started by the frame as the
        // learner's program would start it.
        fs::create_directories(program.path() + "Downloader");
        fs::copy_file(QUENLOW_DOWNLOADER, program.path() + "Downloader/HalvikSoftDownloader.exe");
        frame->m_downloaderExchange.isDownloaderRunning = [] { return RunningDownloader(theApp.m_strDownloaderPath) != 0; };
        frame->m_downloaderExchange.startProgram = [](const CString& path) { return StartDownloader(path); };
        m_downloaderPath = theApp.m_strDownloaderPath;
    }
    void TearDown() override
    {
        PlayingFrameTest::TearDown();
        // The downloader this test's frame started, found by the pid in its
        // lock file and the path of its program; no other copy is touched.
        EXPECT_TRUE(StopDownloader(m_downloaderPath));
    }
    void TypeAddress(const std::string& address)
    {
        CInputNetAdressDlg* bar = frame->m_dlgNetAddress;
        bar->ShowAt(wxPoint(0, 0));
        bar->m_editAddress->ChangeValue(address);
        bar->OnBnClickedConfirm();
    }
    CString m_downloaderPath;
    std::string CachedFile() const { return program.path() + "CacheFolder/halviksoft.mp4"; }
};

// The file served in small pieces with pauses between them: `seconds` for the
// whole file, ranges honoured.
SReply Throttled(const std::string& bytes, std::chrono::milliseconds whole)
{
    SReply reply = Body(bytes);
    reply.ranges = true;
    reply.pieces = 100;
    reply.pieceGap = whole / 100;
    return reply;
}

TEST_F(NetFilePlayingTest, AFaststartVideoPlaysWhileItDownloads)
{
    const std::string clip = program.path() + "clip.mp4";
    testsupport::MakeH264Clip(clip, 20, testsupport::EMp4Index::AtStart);
    const std::string video = testsupport::ReadBytes(clip);
    ASSERT_GT(video.size(), 1000u);
    const SReply paced = Throttled(video, 20s);
    CLoopbackServer server([&](const std::string&) { return paced; }, 8, 90s);

    TypeAddress("http://127.0.0.1:" + std::to_string(server.port()) + "/talk.mp4");
    bool playedWhileDownloading = false;
    ASSERT_TRUE(testsupport::RunLoopUntil([&] {
        const bool playing = theApp.m_strMediaName == "halviksoft.mp4" && Player().GetState() == 3;
        if (playing && fs::exists(CachedFile()) && fs::file_size(CachedFile()) < video.size())
            playedWhileDownloading = true;
        return playing;
    }, 30s));
    EXPECT_TRUE(playedWhileDownloading);
    EXPECT_EQ(theApp.m_strPlayingNetFile, "true");
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return testsupport::ReadBytes(CachedFile()) == video; }, 40s));
}

// An MP4 whose index is at its end cannot start before the whole file is
// there: meanwhile the learner sees the buffering text beside the download's
// percentage and no error, and once the download is complete the video plays.
TEST_F(NetFilePlayingTest, AVideoWithItsIndexAtTheEndPlaysOnceCompleteWithoutAnError)
{
    const std::string clip = program.path() + "clip.mp4";
    testsupport::MakeH264Clip(clip, 20, testsupport::EMp4Index::AtEnd);
    const std::string video = testsupport::ReadBytes(clip);
    ASSERT_GT(video.size(), 1000u);
    const SReply paced = Throttled(video, 15s);
    CLoopbackServer server([&](const std::string&) { return paced; }, 8, 90s);

    TypeAddress("http://127.0.0.1:" + std::to_string(server.port()) + "/talk.mp4");
    std::vector<std::string> captions;
    bool bufferingShown = false;
    bool playedEarly = false;
    const bool played = testsupport::RunLoopUntil([&] {
        const std::string caption = frame->m_wndCaptionBar->GetText().str();
        if (!caption.empty() && (captions.empty() || captions.back() != caption))
            captions.push_back(caption);
        const CString& download = theApp.m_strDownloadStatusText;
        if (theApp.m_strPlayStateText == "正在缓冲..." && download.Find("进度:") > 0 && download.Find("进度:100%") < 0 &&
            download.Find("进度:0000%") < 0)
            bufferingShown = true;
        const bool playing = theApp.m_strMediaName == "halviksoft.mp4" && Player().GetState() == 3 &&
                             Player().GetTime() > 500;
        if (playing && testsupport::ReadBytes(CachedFile()).size() < video.size())
            playedEarly = true;
        return playing;
    }, 60s);
    std::string seen;
    for (const std::string& caption : captions)
        seen += "[" + caption + "] ";
    ASSERT_TRUE(played) << "captions: " << seen << " state: " << theApp.m_strPlayStateText.str();
    EXPECT_FALSE(playedEarly);
    EXPECT_TRUE(bufferingShown);
    EXPECT_EQ(testsupport::ReadBytes(CachedFile()), video);
    for (const std::string& caption : captions)
        EXPECT_EQ(caption.find("无法播放"), std::string::npos) << seen;
    EXPECT_EQ(theApp.m_strPlayStateText, "播放中");
}

// A clip playing while it downloads, then an address that answers 404: the
// first download is ended, so its partial file is no longer played (it
// would end where its bytes end, buffer and play again for good); the
// player stays stopped with the failure said.
TEST_F(NetFilePlayingTest, AnUnfinishedDownloadIsNotPlayedOnAfterANewOneFails)
{
    const std::string clip = program.path() + "clip.mp4";
    testsupport::MakeH264Clip(clip, 20, testsupport::EMp4Index::AtStart);
    const std::string video = testsupport::ReadBytes(clip);
    ASSERT_GT(video.size(), 1000u);
    const SReply paced = Throttled(video, 60s);
    CLoopbackServer server([&](const std::string& path) { return path == "/talk.mp4" ? paced : Reply(404, "0"); }, 8,
                           90s);
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port());

    TypeAddress(base + "/talk.mp4");
    ASSERT_TRUE(testsupport::RunLoopUntil(
        [&] { return theApp.m_strMediaName == "halviksoft.mp4" && Player().GetState() == 3 && Player().GetTime() > 300; },
        30s));
    ASSERT_LT(testsupport::ReadBytes(CachedFile()).size(), video.size() / 2);

    TypeAddress(base + "/missing.mp4");
    ASSERT_TRUE(testsupport::RunLoopUntil(
        [&] { return frame->m_wndCaptionBar->GetText() == "网络文件下载失败，请检查网络地址！"; }, 15s));
    bool playedAgain = false;
    testsupport::RunLoopUntil([&] {
        playedAgain = playedAgain || Player().GetState() == 3 || theApp.m_strPlayState == "OnPlay" ||
                      theApp.m_strPlayState == "OnBuffering";
        return false;
    }, 8s);
    EXPECT_FALSE(playedAgain);
    EXPECT_EQ(theApp.m_strPlayState, "OnStop");
    EXPECT_EQ(theApp.m_strPlayStateText, "停止");
    EXPECT_TRUE(theApp.m_strPlayingNetFile.IsEmpty());
}

// A refused address is reported when the server refuses it, not seconds later.
TEST_F(NetFilePlayingTest, AMissingAddressIsReportedAsSoonAsTheServerAnswers)
{
    CLoopbackServer server([](const std::string&) { return Reply(404, "0"); }, 2);
    const auto asked = std::chrono::steady_clock::now();
    TypeAddress("http://127.0.0.1:" + std::to_string(server.port()) + "/missing.mp4");
    ASSERT_TRUE(testsupport::RunLoopUntil(
        [&] { return frame->m_wndCaptionBar->GetText() == "网络文件下载失败，请检查网络地址！"; }, 15s));
    const auto answered = std::chrono::steady_clock::now();
    // The downloader starts, takes two commands a second apart and asks;
    // the program reads its report at the next second.
    EXPECT_LT(answered - asked, 4s);
    EXPECT_EQ(server.requests(), std::vector<std::string>{"GET /missing.mp4"});
}

} // namespace
