// The word lists the word book view shows, read without a window: the
// new-word book, the three lists of the shipped word-list database, the
// words and phrases of the current lesson, the book's words of the lesson
// and a random group of the book. Entries keep the stored form ("'" as "*");
// ShownListText turns them into the text the learner reads.
#pragma once

#include <functional>
#include <vector>

#include "platform/cstring.h"

class CStringArray;

// The lists of the shipped word-list database ("AppData/BasicDict/MASTER.script").
enum class EShippedList {
    Outline,           // outlineword: the syllabus words
    RealExamWords,     // realexamword: words of past examinations
    RealExamPhrases,   // realexamphase: common phrases
};

// The new-word book's words, alphabetical, each longer than one character
// (trimmed). A missing book is an empty list; false when it cannot be read.
bool ReadBookList(const CString& bookPath, std::vector<CString>& entries);

// One list of the word-list database, alphabetical, entries longer than one
// character. False when the file is missing or cannot be read (the list is
// then left as it was).
bool ReadShippedList(const CString& masterPath, EShippedList list, std::vector<CString>& entries);

// The words of a word list the lesson text is marked with, by its keyword:
// "MYWORD" the new-word book, "MASTER" the syllabus words of the shipped
// word-list database (appDir + kShippedWordListPath). The other examination
// lists ("CET4", "CET6", "DOCTOR", "ZHUN4", "ZHUN8", "TOEFL", "IELTS",
// "GRE") are not shipped. Words come with "'" for the stored "*".
enum class EMarkListRead {
    Read,          // `words` holds the list (possibly empty)
    NotShipped,    // the program has no such list
    Unreadable,    // its database cannot be read
};
constexpr const char* kShippedWordListPath = "AppData/BasicDict/MASTER.script";
EMarkListRead ReadMarkList(const CString& keyword, const CString& appDir, const CString& bookPath,
                           std::vector<CString>& words);

// The words of a lesson file's wordlist, alphabetical: longer than two
// characters and without a digit. The file comes from outside and is opened
// with limits. False when it cannot be read.
bool ReadLessonWords(const CString& lessonPath, std::vector<CString>& entries);

// The phrases of a lesson file's phaselist in the table's order, entries
// longer than one character. False when it cannot be read.
bool ReadLessonPhrases(const CString& lessonPath, std::vector<CString>& entries);

// The tokens of one sentence: the text with line breaks and the marks
// . , ; ! : ? " [ ] ( ) and “ as blanks, cut at blanks; a token is kept when
// longer than one character and free of "'" and "’".
std::vector<CString> SplitWords(const CString& text);

// The words of a lesson loaded from a subtitle file: the tokens of every
// sentence longer than two characters, each once (case-sensitive), in the
// order they first occur.
std::vector<CString> WordsOfSentences(const CStringArray& sentences);

// The book's words that are words of the unit, in the book's order, once for
// every time the unit lists the word.
std::vector<CString> BookWordsOfUnit(const std::vector<CString>& bookWords, const std::vector<CString>& unitWords);

// A group drawn from the book's words needs at least this many.
constexpr int kRandomGroupMinimum = 100;
constexpr int kRandomGroupSize = 50;
// Returns a non-negative pseudo-random number.
using RandomSource = std::function<unsigned()>;
// The source used when none is given: the same sequence every run.
RandomSource DefaultRandomSource();
// kRandomGroupSize words drawn from the words (a word can come twice); none
// when fewer than kRandomGroupMinimum words are given.
std::vector<CString> DrawRandomGroup(const std::vector<CString>& words, const RandomSource& random);

// The list as the learner reads it: one entry a line, each followed by "\n",
// "*" back to "'".
CString ShownListText(const std::vector<CString>& entries);

// The counter under the list: "  共N个" for a list just shown, "第L个/共N个"
// for the line L (1-based) clicked, "没有单词" for a click on no entry.
CString ListCounterText(int count);
CString ClickCounterText(int line, int count);

// The interval of the automatic word change chosen in the ribbon's edit
// ("1秒" ... "10秒"): milliseconds, 6000 when the text names none.
int WordIntervalFromText(const CString& text);
