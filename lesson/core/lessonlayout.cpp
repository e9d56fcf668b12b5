#include "lesson/core/lessonlayout.h"

#include <algorithm>

namespace {

constexpr int kParagraphIndent = 4;
// A paragraph runs on for more than this many sentences.
constexpr int kSentencesPerParagraph = 20;

// A line as one run of text: each character of its line end becomes a
// blank, so the sentence keeps its length and its "script" range.
CString Flattened(const CString& line)
{
    CString flat = line;
    flat.Replace("\r", " ");
    flat.Replace("\n", " ");
    return flat;
}

} // namespace

SLayoutText BuildLayoutText(const CString& layout, const CStringArray& english, const CStringArray& chinese)
{
    SLayoutText result;
    const int count = english.GetSize();
    result.corrections.assign(static_cast<size_t>(count), 0);
    if (layout == "script") {
        for (int i = 0; i < count; ++i)
            result.text += english[i];
    } else if (layout == "para") {
        int correction = 0;
        int linesInParagraph = 0;
        for (int i = 0; i < count; ++i) {
            CString line = Flattened(english[i]);
            if (i == 0) {
                line = CString("    ") + line;
                correction = kParagraphIndent;
            }
            ++linesInParagraph;
            const char first = line.IsEmpty() ? '\0' : line[0];
            if (linesInParagraph > kSentencesPerParagraph && first >= 'A' && first <= 'Z') {
                result.text += "\n";
                line = CString("    ") + line;
                linesInParagraph = 0;
                correction += kParagraphIndent + 1;
            }
            result.corrections[static_cast<size_t>(i)] = correction;
            result.text += line;
        }
    } else if (layout == "engchn") {
        const int pairs = std::min(count, chinese.GetSize());
        for (int i = 0; i < pairs; ++i)
            result.text += Flattened(english[i]) + "\n" + Flattened(chinese[i]) + "\n";
    }
    return result;
}
