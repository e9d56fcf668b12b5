#include "vocabulary/core/wordlists.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "vocabulary/core/wordbook.h"

namespace {

// The first column of every row, trimmed, when longer than `minLength`.
bool ReadFirstColumn(CSqliteDb& db, const char* sql, int minLength, std::vector<CString>& entries)
{
    SQueryResult result;
    if (!db.Query(sql, {}, result))
        return false;
    entries.clear();
    for (int row = 0; row < result.nRow; ++row) {
        CString entry = result.CellText(row, 0);
        entry.Trim();
        if (entry.GetLength() > minLength)
            entries.push_back(entry);
    }
    return true;
}

bool HasDigit(const CString& text) { return text.FindOneOf("0123456789") >= 0; }

} // namespace

bool ReadBookList(const CString& bookPath, std::vector<CString>& entries)
{
    if (!IsRegularFile(bookPath)) {
        entries.clear();
        return true;   // nothing saved yet
    }
    CSqliteDb db;
    std::vector<CString> read;
    if (!OpenWordBookForReading(bookPath, db) ||
        !ReadFirstColumn(db, "select stroriginalword from tablename order by stroriginalword", 1, read))
        return false;
    entries = std::move(read);
    return true;
}

bool ReadShippedList(const CString& masterPath, EShippedList list, std::vector<CString>& entries)
{
    const char* sql = "select stroriginalword from outlineword order by stroriginalword";
    if (list == EShippedList::RealExamWords)
        sql = "select stroriginalword from realexamword order by stroriginalword";
    else if (list == EShippedList::RealExamPhrases)
        sql = "select stroriginalphase from realexamphase order by stroriginalphase";
    CSqliteDb db;
    std::vector<CString> read;
    if (!IsRegularFile(masterPath) || !db.Open(masterPath, CSqliteDb::ReadOnly) ||
        !ReadFirstColumn(db, sql, 1, read))
        return false;
    entries = std::move(read);
    return true;
}

EMarkListRead ReadMarkList(const CString& keyword, const CString& appDir, const CString& bookPath,
                           std::vector<CString>& words)
{
    std::vector<CString> read;
    bool readable = false;
    if (keyword == "MYWORD")
        readable = ReadBookList(bookPath, read);
    else if (keyword == "MASTER")
        readable = ReadShippedList(appDir + kShippedWordListPath, EShippedList::Outline, read);
    else
        return EMarkListRead::NotShipped;
    if (!readable)
        return EMarkListRead::Unreadable;
    for (CString& word : read)
        word.Replace("*", "'");
    words = std::move(read);
    return EMarkListRead::Read;
}

bool ReadLessonWords(const CString& lessonPath, std::vector<CString>& entries)
{
    CSqliteDb db;
    std::vector<CString> read;
    if (!db.Open(lessonPath, CSqliteDb::ReadOnlyLimited) ||
        !ReadFirstColumn(db, "select stroriginalword from wordlist order by stroriginalword", 2, read))
        return false;
    read.erase(std::remove_if(read.begin(), read.end(), HasDigit), read.end());
    entries = std::move(read);
    return true;
}

bool ReadLessonPhrases(const CString& lessonPath, std::vector<CString>& entries)
{
    CSqliteDb db;
    std::vector<CString> read;
    if (!db.Open(lessonPath, CSqliteDb::ReadOnlyLimited) ||
        !ReadFirstColumn(db, "select stroriginalphase from phaselist", 1, read))
        return false;
    entries = std::move(read);
    return true;
}

std::vector<CString> SplitWords(const CString& text)
{
    CString spaced = text;
    for (const char* mark : {"\r", "\n", ".", ",", ";", "!", ":", "?", "\"", "[", "]", "(", ")", "“"})
        spaced.Replace(mark, " ");
    std::vector<CString> tokens;
    const auto keep = [&tokens](const CString& token) {
        if (token.GetLength() > 1 && token.Find('\'') < 0 && token.Find("’") < 0)
            tokens.push_back(token);
    };
    // One pass: a token runs from the first non-blank to the next space, so
    // a long subtitle line costs its length, not its length squared.
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const std::string_view line = spaced.view();
    size_t end = line.size();
    while (end > 0 && isBlank(line[end - 1]))
        --end;
    for (size_t pos = 0; pos < end;) {
        while (isBlank(line[pos]))
            ++pos;
        const size_t blank = std::min(line.find(' ', pos), end);
        keep(CString(line.substr(pos, blank - pos)));
        pos = blank + 1;
    }
    return tokens;
}

std::vector<CString> WordsOfSentences(const CStringArray& sentences)
{
    std::vector<CString> words;
    std::unordered_set<std::string> seen;
    for (int i = 0; i < sentences.GetSize(); ++i) {
        for (const CString& token : SplitWords(sentences[i])) {
            if (token.GetLength() > 2 && seen.insert(token.str()).second)
                words.push_back(token);
        }
    }
    return words;
}

std::vector<CString> BookWordsOfUnit(const std::vector<CString>& bookWords, const std::vector<CString>& unitWords)
{
    std::vector<CString> listed;
    for (const CString& word : bookWords) {
        const auto times = std::count(unitWords.begin(), unitWords.end(), word);
        listed.insert(listed.end(), static_cast<size_t>(times), word);
    }
    return listed;
}

RandomSource DefaultRandomSource()
{
    auto engine = std::make_shared<std::minstd_rand>();
    return [engine] { return static_cast<unsigned>((*engine)()); };
}

std::vector<CString> DrawRandomGroup(const std::vector<CString>& words, const RandomSource& random)
{
    std::vector<CString> group;
    const bool anyWord = std::any_of(words.begin(), words.end(), [](const CString& w) { return w.GetLength() > 1; });
    if (static_cast<int>(words.size()) < kRandomGroupMinimum || !anyWord)
        return group;
    // A draw of an entry too short to be a word is drawn again.
    while (static_cast<int>(group.size()) < kRandomGroupSize) {
        const CString& word = words[random() % words.size()];
        if (word.GetLength() > 1)
            group.push_back(word);
    }
    return group;
}

CString ShownListText(const std::vector<CString>& entries)
{
    CString text;
    for (const CString& entry : entries)
        text += entry + "\n";
    text.Replace('*', '\'');
    return text;
}

CString ListCounterText(int count)
{
    CString text;
    text.Format("  共%d个", count);
    return text;
}

CString ClickCounterText(int line, int count)
{
    if (count <= 0 || line < 0 || line >= count)
        return "没有单词";
    CString text;
    text.Format("第%d个/共%d个", line + 1, count);
    return text;
}

int WordIntervalFromText(const CString& text)
{
    for (int seconds = 1; seconds <= 10; ++seconds) {
        CString name;
        name.Format("%d秒", seconds);
        if (text.Find(name) >= 0)
            return seconds * 1000;
    }
    return 6000;
}
