#include "catalogue/core/timetext.h"

#include "catalogue/core/exporttext.h"
#include "catalogue/core/talkfiles.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "vocabulary/core/wordlookup.h"

namespace {

constexpr int64_t kLargestLrcMinutes = 99;

CString SrtPathOf(const CString& scriptPath)
{
    const CString name = FileNamePart(scriptPath);
    const CString extension = ".script";
    const int stemLength = name.GetLength() - extension.GetLength();
    const CString stem = stemLength > 0 && name.Right(extension.GetLength()) == extension ? name.Left(stemLength) : name;
    return FolderPart(scriptPath) + stem + ".srt";
}

// The Chinese text of a sentence; "tmpchntxt" stands for "no translation".
CString ChineseText(const CString& stored)
{
    const CString chinese = OnOneLine(ToShownWordForm(stored));
    return chinese == "tmpchntxt" ? CString() : chinese;
}

CString EntryText(const SQueryResult& result, int row, ESrtText text)
{
    const CString english = OnOneLine(ToShownWordForm(result.CellText(row, 3)));
    const CString chinese = ChineseText(result.CellText(row, 4));
    switch (text) {
    case ESrtText::Foreign:
        return english;
    case ESrtText::Chinese:
        return chinese;
    case ESrtText::Both:
        break;
    }
    return english + chinese;
}

} // namespace

CString FormatLrcTime(const CString& milliseconds)
{
    const int64_t t = LeadingWholeNumber(milliseconds);
    const int64_t seconds = t / 1000;
    if (seconds / 60 > kLargestLrcMinutes)
        return "[99:59.999]";
    CString text;
    text.Format("[%02lld:%02lld.%03lld]", static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60),
                static_cast<long long>(t % 1000));
    return text;
}

CString FormatSrtTime(const CString& milliseconds)
{
    const int64_t t = LeadingWholeNumber(milliseconds);
    const int64_t seconds = t / 1000;
    CString text;
    text.Format("%02lld:%02lld:%02lld,%03lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                static_cast<long long>(t % 1000));
    return text;
}

bool ScriptToSrt(const CString& scriptPath, ESrtText text)
{
    // Lesson scripts come from outside: read-only, with bounds on every query.
    CSqliteDb db;
    SQueryResult result;
    if (!db.Open(scriptPath, CSqliteDb::ReadOnlyLimited) ||
        !db.Query("select linecnt,starttime,endtime,fgntxt,chntxt from tablename", {}, result))
        return false;
    db.Close();

    // Players and the program's own loader need the blank line that ends
    // each entry.
    CString srt;
    for (int row = 0; row < result.nRow; ++row) {
        srt += result.CellText(row, 0) + "\n";
        srt += FormatSrtTime(result.CellText(row, 1)) + " --> " + FormatSrtTime(result.CellText(row, 2)) + "\n";
        srt += EntryText(result, row, text) + "\n\n";
    }
    return WriteFileAtomically(SrtPathOf(scriptPath), TextModeBytes(srt));
}
