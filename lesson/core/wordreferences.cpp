#include "lesson/core/wordreferences.h"

#include <cstdlib>
#include <string_view>
#include <unordered_map>

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

// What a lesson file holds under `table`: no table (a subtitle file is no
// database at all) or a table that cannot be read.
ELessonTableRead TableProblem(CSqliteDb& db, const char* table)
{
    return db.ObjectType(table).IsEmpty() ? ELessonTableRead::NoTable : ELessonTableRead::Unreadable;
}

} // namespace

// The word table is read in one query and its rows found by their word, so
// a large book costs one pass over the table, not one table scan per word.
// Lesson files written by other tools store the words as BLOBs: the words
// are compared as the bytes they hold, as text.
ELessonTableRead ReadWordReferences(const CString& lessonPath, const std::vector<CString>& words,
                                    std::vector<SWordReference>& references)
{
    CSqliteDb db;
    if (!OpenLesson(db, lessonPath))
        return ELessonTableRead::Unreadable;
    SQueryResult result;
    if (!db.Query("select * from wordlist", {}, result))
        return TableProblem(db, "wordlist");
    if (result.nColumn < 2)
        return ELessonTableRead::Read;
    // The first row of each word, as a look-up for that word would find it.
    std::unordered_map<std::string_view, int> rowOfWord;
    rowOfWord.reserve(static_cast<size_t>(result.nRow));
    for (int row = 0; row < result.nRow; ++row) {
        const size_t cell = static_cast<size_t>((row + 1) * result.nColumn);   // the header row comes first
        if (!result.isNull[cell])
            rowOfWord.emplace(result.cells[cell].view(), row);
    }
    for (const CString& word : words) {
        const auto found = rowOfWord.find(word.view());
        if (found != rowOfWord.end())
            AddReferences(result.GetCell(found->second, 1), references);
    }
    return ELessonTableRead::Read;
}

ELessonTableRead ReadPhraseReferences(const CString& lessonPath, std::vector<SWordReference>& references)
{
    CSqliteDb db;
    if (!OpenLesson(db, lessonPath))
        return ELessonTableRead::Unreadable;
    SQueryResult result;
    if (!db.Query("select * from phaselist", {}, result))
        return TableProblem(db, "phaselist");
    for (int row = 0; row < result.nRow; ++row) {
        if (result.nColumn > 1)
            AddReferences(result.GetCell(row, 1), references);
    }
    return ELessonTableRead::Read;
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
