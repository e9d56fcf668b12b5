// Figures of the dictionary pane in the shown main frame: the time from a
// look-up call to its page painted in the pane (100 look-ups of shipped
// words, exact and by the suffix rules), and the resident memory and web
// engine processes with the pane showing a local entry.
// Printed, not checked; scripts/bench runs it under Xvfb.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/html/htmlwin.h>

#include "ui/explorer1.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "frame/mainfrm.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/wordonlineview.h"

namespace {

// Processes of the web engine started by this process.
int WebEngineProcesses()
{
    int count = 0;
    const std::string self = std::to_string(getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string pid, name, state, parent;
        if (stat >> pid >> name >> state >> parent && parent == self && name.find("WebKit") != std::string::npos)
            ++count;
    }
    return count;
}

TEST(DictionaryFigures, LookUpToPageShownAndMemory)
{
    testsupport::TempProgramFolder program;
    CQuenlowDoc document;
    CMainFrame* frame = testsupport::ShowTestFrame(program.ansi(), document);
    ASSERT_NE(frame, nullptr);
    testsupport::RunLoopFor(std::chrono::milliseconds(500));
    CDetailWordPane* pane = frame->m_wndDetailWordPane;
    theApp.m_strWordLookupMode = "OnWordHome";
    theApp.m_strAutoLookup.Empty();
    theApp.m_strMouseGetWord.Empty();
    const long before = testsupport::ResidentKiB();

    const char* words[] = {"study", "studies", "making", "Hello", "apples", "taking", "o'clock", "welcome",
                           "walked", "boxes"};
    wxHtmlWindow* html = pane->m_pWordView->m_browser->GetHtmlWindow();
    std::vector<double> times;
    for (int i = 0; i < 100; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pane->LookUpWord(words[i % 10]);
        html->Refresh();
        html->Update();   // painted now, not at the next idle time
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        testsupport::DrainEvents();
    }
    std::sort(times.begin(), times.end());
    std::printf("look-up to page painted, 100 look-ups: median %.2f ms, 90th %.2f ms, slowest %.2f ms\n",
                times[50], times[90], times.back());
    std::printf("resident memory with the pane showing a local entry: %ld MB (%+ld MB over the frame before "
                "the first look-up); web engine processes: %d\n",
                testsupport::ResidentKiB() / 1024, (testsupport::ResidentKiB() - before) / 1024,
                WebEngineProcesses());
    frame->Close(true);
    testsupport::DestroyApplicationWindows();
}

} // namespace
