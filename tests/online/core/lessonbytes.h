// Lesson databases as the bytes a subtitle package holds, told apart by the
// English text of their first sentence.
#pragma once

#include <string>

#include "platform/cstring.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"

namespace testzip {

// A lesson database of one sentence whose English text is `english`; with
// `sentences` false, the table is there but empty (a blank lesson).
inline std::string LessonBytes(const std::string& english, bool sentences = true)
{
    testsupport::TempFolder temp;
    const CString path = temp.ansi() + "lesson.script";
    {
        CSqliteDb db;
        db.Open(path, CSqliteDb::ReadWriteCreate);
        db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, fgntxtlen int, "
                "chnstartpos int, chntxtlen int, fgntxt text, chntxt text );");
        if (sentences)
            db.Exec("insert into tablename values( 1, 0, 1000, 0, ?, 0, 0, ?, '' );",
                    {static_cast<int>(english.size()), CString(english)});
    }
    return testsupport::ReadBytes(temp.path() + "lesson.script");
}

// The English text of a lesson file's first sentence; "" when it has none or
// is no lesson database.
inline std::string FirstSentence(const CString& path)
{
    CSqliteDb db;
    SQueryResult result;
    if (!db.Open(path, CSqliteDb::ReadOnly) ||
        !db.Query("select fgntxt from tablename order by linecnt limit 1;", {}, result) || result.nRow == 0)
        return std::string();
    return result.CellText(0, 0).str();
}

} // namespace testzip
