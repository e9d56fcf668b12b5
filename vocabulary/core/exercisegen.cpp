#include "vocabulary/core/exercisegen.h"

#include <algorithm>
#include <cstdlib>

#include "lesson/core/wordreferences.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "vocabulary/core/wordbook.h"

namespace {

constexpr const char* kCreateExercise =
    "create table EXERCISE( strkeyword varchar(100) primary key, ikeyline1 int, ikeyline2 int, ikeyline3 int, "
    "ikeyline4 int, ikeyline5 int, ikeyline6 int )";
constexpr int kStoredOccurrences = 6;

// Past this many candidates the build takes long enough to say so.
constexpr int kManyCandidates = 200;

constexpr const char* kBlank = "(      )";

// The forms each word's references give, from a lesson file that comes from
// outside. A lesson without a word list has no forms; a file that is no
// database, or a query that fails on the way, cannot be read.
bool AddLessonForms(const CString& lessonPath, const std::vector<CString>& words, std::vector<CString>& forms)
{
    CSqliteDb db;
    SQueryResult table;
    if (!IsRegularFile(lessonPath) || !db.Open(lessonPath, CSqliteDb::ReadOnlyLimited) ||
        !db.Query("select 1 from sqlite_master where type in ('table', 'view') and name = ?", {"wordlist"}, table))
        return false;
    if (table.nRow == 0)
        return true;
    for (const CString& word : words) {
        SQueryResult row;
        if (!db.Query("select * from wordlist where cast(stroriginalword as text) = ?", {word}, row))
            return false;
        if (row.nRow == 0 || row.nColumn < 2)
            continue;
        for (const CString& item : ParseReferenceList(row.CellText(0, 1)))
            forms.push_back(SplitReference(item).text);
    }
    return true;
}

} // namespace

std::optional<std::vector<CString>> ExerciseCandidates(const CString& wordBookPath, const CString& lessonPath,
                                                       const std::vector<CString>& unitWords)
{
    std::vector<CString> bookWords;
    if (!ReadWordBook(wordBookPath, bookWords))
        return std::nullopt;
    std::vector<CString> candidates;
    if (lessonPath.Find(".script") > 0) {
        if (!AddLessonForms(lessonPath, bookWords, candidates))
            return std::nullopt;
    } else {
        for (const CString& word : bookWords) {
            if (std::find(unitWords.begin(), unitWords.end(), word) != unitWords.end())
                candidates.push_back(word);
        }
    }
    return candidates;
}

bool BuildExerciseTable(const CString& exerciseDb, const std::vector<CString>& candidates,
                        const std::vector<SMergedSentence>& merged,
                        const std::function<void(int done, int total)>& progress)
{
    CSqliteDb db;
    if (!IsRegularFile(exerciseDb) || !db.Open(exerciseDb, CSqliteDb::ReadWrite) || !db.Begin())
        return false;
    db.Exec("drop table if exists EXERCISE");
    if (!db.Exec(kCreateExercise)) {
        db.Rollback();
        return false;
    }
    const CString text = MergedEnglishText(merged);
    const int total = static_cast<int>(candidates.size());
    for (int i = 0; i < total; ++i) {
        CString word = candidates[static_cast<size_t>(i)];
        word.Trim();
        std::vector<int> lines;
        if (word.GetLength() > 1)
            lines = FindWordLinesInText(text, word);
        if (progress)
            progress(i, total);
        // Index 0 stands for "no occurrence" in the table, so a form first
        // met in sentence 0 gets no row.
        if (lines.empty() || lines[0] <= 0)
            continue;
        SqlParams values{word};
        for (int k = 0; k < kStoredOccurrences; ++k)
            values.emplace_back(k < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(k)] : 0);
        if (!db.Exec("insert or ignore into EXERCISE values(?, ?, ?, ?, ?, ?, ?)", values)) {
            db.Rollback();
            return false;
        }
    }
    if (!db.Commit()) {
        db.Rollback();
        return false;
    }
    return true;
}

CString ExerciseProgressText(int done, int total)
{
    const int percent = total > 0 ? static_cast<int>(static_cast<long long>(done) * 100 / total) : 0;
    CString text;
    if (total > kManyCandidates)
        text.Format("数据量较大，程序可能暂时没有反应，请不要关闭程序......%d%%", percent);
    else
        text.Format("正在载入习题......%d%%", percent);
    return text;
}

std::vector<SExerciseQuestion> LoadExercises(const CString& exerciseDb, const std::vector<SMergedSentence>& merged)
{
    std::vector<SExerciseQuestion> questions;
    CSqliteDb db;
    SQueryResult rows;
    if (!IsRegularFile(exerciseDb) || !db.Open(exerciseDb, CSqliteDb::ReadOnly) ||
        !db.Query("select strkeyword, ikeyline1 from EXERCISE order by rowid", {}, rows))
        return questions;
    for (int row = 0; row < rows.nRow; ++row) {
        const CString keyword = rows.CellText(row, 0);
        const int line = std::atoi(rows.CellText(row, 1).GetString());
        if (keyword.IsEmpty() || line <= 0 || line >= static_cast<int>(merged.size()))
            continue;
        const SMergedSentence& sentence = merged[static_cast<size_t>(line)];
        SExerciseQuestion question;
        question.question = sentence.english;
        question.chinese = sentence.chinese;
        for (CString* text : {&question.question, &question.chinese}) {
            text->Replace('(', ' ');
            text->Replace(')', ' ');
        }
        if (question.question.Find(keyword) < 0)
            continue;   // found ignoring case, but this sentence has it in another case
        question.question.Replace(keyword, kBlank);
        question.keyword = keyword;
        question.clipStartMs = sentence.startMs;
        question.clipEndMs = sentence.endMs;
        questions.push_back(question);
    }
    return questions;
}
