#include "tests/windowsupport.h"

#include <thread>

#include <wx/app.h>
#include <wx/evtloop.h>

#include <gtest/gtest.h>

#include "shell/core/quenlowdoc.h"
#include "shell/frame/appwindows.h"
#include "shell/frame/mainfrm.h"

namespace testsupport {

void DrainEvents()
{
    for (int i = 0; i < 5; ++i) {
        while (wxTheApp->Pending())
            wxTheApp->Dispatch();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        DrainEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool RunLoopUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        // With every category, this also handles the queued and idle events.
        loop.YieldFor(wxEVT_CATEGORY_ALL);
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void RunLoopFor(std::chrono::milliseconds duration)
{
    RunLoopUntil([] { return false; }, duration);
}

CMainFrame* ShowTestFrame(const CString& programFolder, CQuenlowDoc& document)
{
    document.OnNewDocument();
    auto* frame = new CMainFrame(programFolder);
    if (!frame->Create(&document)) {
        ADD_FAILURE() << "the main frame cannot be created";
        frame->Destroy();
        return nullptr;
    }
    frame->Show();
    return frame;
}

void DestroyApplicationWindows()
{
    DrainEvents();
    DestroyAppWindows();
    DrainEvents();
}

} // namespace testsupport
