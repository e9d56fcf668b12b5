// The lesson against the real engine: the view follows a playing medium
// sentence by sentence, and the bilingual subtitle file written for the video
// is drawn by the engine on a black picture.
#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/stc/stc.h>

#include "lesson/quenlowview.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "playback/videowindow.h"
#include "playback/vlcplayer.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/playback/mediafixtures.h"
#include "tests/testsupport.h"

using namespace std::chrono;
using mediafixtures::Pump;
using mediafixtures::PumpUntil;

namespace {

struct SSentence {
    int start;
    int end;
    const char* english;
    const char* chinese;
};

// Four sentences, each with its own tone in the medium.
const SSentence kSentences[] = {
    {0, 1400, "The first sentence.", "第一句。"},
    {1500, 2900, "The second sentence.", "第二句。"},
    {3000, 4400, "The third sentence.", "第三句。"},
    {4500, 5900, "The fourth sentence.", "第四句。"},
};

// A medium of `seconds` with the given video source and audio expression.
std::string MakeMedia(const testsupport::TempFolder& folder, const std::string& video, const std::string& audio,
                      int seconds)
{
    const std::string path = folder.path() + "lesson.mp4";
    const std::string command = "ffmpeg -nostdin -loglevel error -y " + video + " -f lavfi -i \"aevalsrc=" + audio +
                                ":d=" + std::to_string(seconds) +
                                ":s=" + std::to_string(44'100) +
                                "\" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest \"" +
                                path + "\"";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

// A tone per sentence (440, 550, 660, 770 Hz), 6 s long.
std::string MakeMedia(const testsupport::TempFolder& folder, const char* video)
{
    return MakeMedia(folder, video, "sin(2*PI*(440+110*floor(t/1.5))*t)", 6);
}

template <size_t N>
void WriteLesson(const CString& path, const SSentence (&sentences)[N])
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, "
                        "fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );"));
    int line = 0;
    for (const SSentence& s : sentences) {
        ASSERT_TRUE(db.Exec("insert into tablename values(?,?,?,0,0,0,0,?,?)",
                            {line++, s.start, s.end, CString(s.english) + "\n", CString(s.chinese)}));
    }
}

class LessonWithEngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        ApplyStartupDefaults(theApp, program.ansi());
        frame = new wxFrame(nullptr, wxID_ANY, "lesson", wxPoint(0, 0), wxSize(800, 600));
        frame->SetSizer(new wxBoxSizer(wxVERTICAL));
    }
    void TearDown() override
    {
        frame->Destroy();
        Pump(milliseconds(50));
        theApp.m_strPlayState.Empty();
        theApp.m_strPlaybackStarted.Empty();
        theApp.m_bScriptLoaded = 0;
        theApp.ClearSentenceModel();
    }

    // Defined below, beside the lesson it shows.
    void ShowTimedLesson(std::string& media, CQuenlowView*& view);
    // Plays `media` in `player` with the view following it (time, state,
    // seek), as the frame's play command leaves the application; false when
    // the engine does not start.
    bool PlayWithView(CVlcPlayer& player, CQuenlowView* view, const std::string& media);
    // The view outlives the test's player: it must not reach it any more.
    static void StopAndDetach(CVlcPlayer& player, CQuenlowView* view);

    testsupport::TempProgramFolder program;
    wxFrame* frame = nullptr;
};

// Sentences with a pause of three seconds between the third and the fourth.
const SSentence kTimedSentences[] = {
    {0, 1400, "The first sentence.", "第一句。"},       {1500, 2900, "The second sentence.", "第二句。"},
    {3000, 4400, "The third sentence.", "第三句。"},    {7500, 8900, "The fourth sentence.", "第四句。"},
    {9000, 9800, "The fifth sentence.", "第五句。"},
};

// A tone at each sentence start: 880 Hz for the first 300 ms of a sentence.
std::string TonesAtSentenceStarts()
{
    std::string sum;
    for (const SSentence& s : kTimedSentences) {
        // Commas inside a filter's argument are escaped for ffmpeg.
        if (!sum.empty())
            sum += '+';
        sum += "between(t\\," + std::to_string(s.start / 1000.0) + "\\," + std::to_string(s.start / 1000.0 + 0.3) +
               ")";
    }
    return "(" + sum + ")*sin(2*PI*880*t)";
}

// The timed lesson with its medium of tones, loaded into a shown lesson view.
void LessonWithEngineTest::ShowTimedLesson(std::string& media, CQuenlowView*& view)
{
    media = MakeMedia(program, "-f lavfi -i color=c=black:s=160x120:d=10", TonesAtSentenceStarts(), 10);
    ASSERT_FALSE(media.empty());
    theApp.m_strScriptPath = program.ansi() + "lesson.script";
    WriteLesson(theApp.m_strScriptPath, kTimedSentences);
    view = new CQuenlowView;
    ASSERT_TRUE(view->Create(frame, 501));
    frame->GetSizer()->Add(view, 1, wxEXPAND);
    view->Show();
    frame->Show();
    view->OnInitialUpdate();
    view->LoadSubtitleFile();
    ASSERT_EQ(theApp.m_nSentenceCount, static_cast<int>(std::size(kTimedSentences)));
}

bool LessonWithEngineTest::PlayWithView(CVlcPlayer& player, CQuenlowView* view, const std::string& media)
{
    view->m_getPlayerTime = [&player] { return player.GetEstimatedTime(); };
    view->m_getPlayerState = [&player] { return player.GetState(); };
    view->m_seekPlayer = [&player](int64_t t) { player.Seek(t); };
    player.OpenFile(media.c_str());
    player.Play();
    if (!PumpUntil([&] { return player.GetState() == 3; }, seconds(5)))
        return false;
    theApp.m_strPlayState = "OnPlay";
    theApp.m_strPlaybackStarted = "true";
    theApp.m_bScriptLoaded = 1;
    return true;
}

void LessonWithEngineTest::StopAndDetach(CVlcPlayer& player, CQuenlowView* view)
{
    player.Stop();
    theApp.m_strPlayState.Empty();
    view->m_getPlayerTime = {};
    view->m_getPlayerState = {};
    view->m_seekPlayer = {};
    view->m_pausePlayer = {};
}

// The timed lesson shown in a lesson view, with the engine's dummy outputs.
class TimedLessonTest : public LessonWithEngineTest {
protected:
    void SetUp() override
    {
        LessonWithEngineTest::SetUp();
        ShowTimedLesson(media, view);
    }

    mediafixtures::EngineFolderScope engine {mediafixtures::Outputs::Dummy};
    std::string media;
    CQuenlowView* view = nullptr;
};

// The lesson view's selection moves on when each sentence starts, on time: the
// engine's reports come only every 250-500 ms, and the view follows a clock
// estimated between them. The engine's own timeline is recovered from the
// moments its reported time changes (wall clock minus reported time, median).
TEST_F(TimedLessonTest, ViewFollowsPlaybackOnTimeAcrossAPause)
{
    CVlcPlayer player;
    theApp.m_strSkipBlank.Empty();   // the pause is played, not skipped
    ASSERT_TRUE(PlayWithView(player, view, media));
    const auto wallMs = [] { return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count(); };
    view->StartFollowing();

    // The wall-clock moment each sentence became current, and the offsets of
    // the engine's timeline at each change of its reported time.
    std::vector<long long> reached(std::size(kTimedSentences), -1);
    std::vector<long long> timeline;
    int64_t lastReported = -1;
    PumpUntil(
        [&] {
            const int64_t reported = player.GetTime();
            if (reported > 0 && reported != lastReported) {
                timeline.push_back(wallMs() - reported);
                lastReported = reported;
            }
            const int current = theApp.m_nCurrentSentence;
            if (current >= 0 && current < static_cast<int>(reached.size()) && reached[current] < 0)
                reached[current] = wallMs();
            return reached.back() >= 0;
        },
        seconds(14));
    StopAndDetach(player, view);

    ASSERT_GE(timeline.size(), 5u);
    std::sort(timeline.begin(), timeline.end());
    const long long zero = timeline[timeline.size() / 2];   // wall time of media time 0
    std::vector<long long> late;
    for (size_t i = 1; i < std::size(kTimedSentences); ++i) {   // sentence 0 is current from the start
        SCOPED_TRACE(i);
        ASSERT_GE(reached[i], 0) << "sentence never became current";
        late.push_back(reached[i] - (zero + kTimedSentences[i].start));
    }
    std::vector<long long> sorted = late;
    std::sort(sorted.begin(), sorted.end());
    testing::Test::RecordProperty("lateness_ms", testing::PrintToString(late));
    std::printf("lateness of each sentence start (ms): %s\n", testing::PrintToString(late).c_str());
    EXPECT_LE(sorted[sorted.size() / 2], 50) << testing::PrintToString(late);
    EXPECT_LE(sorted.back(), 100) << testing::PrintToString(late);
    EXPECT_GE(sorted.front(), -50) << "a sentence came up before it started: " << testing::PrintToString(late);
    // The selection covers the last sentence's line.
    const int line = view->m_richText->LineFromPosition(view->m_richText->GetSelectionStart());
    EXPECT_EQ(line, static_cast<int>(std::size(kTimedSentences)) - 1);
}

// Point-read with the real engine: a click on a sentence plays it from its
// start (less the margin) and pauses at its end, timed by the estimated clock:
// the pause goes out within 60 ms after the end, before the next sentence.
TEST_F(TimedLessonTest, PointReadPausesAtTheSentenceEnd)
{
    CVlcPlayer player;
    int64_t pausedAt = -1;
    ASSERT_TRUE(PlayWithView(player, view, media));
    view->m_pausePlayer = [&] {
        pausedAt = player.GetEstimatedTime();
        player.Pause();
    };
    theApp.m_strPointRead = "true";
    theApp.m_strClickReadMode = "Pause";
    theApp.m_nRepeatMargin = 100;
    view->ComputeTextPositions();

    std::vector<long long> over;
    for (int sentence : {1, 3}) {
        SCOPED_TRACE(sentence);
        pausedAt = -1;
        if (player.GetState() != 3)
            player.Play();
        view->PointReadSentence(sentence);
        ASSERT_TRUE(PumpUntil([&] { return player.GetState() == 4; }, seconds(5)));
        Pump(milliseconds(300));
        const SSentence& s = kTimedSentences[sentence];
        // The playback clock when the pause went out, against the sentence's
        // end (the engine's own report lags by up to a report interval).
        const long long late = pausedAt - s.end;
        over.push_back(late);
        EXPECT_GE(late, 0) << "paused early";
        EXPECT_LE(late, 60) << "paused late";
        if (sentence + 1 < static_cast<int>(std::size(kTimedSentences))) {
            EXPECT_LT(player.GetTime(), kTimedSentences[sentence + 1].start) << "the next sentence began";
        }
    }
    std::printf("point-read pause after the sentence end (ms): %s\n",
                testing::PrintToString(over).c_str());
    StopAndDetach(player, view);
    theApp.m_strPointRead.Empty();
}

// Repeat-read with the real engine: the selected sentence's window (with the
// margins) plays three times, each jump back coming at the window's end.
TEST_F(TimedLessonTest, RepeatPlaysTheWindowThreeTimes)
{
    CVlcPlayer player;
    std::vector<long long> jumpsAfterEnd;
    ASSERT_TRUE(PlayWithView(player, view, media));
    view->m_seekPlayer = [&](int64_t t) {
        if (theApp.m_nRepeatCount > 0 && t == theApp.m_nRepeatStart)
            jumpsAfterEnd.push_back(player.GetEstimatedTime() - theApp.m_nRepeatEnd);
        player.Seek(t);
    };
    theApp.m_nRepeatMargin = 100;
    view->ComputeTextPositions();

    wxStyledTextCtrl& text = *view->m_richText;
    text.SetSelection(text.PositionFromLine(1) + 2, text.PositionFromLine(1) + 8);   // inside sentence 1
    theApp.m_nRepeatCount = 2;   // two more times after the first
    view->StartRepeat();
    EXPECT_EQ(theApp.m_nRepeatStart, 1500 - 500);
    EXPECT_EQ(theApp.m_nRepeatEnd, 2900 + 500);
    ASSERT_TRUE(PumpUntil([&] { return theApp.m_nRepeatCount == 0; }, seconds(10)));
    std::printf("repeat jumps after the window's end (ms): %s\n", testing::PrintToString(jumpsAfterEnd).c_str());
    ASSERT_EQ(jumpsAfterEnd.size(), 2u);
    for (long long late : jumpsAfterEnd) {
        EXPECT_GE(late, 0);
        EXPECT_LE(late, 60);
    }
    StopAndDetach(player, view);
}

// Counts the pixels brighter than grey in a rectangle of the screen.
int BrightPixels(wxWindow* window, const wxRect& rect)
{
    Display* display = GDK_WINDOW_XDISPLAY(gtk_widget_get_window(window->GetHandle()));
    const wxPoint origin = window->GetScreenPosition();
    XImage* image = XGetImage(display, DefaultRootWindow(display), origin.x + rect.x, origin.y + rect.y,
                              static_cast<unsigned>(rect.width), static_cast<unsigned>(rect.height), AllPlanes,
                              ZPixmap);
    if (!image)
        return -1;
    int bright = 0;
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            if (((pixel >> 16) & 0xFF) > 160 && ((pixel >> 8) & 0xFF) > 160 && (pixel & 0xFF) > 160)
                ++bright;
        }
    }
    XDestroyImage(image);
    return bright;
}

TEST_F(LessonWithEngineTest, BilingualSubtitleFileIsDrawnOnTheVideo)
{
    mediafixtures::EngineFolderScope engine(mediafixtures::Outputs::X11);
    const std::string media = MakeMedia(program, "-f lavfi -i color=c=black:s=640x360:d=6");
    ASSERT_FALSE(media.empty());
    theApp.ClearSentenceModel();
    theApp.EnsureSentenceCapacity(4);
    for (const SSentence& s : kSentences) {
        const int i = theApp.m_arrForeignText.GetSize();
        theApp.m_arrSentenceTiming[static_cast<size_t>(i)].starttime = s.start;
        theApp.m_arrSentenceTiming[static_cast<size_t>(i)].endtime = s.end;
        theApp.m_arrForeignText.Add(CString(s.english) + "\n");
        theApp.m_arrChineseText.Add(CString(s.chinese) + "\n");
    }
    theApp.m_nSentenceCount = 4;
    theApp.WriteAssFiles();
    ASSERT_TRUE(IsRegularFile(theApp.m_strAssBothPath));

    auto* panel = new wxPanel(frame, wxID_ANY);
    panel->SetBackgroundColour(*wxBLACK);
    frame->GetSizer()->Add(panel, 1, wxEXPAND);
    frame->SetSize(640, 400);
    frame->Show();
    frame->Raise();
    Pump(milliseconds(200));
    CVideoWindow video;
    ASSERT_TRUE(video.Create(panel));
    CVlcPlayer player;
    player.SetHwnd(video.GetXWindow());
    player.OpenFile(media.c_str());
    player.Play();
    ASSERT_TRUE(PumpUntil([&] { return player.GetState() == 3; }, seconds(5)));
    Pump(milliseconds(700));
    const wxRect lower(0, panel->GetClientSize().y * 2 / 3, panel->GetClientSize().x, panel->GetClientSize().y / 3);
    const int before = BrightPixels(panel, lower);

    player.SetSubtitleFile(AnsiToUtf8Bytes(theApp.m_strAssBothPath.view()).c_str());
    player.Seek(300);
    PumpUntil([&] { return BrightPixels(panel, lower) > 200; }, seconds(4));
    const int after = BrightPixels(panel, lower);
    if (const char* shot = std::getenv("QUENLOW_SUBTITLE_SHOT"))
        std::system((std::string("import -window root ") + shot).c_str());
    player.SetSpu(-1);
    Pump(milliseconds(200));
    player.Stop();

    EXPECT_LT(before, 50) << "the picture is black before the subtitles";
    EXPECT_GT(after, 200) << "white subtitle glyphs appear in the lower third";
}

// A 60-character Chinese line written for the video wraps inside the
// picture at the largest font size, on a 640-pixel player and a full-width
// one: subtitle glyphs in the middle of the picture, none in its outer
// columns (the renderer itself wraps only at spaces, and an unbroken
// Chinese line ran off both sides).
TEST_F(LessonWithEngineTest, LongChineseSubtitleWrapsInsideThePicture)
{
    mediafixtures::EngineFolderScope engine(mediafixtures::Outputs::X11);
    const std::string media = MakeMedia(program, "-f lavfi -i color=c=black:s=640x360:d=6");
    ASSERT_FALSE(media.empty());
    const CString chinese = "我们今天要学习的内容非常重要，希望大家认真听讲，"
                            "课后还要完成老师布置的所有练习题目，并且在下周一之前交给我们班的班长们。";
    ASSERT_EQ(AnsiToUtf8Bytes(chinese.view()).size(), 60u * 3);
    theApp.ClearSentenceModel();
    theApp.EnsureSentenceCapacity(1);
    theApp.m_arrSentenceTiming[0].starttime = 0;
    theApp.m_arrSentenceTiming[0].endtime = 6000;
    theApp.m_arrForeignText.Add("What we learn today matters a great deal, so please listen closely to every word.\n");
    theApp.m_arrChineseText.Add(chinese + "\n");
    theApp.m_nSentenceCount = 1;
    theApp.m_strSubtitleColor = "White";
    theApp.m_strSubtitleFontSize = "20";
    theApp.WriteAssFiles();

    for (const wxSize size : {wxSize(640, 360), wxSize(1280, 720)}) {
        SCOPED_TRACE(size.x);
        auto* panel = new wxPanel(frame, wxID_ANY);
        panel->SetBackgroundColour(*wxBLACK);
        frame->GetSizer()->Add(panel, 1, wxEXPAND);
        frame->SetClientSize(size);
        frame->Show();
        frame->Raise();
        frame->Layout();
        Pump(milliseconds(200));
        ASSERT_EQ(panel->GetClientSize(), size);
        int middle = 0;
        int edges = 0;
        {
            CVideoWindow video;
            ASSERT_TRUE(video.Create(panel));
            CVlcPlayer player;
            player.SetHwnd(video.GetXWindow());
            player.OpenFile(media.c_str());
            player.Play();
            ASSERT_TRUE(PumpUntil([&] { return player.GetState() == 3; }, seconds(5)));
            Pump(milliseconds(500));
            player.SetSubtitleFile(AnsiToUtf8Bytes(theApp.m_strAssBothPath.view()).c_str());
            player.Seek(300);
            const wxRect centre(size.x / 4, size.y / 2, size.x / 2, size.y / 2);
            PumpUntil([&] { return BrightPixels(panel, centre) > 200; }, seconds(4));
            Pump(milliseconds(300));
            middle = BrightPixels(panel, centre);
            edges = BrightPixels(panel, wxRect(0, 0, 6, size.y)) +
                    BrightPixels(panel, wxRect(size.x - 6, 0, 6, size.y));
            if (const char* shot = std::getenv("QUENLOW_SUBTITLE_SHOT"))
                std::system(
                    (std::string("import -window root ") + shot + "-" + std::to_string(size.x) + ".png").c_str());
            player.SetSpu(-1);
            Pump(milliseconds(200));
            player.Stop();
        }
        frame->GetSizer()->Detach(panel);
        panel->Destroy();
        EXPECT_GT(middle, 200) << "subtitle glyphs in the middle of the picture";
        EXPECT_EQ(edges, 0) << "subtitle glyphs at the picture's sides";
    }
}

} // namespace
