// Speech practice's player interface over a media-engine facade: paths go to
// the engine as UTF-8, times are estimated between the engine's reports.
#pragma once

#include <functional>

#include "lesson/core/practiceplayer.h"

class CVlcPlayer;

class CVlcPracticePlayer final : public IPracticePlayer {
public:
    // Where the facade to drive comes from, asked at every call: the window
    // that owns it may go. Null leaves every call without effect.
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

    // The engine has not taken the volume given yet.
    bool IsSettingVolume() const;

private:
    std::function<CVlcPlayer*()> m_source;
};
