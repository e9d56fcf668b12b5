// Where words and phrases occur in a lesson: the lesson file's tables
// wordlist and phaselist give, in their second column, lists of references
// "(text:sentence:offset)": the text as it occurs, the sentence index and the
// character offset of the occurrence in that sentence's English text.
// Marking, the exercises and the word examples read them through here.
#pragma once

#include <vector>

#include "platform/cstring.h"

struct SWordReference {
    CString text;
    int sentence = 0;
    int offset = 0;   // characters from the sentence's start
};

// The items of a reference list: the text between each "(" and the first ")"
// after it, trimmed, when longer than one character. A "(" without a ")"
// ends the list.
std::vector<CString> ParseReferenceList(const CString& list);

// One item split at its first and last ":" (text, sentence, offset); digits
// that do not read as a number read as 0.
SWordReference SplitReference(const CString& item);

// What reading one of a lesson file's tables found.
enum class ELessonTableRead {
    Read,         // the table was read (it may list none of the words)
    NoTable,      // the lesson has no such table: a subtitle file, or a database without it
    Unreadable,   // the file is missing, cannot be opened, or its table cannot be read
};

// The references of the given words (as stored, "'" as "*") in the lesson
// file's wordlist, in the order of the words; a word listed in several rows
// takes the first. The file is opened read-only with limits.
ELessonTableRead ReadWordReferences(const CString& lessonPath, const std::vector<CString>& words,
                                    std::vector<SWordReference>& references);

// Every reference of the lesson file's phaselist, in the table's order.
ELessonTableRead ReadPhraseReferences(const CString& lessonPath, std::vector<SWordReference>& references);

// The references of one phrase (as stored) in the lesson file's phaselist.
bool ReadPhraseReferences(const CString& lessonPath, const CString& phrase, std::vector<SWordReference>& references);
