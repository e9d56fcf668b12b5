// Loading lessons: a 20,000-entry bilingual ".srt" through our loader (UTF-8,
// converted in memory, and GB18030), the same UTF-8 file read by ffmpeg in a
// child process for comparison, a 3000-sentence lesson database loaded into
// the sentence model, and an ".ass" file whose one Dialogue line is 1 MB of
// override tags (its tags must be stripped in linear time).
#include "lesson/core/lessonloader.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "core/quenlow.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSrtEntries = 20000;
constexpr int kScriptSentences = 3000;
constexpr size_t kTagLineBytes = 1024 * 1024;

// The generated files, made once in a temporary folder and removed at exit.
class BenchFiles {
public:
    BenchFiles()
    {
        std::string pattern = (fs::temp_directory_path() / "quenlow-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_dir = pattern + "/";
        const std::string gb = MakeSrt();
        if (!WriteFileAtomically(GbSrt(), gb) || !WriteFileAtomically(Utf8Srt(), AnsiToUtf8Bytes(gb)) ||
            !WriteFileAtomically(TagAss(), MakeTagAss()))
            throw std::runtime_error("cannot write the lesson files");
        MakeScript();
    }
    ~BenchFiles()
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

    CString GbSrt() const { return Utf8BytesToAnsi(m_dir + "lesson-gb18030.srt"); }
    CString Utf8Srt() const { return Utf8BytesToAnsi(m_dir + "lesson-utf8.srt"); }
    std::string Utf8SrtFs() const { return m_dir + "lesson-utf8.srt"; }
    CString Script() const { return Utf8BytesToAnsi(m_dir + "lesson.script"); }
    CString TagAss() const { return Utf8BytesToAnsi(m_dir + "tags.ass"); }

private:
    static std::string Time(int ms)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                      ms % 1000);
        return text;
    }

    // Numbered entries with an English and a Chinese line, in program text.
    static std::string MakeSrt()
    {
        std::string srt;
        for (int i = 0; i < kSrtEntries; ++i) {
            const int start = i * 2000;
            srt += std::to_string(i + 1) + "\n" + Time(start) + " --> " + Time(start + 1500) + "\n";
            srt += "This is sentence number " + std::to_string(i) + " of the lesson, isn*t it?\n";
            srt += "这是本课的第" + std::to_string(i) + "句话，对吧？\n\n";
        }
        return srt;
    }

    // One Dialogue line of kTagLineBytes: override tags, a word after every
    // hundred of them, and an English and a Chinese text at the end.
    static std::string MakeTagAss()
    {
        std::string line = "Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,0,,";
        for (int i = 0; line.size() < kTagLineBytes; ++i) {
            line += "{\\fs" + std::to_string(i % 97) + "\\c&H" + std::to_string(i) + "&}";
            if (i % 100 == 0)
                line += "w";
        }
        return line + "The end of many tags\\N很多标签的结尾\n";
    }

    void MakeScript() const
    {
        CSqliteDb db;
        if (!db.Open(Script(), CSqliteDb::ReadWriteCreate) ||
            !db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, "
                     "fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );") ||
            !db.Begin())
            throw std::runtime_error("cannot make the lesson database");
        int position = 0;
        for (int i = 0; i < kScriptSentences; ++i) {
            const CString english = "It*s sentence <i>" + CString(std::to_string(i)) + "</i> of the lesson.\n";
            const CString chinese = "这是第" + CString(std::to_string(i)) + "句。\n";
            db.Exec("insert into tablename values(?,?,?,?,?,?,?,?,?)",
                    {i + 1, i * 2000, i * 2000 + 1500, position, english.GetLength(), 0, 0, english, chinese});
            position += english.GetLength();
        }
        if (!db.Commit())
            throw std::runtime_error("cannot make the lesson database");
    }

    std::string m_dir;
};

const BenchFiles& Files()
{
    static const BenchFiles files;
    return files;
}

void LoadAndCheck(benchmark::State& state, const CString& path, int expected)
{
    CQuenlowApp app;
    CString viewText;
    for (auto _ : state) {
        LoadLessonFile(app, path, viewText);
        benchmark::DoNotOptimize(viewText);
    }
    if (app.m_nSentenceCount != expected)
        state.SkipWithError("the lesson did not load whole");
    state.counters["sentences"] = app.m_nSentenceCount;
}

void BM_LoadSrt20000Utf8(benchmark::State& state) { LoadAndCheck(state, Files().Utf8Srt(), kSrtEntries); }
BENCHMARK(BM_LoadSrt20000Utf8)->Unit(benchmark::kMillisecond);

void BM_LoadSrt20000Gb18030(benchmark::State& state) { LoadAndCheck(state, Files().GbSrt(), kSrtEntries); }
BENCHMARK(BM_LoadSrt20000Gb18030)->Unit(benchmark::kMillisecond);

// ffmpeg on the same UTF-8 file, as a child process (wall time). The first
// form is `ffmpeg -loglevel error -i file.srt -c:s copy -f null -`: it reads
// and parses the whole file and hands each subtitle on unchanged; the second
// form also encodes every subtitle to the null output. A run of ffmpeg that
// fails measured nothing to compare with: the benchmark fails with its exit
// status instead of showing a figure.
void RunFfmpeg(benchmark::State& state, const std::string& outputArgs)
{
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) {
        state.SkipWithError("ffmpeg is not installed");
        return;
    }
    const std::string command =
        "ffmpeg -nostdin -loglevel error -i '" + Files().Utf8SrtFs() + "' " + outputArgs + " 2>/dev/null";
    for (auto _ : state) {
        const int status = std::system(command.c_str());
        if (status != 0) {
            const std::string error = WIFEXITED(status)
                                          ? "ffmpeg failed with exit status " + std::to_string(WEXITSTATUS(status))
                                          : std::string("ffmpeg did not end normally");
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

void BM_FfmpegSrt20000CopyToNull(benchmark::State& state) { RunFfmpeg(state, "-c:s copy -f null -"); }
BENCHMARK(BM_FfmpegSrt20000CopyToNull)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FfmpegSrt20000Encode(benchmark::State& state) { RunFfmpeg(state, "-c:s srt -f null -"); }
BENCHMARK(BM_FfmpegSrt20000Encode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadScript3000(benchmark::State& state) { LoadAndCheck(state, Files().Script(), kScriptSentences); }
BENCHMARK(BM_LoadScript3000)->Unit(benchmark::kMillisecond);

void BM_LoadAssTagLine1MB(benchmark::State& state) { LoadAndCheck(state, Files().TagAss(), 1); }
BENCHMARK(BM_LoadAssTagLine1MB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
