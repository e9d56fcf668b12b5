// Media made by ffmpeg once per test program, program folders whose
// Player.cfg picks the engine's outputs, and small waiting helpers.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "tests/windowsupport.h"

namespace mediafixtures {

// UTF-8 text from a u8 literal (narrow literals are GB18030 in this program).
inline std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Media {
    // 5 s test pattern; audio tracks "Tone 440" and "Tone 880"; subtitle
    // tracks titled "中", "X" and "  English  ", in a folder named in Chinese.
    std::string clip;
    // 3 s tone, nothing else.
    std::string wav;
    // 8 subtitle and 4 audio tracks: with the engine's "Disable" entries, the
    // largest lists that are listed (9 and 5).
    std::string largestLists;
    // 10 subtitle and 5 audio tracks: one more than the lists take.
    std::string tooManyTracks;
    // Two subtitle files in a folder named in Chinese, with a space, "#" and
    // "%" in their names.
    std::string subtitleBefore;
    std::string subtitleDuring;
};

// Made on first use; removed when the test program ends.
const Media& GetMedia();

// Program folders holding AppData/CommonData/Player.cfg for the engine.
enum class Outputs {
    Dummy,      // dummy audio and video outputs
    AlsaNull,   // dummy video, ALSA's null device (keeps a volume)
    X11,        // plain X11 video output, dummy audio
    AnyVideo,   // the video output the engine picks (OpenGL first), dummy audio
};
const std::string& EngineFolder(Outputs outputs);

// Makes the folder current while it lives (the engine reads its
// configuration relative to the current folder); also sets LANG=C so the
// engine's track names are not translated.
class EngineFolderScope {
public:
    explicit EngineFolderScope(Outputs outputs);
    ~EngineFolderScope();
    EngineFolderScope(const EngineFolderScope&) = delete;
    EngineFolderScope& operator=(const EngineFolderScope&) = delete;

private:
    std::string m_previous;
};

// Polls until the condition holds (true) or the time is up (false).
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
// The media tests wait with the toolkit's event loop running (a clip plays
// in real time; its windows are mapped and painted meanwhile).
inline bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    return testsupport::RunLoopUntil(condition, timeout);
}
inline void Pump(std::chrono::milliseconds duration) { testsupport::RunLoopFor(duration); }

} // namespace mediafixtures
