#include "lesson/core/lessonlayout.h"

#include <algorithm>

namespace {

constexpr int kParagraphIndent = 4;
// A paragraph runs on for more than this many sentences.
constexpr int kSentencesPerParagraph = 20;

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
            // Line ends become blanks, so each sentence keeps its length
            // and its "script" range.
            CString line = LineBreaksAsBlanks(english[i]);
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
            result.text += LineBreaksAsBlanks(english[i]) + "\n" + LineBreaksAsBlanks(chinese[i]) + "\n";
    }
    return result;
}
