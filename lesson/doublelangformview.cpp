#include "lesson/doublelangformview.h"

#include <algorithm>

#include <wx/sizer.h>
#include <wx/stc/stc.h>

#include "lesson/lessontextstyle.h"
#include "shell/quenlow.h"

CDoubleLangFormView::CDoubleLangFormView() : m_timers(this, [this](int id) { OnTimer(id); })
{
}

CDoubleLangFormView::~CDoubleLangFormView()
{
    m_timers.KillAll();
}

bool CDoubleLangFormView::Create(wxWindow* host, int id)
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

CString CDoubleLangFormView::FormatListText(const CStringArray& english, const CStringArray& chinese)
{
    CString text;
    const int count = std::min(english.GetSize(), chinese.GetSize());
    for (int i = 0; i < count; ++i) {
        CString entry;
        entry.Format("%d.", i + 1);
        entry += english[i];
        entry += i <= 9 ? "  " : "    ";
        entry += chinese[i];
        text += entry;
    }
    return text;
}

void CDoubleLangFormView::BuildText()
{
    if (m_richText == nullptr)
        return;
    SetControlText(*m_richText, FormatListText(theApp.m_arrForeignText, theApp.m_arrChineseText));
    ApplyTextFormat();
    m_timers.SetTimer(kFollowTimer, kFollowInterval);
    m_nShownSentence = 0;
}

void CDoubleLangFormView::ApplyTextFormat()
{
    if (m_richText != nullptr)
        ApplyLessonTextStyle(*m_richText, CurrentLessonTextStyle());
}

void CDoubleLangFormView::UpdateFontIfChanged()
{
    if (m_nFontCountDoubleLangView == theApp.m_nFontChangeCount)
        return;
    ApplyTextFormat();
    m_nFontCountDoubleLangView = theApp.m_nFontChangeCount;
}

void CDoubleLangFormView::OnTimer(int /*id*/)
{
    // The follow timer ticks without moving the selection.
}
