#include "lesson/quenlowview.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include <wx/combobox.h>
#include <wx/dnd.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stc/stc.h>

#include "lesson/core/lessonloader.h"
#include "ui/lessontextstyle.h"
#include "platform/percentencode.h"
#include "platform/codepage.h"
#include "ui/wxtext.h"
#include "playback/vlcplayer.h"
#include "core/productsettings.h"
#include "core/publicpages.h"
#include "core/quenlow.h"
#include "ui/commandmenu.h"
#include "ui/mainframehost.h"
#include "ui/showchndlg.h"

namespace {

// The colour value that stands for the system's own colour.
constexpr COLORREF kAutomaticColor = static_cast<COLORREF>(-1);

// The indicator that draws strike-through (indicators from 8 on belong to
// the application).
constexpr int kStrikeIndicator = 8;

CVlcPlayer* MainPlayer()
{
    IMainFrameHost* host = MainFrameHost();
    return host != nullptr ? host->MainPlayer() : nullptr;
}

// The text has no lexer: every character carries style 0, and the default
// style is what text put in later starts with.
template <class TFunction>
void ForTextStyles(TFunction function)
{
    function(wxSTC_STYLE_DEFAULT);
    function(0);
}

wxColour ColourOrSystem(COLORREF colour, wxSystemColour system)
{
    return colour == kAutomaticColor ? wxSystemSettings::GetColour(system) : ToWxColour(colour);
}

int SentenceTableCount()
{
    return std::min<int>(theApp.m_nSentenceCount, static_cast<int>(theApp.m_arrSentenceTiming.size()));
}

int TextCorrection(int sentence)
{
    const auto& corrections = theApp.m_arrTextCorrection;
    return sentence >= 0 && sentence < static_cast<int>(corrections.size()) ? corrections[static_cast<size_t>(sentence)]
                                                                            : 0;
}

} // namespace

CQuenlowView::CQuenlowView() : m_timers(this, [this](int id) { OnTimer(id); })
{
    m_getPlayerTime = [] {
        CVlcPlayer* player = MainPlayer();
        return player != nullptr ? player->GetEstimatedTime() : int64_t{-1};
    };
    m_seekPlayer = [](int64_t milliseconds) {
        if (CVlcPlayer* player = MainPlayer())
            player->Seek(milliseconds);
    };
    m_getPlayerState = [] {
        CVlcPlayer* player = MainPlayer();
        return player != nullptr ? player->GetState() : 0;
    };
    // Through the frame, so that the play state, the status text and the
    // transport buttons show the pause too.
    m_pausePlayer = [this] {
        if (IMainFrameHost* host = MainFrame())
            host->Pause();
        else if (CVlcPlayer* player = MainPlayer())
            player->Pause();
    };
}

namespace {

// Files dropped on the lesson text open as if dropped on the main window.
class CLessonTextDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord /*x*/, wxCoord /*y*/, const wxArrayString& names) override
    {
        IMainFrameHost* host = MainFrameHost();
        if (host == nullptr)
            return false;
        std::vector<CString> paths;
        for (const wxString& name : names)
            paths.push_back(FromWx(name));
        host->OpenDroppedFiles(paths);
        return true;
    }
};

} // namespace

IMainFrameHost* CQuenlowView::MainFrame()
{
    m_pMainFrame = MainFrameHost();
    return m_pMainFrame;
}

CQuenlowView::~CQuenlowView()
{
    m_timers.KillAll();
    DestroyCaptionDialog();
}

bool CQuenlowView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_richText = new wxStyledTextCtrl(this, kTextId);
    SetUpLessonTextCtrl(*m_richText, true);
    // A sentence wider than the pane is read by scrolling sideways.
    KeepScrollBarsShown(*m_richText);
    // The text control would take a drop as text and refuse a file list.
    m_richText->SetDropTarget(new CLessonTextDropTarget);
    m_richText->IndicatorSetStyle(kStrikeIndicator, wxSTC_INDIC_STRIKE);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_richText, 1, wxEXPAND);
    SetSizer(sizer);

    m_richText->Bind(wxEVT_STC_UPDATEUI, &CQuenlowView::OnTextUpdateUI, this);
    m_richText->Bind(wxEVT_MOUSEWHEEL, &CQuenlowView::OnMouseWheel, this);
    m_richText->Bind(wxEVT_RIGHT_UP, &CQuenlowView::OnRightUp, this);
    m_richText->Bind(wxEVT_CONTEXT_MENU, &CQuenlowView::OnContextMenu, this);
    Bind(wxEVT_SIZE, &CQuenlowView::OnSize, this);
    BindCommands();
    BindMouseAndStudyCommands();
    SetUpMarking();
    SetUpLayoutCommands();
    return true;
}

void CQuenlowView::BindCommands()
{
    Bind(wxEVT_MENU, &CQuenlowView::OnFontColor, this, kCmdFontColor);
    Bind(wxEVT_MENU, &CQuenlowView::OnBackColor, this, kCmdBackColor);
    Bind(wxEVT_MENU, &CQuenlowView::OnFontBold, this, kCmdFontBold);
    Bind(wxEVT_MENU, &CQuenlowView::OnFontItalic, this, kCmdFontItalic);
    Bind(wxEVT_MENU, &CQuenlowView::OnFontUnderline, this, kCmdFontUnderline);
    Bind(wxEVT_MENU, &CQuenlowView::OnStrikeOut, this, kCmdStrikeOut);
    Bind(wxEVT_MENU, &CQuenlowView::OnIncreaseMargin, this, kCmdIncreaseMargin);
    Bind(wxEVT_MENU, &CQuenlowView::OnDecreaseMargin, this, kCmdDecreaseMargin);
    Bind(wxEVT_MENU, &CQuenlowView::OnFontName, this, kCmdFontName);
    Bind(wxEVT_MENU, &CQuenlowView::OnFontSize, this, kCmdFontSize);
    Bind(wxEVT_MENU, &CQuenlowView::OnTranslateCommand, this, kCmdTranslate);

    for (int id : {kCmdFontColor, kCmdBackColor, kCmdIncreaseMargin, kCmdDecreaseMargin})
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateWhenLoaded, this, id);
    for (int id : {kCmdFontName, kCmdFontSize})
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateWhenAnyLoaded, this, id);
    for (int id : {kCmdFontBold, kCmdFontItalic, kCmdFontUnderline, kCmdStrikeOut})
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateEffect, this, id);
}

void CQuenlowView::OnInitialUpdate()
{
    ApplyTextFormat();
    // The margins the learner left, kept across restarts.
    if (m_richText != nullptr && theApp.m_nTextMargin > 0) {
        m_richText->SetMarginLeft(theApp.m_nTextMargin);
        m_richText->SetMarginRight(theApp.m_nTextMargin);
        m_nCaptionMargin = theApp.m_nTextMargin;
    }
}

// ---- Loading ----------------------------------------------------------------

void CQuenlowView::ResetMarkingState()
{
    m_arrMarkedBySentence.RemoveAll();
    m_bWordsMarked = 0;
    m_bPhrasesMarked = 0;
    m_bAutoLookUpMarks = 0;
    m_marks.clear();
    m_markedReferences.clear();
}

ELessonLoadResult CQuenlowView::LoadSubtitleFile()
{
    CString text;
    const ELessonLoadResult result = LoadLessonFile(theApp, theApp.m_strScriptPath, text);
    if (result == ELessonLoadResult::NoLoader)
        return result;
    // Every loader clears the marks together with the model, also when the
    // lesson database cannot be opened.
    ResetMarkingState();
    if (result == ELessonLoadResult::CannotOpen || m_richText == nullptr)
        return result;
    SetControlText(*m_richText, text);
    m_strShownLayout = "script";
    m_richText->SetWrapMode(wxSTC_WRAP_NONE);
    ApplyTextFormat();
    theApp.m_strSubtitleLoaded = "true";
    m_timers.SetTimer(kTimerTextPositions, kTextPositionsDelay);
    return result;
}

void CQuenlowView::ComputeTextPositions()
{
    CountVisibleLines();
    if (m_richText == nullptr)
        return;
    // Each loader puts one sentence per line and the text never wraps, so
    // sentence i is line i.
    const int count = SentenceTableCount();
    const int lines = m_richText->GetLineCount();
    const int length = m_richText->GetLength();
    for (int i = 0; i < count; ++i) {
        SSentenceTiming& sentence = theApp.m_arrSentenceTiming[static_cast<size_t>(i)];
        if (i < lines) {
            sentence.fgnstartpos = m_richText->PositionFromLine(i);
            // LineLength counts the line end as the control holds it ("\n" or "\r\n").
            sentence.fgntxtlen = m_richText->LineLength(i);
        } else {
            sentence.fgnstartpos = length;
            sentence.fgntxtlen = 0;
        }
    }
}

// ---- Following playback -------------------------------------------------------

void CQuenlowView::StartFollowing()
{
    theApp.m_nCurrentSentence = 0;
    m_bFollowWaiting = false;
    m_timers.SetTimer(kFollowTimer, kFollowInterval);
}

void CQuenlowView::WaitForPlaying()
{
    m_timers.KillTimer(kFollowTimer);
    m_bFollowWaiting = true;
}

void CQuenlowView::ResumeFollowing()
{
    if (m_bFollowWaiting)
        m_timers.SetTimer(kFollowTimer, kFollowInterval);
    m_bFollowWaiting = false;
}

void CQuenlowView::OnTimer(int id)
{
    // Following, the point-read stop, the held button and the positions pass
    // act only while playing. The positions pass stays armed until then (it
    // runs once); following waits for ResumeFollowing when it finds the
    // player paused or stopped.
    const bool playing = theApp.m_strPlayState == "OnPlay";
    switch (id) {
    case kFollowTimer:
        if (!playing) {
            WaitForPlaying();
            return;
        }
        if (theApp.m_bScriptLoaded == 0)
            return;
        if (theApp.m_nRepeatCount > 0)
            CheckRepeatEnd();
        FollowPlayback();
        return;
    case kTimerRepeatEnd:
        m_timers.KillTimer(kTimerRepeatEnd);
        if (playing && theApp.m_nRepeatCount > 0)
            CheckRepeatEnd();
        return;
    case kTimerSentenceChange:
        m_timers.KillTimer(kTimerSentenceChange);
        if (playing && theApp.m_bScriptLoaded != 0 && theApp.m_nRepeatCount == 0)
            FollowPlayback();
        return;
    case kTimerPointReadEnd:
        CheckPointReadStop();
        return;
    case kTimerPauseWhileHeld:
        if (!playing)
            return;
        m_timers.KillTimer(kTimerPauseWhileHeld);
        if (m_bButtonUp == 0) {
            if (IMainFrameHost* host = MainFrame())
                host->Pause();
            m_bButtonUp = 1;
        }
        return;
    case kTimerTextPositions:
        if (!playing)
            return;
        m_timers.KillTimer(kTimerTextPositions);
        ComputeTextPositions();
        // The positions are taken from the "script" text; a stored layout
        // is applied after them.
        if (theApp.m_strTextLayout == "para" || theApp.m_strTextLayout == "engchn")
            RebuildText();
        return;
    case kTimerBold:
    case kTimerItalic:
    case kTimerUnderline:
        ApplyEffect(id);
        return;
    case kTimerPlayWhenBuffering:
        if (IMainFrameHost* host = MainFrame()) {
            if (!host->IsDictionaryPaneVisible() && m_getPlayerState && m_getPlayerState() == CVlcPlayer::kStateBuffering)
                host->Play();
        }
        return;
    case kTimerHideCaption:
        HideCaption();
        return;
    case kTimerHideCaptionIdle:
        if (!playing)
            HideCaption();
        return;
    case kTimerLookUpSelection:
        m_timers.KillTimer(kTimerLookUpSelection);
        LookUpSelection();
        return;
    case kTimerIdleTicks:
        ++m_nIdleTicks;
        return;
    case kTimerHoverLookUp:
        HoverLookUp();
        return;
    case kTimerHidePopup:
        HideHoverPopup();
        return;
    default:
        return;
    }
}

void CQuenlowView::CheckRepeatEnd()
{
    const int state = m_getPlayerState ? m_getPlayerState() : 0;
    // Media that ended or stopped inside the window ends the repeat.
    if (CVlcPlayer::IsEndedOrStoppedState(state)) {
        theApp.m_nRepeatCount = 0;
        return;
    }
    const int64_t t = m_getPlayerTime ? m_getPlayerTime() : -1;
    if (t < 0)
        return;
    if (t >= theApp.m_nRepeatEnd) {
        // The engine seeks while it plays, so the window starts again
        // without a pause-and-play round.
        if (m_seekPlayer)
            m_seekPlayer(theApp.m_nRepeatStart);
        --theApp.m_nRepeatCount;
        return;
    }
    // An end due before the next follow tick is met at its own moment.
    if (theApp.m_nRepeatEnd - t < kFollowInterval)
        m_timers.SetTimer(kTimerRepeatEnd, static_cast<int>(std::max<int64_t>(1, theApp.m_nRepeatEnd - t)));
}

void CQuenlowView::LookUpSelection()
{
    CString text = m_strDoubleClickWord.IsEmpty() ? SelectedText() : m_strDoubleClickWord;
    m_strDoubleClickWord.Empty();
    text.Trim();
    if (text.IsEmpty())
        return;
    theApp.m_strAutoLookup.Empty();
    ShowDictionaryPane();
    if (IMainFrameHost* host = MainFrame())
        host->LookUpWordInPane(text);
}

void CQuenlowView::FollowPlayback()
{
    if (theApp.m_strPlaybackStarted.IsEmpty())
        return;
    const int64_t t = m_getPlayerTime ? m_getPlayerTime() : -1;
    if (t < 0)
        return;   // no media in the player
    m_nPlayerTime = static_cast<int>(t);
    ScheduleSentenceChange(t);

    const int count = SentenceTableCount();
    const auto& table = theApp.m_arrSentenceTiming;
    const int64_t offset = theApp.m_nTimeOffset;

    // Long silences are skipped to one second before the next sentence. The
    // test needs a current sentence, and a next one for the gap after it.
    if (!theApp.m_strSkipBlank.IsEmpty() && count > 0 && m_seekPlayer) {
        const int c = theApp.m_nCurrentSentence;
        const int64_t threshold = theApp.m_nBlankThreshold;
        if (c == 0 && table[0].starttime + offset - t > threshold)
            m_seekPlayer(table[0].starttime + offset - 1000);
        if (c >= 0 && c + 1 < count) {
            const SSentenceTiming& current = table[static_cast<size_t>(c)];
            const SSentenceTiming& next = table[static_cast<size_t>(c) + 1];
            if (t > current.endtime + offset && next.starttime + offset - t > threshold)
                m_seekPlayer(next.starttime + offset - 1000);
        }
    }

    int i = theApp.FindSentenceAt(t);
    if (i < 0)
        i = count;
    if (theApp.m_strPointRead == "true" && theApp.m_strClickReadMode == "Pause" && i != m_nPointSentence)
        return;   // the clicked sentence stays selected while it plays out
    if (theApp.m_nRepeatCount > 0 && (i < m_nRepeatFirst || i > m_nRepeatLast))
        return;
    if (i >= count)
        return;   // a gap: the previous sentence stays selected
    // While sentence 0 is current the rest runs on every tick.
    if (i == theApp.m_nCurrentSentence && i != 0)
        return;
    // While the learner holds the button (selecting words) the text keeps
    // their selection; the sentence is taken up once the button is released.
    if (m_bButtonUp == 0)
        return;
    if (m_arrMarkedBySentence.GetSize() > 0 && m_bAutoLookUpMarks == 1 && i != m_nLastLookedUpSentence) {
        LookUpMarkedWord(i);
        m_nLastLookedUpSentence = i;
    }
    const bool changed = i != theApp.m_nCurrentSentence;
    theApp.m_nCurrentSentence = i;
    SelectSentence(i);
    ScrollToCurrent(m_nSelStart);
    // Selecting a long sentence scrolls to its end, and a drag may have
    // scrolled the text sideways: each new sentence is read from its start.
    if (changed && m_strShownLayout != "para")
        m_richText->SetXOffset(0);
    ShowCaptionFor(i);
    if (IMainFrameHost* host = MainFrame(); changed && host != nullptr)
        host->ShowSentenceCounter();
}

// A sentence that starts (or ends) before the next follow tick is followed at
// its own moment, so the highlight is on time rather than up to a tick late.
void CQuenlowView::ScheduleSentenceChange(int64_t t)
{
    const int64_t next = theApp.NextSentenceChange(t);
    if (next < 0 || next - t >= kFollowInterval)
        return;
    m_timers.KillTimer(kTimerSentenceChange);
    m_timers.SetTimer(kTimerSentenceChange, static_cast<int>(std::max<int64_t>(1, next - t)));
}

bool CQuenlowView::GetSentenceRange(int sentence, int& start, int& end) const
{
    if (m_richText == nullptr || sentence < 0 || sentence >= SentenceTableCount())
        return false;
    if (theApp.m_strTextLayout == "engchn" && m_strShownLayout == "engchn") {
        // Sentence i is the English line 2i and the Chinese line after it.
        const int line = 2 * sentence;
        if (line >= m_richText->GetLineCount())
            return false;
        start = m_richText->PositionFromLine(line);
        end = start + m_richText->LineLength(line) + m_richText->LineLength(line + 1);
        return true;
    }
    const SSentenceTiming& timing = theApp.m_arrSentenceTiming[static_cast<size_t>(sentence)];
    start = timing.fgnstartpos + TextCorrection(sentence);
    end = start + timing.fgntxtlen;
    return true;
}

void CQuenlowView::SelectSentence(int sentence)
{
    int start = 0;
    int end = 0;
    if (!GetSentenceRange(sentence, start, end))
        return;
    m_nSelStart = start;
    m_nSelEnd = end;
    m_richText->SetSelection(start, end);
}

void CQuenlowView::ShowCurrentSentence()
{
    if (m_richText == nullptr || theApp.m_strPlaybackStarted.IsEmpty() || theApp.m_nCurrentSentence < 0 ||
        m_bButtonUp == 0)
        return;
    SelectSentence(theApp.m_nCurrentSentence);
    ScrollToCurrent(m_nSelStart);
    if (m_strShownLayout != "para")
        m_richText->SetXOffset(0);
}

void CQuenlowView::ScrollToCurrent(int start)
{
    CountVisibleLines();
    if (m_richText == nullptr)
        return;
    // Paragraphs wrap: the sentence is brought into sight as a range.
    if (m_strShownLayout == "para") {
        m_richText->ScrollRange(m_nSelEnd, start);
        return;
    }
    const int line = m_richText->LineFromPosition(start);
    int visible = theApp.m_nVisibleLines;
    if (m_strShownLayout == "engchn")
        visible -= 5;
    // Near the bottom the text moves on by almost a screen, so the learner
    // reads ahead without the text creeping line by line.
    if (line - m_richText->GetFirstVisibleLine() > visible - 3 && visible - 4 > 0)
        m_richText->LineScroll(0, visible - 4);
    // After a jump (a seek far away) the line is put at the top.
    const int first = m_richText->GetFirstVisibleLine();
    if (line < first || line >= first + std::max(visible, 1))
        m_richText->SetFirstVisibleLine(line);
}

void CQuenlowView::ShowCaptionFor(int sentence)
{
    CString chinese;
    if (sentence >= 0 && sentence < theApp.m_arrChineseText.GetSize())
        chinese = theApp.m_arrChineseText[sentence];
    CString trimmed = chinese;
    trimmed.Trim();
    // Behind another central view (the bilingual list) the caption stays hidden.
    if (trimmed.GetLength() <= 1 || theApp.m_strShowChinese != "true" || !IsShown()) {
        HideCaption();
        return;
    }
    if (m_pShowChnDlg == nullptr)
        CreateCaptionDialog();
    if (m_pShowChnDlg == nullptr || m_pShowChnDlg->m_richCaption == nullptr)
        return;
    m_pShowChnDlg->m_richCaption->SetValue(ToWx(chinese));
    m_pShowChnDlg->Show();
    AlignCaption();
    PlaceCaption();
}

void CQuenlowView::LookUpMarkedWord(int sentence)
{
    CString key;
    key.Format("%d", sentence);
    // The pairs are (sentence, text): only sentence elements are compared.
    for (int k = 0; k + 1 < m_arrMarkedBySentence.GetSize(); k += 2) {
        if (m_arrMarkedBySentence[k] != key)
            continue;
        IMainFrameHost* host = MainFrame();
        if (k + 1 >= m_arrMarkedBySentence.GetSize() || host == nullptr)
            return;
        ShowDictionaryPane();
        host->LookUpWordInPane(m_arrMarkedBySentence[k + 1]);
        return;
    }
}

// ---- Text format ----------------------------------------------------------------

void CQuenlowView::ApplyTextFormat()
{
    if (m_richText == nullptr)
        return;
    SLessonTextStyle style = CurrentLessonTextStyle();
    // The effects the learner chose on the ribbon, kept across restarts.
    style.bold = !theApp.m_strTextBold.IsEmpty();
    style.italic = !theApp.m_strTextItalic.IsEmpty();
    style.underline = !theApp.m_strTextUnderline.IsEmpty();
    ApplyLessonTextStyle(*m_richText, style);
    // The automatic colours are the system's text and window colours.
    const wxColour text = ColourOrSystem(style.text, wxSYS_COLOUR_WINDOWTEXT);
    const wxColour background = ColourOrSystem(style.background, wxSYS_COLOUR_WINDOW);
    ForTextStyles([&](int id) {
        m_richText->StyleSetForeground(id, text);
        m_richText->StyleSetBackground(id, background);
    });
    m_richText->IndicatorSetForeground(kStrikeIndicator, text);
    FitScrollWidth();
}

void CQuenlowView::FitScrollWidth()
{
    // The one-line layouts never wrap: the horizontal scroll bar spans the
    // widest line, so a sentence wider than the pane can be scrolled to, and
    // none shows while every line fits. Widths follow lengths closely, so
    // only the longest lines are measured; the control still widens the
    // range if a line it draws turns out wider.
    constexpr size_t kMeasuredLines = 16;
    std::vector<std::pair<int, int>> lengths;   // (length, line)
    const int lines = m_richText->GetLineCount();
    lengths.reserve(static_cast<size_t>(lines));
    for (int line = 0; line < lines; ++line)
        lengths.emplace_back(m_richText->LineLength(line), line);
    const size_t measured = std::min(kMeasuredLines, lengths.size());
    std::partial_sort(lengths.begin(), lengths.begin() + static_cast<std::ptrdiff_t>(measured), lengths.end(),
                      std::greater<>());
    int widest = 1;
    for (size_t i = 0; i < measured; ++i) {
        wxString line = m_richText->GetLine(lengths[i].second);
        line.Trim();
        widest = std::max(widest, m_richText->TextWidth(wxSTC_STYLE_DEFAULT, line));
    }
    m_richText->SetScrollWidthTracking(true);
    m_richText->SetScrollWidth(widest + m_richText->TextWidth(wxSTC_STYLE_DEFAULT, "  "));
}

void CQuenlowView::UpdateFontIfChanged()
{
    if (theApp.m_nFontCountQuenlowView == theApp.m_nFontChangeCount)
        return;
    ApplyTextFormat();
    if (m_pShowChnDlg != nullptr) {
        m_pShowChnDlg->ApplyTextFormat();
        PlaceCaption();
    }
    theApp.m_nFontCountQuenlowView = theApp.m_nFontChangeCount;
    ShowCurrentSentence();
}

int CQuenlowView::GetLineHeight()
{
    // Every line of the view has the one lesson font, so the height of line 0
    // is the distance between any two neighbouring lines.
    const int height = m_richText != nullptr ? m_richText->TextHeight(0) : 0;
    return height > 0 ? height : 10;
}

void CQuenlowView::CountVisibleLines()
{
    const int height = GetLineHeight();
    theApp.m_nLineHeight = height > 0 ? height : 1;
    const int client = m_richText != nullptr ? m_richText->GetClientSize().y : 0;
    theApp.m_nVisibleLines = client / theApp.m_nLineHeight;
}

void CQuenlowView::SyncFontCombos()
{
    IMainFrameHost* host = MainFrame();
    if (host == nullptr || m_richText == nullptr)
        return;
    const int style = m_richText->GetStyleAt(m_richText->GetSelectionStart());
    if (!host->ComboHasFocus(kCmdFontName))
        host->SetComboText(kCmdFontName, FromWx(m_richText->StyleGetFaceName(style)));
    host->SetComboText(kCmdFontSize, TwipsToPointString(m_richText->StyleGetSizeFractional(style) / 5));
}

// ---- Caption window ----------------------------------------------------------------

void CQuenlowView::CreateCaptionDialog()
{
    if (m_pShowChnDlg != nullptr)
        return;
    // A child of the view, laid out under the text: it moves, resizes and
    // hides with the lesson pane, windows over the pane cover it, and it
    // never covers the text's last line or scroll bar.
    auto* dialog = new CShowChnDlg();
    if (!dialog->Create(this)) {
        delete dialog;
        return;
    }
    m_pShowChnDlg = dialog;
    if (wxSizer* sizer = GetSizer())
        sizer->Add(m_pShowChnDlg, 0, wxEXPAND);
    m_pShowChnDlg->ApplyTextFormat();
    if (m_nCaptionMargin > 0 && m_pShowChnDlg->m_richCaption != nullptr)
        m_pShowChnDlg->m_richCaption->SetMargins(m_nCaptionMargin, -1);
    theApp.m_strCaptionDlgCreated = "true";
}

void CQuenlowView::DestroyCaptionDialog()
{
    if (m_pShowChnDlg != nullptr) {
        if (wxSizer* sizer = GetSizer())
            sizer->Detach(m_pShowChnDlg);
        m_pShowChnDlg->Destroy();
        m_pShowChnDlg = nullptr;
    }
}

void CQuenlowView::AlignCaption()
{
    if (m_pShowChnDlg == nullptr || m_pShowChnDlg->m_richCaption == nullptr)
        return;
    wxTextCtrl& caption = *m_pShowChnDlg->m_richCaption;
    wxTextAttr alignment;
    alignment.SetAlignment(theApp.m_strCaptionCentered == "true" ? wxTEXT_ALIGNMENT_CENTRE : wxTEXT_ALIGNMENT_LEFT);
    caption.SetStyle(0, caption.GetLastPosition(), alignment);
}

void CQuenlowView::PlaceCaption()
{
    if (m_pShowChnDlg == nullptr || m_richText == nullptr || !m_pShowChnDlg->IsShown())
        return;
    // As tall as its text needs at the view's width; the text above gives
    // up that much room.
    m_pShowChnDlg->SetMinSize(wxSize(-1, m_pShowChnDlg->HeightFor(GetClientSize().x)));
    Layout();
}

void CQuenlowView::HideCaption()
{
    if (m_pShowChnDlg != nullptr && m_pShowChnDlg->IsShown()) {
        m_pShowChnDlg->Hide();
        Layout();
    }
}

// ---- Colour, effect, margin and font commands ------------------------------------

void CQuenlowView::OnFontColor(wxCommandEvent& /*event*/)
{
    IMainFrameHost* host = MainFrame();
    if (host == nullptr || m_richText == nullptr)
        return;
    theApp.m_clrText = host->GetColorButtonColor(kCmdFontColor);
    host->ApplyPlaylistColors();
    const wxColour colour = ColourOrSystem(theApp.m_clrText, wxSYS_COLOUR_WINDOWTEXT);
    ForTextStyles([&](int id) { m_richText->StyleSetForeground(id, colour); });
    m_richText->SetCaretForeground(colour);
    m_richText->IndicatorSetForeground(kStrikeIndicator, colour);
    m_richText->SetEmptySelection(0);
    ++theApp.m_nFontChangeCount;
    ShowCurrentSentence();
}

void CQuenlowView::OnBackColor(wxCommandEvent& /*event*/)
{
    IMainFrameHost* host = MainFrame();
    if (host == nullptr || m_richText == nullptr)
        return;
    theApp.m_clrBackground = host->GetColorButtonColor(kCmdBackColor);
    const wxColour colour = ColourOrSystem(theApp.m_clrBackground, wxSYS_COLOUR_WINDOW);
    ForTextStyles([&](int id) { m_richText->StyleSetBackground(id, colour); });
    ++theApp.m_nFontChangeCount;
    host->ApplyPlaylistColors();
    ShowCurrentSentence();
}

void CQuenlowView::StartEffectCommand(int timerId)
{
    if (m_richText == nullptr)
        return;
    bool& paused = m_bEffectPaused[(timerId - kTimerBold) / 100];
    paused = false;
    if (theApp.m_strPlayState == "OnPlay") {
        if (IMainFrameHost* host = MainFrame()) {
            host->Pause();
            paused = true;
        }
    }
    m_richText->SetFocus();
    m_richText->SelectAll();
    m_timers.SetTimer(timerId, kEffectDelay);
}

void CQuenlowView::ApplyEffect(int timerId)
{
    m_timers.KillTimer(timerId);
    if (m_richText == nullptr)
        return;
    const auto flip = [](CString& setting, bool on) { setting = on ? "true" : ""; };
    switch (timerId) {
    case kTimerBold: {
        const bool bold = !m_richText->StyleGetBold(0);
        ForTextStyles([&](int id) { m_richText->StyleSetBold(id, bold); });
        flip(theApp.m_strTextBold, bold);
        break;
    }
    case kTimerItalic: {
        const bool italic = !m_richText->StyleGetItalic(0);
        ForTextStyles([&](int id) { m_richText->StyleSetItalic(id, italic); });
        flip(theApp.m_strTextItalic, italic);
        break;
    }
    default: {
        const bool underline = !m_richText->StyleGetUnderline(0);
        ForTextStyles([&](int id) { m_richText->StyleSetUnderline(id, underline); });
        flip(theApp.m_strTextUnderline, underline);
        break;
    }
    }
    m_richText->SetEmptySelection(0);
    ShowCurrentSentence();
    // Playback resumes only when this command paused it.
    bool& paused = m_bEffectPaused[(timerId - kTimerBold) / 100];
    if (paused && theApp.m_strPlayState == "OnPause") {
        if (IMainFrameHost* host = MainFrame())
            host->Play();
    }
    paused = false;
}

void CQuenlowView::OnFontBold(wxCommandEvent& /*event*/)
{
    StartEffectCommand(kTimerBold);
}

void CQuenlowView::OnFontItalic(wxCommandEvent& /*event*/)
{
    StartEffectCommand(kTimerItalic);
}

void CQuenlowView::OnFontUnderline(wxCommandEvent& /*event*/)
{
    StartEffectCommand(kTimerUnderline);
}

void CQuenlowView::OnStrikeOut(wxCommandEvent& /*event*/)
{
    if (m_richText == nullptr)
        return;
    const int start = m_richText->GetSelectionStart();
    const int end = m_richText->GetSelectionEnd();
    if (end <= start)
        return;
    m_richText->SetIndicatorCurrent(kStrikeIndicator);
    if (m_richText->IndicatorValueAt(kStrikeIndicator, start) != 0)
        m_richText->IndicatorClearRange(start, end - start);
    else
        m_richText->IndicatorFillRange(start, end - start);
}

void CQuenlowView::ChangeMargins(int step)
{
    if (m_richText == nullptr)
        return;
    const wxSize client = m_richText->GetClientSize();
    const int left = m_richText->GetMarginLeft();
    const int right = m_richText->GetMarginRight();
    if (client.x - left - right > kMarginStep && client.y > kMarginStep) {
        m_richText->SetMarginLeft(std::max(0, left + step));
        m_richText->SetMarginRight(std::max(0, right + step));
        theApp.m_nTextMargin = m_richText->GetMarginLeft();
    }
    if (m_pShowChnDlg != nullptr && m_pShowChnDlg->m_richCaption != nullptr) {
        const wxSize caption = m_pShowChnDlg->m_richCaption->GetClientSize();
        if (caption.x - 2 * m_nCaptionMargin > kMarginStep && caption.y > kMarginStep) {
            m_nCaptionMargin = std::max(0, m_nCaptionMargin + step);
            m_pShowChnDlg->m_richCaption->SetMargins(m_nCaptionMargin, -1);
        }
    }
    CountVisibleLines();
}

void CQuenlowView::OnIncreaseMargin(wxCommandEvent& /*event*/)
{
    ChangeMargins(kMarginStep);
}

void CQuenlowView::OnDecreaseMargin(wxCommandEvent& /*event*/)
{
    ChangeMargins(-kMarginStep);
}

void CQuenlowView::OnFontName(wxCommandEvent& /*event*/)
{
    IMainFrameHost* host = MainFrame();
    if (host == nullptr || m_richText == nullptr)
        return;
    const CString face = host->GetComboText(kCmdFontName);
    if (!host->ComboListHas(kCmdFontName, face)) {
        // Not a face of the list: the combo shows the text's face again.
        host->SetComboText(kCmdFontName, FromWx(m_richText->StyleGetFaceName(0)));
        return;
    }
    theApp.m_strFontName = face;
    ++theApp.m_nFontChangeCount;
    ApplyTextFormat();
    CountVisibleLines();
    ShowCurrentSentence();
}

void CQuenlowView::OnFontSize(wxCommandEvent& /*event*/)
{
    IMainFrameHost* host = MainFrame();
    if (host == nullptr || m_richText == nullptr)
        return;
    const int twips = ParseTwips(host->GetComboText(kCmdFontSize));
    if (twips == -2 || (twips >= 0 && twips < 20) || twips > 1638 * 20) {
        host->SetComboText(kCmdFontSize, TwipsToPointString(m_richText->StyleGetSizeFractional(0) / 5));
        theApp.ShowMessage("The number must be between 1 and 1638.", "error", 5000);
        return;
    }
    if (twips > 0) {
        theApp.m_nFontSize = twips / 20;
        // The control counts sizes in hundredths of a point: 5 per twip.
        ForTextStyles([&](int id) { m_richText->StyleSetSizeFractional(id, twips * 5); });
        m_richText->SetEmptySelection(0);
        ShowCurrentSentence();
        ++theApp.m_nFontChangeCount;
        if (m_pShowChnDlg != nullptr) {
            m_pShowChnDlg->ApplyTextFormat();
            PlaceCaption();
        }
    }
    CountVisibleLines();
}

// ---- Translation ----------------------------------------------------------------------

CString CQuenlowView::SelectedText() const
{
    return m_richText != nullptr ? FromWx(m_richText->GetSelectedText()) : CString();
}

void CQuenlowView::ShowDictionaryPane()
{
    IMainFrameHost* host = MainFrame();
    if (host != nullptr && !host->IsDictionaryPaneVisible())
        host->ShowDictionaryPane();
}

void CQuenlowView::OnTranslateCommand(wxCommandEvent& /*event*/)
{
    CString text = SelectedText();
    text.Trim();
    if (text.IsEmpty())
        return;
    m_strTranslateText = text;
    m_strTranslateUrl = BuildTranslateAddress(text);
    IMainFrameHost* host = MainFrame();
    if (host == nullptr)
        return;
    ShowDictionaryPane();
    host->NavigateDictionaryPane(m_strTranslateUrl);
}

// The installation's setting "TranslatePageUrl" may replace the page.
CString CQuenlowView::BuildTranslateAddress(const CString& text)
{
    CString address = GetProductSetting("TranslatePageUrl", kEnglishToChineseTranslatePage);
    CString trimmed = text;
    trimmed.Trim();
    // The page reads its text from the address: UTF-8, every byte outside
    // the unreserved characters percent-encoded.
    address += CString(PercentEncode(AnsiToUtf8Bytes(trimmed.view())));
    return address;
}

// ---- Size parsing -----------------------------------------------------------------------

int CQuenlowView::ParseTwips(const CString& text)
{
    const std::string_view s = text.view();
    size_t i = 0;
    const auto isBlank = [&](size_t at) { return at < s.size() && (s[at] == ' ' || s[at] == '\t'); };
    while (isBlank(i))
        ++i;
    if (i == s.size())
        return -1;

    bool negative = false;
    if (s[i] == '-' || s[i] == '+') {
        negative = s[i] == '-';
        ++i;
    }
    // Whole points and the fraction's digits, read exactly (no binary
    // rounding: 4.35 points must give 87 twips).
    constexpr int64_t kLimit = 1000000;   // points far beyond any accepted size
    int64_t points = 0;
    int digits = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits)
        points = std::min<int64_t>(points * 10 + (s[i] - '0'), kLimit);
    int64_t fraction = 0;
    int64_t scale = 1;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits) {
            // Nine digits decide the twips exactly: a twip is 0.05 points.
            if (scale < 1000000000) {
                fraction = fraction * 10 + (s[i] - '0');
                scale *= 10;
            }
        }
    }
    if (digits == 0)
        return -2;
    while (isBlank(i))
        ++i;
    if (i != s.size())
        return -2;
    if (negative)
        return 0;
    return static_cast<int>(points * 20 + fraction * 20 / scale);
}

CString CQuenlowView::TwipsToPointString(int twips)
{
    const int halfPoints = (std::max(twips, 0) + 5) / 10;
    CString text;
    if (halfPoints % 2 == 0)
        text.Format("%d", halfPoints / 2);
    else
        text.Format("%d.5", halfPoints / 2);
    return text;
}

// ---- Update rules and window events ------------------------------------------------------

void CQuenlowView::OnUpdateWhenLoaded(wxUpdateUIEvent& event)
{
    event.Enable(theApp.m_strSubtitleLoaded == "true");
}

void CQuenlowView::OnUpdateWhenAnyLoaded(wxUpdateUIEvent& event)
{
    event.Enable(!theApp.m_strSubtitleLoaded.IsEmpty());
}

void CQuenlowView::OnUpdateEffect(wxUpdateUIEvent& event)
{
    event.Enable(m_richText != nullptr);
    if (m_richText == nullptr)
        return;
    switch (event.GetId()) {
    case kCmdFontBold:
        event.Check(m_richText->StyleGetBold(0));
        break;
    case kCmdFontItalic:
        event.Check(m_richText->StyleGetItalic(0));
        break;
    case kCmdFontUnderline:
        event.Check(m_richText->StyleGetUnderline(0));
        break;
    default:
        event.Check(m_richText->IndicatorValueAt(kStrikeIndicator, m_richText->GetSelectionStart()) != 0);
        break;
    }
}

void CQuenlowView::OnTextUpdateUI(wxStyledTextEvent& event)
{
    event.Skip();
    if ((event.GetUpdated() & wxSTC_UPDATE_SELECTION) != 0 && m_richText->HasFocus())
        SyncFontCombos();
}

void CQuenlowView::OnMouseWheel(wxMouseEvent& event)
{
    // Ten lines a notch, whatever the desktop's wheel setting.
    const int rotation = event.GetWheelRotation();
    if (rotation > 0)
        m_richText->LineScroll(0, -10);
    else if (rotation < 0)
        m_richText->LineScroll(0, 10);
}

void CQuenlowView::OnRightUp(wxMouseEvent& event)
{
    if (theApp.m_strTextLayout == "engchn" || theApp.m_bScriptLoaded == 0) {
        event.Skip();
        return;
    }
    ShowEditMenu(event.GetPosition());
}

// The context menu "编辑": marking, repeat-read of the selection, the
// online translation pages and the bilingual list.
void CQuenlowView::ShowEditMenu(const wxPoint& position)
{
    // The learner's selection as the menu comes up: following may select
    // the playing sentence while the menu is open.
    m_nMenuSelStart = m_richText->GetSelectionStart();
    m_nMenuSelEnd = m_richText->GetSelectionEnd();
    CCommandMenu menu;
    BuildEditMenu(menu);
    const int chosen = m_richText->GetPopupMenuSelectionFromUser(menu.GetMenu(), position);
    const int command = chosen == wxID_NONE ? 0 : menu.CommandFromItem(chosen);
    if (command != 0) {
        wxCommandEvent commandEvent(wxEVT_MENU, command);
        commandEvent.SetEventObject(this);
        ProcessWindowEvent(commandEvent);
    }
    m_nMenuSelStart = m_nMenuSelEnd = -1;
}

void CQuenlowView::BuildEditMenu(CCommandMenu& menu)
{
    wxMenu* mark = menu.AddSubMenu("标记词汇");
    menu.Append(kCmdMarkWord, "标记单词", wxITEM_CHECK, mark);
    menu.Append(kCmdMarkPhrase, "标记词组", wxITEM_CHECK, mark);
    wxMenu* repeat = menu.AddSubMenu("复读选中句");
    const char* repeatTexts[kRepeatSelectionCount] = {"复读2次", "复读4次", "复读6次",
                                                         "复读8次", "复读10次", "复读12次"};
    for (int k = 0; k < kRepeatSelectionCount; ++k)
        menu.Append(kCmdFirstRepeatSelection + k, repeatTexts[k], wxITEM_NORMAL, repeat);
    wxMenu* translate = menu.AddSubMenu("在线翻译");
    menu.Append(kCmdBaiduTranslate, "百度翻译", wxITEM_NORMAL, translate);
    menu.Append(kCmdGoogleTranslate, "谷歌翻译", wxITEM_NORMAL, translate);
    // The frame answers it: the bilingual list in place of this text.
    menu.Append(kCmdBilingualListView, "双语列表", wxITEM_NORMAL);
    menu.UpdateUI(this);   // the marking items show whether their marks are on
}

void CQuenlowView::RestoreMenuSelection()
{
    if (m_richText != nullptr && m_nMenuSelEnd > m_nMenuSelStart && m_nMenuSelStart >= 0)
        m_richText->SetSelection(m_nMenuSelStart, m_nMenuSelEnd);
}

void CQuenlowView::OnContextMenu(wxContextMenuEvent& /*event*/)
{
    // The menu comes with the right button's release; the text shows none of its own.
}

void CQuenlowView::OnSize(wxSizeEvent& event)
{
    event.Skip();
    // The strip's height follows the width: a narrower view wraps its text.
    if (m_pShowChnDlg != nullptr && m_pShowChnDlg->IsShown())
        PlaceCaption();
}
