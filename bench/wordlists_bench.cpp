// The words of a lesson whose whole text is one line, at growing lengths: the
// time must grow with the length, not with its square.
#include <string>

#include <benchmark/benchmark.h>

#include "platform/cstring.h"
#include "vocabulary/core/wordlists.h"

namespace {

CString OneLine(size_t bytes)
{
    std::string line;
    for (int i = 0; line.size() < bytes; ++i)
        line += "word" + std::to_string(i % 5000) + ", it's (said) “so”. ";
    return CString(line);
}

void BM_WordsOfOneLine(benchmark::State& state)
{
    CStringArray sentences;
    sentences.Add(OneLine(static_cast<size_t>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(WordsOfSentences(sentences));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_WordsOfOneLine)->RangeMultiplier(4)->Range(16 << 10, 1 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
