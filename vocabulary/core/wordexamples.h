// Example sentences of a word or phrase in the current lesson, for the word
// book: each occurrence becomes a numbered line with the sentence, the line
// before it when that one does not end a sentence and the line after it when
// this one does not, together with the Chinese text, the sentences it spans
// (for the clip played with it) and where the word stands in the line.
#pragma once

#include <vector>

#include "lesson/core/wordreferences.h"
#include "vocabulary/core/mediaclip.h"
#include "platform/cstring.h"
#include "core/sentencemodel.h"

// True when the text ends a sentence: its last character is . ! ? ; or ),
// or a double quote that no comma stands before.
bool EndsSentence(const CString& text);

// Occurrences of a word in lesson texts that have no stored references (a
// lesson loaded from a subtitle file): in each sentence the first place where
// the text begins with the word, or where a blank stands before it. The
// match is case-sensitive and also finds longer words that begin with it.
std::vector<SWordReference> FindWordInLessonText(const CString& word, const CStringArray& english);

// The stored references of a word (wordlist) or of a phrase (phaselist) in a
// lesson file, the word as stored ("'" as "*"). False when the file cannot
// be read.
bool ReadExampleReferences(const CString& lessonPath, const CString& text, bool phrase,
                           std::vector<SWordReference>& references);

struct SWordExample {
    CString line;       // "N." and the English text, without a line break
    CString chinese;    // the Chinese texts of the same sentences
    CString source;     // the lesson file the reference came from
    int firstSentence = 0;
    int lastSentence = 0;
    int markStart = 0;  // the word inside `line`, in bytes
    int markEnd = 0;
};

class CWordExampleList {
public:
    static constexpr int kMaxExamples = 100;

    // Adds the example of one reference. Nothing is added for a sentence
    // outside the lesson, for the same text as the example added last (a word
    // twice in one sentence) or once the list holds kMaxExamples.
    bool Add(const SWordReference& reference, const CStringArray& english, const CStringArray& chinese,
             const CString& source);
    bool IsFull() const { return static_cast<int>(m_examples.size()) >= kMaxExamples; }
    const std::vector<SWordExample>& Examples() const { return m_examples; }
    // The example list's text: every line followed by a line break.
    CString Text() const;
    // Where line `index` starts in Text(), in bytes.
    int LineStart(int index) const;

private:
    std::vector<SWordExample> m_examples;
    CString m_strLastExample;
};

// The stretch of media played for sentences first..last (see ClipAround).
// False when a sentence lies outside the timing table.
bool SentenceClip(const std::vector<SSentenceTiming>& timings, int first, int last, int repeatMargin,
                  int timeOffset, SClip& clip);
