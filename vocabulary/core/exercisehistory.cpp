#include "vocabulary/core/exercisehistory.h"

#include <algorithm>

#include "platform/sqlitedb.h"

namespace {

constexpr const char* kCreateHistory =
    "create table if not exists EXERCISEHISTORY( linecnt integer, strtime text, strvedioname text, "
    "strvediopath text, strlervel text, strengtxt text, strchntxt text, stranswer text, strmyanswer text, "
    "strscore text, exernum integer, tmpstr1 text, tmpstr2 text );";

// Stored texts write an apostrophe as "*".
CString Stored(CString text)
{
    text.Replace("'", "*");
    return text;
}

} // namespace

SExerciseScore ScoreExercise(const std::vector<CString>& keywords, const std::vector<CString>& answers)
{
    SExerciseScore score;
    score.questions = std::min(static_cast<int>(keywords.size()), kMaxScoredQuestions);
    for (int i = 0; i < score.questions; ++i)
        if (i < static_cast<int>(answers.size()) && answers[i] == keywords[i])
            ++score.correct;
    score.percent = score.questions > 0 ? score.correct * 100 / score.questions : 0;
    return score;
}

CString ExerciseTimeText(const std::tm& when)
{
    CString text;
    text.Format("%d-%d-%d  %d:%d:%d", when.tm_year + 1900, when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min,
                when.tm_sec);
    return text;
}

bool AppendExerciseHistory(const CString& exerciseDb, const SExerciseRecord& record)
{
    if (record.questions < 1)
        return false;
    CSqliteDb db;
    if (!db.Open(exerciseDb, CSqliteDb::ReadWriteCreate) || !db.Exec(kCreateHistory))
        return false;
    SQueryResult last;
    int64_t base = 0;
    if (db.Query("select max(linecnt) from EXERCISEHISTORY;", {}, last) && last.GetCell(0, 0) != nullptr)
        base = std::strtoll(last.GetCell(0, 0), nullptr, 10);
    return db.Exec("insert into EXERCISEHISTORY values( ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '', '' );",
                   {CSqlValue(base + 1), record.time, record.mediaName, record.mediaPath, record.level,
                    Stored(record.english), Stored(record.chinese), record.answer, record.myAnswer, record.score,
                    CSqlValue(record.questions)});
}

std::vector<SExerciseHistoryRow> ReadExerciseHistory(const CString& exerciseDb)
{
    std::vector<SExerciseHistoryRow> rows;
    CSqliteDb db;
    SQueryResult result;
    if (!db.Open(exerciseDb, CSqliteDb::ReadOnly) ||
        !db.Query("select linecnt,strvedioname,strtime,exernum,strscore from EXERCISEHISTORY "
                  "order by strvedioname desc;",
                  {}, result))
        return rows;
    // The list shows each row above the ones before it: ascending by name.
    for (int row = result.nRow - 1; row >= 0; --row) {
        SExerciseHistoryRow entry;
        entry.linecnt = result.CellText(row, 0);
        entry.mediaName = result.CellText(row, 1);
        entry.mediaName.Replace("*", "'");
        entry.time = result.CellText(row, 2);
        entry.questions = result.CellText(row, 3);
        entry.score = result.CellText(row, 4);
        rows.push_back(entry);
    }
    return rows;
}

bool DeleteExerciseHistoryRow(const CString& exerciseDb, const CString& linecnt)
{
    CSqliteDb db;
    if (!db.Open(exerciseDb, CSqliteDb::ReadWrite))
        return false;
    CString number = linecnt;
    number.Trim();
    db.Exec("delete from EXERCISEHISTORY where linecnt = ?;", {number});
    return true;
}
