// The fill-in-the-blank exercise on the loaded lesson: the word forms of the
// new-word book that the lesson uses, the sentences they stand in (stored in
// table EXERCISE of the exercise database, one row per form), and the
// questions read back from that table: a sentence with the form blanked, its
// Chinese text and its clip on the media's time line.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/cstring.h"
#include "vocabulary/core/mergedsentences.h"

// The word forms to ask for, in order. For a lesson file (its path holds
// ".script" after the first character): for each word of the new-word book,
// the forms its references in the lesson's word list give ("took" and
// "taken" for "take"). For a subtitle file: each word of the book that equals
// a word of the unit's list (byte for byte). An absent book counts as empty;
// nothing when the book or the lesson file cannot be read.
std::optional<std::vector<CString>> ExerciseCandidates(const CString& wordBookPath, const CString& lessonPath,
                                                       const std::vector<CString>& unitWords);

// Makes table EXERCISE of the exercise database anew: one row per candidate
// (trimmed, longer than one byte) whose first occurrence lies in a merged
// sentence after the first, keyed by the form, with the indexes of its first
// six occurrences (0 where there are fewer). A form given twice keeps its
// first row. `progress` (may be empty) hears (i, n) before candidate i of n
// is stored. False, with the table as it was, when the database cannot be
// opened or the table not made; the database is never created here.
bool BuildExerciseTable(const CString& exerciseDb, const std::vector<CString>& candidates,
                        const std::vector<SMergedSentence>& merged,
                        const std::function<void(int done, int total)>& progress);

// The text of the progress bar while the table is built: the percentage done,
// with a warning that the program may be slow when there are many candidates.
CString ExerciseProgressText(int done, int total);

struct SExerciseQuestion {
    CString keyword;    // the form that was blanked: the right answer
    CString question;   // the English sentence, every occurrence of the form as "(      )"
    CString chinese;
    int clipStartMs = 0;   // the merged sentence's time range, as stored
    int clipEndMs = 0;
};

// The questions of table EXERCISE, in the order the rows were stored. A row
// gives a question when its first sentence exists among `merged` (a table left
// from another lesson may point past them) and holds the form in the exact
// case; the sentence's own parentheses become blanks so that the blank is the
// only parenthesised text. The form is blanked wherever it stands, inside
// longer words too. Empty when the database or the table cannot be read.
std::vector<SExerciseQuestion> LoadExercises(const CString& exerciseDb, const std::vector<SMergedSentence>& merged);
