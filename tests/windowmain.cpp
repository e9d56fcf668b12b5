// Test main of the window tests: starts the toolkit once, turns toolkit
// assertions into test failures and keeps every test away from the real
// desktop and profile.
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "tests/testsupport.h"
#include "tests/windowsupport.h"

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

    testsupport::UseTemporaryHome();
    setenv("GDK_BACKEND", "x11", 1);

    // Listing the tests needs no display.
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    if (!testsupport::StartGtk())
        fprintf(stderr, "GTK cannot open the display %s\n", getenv("DISPLAY") ? getenv("DISPLAY") : "(unset)");
    // Why the toolkit could not start goes to stderr.
    delete wxLog::SetActiveTarget(new wxLogStderr);
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
