// The program's parentless windows go with the main frame (a hidden one left
// behind would keep the program running), and closing the frame does not
// wait for an update check stuck on the network.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include <wx/app.h>
#include <wx/toplevel.h>

#include "lesson/quenlowview.h"
#include "online/inputnetadressdlg.h"
#include "online/updatedlg.h"
#include "playback/purewmpdialog.h"
#include "ui/showmsgdlg.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "frame/appwindows.h"
#include "frame/mainfrm.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "vocabulary/minihtmldlg.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void DrainEvents()
{
    for (int i = 0; i < 5; ++i) {
        while (wxTheApp->Pending())
            wxTheApp->Dispatch();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();   // deletes the windows pending deletion
    }
}

std::set<wxWindow*> TopLevelWindows()
{
    return std::set<wxWindow*>(wxTopLevelWindows.begin(), wxTopLevelWindows.end());
}

class AppWindowsTest : public testing::Test {
protected:
    void SetUp() override
    {
        before = TopLevelWindows();
        frame = testsupport::ShowTestFrame(program.ansi(), document);
        ASSERT_NE(frame, nullptr);
        auto* lesson = dynamic_cast<CQuenlowView*>(frame->FindView(kViewLesson));
        ASSERT_NE(lesson, nullptr);
        lesson->CreateCaptionDialog();
        DrainEvents();
    }

    void TearDown() override
    {
        if (frame)
            frame->Close(true);
        DrainEvents();
        int kind = 0, seconds = 0;
        CString text;
        theApp.TakeMessage(kind, text, seconds);
    }

    // The top-level windows made since the test began; only those without
    // a parent, which nothing else destroys, when parentless is set.
    std::set<wxWindow*> NewTopLevelWindows(bool parentless = false) const
    {
        std::set<wxWindow*> added;
        for (wxWindow* window : TopLevelWindows())
            if (!before.count(window) && !(parentless && window->GetParent()))
                added.insert(window);
        return added;
    }

    static void ExpectPointersCleared()
    {
        EXPECT_EQ(theApp.m_pStreamDlg, nullptr);
        EXPECT_EQ(theApp.m_pShowMsgDlg, nullptr);
        EXPECT_EQ(theApp.m_dlgMiniHtml, nullptr);
    }

    std::set<wxWindow*> before;
    testsupport::TempProgramFolder program;
    CQuenlowDoc document;
    CMainFrame* frame = nullptr;
};

TEST_F(AppWindowsTest, DestroyingTheApplicationWindowsLeavesOnlyTheFrame)
{
    // The frame, the second player, the message, word, update and address
    // windows (the search box belongs to the frame, the Chinese caption
    // strip to the lesson view).
    const std::set<wxWindow*> made = NewTopLevelWindows(true);
    EXPECT_EQ(made.size(), 6u);
    for (wxWindow* window : std::initializer_list<wxWindow*>{frame, theApp.m_pStreamDlg, theApp.m_pShowMsgDlg,
                                                             theApp.m_dlgMiniHtml, frame->m_dlgUpdate,
                                                             frame->m_dlgNetAddress})
        EXPECT_TRUE(made.count(window));

    DestroyAppWindows();
    DrainEvents();
    ExpectPointersCleared();
    EXPECT_EQ(frame->m_dlgUpdate, nullptr);
    EXPECT_EQ(frame->m_dlgNetAddress, nullptr);
    EXPECT_EQ(NewTopLevelWindows(true), std::set<wxWindow*>{frame});

    // Again, and with the caption window made anew: nothing left twice.
    auto* lesson = dynamic_cast<CQuenlowView*>(frame->FindView(kViewLesson));
    lesson->CreateCaptionDialog();
    DestroyAppWindows();
    DrainEvents();
    EXPECT_EQ(NewTopLevelWindows(true), std::set<wxWindow*>{frame});
}

TEST_F(AppWindowsTest, ClosingTheFrameLeavesNoWindowOfTheProgram)
{
    frame->Close(true);
    frame = nullptr;
    DrainEvents();
    ExpectPointersCleared();
    EXPECT_TRUE(NewTopLevelWindows().empty());
    EXPECT_EQ(GetMainFrame(), nullptr);
}

TEST_F(AppWindowsTest, ClosingDuringAnUpdateCheckDoesNotWaitForTheServer)
{
    CLoopbackServer server([](const std::string&) { return NoAnswer(); });
    program.write("AppData/CommonData/Product.cfg",
                  "ProductId=P1\nUpdateServerHost=127.0.0.1\nUpdateServerPort=" + std::to_string(server.port()) + "\n");
    theApp.m_strProductId = "P1";
    frame->m_fnNetworkConnected = [] { return true; };
    frame->StartManualUpdateCheck();
    ASSERT_TRUE(frame->IsUpdateCheckRunning());
    const auto waitStart = Clock::now();
    while (server.requests().empty() && Clock::now() - waitStart < 10s) {
        DrainEvents();
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_EQ(server.requests().size(), 1u);
    int kind = 0, seconds = 0;
    CString text;
    theApp.TakeMessage(kind, text, seconds);

    // The request itself would wait 15 s for the silent server.
    const auto closeStart = Clock::now();
    frame->Close(true);
    frame = nullptr;
    EXPECT_LT(Clock::now() - closeStart, 5s);
    DrainEvents();
    EXPECT_TRUE(NewTopLevelWindows().empty());
    // The cancelled check reports nothing.
    EXPECT_FALSE(theApp.TakeMessage(kind, text, seconds)) << text.GetString();
}

} // namespace
