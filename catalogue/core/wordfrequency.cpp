#include "catalogue/core/wordfrequency.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "catalogue/core/exporttext.h"
#include "catalogue/core/talkfiles.h"
#include "catalogue/core/talklist.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "vocabulary/core/wordbook.h"

namespace {

const CString kScriptExtension = ".script";

bool EndsWith(const CString& text, const CString& ending)
{
    return text.GetLength() >= ending.GetLength() && text.Right(ending.GetLength()) == ending;
}

// The talk video a script belongs to: its file name with the final
// ".script" made ".mp4".
CString VideoNameOf(const CString& scriptPath)
{
    const CString name = FileNamePart(scriptPath);
    return name.Left(name.GetLength() - kScriptExtension.GetLength()) + ".mp4";
}

bool WriteFigure(CSqliteDb& db, const CString& id, int figure)
{
    return db.Exec("update tablename set wordfrq = ? where id = ?", {figure, id});
}

const STalkRow* FindTalk(const std::vector<STalkRow>& rows, const CString& videoName)
{
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const STalkRow& row) { return row.videoName == videoName; });
    return it != rows.end() ? &*it : nullptr;
}

} // namespace

std::vector<CString> CollectScriptFiles(const CString& folder)
{
    std::vector<CString> scripts;
    for (const SFolderEntry& entry : ListFolder(folder))
        if (!entry.isFolder && entry.name.GetLength() > kScriptExtension.GetLength() &&
            EndsWith(entry.name, kScriptExtension) &&
            IsRegularFile(entry.path))
            scripts.push_back(entry.path);
    return scripts;   // ListFolder lists in name order
}

bool LoadWordBookWords(const CString& bookPath, std::vector<CString>& words)
{
    return ReadWordBook(bookPath, words);
}

bool LoadTalkRows(const CString& talksDb, std::vector<STalkRow>& rows)
{
    rows.clear();
    CSqliteDb db;
    SQueryResult result;
    if (!db.Open(talksDb, CSqliteDb::ReadOnly) || !db.Query("select * from tablename", {}, result))
        return false;
    for (int row = 0; row < result.nRow; ++row)
        rows.push_back({result.CellText(row, kColumnVideoName), result.CellText(row, kColumnId),
                        result.CellText(row, kColumnDuration)});
    return true;
}

int CountKnownWords(const CString& script, const std::vector<CString>& bookWords, bool* opened)
{
    if (opened != nullptr)
        *opened = false;
    // Lesson scripts come from outside: read-only, with bounds on every query.
    CSqliteDb db;
    SQueryResult result;
    if (!db.Open(script, CSqliteDb::ReadOnlyLimited) ||
        !db.Query("select stroriginalword from wordlist", {}, result))
        return 0;
    if (opened != nullptr)
        *opened = true;

    // Counting each book word once, then adding its count per script word,
    // gives the number of equal pairs without comparing every pair.
    std::unordered_map<std::string, int> timesInBook;
    for (const CString& word : bookWords)
        ++timesInBook[word.str()];
    int pairs = 0;
    for (int row = 0; row < result.nRow; ++row) {
        CString word = result.CellText(row, 0);
        word.Trim();
        if (word.GetLength() <= 1)
            continue;
        const auto it = timesInBook.find(word.str());
        if (it != timesInBook.end())
            pairs += it->second;
    }
    return pairs;
}

int WordFrequencyFigure(int count, const CString& duration)
{
    const int64_t seconds = LeadingWholeNumber(duration);
    if (seconds < 1 || count <= 0)
        return 0;
    return static_cast<int>(std::min<int64_t>(int64_t{count} * 1000 / seconds, INT_MAX));
}

bool UpdateWordFrequency(const CString& talksDb, const CString& id, int figure)
{
    CSqliteDb db;
    return db.Open(talksDb, CSqliteDb::ReadWrite) && WriteFigure(db, id, figure);
}

SWordFrequencyRun RebuildWordFrequency(const CString& playlistDir, const CString& bookPath, const CString& talksDb,
                                       const std::function<void(int done, int total)>& progress)
{
    SWordFrequencyRun run;
    const std::vector<CString> scripts = CollectScriptFiles(playlistDir);
    run.scripts = static_cast<int>(scripts.size());

    // Without the book every figure would become 0: stop instead.
    std::vector<CString> bookWords;
    if (!LoadWordBookWords(bookPath, bookWords)) {
        run.bookUnreadable = true;
        return run;
    }
    std::vector<STalkRow> talks;
    if (!LoadTalkRows(talksDb, talks)) {
        run.talksUnreadable = true;
        return run;
    }

    struct SFigure {
        CString id;
        int figure;
    };
    std::vector<SFigure> figures;
    for (int i = 0; i < run.scripts; ++i) {
        if (progress)
            progress(i, run.scripts);
        const CString& script = scripts[static_cast<size_t>(i)];
        bool opened = false;
        const int count = CountKnownWords(script, bookWords, &opened);
        if (!opened)
            ++run.unreadableScripts;
        if (const STalkRow* talk = FindTalk(talks, VideoNameOf(script)))
            figures.push_back({talk->id, WordFrequencyFigure(count, talk->duration)});
    }
    if (progress && run.scripts > 0)
        progress(run.scripts, run.scripts);
    if (figures.empty())
        return run;

    // Reading the scripts takes long; the database is held only while the
    // figures go in, all of them or none.
    CSqliteDb db;
    if (!db.Open(talksDb, CSqliteDb::ReadWrite) || !db.Begin()) {
        run.talksUnreadable = true;
        return run;
    }
    for (const SFigure& f : figures) {
        if (!WriteFigure(db, f.id, f.figure)) {
            db.Rollback();
            run.talksUnreadable = true;
            return run;
        }
    }
    if (!db.Commit()) {
        db.Rollback();
        run.talksUnreadable = true;
        return run;
    }
    run.updated = static_cast<int>(figures.size());
    return run;
}
