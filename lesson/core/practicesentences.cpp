#include "lesson/core/practicesentences.h"

#include <string>
#include <string_view>

namespace {

// Whether the line ends a spoken sentence.
bool EndsSentence(const CString& line)
{
    if (line.IsEmpty())
        return false;
    const char last = line[line.GetLength() - 1];
    return last == '.' || last == '!' || last == '?' || last == '"';
}

// A line's length as though it ended in "\n": a line end of carriage
// returns and a line feed ("\r\n", or "\r\r\n" of a file converted twice)
// counts as one character, as every lone "\r" does.
int LengthAsLfLine(const CString& text)
{
    const std::string_view bytes = text.view();
    int length = 0;
    for (size_t pos = 0; pos < bytes.size(); ++pos) {
        ++length;
        if (bytes[pos] != '\r')
            continue;
        size_t returns = pos;
        while (returns < bytes.size() && bytes[returns] == '\r')
            ++returns;
        if (returns < bytes.size() && bytes[returns] == '\n') {
            pos = returns;
        } else {
            length += static_cast<int>(returns - pos) - 1;
            pos = returns - 1;
        }
    }
    return length;
}

} // namespace

std::vector<SPracticeSentence> BuildPracticeSentences(const CStringArray& english, const CStringArray& chinese,
                                                      const std::vector<SSentenceTiming>& timing, int timeOffset,
                                                      int repeatMargin)
{
    std::vector<SPracticeSentence> sentences;
    const int64_t margin = 5 * static_cast<int64_t>(repeatMargin);
    const auto timingOf = [&](int i) { return i < static_cast<int>(timing.size()) ? timing[static_cast<size_t>(i)] : SSentenceTiming{}; };
    SPracticeSentence open;
    // The next line's length; the last line keeps the value its predecessor
    // found (its own length).
    int nextLength = 0;
    const int count = english.GetSize();
    for (int i = 0; i < count; ++i) {
        // Lines made on another system end in "\r\n" or "\r": a carriage return
        // left in would stand after the sentence mark and break the view's line.
        const CString line = WithoutLineBreaks(english[i]);
        const CString lineChinese = i < chinese.GetSize() ? WithoutLineBreaks(chinese[i]) : CString();
        if (open.english.IsEmpty())
            open.start = MediaTime(timingOf(i).starttime + static_cast<int64_t>(timeOffset) - margin);
        if (i + 1 < count)
            nextLength = LengthAsLfLine(english[i + 1]);
        const int sofar = open.english.GetLength();
        const bool closes = EndsSentence(line) || (sofar > 60 && nextLength > 20) || sofar > 80;
        open.english += " " + line;
        open.chinese += " " + lineChinese;
        if (closes) {
            open.end = MediaTime(timingOf(i).endtime + static_cast<int64_t>(timeOffset) + margin);
            sentences.push_back(open);
            open = SPracticeSentence{};
        }
    }
    // Subtitle lessons often end without a mark: the closing lines are the
    // last sentence, up to the end of the last line.
    if (!open.english.IsEmpty()) {
        open.end = MediaTime(timingOf(count - 1).endtime + static_cast<int64_t>(timeOffset) + margin);
        sentences.push_back(open);
    }
    return sentences;
}

CString FormatPracticeText(const std::vector<SPracticeSentence>& sentences)
{
    std::string text;
    for (size_t k = 0; k < sentences.size(); ++k) {
        text += std::to_string(k + 1);
        text += '.';
        text += sentences[k].english.str();
        text += '\n';
    }
    return CString(std::move(text));
}

CString RolePlayRecordingPath(const CString& recordPath, int sentence)
{
    const int slash = recordPath.ReverseFind('/');
    const CString folder = recordPath.Left(slash + 1);
    CString name = recordPath.Mid(slash + 1);
    name.Replace("record", std::to_string(sentence).c_str());
    return folder + name;
}
