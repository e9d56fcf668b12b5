// The lesson view's mouse: point-read (a sentence under the mouse is marked,
// a click plays it), a double click looks the selection up, a selection of
// several words brings the edit menu, and the word pick-up looks up the word
// the mouse rests on in the pop-up dictionary browser. Also the study
// commands that switch these and repeat a selection.
#include <algorithm>

#include <wx/stc/stc.h>
#include <wx/utils.h>

#include "lesson/quenlowview.h"
#include "playback/vlcplayer.h"
#include "ui/mainframehost.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "vocabulary/core/wordlookup.h"

namespace {

// Indicators of the hover mark: an orange box under white text.
constexpr int kHoverBoxIndicator = 9;
constexpr int kHoverTextIndicator = 10;

constexpr int kPopupWidth = 500;
constexpr int kPopupHeight = 350;
// The gap between the pointer and the pop-up's nearer corner.
constexpr int kPopupMargin = 20;

int SentenceCount()
{
    return std::min<int>(theApp.m_nSentenceCount, static_cast<int>(theApp.m_arrSentenceTiming.size()));
}

bool IsFlagOn(const CString& flag) { return flag == "true"; }

} // namespace

void CQuenlowView::BindMouseAndStudyCommands()
{
    m_richText->Bind(wxEVT_LEFT_DOWN, &CQuenlowView::OnLeftDown, this);
    m_richText->Bind(wxEVT_LEFT_UP, &CQuenlowView::OnLeftUp, this);
    m_richText->Bind(wxEVT_LEFT_DCLICK, &CQuenlowView::OnLeftDoubleClick, this);
    m_richText->Bind(wxEVT_MOTION, &CQuenlowView::OnMouseMove, this);
    m_richText->IndicatorSetStyle(kHoverBoxIndicator, wxSTC_INDIC_STRAIGHTBOX);
    m_richText->IndicatorSetForeground(kHoverBoxIndicator, wxColour(255, 153, 18));
    m_richText->IndicatorSetAlpha(kHoverBoxIndicator, 255);
    m_richText->IndicatorSetUnder(kHoverBoxIndicator, true);
    m_richText->IndicatorSetStyle(kHoverTextIndicator, wxSTC_INDIC_TEXTFORE);
    m_richText->IndicatorSetForeground(kHoverTextIndicator, *wxWHITE);

    Bind(wxEVT_MENU, &CQuenlowView::OnClickMode, this, kCmdPointRead);
    Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateClickMode, this, kCmdPointRead);
    Bind(wxEVT_MENU, &CQuenlowView::OnClickGetWord, this, kCmdMouseWordPick);
    Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateClickGetWord, this, kCmdMouseWordPick);
    Bind(wxEVT_MENU, &CQuenlowView::OnRepeatTimes, this, kCmdFirstRepeatSelection,
         kCmdFirstRepeatSelection + kRepeatSelectionCount - 1);
    for (int id : {kCmdStudyFollowRead, kCmdStudyRepeatRead, kCmdStudyListening}) {
        Bind(wxEVT_MENU, &CQuenlowView::OnStudyMode, this, id);
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateStudyMode, this, id);
    }
}

// ---- Buttons ----------------------------------------------------------------------------

void CQuenlowView::OnLeftDown(wxMouseEvent& event)
{
    event.Skip();
    m_strMouseDown = "true";
    m_bButtonUp = 0;
    // A press held 600 ms pauses playback.
    if (!theApp.m_strPlaybackStarted.IsEmpty())
        m_timers.SetTimer(kTimerPauseWhileHeld, 600);
}

void CQuenlowView::OnLeftDoubleClick(wxMouseEvent& event)
{
    event.Skip();   // the text selects the word under the pointer
    // The word is taken now: following may select the playing sentence
    // again before the look-up.
    m_strDoubleClickWord.Empty();
    if (m_richText != nullptr) {
        const int position = m_richText->PositionFromPointClose(event.GetX(), event.GetY());
        if (position >= 0)
            m_strDoubleClickWord = WordAt(position);
    }
    m_timers.SetTimer(kTimerLookUpSelection, 200);
}

void CQuenlowView::OnLeftUp(wxMouseEvent& event)
{
    event.Skip();
    m_bButtonUp = 1;
    // The text sets its selection on the release, after this handler.
    CallAfter([this, position = event.GetPosition()] { AfterLeftUp(position); });
}

void CQuenlowView::AfterLeftUp(const wxPoint& position)
{
    if (m_strMouseDown == "true" && !IsFlagOn(theApp.m_strPointRead) && theApp.m_strTextLayout != "engchn" &&
        theApp.m_strPlayingNetFile.IsEmpty()) {
        CString selection = SelectedText();
        selection.Trim();
        // More than one word, and not the selection the menu came up for last.
        if (!selection.IsEmpty() && selection != m_strLastSelection && selection.Find(' ') > 1) {
            m_strMouseDown = "false";
            m_strLastSelection = selection;
            ShowEditMenu(position);
        }
    }
    if (IsFlagOn(theApp.m_strPointRead))
        PointReadSentence(m_nPointSentence);
}

void CQuenlowView::PointReadSentence(int sentence)
{
    // The sentence under the mouse may be gone (a new lesson) or never set.
    if (sentence < 0 || sentence >= SentenceCount())
        return;
    const SSentenceTiming& timing = theApp.m_arrSentenceTiming[static_cast<size_t>(sentence)];
    const int64_t offset = theApp.m_nTimeOffset;
    const int64_t start = std::max<int64_t>(0, timing.starttime - 5LL * theApp.m_nRepeatMargin + offset);
    // The clicked sentence is current at once; following keeps it until its end.
    theApp.m_nCurrentSentence = sentence;
    SelectSentence(sentence);
    IMainFrameHost* host = MainFrame();
    if (host != nullptr) {
        host->ShowSentenceCounter();
        host->Pause();
    }
    if (m_seekPlayer)
        m_seekPlayer(start);
    if (host != nullptr)
        host->Play();
    m_nPointStop = static_cast<int>(timing.endtime + offset);
    if (theApp.m_strClickReadMode == "Pause")
        m_timers.SetTimer(kTimerPointReadEnd, kPointReadCheck);
}

void CQuenlowView::CheckPointReadStop()
{
    const int state = m_getPlayerState ? m_getPlayerState() : 0;
    // Media that ended or stopped before the stop has reached it.
    if (CVlcPlayer::IsEndedOrStoppedState(state)) {
        m_timers.KillTimer(kTimerPointReadEnd);
        return;
    }
    if (theApp.m_strPlayState != "OnPlay" || !m_getPlayerTime)
        return;
    const int64_t remaining = m_nPointStop - m_getPlayerTime();
    if (remaining <= 0) {
        m_timers.KillTimer(kTimerPointReadEnd);
        if (state == CVlcPlayer::kStatePlaying && m_pausePlayer)
            m_pausePlayer();
        return;
    }
    // The last stretch is timed to the millisecond, so the pause comes at
    // the sentence end and not up to a check interval into the next one.
    m_timers.SetTimer(kTimerPointReadEnd, static_cast<int>(std::min<int64_t>(remaining, kPointReadCheck)));
}

// ---- Moving ---------------------------------------------------------------------------

int CQuenlowView::SentenceAtPosition(int position) const
{
    for (int i = 0; i < SentenceCount(); ++i) {
        int start = 0;
        int end = 0;
        if (GetSentenceRange(i, start, end) && start <= position && position <= end)
            return i;
    }
    return -1;
}

void CQuenlowView::OnMouseMove(wxMouseEvent& event)
{
    event.Skip();
    if (IsFlagOn(theApp.m_strPlaybackStarted) && IsFlagOn(theApp.m_strPointRead)) {
        m_nHoverChar = m_richText->PositionFromPoint(event.GetPosition());
        const int sentence = SentenceAtPosition(m_nHoverChar);
        if (sentence >= 0) {
            SelectSentence(sentence);
            m_richText->SetCursor(wxCursor(wxCURSOR_HAND));
            m_nPointSentence = sentence;
            if (theApp.m_strTextLayout != "engchn") {
                ShowCaptionFor(sentence);
                AlignCaption();
            }
        }
    }
    m_nIdleTicks = 0;
    m_strLastHoverWord.Empty();
}

// ---- Word pick-up ---------------------------------------------------------------------

CString CQuenlowView::WordAt(int position)
{
    m_nWordStart = m_richText->WordStartPosition(position, true);
    m_nWordEnd = m_richText->WordEndPosition(position, true);
    CString word = FromWx(m_richText->GetTextRange(m_nWordStart, m_nWordEnd));
    if (word.Left(1) == "\r")
        word = word.Mid(1);
    return word;
}

CString CQuenlowView::CleanHoverWord(const CString& text)
{
    CString word = text;
    word.Trim();
    word.Replace("\n", "*");
    word.Replace("\r", "*");
    word.Replace("\t", "*");
    const int cut = word.Find('*');
    if (cut > 0)
        word = word.Left(cut);
    for (const char* mark : {"(", ")", ",", ".", "!", "\"", "?"})
        word.Remove(mark[0]);
    word.Trim();
    return word;
}

// The mark is drawn with indicators over the text: the text's own styles
// stay as they are, so taking the mark off cannot restyle anything else.
void CQuenlowView::HighlightRange(int start, int end)
{
    if (m_richText == nullptr || end <= start)
        return;
    for (int indicator : {kHoverBoxIndicator, kHoverTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorFillRange(start, end - start);
    }
}

void CQuenlowView::RestoreRange(int start, int end)
{
    if (m_richText == nullptr || end <= start)
        return;
    for (int indicator : {kHoverBoxIndicator, kHoverTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorClearRange(start, end - start);
    }
}

void CQuenlowView::HoverLookUp()
{
    if (!IsFlagOn(theApp.m_strMouseGetWord) || m_nIdleTicks <= 0 || m_bHoverShown != 0 ||
        theApp.m_nRibbonCategory != 1 || m_richText == nullptr)
        return;
    m_nIdleTicks = 0;
    const wxPoint screen = m_getPointer ? m_getPointer() : wxGetMousePosition();
    const wxPoint client = m_richText->ScreenToClient(screen);
    if (!wxRect(m_richText->GetClientSize()).Contains(client))
        return;
    const int position = m_richText->PositionFromPoint(client);
    // Over a marked phrase the whole phrase is the word.
    CString text;
    if (m_bPhrasesMarked == 1) {
        for (const SMarkRange& mark : m_marks) {
            if (mark.start <= position && position <= mark.end) {
                m_nWordStart = mark.start;
                text = mark.text;
                break;
            }
        }
    }
    if (text.IsEmpty())
        text = WordAt(position);
    const CString word = CleanHoverWord(text);
    if (word.IsEmpty() || word == m_strLastHoverWord)
        return;

    m_nWordEnd = m_richText->PositionRelative(m_nWordStart, static_cast<int>(ToWx(word).length()));
    HighlightRange(m_nWordStart, m_nWordEnd);
    m_strLastHoverWord = word;
    IMainFrameHost* host = MainFrame();
    if (host == nullptr)
        return;
    theApp.m_strAutoLookup = "true";
    const bool local = theApp.m_strWordLookupMode == "OnWordHome";
    if (local)
        host->LookUpWordInPane(word);
    theApp.m_strSilentWordSave = "true";

    // Beside the pointer, or to its left and above it near the view's edges.
    const wxRect view = m_richText->GetScreenRect();
    const int x = view.GetRight() - screen.x < kPopupWidth ? view.GetRight() - (kPopupWidth + kPopupMargin)
                                                           : screen.x + kPopupMargin;
    const int y = view.GetBottom() - screen.y < kPopupHeight ? screen.y - (kPopupHeight + kPopupMargin)
                                                             : screen.y + kPopupMargin;
    // Locally the page written is the word's or says it was not found.
    if (local) {
        host->ShowDictionaryPopup(theApp.m_strDictWordHtmlPath, x, y);
    } else {
        host->ShowDictionaryPopup(OnlineDictionaryAddress(word), x, y);
        theApp.AddToLookupHistory(word);
    }
    m_bHoverShown = 1;
    m_timers.SetTimer(kTimerHidePopup, 2000);
}

void CQuenlowView::HideHoverPopup()
{
    IMainFrameHost* host = MainFrame();
    const wxPoint mouse = m_getPointer ? m_getPointer() : wxGetMousePosition();
    if (host != nullptr && host->IsInDictionaryPopup(mouse.x, mouse.y))
        return;
    m_timers.KillTimer(kTimerHidePopup);
    if (host != nullptr)
        host->HideDictionaryPopup();
    m_bHoverShown = 0;
    RestoreRange(m_nWordStart, m_nWordEnd);
    // Back from the pop-up, the paused sentence is highlighted again (while
    // playing, the next follow step does it).
    if (theApp.m_strPlayState != "OnPlay")
        ShowCurrentSentence();
}

// ---- Study commands -------------------------------------------------------------------

void CQuenlowView::OnClickMode(wxCommandEvent& /*event*/)
{
    if (!IsFlagOn(theApp.m_strPointRead)) {
        m_timers.KillTimer(kTimerPointReadEnd);
        theApp.m_strPointRead = "true";
        theApp.m_nRepeatCount = 0;
        return;
    }
    theApp.m_strPointRead.Empty();
    // Playback goes on through the lesson.
    if (IMainFrameHost* host = MainFrame())
        host->Play();
}

void CQuenlowView::OnUpdateClickMode(wxUpdateUIEvent& event)
{
    event.Enable(IsFlagOn(theApp.m_strPlaybackStarted) && theApp.m_strRepeatOn.IsEmpty() &&
                 theApp.m_strPlayingNetFile.IsEmpty() && theApp.m_bScriptLoaded != 0);
    event.Check(IsFlagOn(theApp.m_strPointRead));
}

void CQuenlowView::OnClickGetWord(wxCommandEvent& /*event*/)
{
    m_timers.KillTimer(kTimerIdleTicks);
    m_timers.KillTimer(kTimerHoverLookUp);
    if (!IsFlagOn(theApp.m_strMouseGetWord)) {
        theApp.m_strMouseGetWord = "true";
        if (IMainFrameHost* host = MainFrame())
            host->PrepareDictionaryPopup();
        m_timers.SetTimer(kTimerIdleTicks, 100);
        m_timers.SetTimer(kTimerHoverLookUp, 1000);
    } else {
        theApp.m_strMouseGetWord.Empty();
    }
    m_strLastHoverWord.Empty();
}

void CQuenlowView::OnUpdateClickGetWord(wxUpdateUIEvent& event)
{
    event.Enable(IsFlagOn(theApp.m_strSubtitleLoaded) && theApp.m_bScriptLoaded != 0);
    event.Check(IsFlagOn(theApp.m_strMouseGetWord));
}

void CQuenlowView::OnRepeatTimes(wxCommandEvent& event)
{
    theApp.m_nRepeatCount = 2 * (event.GetId() - kCmdFirstRepeatSelection + 1);
    RestoreMenuSelection();
    StartRepeat();
}

void CQuenlowView::StartRepeat()
{
    m_timers.KillTimer(kFollowTimer);
    if (m_richText == nullptr)
        return;
    m_nSelStart = m_richText->GetSelectionStart();
    m_nSelEnd = m_richText->GetSelectionEnd();
    const int64_t offset = theApp.m_nTimeOffset;
    const int64_t margin = 5LL * theApp.m_nRepeatMargin;
    // The sentences the selection touches, by the ranges the current layout
    // shows (the same ones point-read and marking use); a caret without a
    // selection stands for its own sentence.
    int first = -1;
    int last = -1;
    for (int i = 0; i < SentenceCount(); ++i) {
        int start = 0;
        int end = 0;
        if (!GetSentenceRange(i, start, end))
            continue;
        const bool touched = m_nSelEnd > m_nSelStart ? start < m_nSelEnd && m_nSelStart < end
                                                     : start <= m_nSelStart && m_nSelStart < end;
        if (touched) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        theApp.m_nRepeatCount = 0;   // nothing of the lesson is selected: nothing to repeat
        m_timers.SetTimer(kFollowTimer, kFollowInterval);
        return;
    }
    const SSentenceTiming& firstTiming = theApp.m_arrSentenceTiming[static_cast<size_t>(first)];
    const SSentenceTiming& lastTiming = theApp.m_arrSentenceTiming[static_cast<size_t>(last)];
    const int64_t seek = firstTiming.starttime + offset;
    theApp.m_nRepeatStart = static_cast<int>(firstTiming.starttime + offset - margin);
    theApp.m_nRepeatEnd = static_cast<int>(lastTiming.endtime + offset + margin);
    m_nRepeatFirst = first;
    m_nRepeatLast = last;
    IMainFrameHost* host = MainFrame();
    if (host != nullptr)
        host->Pause();
    if (m_seekPlayer)
        m_seekPlayer(std::max<int64_t>(0, seek));
    if (host != nullptr)
        host->Play();
    m_timers.SetTimer(kFollowTimer, kFollowInterval);
}

void CQuenlowView::OnStudyMode(wxCommandEvent& event)
{
    theApp.m_nStudyMode = event.GetId() == kCmdStudyFollowRead ? 1 : event.GetId() == kCmdStudyRepeatRead ? 2 : 3;
}

void CQuenlowView::OnUpdateStudyMode(wxUpdateUIEvent& event)
{
    const int mode = event.GetId() == kCmdStudyFollowRead ? 1 : event.GetId() == kCmdStudyRepeatRead ? 2 : 3;
    event.Check(theApp.m_nStudyMode == mode);
}
