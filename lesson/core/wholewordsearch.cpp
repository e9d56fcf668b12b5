#include "lesson/core/wholewordsearch.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

enum class ECharClass { Space, Word, Punctuation };

ECharClass ClassOf(unsigned char c)
{
    if (c >= 0x80 || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return ECharClass::Word;
    if (c <= ' ' || c == 0x7F)
        return ECharClass::Space;
    return ECharClass::Punctuation;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
    return lowered;
}

// The run of characters of one class that starts at pos.
size_t RunEnd(std::string_view text, size_t pos)
{
    const ECharClass cls = ClassOf(static_cast<unsigned char>(text[pos]));
    size_t end = pos + 1;
    while (end < text.size() && ClassOf(static_cast<unsigned char>(text[end])) == cls)
        ++end;
    return end;
}

bool StartsWord(std::string_view text, size_t pos)
{
    const ECharClass cls = ClassOf(static_cast<unsigned char>(text[pos]));
    return cls != ECharClass::Space && (pos == 0 || ClassOf(static_cast<unsigned char>(text[pos - 1])) != cls);
}

bool EndsWord(std::string_view text, size_t end)
{
    if (end >= text.size())
        return true;
    const ECharClass before = ClassOf(static_cast<unsigned char>(text[end - 1]));
    return before != ECharClass::Space && before != ClassOf(static_cast<unsigned char>(text[end]));
}

bool EqualsLowered(std::string_view text, std::string_view lowered)
{
    for (size_t i = 0; i < lowered.size(); ++i) {
        if (Lower(text[i]) != lowered[i])
            return false;
    }
    return true;
}

} // namespace

std::vector<STextRange> FindWholeWords(std::string_view text, const std::vector<std::string>& words)
{
    // The words by their first run of one character class, lower-cased: a
    // word can only start where the text has that run.
    std::vector<std::string> lowered;
    std::unordered_map<std::string, std::vector<size_t>> byFirstRun;
    std::unordered_set<std::string> seen;
    for (const std::string& word : words) {
        if (word.empty() || ClassOf(static_cast<unsigned char>(word.front())) == ECharClass::Space ||
            ClassOf(static_cast<unsigned char>(word.back())) == ECharClass::Space)
            continue;
        std::string low = Lowered(word);
        if (!seen.insert(low).second)
            continue;   // a word listed twice is found once
        byFirstRun[low.substr(0, RunEnd(low, 0))].push_back(lowered.size());
        lowered.push_back(std::move(low));
    }
    std::vector<STextRange> ranges;
    // Where each word's last occurrence ended: one word's occurrences do not overlap.
    std::vector<size_t> lastEnd(lowered.size(), 0);
    std::string run;
    for (size_t pos = 0; pos < text.size();) {
        const size_t runEnd = RunEnd(text, pos);
        if (StartsWord(text, pos)) {
            run = Lowered(text.substr(pos, runEnd - pos));
            const auto found = byFirstRun.find(run);
            if (found != byFirstRun.end()) {
                for (size_t k : found->second) {
                    const std::string& word = lowered[k];
                    const size_t end = pos + word.size();
                    if (pos < lastEnd[k] || end > text.size() || !EqualsLowered(text.substr(pos), word) ||
                        !EndsWord(text, end))
                        continue;
                    ranges.push_back({static_cast<int>(pos), static_cast<int>(end)});
                    lastEnd[k] = end;
                }
            }
        }
        pos = runEnd;
    }
    return ranges;
}
