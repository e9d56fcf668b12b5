// Speech practice's player interface over a media-engine facade: paths go to
// the engine as UTF-8, times are estimated between the engine's reports.
//
// The engine drops a volume given while its audio output is stopped or still
// starting (the call fails and the old volume stays, 0 after a muted
// dubbing). The volume asked for last is therefore kept and given again
// every 50 ms until the engine reports it, for as long as the player is
// starting or playing; playing again gives it again.
#pragma once

#include <functional>

#include <wx/timer.h>

#include "lesson/core/practiceplayer.h"

class CVlcPlayer;

class CVlcPracticePlayer final : public IPracticePlayer, private wxTimer {
public:
    static constexpr int kVolumeRetryMs = 50;
    // How long a volume is given again at most.
    static constexpr int kVolumeRetryLimitMs = 10000;

    // Where the facade to drive comes from, asked at every call: the window
    // that owns it may go while a volume is still being given. Null leaves
    // every call without effect.
    explicit CVlcPracticePlayer(std::function<CVlcPlayer*()> source) : m_source(std::move(source)) {}
    CVlcPlayer* Player() const { return m_source ? m_source() : nullptr; }

    bool Open(const CString& path) override;
    void Play() override;
    void PlayFrom(int ms) override;
    void Pause() override;
    void Stop() override;
    void SetVolume(int volume) override;
    int64_t GetTime() override;
    bool HasFinished() override;

    // The volume is still being given again.
    bool IsSettingVolume() const { return IsRunning(); }

private:
    // Gives the kept volume; keeps trying while the engine has not taken it.
    void ApplyVolume();
    void Notify() override;

    std::function<CVlcPlayer*()> m_source;
    int m_nVolume = -1;   // the volume asked for last; -1 none
    int m_nRetries = 0;
};
