#include "vocabulary/core/wordbookfile.h"

#include <string>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/core/wordlookup.h"

EWordBookExport ExportWordBook(const CString& bookPath, const CString& filePath)
{
    std::vector<CString> words;
    if (!ReadWordBook(bookPath, words))
        return EWordBookExport::NoBook;
    std::string text;
    for (const CString& word : words) {
        text += word.view();
        text += "\r\n";
    }
    return WriteFileAtomically(filePath, text) ? EWordBookExport::Written : EWordBookExport::NoFile;
}

std::vector<CString> ReadImportLines(const CString& filePath, EFileReadResult* read)
{
    std::vector<CString> lines;
    std::string bytes;
    const EFileReadResult result = ReadRegularFile(filePath, bytes, kMaxImportFileBytes);
    if (read != nullptr)
        *read = result;
    if (result != EFileReadResult::Read)
        return lines;
    for (size_t begin = 0; begin < bytes.size();) {
        size_t end = bytes.find('\n', begin);
        if (end == std::string::npos)
            end = bytes.size();
        CString line(bytes.substr(begin, end - begin));
        line.Trim();
        if (line.GetLength() >= 3)
            lines.push_back(line);
        begin = end + 1;
    }
    return lines;
}

int ImportWords(const CString& bookPath, const std::vector<CString>& words, const ImportProgress& progress)
{
    CSqliteDb db;
    if (!OpenWordBookForWriting(bookPath, db))
        return -1;
    const int total = static_cast<int>(words.size());
    int imported = 0;
    db.Begin();
    for (int i = 0; i < total; ++i) {
        if (progress)
            progress(i, total);
        const CString stored = ToStoredWordForm(words[static_cast<size_t>(i)]);
        SQueryResult existing;
        if (!db.Query("select 1 from tablename where stroriginalword = ?", {stored}, existing) || existing.nRow > 0)
            continue;
        if (db.Exec("insert into tablename(stroriginalword) values(?)", {stored}))
            ++imported;
    }
    if (!db.Commit())
        return 0;
    return imported;
}

CString ImportProgressText(int index, int total)
{
    const int percent = total > 0 ? index * 100 / total : 0;
    CString text;
    if (total <= kQuietImportLimit)
        text.Format("正在保存数据......%d%%", percent);
    else
        text.Format("数据量较大，软件可能暂时没有反应，请不要关闭软件......%d%%", percent);
    return text;
}

EWordBookClear ClearWordBook(const CString& bookPath)
{
    CSqliteDb db;
    if (!OpenWordBookForWriting(bookPath, db))
        return EWordBookClear::NoBook;
    return db.Exec("delete from tablename") ? EWordBookClear::Cleared : EWordBookClear::Failed;
}
