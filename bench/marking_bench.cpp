// Marking a large lesson: a 10,000-sentence lesson database whose word table
// lists every occurrence of its words, marked with a 50,000-word new-word
// book (标记单词), and the same book marked as a word list (词库中的单词).
// Each measured run is one command from a text without marks, as the learner
// gives it. Starts the toolkit, so it runs under a display (Xvfb).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

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

constexpr int kSentences = 10000;
constexpr int kWordsPerSentence = 10;
constexpr int kLessonVocabulary = 20000;
constexpr int kBookWords = 50000;

// A word made of letters only: the n-th in base 26, at least four letters.
std::string WordNumber(int n)
{
    std::string word;
    for (int k = 0; k < 4 || n > 0; ++k) {
        word.insert(word.begin(), static_cast<char>('a' + n % 26));
        n /= 26;
    }
    return word;
}

// The lesson database and the new-word book in a temporary folder. Half of
// the book's words occur in the lesson; every lesson word is in its word
// table with the references of all its occurrences.
class MarkingFiles {
public:
    MarkingFiles()
    {
        std::string pattern = (fs::temp_directory_path() / "quenlow-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_dir = pattern + "/";
        m_lesson = Utf8BytesToAnsi(m_dir + "lesson.script");
        m_book = Utf8BytesToAnsi(m_dir + "UnKownWord.script");
        WriteLesson();
        WriteBook();
    }
    ~MarkingFiles()
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    MarkingFiles(const MarkingFiles&) = delete;
    MarkingFiles& operator=(const MarkingFiles&) = delete;

    const CString& lesson() const { return m_lesson; }
    const CString& book() const { return m_book; }

private:
    void WriteLesson()
    {
        CSqliteDb db;
        if (!db.Open(m_lesson, CSqliteDb::ReadWriteCreate) ||
            !db.Exec("create table tablename (linecnt varchar(20), starttime varchar(20), endtime varchar(20), "
                     "fgnstartpos varchar(20), fgntxtlen varchar(20), chnstartpos varchar(20), "
                     "chntxtlen varchar(20), fgntxt varchar(1000), chntxt varchar(1000));") ||
            !db.Exec("create table wordlist(stroriginalword varchar(1000), strreference varchar(10000))") ||
            !db.Exec("create table phaselist(stroriginalphase varchar(1000), strreference varchar(10000))") ||
            !db.Begin())
            throw std::runtime_error("cannot write the lesson database");
        std::map<std::string, std::string> references;
        unsigned seed = 12345;
        for (int i = 0; i < kSentences; ++i) {
            std::string english;
            for (int w = 0; w < kWordsPerSentence; ++w) {
                seed = seed * 1103515245u + 12345u;
                const std::string word = WordNumber(static_cast<int>((seed >> 8) % kLessonVocabulary));
                if (!english.empty())
                    english += ' ';
                references[word] += "(" + word + ":" + std::to_string(i) + ":" + std::to_string(english.size()) + ")";
                english += word;
            }
            english += ".\n";
            db.Exec("insert into tablename values (?, ?, ?, ?, ?, ?, ?, ?, ?);",
                    {i, i * 2000, i * 2000 + 1800, 0, 0, 0, 0, CString(english), CString("课文的一句。")});
        }
        // Lesson files made by other tools hold their words as BLOBs.
        for (const auto& [word, list] : references)
            db.Exec("insert into wordlist values (cast(? as blob), ?);", {CString(word), CString(list)});
        db.Commit();
    }

    void WriteBook()
    {
        CSqliteDb db;
        if (!db.Open(m_book, CSqliteDb::ReadWriteCreate) ||
            !db.Exec("create table tablename(stroriginalword varchar(1000) not null unique)") || !db.Begin())
            throw std::runtime_error("cannot write the word book");
        // Every second lesson word, and words the lesson does not have.
        for (int n = 0; n < kBookWords; ++n) {
            const int number = n < kLessonVocabulary / 2 ? 2 * n : kLessonVocabulary + n;
            db.Exec("insert into tablename values (?);", {CString(WordNumber(number))});
        }
        db.Commit();
    }

    std::string m_dir;
    CString m_lesson;
    CString m_book;
};

MarkingFiles* g_files = nullptr;

// A shown frame with the lesson loaded into a lesson view.
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
        m_view->m_getPlayerTime = [] { return int64_t{0}; };
        m_view->m_seekPlayer = [](int64_t) {};
        theApp.m_strFontName = "Arial";
        theApp.m_nFontSize = 16;
        theApp.m_strPlayState = "OnPlay";
        theApp.m_strPlaybackStarted = "true";
        theApp.m_bScriptLoaded = 1;
        theApp.m_strTextLayout = "script";
        theApp.m_strDocumentLoaded = "true";
        theApp.m_strWordBookPath = g_files->book();
        theApp.m_strScriptPath = g_files->lesson();
        m_view->LoadSubtitleFile();
        m_view->OnTimer(CQuenlowView::kTimerTextPositions);
    }
    ~ViewHost() { m_frame->Destroy(); }
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;

    CQuenlowView* m_view = nullptr;

private:
    wxFrame* m_frame = nullptr;
};

// 标记单词 switched on (and off again, unmeasured).
void BM_MarkBookWords(benchmark::State& state)
{
    ViewHost host;
    size_t marks = 0;
    for (auto _ : state) {
        host.m_view->MarkWords();
        state.PauseTiming();
        marks = host.m_view->m_marks.size();
        host.m_view->MarkWords();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(marks);
    if (marks == 0)
        state.SkipWithError("nothing was marked");
}
BENCHMARK(BM_MarkBookWords)->Unit(benchmark::kMillisecond)->UseRealTime();

// The new-word book marked as a word list, wherever its words occur.
void BM_MarkBookAsWordList(benchmark::State& state)
{
    ViewHost host;
    for (auto _ : state) {
        host.m_view->ToggleMarkList("MYWORD");
        state.PauseTiming();
        host.m_view->ToggleMarkList("MYWORD");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MarkBookAsWordList)->Unit(benchmark::kMillisecond)->UseRealTime();

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
        MarkingFiles files;
        g_files = &files;
        benchmark::RunSpecifiedBenchmarks();
        g_files = nullptr;
    }
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}
