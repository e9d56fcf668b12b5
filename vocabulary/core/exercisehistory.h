// The record of submitted exercises (table EXERCISEHISTORY of the exercise
// database) and the scoring of one submission. One row per submission: its
// time, media, number of questions and score, and the first question's
// texts. Every value is bound, so an apostrophe in a media name or an
// answer keeps its row.
#pragma once

#include <ctime>
#include <vector>

#include "platform/cstring.h"

// The question buttons of the exercise window: questions beyond them are
// neither shown nor scored.
constexpr int kMaxScoredQuestions = 60;

struct SExerciseScore {
    int questions = 0;   // scored questions (at most kMaxScoredQuestions)
    int correct = 0;     // answers equal to their keyword, byte for byte
    int percent = 0;     // correct * 100 / questions; 0 without questions
};

// Scores the answers against the keywords (answers beyond the keywords, and
// missing ones, count as wrong).
SExerciseScore ScoreExercise(const std::vector<CString>& keywords, const std::vector<CString>& answers);

// "2013-5-7  9:5:3": the numbers without leading zeros, two blanks between
// the date and the time.
CString ExerciseTimeText(const std::tm& when);

struct SExerciseRecord {
    CString time;
    CString mediaName;
    CString mediaPath;
    CString level;       // the edition label ("" when none)
    CString english;     // the first question's sentence
    CString chinese;     // the first question's Chinese text
    CString answer;      // the first question's keyword
    CString myAnswer;    // the learner's answer to it
    CString score;       // the percentage, without "%"
    int questions = 0;
};

// Appends a row numbered one past the largest so far, creating the database
// and the table when missing. A record without questions is not written.
// False when nothing could be written.
bool AppendExerciseHistory(const CString& exerciseDb, const SExerciseRecord& record);

struct SExerciseHistoryRow {
    CString linecnt;
    CString mediaName;   // with its apostrophes
    CString time;
    CString questions;
    CString score;
};

// The rows ascending by media name (the order the history list shows);
// empty when the database or the table is missing.
std::vector<SExerciseHistoryRow> ReadExerciseHistory(const CString& exerciseDb);
// Deletes the row with this number; false when the database cannot be opened.
bool DeleteExerciseHistoryRow(const CString& exerciseDb, const CString& linecnt);
