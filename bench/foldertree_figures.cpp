// Figures of a playlist folder of 200,000 media files in the local media
// tree: whether its item gets an expander (start-up), opening it by a click,
// opening it again, and a double click on one of its files (the current play
// list rebuilt and the file found). For each: the time until the tree shows
// the result, the longest stall of the interface thread (a 10 ms timer's
// longest gap, or a call that does not return) and the resident memory.
// Printed, not checked; scripts/bench runs it under Xvfb.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include "catalogue/core/talkfiles.h"
#include "catalogue/localviewtree.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 200000;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double ResidentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// Runs an action on the interface thread and pumps events until `done`:
// the whole time, and the longest time the thread did not answer (the
// action's own call, or the longest gap of a 10 ms timer).
void Measure(const char* what, const std::function<void()>& action, const std::function<bool()>& done)
{
    wxTimer ticker;
    Clock::time_point last = Clock::now();
    double longestGap = 0;
    ticker.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        const Clock::time_point now = Clock::now();
        longestGap = std::max(longestGap, Ms(now - last));
        last = now;
    });
    const double memoryBefore = ResidentMb();
    ticker.Start(10);
    const Clock::time_point start = Clock::now();
    action();
    const double call = Ms(Clock::now() - start);
    last = Clock::now();
    const bool finished = testsupport::RunLoopUntil(done, 120s);
    const double total = Ms(Clock::now() - start);
    ticker.Stop();
    std::printf("%-34s %8.0f ms until shown%s, longest stall %6.0f ms (call %6.0f ms), memory %+6.0f MB (%.0f MB)\n",
                what, total, finished ? "" : " (NOT FINISHED)", std::max(call, longestGap), call,
                ResidentMb() - memoryBefore, ResidentMb());
}

TEST(FolderTreeFigures, AFolderOf200000MediaFiles)
{
    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strUserDataDbPath, &CQuenlowApp::m_strLocalPlaylistTable,
                                     &CQuenlowApp::m_strPlayHistoryTable, &CQuenlowApp::m_nPlayIndex);
    CQuenlowApp paths;
    ApplyStartupDefaults(paths, program.ansi());
    ASSERT_TRUE(CreateDataFolders(paths).empty());
    theApp.m_strUserDataDbPath = paths.m_strUserDataDbPath;
    theApp.m_strLocalPlaylistTable = paths.m_strLocalPlaylistTable;
    const std::string folderFs = program.path() + "big/";
    ASSERT_TRUE(CreateFolders(FromFsPath(folderFs)));
    for (int n = 0; n < kFiles; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "clip%06d.%s", n, n % 2 == 0 ? "mp4" : "mp3");
        const int fd = ::open((folderFs + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    const CString folder = FromFsPath(folderFs);
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "big", folder, "", "", "", ""));

    auto* frame = new wxFrame(nullptr, wxID_ANY, "tree", wxDefaultPosition, wxSize(400, 700));
    auto* tree = new CLocalViewTree;
    ASSERT_TRUE(tree->Create(frame));
    frame->Show();
    wxEvtHandler sink;
    tree->SetCommandTarget(&sink);
    const wxTreeItemId root = tree->GetRootItem();
    const wxTreeItemId current = tree->AppendItem(root, ToWx("当前播放列表"));
    const wxTreeItemId big = tree->AppendItem(root, ToWx("big"), CLocalViewTree::kImageFolder);
    testsupport::DrainEvents();
    theApp.m_arrPlayList.RemoveAll();
    std::printf("%d media files in one playlist folder\n", kFiles);

    Measure("start-up: has it children", [&] { tree->ShowExpanderIfFilled(big, folder); },
            [&] { return tree->ItemHasChildren(big); });
    const auto opened = [&] {
        return tree->IsExpanded(big) && tree->GetChildrenCount(big, false) == static_cast<size_t>(kFiles);
    };
    Measure("click: open the folder", [&] {
        tree->SetCaret(big);
        tree->OnClickTick();
    }, opened);
    Measure("click: close it", [&] { tree->OnClickTick(); }, [&] { return !tree->IsExpanded(big); });
    Measure("click: open it again", [&] { tree->OnClickTick(); }, opened);

    wxTreeItemIdValue cookie;
    wxTreeItemId middle = tree->GetFirstChild(big, cookie);
    for (int n = 0; n < kFiles / 2; ++n)
        middle = tree->GetNextChild(big, cookie);
    const CString name = FromWx(tree->GetItemText(middle));
    Measure("double click: play a file", [&] {
        tree->SetCaret(middle);
        tree->OnDoubleClickTick();
    }, [&] { return tree->GetChildrenCount(current, false) == static_cast<size_t>(kFiles); });
    std::printf("  plays %s: %s\n", name.GetString(),
                theApp.m_nPlayIndex >= 0 && theApp.m_nPlayIndex < theApp.m_arrPlayList.GetSize() &&
                        FileNamePart(theApp.m_arrPlayList[theApp.m_nPlayIndex]) == name
                    ? "the file clicked"
                    : "ANOTHER FILE");
    wxTreeItemId found;
    Measure("mark the playing file", [&] {
        found = tree->FindItemByText(current, name);
        tree->MarkPlayingItem(found);
    }, [] { return true; });
    std::printf("  marked: %s\n", found.IsOk() ? "yes" : "NO");
    frame->Destroy();
    testsupport::DrainEvents();
    theApp.m_arrPlayList.RemoveAll();
}

} // namespace
