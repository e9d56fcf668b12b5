// The lesson view and the bilingual list view under Xvfb: loading a lesson
// into the view, the positions pass, the follow step with a stand-in player,
// the font size parser, the translation address, commands routed through a
// real main frame, and the bilingual list following the lesson.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dnd.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/stc/stc.h>

#include "lesson/doublelangformview.h"
#include "lesson/quenlowview.h"
#include "ui/lessontextstyle.h"
#include "platform/sqlitedb.h"
#include "ui/commandmenu.h"
#include "ui/wxtext.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "core/quenlow.h"
#include "core/publicpages.h"
#include "core/quenlowdoc.h"
#include "ui/showchndlg.h"
#include "ui/showmsgdlg.h"
#include "playback/purewmpdialog.h"
#include "playback/vlcplayer.h"
#include "frame/ribbonstatusbar.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "ui/explorer1.h"
#include "vocabulary/minihtmldlg.h"
#include "vocabulary/core/wordlookup.h"

namespace {

using testsupport::DrainEvents;

// Puts back every application field these tests change.
class AppStateGuard : public testsupport::AppStateGuard {
public:
    AppStateGuard()
        : testsupport::AppStateGuard(&CQuenlowApp::m_arrSentenceTiming,
                                     &CQuenlowApp::m_arrTextCorrection,
                                     &CQuenlowApp::m_nSentenceCount,
                                     &CQuenlowApp::m_nCurrentSentence,
                                     &CQuenlowApp::m_nTimeOffset,
                                     &CQuenlowApp::m_nBlankThreshold,
                                     &CQuenlowApp::m_bScriptLoaded,
                                     &CQuenlowApp::m_nRepeatCount,
                                     &CQuenlowApp::m_nVisibleLines,
                                     &CQuenlowApp::m_nFontSize,
                                     &CQuenlowApp::m_nFontChangeCount,
                                     &CQuenlowApp::m_nFontCountQuenlowView,
                                     &CQuenlowApp::m_clrText,
                                     &CQuenlowApp::m_clrBackground,
                                     &CQuenlowApp::m_strPlayState,
                                     &CQuenlowApp::m_strPlaybackStarted,
                                     &CQuenlowApp::m_strSkipBlank,
                                     &CQuenlowApp::m_strShowChinese,
                                     &CQuenlowApp::m_strTextLayout,
                                     &CQuenlowApp::m_strSubtitleLoaded,
                                     &CQuenlowApp::m_strPointRead,
                                     &CQuenlowApp::m_strScriptPath,
                                     &CQuenlowApp::m_strFontName,
                                     &CQuenlowApp::m_arrForeignText,
                                     &CQuenlowApp::m_arrChineseText)
    {
    }
};

struct SSentence {
    int start;
    int end;
    const char* english;   // with its line end, as the loaders store it
    const char* chinese;
};

// The sentence model and the view's text for a list of sentences, the way a
// load leaves them, followed by the positions pass.
void PutLesson(CQuenlowView& view, const std::vector<SSentence>& sentences)
{
    theApp.ClearSentenceModel();
    theApp.EnsureSentenceCapacity(static_cast<int>(sentences.size()));
    CString text;
    for (size_t i = 0; i < sentences.size(); ++i) {
        SSentenceTiming& timing = theApp.m_arrSentenceTiming[i];
        timing.linecnt = static_cast<int>(i);
        timing.starttime = sentences[i].start;
        timing.endtime = sentences[i].end;
        theApp.m_arrForeignText.Add(sentences[i].english);
        theApp.m_arrChineseText.Add(sentences[i].chinese);
        text += sentences[i].english;
    }
    theApp.m_nSentenceCount = static_cast<int>(sentences.size());
    SetControlText(*view.m_richText, text);
    view.ApplyTextFormat();
    view.ComputeTextPositions();
}

// A lesson database with the given rows; the stored English positions are
// deliberately wrong, the positions pass replaces them.
void WriteScriptFile(const CString& path, const std::vector<SSentence>& sentences)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename (linecnt varchar(20), starttime varchar(20), endtime varchar(20), "
                        "fgnstartpos varchar(20), fgntxtlen varchar(20), chnstartpos varchar(20), "
                        "chntxtlen varchar(20), fgntxt varchar(1000), chntxt varchar(1000));"));
    ASSERT_TRUE(db.Begin());
    for (size_t i = 0; i < sentences.size(); ++i) {
        const int n = static_cast<int>(i);
        ASSERT_TRUE(db.Exec("insert into tablename values (?, ?, ?, ?, ?, ?, ?, ?, ?);",
                            {n, sentences[i].start, sentences[i].end, 999, 1, 0, 0, sentences[i].english,
                             sentences[i].chinese}));
    }
    ASSERT_TRUE(db.Commit());
}

// A shown top-level window holding one view that fills it.
class LessonViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "lesson", wxDefaultPosition, wxSize(700, 400));
        theApp.m_strFontName = "Arial";
        theApp.m_nFontSize = 16;
        theApp.m_clrText = RGB(0, 0, 0);
        theApp.m_clrBackground = RGB(255, 255, 255);
        theApp.m_strPlayState = "OnPlay";
        theApp.m_strPlaybackStarted = "true";
        theApp.m_bScriptLoaded = 1;
        theApp.m_strSkipBlank.Empty();
        theApp.m_nBlankThreshold = 3000;
        theApp.m_nTimeOffset = 0;
        theApp.m_strShowChinese.Empty();
        theApp.m_strTextLayout = "script";
        theApp.m_strPointRead.Empty();
        theApp.m_nRepeatCount = 0;
    }
    void TearDown() override
    {
        m_frame->Destroy();
        DrainEvents();
    }

    template <class View>
    View* MakeView(int id)
    {
        auto* view = new View;
        EXPECT_TRUE(view->Create(m_frame, id));
        view->OnInitialUpdate();
        view->Show();
        m_frame->Show();
        m_frame->SendSizeEvent();
        view->SetSize(m_frame->GetClientSize());
        view->Layout();
        DrainEvents();
        return view;
    }

    // A lesson view whose player is a plain time value; seeks are recorded
    // and move the time.
    CQuenlowView* MakeFollowingView()
    {
        CQuenlowView* view = MakeView<CQuenlowView>(501);
        view->m_getPlayerTime = [this] { return m_time; };
        view->m_seekPlayer = [this](int64_t to) {
            m_seeks.push_back(to);
            m_time = to;
        };
        view->m_getPlayerState = [] { return 3; };
        view->m_pausePlayer = [] {};
        return view;
    }

    void TickAt(CQuenlowView& view, int64_t time)
    {
        m_time = time;
        view.OnTimer(CQuenlowView::kFollowTimer);
    }

    static bool SelectionIsLine(const CQuenlowView& view, int line)
    {
        const wxStyledTextCtrl& text = *view.m_richText;
        return text.GetSelectionStart() == text.PositionFromLine(line) &&
               text.GetSelectionEnd() == text.PositionFromLine(line) + text.LineLength(line);
    }

    AppStateGuard m_guard;
    wxFrame* m_frame = nullptr;
    int64_t m_time = 0;
    std::vector<int64_t> m_seeks;
};

} // namespace

// ---- Loading and the positions pass -------------------------------------------------

TEST_F(LessonViewTest, AfterThePositionsPassEachSentenceSelectsExactlyItsLine)
{
    // Sentence i must select line i with its line end, whatever the bytes of
    // the line: GB18030 text is longer in the control's UTF-8, so character
    // counts and control positions differ after the first Chinese line.
    const std::vector<SSentence> sentences = {
        {0, 900, "Plain English.\n", "普通句子"},
        {1000, 1900, "Tom said \"你好\" to me.\n", ""},                   // Chinese inside an English line
        {2000, 2900, "中文字幕占满整行\n", ""},                              // a whole Chinese line
        {3000, 3900, "Windows line end.\r\n", ""},                          // "\r\n" is one line end of 2
        {4000, 4900, "\n", ""},                                             // an empty sentence
        {5000, 5900, "Emoji-free but 4-byte 𠀀 character.\n", ""},           // GB18030 four-byte character
        {6000, 6900, "Last sentence without a line end", ""},
    };
    testsupport::TempFolder folder;
    const CString path = folder.ansi() + "课文.script";
    WriteScriptFile(path, sentences);
    theApp.m_strScriptPath = path;

    CQuenlowView* view = MakeView<CQuenlowView>(501);
    theApp.m_strPlayState = "OnPause";
    view->LoadSubtitleFile();
    ASSERT_EQ(theApp.m_nSentenceCount, static_cast<int>(sentences.size()));
    EXPECT_EQ(theApp.m_strSubtitleLoaded, "true");
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerTextPositions));

    // Paused: the pass waits, the stored positions stay.
    view->OnTimer(CQuenlowView::kTimerTextPositions);
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerTextPositions));
    EXPECT_EQ(theApp.m_arrSentenceTiming[0].fgnstartpos, 999);

    theApp.m_strPlayState = "OnPlay";
    view->OnTimer(CQuenlowView::kTimerTextPositions);
    EXPECT_FALSE(view->m_timers.IsRunning(CQuenlowView::kTimerTextPositions));

    wxStyledTextCtrl& text = *view->m_richText;
    for (size_t i = 0; i < sentences.size(); ++i) {
        SCOPED_TRACE(sentences[i].english);
        const SSentenceTiming& timing = theApp.m_arrSentenceTiming[i];
        text.SetSelection(timing.fgnstartpos, timing.fgnstartpos + timing.fgntxtlen);
        EXPECT_EQ(FromWx(text.GetSelectedText()), CString(sentences[i].english));
        EXPECT_EQ(text.LineFromPosition(timing.fgnstartpos), static_cast<int>(i));

        // The view's own selection of the sentence is the same range.
        view->SelectSentence(static_cast<int>(i));
        EXPECT_EQ(view->m_nSelStart, timing.fgnstartpos);
        EXPECT_EQ(view->m_nSelEnd, timing.fgnstartpos + timing.fgntxtlen);
    }
    // Character offsets inside a sentence become control positions.
    const SSentenceTiming& chineseInside = theApp.m_arrSentenceTiming[1];
    const int wordStart = text.PositionRelative(chineseInside.fgnstartpos, 14);   // after "Tom said \"你好\" "
    EXPECT_EQ(FromWx(text.GetTextRange(wordStart, wordStart + 2)), CString("to"));
}

TEST_F(LessonViewTest, LoadOutcomesDecideWhatTheViewKeeps)
{
    testsupport::TempFolder folder;
    const CString good = folder.ansi() + "lesson.script";
    WriteScriptFile(good, {{0, 1000, "First lesson.\n", "第一课"}});

    CQuenlowView* view = MakeView<CQuenlowView>(501);
    struct Case {
        const char* what;
        CString path;
        const char* textAfter;
        bool timerStarted;
    };
    const Case cases[] = {
        {"a lesson database", good, "First lesson.\n", true},
        {"a missing database keeps the text", folder.ansi() + "missing.script", "First lesson.\n", false},
        {"no loader for the name changes nothing", folder.ansi() + "notes.txt", "First lesson.\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view->m_timers.KillTimer(CQuenlowView::kTimerTextPositions);
        view->m_arrMarkedBySentence.Add("0");
        theApp.m_strScriptPath = c.path;
        view->LoadSubtitleFile();
        EXPECT_EQ(FromWx(view->m_richText->GetText()), CString(c.textAfter));
        EXPECT_EQ(view->m_timers.IsRunning(CQuenlowView::kTimerTextPositions), c.timerStarted);
    }
    // The failed open still cleared the model and the marks (the load of the
    // unknown name touched neither).
    EXPECT_EQ(theApp.m_nSentenceCount, 0);
    EXPECT_EQ(view->m_arrMarkedBySentence.GetSize(), 1);
    int kind = 0, seconds = 0;
    CString message;
    ASSERT_TRUE(theApp.TakeMessage(kind, message, seconds));
    EXPECT_EQ(message, "打开播放数据文件失败!");
}

// ---- Following playback ---------------------------------------------------------------

TEST_F(LessonViewTest, FollowStepSelectsTheSentenceAtThePlayerTime)
{
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {
                         {1000, 2000, "First.\n", ""},
                         {2000, 3000, "Second starts where the first ends.\n", ""},
                         {2500, 4000, "Third overlaps the second.\n", ""},
                         {9000, 9500, "Fourth after a gap.\n", ""},
                     });
    view->StartFollowing();
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kFollowTimer));

    struct Step {
        int offset;
        int64_t time;
        int current;   // also the selected line
        const char* why;
    };
    const Step steps[] = {
        {0, 1000, 0, "the start is inclusive"},
        {0, 2000, 0, "the end is inclusive and the lower index wins"},
        {0, 2001, 1, "next sentence"},
        {0, 2600, 1, "inside two sentences: the lower index"},
        {0, 3001, 2, "only the third"},
        {0, 6000, 2, "a gap keeps the previous sentence"},
        {0, 9000, 3, "after the gap"},
        {0, 9999, 3, "after the last sentence nothing changes"},
        {400, 1399, 3, "offset +400: 1000 ms is not yet the first"},
        {400, 1400, 0, "offset +400: start 1000 is now 1400"},
        {400, 2400, 0, "offset +400: end 2000 is now 2400"},
        {400, 2401, 1, "offset +400: then the second"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.why);
        theApp.m_nTimeOffset = s.offset;
        TickAt(*view, s.time);
        EXPECT_EQ(theApp.m_nCurrentSentence, s.current);
        EXPECT_TRUE(SelectionIsLine(*view, s.current));
    }

    // Not playing, or no lesson for the media: the tick changes nothing.
    for (const char* state : {"OnPause", "OnStop"}) {
        theApp.m_strPlayState = state;
        TickAt(*view, 3001 + 400);
        EXPECT_EQ(theApp.m_nCurrentSentence, 1) << state;
    }
    theApp.m_strPlayState = "OnPlay";
    theApp.m_bScriptLoaded = 0;
    TickAt(*view, 3001 + 400);
    EXPECT_EQ(theApp.m_nCurrentSentence, 1);
}

// A paused or stopped player gives following nothing to do: its timer stops
// at the first tick that finds it so, and comes back (following from where
// the player is) when playback starts again.
TEST_F(LessonViewTest, FollowingWaitsWhileNotPlayingAndResumesWithPlayback)
{
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{1000, 2000, "First.\n", ""}, {2000, 3000, "Second.\n", ""}});
    view->StartFollowing();
    const auto running = [&](int id) { return view->m_timers.IsRunning(id); };

    for (const char* state : {"OnPause", "OnStop"}) {
        SCOPED_TRACE(state);
        theApp.m_strPlayState = state;
        TickAt(*view, 2500);
        EXPECT_FALSE(running(CQuenlowView::kFollowTimer));
        EXPECT_EQ(theApp.m_nCurrentSentence, 0) << "followed while not playing";

        theApp.m_strPlayState = "OnPlay";
        view->ResumeFollowing();
        EXPECT_TRUE(running(CQuenlowView::kFollowTimer));
        TickAt(*view, 2500);
        EXPECT_EQ(theApp.m_nCurrentSentence, 1);
        theApp.m_nCurrentSentence = 0;
    }

    // Resuming restarts only what waited: a follow timer stopped for a
    // repeat stays stopped.
    view->m_timers.KillTimer(CQuenlowView::kFollowTimer);
    view->ResumeFollowing();
    EXPECT_FALSE(running(CQuenlowView::kFollowTimer));
}

TEST_F(LessonViewTest, FollowStepKeepsTheCurrentSentenceInSight)
{
    CQuenlowView* view = MakeFollowingView();
    std::vector<SSentence> sentences;
    // More sentences than the table starts with: it grows with the lesson.
    for (int i = 0; i < 3200; ++i)
        sentences.push_back({i * 1000, i * 1000 + 900, "A sentence of the lesson.\n", ""});
    PutLesson(*view, sentences);
    view->StartFollowing();
    wxStyledTextCtrl& text = *view->m_richText;
    ASSERT_GT(text.LinesOnScreen(), 5);

    const auto inSight = [&](int line) {
        const int first = text.GetFirstVisibleLine();
        return line >= first && line < first + text.LinesOnScreen();
    };
    // Sentence by sentence through the lesson, then seeks far ahead and back.
    std::vector<int> order;
    for (int i = 0; i < 120; ++i)
        order.push_back(i);
    for (int i : {280, 3199, 3, 3050, 150})
        order.push_back(i);
    for (int i : order) {
        TickAt(*view, i * 1000 + 100);
        ASSERT_EQ(theApp.m_nCurrentSentence, i);
        EXPECT_TRUE(inSight(i)) << "sentence " << i << ", first visible " << text.GetFirstVisibleLine();
    }
    EXPECT_GT(theApp.m_nVisibleLines, 5);
}

TEST_F(LessonViewTest, CaptionShowsTheChineseLineAndHidesForAnEmptyOne)
{
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {
                         {1000, 2000, "First.\n", "第一句\n"},
                         {3000, 4000, "Second.\n", "\n"},     // only a line end
                         {5000, 6000, "Third.\n", "啊\n"},     // one character: two bytes, shown
                         {7000, 8000, "Fourth.\n", "x\n"},    // one byte: not worth a caption
                     });
    view->StartFollowing();

    // Switched off: no caption window is needed, so none is made.
    TickAt(*view, 1500);
    EXPECT_EQ(view->m_pShowChnDlg, nullptr);

    theApp.m_strShowChinese = "true";
    struct Step {
        int64_t time;
        bool shown;
        const char* text;
    };
    const Step steps[] = {
        {1500, true, "第一句\n"},
        {3500, false, nullptr},
        {5500, true, "啊\n"},
        {7500, false, nullptr},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.time);
        TickAt(*view, s.time);
        ASSERT_NE(view->m_pShowChnDlg, nullptr);
        EXPECT_EQ(view->m_pShowChnDlg->IsShown(), s.shown);
        if (!s.shown)
            continue;
        EXPECT_EQ(FromWx(view->m_pShowChnDlg->m_richCaption->GetValue()), CString(s.text));
        // A strip of the view along its bottom, under the text: it covers no
        // line of the text and none of its scroll bar.
        EXPECT_EQ(view->m_pShowChnDlg->GetParent(), view);
        const wxSize client = view->GetClientSize();
        const wxRect text = view->m_richText->GetRect();
        const wxRect caption = view->m_pShowChnDlg->GetRect();
        EXPECT_EQ(caption.x, 0);
        EXPECT_EQ(caption.width, client.x);
        EXPECT_EQ(caption.GetBottom(), client.y - 1);
        EXPECT_EQ(text.GetBottom() + 1, caption.y);
    }
    // Hidden, the text takes the whole view again.
    EXPECT_EQ(view->m_richText->GetSize(), view->GetClientSize());
}

// While paused, the current sentence stays highlighted through what takes
// the selection for a moment: a new font or size, an effect command.
TEST_F(LessonViewTest, PausedHighlightSurvivesFormatChanges)
{
    testsupport::AppStateGuard effects(&CQuenlowApp::m_strTextItalic, &CQuenlowApp::m_strTextBold);
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{1000, 2000, "First.\n", "一\n"}, {3000, 4000, "Second.\n", "二\n"},
                      {5000, 6000, "Third.\n", "三\n"}});
    view->StartFollowing();
    TickAt(*view, 3500);
    ASSERT_TRUE(SelectionIsLine(*view, 1));
    theApp.m_strPlayState = "OnPause";

    struct Step {
        const char* what;
        std::function<void()> run;
    } steps[] = {
        {"a new size reaches the view", [&] {
             theApp.m_nFontSize = 20;
             ++theApp.m_nFontChangeCount;
             view->UpdateFontIfChanged();
         }},
        {"italic", [&] { view->OnTimer(CQuenlowView::kTimerItalic); }},
        {"bold", [&] { view->OnTimer(CQuenlowView::kTimerBold); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.run();
        EXPECT_TRUE(SelectionIsLine(*view, 1));
        // The follow step leaves it there while paused.
        TickAt(*view, 3600);
        EXPECT_TRUE(SelectionIsLine(*view, 1));
    }
}

// A sentence wider than the pane is read whole with the text's horizontal
// scroll bar: a lasting one (not an overlay that shows only while the
// pointer moves), in sight above the caption strip.
TEST_F(LessonViewTest, LongSentenceHasALastingScrollBarAboveTheCaption)
{
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{1000, 2000,
                       "This sentence is far longer than the lesson pane is wide, so that its end can only be "
                       "read by scrolling the text sideways with the bar under it, all the way to the end.\n",
                       "很长的句子\n"}});
    theApp.m_strShowChinese = "true";
    view->StartFollowing();
    TickAt(*view, 1500);
    DrainEvents();
    ASSERT_TRUE(view->m_pShowChnDlg->IsShown());

    GtkWidget* widget = view->m_richText->GetHandle();
    ASSERT_TRUE(GTK_IS_SCROLLED_WINDOW(widget));
    GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(widget);
    EXPECT_FALSE(gtk_scrolled_window_get_overlay_scrolling(scrolled));
    GtkWidget* bar = gtk_scrolled_window_get_hscrollbar(scrolled);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(gtk_widget_get_mapped(bar));
    GtkAllocation allocation;
    gtk_widget_get_allocation(bar, &allocation);
    EXPECT_GT(allocation.height, 0);
    // The bar lies inside the text control, which ends where the strip begins.
    EXPECT_LE(view->m_richText->GetRect().GetBottom() + 1, view->m_pShowChnDlg->GetRect().y);
}

// The strip is as tall as its text needs at the view's width: a line wider
// than the view wraps and the strip grows; the whole text is in sight at
// every font size.
TEST_F(LessonViewTest, CaptionShowsItsWholeTextAtEveryWidthAndSize)
{
    CQuenlowView* view = MakeFollowingView();
    const CString longLine = "这是一句很长的中文字幕，它比课文窗口还要宽得多，所以必须折行才能让学习者看到整句话的意思。";
    PutLesson(*view, {{1000, 2000, "Short.\n", "短句\n"}, {3000, 4000, "Long.\n", longLine + "\n"}});
    theApp.m_strShowChinese = "true";
    view->StartFollowing();

    const auto lineHeight = [&] {
        wxClientDC dc(view->m_pShowChnDlg->m_richCaption);
        dc.SetFont(view->m_pShowChnDlg->m_richCaption->GetFont());
        return dc.GetCharHeight();
    };
    for (int size : {16, 28}) {
        SCOPED_TRACE(size);
        theApp.m_nFontSize = size;
        ++theApp.m_nFontChangeCount;
        TickAt(*view, 1500);
        view->UpdateFontIfChanged();
        ASSERT_TRUE(view->m_pShowChnDlg->IsShown());
        const int oneLine = view->m_pShowChnDlg->GetSize().y;
        EXPECT_GE(oneLine, lineHeight() + 4);
        EXPECT_LT(oneLine, 2 * lineHeight());

        TickAt(*view, 3500);
        const int wrapped = view->m_pShowChnDlg->GetSize().y;
        EXPECT_GE(wrapped, 2 * lineHeight()) << "a line wider than the view wraps";
        EXPECT_EQ(view->m_pShowChnDlg->GetRect().GetBottom(), view->GetClientSize().y - 1);
        EXPECT_EQ(view->m_richText->GetRect().GetBottom() + 1, view->m_pShowChnDlg->GetRect().y);
    }
}

TEST_F(LessonViewTest, SkipBlankSeeksOverLongGapsOnly)
{
    struct Case {
        const char* why;
        std::vector<SSentence> sentences;
        int current;         // the sentence current before the tick (-1: not following)
        int64_t time;
        const char* skip;
        std::vector<int64_t> seeks;
    };
    const Case cases[] = {
        {"gap of 5000 ms after the current sentence",
         {{1000, 2000, "a\n", ""}, {7000, 8000, "b\n", ""}}, 0, 2001, "true", {6000}},
        {"gap of exactly 3000 ms does not jump",
         {{1000, 2000, "a\n", ""}, {5001, 6000, "b\n", ""}}, 0, 2001, "true", {}},
        {"inside the sentence nothing jumps",
         {{1000, 2000, "a\n", ""}, {7000, 8000, "b\n", ""}}, 0, 1500, "true", {}},
        {"skip-blank off",
         {{1000, 2000, "a\n", ""}, {7000, 8000, "b\n", ""}}, 0, 2001, "", {}},
        {"first sentence later than 3 s",
         {{5000, 6000, "a\n", ""}}, 0, 0, "true", {4000}},
        {"after the last sentence there is no next one to jump to",
         {{1000, 2000, "a\n", ""}, {7000, 8000, "b\n", ""}}, 1, 8001, "true", {}},
        {"before following starts there is no current sentence",
         {{5000, 6000, "a\n", ""}, {17000, 18000, "b\n", ""}}, -1, 6500, "true", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQuenlowView* view = MakeFollowingView();
        PutLesson(*view, c.sentences);
        theApp.m_strSkipBlank = c.skip;
        theApp.m_nCurrentSentence = c.current;
        m_seeks.clear();
        TickAt(*view, c.time);
        EXPECT_EQ(m_seeks, c.seeks);
        view->Destroy();
    }
}

TEST_F(LessonViewTest, FollowingWithoutMainFrameOrPlayerDoesNothing)
{
    // The default player functions find no main frame here.
    ASSERT_EQ(GetMainFrame(), nullptr);
    CQuenlowView* view = MakeView<CQuenlowView>(501);
    PutLesson(*view, {{0, 100000, "Only sentence.\n", "唯一\n"}});
    theApp.m_strShowChinese = "true";
    theApp.m_strSkipBlank = "true";
    view->StartFollowing();
    theApp.m_nCurrentSentence = 5;   // a stale index from an earlier lesson
    for (int id : {CQuenlowView::kFollowTimer, CQuenlowView::kTimerPointReadEnd, CQuenlowView::kTimerPauseWhileHeld,
                   CQuenlowView::kTimerPlayWhenBuffering, CQuenlowView::kTimerBold, CQuenlowView::kTimerHideCaption})
        view->OnTimer(id);
    EXPECT_EQ(theApp.m_nCurrentSentence, 5);
    EXPECT_EQ(view->m_pShowChnDlg, nullptr);
}

// ---- Text helpers ------------------------------------------------------------------------

TEST(LessonViewText, FontSizeParserReadsPointsAsTwips)
{
    struct Case {
        const char* text;
        int twips;
    };
    const Case cases[] = {
        {"1", 20},              // the smallest accepted size
        {"1638", 32'760},        // the largest accepted size
        {"1638.5", 32'770},      // refused by the caller: above 32 760
        {"0.5", 10},            // refused by the caller: below 20
        {"16.5", 330},
        {"4.35", 87},           // exact: no binary rounding down to 86
        {"10.04", 200},         // truncated, not rounded
        {" \t12 \t", 240},      // blanks and tabs around the number
        {"", -1},
        {" \t ", -1},
        {"-3", 0},              // a negative size is 0
        {"12pt", -2},
        {"1 2", -2},
        {".", -2},
        {"abc", -2},
        {"99999999999", 20000000},   // capped far above the limit, never wraps
    };
    for (const Case& c : cases)
        EXPECT_EQ(CQuenlowView::ParseTwips(c.text), c.twips) << '"' << c.text << '"';

    struct Shown {
        int twips;
        const char* text;
    };
    for (const Shown& s : {Shown{320, "16"}, Shown{330, "16.5"}, Shown{324, "16"}, Shown{325, "16.5"},
                           Shown{335, "17"}, Shown{0, "0"}})
        EXPECT_EQ(CQuenlowView::TwipsToPointString(s.twips), CString(s.text)) << s.twips;
}

TEST(LessonViewText, TranslationAddressCarriesTheTextAsEncodedUtf8)
{
    const CString page = kEnglishToChineseTranslatePage;
    struct Case {
        const char* text;
        const char* encoded;
    };
    const Case cases[] = {
        {"hello", "hello"},
        {"  Hello world \n", "Hello%20world"},     // trimmed, blank encoded
        {"你好", "%E4%BD%A0%E5%A5%BD"},             // UTF-8, not the GB18030 bytes
        {"a&b#c/d?e", "a%26b%23c%2Fd%3Fe"},         // address characters cannot end the text early
        {"it's-ok_~.", "it%27s-ok_~."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CQuenlowView::BuildTranslateAddress(c.text), page + c.encoded) << c.text;
}

// ---- Commands through the main frame --------------------------------------------------------

namespace {

class LessonViewFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = testsupport::ShowTestFrame(program.ansi(), document);
        ASSERT_NE(frame, nullptr);
        view = dynamic_cast<CQuenlowView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override
    {
        if (frame)
            frame->Close(true);
        testsupport::DestroyApplicationWindows();
    }

    wxUpdateUIEvent UpdateOf(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
        return event;
    }
    bool Command(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(frame);
        return frame->GetEventHandler()->ProcessEvent(command);
    }

    AppStateGuard guard;
    testsupport::TempProgramFolder program;
    CQuenlowDoc document;
    CMainFrame* frame = nullptr;
    CQuenlowView* view = nullptr;
};

} // namespace

TEST_F(LessonViewFrameTest, ViewCommandsAreEnabledWhileALessonIsLoaded)
{
    struct Case {
        int id;
        const char* loaded;
        bool enabled;
    };
    const Case cases[] = {
        {kCmdFontColor, "", false},      {kCmdFontColor, "true", true},
        {kCmdBackColor, "true", true},   {kCmdIncreaseMargin, "", false},
        {kCmdDecreaseMargin, "true", true},
        {kCmdFontName, "", false},       {kCmdFontName, "x", true},   // any text
        {kCmdFontSize, "x", true},       {kCmdFontColor, "x", false}, // only "true"
        {kCmdFontBold, "", true},        {kCmdFontUnderline, "", true},
    };
    for (const Case& c : cases) {
        theApp.m_strSubtitleLoaded = c.loaded;
        const wxUpdateUIEvent update = UpdateOf(c.id);
        EXPECT_TRUE(update.GetSetEnabled()) << c.id;
        EXPECT_EQ(update.GetEnabled(), c.enabled) << c.id << " with \"" << c.loaded << '"';
    }
    // The bold button shows the text's state.
    EXPECT_EQ(UpdateOf(kCmdFontBold).GetChecked(), view->m_richText->StyleGetBold(0));
}

// The bilingual list takes the lesson text's place and gives it back; it is
// offered only once a lesson has been shown and only over the lesson text,
// and the Chinese caption of the lesson text never covers it.
TEST_F(LessonViewFrameTest, BilingualListCommandTogglesTheCentralView)
{
    testsupport::AppStateGuard list(&CQuenlowApp::m_strTextViewMode, &CQuenlowApp::m_strDoubleLangShown,
                                    &CQuenlowApp::m_strActiveView);
    theApp.m_arrForeignText.RemoveAll();
    theApp.m_arrChineseText.RemoveAll();
    theApp.m_arrForeignText.Add("Good morning.\n");
    theApp.m_arrChineseText.Add("早上好。\n");
    theApp.m_nCurrentSentence = 0;
    theApp.m_strShowChinese = "true";
    theApp.m_strTextViewMode.Empty();
    EXPECT_FALSE(UpdateOf(kCmdBilingualListView).GetEnabled()) << "no lesson shown yet";

    theApp.m_strTextViewMode = "RTF";
    EXPECT_TRUE(UpdateOf(kCmdBilingualListView).GetEnabled());
    EXPECT_FALSE(UpdateOf(kCmdBilingualListView).GetChecked());
    view->ShowCaptionFor(0);
    ASSERT_NE(view->m_pShowChnDlg, nullptr);
    EXPECT_TRUE(view->m_pShowChnDlg->IsShown());

    ASSERT_TRUE(Command(kCmdBilingualListView));
    auto* bilingual = dynamic_cast<CDoubleLangFormView*>(frame->GetActiveView());
    ASSERT_NE(bilingual, nullptr);
    EXPECT_EQ(FromWx(bilingual->m_richText->GetText()), "1.Good morning.\n  早上好。\n");
    EXPECT_EQ(theApp.m_strTextViewMode, "LIST");
    EXPECT_EQ(theApp.m_strDoubleLangShown, "true");
    EXPECT_TRUE(UpdateOf(kCmdBilingualListView).GetEnabled());
    EXPECT_TRUE(UpdateOf(kCmdBilingualListView).GetChecked());
    EXPECT_FALSE(view->m_pShowChnDlg->IsShown());
    view->ShowCaptionFor(0);   // the lesson text follows on behind the list
    EXPECT_FALSE(view->m_pShowChnDlg->IsShown());

    // Back: the lesson text, the list kept for the same lesson.
    theApp.m_arrForeignText[0] = "Changed.\n";
    ASSERT_TRUE(Command(kCmdBilingualListView));
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_TRUE(theApp.m_strDoubleLangShown.IsEmpty());
    EXPECT_FALSE(UpdateOf(kCmdBilingualListView).GetChecked());
    ASSERT_TRUE(Command(kCmdBilingualListView));
    EXPECT_EQ(FromWx(bilingual->m_richText->GetText()), "1.Good morning.\n  早上好。\n");

    // Another category's view ends the list and disables the command.
    frame->m_pRibbonBar->SetActiveCategory(4);
    frame->OnChangeRibbonCategory();
    EXPECT_TRUE(theApp.m_strDoubleLangShown.IsEmpty());
    EXPECT_FALSE(UpdateOf(kCmdBilingualListView).GetEnabled());
}

TEST_F(LessonViewFrameTest, EffectCommandPausesAndResumesOnlyWhatItPaused)
{
    ASSERT_TRUE(testsupport::OpenClipInMainPlayer(*frame, program.path()));   // play needs a media
    struct Case {
        const char* stateBefore;
        const char* stateWhilePending;
        const char* stateAfter;
    };
    const Case cases[] = {
        {"OnPlay", "OnPause", "OnPlay"},    // paused by the command: resumed
        {"OnPause", "OnPause", "OnPause"},  // paused by the learner: stays paused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stateBefore);
        theApp.m_strPlayState = c.stateBefore;
        const bool boldBefore = view->m_richText->StyleGetBold(0);
        ASSERT_TRUE(Command(kCmdFontBold));
        EXPECT_EQ(theApp.m_strPlayState, c.stateWhilePending);
        EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerBold));
        EXPECT_EQ(view->m_richText->StyleGetBold(0), boldBefore);   // one second later

        view->OnTimer(CQuenlowView::kTimerBold);
        EXPECT_FALSE(view->m_timers.IsRunning(CQuenlowView::kTimerBold));
        EXPECT_EQ(view->m_richText->StyleGetBold(0), !boldBefore);
        EXPECT_EQ(theApp.m_strPlayState, c.stateAfter);
    }
}

TEST_F(LessonViewFrameTest, FontSizeFromTheRibbonComboIsCheckedAndApplied)
{
    CMainRibbon& ribbon = *frame->m_pRibbonBar;
    int kind = 0, seconds = 0;
    CString message;
    theApp.TakeMessage(kind, message, seconds);
    const int changes = theApp.m_nFontChangeCount;

    struct Case {
        const char* typed;
        bool accepted;
        int points;   // the text's size afterwards, in hundredths
    };
    const Case cases[] = {
        {"20", true, 2000},
        {"0.5", false, 2000},
        {"1638.5", false, 2000},
        {"12.5", true, 1250},
        {"big", false, 1250},
        {"1", true, 100},
        {"1638", true, 163800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ribbon.SetComboText(kCmdFontSize, c.typed);
        ASSERT_TRUE(Command(kCmdFontSize));
        EXPECT_EQ(view->m_richText->StyleGetSizeFractional(0), c.points);
        const bool reported = theApp.TakeMessage(kind, message, seconds);
        EXPECT_EQ(reported, !c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(message, "The number must be between 1 and 1638.");
            EXPECT_EQ(kind, 1);
            // The combo shows the text's size again.
            EXPECT_EQ(ribbon.GetComboText(kCmdFontSize),
                      CQuenlowView::TwipsToPointString(c.points / 5));
        }
    }
    EXPECT_EQ(theApp.m_nFontSize, 1638);
    EXPECT_EQ(theApp.m_nFontChangeCount, changes + 4);
}

TEST_F(LessonViewFrameTest, CommandsStopReachingTheViewWhenItIsNotCentral)
{
    theApp.m_strSubtitleLoaded = "true";
    EXPECT_TRUE(UpdateOf(kCmdIncreaseMargin).GetEnabled());
    const int margin = view->m_richText->GetMarginLeft();
    ASSERT_TRUE(Command(kCmdIncreaseMargin));
    EXPECT_EQ(view->m_richText->GetMarginLeft(), margin + CQuenlowView::kMarginStep);

    // The configuration category puts another view in the middle: the
    // margin command is shown disabled and no longer reaches the lesson view.
    frame->m_pRibbonBar->SetActiveCategory(4);
    frame->OnChangeRibbonCategory();
    ASSERT_NE(frame->GetActiveView(), view);
    EXPECT_FALSE(UpdateOf(kCmdIncreaseMargin).GetEnabled());
    Command(kCmdIncreaseMargin);
    EXPECT_EQ(view->m_richText->GetMarginLeft(), margin + CQuenlowView::kMarginStep);
}

// ---- The bilingual list follows the lesson -----------------------------------------------------

TEST_F(LessonViewTest, BilingualListMarksTheEntryOfThePlayingSentence)
{
    theApp.m_arrForeignText.RemoveAll();
    theApp.m_arrChineseText.RemoveAll();
    const char* english[] = {"Call 5. later\n", "Two\n", "Three\n", "Four\n", "Five\n", "Six\n"};
    for (const char* line : english) {
        theApp.m_arrForeignText.Add(line);
        theApp.m_arrChineseText.Add("中文\n");
    }
    theApp.m_nVisibleLines = 40;
    auto* view = MakeView<CDoubleLangFormView>(374);
    theApp.m_nCurrentSentence = 0;
    view->BuildText();
    wxStyledTextCtrl& text = *view->m_richText;
    // The marked text of a sentence: its numbered English line and its
    // Chinese line, without the line end after it.
    const auto entryText = [&](int sentence) {
        const int from = text.PositionFromLine(2 * sentence);
        return FromWx(text.GetTextRange(from, text.GetLineEndPosition(2 * sentence + 1)));
    };

    struct Step {
        int current;
        const char* why;
    };
    const Step steps[] = {
        {0, "the first sentence is marked at the first tick"},
        {3, "a jump forward marks the sentence now playing"},
        {4, "the next sentence"},
        {1, "a jump back"},
        {5, "the last entry ends with the text"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.why);
        theApp.m_nCurrentSentence = s.current;
        view->OnTimer(CDoubleLangFormView::kFollowTimer);
        EXPECT_EQ(FromWx(text.GetSelectedText()), entryText(s.current));
        CString number;
        number.Format("%d.", s.current + 1);
        EXPECT_EQ(FromWx(text.GetSelectedText()).Left(number.GetLength()), number);
    }
    // The learner's own selection stays while the sentence is the same.
    text.SetSelection(0, 2);
    view->OnTimer(CDoubleLangFormView::kFollowTimer);
    EXPECT_EQ(text.GetSelectionEnd(), 2);
    // "5." inside the first sentence is not an entry number.
    EXPECT_EQ(view->FindEntryNumber(5), text.PositionFromLine(8));
    EXPECT_EQ(view->FindEntryNumber(7), -1);
}

// ---- Point-read, repeat-read and the word pick-up ---------------------------------------

namespace {

// The fields the interaction tests change beyond the view tests' own.
struct InteractionGuard : testsupport::AppStateGuard {
    InteractionGuard()
        : testsupport::AppStateGuard(&CQuenlowApp::m_strClickReadMode, &CQuenlowApp::m_nRepeatMargin,
                                     &CQuenlowApp::m_nRepeatStart, &CQuenlowApp::m_nRepeatEnd,
                                     &CQuenlowApp::m_strMouseGetWord, &CQuenlowApp::m_strPlayingNetFile,
                                     &CQuenlowApp::m_nStudyMode, &CQuenlowApp::m_strAutoLookup,
                                     &CQuenlowApp::m_strCurrentWord, &CQuenlowApp::m_strWordLookupMode)
    {
    }
};

const std::vector<SSentence> kFourSentences = {
    {1000, 2000, "The first sentence.\n", "第一句。\n"},
    {2200, 3000, "The second sentence.\n", "第二句。\n"},
    {3500, 4200, "The third sentence.\n", "第三句。\n"},
    {6000, 7000, "The fourth sentence.\n", "第四句。\n"},
};

} // namespace

// A click plays the sentence under the mouse from its start less the margin
// and, in the "Pause" mode, pauses exactly at its end; the last stretch is
// timed to the stop, and media that ends first ends the wait.
TEST_F(LessonViewTest, PointReadPlaysTheClickedSentenceAndPausesAtItsEnd)
{
    InteractionGuard guard;
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, kFourSentences);
    int pauses = 0;
    int state = 3;
    view->m_pausePlayer = [&] { ++pauses; };
    view->m_getPlayerState = [&] { return state; };
    theApp.m_strPointRead = "true";
    theApp.m_strClickReadMode = "Pause";
    theApp.m_nRepeatMargin = 100;

    view->PointReadSentence(0);
    ASSERT_EQ(m_seeks.size(), 1u);
    EXPECT_EQ(m_seeks.back(), 500);
    EXPECT_EQ(theApp.m_nCurrentSentence, 0) << "sentence 0 is current, never -1";
    EXPECT_TRUE(SelectionIsLine(*view, 0));
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerPointReadEnd));

    struct Step {
        int64_t time;
        bool paused;
    };
    for (const Step& step : {Step{1500, false}, Step{1990, false}, Step{2000, true}}) {
        m_time = step.time;
        view->OnTimer(CQuenlowView::kTimerPointReadEnd);
        EXPECT_EQ(pauses, step.paused ? 1 : 0) << step.time;
    }
    EXPECT_FALSE(view->m_timers.IsRunning(CQuenlowView::kTimerPointReadEnd));

    // Following keeps the clicked sentence while it plays out.
    view->m_nPointSentence = 2;
    view->PointReadSentence(2);
    TickAt(*view, 3100);
    EXPECT_EQ(theApp.m_nCurrentSentence, 2);

    // The media ends before the stop: the wait ends, nothing is paused.
    state = 6;
    m_time = 4000;
    view->OnTimer(CQuenlowView::kTimerPointReadEnd);
    EXPECT_FALSE(view->m_timers.IsRunning(CQuenlowView::kTimerPointReadEnd));
    EXPECT_EQ(pauses, 1);

    // No sentence (never hovered, or a shorter new lesson): nothing plays.
    const size_t seeks = m_seeks.size();
    for (int stale : {-1, 4, 99})
        view->PointReadSentence(stale);
    EXPECT_EQ(m_seeks.size(), seeks);

    // "Continue" plays on: no stop is armed.
    state = 3;
    theApp.m_strClickReadMode = "Continue";
    view->PointReadSentence(1);
    EXPECT_FALSE(view->m_timers.IsRunning(CQuenlowView::kTimerPointReadEnd));
}

// With point-read on, the sentence under the moving mouse is selected and
// becomes the one a click plays.
TEST_F(LessonViewTest, PointReadMarksTheSentenceUnderTheMouse)
{
    InteractionGuard guard;
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, kFourSentences);
    theApp.m_strPointRead = "true";
    wxStyledTextCtrl& text = *view->m_richText;
    for (int line : {2, 0, 3}) {
        wxMouseEvent move(wxEVT_MOTION);
        move.SetPosition(text.PointFromPosition(text.PositionFromLine(line) + 3));
        move.SetEventObject(&text);
        text.ProcessWindowEvent(move);
        EXPECT_EQ(view->m_nPointSentence, line);
        EXPECT_TRUE(SelectionIsLine(*view, line));
    }
    // Point-read off: moving selects nothing.
    theApp.m_strPointRead.Empty();
    text.SetSelection(0, 0);
    wxMouseEvent move(wxEVT_MOTION);
    move.SetPosition(text.PointFromPosition(text.PositionFromLine(1) + 3));
    text.ProcessWindowEvent(move);
    EXPECT_EQ(view->m_nPointSentence, 3);
    EXPECT_EQ(text.GetSelectionEnd(), 0);
}

// A selection over sentences 1-2 repeats their window (with the margins) the
// chosen number of times; media that ends inside the window ends the repeat.
TEST_F(LessonViewTest, RepeatPlaysTheSelectedSentencesTheChosenTimes)
{
    InteractionGuard guard;
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, kFourSentences);
    theApp.m_nRepeatMargin = 100;
    wxStyledTextCtrl& text = *view->m_richText;
    text.SetSelection(text.PositionFromLine(1) + 4, text.PositionFromLine(2) + 6);

    wxCommandEvent three(wxEVT_MENU, kCmdFirstRepeatSelection);   // "复读2次"
    three.SetEventObject(view);
    view->ProcessWindowEvent(three);
    EXPECT_EQ(theApp.m_nRepeatCount, 2);
    EXPECT_EQ(theApp.m_nRepeatStart, 2200 - 500);
    EXPECT_EQ(theApp.m_nRepeatEnd, 4200 + 500);
    EXPECT_EQ(view->m_nRepeatFirst, 1);
    EXPECT_EQ(view->m_nRepeatLast, 2);
    ASSERT_FALSE(m_seeks.empty());
    EXPECT_EQ(m_seeks.back(), 2200);
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kFollowTimer));

    // An end due before the next tick is met at its own moment.
    TickAt(*view, 4650);
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerRepeatEnd));
    m_time = 4700;
    view->OnTimer(CQuenlowView::kTimerRepeatEnd);
    EXPECT_EQ(m_seeks.back(), 1700);
    EXPECT_EQ(theApp.m_nRepeatCount, 1);
    TickAt(*view, 4700);
    EXPECT_EQ(theApp.m_nRepeatCount, 0);
    const size_t seeks = m_seeks.size();
    TickAt(*view, 4800);
    EXPECT_EQ(m_seeks.size(), seeks) << "a third time";

    // The media ends inside the window: the repeat ends.
    theApp.m_nRepeatCount = 4;
    view->m_getPlayerState = [] { return 6; };
    TickAt(*view, 3000);
    EXPECT_EQ(theApp.m_nRepeatCount, 0);
}

// Repeat-read takes the sentences the selection shows in every layout, at
// the start, the end and deep into a long lesson: paragraphs shift the text
// by their breaks, the bilingual layout gives each sentence two lines.
TEST_F(LessonViewTest, RepeatTakesTheSelectedSentencesInEveryLayout)
{
    InteractionGuard guard;
    testsupport::AppStateGuard layout(&CQuenlowApp::m_strTextLayout, &CQuenlowApp::m_nRepeatStart,
                                      &CQuenlowApp::m_nRepeatEnd);
    CQuenlowView* view = MakeFollowingView();
    constexpr int kCount = 210;
    std::vector<std::string> lines;
    std::vector<SSentence> sentences;
    for (int i = 0; i < kCount; ++i) {
        // Every tenth sentence ends a paragraph; some start with Chinese.
        lines.push_back((i % 7 == 0 ? "中文 Sentence " : "Sentence ") + std::to_string(i) + (i % 10 == 9 ? ".\n" : ",\n"));
        sentences.push_back({i * 1000, i * 1000 + 900, nullptr, "中。\n"});
    }
    for (int i = 0; i < kCount; ++i)
        sentences[static_cast<size_t>(i)].english = lines[static_cast<size_t>(i)].c_str();
    PutLesson(*view, sentences);
    theApp.m_strSubtitleLoaded = "true";
    theApp.m_nRepeatMargin = 100;
    wxStyledTextCtrl& text = *view->m_richText;

    struct Selection {
        int first;
        int last;
    };
    const Selection selections[] = {{0, 0}, {0, 1}, {9, 10}, {95, 97}, {190, 190}, {198, 199}, {209, 209}};
    for (const int command : {kCmdSubtitleMode, kCmdParagraphMode, kCmdBilingualMode, kCmdSubtitleMode}) {
        wxCommandEvent layoutEvent(wxEVT_MENU, command);
        view->ProcessWindowEvent(layoutEvent);
        for (const Selection& selection : selections) {
            SCOPED_TRACE(std::string(theApp.m_strTextLayout.str()) + " " + std::to_string(selection.first) + "-" +
                         std::to_string(selection.last));
            int start = 0;
            int end = 0;
            int unused = 0;
            ASSERT_TRUE(view->GetSentenceRange(selection.first, start, unused));
            ASSERT_TRUE(view->GetSentenceRange(selection.last, unused, end));
            // From inside the first sentence to inside the last one.
            text.SetSelection(start + 2, end - 2);
            wxCommandEvent repeat(wxEVT_MENU, kCmdFirstRepeatSelection);
            view->ProcessWindowEvent(repeat);
            EXPECT_EQ(view->m_nRepeatFirst, selection.first);
            EXPECT_EQ(view->m_nRepeatLast, selection.last);
            EXPECT_EQ(theApp.m_nRepeatStart, selection.first * 1000 - 500);
            EXPECT_EQ(theApp.m_nRepeatEnd, selection.last * 1000 + 900 + 500);
            EXPECT_EQ(m_seeks.back(), selection.first * 1000);
        }
    }
}

TEST(LessonViewText, HoverWordsLoseTheirPunctuationAndWhatFollowsALineBreak)
{
    struct Case {
        const char* text;
        const char* word;
    };
    const Case cases[] = {
        {"study.", "study"},      {" (hello), ", "hello"}, {"\"why?\"", "why"},
        {"done!\r\nnext", "done"}, {"o'clock", "o'clock"}, {"\tword", "word"},
        {"...", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CQuenlowView::CleanHoverWord(c.text), CString(c.word)) << c.text;
}

// A double click looks the word it selects up in the dictionary pane, which
// comes up beside the lesson.
TEST_F(LessonViewFrameTest, DoubleClickLooksTheSelectedWordUp)
{
    InteractionGuard interaction;
    theApp.m_strWordLookupMode = "OnWordHome";
    SetControlText(*view->m_richText, "Our studies, at eight o'clock.\n");
    // Following has the whole sentence selected again: the word under the
    // pointer counts.
    view->m_richText->SetSelection(0, 20);
    const wxPoint onWord = view->m_richText->PointFromPosition(6);   // in "studies"
    wxMouseEvent click(wxEVT_LEFT_DCLICK);
    click.SetPosition(onWord + wxPoint(1, 2));
    view->OnLeftDoubleClick(click);
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerLookUpSelection));
    view->OnTimer(CQuenlowView::kTimerLookUpSelection);
    EXPECT_EQ(theApp.m_strCurrentWord, "study");
    EXPECT_TRUE(frame->IsDictionaryPaneVisible());
    EXPECT_FALSE(view->m_timers.IsRunning(CQuenlowView::kTimerLookUpSelection));
}

// The ribbon's point-read and word pick-up buttons switch the view's modes:
// point-read on ends a repeat; the pick-up runs its two timers.
TEST_F(LessonViewFrameTest, PointReadAndWordPickUpSwitchOnAndOff)
{
    InteractionGuard interaction;
    theApp.m_strPlaybackStarted = "true";
    theApp.m_bScriptLoaded = 1;
    theApp.m_strSubtitleLoaded = "true";
    theApp.m_strPointRead.Empty();
    theApp.m_strMouseGetWord.Empty();
    theApp.m_nRepeatCount = 3;
    EXPECT_TRUE(UpdateOf(kCmdPointRead).GetEnabled());
    ASSERT_TRUE(Command(kCmdPointRead));
    EXPECT_EQ(theApp.m_strPointRead, "true");
    EXPECT_EQ(theApp.m_nRepeatCount, 0);
    EXPECT_TRUE(UpdateOf(kCmdPointRead).GetChecked());
    ASSERT_TRUE(Command(kCmdPointRead));
    EXPECT_TRUE(theApp.m_strPointRead.IsEmpty());

    ASSERT_TRUE(Command(kCmdMouseWordPick));
    EXPECT_EQ(theApp.m_strMouseGetWord, "true");
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerIdleTicks));
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerHoverLookUp));
    ASSERT_TRUE(Command(kCmdMouseWordPick));
    EXPECT_TRUE(theApp.m_strMouseGetWord.IsEmpty());
    EXPECT_FALSE(view->m_timers.IsRunning(CQuenlowView::kTimerIdleTicks));

    theApp.m_bScriptLoaded = 0;
    EXPECT_FALSE(UpdateOf(kCmdPointRead).GetEnabled());
    EXPECT_FALSE(UpdateOf(kCmdMouseWordPick).GetEnabled());
}

// The hover mark lies over the text and comes off without touching the
// text's own styles (the first characters' format is never spread).
TEST_F(LessonViewTest, HoverMarkComesOffWithoutRestylingTheText)
{
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, kFourSentences);
    wxStyledTextCtrl& text = *view->m_richText;
    const auto styles = [&text] {
        std::vector<int> all;
        for (int p = 0; p < text.GetLength(); ++p)
            all.push_back(text.GetStyleAt(p));
        return all;
    };
    const std::vector<int> before = styles();
    const int start = text.PositionFromLine(1) + 4;
    view->HighlightRange(start, start + 6);
    EXPECT_NE(text.IndicatorAllOnFor(start + 2), 0);
    EXPECT_EQ(text.IndicatorAllOnFor(start + 7), 0);
    view->RestoreRange(start, start + 6);
    EXPECT_EQ(text.IndicatorAllOnFor(start + 2), 0);
    EXPECT_EQ(styles(), before);
}

// A word list marks each of its words wherever it occurs as a whole word, in
// any case; the same command again takes the marks off. Lists the program
// does not have, and lists none of whose words occur, say so.
TEST_F(LessonViewTest, WordListMarksItsWordsInTheLesson)
{
    testsupport::AppStateGuard state(&CQuenlowApp::m_strWordBookPath, &CQuenlowApp::m_strAppDir,
                                     &CQuenlowApp::m_strMarkWordList, &CQuenlowApp::m_strDocumentLoaded);
    testsupport::TempProgramFolder program;   // with the shipped word-list database
    theApp.m_strAppDir = program.ansi();
    theApp.m_strWordBookPath = program.ansi() + "UnKownWord.script";
    theApp.m_strDocumentLoaded = "true";
    {
        CSqliteDb book;
        ASSERT_TRUE(book.Open(theApp.m_strWordBookPath, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(book.Exec("create table if not exists tablename(stroriginalword varchar(1000))"));
        ASSERT_TRUE(book.Exec("insert into tablename values('don*t'), ('lesson')"));
    }
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{0, 1000, "Ability counts.\n", ""},
                      {1000, 2000, "My ability, their abilities; don't stop.\n", ""}});
    wxStyledTextCtrl& text = *view->m_richText;
    const auto markedWords = [&] {
        std::vector<CString> words;
        for (int p = 0; p < text.GetLength();) {
            if (text.IndicatorAllOnFor(p) == 0) {
                ++p;
                continue;
            }
            const int start = p;
            while (p < text.GetLength() && text.IndicatorAllOnFor(p) != 0)
                ++p;
            words.push_back(FromWx(text.GetTextRange(start, p)));
        }
        return words;
    };
    const auto run = [&](int command) {
        wxCommandEvent event(wxEVT_MENU, command);
        view->ProcessWindowEvent(event);
    };
    const auto checked = [&](int command) {
        wxUpdateUIEvent update(command);
        view->ProcessWindowEvent(update);
        return update.GetChecked();
    };
    testsupport::TakeMessage();   // nothing left from elsewhere

    run(kCmdMarkListMaster);   // the syllabus list holds "ability"
    EXPECT_EQ(markedWords(), (std::vector<CString>{"Ability", "ability"}));
    EXPECT_EQ(theApp.m_strMarkWordList, "MASTER");
    EXPECT_TRUE(checked(kCmdMarkListMaster));
    EXPECT_FALSE(checked(kCmdMarkListCet4));
    EXPECT_EQ(testsupport::TakeMessage(), "");

    run(kCmdMarkListMyWords);   // another list replaces the marks
    EXPECT_EQ(markedWords(), (std::vector<CString>{"don't"}));
    EXPECT_EQ(testsupport::TakeMessage(), "");
    run(kCmdMarkListMyWords);   // the same list again: off
    EXPECT_TRUE(markedWords().empty());
    EXPECT_TRUE(theApp.m_strMarkWordList.IsEmpty());
    EXPECT_FALSE(checked(kCmdMarkListMyWords));

    run(kCmdMarkListMaster);
    run(kCmdClearMarkList);
    EXPECT_TRUE(markedWords().empty());
    EXPECT_FALSE(checked(kCmdMarkListMaster));

    run(kCmdMarkListCet4);   // not a list the program has
    EXPECT_EQ(testsupport::TakeMessage(), "软件没有CET4核心单词的词表，不能标记！");
    EXPECT_FALSE(checked(kCmdMarkListCet4));
    EXPECT_TRUE(markedWords().empty());

    PutLesson(*view, {{0, 1000, "Nothing here.\n", ""}});
    run(kCmdMarkListMaster);
    EXPECT_EQ(testsupport::TakeMessage(), "当前文档中没有研究生考试核心单词。");
}

// The new-word book's words are marked where the lesson file says they occur
// (offsets count characters, also after Chinese text); a second toggle clears
// every mark and leaves the text's styles; phrases switch words off.
TEST_F(LessonViewTest, MarkingShowsTheBookWordsWhereTheLessonHasThem)
{
    InteractionGuard interaction;
    testsupport::AppStateGuard paths(&CQuenlowApp::m_strWordBookPath);
    testsupport::TempFolder folder;
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{0, 1000, "I don't study here.\n", ""},
                      {1000, 2000, "中文 study with a lot of words.\n", ""},
                      {2000, 3000, "The end.\n", ""}});
    theApp.m_strScriptPath = folder.ansi() + "lesson.script";
    theApp.m_strWordBookPath = folder.ansi() + "UnKownWord.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(theApp.m_strScriptPath, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table wordlist(stroriginalword varchar(100), refs text)"));
        ASSERT_TRUE(db.Exec("create table phaselist(strphase varchar(100), refs text)"));
        // Stored as BLOBs, as lesson files written by other tools hold them.
        ASSERT_TRUE(db.Exec("insert into wordlist values(cast('don*t' as blob), '(don''t:0:2)'), "
                            "(cast('study' as blob), cast('(study:0:8)(study:1:3)(study:7:0)' as blob))"));
        ASSERT_TRUE(db.Exec("insert into phaselist values('a lot', '(a lot:1:14)')"));
        CSqliteDb book;
        ASSERT_TRUE(book.Open(theApp.m_strWordBookPath, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(book.Exec("create table tablename(stroriginalword varchar(1000))"));
        ASSERT_TRUE(book.Exec("insert into tablename values('don*t'), ('study'), ('x')"));
    }
    wxStyledTextCtrl& text = *view->m_richText;
    const auto markedText = [&] {
        std::vector<CString> marked;
        for (const auto& mark : view->m_marks)
            marked.push_back(FromWx(text.GetTextRange(mark.start, mark.end)));
        return marked;
    };
    std::vector<int> styles;
    for (int p = 0; p < text.GetLength(); ++p)
        styles.push_back(text.GetStyleAt(p));

    // The edit menu's marking items carry a check mark while their marks show.
    const auto checks = [&] {
        CCommandMenu menu;
        view->BuildEditMenu(menu);
        return std::pair(menu.FindCommand(kCmdMarkWord)->IsChecked(), menu.FindCommand(kCmdMarkPhrase)->IsChecked());
    };
    EXPECT_EQ(checks(), std::pair(false, false));

    view->MarkWords();
    EXPECT_EQ(checks(), std::pair(true, false));
    EXPECT_EQ(markedText(), (std::vector<CString>{"don't", "study", "study"})) << "sentence 7 does not exist";
    for (const auto& mark : view->m_marks)
        EXPECT_NE(text.IndicatorAllOnFor(mark.start), 0);
    EXPECT_EQ(view->m_arrMarkedBySentence.GetSize(), 8);   // every reference is a pair, also the one outside
    EXPECT_EQ(view->m_bWordsMarked, 1);

    view->MarkWords();   // off again
    EXPECT_EQ(view->m_bWordsMarked, 0);
    EXPECT_EQ(checks(), std::pair(false, false));
    EXPECT_TRUE(view->m_marks.empty());
    for (int p = 0; p < text.GetLength(); ++p) {
        EXPECT_EQ(text.IndicatorAllOnFor(p), 0) << p;
        EXPECT_EQ(text.GetStyleAt(p), styles[static_cast<size_t>(p)]) << p;
    }

    view->MarkWords();
    view->MarkPhrases();
    EXPECT_EQ(view->m_bWordsMarked, 0);
    EXPECT_EQ(view->m_bPhrasesMarked, 1);
    EXPECT_EQ(checks(), std::pair(false, true));
    EXPECT_EQ(markedText(), std::vector<CString>{"a lot"});
}

// Marks follow the text into every layout: the book's words, then a word
// list, stay on the words they marked after each layout command, and their
// commands stay checked.
TEST_F(LessonViewTest, MarksFollowTheTextIntoEveryLayout)
{
    InteractionGuard interaction;
    testsupport::AppStateGuard paths(&CQuenlowApp::m_strWordBookPath, &CQuenlowApp::m_strMarkWordList,
                                     &CQuenlowApp::m_strDocumentLoaded);
    testsupport::TempFolder folder;
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{0, 1000, "We study here.\n", "我们在这里学习。\n"},
                      {1000, 2000, "中文 study with us.\n", "和我们一起学习。\n"},
                      {2000, 3000, "Study ends.\n", "学习结束。\n"}});
    theApp.m_strSubtitleLoaded = "true";
    theApp.m_strDocumentLoaded = "true";
    theApp.m_strScriptPath = folder.ansi() + "lesson.script";
    theApp.m_strWordBookPath = folder.ansi() + "UnKownWord.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(theApp.m_strScriptPath, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table wordlist(stroriginalword varchar(100), refs text)"));
        ASSERT_TRUE(db.Exec("insert into wordlist values('study', '(study:0:3)(study:1:3)(Study:2:0)')"));
        CSqliteDb book;
        ASSERT_TRUE(book.Open(theApp.m_strWordBookPath, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(book.Exec("create table tablename(stroriginalword varchar(1000))"));
        ASSERT_TRUE(book.Exec("insert into tablename values('study')"));
    }
    wxStyledTextCtrl& text = *view->m_richText;
    // The texts of the marked stretches of the text, in text order.
    const auto markedWords = [&] {
        std::vector<CString> words;
        for (int p = 0; p < text.GetLength();) {
            if (text.IndicatorAllOnFor(p) == 0) {
                ++p;
                continue;
            }
            const int start = p;
            while (p < text.GetLength() && text.IndicatorAllOnFor(p) != 0)
                ++p;
            words.push_back(FromWx(text.GetTextRange(start, p)));
        }
        return words;
    };
    const auto run = [&](int command) {
        wxCommandEvent event(wxEVT_MENU, command);
        view->ProcessWindowEvent(event);
    };
    const auto checked = [&](int command) {
        wxUpdateUIEvent update(command);
        view->ProcessWindowEvent(update);
        return update.GetChecked();
    };
    const std::vector<CString> studies = {"study", "study", "Study"};
    const int layouts[] = {kCmdParagraphMode, kCmdBilingualMode, kCmdSubtitleMode, kCmdBilingualMode, kCmdParagraphMode};

    view->MarkWords();
    ASSERT_EQ(markedWords(), studies);
    for (int layout : layouts) {
        SCOPED_TRACE(layout);
        run(layout);
        EXPECT_EQ(markedWords(), studies);
        EXPECT_EQ(view->m_marks.size(), 3u);
        EXPECT_TRUE(checked(kCmdMarkWord));
    }
    view->MarkWords();   // off
    EXPECT_TRUE(markedWords().empty());

    run(kCmdMarkListMyWords);
    ASSERT_EQ(markedWords(), studies);
    for (int layout : layouts) {
        SCOPED_TRACE(layout);
        run(layout);
        EXPECT_EQ(markedWords(), studies);
        EXPECT_TRUE(checked(kCmdMarkListMyWords));
    }
}

// A lesson without a word or phrase table (a subtitle file has none) says
// so when its words or phrases are to be marked, and the command stays off;
// so does a book without words.
TEST_F(LessonViewTest, MarkingSaysWhyNothingIsMarked)
{
    InteractionGuard interaction;
    testsupport::AppStateGuard paths(&CQuenlowApp::m_strWordBookPath);
    testsupport::TempFolder folder;
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{1000, 2000, "Hello there.\n", ""}});
    theApp.m_strScriptPath = CString(folder.write("lesson.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello there.\n").c_str());
    theApp.m_strWordBookPath = folder.ansi() + "UnKownWord.script";
    {
        CSqliteDb book;
        ASSERT_TRUE(book.Open(theApp.m_strWordBookPath, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(book.Exec("create table tablename(stroriginalword varchar(1000))"));
    }
    testsupport::TakeMessage();

    view->MarkWords();
    EXPECT_EQ(testsupport::TakeMessage(), "生词本中没有单词，没有标记。");
    EXPECT_EQ(view->m_bWordsMarked, 0);
    {
        CSqliteDb book;
        ASSERT_TRUE(book.Open(theApp.m_strWordBookPath, CSqliteDb::ReadWrite));
        ASSERT_TRUE(book.Exec("insert into tablename values('hello')"));
    }
    view->MarkWords();
    EXPECT_EQ(testsupport::TakeMessage(), "当前课文没有单词表（字幕文件不带单词表），不能标记单词！");
    EXPECT_EQ(view->m_bWordsMarked, 0);
    view->MarkPhrases();
    EXPECT_EQ(testsupport::TakeMessage(), "当前课文没有词组表（字幕文件不带词组表），不能标记词组！");
    EXPECT_EQ(view->m_bPhrasesMarked, 0);
    EXPECT_TRUE(view->m_marks.empty());
}

// The bilingual layout's English and Chinese lines keep apart at every size
// the font box offers: each line's glyphs stay inside its own line, with a
// row of background at its top and bottom, so no Chinese line touches the
// English line below it and no descender is cut off.
TEST_F(LessonViewTest, BilingualLinesKeepApartAtEveryFontSize)
{
    testsupport::AppStateGuard layout(&CQuenlowApp::m_strTextLayout);
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, {{0, 1000, "Typography jumps quickly\n", "汉字测试，你好吗？\n"},
                      {1000, 2000, "Quaint gypsy jigs\n", "繁體國際龍鬱\n"},
                      {2000, 3000, "Happy days, my boy\n", "我们一起学习\n"}});
    theApp.m_strSubtitleLoaded = "true";
    theApp.m_nCurrentSentence = -1;
    wxCommandEvent bilingual(wxEVT_MENU, kCmdBilingualMode);
    view->ProcessWindowEvent(bilingual);
    wxStyledTextCtrl& text = *view->m_richText;
    ASSERT_EQ(text.GetLineCount(), 7);   // and the empty line after the last line end

    for (int points = 12; points <= 28; points += 2) {
        SCOPED_TRACE(points);
        theApp.m_nFontSize = points;
        view->ApplyTextFormat();
        text.SetCaretStyle(wxSTC_CARETSTYLE_INVISIBLE);
        text.SetEmptySelection(0);
        const int height = text.TextHeight(0);
        ASSERT_LE(6 * height, text.GetClientSize().y);
        // The rows of the six lines that hold ink (dark pixels on white).
        std::vector<bool> ink;
        const auto painted = [&] {
            m_frame->Raise();
            text.Refresh();
            text.Update();
            const wxImage image = testsupport::GrabFromScreen(text);
            if (!image.IsOk())
                return false;
            ink.assign(static_cast<size_t>(6 * height), false);
            for (int y = 0; y < 6 * height; ++y) {
                for (int x = 0; x < image.GetWidth(); ++x) {
                    if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 3 * 128) {
                        ink[static_cast<size_t>(y)] = true;
                        break;
                    }
                }
            }
            for (int line = 0; line < 6; ++line) {
                if (std::find(ink.begin() + line * height, ink.begin() + (line + 1) * height, true) ==
                    ink.begin() + (line + 1) * height)
                    return false;   // not drawn yet
            }
            return true;
        };
        ASSERT_TRUE(testsupport::RunLoopUntil(painted, std::chrono::seconds(5)));
        for (int line = 0; line < 6; ++line) {
            EXPECT_FALSE(ink[static_cast<size_t>(line * height)]) << "top row of line " << line;
            EXPECT_FALSE(ink[static_cast<size_t>((line + 1) * height - 1)]) << "bottom row of line " << line;
        }
    }
}

// In the one-line layouts a sentence wider than a 640-pixel pane at 24
// points can be scrolled to, no scroll bar shows while every line fits, and
// following a new sentence shows the start of the lines again (selecting a
// long sentence, or a drag to the edge, scrolls the text sideways).
TEST_F(LessonViewTest, LongSentencesCanBeScrolledToAndEachNewSentenceShowsItsStart)
{
    testsupport::AppStateGuard layout(&CQuenlowApp::m_strTextLayout);
    CQuenlowView* view = MakeFollowingView();
    m_frame->SetClientSize(640, 400);
    view->SetSize(m_frame->GetClientSize());
    DrainEvents();
    theApp.m_nFontSize = 24;
    const std::string longLine = "This sentence runs on and on, far beyond the right edge of a narrow text pane, "
                                 "so that its end can only be read by scrolling the text sideways.\n";
    wxStyledTextCtrl& text = *view->m_richText;
    const auto switchTo = [&](int command) {
        wxCommandEvent event(wxEVT_MENU, command);
        view->ProcessWindowEvent(event);
    };

    PutLesson(*view, {{0, 1000, "Short one.\n", "短。\n"}, {1000, 2000, "Short two.\n", "短。\n"}});
    theApp.m_strSubtitleLoaded = "true";
    EXPECT_LE(text.GetScrollWidth(), text.GetClientSize().x) << "no scroll bar while every line fits";

    PutLesson(*view, {{0, 1000, "Short one.\n", "短。\n"},
                      {1000, 2000, longLine.c_str(), "长句。\n"},
                      {2000, 3000, "Short three.\n", "短。\n"}});
    const int longWidth = text.TextWidth(wxSTC_STYLE_DEFAULT, ToWx(CString(longLine)).Trim());
    ASSERT_GT(longWidth, text.GetClientSize().x);
    for (const int command : {kCmdSubtitleMode, kCmdBilingualMode}) {
        SCOPED_TRACE(command);
        switchTo(command);
        EXPECT_GE(text.GetScrollWidth(), longWidth);
        theApp.m_nCurrentSentence = -1;
        TickAt(*view, 1500);   // the long sentence
        EXPECT_EQ(theApp.m_nCurrentSentence, 1);
        EXPECT_EQ(text.GetXOffset(), 0);
        text.SetXOffset(longWidth / 2);   // the learner scrolls to read on
        TickAt(*view, 1600);
        EXPECT_EQ(text.GetXOffset(), longWidth / 2) << "the same sentence keeps the learner's scrolling";
        TickAt(*view, 2500);
        EXPECT_EQ(text.GetXOffset(), 0);
    }
}

// Switching the layouts keeps every sentence's range on its own text: in
// paragraphs (positions plus the corrections), in the bilingual layout (the
// English and Chinese lines) and back in the one-line-per-sentence text.
TEST_F(LessonViewTest, LayoutsRoundTripWithExactSentenceRanges)
{
    testsupport::AppStateGuard layout(&CQuenlowApp::m_strTextLayout);
    CQuenlowView* view = MakeFollowingView();
    std::vector<SSentence> sentences;
    std::vector<std::string> english;
    for (int i = 0; i < 24; ++i) {
        english.push_back((i % 3 == 0 ? "中文 Sentence " : "Sentence ") + std::to_string(i) + ".");
        sentences.push_back({i * 1000, i * 1000 + 900, nullptr, "中。\n"});
    }
    std::vector<std::string> lines;
    lines.reserve(english.size());   // the sentences point into the lines: they must never move
    for (size_t i = 0; i < english.size(); ++i) {
        lines.push_back(english[i] + "\n");
        sentences[i].english = lines[i].c_str();
    }
    PutLesson(*view, sentences);
    theApp.m_strSubtitleLoaded = "true";
    wxStyledTextCtrl& text = *view->m_richText;
    const auto rangeText = [&](int sentence) {
        int start = 0;
        int end = 0;
        EXPECT_TRUE(view->GetSentenceRange(sentence, start, end));
        return FromWx(text.GetTextRange(start, end));
    };
    const auto switchTo = [&](int command) {
        wxCommandEvent event(wxEVT_MENU, command);
        view->ProcessWindowEvent(event);
    };

    theApp.m_nCurrentSentence = 5;
    switchTo(kCmdParagraphMode);
    EXPECT_EQ(theApp.m_strTextLayout, "para");
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(rangeText(i), CString(english[static_cast<size_t>(i)] + " ")) << i;
    EXPECT_EQ(text.GetSelectedText(), ToWx(CString(english[5] + " ")));

    switchTo(kCmdBilingualMode);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(rangeText(i), CString(english[static_cast<size_t>(i)] + " \n中。 \n")) << i;

    switchTo(kCmdSubtitleMode);
    EXPECT_TRUE(SelectionIsLine(*view, 5));
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(rangeText(i), CString(lines[static_cast<size_t>(i)])) << i;
}

// The edit menu's translation pages carry the selection as encoded UTF-8 and
// switch the dictionary to its online mode; a blank selection opens nothing.
TEST_F(LessonViewFrameTest, TranslationPagesCarryTheSelection)
{
    InteractionGuard interaction;
    theApp.m_strWordLookupMode = "OnWordHome";
    SetControlText(*view->m_richText, "How are you?\n");
    view->m_richText->SetSelection(0, 12);
    ASSERT_TRUE(Command(kCmdGoogleTranslate));
    EXPECT_EQ(theApp.m_strWordLookupMode, "OnWordWeb");
    EXPECT_EQ(view->m_strTranslateUrl, CString(kAutoToChineseTranslatePage) + "How%20are%20you%3F");
    EXPECT_TRUE(frame->IsDictionaryPaneVisible());
    ASSERT_TRUE(Command(kCmdBaiduTranslate));
    EXPECT_EQ(view->m_strTranslateUrl, OnlineTranslationAddress("How are you?"));
    view->m_richText->SetSelection(3, 4);   // a blank
    ASSERT_TRUE(Command(kCmdGoogleTranslate));
    EXPECT_EQ(view->m_strTranslateUrl, OnlineTranslationAddress("How are you?"));
}

TEST_F(LessonViewFrameTest, CaptionPositionCommandsToggleTheirKeyword)
{
    testsupport::AppStateGuard position(&CQuenlowApp::m_strCaptionPosition);
    theApp.m_strCaptionPosition.Empty();
    struct Step {
        int command;
        const char* position;
    };
    for (const Step& step : {Step{kCmdCaptionAbove, "Up"}, Step{kCmdCaptionBelow, "Down"},
                             Step{kCmdCaptionBelow, ""}, Step{kCmdCaptionAbove, "Up"}}) {
        ASSERT_TRUE(Command(step.command));
        EXPECT_EQ(theApp.m_strCaptionPosition, CString(step.position));
        EXPECT_EQ(UpdateOf(kCmdCaptionAbove).GetChecked(), CString(step.position) == "Up");
    }
}

// While the learner holds the button to select words, following leaves their
// selection; the playing sentence is taken up once the button is released.
TEST_F(LessonViewTest, FollowingLeavesASelectionBeingMade)
{
    CQuenlowView* view = MakeFollowingView();
    PutLesson(*view, kFourSentences);
    view->StartFollowing();
    TickAt(*view, 1500);
    wxStyledTextCtrl& text = *view->m_richText;
    view->m_bButtonUp = 0;
    text.SetSelection(text.PositionFromLine(2) + 1, text.PositionFromLine(2) + 5);
    for (int64_t t : {1600, 2500})
        TickAt(*view, t);
    EXPECT_EQ(text.GetSelectionStart(), text.PositionFromLine(2) + 1);
    view->m_bButtonUp = 1;
    TickAt(*view, 2600);
    EXPECT_EQ(theApp.m_nCurrentSentence, 1);
    EXPECT_TRUE(SelectionIsLine(*view, 1));
}

// The word pick-up: a resting pointer's word (without its full stop) is
// marked, looked up silently and shown in the pop-up beside the pointer; the
// same word is not looked up again until the pointer moves; once the pointer
// is outside the pop-up at the 2-second check, it closes and the mark goes.
TEST_F(LessonViewFrameTest, RestingPointerLooksItsWordUpInThePopup)
{
    InteractionGuard interaction;
    testsupport::AppStateGuard more(&CQuenlowApp::m_nRibbonCategory, &CQuenlowApp::m_strSilentWordSave,
                                    &CQuenlowApp::m_strWordFound);
    theApp.m_strWordLookupMode = "OnWordHome";
    theApp.m_nRibbonCategory = 1;
    theApp.m_strSubtitleLoaded = "true";
    theApp.m_bScriptLoaded = 1;
    SetControlText(*view->m_richText, "We study here.\nApples are good.\n");
    wxStyledTextCtrl& text = *view->m_richText;
    const int wordStart = text.PositionFromLine(1) + 11;   // "good."
    const auto overWord = [&] { return text.PointFromPosition(wordStart + 1) + wxPoint(1, 4); };
    // The text must be shown and laid out before a pointer can rest on it.
    ASSERT_TRUE(testsupport::RunLoopUntil(
        [&] { return text.IsShownOnScreen() && wxRect(text.GetClientSize()).Contains(overWord()); },
        std::chrono::seconds(10)));
    ASSERT_TRUE(Command(kCmdMouseWordPick));
    wxPoint pointer = text.ClientToScreen(overWord());
    view->m_getPointer = [&pointer] { return pointer; };

    view->OnTimer(CQuenlowView::kTimerIdleTicks);   // resting for 100 ms
    view->OnTimer(CQuenlowView::kTimerHoverLookUp);
    EXPECT_EQ(theApp.m_strCurrentWord, "good");
    EXPECT_EQ(theApp.m_strAutoLookup, "true");
    EXPECT_NE(text.IndicatorAllOnFor(wordStart + 1), 0);
    EXPECT_EQ(text.IndicatorAllOnFor(wordStart + 4), 0) << "the full stop is marked";
    ASSERT_NE(theApp.m_dlgMiniHtml, nullptr);
    EXPECT_TRUE(theApp.m_dlgMiniHtml->IsShown());
    EXPECT_TRUE(view->m_timers.IsRunning(CQuenlowView::kTimerHidePopup));

    // Inside the pop-up it stays; outside it closes and the mark goes.
    pointer = theApp.m_dlgMiniHtml->GetScreenRect().GetPosition() + wxPoint(50, 50);
    view->OnTimer(CQuenlowView::kTimerHidePopup);
    EXPECT_TRUE(theApp.m_dlgMiniHtml->IsShown());
    pointer = text.ClientToScreen(wxPoint(2, 2));
    view->OnTimer(CQuenlowView::kTimerHidePopup);
    EXPECT_FALSE(theApp.m_dlgMiniHtml->IsShown());
    EXPECT_EQ(text.IndicatorAllOnFor(wordStart + 1), 0);

    // The same word, the pointer not moved: no second look-up.
    theApp.m_strCurrentWord.Empty();
    pointer = text.ClientToScreen(text.PointFromPosition(wordStart + 1)) + wxPoint(1, 4);
    view->OnTimer(CQuenlowView::kTimerIdleTicks);
    view->OnTimer(CQuenlowView::kTimerHoverLookUp);
    EXPECT_TRUE(theApp.m_strCurrentWord.IsEmpty());
    ASSERT_TRUE(Command(kCmdMouseWordPick));   // off
}

// With online look-ups, switching word pick-up on makes the pop-up's web view
// at once, hidden: the engine starting on the first hover kept the first pages
// from showing before the pop-up closed again.
TEST_F(LessonViewFrameTest, WordPickUpReadiesTheOnlinePopupWhenSwitchedOn)
{
    InteractionGuard interaction;
    testsupport::AppStateGuard more(&CQuenlowApp::m_strWordLookupMode);
    theApp.m_strWordLookupMode = "OnWordWeb";
    ASSERT_NE(theApp.m_dlgMiniHtml, nullptr);
    ASSERT_NE(theApp.m_dlgMiniHtml->m_browser, nullptr);
    CExplorer1& browser = *theApp.m_dlgMiniHtml->m_browser;
    ASSERT_FALSE(browser.HasWebView());

    ASSERT_TRUE(Command(kCmdMouseWordPick));
    const bool madeAtOnce = browser.HasWebView();
    if (!madeAtOnce) {
        ASSERT_TRUE(Command(kCmdMouseWordPick));   // off
        // Told apart from a machine without a web engine by a page's opening.
        browser.Navigate("http://127.0.0.1:9/");
        if (!browser.HasWebView())
            GTEST_SKIP() << "no web engine on this machine";
        FAIL() << "the web view was made only for the first page";
    }
    EXPECT_FALSE(theApp.m_dlgMiniHtml->IsShown());
    EXPECT_EQ(browser.GetLocationURL(), CString()) << "no page is opened ahead";
    ASSERT_TRUE(Command(kCmdMouseWordPick));   // off
}

// The status bar agrees with the lesson text: the sentence counter changes
// at the moment the highlight does (not at the clock's next second), and a
// point-read pause at a sentence's end shows as a pause in the play state,
// the status text and the transport buttons.
TEST_F(LessonViewFrameTest, StatusBarFollowsTheHighlightAndPointReadPauses)
{
    ASSERT_TRUE(testsupport::OpenClipInMainPlayer(*frame, program.path()));   // play needs a media
    InteractionGuard interaction;
    testsupport::AppStateGuard state(&CQuenlowApp::m_strPlayStateText, &CQuenlowApp::m_strMediaPath);
    PutLesson(*view, kFourSentences);
    int64_t time = 0;
    view->m_getPlayerTime = [&] { return time; };
    view->m_getPlayerState = [] { return CVlcPlayer::kStatePlaying; };
    view->m_seekPlayer = [&](int64_t to) { time = to; };
    theApp.m_strMediaPath.Empty();
    theApp.m_bScriptLoaded = 1;
    theApp.m_strPlaybackStarted = "true";
    theApp.m_strPlayState = "OnPlay";
    theApp.m_nCurrentSentence = 0;
    const auto statusText = [&](int id) { return frame->m_wndStatusBar->FindElement(id)->GetText(); };

    time = 2500;
    view->OnTimer(CQuenlowView::kFollowTimer);
    EXPECT_EQ(theApp.m_nCurrentSentence, 1);
    EXPECT_EQ(statusText(kStatusSentenceElement), "第2句/共4句");

    theApp.m_strPointRead = "true";
    theApp.m_strClickReadMode = "Pause";
    theApp.m_nRepeatMargin = 0;
    view->PointReadSentence(2);
    EXPECT_EQ(statusText(kStatusSentenceElement), "第3句/共4句");
    EXPECT_EQ(theApp.m_strPlayState, "OnPlay");
    EXPECT_EQ(statusText(kStatusPlayStateElement), "播放中");
    EXPECT_FALSE(UpdateOf(kCmdPlay).GetEnabled());
    EXPECT_TRUE(UpdateOf(kCmdPause).GetEnabled());

    time = 4200;   // the sentence's end
    view->OnTimer(CQuenlowView::kTimerPointReadEnd);
    EXPECT_EQ(theApp.m_strPlayState, "OnPause");
    EXPECT_EQ(statusText(kStatusPlayStateElement), "暂停");
    EXPECT_TRUE(UpdateOf(kCmdPlay).GetEnabled());
    EXPECT_FALSE(UpdateOf(kCmdPause).GetEnabled());
}

// A media file dropped on the lesson text opens as a drop on the main window
// does: the text control takes file lists, not only text.
TEST_F(LessonViewFrameTest, MediaDroppedOnTheLessonTextOpens)
{
    testsupport::AppStateGuard list(&CQuenlowApp::m_arrPlayList, &CQuenlowApp::m_nPlayIndex);
    program.write("drop/clip.mp4", "a");
    auto* target = dynamic_cast<wxFileDropTarget*>(view->m_richText->GetDropTarget());
    ASSERT_NE(target, nullptr);
    wxArrayString names;
    names.Add(ToWx(program.ansi() + "drop/clip.mp4"));
    EXPECT_TRUE(target->OnDropFiles(10, 10, names));
    ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 1);
    EXPECT_EQ(theApp.m_arrPlayList[0], program.ansi() + "drop/clip.mp4");
}
