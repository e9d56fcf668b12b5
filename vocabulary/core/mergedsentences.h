// The lesson's subtitle lines joined into whole sentences for the
// fill-in-the-blank exercise, and the search for a word in them. A question is
// one merged sentence, so a line cut in the middle of a sentence still gives a
// question that reads as a sentence and a clip that plays all of it.
#pragma once

#include <utility>
#include <vector>

#include "platform/cstring.h"

struct SMergedSentence {
    CString english;   // " " before every joined line: " Hello there, how are you?"
    CString chinese;   // the lines' Chinese texts joined the same way
    int startMs = 0;   // start of its first line, as the sentence model holds it
    int endMs = 0;     // end of its last line
};

// Joins subtitle lines (English, Chinese and their start and end times, one
// entry per line) into sentences. A line ends a sentence when its English text
// ends with ".", "!" or "?", or with a double quote that does not follow a
// comma (a quote closed after a comma goes on: "Yes," she said), or when the
// sentence has grown long and the next line is long too (more than 100 bytes
// with a next line of more than 30 that does not end a sentence itself, or
// more than 80 with a next line of more than 50). An empty English line ends a
// sentence only by length. Line breaks inside a line are removed. Lines after
// the last sentence end belong to no sentence: they are dropped. A missing
// Chinese text or time reads as empty or 0.
std::vector<SMergedSentence> MergeSentences(const std::vector<CString>& english, const std::vector<CString>& chinese,
                                            const std::vector<std::pair<int, int>>& timesMs);

// The English texts, each followed by "\n": line i of the text is sentence i.
CString MergedEnglishText(const std::vector<SMergedSentence>& merged);

// The sentence index of every occurrence of the word in the merged English
// text, in text order (a sentence that holds the word twice is listed twice).
// The word matches whole words only and ignores the case of ASCII letters.
// The search starts at the text's sixth character, so an occurrence at the
// very start of sentence 0 is not found.
std::vector<int> FindWordLines(const std::vector<SMergedSentence>& merged, const CString& word);
// The same on a text made by MergedEnglishText, for many words in a row.
std::vector<int> FindWordLinesInText(const CString& mergedText, const CString& word);
