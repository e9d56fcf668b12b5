// The word book view: one word list at a time (the new-word book, the lists
// of the word-list database, the current lesson's words and phrases, the
// book's words of the lesson, a random group of the book) with, for the word
// chosen, the dictionary page, the word-root page and the example sentences
// of the lesson. The main frame creates it with child id 378 for the ribbon
// category 词汇管理 and routes the category's commands to it; the view owns
// the exercise and exercise-history windows.
#pragma once

#include <functional>
#include <set>
#include <vector>

#include <wx/weakref.h>

#include "platform/cstring.h"
#include "ui/viewbase.h"
#include "ui/windowtimers.h"
#include "vocabulary/core/wordexamples.h"
#include "vocabulary/core/wordlists.h"
#include "vocabulary/exercisedlg.h"
#include "vocabulary/exerhistorydlg.h"

class wxStyledTextCtrl;
class wxCommandEvent;
class wxUpdateUIEvent;
class wxMouseEvent;
class wxSizeEvent;
class CExplorer1;

class CWordManagementView : public CView {
public:
    enum {
        kDictBrowserId = 1001,
        kRootBrowserId = 1002,
        kWordListId = 1014,
        kCounterId = 1018,
        kExamplesId = 1019,
        kSentenceId = 1020,
    };
    enum EWordViewTimer {
        kTimerClipEnd = 100,        // a clicked example's clip reached its end
        kTimerChangeWord = 200,     // the automatic word change moves on
        kTimerLookUpSentence = 300, // looks up the sentence box's selection
        kTimerPlayExample = 400,    // automatic playback: the next example
        kTimerAutoClipEnd = 500,    // automatic playback: the clip's end
        kTimerReselectExample = 600,// selects the clicked example line again
        kTimerSubtitlesOff = 700,   // the second player's own subtitles off
    };
    // The lists' font size (points) and the width of the word list column.
    static constexpr int kListPoints = 12;
    static constexpr int kListWidth = 180;
    static constexpr int kCounterHeight = 30;
    // The word's style in the example list and the sentence box.
    static constexpr int kStyleExampleMark = 1;

    CWordManagementView();
    ~CWordManagementView() override;
    bool Create(wxWindow* host, int id) override;

    // Re-applies the list formats when the application's font-change counter
    // moved since this view last applied them.
    void RefreshStyle();
    // Called when the book comes in front for the lesson in theApp: a lesson
    // other than the one it last showed, or a word-list kind left empty,
    // starts the book afresh on that lesson's words (examples played from
    // the first, no exercise lesson yet).
    void ShowLessonWords();
    // The lesson font face and colours, 12 points, on the word list (bold)
    // and on the example list.
    void ApplyListColors();
    // The counter's and the sentence box's fixed formats.
    void ApplyFonts();

    // ---- The list commands: each sets theApp.m_strWordListKind ----
    void OnUnkownword();         // "UNKOWNWORD": the new-word book
    void OnOutline();            // "OUTLINE": the syllabus words
    void OnRealexamword();       // "REALEXAMWORD": words of past examinations
    void OnRealexamidioms();     // "REALEXAMIDIOMS": common phrases
    void OnCurrentunitword();    // "CURRENTUNITWORD": the lesson's words
    void OnCurrentunitphase();   // "CURRENTUNITPHASE": the lesson's phrases
    void OnCurrentunitunkownw(); // "UNITUNKOWNWORD": the book's words of the lesson
    void OnRandomdivide();       // "RANDOMDIVIDE": 50 words drawn from the book

    // ---- The word book as a whole ----
    void OnExportWord();
    void OnImportWord();
    void OnDeleteAllword();

    // ---- Exercises and the example player's window ----
    void OnGenerateexercise();
    void OnCheckhistory();
    void OnOpenplayerwnd();
    void OnPlayexamplesentence();

    // ---- The chosen word ----
    // Chooses list line `line` (0-based) as a click does: counter, highlight,
    // examples, look-up, dictionary and word-root pages. A line past the
    // list chooses nothing.
    void ChooseListLine(int line);
    void OnJudgekown();     // 认识: out of the new-word book, the line marked
    void OnJudgeunkown();   // 不认识: into the new-word book
    // Shows the word-root page of a word (stored form) beside the dictionary
    // page, or hides it when the word has no entry.
    void ShowWordRoot(const CString& word);

    // ---- Example sentences ----
    // Lists the current lesson's sentences holding a word or phrase (stored
    // form): from the lesson file's references, or for a lesson loaded from
    // a subtitle file by searching its texts (words only).
    void ShowExamples(const CString& text);
    // A click in the example list at a text position: shows the example in
    // the sentence box and plays its clip in the second player; a click past
    // the examples plays the current one again.
    void ChooseExampleAt(int position);
    // Plays the lesson an example came from in the main player (talks only).
    void OnPlayExampleLesson();

    // ---- Automatic word change ----
    void OnAutoChangeWord();
    void OnChangeWordInterval();
    void OnTimer(int id);

    void LayoutControls(int cx, int cy);

    wxStyledTextCtrl* m_editWordList = nullptr;
    wxStyledTextCtrl* m_editCounter = nullptr;
    wxStyledTextCtrl* m_editExamples = nullptr;
    wxStyledTextCtrl* m_editSentence = nullptr;
    CExplorer1* m_wndDictBrowser = nullptr;
    CExplorer1* m_wndRootBrowser = nullptr;
    // Made on first use; a window the learner closed for good is made again.
    wxWeakRef<CExerciseDlg> m_dlgExercise;
    wxWeakRef<CExerHistoryDlg> m_dlgHistory;

    // Asks for a file: (save, initial folder, initial name) -> the path
    // chosen, empty for Cancel. A file dialog unless a test replaces it.
    std::function<CString(bool save, const CString& folder, const CString& name)> m_chooseFile;
    // Opens an exported file for the learner (the desktop's program for it).
    std::function<void(const CString& path)> m_openFile;
    // The random group's source of numbers.
    RandomSource m_random;

    // The entry chosen in the list, stored form ("'" as "*").
    CString m_strSelectedWord;
    // The entries of the list shown (stored form) and of the new-word book.
    std::vector<CString> m_arrListWords;
    std::vector<CString> m_arrBookWords;
    int m_nListCount = 0;
    // Lines of the list that fit in its window.
    int m_nVisibleLines = 1;
    // The highlighted line and the line last clicked (-1: none).
    int m_nHighlightLine = -1;
    int m_nHitLine = -1;
    // Lines marked as known since the list was built.
    std::set<int> m_knownLines;

    // The lesson the unit list was last built for (the main frame compares it).
    CString m_strLessonPath;
    CStringArray m_arrWords;
    // Examples play one after another by themselves (1) or not (0).
    int m_bAutoPlayExamples = 0;
    // The example played or last clicked.
    int m_nCurrentExample = 0;
    CWordExampleList m_examples;
    SClip m_clip;
    // The lesson and media the examples were found in and the clip plays.
    CString m_strExampleScript;
    CString m_strExampleMedia;
    CString m_strExerciseLessonPath;

private:
    void OnSize(wxSizeEvent& event);
    void OnListLeftDown(wxMouseEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    // Shows entries as the list (stored form in, "'" shown), the counter
    // "  共N个", scrolls to the top and, when asked, looks the first one up.
    void ShowList(const std::vector<CString>& entries, bool lookUpFirst);
    void ShowCounter(const CString& text);
    // Looks a word up in the dictionary pane and shows its page (or the page
    // saying it was not found); with `online`, the online mode shows the
    // online page instead.
    void LookUpAndShow(const CString& word, bool online);
    void LoadBookWords();
    void HighlightLine(int line);
    // The word list's line `line` without its line break and blanks.
    CString ListLineText(int line) const;
    void StyleLine(int line, int style);
    void ComputeVisibleLines();
    void HideStreamWindow();
    void PlaceBrowsers();
    void OnExamplesLeftDown(wxMouseEvent& event);
    void OnExamplesRightUp(wxMouseEvent& event);
    void OnExampleTimer(int id);
    // Shows example `index` in the sentence box with its word highlighted.
    void ShowExampleSentence(int index);
    // Gives every example's word its highlight in the example list.
    void MarkExamples();
    // Opens the media, plays from the example's clip start and starts the
    // timer that ends it; false when there is nothing to play.
    bool StartExampleClip(int index, int endTimer);
    void StopExamplePlayback();

    CWindowTimers m_timers;
    int m_cx = 0;
    int m_cy = 0;
    // The word-root page is shown beside the dictionary page.
    bool m_bRootShown = false;
    // The example line a click selected (list positions), selected again
    // once the click is over.
    int m_nReselectStart = 0;
    int m_nReselectEnd = 0;
};
