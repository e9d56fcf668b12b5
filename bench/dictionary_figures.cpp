// Figures of the dictionary pane in the shown main frame: the time from a
// look-up call to its page painted in the pane (100 look-ups of shipped
// words, exact, by the suffix rules, irregular forms and a miss), the time
// of the word box's suggestions for a typed prefix, the dictionary's size
// and headword count, and the resident memory and web engine processes
// with the pane showing a local entry.
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

#include <wx/combobox.h>

#include "platform/file.h"
#include "platform/sqlitedb.h"
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

    const char* words[] = {"study", "studied", "running", "Hello", "took", "children", "o'clock", "continue",
                           "wolves", "xqzvbnt"};
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

    // The word box as the learner types: one suggestion list per keystroke.
    const char* prefixes[] = {"a", "ab", "abs", "c", "co", "con", "s", "st", "str", "o'c"};
    std::vector<double> suggest;
    for (int i = 0; i < 100; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pane->m_comboWord->SetValue(prefixes[i % 10]);   // a text event, as typing gives
        suggest.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        testsupport::DrainEvents();
    }
    std::sort(suggest.begin(), suggest.end());
    std::printf("suggestions for a typed prefix, 100 keystrokes: median %.2f ms, 90th %.2f ms, slowest %.2f ms\n",
                suggest[50], suggest[90], suggest.back());

    CSqliteDb db;
    SQueryResult count;
    if (db.Open(theApp.m_strBaseDictPath, CSqliteDb::ReadOnly) &&
        db.Query("select (select count(*) from oxford7), (select count(*) from wordforms)", {}, count))
        std::printf("dictionary: %s headwords, %s forms, %.1f MB\n", count.GetCell(0, 0), count.GetCell(0, 1),
                    std::filesystem::file_size(ToFsPath(theApp.m_strBaseDictPath)) / 1048576.0);
    std::printf("resident memory with the pane showing a local entry: %ld MB (%+ld MB over the frame before "
                "the first look-up); web engine processes: %d\n",
                testsupport::ResidentKiB() / 1024, (testsupport::ResidentKiB() - before) / 1024,
                WebEngineProcesses());
    frame->Close(true);
    testsupport::DestroyApplicationWindows();
}

} // namespace
