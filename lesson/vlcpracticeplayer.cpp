#include "lesson/vlcpracticeplayer.h"

#include "playback/vlcplayer.h"
#include "shell/core/quenlow.h"

bool CVlcPracticePlayer::Open(const CString& path)
{
    CVlcPlayer* player = Player();
    return player != nullptr && player->OpenFile(theApp.FilePathToUtf8(path).GetString());
}

void CVlcPracticePlayer::Play()
{
    if (CVlcPlayer* player = Player()) {
        player->Play();
        ApplyVolume();
    }
}

void CVlcPracticePlayer::PlayFrom(int ms)
{
    // A seek given before the engine has opened the media would be lost.
    if (CVlcPlayer* player = Player()) {
        player->PlayFrom(ms);
        ApplyVolume();
    }
}

void CVlcPracticePlayer::Pause()
{
    if (CVlcPlayer* player = Player())
        player->PauseIfPlaying();
}

void CVlcPracticePlayer::Stop()
{
    if (CVlcPlayer* player = Player())
        player->Stop();
}

void CVlcPracticePlayer::SetVolume(int volume)
{
    m_nVolume = volume;
    ApplyVolume();
}

int64_t CVlcPracticePlayer::GetTime()
{
    CVlcPlayer* player = Player();
    return player != nullptr ? player->GetEstimatedTime() : -1;
}

bool CVlcPracticePlayer::HasFinished()
{
    CVlcPlayer* player = Player();
    return player == nullptr || player->IsEndedOrStopped() || player->GetState() == CVlcPlayer::kStateError;
}

void CVlcPracticePlayer::ApplyVolume()
{
    CVlcPlayer* player = Player();
    if (player == nullptr || m_nVolume < 0)
        return;
    player->SetVolume(m_nVolume);
    if (player->GetVolume() == m_nVolume) {
        wxTimer::Stop();
        return;
    }
    m_nRetries = 0;
    if (!IsRunning())
        Start(kVolumeRetryMs);
}

void CVlcPracticePlayer::Notify()
{
    CVlcPlayer* player = Player();
    if (player == nullptr || m_nVolume < 0 || ++m_nRetries > kVolumeRetryLimitMs / kVolumeRetryMs) {
        wxTimer::Stop();
        return;
    }
    // A stopped or ended player starts no audio output: the next Play gives
    // the volume again.
    const int state = player->GetState();
    if (state == CVlcPlayer::kStateStopped || state == CVlcPlayer::kStateEnded || state == CVlcPlayer::kStateError) {
        wxTimer::Stop();
        return;
    }
    player->SetVolume(m_nVolume);
    if (player->GetVolume() == m_nVolume)
        wxTimer::Stop();
}
