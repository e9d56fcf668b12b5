#include "vocabulary/core/wordexamples.h"

#include <algorithm>


bool EndsSentence(const CString& text)
{
    const int length = text.GetLength();
    if (length == 0)
        return false;
    const char last = text[length - 1];
    if (last == '"')
        return length < 2 || text[length - 2] != ',';
    return last == '.' || last == '!' || last == '?' || last == ';' || last == ')';
}

std::vector<SWordReference> FindWordInLessonText(const CString& word, const CStringArray& english)
{
    std::vector<SWordReference> references;
    if (word.IsEmpty())
        return references;
    const CString afterBlank = " " + word;
    for (int i = 0; i < english.GetSize(); ++i) {
        const CString& text = english[i];
        if (text.Find(word) == 0) {
            references.push_back({word, i, 0});
            continue;
        }
        const int blank = text.Find(afterBlank);
        if (blank > 0)
            references.push_back({word, i, blank + 1});
    }
    return references;
}

bool ReadExampleReferences(const CString& lessonPath, const CString& text, bool phrase,
                           std::vector<SWordReference>& references)
{
    // A lesson without a word table has no examples to give.
    return phrase ? ReadPhraseReferences(lessonPath, text, references)
                  : ReadWordReferences(lessonPath, {text}, references) != ELessonTableRead::Unreadable;
}

namespace {

CString LineAt(const CStringArray& texts, int index)
{
    if (index < 0 || index >= texts.GetSize())
        return CString();
    return WithoutLineBreaks(texts[index]);
}

} // namespace

bool CWordExampleList::Add(const SWordReference& reference, const CStringArray& english,
                           const CStringArray& chinese, const CString& source)
{
    const int n = reference.sentence;
    if (IsFull() || n < 0 || n >= english.GetSize())
        return false;
    SWordExample example;
    example.firstSentence = example.lastSentence = n;
    const CString sentence = LineAt(english, n);
    CString next;
    CString nextChinese;
    if (n + 1 < english.GetSize() && !EndsSentence(sentence)) {
        next = LineAt(english, n + 1);
        nextChinese = LineAt(chinese, n + 1);
        example.lastSentence = n + 1;
    }
    CString before;
    CString beforeChinese;
    if (n > 0) {
        before = LineAt(english, n - 1);
        beforeChinese = LineAt(chinese, n - 1);
        if (EndsSentence(before)) {
            before.Empty();
            beforeChinese.Empty();
        } else {
            example.firstSentence = n - 1;
        }
    }
    CString text;
    CString chineseText;
    if (before.GetLength() > 1) {
        text = before + " ";
        chineseText = beforeChinese + " ";
    }
    const int wordStart = std::clamp(reference.offset, 0, sentence.GetLength()) + text.GetLength();
    text += sentence + " ";
    chineseText += LineAt(chinese, n) + " ";
    if (next.GetLength() > 1) {
        text += next + " ";
        chineseText += nextChinese + " ";
    }
    // Each reference of a word that stands twice in a sentence gives the
    // same example: it is listed once.
    if (text == m_strLastExample)
        return false;
    m_strLastExample = text;

    CString number;
    number.Format("%d.", static_cast<int>(m_examples.size()) + 1);
    example.line = number + text;
    example.chinese = chineseText;
    example.source = source;
    example.markStart = number.GetLength() + wordStart;
    example.markEnd = std::min(example.markStart + reference.text.GetLength(), example.line.GetLength());
    m_examples.push_back(example);
    return true;
}

CString CWordExampleList::Text() const
{
    CString text;
    for (const SWordExample& example : m_examples)
        text += example.line + "\n";
    return text;
}

int CWordExampleList::LineStart(int index) const
{
    int start = 0;
    for (int i = 0; i < index && i < static_cast<int>(m_examples.size()); ++i)
        start += m_examples[static_cast<size_t>(i)].line.GetLength() + 1;
    return start;
}

bool SentenceClip(const std::vector<SSentenceTiming>& timings, int first, int last, int repeatMargin,
                  int timeOffset, SClip& clip)
{
    const int count = static_cast<int>(timings.size());
    if (first < 0 || last < first || last >= count)
        return false;
    clip = ClipAround(timings[static_cast<size_t>(first)].starttime, timings[static_cast<size_t>(last)].endtime,
                      repeatMargin, timeOffset);
    return true;
}
