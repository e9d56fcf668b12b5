#include "lesson/quenlowview.h"

#include <wx/sizer.h>
#include <wx/stc/stc.h>

#include "lesson/lessontextstyle.h"
#include "shell/quenlow.h"
#include "shell/showchndlg.h"

CQuenlowView::CQuenlowView() : m_timers(this, [this](int id) { OnTimer(id); })
{
}

CQuenlowView::~CQuenlowView()
{
    m_timers.KillAll();
    // The caption window has no parent, so nothing else destroys it.
    if (m_pShowChnDlg != nullptr) {
        m_pShowChnDlg->Destroy();
        m_pShowChnDlg = nullptr;
    }
}

bool CQuenlowView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_richText = new wxStyledTextCtrl(this, kTextId);
    SetUpLessonTextCtrl(*m_richText, true);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_richText, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}

void CQuenlowView::OnInitialUpdate()
{
    ApplyTextFormat();
}

void CQuenlowView::LoadSubtitleFile()
{
    // Clears the previous lesson: the text and the sentence model are emptied.
    theApp.ClearSentenceModel();
    if (m_richText != nullptr)
        SetControlText(*m_richText, "");
}

void CQuenlowView::StartFollowing(const CString& /*unused*/)
{
    theApp.m_nCurrentSentence = 0;
    m_timers.SetTimer(kFollowTimer, kFollowInterval);
}

void CQuenlowView::ApplyTextFormat()
{
    if (m_richText != nullptr)
        ApplyLessonTextStyle(*m_richText, CurrentLessonTextStyle());
}

void CQuenlowView::UpdateFontIfChanged()
{
    if (theApp.m_nFontCountQuenlowView == theApp.m_nFontChangeCount)
        return;
    ApplyTextFormat();
    if (m_pShowChnDlg != nullptr)
        m_pShowChnDlg->ApplyTextFormat();
    theApp.m_nFontCountQuenlowView = theApp.m_nFontChangeCount;
}

int CQuenlowView::GetLineHeight()
{
    // Every line of the view has the one lesson font, so the height of line 0
    // is the distance between any two neighbouring lines.
    const int height = m_richText != nullptr ? m_richText->TextHeight(0) : 0;
    return height > 0 ? height : 10;
}

void CQuenlowView::CreateCaptionDialog()
{
    m_pShowChnDlg = new CShowChnDlg();
    m_pShowChnDlg->Create(nullptr);
    m_pShowChnDlg->SetSize(0, 0, 0, 0);
    m_pShowChnDlg->Hide();
}

void CQuenlowView::OnTimer(int /*id*/)
{
    // The follow timer ticks without moving the selection.
}
