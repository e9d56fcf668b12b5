// The lesson view: loading a 3000-sentence lesson database into a ready view
// (model, text, format and the positions pass), and one tick of the follow
// timer against a stand-in player, both when the sentence stays and when it
// moves on. Starts the toolkit, so it runs under a display (Xvfb).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>

#include "lesson/quenlowview.h"
#include "platform/codepage.h"
#include "platform/sqlitedb.h"
#include "core/quenlow.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSentences = 3000;

// A lesson database of kSentences bilingual sentences in a temporary folder.
class LessonFile {
public:
    LessonFile()
    {
        std::string pattern = (fs::temp_directory_path() / "quenlow-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_dir = pattern + "/";
        m_path = Utf8BytesToAnsi(m_dir + "lesson.script");
        CSqliteDb db;
        if (!db.Open(m_path, CSqliteDb::ReadWriteCreate) ||
            !db.Exec("create table tablename (linecnt varchar(20), starttime varchar(20), endtime varchar(20), "
                     "fgnstartpos varchar(20), fgntxtlen varchar(20), chnstartpos varchar(20), "
                     "chntxtlen varchar(20), fgntxt varchar(1000), chntxt varchar(1000));") ||
            !db.Begin())
            throw std::runtime_error("cannot write the lesson database");
        for (int i = 0; i < kSentences; ++i) {
            CString english;
            english.Format("Sentence %d of the lesson, with the *usual* length of a spoken line.\n", i);
            CString chinese;
            chinese.Format("这是课文的第%d句，长度和普通的一句话差不多。", i);
            db.Exec("insert into tablename values (?, ?, ?, ?, ?, ?, ?, ?, ?);",
                    {i, i * 2000, i * 2000 + 1800, 0, 0, 0, 0, english, chinese});
        }
        db.Commit();
    }
    ~LessonFile()
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    LessonFile(const LessonFile&) = delete;
    LessonFile& operator=(const LessonFile&) = delete;

    const CString& path() const { return m_path; }

private:
    std::string m_dir;
    CString m_path;
};

// A shown frame with a lesson view in it.
class ViewHost {
public:
    ViewHost()
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(900, 600));
        m_view = new CQuenlowView;
        m_view->Create(m_frame, 501);
        m_view->OnInitialUpdate();
        m_view->Show();
        m_frame->Show();
        m_view->SetSize(m_frame->GetClientSize());
        m_view->Layout();
        m_view->m_getPlayerTime = [this] { return m_time; };
        m_view->m_seekPlayer = [](int64_t) {};
        theApp.m_strFontName = "Arial";
        theApp.m_nFontSize = 16;
        theApp.m_clrBackground = RGB(255, 255, 255);
        theApp.m_strPlayState = "OnPlay";
        theApp.m_strPlaybackStarted = "true";
        theApp.m_bScriptLoaded = 1;
        theApp.m_strSkipBlank = "true";
        theApp.m_nBlankThreshold = 3000;
        theApp.m_strShowChinese = "true";
        theApp.m_strTextLayout = "script";
    }
    ~ViewHost() { m_frame->Destroy(); }
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;

    void Load(const CString& path)
    {
        theApp.m_strScriptPath = path;
        m_view->LoadSubtitleFile();
        m_view->OnTimer(CQuenlowView::kTimerTextPositions);
    }

    CQuenlowView* m_view = nullptr;
    int64_t m_time = 0;

private:
    wxFrame* m_frame = nullptr;
};

LessonFile* g_lesson = nullptr;

void BM_LoadLessonIntoView(benchmark::State& state)
{
    ViewHost host;
    for (auto _ : state) {
        host.Load(g_lesson->path());
        benchmark::DoNotOptimize(theApp.m_arrSentenceTiming[kSentences - 1].fgnstartpos);
    }
    if (theApp.m_nSentenceCount != kSentences || theApp.m_arrSentenceTiming[kSentences - 1].fgnstartpos == 0)
        state.SkipWithError("the lesson did not load whole");
}
BENCHMARK(BM_LoadLessonIntoView)->Unit(benchmark::kMillisecond);

// The usual tick: the sentence in the middle of the lesson is still playing.
void BM_FollowTickSameSentence(benchmark::State& state)
{
    ViewHost host;
    host.Load(g_lesson->path());
    host.m_view->StartFollowing();
    host.m_time = (kSentences / 2) * 2000 + 500;
    host.m_view->OnTimer(CQuenlowView::kFollowTimer);
    for (auto _ : state)
        host.m_view->OnTimer(CQuenlowView::kFollowTimer);
    if (theApp.m_nCurrentSentence != kSentences / 2)
        state.SkipWithError("the follow step found the wrong sentence");
}
BENCHMARK(BM_FollowTickSameSentence)->Unit(benchmark::kMicrosecond);

// A tick that moves on to the next sentence: selection, scrolling and caption.
void BM_FollowTickNextSentence(benchmark::State& state)
{
    ViewHost host;
    host.Load(g_lesson->path());
    host.m_view->StartFollowing();
    int sentence = 1;
    for (auto _ : state) {
        host.m_time = sentence * 2000 + 100;
        host.m_view->OnTimer(CQuenlowView::kFollowTimer);
        sentence = sentence + 1 < kSentences ? sentence + 1 : 1;
    }
}
BENCHMARK(BM_FollowTickNextSentence)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    setenv("GDK_BACKEND", "x11", 1);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "cannot start the toolkit (is there a display?)\n");
        return 2;
    }
    wxLog::EnableLogging(false);
    {
        LessonFile lesson;
        g_lesson = &lesson;
        benchmark::RunSpecifiedBenchmarks();
        g_lesson = nullptr;
    }
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}
