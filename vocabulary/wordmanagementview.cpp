#include "vocabulary/wordmanagementview.h"

#include <wx/sizer.h>
#include <wx/stc/stc.h>

#include "shell/base/lessontextstyle.h"
#include "shell/core/quenlow.h"

bool CWordManagementView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_editWordList = new wxStyledTextCtrl(this, kWordListId);
    SetUpLessonTextCtrl(*m_editWordList, false);
    m_editExamples = new wxStyledTextCtrl(this, kExamplesId);
    SetUpLessonTextCtrl(*m_editExamples, false);
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(m_editWordList, 1, wxEXPAND);
    sizer->Add(m_editExamples, 2, wxEXPAND);
    SetSizer(sizer);
    return true;
}

void CWordManagementView::RefreshStyle()
{
    if (theApp.m_nFontCountWordView == theApp.m_nFontChangeCount)
        return;
    ApplyListColors();
    theApp.m_nFontCountWordView = theApp.m_nFontChangeCount;
}

void CWordManagementView::ApplyListColors()
{
    if (m_editWordList == nullptr)
        return;
    SLessonTextStyle style = CurrentLessonTextStyle();
    style.points = kListPoints;
    ApplyLessonTextStyle(*m_editWordList, style);
    style.bold = false;
    ApplyLessonTextStyle(*m_editExamples, style);
}

void CWordManagementView::OnCurrentunitword()
{
    theApp.m_strWordListKind = "CURRENTUNITWORD";
    if (m_editWordList != nullptr)
        SetControlText(*m_editWordList, "");
}
