#include "lesson/core/wordreferences.h"

#include <cstdlib>

#include "platform/file.h"
#include "platform/sqlitedb.h"

std::vector<CString> ParseReferenceList(const CString& list)
{
    std::vector<CString> items;
    CString rest = list;
    rest.Trim();
    while (rest.GetLength() >= 2 && rest.Find('(') >= 0) {
        const int open = rest.Find('(');
        const int close = rest.Find(')', open);
        if (close < 0)
            break;   // an unclosed item ends the list
        CString item = rest.Mid(open + 1, close - open - 1);
        item.Trim();
        if (item.GetLength() > 1)
            items.push_back(item);
        rest = rest.Mid(close + 1);
        rest.Trim();
    }
    return items;
}

SWordReference SplitReference(const CString& item)
{
    SWordReference reference;
    const int first = item.Find(':');
    const int last = item.ReverseFind(':');
    if (first < 0) {
        reference.text = item;
        return reference;
    }
    reference.text = item.Left(first);
    if (last > first) {
        reference.sentence = std::atoi(item.Mid(first + 1, last - first - 1).GetString());
        reference.offset = std::atoi(item.Mid(last + 1).GetString());
    } else {
        reference.sentence = std::atoi(item.Mid(first + 1).GetString());
    }
    return reference;
}

namespace {

bool OpenLesson(CSqliteDb& db, const CString& path)
{
    return IsRegularFile(path) && db.Open(path, CSqliteDb::ReadOnlyLimited);
}

void AddReferences(const char* list, std::vector<SWordReference>& references)
{
    for (const CString& item : ParseReferenceList(list ? list : ""))
        references.push_back(SplitReference(item));
}

} // namespace

// Lesson files written by other tools store the words as BLOBs, which never
// equal a bound text: the column is compared as text, and read as text.
bool ReadWordReferences(const CString& lessonPath, const std::vector<CString>& words,
                        std::vector<SWordReference>& references)
{
    CSqliteDb db;
    if (!OpenLesson(db, lessonPath))
        return false;
    for (const CString& word : words) {
        SQueryResult result;
        if (db.Query("select * from wordlist where cast(stroriginalword as text) = ?", {word}, result) && result.nRow > 0 &&
            result.nColumn > 1)
            AddReferences(result.GetCell(0, 1), references);
    }
    return true;
}

bool ReadPhraseReferences(const CString& lessonPath, std::vector<SWordReference>& references)
{
    CSqliteDb db;
    if (!OpenLesson(db, lessonPath))
        return false;
    SQueryResult result;
    if (!db.Query("select * from phaselist", {}, result))
        return true;   // a lesson without phrases
    for (int row = 0; row < result.nRow; ++row) {
        if (result.nColumn > 1)
            AddReferences(result.GetCell(row, 1), references);
    }
    return true;
}

bool ReadPhraseReferences(const CString& lessonPath, const CString& phrase, std::vector<SWordReference>& references)
{
    CSqliteDb db;
    if (!OpenLesson(db, lessonPath))
        return false;
    SQueryResult result;
    if (db.Query("select * from phaselist where cast(stroriginalphase as text) = ?", {phrase}, result) && result.nRow > 0 &&
        result.nColumn > 1)
        AddReferences(result.GetCell(0, 1), references);
    return true;
}
