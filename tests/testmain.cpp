// Test main: starts the toolkit once, turns toolkit assertions into test
// failures and keeps every test away from the real desktop and profile.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "tests/testsupport.h"

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion in " << func.utf8_str() << ": " << cond.utf8_str() << " "
                                          << msg.utf8_str();
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

    static testsupport::TempFolder home;
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home.path() + ".local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home.path() + ".cache").c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);

    // Listing the tests needs no display.
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot start the toolkit (is there a display?)\n");
        return 2;
    }
    wxSetAssertHandler(FailOnAssert);
    wxLog::EnableLogging(false);
    const int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    return result;
}
