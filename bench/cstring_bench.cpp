// CString on lesson text: a 3000-line GB18030 script mixing English lines
// with their Chinese translations, as the lesson views scan it.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/cstring.h"

namespace {

constexpr int kLines = 3000;

// Timed English lines with a markup tag, each followed by its translation
// (which holds "乕", whose trail byte equals "[" and must not be found).
const CString& LessonText()
{
    static const CString text = [] {
        CString t;
        for (int i = 0; i < kLines; i += 2) {
            t.AppendFormat("[%02d:%02d.%02d] <i>Sentence %d</i> of the lesson, spoken slowly and clearly.\n",
                           i / 120, (i / 2) % 60, i % 100, i);
            t.AppendFormat("  第%d句：这是课文的中文翻译，乕字不是方括号。  \n", i);
        }
        return t;
    }();
    return text;
}

struct LineSpan {
    int start;
    int length;
};

std::vector<LineSpan> LineSpans(const CString& text)
{
    std::vector<LineSpan> spans;
    int start = 0;
    for (int end; (end = text.Find('\n', start)) != -1; start = end + 1)
        spans.push_back({start, end - start});
    return spans;
}

void BM_FindBracket(benchmark::State& state)
{
    const CString& text = LessonText();
    for (auto _ : state) {
        int count = 0;
        for (int pos = text.Find("["); pos != -1; pos = text.Find("[", pos + 1))
            ++count;
        if (count != kLines / 2) {
            state.SkipWithError("wrong number of brackets");
            break;
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * text.GetLength());
}
BENCHMARK(BM_FindBracket);

void BM_ReplaceTag(benchmark::State& state)
{
    const CString& text = LessonText();
    for (auto _ : state) {
        CString copy = text;  // the copy is a small part of the time
        const int changed = copy.Replace("<i>", "<em>");
        if (changed != kLines / 2) {
            state.SkipWithError("wrong number of replacements");
            break;
        }
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(state.iterations() * text.GetLength());
}
BENCHMARK(BM_ReplaceTag);

void BM_MidOfEachLine(benchmark::State& state)
{
    const CString& text = LessonText();
    const std::vector<LineSpan> spans = LineSpans(text);
    for (auto _ : state) {
        for (const LineSpan& span : spans) {
            CString line = text.Mid(span.start, span.length);
            benchmark::DoNotOptimize(line);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(spans.size()));
}
BENCHMARK(BM_MidOfEachLine);

void BM_TrimEachLine(benchmark::State& state)
{
    const CString& text = LessonText();
    std::vector<CString> lines;
    for (const LineSpan& span : LineSpans(text))
        lines.push_back(text.Mid(span.start, span.length));
    for (auto _ : state) {
        for (const CString& line : lines) {
            CString trimmed = line;
            trimmed.Trim();
            benchmark::DoNotOptimize(trimmed);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_TrimEachLine);

} // namespace

BENCHMARK_MAIN();
