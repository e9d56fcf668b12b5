// Helpers of the window tests: handling the toolkit's events while a test
// waits, a main frame over a test program folder, and closing the windows the
// application object keeps.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "platform/cstring.h"

class CMainFrame;
class CVlcPlayer;
class wxImage;
class wxWindow;

#include "core/quenlowdoc.h"
#include "tests/testsupport.h"

namespace testsupport {

// Starts GTK on the display, trying for up to 5 s: under the load of many
// test programs starting at once the first try has been seen to fail, and the
// toolkit tries only once. False when it never starts.
bool StartGtk();

// Handles the events already queued (also those queued from other threads and
// by CallAfter), the idle handlers and the windows waiting to be deleted, a
// few rounds over. Timers and other native events are not run.
void DrainEvents();

// Drains events (as above) until the condition holds (true) or the time is up
// (false). Timers do not fire: a test of a frame drives them by hand.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs the toolkit's event loop, native events and timers included, until
// the condition holds (true) or the time is up (false); for windows that must
// be mapped, resized or painted, and for media playing in real time.
bool RunLoopUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
// How long a wait on the web engine may take: its first page starts the
// engine's own processes, which takes seconds on a loaded machine.
constexpr std::chrono::seconds kWebEngineDeadline{30};
// Runs the toolkit's event loop for a while.
void RunLoopFor(std::chrono::milliseconds duration);

// The window's client area as the X server shows it (what a learner sees,
// overlapping windows included); an empty image when it cannot be read.
wxImage GrabFromScreen(wxWindow& window);

// A main frame over the program folder, created and shown, with an empty
// document; null (and a test failure) when it cannot be created.
CMainFrame* ShowTestFrame(const CString& programFolder, CQuenlowDoc& document);

// The program's own exit tear-down (DestroyAppWindows: every parentless
// window, the application's pointers cleared) between two drains of the
// pending events, so the windows are really gone when it returns.
void DestroyApplicationWindows();

// Opens a short clip, made in the folder `folderFs`, in the frame's main
// player: play then has something the engine can play (play of an empty
// player ends stopped with a message).
bool OpenClipInMainPlayer(CMainFrame& frame, const std::string& folderFs);

// A shown main frame over a temporary program folder whose media engine has
// dummy outputs and reads no subtitle file by itself. The folder is current
// while the test runs (the engine reads its configuration relative to it).
// The frame's downloader counts as running: nothing is started, and what it
// is sent stays in the queue. Tear-down closes every window of the program.
class PlayingFrameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    CVlcPlayer& Player();

    TempProgramFolder program;
    CQuenlowDoc document;
    CMainFrame* frame = nullptr;

private:
    std::string m_previousFolder;
};

} // namespace testsupport
