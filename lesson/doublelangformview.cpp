#include "lesson/doublelangformview.h"

#include <algorithm>

#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stc/stc.h>

#include "ui/lessontextstyle.h"
#include "ui/wxtext.h"
#include "playback/vlcplayer.h"
#include "ui/mainframehost.h"
#include "core/quenlow.h"

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
    m_listSpare = new wxListCtrl(this, kSpareListId, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
    m_listSpare->Hide();
    // The text fills the view at every size.
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_richText, 1, wxEXPAND);
    SetSizer(sizer);
    m_richText->Bind(wxEVT_LEFT_DCLICK, &CDoubleLangFormView::OnDoubleClick, this);
    return true;
}

namespace {

// Lesson databases store the Chinese text (and some the English text)
// without a line end; every entry still takes two lines of its own, so the
// next number starts a line.
CString WithLineEnd(const CString& text)
{
    return text.Right(1) == "\n" ? text : text + "\n";
}

} // namespace

CString CDoubleLangFormView::FormatListText(const CStringArray& english, const CStringArray& chinese)
{
    CString text;
    const int count = std::min(english.GetSize(), chinese.GetSize());
    for (int i = 0; i < count; ++i) {
        CString entry;
        entry.Format("%d.", i + 1);
        entry += WithLineEnd(english[i]);
        entry += i <= 9 ? "  " : "    ";
        entry += WithLineEnd(chinese[i]);
        text += entry;
    }
    return text;
}

void CDoubleLangFormView::BuildText()
{
    if (m_richText == nullptr)
        return;
    if (m_listSpare != nullptr)
        m_listSpare->Hide();
    SetControlText(*m_richText, FormatListText(theApp.m_arrForeignText, theApp.m_arrChineseText));
    ApplyTextFormat();
    m_timers.SetTimer(kFollowTimer, kFollowInterval);
    // The first tick marks the playing entry, also the first one.
    m_nShownSentence = -1;
    m_richText->GotoPos(0);
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

void CDoubleLangFormView::OnTimer(int id)
{
    switch (id) {
    case kFollowTimer:
        FollowCurrentSentence();
        ScheduleSentenceChange();
        break;
    case kTimerSentenceChange:
        m_timers.KillTimer(kTimerSentenceChange);
        FollowCurrentSentence();
        break;
    case kTimerLookUp:
        m_timers.KillTimer(kTimerLookUp);
        LookUpSelection();
        break;
    default:
        break;
    }
}

void CDoubleLangFormView::ScheduleSentenceChange()
{
    IMainFrameHost* host = MainFrameHost();
    CVlcPlayer* player = host != nullptr ? host->MainPlayer() : nullptr;
    if (player == nullptr || theApp.m_strPlayState != "OnPlay")
        return;
    const int64_t t = player->GetEstimatedTime();
    const int64_t next = t < 0 ? -1 : theApp.NextSentenceChange(t);
    if (next < 0 || next - t >= kFollowInterval)
        return;
    // A few milliseconds after the lesson view, which sets the sentence.
    constexpr int64_t kAfterLessonViewMs = 5;
    m_timers.KillTimer(kTimerSentenceChange);
    m_timers.SetTimer(kTimerSentenceChange, static_cast<int>(next - t + kAfterLessonViewMs));
}

int CDoubleLangFormView::FindEntryNumber(int number) const
{
    if (m_richText == nullptr || number < 0)
        return -1;
    CString pattern;
    pattern.Format("^%d\\.", number);
    m_richText->SetSearchFlags(wxSTC_FIND_REGEXP);
    m_richText->SetTargetStart(0);
    m_richText->SetTargetEnd(m_richText->GetLength());
    return m_richText->SearchInTarget(ToWx(pattern));
}

void CDoubleLangFormView::FollowCurrentSentence()
{
    const int current = theApp.m_nCurrentSentence;
    if (current == m_nShownSentence || m_richText == nullptr)
        return;
    m_nShownSentence = current;
    if (current < 0)
        return;

    // Sentence i is the entry numbered i + 1: from its number to the end of
    // its Chinese line, where the next entry's number starts.
    const int found = FindEntryNumber(current + 1);
    if (found >= 0) {
        const int next = FindEntryNumber(current + 2);
        int end = next > found ? next : m_richText->GetLength();
        while (end > found && m_richText->GetCharAt(end - 1) == '\n')
            --end;
        m_richText->SetSelection(found, end);
    }

    // Each entry is two lines; the list pages down by almost a screen when
    // the entry nears the bottom.
    const int visible = theApp.m_nVisibleLines;
    if (2 * current - m_richText->GetFirstVisibleLine() > visible - 4 && visible - 6 > 0)
        m_richText->LineScroll(0, visible - 6);
}

void CDoubleLangFormView::LookUpSelection()
{
    if (m_richText == nullptr)
        return;
    CString text = FromWx(m_richText->GetSelectedText());
    text.Trim(' ');
    if (text.IsEmpty())
        return;
    m_pMainFrame = MainFrameHost();
    if (m_pMainFrame == nullptr)
        return;
    m_pMainFrame->LookUpWordInPane(text);
    m_pMainFrame->ShowDictionaryPane();
}

void CDoubleLangFormView::OnDoubleClick(wxMouseEvent& event)
{
    // The control selects the word first; the look-up reads it afterwards.
    m_timers.SetTimer(kTimerLookUp, kLookUpDelay);
    event.Skip();
}
