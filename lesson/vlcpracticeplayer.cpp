#include "lesson/vlcpracticeplayer.h"

#include "playback/vlcplayer.h"
#include "core/quenlow.h"

bool CVlcPracticePlayer::Open(const CString& path)
{
    CVlcPlayer* player = Player();
    return player != nullptr && player->OpenFile(theApp.FilePathToUtf8(path).GetString());
}

void CVlcPracticePlayer::Play()
{
    if (CVlcPlayer* player = Player())
        player->Play();
}

void CVlcPracticePlayer::PlayFrom(int ms)
{
    // A seek given before the engine has opened the media would be lost.
    if (CVlcPlayer* player = Player())
        player->PlayFrom(ms);
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
    if (CVlcPlayer* player = Player())
        player->SetVolume(volume);
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

bool CVlcPracticePlayer::IsSettingVolume() const
{
    CVlcPlayer* player = Player();
    return player != nullptr && player->HasPendingVolume();
}
