// The word book view's list formats as the main frame refreshes them.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stc/stc.h>

#include "shell/core/quenlow.h"
#include "tests/appstateguard.h"
#include "vocabulary/wordmanagementview.h"

TEST(WordManagementViewTest, ListFormatsFollowTheCounterAtTwelvePoints)
{
    const testsupport::AppStateGuard guard(&CQuenlowApp::m_strFontName, &CQuenlowApp::m_nFontSize,
                                           &CQuenlowApp::m_clrText, &CQuenlowApp::m_nFontChangeCount,
                                           &CQuenlowApp::m_nFontCountWordView);

    auto* frame = new wxFrame(nullptr, wxID_ANY, "word book");
    auto* view = new CWordManagementView;
    ASSERT_TRUE(view->Create(frame, 378));
    wxStyledTextCtrl& list = *view->m_editWordList;
    wxStyledTextCtrl& examples = *view->m_editExamples;

    theApp.m_strFontName = "Serif";
    theApp.m_nFontSize = 30;   // the lists keep their own size
    theApp.m_clrText = RGB(0, 0, 255);
    ++theApp.m_nFontChangeCount;
    view->RefreshStyle();
    EXPECT_EQ(theApp.m_nFontCountWordView, theApp.m_nFontChangeCount);
    for (wxStyledTextCtrl* control : {&list, &examples}) {
        EXPECT_EQ(control->StyleGetFaceName(0), "Serif");
        EXPECT_EQ(control->StyleGetSize(0), 12);
        EXPECT_EQ(control->StyleGetForeground(0), wxColour(0, 0, 255));
    }
    EXPECT_TRUE(list.StyleGetBold(0));
    EXPECT_FALSE(examples.StyleGetBold(0));

    // Same counter: a new face is not picked up.
    theApp.m_strFontName = "Monospace";
    view->RefreshStyle();
    EXPECT_EQ(list.StyleGetFaceName(0), "Serif");

    frame->Destroy();
}
