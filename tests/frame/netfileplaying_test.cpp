// Download-and-play end to end: an address typed into the network-address
// bar goes through the frame to our downloader program, which fetches a
// generated video from a loopback server while the frame plays the growing
// file; an address that gives nothing is reported.
#include <chrono>
#include <filesystem>
#include <string>

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

TEST_F(NetFilePlayingTest, ATypedAddressPlaysWhileItDownloadsAndAMissingOneIsReported)
{
    const std::string clip = program.path() + "clip.mp4";
    testsupport::MakeClip(clip, 20);
    const std::string video = testsupport::ReadBytes(clip);
    ASSERT_GT(video.size(), 1000u);
    SReply paced = Body(video);
    paced.ranges = true;
    paced.pieces = 100;
    paced.pieceGap = 200ms;   // about twenty seconds for the whole file
    CLoopbackServer server([&](const std::string& path) { return path == "/talk.mp4" ? paced : Reply(404, "0"); }, 8,
                           90s);
    const std::string address = "http://127.0.0.1:" + std::to_string(server.port());

    TypeAddress(address + "/talk.mp4");
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

    TypeAddress(address + "/missing.mp4");
    EXPECT_TRUE(testsupport::RunLoopUntil(
        [&] { return frame->m_wndCaptionBar->GetText() == "网络文件下载失败，请检查网络地址！"; }, 30s));
}

} // namespace
