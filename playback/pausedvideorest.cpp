#include "playback/pausedvideorest.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>

#include <vlc/vlc.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include "playback/callbacktimer.h"
#include "platform/file.h"

namespace {

constexpr int kSnapshotPollMs = 40;
constexpr int64_t kMaxStillBytes = int64_t{128} * 1024 * 1024;

// A file of its own for every still this process takes; removed once read.
std::string StillPath()
{
    static std::atomic<int> counter{0};
    const std::string name =
        "quenlow-still-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".png";
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return ((error ? std::filesystem::path("/tmp") : folder) / name).string();
}

} // namespace

// A still the engine writes on the worker thread: `image` is written before
// `done`; `cancelled` belongs to the interface thread.
struct CPausedVideoRest::SSnapshot {
    std::atomic<bool> done{false};
    bool cancelled = false;
    wxImage image;
};

CPausedVideoRest::CPausedVideoRest(libvlc_media_player_t* player, ShowStill show, HideStill hide)
    : m_player(player), m_show(std::move(show)), m_hide(std::move(hide))
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    m_restTimer = std::make_unique<CCallbackTimer>([this] { OnRestDue(); });
    m_pollTimer = std::make_unique<CCallbackTimer>([this] { OnSnapshotPoll(); });
    m_hideTimer = std::make_unique<CCallbackTimer>([this] {
        if (m_bStillShown && !m_bResting) {
            m_bStillShown = false;
            m_hide();
        }
    });
}

CPausedVideoRest::~CPausedVideoRest()
{
    m_restTimer->Stop();
    m_pollTimer->Stop();
    m_hideTimer->Stop();
    if (m_worker.joinable())
        m_worker.join();
}

void CPausedVideoRest::Arm()
{
    if (!m_bResting)
        m_restTimer->StartOnce(kRestDelayMs);
}

void CPausedVideoRest::OnRestDue()
{
    if (m_bResting)
        return;
    if (m_snapshot) {
        // The still of an earlier pause is still being written.
        m_restTimer->StartOnce(kRestDelayMs);
        return;
    }
    // Only a paused player that shows a picture; sound alone never draws.
    if (libvlc_media_player_get_state(m_player) != libvlc_Paused || libvlc_media_player_has_vout(m_player) <= 0 ||
        libvlc_video_get_track(m_player) < 0)
        return;
    if (m_worker.joinable())
        m_worker.join();   // finished: its result was taken
    auto snapshot = std::make_shared<SSnapshot>();
    m_snapshot = snapshot;
    m_worker = std::thread([player = m_player, snapshot, path = StillPath()] {
        // The engine writes the picture of its next redraw (subtitle
        // included) at the video's own size.
        // The file sits in the shared temporary folder: it is read only as
        // a regular file (another account's FIFO there must not block the
        // worker) and only up to the size of a still of a very large video.
        std::string png;
        if (libvlc_video_take_snapshot(player, 0, path.c_str(), 0, 0) == 0 &&
            ReadRegularFile(FromFsPath(path), png, kMaxStillBytes) == EFileReadResult::Read) {
            wxLogNull quiet;
            wxMemoryInputStream stream(png.data(), png.size());
            snapshot->image.LoadFile(stream, wxBITMAP_TYPE_PNG);
        }
        std::remove(path.c_str());
        snapshot->done = true;
    });
    m_pollTimer->Start(kSnapshotPollMs);
}

void CPausedVideoRest::OnSnapshotPoll()
{
    if (!m_snapshot || !m_snapshot->done)
        return;
    m_pollTimer->Stop();
    m_worker.join();
    const std::shared_ptr<SSnapshot> snapshot = std::move(m_snapshot);
    m_snapshot.reset();
    if (snapshot->cancelled || !snapshot->image.IsOk() || libvlc_media_player_get_state(m_player) != libvlc_Paused)
        return;
    const int track = libvlc_video_get_track(m_player);
    if (track < 0)
        return;
    m_nVideoTrack = track;
    m_nPausedTime = libvlc_media_player_get_time(m_player);
    m_hideTimer->Stop();
    m_show(snapshot->image);
    m_bStillShown = true;
    libvlc_video_set_track(m_player, -1);
    m_bResting = true;
}

bool CPausedVideoRest::RestoreTrack()
{
    m_restTimer->Stop();
    if (m_snapshot)
        m_snapshot->cancelled = true;
    if (!m_bResting)
        return false;
    m_bResting = false;
    libvlc_video_set_track(m_player, m_nVideoTrack);
    return true;
}

void CPausedVideoRest::HideSoon()
{
    if (m_bStillShown)
        m_hideTimer->StartOnce(kRedrawMs);
}

void CPausedVideoRest::WakeToPlay()
{
    // The decoder starts again from the key frame before the paused time,
    // so the picture goes on from the frame the learner saw.
    if (RestoreTrack() && m_nPausedTime >= 0)
        libvlc_media_player_set_time(m_player, m_nPausedTime);
    HideSoon();
}

void CPausedVideoRest::WakeToSeek()
{
    RestoreTrack();
    HideSoon();
}

void CPausedVideoRest::Drop()
{
    RestoreTrack();
    m_hideTimer->Stop();
    if (m_bStillShown) {
        m_bStillShown = false;
        m_hide();
    }
}
