#include "playback/vlcplayer.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>

#include <vlc/vlc.h>
#include <wx/timer.h>

#include "playback/callbacktimer.h"
#include "playback/pausedvideorest.h"

#include "platform/file.h"
#include "platform/percentencode.h"
#include "platform/graphics.h"
#include "platform/soundoutput.h"
#include "core/playbackclock.h"
#include "core/quenlow.h"

// The engine objects behind one facade. A failed engine leaves the instance
// or the player null; every operation checks before it calls.
namespace {

constexpr int kVolumeRetryMs = 50;
constexpr int kVolumeRetryLimitMs = 10000;   // how long a volume is given again at most
constexpr int kDeferredStopMs = 150;          // time the video output needs to let a subtitle go

// The engine's configuration, relative to the program folder (the current
// folder). It holds a few lines; a larger file is not the program's.
constexpr const char* kEngineConfig = "./AppData/CommonData/Player.cfg";
constexpr int64_t kMaxEngineConfigBytes = 1024 * 1024;

// Whether the configuration text has an "aout=" line.
bool ConfigNamesAudioOutput(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos && line.compare(start, 5, "aout=") == 0)
            return true;
    }
    return false;
}

// The engine's configuration as the engine gets it: read once under the
// program's rule for replaceable files (a FIFO, a device or a file of
// gigabytes in its place would block or stall the start) and handed over
// in a sealed anonymous in-memory file, which nothing can swap or change.
// A file that cannot be used is left out and the learner is told once.
class CEngineConfig {
public:
    CEngineConfig()
    {
        const EFileReadResult read = ReadRegularFile(kEngineConfig, m_text, kMaxEngineConfigBytes);
        if (read != EFileReadResult::Read) {
            if (FileExists(kEngineConfig))
                ReportRefused();
            return;
        }
        m_fd = ::memfd_create("Player.cfg", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        if (m_fd >= 0 && ::write(m_fd, m_text.data(), m_text.size()) == static_cast<ssize_t>(m_text.size()) &&
            ::fcntl(m_fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE) == 0)
            m_argument = "--config=/proc/self/fd/" + std::to_string(m_fd);
    }
    ~CEngineConfig()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CEngineConfig(const CEngineConfig&) = delete;
    CEngineConfig& operator=(const CEngineConfig&) = delete;

    // The engine's arguments that name the configuration.
    void AddArguments(std::vector<const char*>& arguments) const
    {
        if (m_argument.empty()) {
            // The one line the shipped file holds is given on its own.
            arguments.push_back("--ignore-config");
            arguments.push_back("--no-sub-autodetect-file");
            return;
        }
        arguments.push_back("--no-ignore-config");
        arguments.push_back(m_argument.c_str());
    }
    const std::string& text() const { return m_text; }

private:
    static void ReportRefused()
    {
        static std::once_flag once;
        std::call_once(once, [] {
            theApp.ShowMessage("播放器设置文件无法使用（不是普通文件或太大），已按默认设置播放：AppData/CommonData/Player.cfg",
                               "warning", 8000);
        });
    }

    std::string m_text;
    std::string m_argument;
    int m_fd = -1;
};

// Asked once per run; the answer is given on stderr the first time when
// there is no sound device.
bool SoundOutputUsable()
{
    static const bool usable = [] {
        const bool found = HasUsableSoundOutput();
        if (!found)
            std::fprintf(stderr, "quenlow: no usable sound device: media play without sound\n");
        return found;
    }();
    return usable;
}

// The engine starts its own threads for every media it opens (reading,
// decoding with a thread per core, output). The C library gives a thread
// that finds the allocator's arenas busy an arena of its own, up to eight per
// core, and memory freed in an arena stays there: a learner opening lesson
// after lesson while one plays saw the process hold some 5 MB more at each
// opening. Two arenas keep that memory shared, and playing costs the same
// (bench/playcpu.sh). The library fixes its limit the first time it has more
// than eight arenas, which the toolkit's own threads may reach before any
// window exists, so the bound is set when the program is loaded, before any
// thread starts.
[[gnu::constructor]] void BoundMallocArenas() { mallopt(M_ARENA_MAX, 2); }

} // namespace

class CVlcPlayerImpl {
public:
    explicit CVlcPlayerImpl(const std::vector<std::string>& extraArguments);
    ~CVlcPlayerImpl();
    CVlcPlayerImpl(const CVlcPlayerImpl&) = delete;
    CVlcPlayerImpl& operator=(const CVlcPlayerImpl&) = delete;

    // Replaces the media (with one media option when given) and switches the
    // engine's key and mouse input off.
    void SetMedia(libvlc_media_t* media, const char* option = nullptr);
    // The engine id at a position of a track description list; false when
    // the list is shorter.
    static bool IdAtPosition(libvlc_track_description_t* list, int position, int& id);
    // Refills a track list from the engine's count and descriptions.
    static void ListTracks(CStringArray& target, int count, libvlc_track_description_t* list, int largestCount);

    libvlc_instance_t* m_pInstance = nullptr;
    libvlc_media_player_t* m_pMediaPlayer = nullptr;
    libvlc_media_t* m_pMedia = nullptr;
    std::string m_strOpened;   // the path or address of m_pMedia
    libvlc_event_manager_t* m_pEventManager = nullptr;
    libvlc_callback_t m_pfnCallback = nullptr;
    // The last full-screen flag given; an embedded video has no engine full
    // screen to read back.
    bool m_bFullscreen = false;
    // The time between the engine's reports.
    CPlaybackClock m_clock;
    // The engine's last time report and the monotonic moment it came; the
    // engine's thread writes them from its time event.
    std::mutex m_reportLock;
    int64_t m_reportTime = -1;
    int64_t m_reportAt = -1;
    static void OnTimeChanged(const libvlc_event_t* event, void* self);
    void ForgetReport();
    // Around a seek: a resting video output wakes to show the new frame and
    // rests again once the paused player has shown it.
    void BeforeSeek();
    void AfterSeek();

    // The engine drops a volume given while its audio output is stopped or
    // still starting (the call fails and the old volume stays). The volume
    // asked for last is kept and given again every 50 ms while the media
    // opens or plays, until the engine reports it; playing again gives it
    // again.
    void ApplyVolume();
    void OnVolumeRetry();
    int m_nWantedVolume = -1;
    bool m_bVolumePending = false;
    int m_nVolumeRetries = 0;
    std::unique_ptr<CCallbackTimer> m_volumeRetry;

    // The video output's rest while paused; none with a graphics processor
    // or before RestVideoWhilePaused.
    std::unique_ptr<CPausedVideoRest> m_rest;

    // A stop asked for by StopWithoutWaiting that has not run yet.
    void CancelDeferredStop();
    bool m_bStopPending = false;
    std::unique_ptr<CCallbackTimer> m_deferredStop;
};

void CVlcPlayerImpl::CancelDeferredStop()
{
    m_bStopPending = false;
    if (m_deferredStop)
        m_deferredStop->Stop();
}

void CVlcPlayerImpl::ApplyVolume()
{
    if (!m_bVolumePending || !m_pMediaPlayer)
        return;
    if (libvlc_audio_set_volume(m_pMediaPlayer, m_nWantedVolume) == 0 &&
        libvlc_audio_get_volume(m_pMediaPlayer) == m_nWantedVolume) {
        m_bVolumePending = false;
        if (m_volumeRetry)
            m_volumeRetry->Stop();
        return;
    }
    m_nVolumeRetries = 0;
    if (!m_volumeRetry)
        m_volumeRetry = std::make_unique<CCallbackTimer>([this] { OnVolumeRetry(); });
    if (!m_volumeRetry->IsRunning())
        m_volumeRetry->Start(kVolumeRetryMs);
}

void CVlcPlayerImpl::OnVolumeRetry()
{
    const libvlc_state_t state = libvlc_media_player_get_state(m_pMediaPlayer);
    // A player that is not going gets no audio output: the next Play gives
    // the volume again. Nor is it tried for ever.
    const bool going = state != libvlc_Stopped && state != libvlc_Ended && state != libvlc_Error;
    if (!m_bVolumePending || !going || ++m_nVolumeRetries > kVolumeRetryLimitMs / kVolumeRetryMs) {
        m_volumeRetry->Stop();
        return;
    }
    const int retries = m_nVolumeRetries;
    ApplyVolume();
    m_nVolumeRetries = retries;
}

void CVlcPlayerImpl::OnTimeChanged(const libvlc_event_t* event, void* self)
{
    auto* impl = static_cast<CVlcPlayerImpl*>(self);
    const int64_t at = CPlaybackClock::SteadyMilliseconds();
    const std::lock_guard<std::mutex> lock(impl->m_reportLock);
    impl->m_reportTime = event->u.media_player_time_changed.new_time;
    impl->m_reportAt = at;
}

void CVlcPlayerImpl::ForgetReport()
{
    const std::lock_guard<std::mutex> lock(m_reportLock);
    m_reportTime = -1;
    m_reportAt = -1;
    m_clock.Reset();
}

CVlcPlayerImpl::CVlcPlayerImpl(const std::vector<std::string>& extraArguments)
{
    // The configuration path is relative to the current folder, which start-up
    // sets to the program folder.
    const CEngineConfig config;
    std::vector<const char*> arguments;
    config.AddArguments(arguments);
    // OpenGL drawn in software costs several times the plain X11 output's
    // processor time: without a graphics processor the engine draws with X11,
    // whose chroma converter also scales each frame to the window. A fast
    // bilinear scaler is enough for a pane or a screen (the default bicubic
    // one costs about twice as much), and while paused the output draws the
    // last frame again several times a second.
    if (!HasGpuRendering()) {
        arguments.push_back("--gl=none");
        arguments.push_back("--gles2=none");
        arguments.push_back("--swscale-mode=0");
    }
    // Without a sound device the engine would look for an audio output again
    // for every block of sound; it plays without one instead, unless the
    // configuration names an output of its own.
    if (!ConfigNamesAudioOutput(config.text()) && !SoundOutputUsable())
        arguments.push_back("--aout=adummy");
    for (const std::string& argument : extraArguments)
        arguments.push_back(argument.c_str());
    m_pInstance = libvlc_new(static_cast<int>(arguments.size()), arguments.data());
    if (!m_pInstance)
        return;
    m_pMediaPlayer = libvlc_media_player_new(m_pInstance);
    if (m_pMediaPlayer)
        m_pEventManager = libvlc_media_player_event_manager(m_pMediaPlayer);
    if (m_pEventManager)
        libvlc_event_attach(m_pEventManager, libvlc_MediaPlayerTimeChanged, OnTimeChanged, this);
}

CVlcPlayerImpl::~CVlcPlayerImpl()
{
    m_rest.reset();
    m_volumeRetry.reset();
    m_deferredStop.reset();
    if (m_pEventManager)
        libvlc_event_detach(m_pEventManager, libvlc_MediaPlayerTimeChanged, OnTimeChanged, this);
    // Releasing the player stops playback and joins the engine's threads.
    if (m_pMediaPlayer)
        libvlc_media_player_release(m_pMediaPlayer);
    if (m_pMedia)
        libvlc_media_release(m_pMedia);
    if (m_pInstance)
        libvlc_release(m_pInstance);
}

void CVlcPlayerImpl::SetMedia(libvlc_media_t* media, const char* option)
{
    // The player keeps its own hold on the media it plays; the facade keeps
    // only the media last opened.
    CancelDeferredStop();
    if (m_rest)
        m_rest->Drop();
    libvlc_media_player_set_media(m_pMediaPlayer, media);
    ForgetReport();
    if (media && option)
        libvlc_media_add_option(media, option);
    if (m_pMedia)
        libvlc_media_release(m_pMedia);
    m_pMedia = media;
    // Clicks and keys on the video go to the window that hosts it.
    libvlc_video_set_key_input(m_pMediaPlayer, 0);
    libvlc_video_set_mouse_input(m_pMediaPlayer, 0);
}

bool CVlcPlayerImpl::IdAtPosition(libvlc_track_description_t* list, int position, int& id)
{
    if (position < 0)
        return false;
    for (libvlc_track_description_t* entry = list; entry; entry = entry->p_next) {
        if (position-- == 0) {
            id = entry->i_id;
            return true;
        }
    }
    return false;
}

namespace {

// Trims ASCII white space; bytes of UTF-8 characters are never white space.
std::string TrimUtf8(const char* text)
{
    if (!text)
        return {};
    std::string name(text);
    const char* space = " \t\r\n\v\f";
    const size_t first = name.find_first_not_of(space);
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(space) - first + 1);
}

} // namespace

void CVlcPlayerImpl::ListTracks(CStringArray& target, int count, libvlc_track_description_t* list, int largestCount)
{
    target.RemoveAll();
    if (count >= 1 && count <= largestCount) {
        int index = 0;
        for (libvlc_track_description_t* entry = list; entry && index < count; entry = entry->p_next, ++index) {
            // The name stays in the engine's UTF-8; readers convert it.
            const std::string name = TrimUtf8(entry->psz_name);
            if (name.size() <= 1)
                continue;
            CString item(name);
            item.AppendFormat("::%d", entry->i_id);
            target.Add(item);
        }
    }
    if (list)
        libvlc_track_description_list_release(list);
}

// ---------------------------------------------------------------------------

CVlcPlayer::CVlcPlayer() : m_pImpl(std::make_unique<CVlcPlayerImpl>(std::vector<std::string>())) {}

CVlcPlayer::CVlcPlayer(const std::vector<std::string>& extraEngineArguments)
    : m_pImpl(std::make_unique<CVlcPlayerImpl>(extraEngineArguments))
{
}

CVlcPlayer::~CVlcPlayer() = default;

void CVlcPlayer::SetHwnd(unsigned long xWindowId)
{
    // With a window of ours the engine picks its video output itself; a
    // "vout" line in Player.cfg applies only to a player without one.
    if (m_pImpl->m_pMediaPlayer)
        libvlc_media_player_set_xwindow(m_pImpl->m_pMediaPlayer, static_cast<uint32_t>(xWindowId));
}

bool CVlcPlayer::OpenFile(const char* utf8Path)
{
    if (!m_pImpl->m_pMediaPlayer || !utf8Path)
        return false;
    libvlc_media_t* media = libvlc_media_new_path(m_pImpl->m_pInstance, utf8Path);
    m_pImpl->SetMedia(media);
    m_pImpl->m_strOpened = media ? utf8Path : "";
    return media != nullptr;
}

bool CVlcPlayer::OpenLocation(const char* address, const char* option)
{
    if (!m_pImpl->m_pMediaPlayer || !address)
        return false;
    libvlc_media_t* media = libvlc_media_new_location(m_pImpl->m_pInstance, address);
    m_pImpl->SetMedia(media, option);
    m_pImpl->m_strOpened = media ? address : "";
    return media != nullptr;
}

const std::string& CVlcPlayer::OpenedMedia() const { return m_pImpl->m_strOpened; }

bool CVlcPlayer::Play()
{
    m_pImpl->CancelDeferredStop();
    if (m_pImpl->m_rest)
        m_pImpl->m_rest->WakeToPlay();
    libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer;
    // After an error or the end of the medium the engine keeps its finished
    // reading of the media, and its play command only tells that reading to
    // play, which does nothing: the reading is let go first, so the media
    // starts again.
    if (player) {
        const libvlc_state_t state = libvlc_media_player_get_state(player);
        if (state == libvlc_Error || state == libvlc_Ended) {
            libvlc_media_player_stop(player);
            m_pImpl->ForgetReport();
        }
    }
    const bool playing = player && libvlc_media_player_play(player) == 0;
    m_pImpl->ApplyVolume();
    return playing;
}

bool CVlcPlayer::PlayFrom(int64_t ms)
{
    const int state = GetState();
    if (state == kStatePlaying || state == kStatePaused) {
        const bool playing = Play();
        Seek(ms);
        return playing;
    }
    if (m_pImpl->m_pMedia) {
        char option[48];
        std::snprintf(option, sizeof option, ":start-time=%.3f", static_cast<double>(std::max<int64_t>(ms, 0)) / 1000.0);
        libvlc_media_add_option(m_pImpl->m_pMedia, option);
    }
    return Play();
}

void CVlcPlayer::Pause()
{
    libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer;
    if (!player)
        return;
    if (m_pImpl->m_rest) {
        if (libvlc_media_player_get_state(player) == libvlc_Paused)
            m_pImpl->m_rest->WakeToPlay();
        else
            m_pImpl->m_rest->Arm();
    }
    libvlc_media_player_pause(player);
}

void CVlcPlayer::PauseIfPlaying()
{
    if (!m_pImpl->m_pMediaPlayer)
        return;
    libvlc_media_player_set_pause(m_pImpl->m_pMediaPlayer, 1);
    if (m_pImpl->m_rest)
        m_pImpl->m_rest->Arm();
}

void CVlcPlayer::RestVideoWhilePaused(std::function<void(const wxImage&)> showStill, std::function<void()> hideStill)
{
    // With a graphics processor the engine's OpenGL output is left as it is.
    if (!m_pImpl->m_pMediaPlayer || HasGpuRendering())
        return;
    m_pImpl->m_rest =
        std::make_unique<CPausedVideoRest>(m_pImpl->m_pMediaPlayer, std::move(showStill), std::move(hideStill));
}

bool CVlcPlayer::IsVideoResting() const { return m_pImpl->m_rest && m_pImpl->m_rest->IsResting(); }

void CVlcPlayerImpl::BeforeSeek()
{
    if (m_rest)
        m_rest->WakeToSeek();
}

void CVlcPlayerImpl::AfterSeek()
{
    ForgetReport();
    // A paused player shows the new frame, then rests again.
    if (m_rest && libvlc_media_player_get_state(m_pMediaPlayer) == libvlc_Paused)
        m_rest->Arm();
}

void CVlcPlayer::Stop()
{
    m_pImpl->CancelDeferredStop();
    if (m_pImpl->m_rest)
        m_pImpl->m_rest->Drop();
    if (m_pImpl->m_pMediaPlayer)
        libvlc_media_player_stop(m_pImpl->m_pMediaPlayer);
    m_pImpl->ForgetReport();
}

void CVlcPlayer::StopWithoutWaiting()
{
    libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer;
    if (!player)
        return;
    if (libvlc_video_get_spu_count(player) <= 0) {
        Stop();
        return;
    }
    if (m_pImpl->m_rest)
        m_pImpl->m_rest->Drop();
    libvlc_video_set_spu(player, -1);
    libvlc_media_player_set_pause(player, 1);
    m_pImpl->m_bStopPending = true;
    if (!m_pImpl->m_deferredStop)
        m_pImpl->m_deferredStop = std::make_unique<CCallbackTimer>([this] { Stop(); });
    m_pImpl->m_deferredStop->StartOnce(kDeferredStopMs);
}

bool CVlcPlayer::IsStopPending() const { return m_pImpl->m_bStopPending; }

int64_t CVlcPlayer::GetLength()
{
    return m_pImpl->m_pMediaPlayer ? libvlc_media_player_get_length(m_pImpl->m_pMediaPlayer) : -1;
}

int64_t CVlcPlayer::GetTime()
{
    return m_pImpl->m_pMediaPlayer ? libvlc_media_player_get_time(m_pImpl->m_pMediaPlayer) : -1;
}

int64_t CVlcPlayer::GetEstimatedTime()
{
    libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer;
    if (!player)
        return -1;
    const bool playing = libvlc_media_player_get_state(player) == libvlc_Playing;
    int64_t reported = -1;
    int64_t reportedAt = -1;
    {
        const std::lock_guard<std::mutex> lock(m_pImpl->m_reportLock);
        reported = m_pImpl->m_reportTime;
        reportedAt = m_pImpl->m_reportAt;
    }
    // Before the first time event the engine's reading is the only one.
    if (reported < 0)
        reported = libvlc_media_player_get_time(player);
    return m_pImpl->m_clock.Estimate(reported, playing, libvlc_media_player_get_rate(player), reportedAt);
}

void CVlcPlayer::Seek(int64_t ms)
{
    if (!m_pImpl->m_pMediaPlayer)
        return;
    m_pImpl->BeforeSeek();
    libvlc_media_player_set_time(m_pImpl->m_pMediaPlayer, ms);
    m_pImpl->AfterSeek();
}

float CVlcPlayer::GetPosition()
{
    return m_pImpl->m_pMediaPlayer ? libvlc_media_player_get_position(m_pImpl->m_pMediaPlayer) : -1.0f;
}

void CVlcPlayer::SetPosition(float position)
{
    if (!m_pImpl->m_pMediaPlayer)
        return;
    m_pImpl->BeforeSeek();
    libvlc_media_player_set_position(m_pImpl->m_pMediaPlayer, position);
    m_pImpl->AfterSeek();
}

int CVlcPlayer::GetState()
{
    if (m_pImpl->m_bStopPending)
        return kStateStopped;
    return m_pImpl->m_pMediaPlayer ? static_cast<int>(libvlc_media_player_get_state(m_pImpl->m_pMediaPlayer)) : 0;
}

int CVlcPlayer::WillPlay()
{
    return m_pImpl->m_pMediaPlayer ? libvlc_media_player_will_play(m_pImpl->m_pMediaPlayer) : 0;
}

void CVlcPlayer::SetVolume(int volume)
{
    m_pImpl->m_nWantedVolume = volume;
    m_pImpl->m_bVolumePending = true;
    m_pImpl->ApplyVolume();
}

bool CVlcPlayer::HasPendingVolume() const { return m_pImpl->m_bVolumePending; }

int CVlcPlayer::GetVolume()
{
    return m_pImpl->m_pMediaPlayer ? libvlc_audio_get_volume(m_pImpl->m_pMediaPlayer) : 0;
}

void CVlcPlayer::SetMute(bool mute)
{
    if (m_pImpl->m_pMediaPlayer)
        libvlc_audio_set_mute(m_pImpl->m_pMediaPlayer, mute ? 1 : 0);
}

bool CVlcPlayer::GetMute()
{
    return m_pImpl->m_pMediaPlayer && libvlc_audio_get_mute(m_pImpl->m_pMediaPlayer) != 0;
}

void CVlcPlayer::SetFullscreen(bool fullscreen)
{
    if (!m_pImpl->m_pMediaPlayer)
        return;
    libvlc_set_fullscreen(m_pImpl->m_pMediaPlayer, fullscreen ? 1 : 0);
    m_pImpl->m_bFullscreen = fullscreen;
}

bool CVlcPlayer::IsFullscreen() { return m_pImpl->m_pMediaPlayer && m_pImpl->m_bFullscreen; }

namespace {

// "file://" and the absolute path with every byte outside the unreserved set
// and "/" percent-encoded.
std::string FileUri(const char* utf8Path)
{
    std::string path(utf8Path);
    if (path.empty() || path[0] != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            path = std::string(cwd) + "/" + path;
    }
    return "file://" + PercentEncode(path, "/");
}

} // namespace

void CVlcPlayer::SetSubtitleFile(const char* utf8Path)
{
    if (!m_pImpl->m_pMediaPlayer || !utf8Path || !*utf8Path)
        return;
    // Before playback the engine adds the file to the media it was given;
    // during playback it loads the file at once.
    libvlc_media_player_add_slave(m_pImpl->m_pMediaPlayer, libvlc_media_slave_type_subtitle,
                                  FileUri(utf8Path).c_str(), true);
}

int CVlcPlayer::GetSpuCount()
{
    return m_pImpl->m_pMediaPlayer ? libvlc_video_get_spu_count(m_pImpl->m_pMediaPlayer) : 0;
}

void CVlcPlayer::SetSpu(int n)
{
    libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer;
    if (!player)
        return;
    int id = -1;   // the engine's "Disable" entry
    if (n >= 0) {
        libvlc_track_description_t* list = libvlc_video_get_spu_description(player);
        if (!CVlcPlayerImpl::IdAtPosition(list, n, id))
            id = -1;
        if (list)
            libvlc_track_description_list_release(list);
    }
    libvlc_video_set_spu(player, id);
}

void CVlcPlayer::SetAudioTrack(int n)
{
    libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer;
    if (!player)
        return;
    libvlc_track_description_t* list = libvlc_audio_get_track_description(player);
    int id = 0;
    const bool found = CVlcPlayerImpl::IdAtPosition(list, n, id);
    if (list)
        libvlc_track_description_list_release(list);
    if (found)
        libvlc_audio_set_track(player, id);
}

CStringArray CVlcPlayer::ListSubtitleTracks()
{
    CStringArray tracks;
    if (libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer) {
        const int count = libvlc_video_get_spu_count(player);
        CVlcPlayerImpl::ListTracks(tracks, count, libvlc_video_get_spu_description(player), 9);
    }
    return tracks;
}

CStringArray CVlcPlayer::ListAudioTracks()
{
    CStringArray tracks;
    if (libvlc_media_player_t* player = m_pImpl->m_pMediaPlayer) {
        const int count = libvlc_audio_get_track_count(player);
        CVlcPlayerImpl::ListTracks(tracks, count, libvlc_audio_get_track_description(player), 5);
    }
    return tracks;
}

std::optional<int> CVlcPlayer::TrackIdOf(const CString& entry)
{
    const int separator = entry.ReverseFind(':');
    if (separator < 1 || entry[separator - 1] != ':')
        return std::nullopt;
    const CString digits = entry.Mid(separator + 1);
    char* end = nullptr;
    const long id = std::strtol(digits.GetString(), &end, 10);
    if (digits.IsEmpty() || *end != '\0')
        return std::nullopt;
    return static_cast<int>(id);
}

void CVlcPlayer::SelectListedSubtitle(const CStringArray& tracks, int position)
{
    if (!m_pImpl->m_pMediaPlayer || position < 0 || position >= tracks.GetSize())
        return;
    if (const std::optional<int> id = TrackIdOf(tracks[position]))
        libvlc_video_set_spu(m_pImpl->m_pMediaPlayer, *id);
}

void CVlcPlayer::SelectListedAudioTrack(const CStringArray& tracks, int position)
{
    if (!m_pImpl->m_pMediaPlayer || position < 0 || position >= tracks.GetSize())
        return;
    if (const std::optional<int> id = TrackIdOf(tracks[position]))
        libvlc_audio_set_track(m_pImpl->m_pMediaPlayer, *id);
}

int CVlcPlayer::GetSpuId() { return m_pImpl->m_pMediaPlayer ? libvlc_video_get_spu(m_pImpl->m_pMediaPlayer) : -1; }

int CVlcPlayer::GetReadBytes()
{
    libvlc_media_stats_t stats{};
    if (!m_pImpl->m_pMedia || !libvlc_media_get_stats(m_pImpl->m_pMedia, &stats))
        return 0;
    return stats.i_read_bytes;
}

void CVlcPlayer::AttachTimeChanged(VlcEventCallback callback, void* userData)
{
    if (!m_pImpl->m_pEventManager || !callback)
        return;
    m_pImpl->m_pfnCallback = callback;
    libvlc_event_attach(m_pImpl->m_pEventManager, libvlc_MediaPlayerTimeChanged, callback, userData);
}

libvlc_media_player_t* CVlcPlayer::RawPlayer() { return m_pImpl->m_pMediaPlayer; }
