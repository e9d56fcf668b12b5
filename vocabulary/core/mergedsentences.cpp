#include "vocabulary/core/mergedsentences.h"

#include <string_view>

namespace {

// Lines this long are cut in the middle of a sentence by the subtitle maker;
// a sentence that has grown past them is closed before the next long line.
constexpr int kLongSentence = 100;
constexpr int kLongNextLine = 30;
constexpr int kFairlyLongSentence = 80;
constexpr int kFairlyLongNextLine = 50;

// The search for a word leaves out the first characters of the merged text.
constexpr int kUnsearchedChars = 5;

CString LineAt(const std::vector<CString>& lines, size_t index)
{
    if (index >= lines.size())
        return CString();
    // Whatever the line end ("\n", "\r\n" or "\r"): a carriage return left in
    // would hide the sentence mark before it.
    return WithoutLineBreaks(lines[index]);
}

// The marks tested here are ASCII bytes that never stand inside a GB18030
// character (its trail bytes are 0x30-0x39 and 0x40-0xFE), so looking at the
// last bytes is looking at the last characters.
bool EndsWithStop(const CString& text)
{
    if (text.IsEmpty())
        return false;
    const char last = text[text.GetLength() - 1];
    return last == '.' || last == '!' || last == '?';
}

bool EndsWithClosingQuote(const CString& text)
{
    const int length = text.GetLength();
    return length > 0 && text[length - 1] == '"' && (length < 2 || text[length - 2] != ',');
}

bool EndsSentence(const CString& joined, const CString& line, const CString& next)
{
    if (EndsWithStop(line) || EndsWithClosingQuote(line))
        return true;
    if (joined.GetLength() > kLongSentence && next.GetLength() > kLongNextLine && !EndsWithStop(next))
        return true;
    return joined.GetLength() > kFairlyLongSentence && next.GetLength() > kFairlyLongNextLine;
}

bool IsWordByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether the character at pos (of byte length len) is part of a word; a
// Chinese character or the text's end is not.
bool IsWordChar(std::string_view text, size_t pos, int len)
{
    return len == 1 && IsWordByte(text[pos]);
}

} // namespace

std::vector<SMergedSentence> MergeSentences(const std::vector<CString>& english, const std::vector<CString>& chinese,
                                            const std::vector<std::pair<int, int>>& timesMs)
{
    const auto times = [&](size_t index) { return index < timesMs.size() ? timesMs[index] : std::pair<int, int>(); };
    std::vector<SMergedSentence> merged;
    SMergedSentence current;
    bool started = false;
    for (size_t i = 0; i < english.size(); ++i) {
        const CString line = LineAt(english, i);
        if (!started) {
            current.startMs = times(i).first;
            started = true;
        }
        const bool ends = EndsSentence(current.english + line, line, LineAt(english, i + 1));
        current.english += " " + line;
        current.chinese += " " + LineAt(chinese, i);
        if (ends) {
            current.endMs = times(i).second;
            merged.push_back(current);
            current = SMergedSentence();
            started = false;
        }
    }
    return merged;
}

CString MergedEnglishText(const std::vector<SMergedSentence>& merged)
{
    std::string text;
    for (const SMergedSentence& sentence : merged) {
        text += sentence.english.str();
        text += '\n';
    }
    return CString(std::move(text));
}

std::vector<int> FindWordLines(const std::vector<SMergedSentence>& merged, const CString& word)
{
    return FindWordLinesInText(MergedEnglishText(merged), word);
}

std::vector<int> FindWordLinesInText(const CString& mergedText, const CString& word)
{
    std::vector<int> lines;
    if (word.IsEmpty())
        return lines;
    // Lower-casing changes ASCII letters only, so byte positions stay.
    CString lowerText = mergedText;
    lowerText.MakeLower();
    CString lowerWord = word;
    lowerWord.MakeLower();
    const std::string_view text = lowerText.view();
    const std::string_view wanted = lowerWord.view();

    int line = 0;
    int chars = 0;
    size_t resume = 0;            // no match starts before this byte
    bool afterWordChar = false;   // the character before pos is part of a word
    for (size_t pos = 0; pos < text.size();) {
        const int length = CharLengthAt(text, pos);
        if (chars >= kUnsearchedChars && pos >= resume && !afterWordChar && text.compare(pos, wanted.size(), wanted) == 0) {
            const size_t end = pos + wanted.size();
            const int after = CharLengthAt(text, end);
            if (!IsWordChar(text, end, after)) {
                lines.push_back(line);
                resume = end + static_cast<size_t>(after);   // the search goes on past the next character
            }
        }
        if (text[pos] == '\n')
            ++line;
        afterWordChar = IsWordChar(text, pos, length);
        pos += static_cast<size_t>(length);
        ++chars;
    }
    return lines;
}
