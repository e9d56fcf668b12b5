#include "vocabulary/core/wordbook.h"

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "vocabulary/core/wordlookup.h"

namespace {

constexpr const char* kCreateTable =
    "create table if not exists tablename(stroriginalword varchar(1000) not null unique)";

CString StoredWord(const CString& word)
{
    CString trimmed = word;
    trimmed.Trim();
    return ToStoredWordForm(trimmed);
}

} // namespace

bool OpenWordBookForWriting(const CString& bookPath, CSqliteDb& db)
{
    const int slash = bookPath.ReverseFind('/');
    if (slash > 0)
        CreateFolders(bookPath.Left(slash));
    return db.Open(bookPath, CSqliteDb::ReadWriteCreate) && db.Exec(kCreateTable);
}

bool OpenWordBookForReading(const CString& bookPath, CSqliteDb& db)
{
    return db.Open(bookPath, CSqliteDb::ReadWrite);
}

EWordBookSave SaveToWordBook(const CString& bookPath, const CString& word)
{
    const CString stored = StoredWord(word);
    if (stored.IsEmpty())
        return EWordBookSave::Failed;
    CSqliteDb db;
    if (!OpenWordBookForWriting(bookPath, db))
        return EWordBookSave::Failed;
    SQueryResult existing;
    if (db.Query("select 1 from tablename where stroriginalword = ?", {stored}, existing) && existing.nRow > 0)
        return EWordBookSave::AlreadyThere;
    return db.Exec("insert into tablename(stroriginalword) values(?)", {stored}) ? EWordBookSave::Saved
                                                                                  : EWordBookSave::Failed;
}

EWordBookDelete DeleteFromWordBook(const CString& bookPath, const CString& word)
{
    if (!IsRegularFile(bookPath))
        return EWordBookDelete::NoBook;
    CSqliteDb db;
    if (!db.Open(bookPath, CSqliteDb::ReadWrite))
        return EWordBookDelete::NoBook;
    return db.Exec("delete from tablename where stroriginalword = ?", {StoredWord(word)}) ? EWordBookDelete::Deleted
                                                                                        : EWordBookDelete::Failed;
}

bool ReadWordBook(const CString& bookPath, std::vector<CString>& words)
{
    words.clear();
    if (!IsRegularFile(bookPath))
        return true;   // nothing saved yet: an empty book
    CSqliteDb db;
    SQueryResult result;
    if (!OpenWordBookForReading(bookPath, db) || !db.Query("select stroriginalword from tablename", {}, result))
        return false;
    for (int row = 0; row < result.nRow; ++row) {
        CString word = result.GetCell(row, 0) ? result.GetCell(row, 0) : "";
        word.Trim();
        if (word.GetLength() > 1)
            words.push_back(word);
    }
    return true;
}
