// Word-frequency figures: book-word pairs per 1000 seconds, the scripts the
// batch reads, the talk each script belongs to, and the runs that must write
// nothing (no talk for a script, a book that cannot be read).
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/core/wordfrequency.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"

namespace {

void MakeScript(const CString& path, const std::vector<std::string>& words)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, "
                        "fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );"
                        "create table wordlist( stroriginalword varchar(1000), strreference varchar(10000) );"
                        "create table phaselist( stroriginalphase varchar(1000), strreference varchar(10000) );"));
    for (const std::string& word : words)
        ASSERT_TRUE(db.Exec("insert into wordlist values(?, '1,2')", {CString(word)}));
}

void MakeBook(const CString& path, const std::vector<std::string>& words)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename(stroriginalword varchar(1000) not null unique)"));
    for (const std::string& word : words)
        ASSERT_TRUE(db.Exec("insert into tablename values(?)", {CString(word)}));
}

struct STalk {
    int id;
    const char* duration;
    const char* videoName;
};

// The talks database: the id, the duration and the video name at the column
// positions the catalogue reads, and the figure column.
void MakeTalks(const CString& path, const std::vector<STalk>& talks)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename(id integer, categoryid integer, duration varchar(20), event text, "
                        "title text, titlechn text, speaker text, speakerchn text, vedioname text, summary text, "
                        "summarychn text, speakerinfo text, wordfrq integer)"));
    for (const STalk& t : talks)
        ASSERT_TRUE(db.Exec("insert into tablename values(?, 1, ?, 'TED', 't', 't', 's', 's', ?, '', '', '', 77)",
                            {t.id, t.duration, t.videoName}));
}

std::map<int, int> Figures(const CString& talks)
{
    CSqliteDb db;
    SQueryResult result;
    std::map<int, int> figures;
    if (db.Open(talks, CSqliteDb::ReadOnly) && db.Query("select id, wordfrq from tablename", {}, result))
        for (int i = 0; i < result.nRow; ++i)
            figures[std::stoi(result.GetCell(i, 0))] = std::stoi(result.GetCell(i, 1));
    return figures;
}

TEST(WordFrequencyTest, FigureFromCountAndDuration)
{
    struct Case {
        int count;
        const char* duration;
        int figure;
    };
    const Case cases[] = {
        {3, "700", 4},              // 3000 / 700, whole figures
        {5, " 1000 ", 5},
        {3, "0", 0},                // a talk of 0 seconds
        {3, "0.9", 0},              // less than one whole second
        {3, "abc", 0},              // not a number
        {3, "-20", 0},
        {0, "600", 0},
        {3000000, "1", 2147483647},   // no overflow into a negative figure
    };
    for (const Case& c : cases)
        EXPECT_EQ(WordFrequencyFigure(c.count, c.duration), c.figure) << c.count << " / " << c.duration;
}

// Pairs of equal words are counted: a script word twice counts twice; words of
// one byte are no words; words are trimmed.
TEST(WordFrequencyTest, CountsEqualPairs)
{
    testsupport::TempFolder folder;
    const CString script = folder.ansi() + "talk.script";
    MakeScript(script, {"apple", "apple", " banana ", "x", "don*t", "cherry"});
    bool opened = false;
    EXPECT_EQ(CountKnownWords(script, {"apple", "banana", "x", "don*t", "plum"}, &opened), 4);
    EXPECT_TRUE(opened);
    EXPECT_EQ(CountKnownWords(script, {"apple", "apple"}, &opened), 4);

    folder.write("broken.script", "not a database");
    EXPECT_EQ(CountKnownWords(folder.ansi() + "broken.script", {"apple"}, &opened), 0);
    EXPECT_FALSE(opened);
}

// Only regular files directly in the folder whose names end ".script"; not
// sub-folders, links to folders, or a FIFO (opening it would block).
TEST(WordFrequencyTest, CollectsScriptsDirectlyInTheFolder)
{
    testsupport::TempFolder folder;
    for (const char* name : {"b.script", "a.script", "c.script.bak", "d.SCRIPT", ".script", "sub/e.script",
                             "outside/f.script"})
        folder.write(name, "x");
    ASSERT_EQ(::symlink((folder.path() + "outside").c_str(), (folder.path() + "linked.script").c_str()), 0);
    ASSERT_EQ(::symlink((folder.path() + "b.script").c_str(), (folder.path() + "g.script").c_str()), 0);
    ASSERT_EQ(::mkfifo((folder.path() + "fifo.script").c_str(), 0600), 0);
    EXPECT_EQ(CollectScriptFiles(folder.ansi()),
              (std::vector<CString>{folder.ansi() + "a.script", folder.ansi() + "b.script", folder.ansi() + "g.script"}));
}

class WordFrequencyRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateFolders(m_playlist + "sub"));
        MakeBook(m_book, {"apple", "banana", "don*t", "x"});
        MakeTalks(m_talks, {
                               {1, "700", "TalkA.mp4"},
                               {2, "0", "TalkB.mp4"},
                               {3, "abc", "TalkC.mp4"},
                               {4, "100", "TalkA.mp4"},   // a later row of the same name: not the talk's row
                               {5, "100", "talka.mp4"},   // names compare exactly
                               {6, "100", "Inner.mp4"},
                           });
        MakeScript(m_playlist + "TalkA.script", {"apple", "apple", "banana", "x", "cherry"});
        MakeScript(m_playlist + "TalkB.script", {"apple"});
        MakeScript(m_playlist + "TalkC.script", {"apple", "banana"});
        MakeScript(m_playlist + "sub/Inner.script", {"apple"});
    }

    SWordFrequencyRun Run()
    {
        m_progress.clear();
        return RebuildWordFrequency(m_playlist, m_book, m_talks,
                                    [this](int done, int total) { m_progress.emplace_back(done, total); });
    }

    testsupport::TempFolder m_folder;
    CString m_playlist = m_folder.ansi() + "Playlist/";
    CString m_book = m_folder.ansi() + "UnKownWord.script";
    CString m_talks = m_folder.ansi() + "talks.db";
    std::vector<std::pair<int, int>> m_progress;
};

TEST_F(WordFrequencyRunTest, WritesTheFigureOfEachScriptsTalk)
{
    m_folder.write("Playlist/Broken.script", "not a database");
    const SWordFrequencyRun run = Run();
    EXPECT_EQ(run.scripts, 4);
    EXPECT_EQ(run.updated, 3);
    EXPECT_EQ(run.unreadableScripts, 1);
    EXPECT_FALSE(run.bookUnreadable);
    EXPECT_FALSE(run.talksUnreadable);
    // TalkA: 3 pairs x 1000 / 700 s; TalkB of 0 s and TalkC without a number
    // get 0; the rest keep their figure.
    EXPECT_EQ(Figures(m_talks), (std::map<int, int>{{1, 4}, {2, 0}, {3, 0}, {4, 77}, {5, 77}, {6, 77}}));
    EXPECT_EQ(m_progress, (std::vector<std::pair<int, int>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));
}

TEST_F(WordFrequencyRunTest, RunsThatWriteNothing)
{
    const std::string talksFile = m_folder.path() + "talks.db";
    const std::string before = testsupport::ReadBytes(talksFile);

    // No scripts: no progress step and nothing written.
    const testsupport::TempFolder emptyPlaylist;
    SWordFrequencyRun run = RebuildWordFrequency(emptyPlaylist.ansi(), m_book, m_talks,
                                                 [this](int done, int total) { m_progress.emplace_back(done, total); });
    EXPECT_EQ(run.scripts, 0);
    EXPECT_TRUE(m_progress.empty());
    EXPECT_EQ(testsupport::ReadBytes(talksFile), before);

    // Scripts that belong to no talk.
    for (const char* name : {"TalkA.script", "TalkB.script", "TalkC.script"})
        ASSERT_TRUE(DeleteFile(m_playlist + name));
    MakeScript(m_playlist + "Orphan.script", {"apple"});
    run = Run();
    EXPECT_EQ(run.scripts, 1);
    EXPECT_EQ(run.updated, 0);
    EXPECT_EQ(testsupport::ReadBytes(talksFile), before);

    // A book that exists but cannot be read must not turn every figure into 0.
    MakeScript(m_playlist + "TalkA.script", {"apple"});
    m_folder.write("UnKownWord.script", "not a database");
    run = Run();
    EXPECT_TRUE(run.bookUnreadable);
    EXPECT_EQ(run.updated, 0);
    EXPECT_TRUE(m_progress.empty());
    EXPECT_EQ(testsupport::ReadBytes(talksFile), before);
}

TEST_F(WordFrequencyRunTest, UnreadableTalksDatabase)
{
    m_folder.write("talks.db", "not a database");
    const SWordFrequencyRun run = Run();
    EXPECT_TRUE(run.talksUnreadable);
    EXPECT_EQ(run.updated, 0);
    EXPECT_EQ(testsupport::ReadBytes(m_folder.path() + "talks.db"), "not a database");
}

// The id is a value: SQL in it matches no talk instead of every talk.
TEST_F(WordFrequencyRunTest, UpdateBindsIdAndFigure)
{
    EXPECT_TRUE(UpdateWordFrequency(m_talks, "2", 9));
    EXPECT_TRUE(UpdateWordFrequency(m_talks, "0 or 1=1", 5));
    EXPECT_EQ(Figures(m_talks), (std::map<int, int>{{1, 77}, {2, 9}, {3, 77}, {4, 77}, {5, 77}, {6, 77}}));
    EXPECT_FALSE(UpdateWordFrequency(m_folder.ansi() + "missing.db", "1", 5));
}

} // namespace
