// The lesson view: the central view that shows the lesson text, one subtitle
// line per text line, and follows the sentence that is playing. The main
// frame creates it with child id 501.
//
// Text positions. The text control counts positions in bytes of its UTF-8
// text, so the sentence model holds CONTROL POSITIONS, not characters: after
// a load the positions pass (kTimerTextPositions) stores in fgnstartpos[i] the
// control position of the first character of line i and in fgntxtlen[i] the
// control length of line i with its line end (a last line without a line end
// counts only its text). m_arrTextCorrection[i] is in the same units, so
// sentence i is always the control range
//     [fgnstartpos[i] + correction[i], fgnstartpos[i] + correction[i] + fgntxtlen[i]).
// A character offset inside a sentence (the word references of a lesson file)
// becomes a control position with m_richText->PositionRelative(fgnstartpos[i],
// offset). m_nSelStart/m_nSelEnd are control positions as well.
//
// The player. Following reads the main player (the player dialog's media
// facade inside the frame's player pane) through the four m_...Player
// functions; they default to that player and give neutral values (time -1,
// state 0, no seek, no pause) while there is no main frame or player. Tests
// replace them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <wx/gdicmn.h>

#include "lesson/core/wordreferences.h"
#include "platform/cstring.h"
#include "ui/viewbase.h"
#include "ui/windowtimers.h"
#include "core/commandids.h"

// From lesson/core/lessonloader.h (not included here: its enumerators clash
// with X11 macros in files that include both).
enum class ELessonLoadResult;

class wxStyledTextCtrl;
class wxCommandEvent;
class wxUpdateUIEvent;
class wxStyledTextEvent;
class wxMouseEvent;
class wxSizeEvent;
class wxContextMenuEvent;
class CShowChnDlg;
class CCommandMenu;
class IMainFrameHost;

class CQuenlowView : public CView {
public:
    // Timers of the view (id: period, started by).
    enum EQuenlowViewTimer {
        kTimerLookUpSelection = 100,   // 200 ms once: double click
        kTimerPlayWhenBuffering = 200, // nothing starts it
        kFollowTimer = 300,            // 100 ms: StartFollowing, repeat-read
        kTimerPointReadEnd = 400,      // 50 ms: point-read click, repeat
        kTimerHideCaption = 600,       // nothing starts it
        kTimerHidePopup = 700,         // 2000 ms: hover look-up
        kTimerBold = 800,              // 1000 ms once: bold command
        kTimerItalic = 900,            // 1000 ms once: italic command
        kTimerUnderline = 1000,        // 1000 ms once: underline command
        kTimerIdleTicks = 1100,        // 100 ms: word pick-up
        kTimerHoverLookUp = 1200,      // 1000 ms: word pick-up
        kTimerPauseWhileHeld = 2000,   // 600 ms once: left button down
        kTimerHideCaptionIdle = 3000,  // nothing starts it
        kTimerTextPositions = 5000,    // 500 ms once: every load
        kTimerSentenceChange = 5100,   // once: the next sentence change due before the next follow tick
        kTimerRepeatEnd = 5200,        // once: the end of the repeat window due before the next follow tick
    };
    // The point-read stop's check interval; the last stretch is timed exactly.
    static constexpr int kPointReadCheck = 50;
    static constexpr int kFollowInterval = 100;
    static constexpr int kTextPositionsDelay = 500;
    static constexpr int kEffectDelay = 1000;
    static constexpr int kTextId = 1014;

    // The margin step, in pixels.
    static constexpr int kMarginStep = 20;

    CQuenlowView();
    ~CQuenlowView() override;

    bool Create(wxWindow* host, int id) override;
    // Gives the text its format once the frame has created the view.
    void OnInitialUpdate() override;

    // ---- Loading ----
    // Loads theApp.m_strScriptPath through the lesson loaders: the model and
    // the view's text are replaced, the lesson font applied, the text marked
    // as loaded and the positions pass armed. A lesson database that cannot
    // be opened leaves the text as it was (the loader reports it); a file
    // type without a loader changes nothing. A subtitle file that cannot be
    // read or gives no sentence shows as an empty lesson; the result says so,
    // for the caller to tell the learner.
    ELessonLoadResult LoadSubtitleFile();
    // The positions pass (kTimerTextPositions's work): the visible line count, then
    // fgnstartpos/fgntxtlen of every sentence from the text's lines.
    void ComputeTextPositions();

    // ---- Following playback ----
    // Starts following the lesson from sentence 0.
    void StartFollowing();
    // Following has nothing to do while the player is paused or stopped: a
    // follow tick that finds it so stops the timer, and the frame calls
    // ResumeFollowing whenever playback starts again.
    void ResumeFollowing();
    bool IsFollowTimerRunning() const { return m_timers.IsRunning(kFollowTimer); }
    void OnTimer(int id);
    // One follow step: skips long silent gaps, finds the sentence at the
    // player time and, when it changed, selects it, scrolls it into sight
    // and shows its Chinese line in the caption window.
    void FollowPlayback();
    void ScheduleSentenceChange(int64_t t);
    // The control range of sentence i in the current layout (false when i is
    // outside the model).
    bool GetSentenceRange(int sentence, int& start, int& end) const;
    // Selects sentence i and remembers its range in m_nSelStart/m_nSelEnd.
    void SelectSentence(int sentence);
    // Pages the text down when the line at `start` nears the bottom; keeps
    // that line in sight.
    void ScrollToCurrent(int start);
    // Highlights the current sentence again, in sight, after something took
    // the selection (a new format, the pop-up dictionary, a key): while
    // paused, the follow step would bring it back only at the next sentence.
    void ShowCurrentSentence();
    // The caption window for sentence i: shown with its Chinese line when
    // that line has text and the Chinese caption is switched on, else hidden.
    void ShowCaptionFor(int sentence);

    // ---- Text format ----
    // The lesson font and colours on the whole text and as the format of text
    // put in later.
    void ApplyTextFormat();
    // The horizontal scroll range: the widest line of the text.
    void FitScrollWidth();
    // Re-applies the formats of the view and of its caption window when the
    // application's font-change counter moved since the view last applied them.
    void UpdateFontIfChanged();
    // Pixels from one text line to the next; 10 when the text has no height.
    int GetLineHeight();
    // theApp.m_nLineHeight and theApp.m_nVisibleLines from the text's client height.
    void CountVisibleLines();
    // Shows the selection's face and size in the ribbon's font combos.
    virtual void SyncFontCombos();

    // ---- Caption window ----
    // Creates the Chinese caption strip hidden, as the view's child laid out
    // under the text (once; a second call keeps the first strip).
    void CreateCaptionDialog();
    // Destroys the caption window (it has no parent, so nothing else does);
    // the view and the application's exit call it. A later caption makes a new one.
    void DestroyCaptionDialog();
    // Left or centred alignment of the caption text.
    void AlignCaption();
    // Gives the shown caption strip the height its text needs at the view's
    // width; the text above it takes the rest of the view.
    void PlaceCaption();
    // Hides the strip; the text takes the whole view again.
    void HideCaption();

    // ---- Command handlers ----
    void OnFontColor(wxCommandEvent& event);
    void OnBackColor(wxCommandEvent& event);
    void OnFontBold(wxCommandEvent& event);
    void OnFontItalic(wxCommandEvent& event);
    void OnFontUnderline(wxCommandEvent& event);
    void OnStrikeOut(wxCommandEvent& event);
    void OnIncreaseMargin(wxCommandEvent& event);
    void OnDecreaseMargin(wxCommandEvent& event);
    void OnFontName(wxCommandEvent& event);
    void OnFontSize(wxCommandEvent& event);
    void OnTranslateCommand(wxCommandEvent& event);

    // Looks the marked item of sentence i up in the dictionary pane.
    void LookUpMarkedWord(int sentence);

    // ---- Mouse: point-read, look-up, word pick-up ----
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    // The left button's release, once the text has taken it (its selection
    // is final): the selection menu, then the point-read click.
    void AfterLeftUp(const wxPoint& position);
    // Plays sentence k from its start (less the margin); in the "Pause" mode
    // playback pauses at its end.
    void PointReadSentence(int sentence);
    // The sentence whose range holds control position c; -1 for none.
    int SentenceAtPosition(int position) const;
    // The word around control position c (m_nWordStart, m_nWordEnd set).
    CString WordAt(int position);
    // The word the hover look-up takes from text under the mouse: blanks,
    // line breaks and what follows them, brackets, commas, stops, quotes,
    // "!" and "?" removed.
    static CString CleanHoverWord(const CString& text);
    // Marks a word range for the hover look-up, and takes the mark off.
    void HighlightRange(int start, int end);
    void RestoreRange(int start, int end);
    // Timer 1200's work: the word under a resting mouse, looked up and shown
    // in the pop-up dictionary browser.
    void HoverLookUp();
    // Timer 700's work: the pop-up goes once the mouse left it.
    void HideHoverPopup();
    // Timer 400's work: pauses at the point-read stop.
    void CheckPointReadStop();
    // The follow timer's work while repeating: back to the window's start at
    // its end; media that ended or stopped ends the repeat.
    void CheckRepeatEnd();
    // Timer 100's work: the word of a double click (or else the selection)
    // looked up.
    void LookUpSelection();

    // ---- Marking of new words and phrases ----
    // Toggles: the new-word book's words, or the lesson's phrases, marked
    // where the lesson file says they occur (each switches the other off).
    void MarkWords();
    // The items of the context menu "编辑", checked and enabled as they stand
    // now: the marking items show whether their marks are on.
    void BuildEditMenu(CCommandMenu& menu);
    void MarkPhrases();
    // Takes every mark off the text (its own styles stay).
    void ClearMarks();
    // The control range of a reference in the text as it is laid out now;
    // false for a sentence or range outside the text.
    bool ReferenceRange(const SWordReference& reference, int& start, int& end) const;
    // Records the references (m_arrMarkedBySentence, m_markedReferences) and
    // marks them.
    void MarkReferences(std::vector<SWordReference> references);
    // Marks m_markedReferences in the text as it is laid out now (after a
    // layout change as after a marking); m_marks holds the marked ranges.
    void ShowReferenceMarks();
    void ForgetMarks();
    void OnMarkCommand(wxCommandEvent& event);
    void OnUpdateMarkCommand(wxUpdateUIEvent& event);

    // ---- Word lists marked in the text ----
    // Toggles the word list of `keyword` (theApp.m_strMarkWordList between
    // the keyword and empty): on, MarkWordList marks its words; off, every
    // mark comes off (ClearMarks).
    void ToggleMarkList(const CString& keyword);
    // Reads the list of theApp.m_strMarkWordList into m_arrWordListWords and
    // marks every whole-word occurrence of each word, white on orange. A list
    // the program does not have, an unreadable or empty list and a list none
    // of whose words occur are reported.
    void MarkWordList();
    // Marks every whole-word occurrence (any case) of m_arrWordListWords in
    // the text as it is now, in one pass over the text; the count.
    int ShowWordListMarks();
    void OnMarkListCommand(wxCommandEvent& event);
    void OnUpdateMarkListCommand(wxUpdateUIEvent& event);

    // ---- Layouts ----
    // The text again in theApp.m_strTextLayout, with the sentence position
    // corrections of that layout; the current sentence stays selected.
    void RebuildText();
    void OnLayoutCommand(wxCommandEvent& event);
    void OnUpdateLayoutCommand(wxUpdateUIEvent& event);
    void OnShowChinese(wxCommandEvent& event);
    void OnTranslateSelection(wxCommandEvent& event);
    void OnCaptionPosition(wxCommandEvent& event);

    // ---- Study commands ----
    void OnClickMode(wxCommandEvent& event);
    void OnClickGetWord(wxCommandEvent& event);
    void OnRepeatTimes(wxCommandEvent& event);
    // Repeats the sentences of the selection m_nRepeatCount times.
    void StartRepeat();
    void OnStudyMode(wxCommandEvent& event);

    // ---- Text helpers ----
    // A font size typed in the size combo, in twips: leading blanks and tabs
    // skipped; empty -> -1; a decimal number of points followed only by
    // blanks or tabs -> points x 20 truncated (negative -> 0); else -2.
    static int ParseTwips(const CString& text);
    // Twips rounded to half points: "16" or "16.5".
    static CString TwipsToPointString(int twips);
    // The online translation page for a text: the page address followed by
    // the text's UTF-8 bytes, percent-encoded.
    static CString BuildTranslateAddress(const CString& text);

    // ---- The main player ----
    std::function<int64_t()> m_getPlayerTime;
    std::function<void(int64_t)> m_seekPlayer;
    std::function<int()> m_getPlayerState;
    std::function<void()> m_pausePlayer;
    // Where the mouse pointer is on the screen (the word pick-up's source;
    // tests replace it).
    std::function<wxPoint()> m_getPointer;

    wxStyledTextCtrl* m_richText = nullptr;
    CShowChnDlg* m_pShowChnDlg = nullptr;
    // The main frame, taken from MainFrameHost() before each use (null without one).
    IMainFrameHost* m_pMainFrame = nullptr;

    // Range of the current sentence (control positions) and the player time
    // of the last follow step.
    int m_nSelStart = 0;
    int m_nSelEnd = 0;
    int m_nPlayerTime = 0;

    // Point-read: the sentence under the mouse and the time it ends.
    int m_nPointSentence = 0;
    int m_nPointStop = 0;
    // Hover look-up.
    int m_nHoverChar = 0;
    int m_nWordStart = 0;
    int m_nWordEnd = 0;
    int m_nIdleTicks = 0;
    int m_bHoverShown = 0;
    CString m_strHoverWord;
    CString m_strLastHoverWord;
    // Mouse buttons.
    int m_bButtonUp = 1;
    CString m_strMouseDown;
    CString m_strLastSelection;
    // The selection the edit menu came up for (-1: no menu).
    int m_nMenuSelStart = -1;
    int m_nMenuSelEnd = -1;
    // The word a double click was on, for the look-up that follows it.
    CString m_strDoubleClickWord;
    // Sentences of the repeat window.
    int m_nRepeatFirst = 0;
    int m_nRepeatLast = 0;

    // Word and phrase marking: the flags, the marked items as pairs
    // (sentence index as decimal text, marked text) and the sentence whose
    // item was looked up last.
    int m_bWordsMarked = 0;
    int m_bPhrasesMarked = 0;
    int m_bAutoLookUpMarks = 0;
    CStringArray m_arrMarkedBySentence;
    // The marked ranges (control positions) and their texts, for the hover
    // look-up; made anew by each marking.
    struct SMarkRange {
        int start;
        int end;
        CString text;
    };
    std::vector<SMarkRange> m_marks;
    // The references being marked, kept for marking them again in another layout.
    std::vector<SWordReference> m_markedReferences;
    int m_nLastLookedUpSentence = -1;
    // The words of the word list being marked.
    std::vector<CString> m_arrWordListWords;

    // Online translation: the text and the address last used.
    CString m_strTranslateText;
    CString m_strTranslateUrl;

    // The layout of the text the control holds: the loaders put in the
    // "script" text, one sentence per line.
    CString m_strShownLayout = "script";

    // Pixels added to each side of the caption text by the margin commands.
    int m_nCaptionMargin = 0;

    CWindowTimers m_timers;

private:
    // Stops the follow timer until ResumeFollowing.
    void WaitForPlaying();
    bool m_bFollowWaiting = false;

    IMainFrameHost* MainFrame();
    void BindCommands();
    void ResetMarkingState();
    // Bold, italic or underline: pause when playing, select the whole text
    // and apply the effect one second later.
    void StartEffectCommand(int timerId);
    void ApplyEffect(int timerId);
    void ChangeMargins(int step);
    // Shows, docks and widens the dictionary pane when it is hidden.
    void ShowDictionaryPane();
    CString SelectedText() const;

    void OnUpdateWhenLoaded(wxUpdateUIEvent& event);
    void OnUpdateWhenAnyLoaded(wxUpdateUIEvent& event);
    void OnUpdateEffect(wxUpdateUIEvent& event);
    void OnTextUpdateUI(wxStyledTextEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnRightUp(wxMouseEvent& event);
    // The context menu "编辑" at a point of the text.
    void ShowEditMenu(const wxPoint& position);
    // The selection the edit menu came up for, selected again for its command.
    void RestoreMenuSelection();
    void BindMouseAndStudyCommands();
    void SetUpMarking();
    void SetUpLayoutCommands();
    void OnUpdateClickMode(wxUpdateUIEvent& event);
    void OnUpdateClickGetWord(wxUpdateUIEvent& event);
    void OnUpdateStudyMode(wxUpdateUIEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnSize(wxSizeEvent& event);

    // Whether the pending bold/italic/underline command paused playback.
    bool m_bEffectPaused[3] = {false, false, false};
};
