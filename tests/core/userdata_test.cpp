// The user-data store on a real SQLite file in a temporary program folder.
// What the store wrote is checked through a second, plain sqlite3 connection,
// so the bytes on disk are compared, not only what the store reads back.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

const char kPlaylist[] = "LocalMediaPlaylistTable";
const char kHistory[] = "LocalMediaPlayHistoryTable";
const char kPan[] = "PanAdressTable";

using RawRow = std::vector<std::optional<std::string>>;

// A second connection to a store file (UTF-8 path), as another program would
// open it.
class RawDb {
public:
    explicit RawDb(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(m_db);
    }
    ~RawDb() { sqlite3_close(m_db); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    void Exec(const std::string& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
            ADD_FAILURE() << sql << ": " << (error ? error : "");
        sqlite3_free(error);
    }

    // All rows of a query, text values bound in order; NULL cells are empty.
    std::vector<RawRow> Rows(const std::string& sql, const std::vector<std::string>& params = {})
    {
        std::vector<RawRow> rows;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(m_db);
            return rows;
        }
        for (size_t i = 0; i < params.size(); ++i)
            sqlite3_bind_text(stmt, static_cast<int>(i) + 1, params[i].data(), static_cast<int>(params[i].size()),
                              SQLITE_TRANSIENT);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            RawRow row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                if (text)
                    row.emplace_back(std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt, c))));
                else
                    row.emplace_back(std::nullopt);
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    // The stored record of a key, or no rows.
    std::vector<RawRow> Record(const std::string& table, const std::string& key)
    {
        return Rows("select * from " + table + " where strKeyWord = ?", {key});
    }

private:
    sqlite3* m_db = nullptr;
};

RawRow TextRow(std::initializer_list<const char*> cells)
{
    RawRow row;
    for (const char* cell : cells)
        row.emplace_back(std::string(cell));
    return row;
}

std::vector<std::string> Cells(const CStringArray& array)
{
    std::vector<std::string> cells;
    for (const CString& cell : array)
        cells.push_back(cell.str());
    return cells;
}

class UserDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = {theApp.m_strUserDataDbPath, theApp.m_strLocalPlaylistTable, theApp.m_strPlayHistoryTable,
                   theApp.m_strPanAddressTable};
        fs::create_directories(m_folder.path() + "AppData/UserData");
        // Every test starts without a store file.
        fs::remove(DbFile());
        theApp.m_strUserDataDbPath = m_folder.ansi() + "AppData/UserData/UserData.script";
        theApp.m_strLocalPlaylistTable = kPlaylist;
        theApp.m_strPlayHistoryTable = kHistory;
        theApp.m_strPanAddressTable = kPan;
        ClearArrays();
        ClearStoreState();
    }

    void TearDown() override
    {
        theApp.m_userDb.Close();
        theApp.m_strUserDataDbPath = m_saved[0];
        theApp.m_strLocalPlaylistTable = m_saved[1];
        theApp.m_strPlayHistoryTable = m_saved[2];
        theApp.m_strPanAddressTable = m_saved[3];
        ClearArrays();
        ClearStoreState();
    }

    // No store checked yet, no failure told, no notice pending.
    static void ClearStoreState()
    {
        theApp.m_strCheckedUserDataDbPath.Empty();
        theApp.m_bPlayHistoryFailureShown = false;
        TakeMessage();
    }

    // The pending caption-bar notice, emptying the slot ("" when none).
    static std::string TakeMessage() { return testsupport::TakeMessage().str(); }

    static void ClearArrays()
    {
        theApp.m_arrLocalPlaylistRows.RemoveAll();
        theApp.m_arrPlayHistoryRows.RemoveAll();
        theApp.m_arrPanAddressRows.RemoveAll();
    }

    std::string DbFile() const { return m_folder.path() + "AppData/UserData/UserData.script"; }

    static BOOL Put(const CString& table, const CString& key, const CString& c1, const CString& c2 = "",
                    const CString& c3 = "", const CString& c4 = "", const CString& c5 = "")
    {
        return theApp.PutRecord(table, key, c1, c2, c3, c4, c5);
    }

    testsupport::TempProgramFolder m_folder;
    std::vector<CString> m_saved;
};

TEST_F(UserDataTest, PutTwiceKeepsOneRecordWithTheSecondValues)
{
    ASSERT_TRUE(Put(kPlaylist, "lesson", "a1", "a2", "a3", "a4", "a5"));
    ASSERT_TRUE(Put(kPlaylist, "other", "o1"));
    ASSERT_TRUE(Put(kPlaylist, "lesson", "b1", "", "b3"));

    RawDb raw(DbFile());
    EXPECT_EQ(raw.Record(kPlaylist, "lesson"), std::vector<RawRow>{TextRow({"lesson", "b1", "", "b3", "", ""})});
    EXPECT_EQ(raw.Rows("select count(*) from LocalMediaPlaylistTable"), std::vector<RawRow>{TextRow({"2"})});
    EXPECT_EQ(theApp.GetRecordText("lesson"), "b1");
    EXPECT_EQ(theApp.m_nDbResult, SQLITE_OK);
}

TEST_F(UserDataTest, ApostrophesAreStoredFoundListedAndDeleted)
{
    const CString key = "Tom's 'best' lessons";
    const CString path = "/home/tom/it's here/";
    ASSERT_TRUE(Put(kPlaylist, "plain", "/plain/"));
    ASSERT_TRUE(Put(kPlaylist, key, path, "'", "''", "a'); drop table LocalMediaPlaylistTable; --", "end'"));

    EXPECT_TRUE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, key));
    EXPECT_EQ(theApp.GetRecordText(key), path);
    ASSERT_TRUE(theApp.LoadTable(kPlaylist, key));
    EXPECT_EQ(Cells(theApp.m_arrLocalPlaylistRows),
              (std::vector<std::string>{key.str(), path.str(), "'", "''", "a'); drop table LocalMediaPlaylistTable; --",
                                        "end'"}));

    // A key shaped to widen the condition matches nothing and deletes nothing.
    const CString widening = "x' or '1'='1";
    EXPECT_FALSE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, widening));
    EXPECT_EQ(theApp.GetRecordText(widening), "");
    EXPECT_TRUE(theApp.DeleteRecord(kPlaylist, widening));
    ASSERT_TRUE(theApp.LoadTable(kPlaylist, ""));
    EXPECT_EQ(theApp.m_arrLocalPlaylistRows.GetSize(), 12);

    EXPECT_TRUE(theApp.DeleteRecord(kPlaylist, key));
    EXPECT_FALSE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, key));
    EXPECT_TRUE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, "plain"));
}

TEST_F(UserDataTest, PlaceholderWordsInValuesAreStoredUnchanged)
{
    const char* cells[] = {"tmpstrContentInfo1", "tmpstrKeyWord tmpstrContentInfo2", "tmptablename",
                           "tmpStrKeyWord", "tmpstrkeyword", "tmpstrContentInfo5?"};
    ASSERT_TRUE(Put(kHistory, cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]));

    RawDb raw(DbFile());
    EXPECT_EQ(raw.Record(kHistory, cells[0]),
              std::vector<RawRow>{TextRow({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]})});
}

TEST_F(UserDataTest, FailedPutKeepsTheOldRecord)
{
    ASSERT_TRUE(Put(kPlaylist, "lesson", "old1", "old2"));
    {
        RawDb raw(DbFile());
        raw.Exec("create trigger NoInsert before insert on LocalMediaPlaylistTable "
                 "begin select raise(abort, 'inserts blocked'); end;");
    }

    EXPECT_FALSE(Put(kPlaylist, "lesson", "new1", "new2"));
    EXPECT_NE(theApp.m_nDbResult, SQLITE_OK);
    EXPECT_NE(theApp.m_strDbError.Find("inserts blocked"), -1) << theApp.m_strDbError.GetString();

    RawDb raw(DbFile());
    EXPECT_EQ(raw.Record(kPlaylist, "lesson"), std::vector<RawRow>{TextRow({"lesson", "old1", "old2", "", "", ""})});
    EXPECT_EQ(theApp.GetRecordText("lesson"), "old1");
}

TEST_F(UserDataTest, StoredLayoutIsTheCreateStatement)
{
    // SQLite keeps the statement's text, upper-casing the two leading
    // keywords and dropping the closing semicolon.
    const std::string layout = "( strKeyWord varchar(1000) primary key ,strContentInfo1 varchar(1000) "
                               ",strContentInfo2 varchar(1000),strContentInfo3 varchar(1000),"
                               "strContentInfo4 varchar(1000),strContentInfo5 varchar(1000) )";
    for (const char* table : {kPlaylist, kHistory, kPan}) {
        SCOPED_TRACE(table);
        ASSERT_TRUE(Put(table, "k", "v"));
        ASSERT_TRUE(Put(table, "k", "w"));
        RawDb raw(DbFile());
        EXPECT_EQ(raw.Rows("select sql from sqlite_master where name = ?", {table}),
                  std::vector<RawRow>{TextRow({("CREATE TABLE " + std::string(table) + layout).c_str()})});
    }
    RawDb raw(DbFile());
    EXPECT_EQ(raw.Rows("select count(*) from sqlite_master where type = 'table'"), std::vector<RawRow>{TextRow({"3"})});
}

TEST_F(UserDataTest, LoadTableWithoutTheTableIsTrueAndEmpty)
{
    ASSERT_TRUE(Put(kHistory, "a.mp3", "/m/a.mp3"));
    theApp.m_arrLocalPlaylistRows.Add("stale");

    EXPECT_TRUE(theApp.LoadTable(kPlaylist, ""));
    EXPECT_TRUE(theApp.m_arrLocalPlaylistRows.IsEmpty());
    EXPECT_TRUE(theApp.LoadTable(kPlaylist, "a.mp3"));
    EXPECT_TRUE(theApp.m_arrLocalPlaylistRows.IsEmpty());
    EXPECT_FALSE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, "a.mp3"));
}

// A store that cannot be read (on a read-only file system the write-ahead
// log cannot be opened; here its name is taken by a folder) fails the
// load: an empty list would pass for the learner's history.
TEST_F(UserDataTest, LoadTableOfAStoreThatCannotBeReadFails)
{
    ASSERT_TRUE(Put(kHistory, "a.mp3", "/m/a.mp3"));
    theApp.m_userDb.Close();
    fs::remove(DbFile() + "-shm");
    fs::remove(DbFile() + "-wal");
    fs::create_directory(DbFile() + "-wal");
    ClearStoreState();

    EXPECT_FALSE(theApp.LoadTable(kHistory, ""));
    EXPECT_TRUE(theApp.m_arrPlayHistoryRows.IsEmpty());
    EXPECT_FALSE(theApp.m_strDbError.IsEmpty());
}

TEST_F(UserDataTest, LoadTableFillsTheArrayOfItsTable)
{
    ASSERT_TRUE(Put(kPan, "page1", "second1"));
    ASSERT_TRUE(Put(kPan, "page2", "second2"));
    ASSERT_TRUE(Put(kHistory, "h", "/h"));
    theApp.m_arrPanAddressRows.Add("stale");

    ASSERT_TRUE(theApp.LoadTable(kPan, ""));
    EXPECT_EQ(Cells(theApp.m_arrPanAddressRows),
              (std::vector<std::string>{"page1", "second1", "", "", "", "", "page2", "second2", "", "", "", ""}));
    ASSERT_TRUE(theApp.LoadTable(kPan, "page2"));
    EXPECT_EQ(Cells(theApp.m_arrPanAddressRows), (std::vector<std::string>{"page2", "second2", "", "", "", ""}));
    EXPECT_TRUE(theApp.m_arrLocalPlaylistRows.IsEmpty());
    EXPECT_TRUE(theApp.m_arrPlayHistoryRows.IsEmpty());
}

TEST_F(UserDataTest, UnknownTableNamesTouchNothing)
{
    ASSERT_TRUE(Put(kPlaylist, "k", "v"));
    theApp.m_arrLocalPlaylistRows.Add("p");
    theApp.m_arrPlayHistoryRows.Add("h");
    theApp.m_arrPanAddressRows.Add("a");

    // A case variant names the same table to SQLite, but is not one of ours.
    const char* names[] = {"Bogus", "", "localmediaplaylisttable",
                           "LocalMediaPlaylistTable where 1 = 1; drop table LocalMediaPlaylistTable; --"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Put(name, "k", "changed"));
        EXPECT_NE(theApp.m_nDbResult, SQLITE_OK);
        EXPECT_FALSE(theApp.RecordExists(theApp.m_strUserDataDbPath, name, "k"));
        EXPECT_TRUE(theApp.DeleteRecord(name, "k"));
        EXPECT_TRUE(theApp.LoadTable(name, ""));
        EXPECT_EQ(Cells(theApp.m_arrLocalPlaylistRows), std::vector<std::string>{"p"});
        EXPECT_EQ(Cells(theApp.m_arrPlayHistoryRows), std::vector<std::string>{"h"});
        EXPECT_EQ(Cells(theApp.m_arrPanAddressRows), std::vector<std::string>{"a"});
    }
    RawDb raw(DbFile());
    EXPECT_EQ(raw.Rows("select * from LocalMediaPlaylistTable"), std::vector<RawRow>{TextRow({"k", "v", "", "", "", ""})});
    EXPECT_EQ(raw.Rows("select count(*) from sqlite_master where type = 'table'"), std::vector<RawRow>{TextRow({"1"})});
}

TEST_F(UserDataTest, UnknownTableNameDoesNotCreateTheStore)
{
    EXPECT_FALSE(Put("Bogus", "k", "v"));
    EXPECT_FALSE(fs::exists(DbFile()));
}

TEST_F(UserDataTest, GetRecordTextReadsOnlyThePlaylistTable)
{
    ASSERT_TRUE(Put(kHistory, "song.mp3", "/music/song.mp3"));
    ASSERT_TRUE(Put(kPan, "song.mp3", "pan"));
    EXPECT_EQ(theApp.GetRecordText("song.mp3"), "");
    ASSERT_TRUE(Put(kPlaylist, "song.mp3", "/playlist/"));
    EXPECT_EQ(theApp.GetRecordText("song.mp3"), "/playlist/");
}

TEST_F(UserDataTest, StoredBlanksComeBackTrimmedAndNullAsEmpty)
{
    ASSERT_TRUE(Put(kPlaylist, "k", "  /folder/ \t", "\t x y \r\n", " ", "", "z  "));
    RawDb raw(DbFile());
    // Stored as given; only reading trims.
    EXPECT_EQ(raw.Record(kPlaylist, "k"),
              std::vector<RawRow>{TextRow({"k", "  /folder/ \t", "\t x y \r\n", " ", "", "z  "})});
    raw.Exec("insert into LocalMediaPlaylistTable values(' n ', null, null, null, null, null)");

    EXPECT_EQ(theApp.GetRecordText("k"), "/folder/");
    EXPECT_EQ(theApp.GetRecordText(" n "), "");
    ASSERT_TRUE(theApp.LoadTable(kPlaylist, ""));
    EXPECT_EQ(Cells(theApp.m_arrLocalPlaylistRows),
              (std::vector<std::string>{"k", "/folder/", "x y", "", "", "z", "n", "", "", "", "", ""}));
}

TEST_F(UserDataTest, RecordExistsReadsTheGivenDatabase)
{
    ASSERT_TRUE(Put(kPlaylist, "k", "v"));
    const CString copy = m_folder.ansi() + "copy.script";
    fs::copy_file(DbFile(), m_folder.path() + "copy.script");
    ASSERT_TRUE(theApp.DeleteRecord(kPlaylist, "k"));

    EXPECT_FALSE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, "k"));
    EXPECT_TRUE(theApp.RecordExists(copy, kPlaylist, "k"));
    EXPECT_FALSE(theApp.RecordExists(m_folder.ansi() + "missing.script", kPlaylist, "k"));
    EXPECT_FALSE(fs::exists(m_folder.path() + "missing.script"));
}

TEST_F(UserDataTest, MissingStoreFailsWithoutCreatingIt)
{
    struct Case {
        const char* name;
        std::string folder;  // relative to the program folder
        bool putSucceeds;
    };
    const Case cases[] = {
        {"folder missing", "AppData/NoSuchFolder/", false},
        {"file missing", "AppData/UserData/", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = m_folder.path() + c.folder + "Fresh.script";
        theApp.m_strUserDataDbPath = m_folder.ansi() + c.folder.c_str() + "Fresh.script";
        theApp.m_arrLocalPlaylistRows.RemoveAll();
        theApp.m_arrLocalPlaylistRows.Add("kept");

        // Reading never creates the store.
        EXPECT_FALSE(theApp.LoadTable(kPlaylist, ""));
        EXPECT_EQ(theApp.m_nDbResult, SQLITE_CANTOPEN);
        EXPECT_EQ(Cells(theApp.m_arrLocalPlaylistRows), std::vector<std::string>{"kept"});
        EXPECT_EQ(theApp.GetRecordText("k"), "");
        EXPECT_FALSE(theApp.DeleteRecord(kPlaylist, "k"));
        EXPECT_FALSE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, "k"));
        EXPECT_FALSE(fs::exists(file));

        // Putting creates the file when its folder is there.
        EXPECT_EQ(Put(kPlaylist, "k", "v"), c.putSucceeds ? TRUE : FALSE);
        EXPECT_EQ(fs::exists(file), c.putSucceeds);
        EXPECT_EQ(theApp.GetRecordText("k"), c.putSucceeds ? "v" : "");
    }
}

TEST_F(UserDataTest, ChineseTextIsStoredAsItsBytes)
{
    // Narrow literals are GB18030 here, the code page the store keeps.
    const std::string key = "英语听力 第一课";
    const std::string path = "/home/学生/课程/第一课（美音）";
    const std::string note = "乕[标记]";  // 81 5B: a trail byte equal to "["
    ASSERT_EQ(key.size(), 15u);
    ASSERT_TRUE(Put(kPlaylist, key, path, note));

    RawDb raw(DbFile());
    EXPECT_EQ(raw.Record(kPlaylist, key),
              std::vector<RawRow>{TextRow({key.c_str(), path.c_str(), note.c_str(), "", "", ""})});
    EXPECT_TRUE(theApp.RecordExists(theApp.m_strUserDataDbPath, kPlaylist, key));
    EXPECT_EQ(theApp.GetRecordText(key).str(), path);
    ASSERT_TRUE(theApp.LoadTable(kPlaylist, key));
    EXPECT_EQ(Cells(theApp.m_arrLocalPlaylistRows), (std::vector<std::string>{key, path, note, "", "", ""}));
}

TEST_F(UserDataTest, QueryTableGivesEachCallItsOwnResult)
{
    ASSERT_TRUE(Put(kPlaylist, "a", "1"));
    ASSERT_TRUE(Put(kPlaylist, "b", "2"));
    {
        RawDb raw(DbFile());
        raw.Exec("insert into LocalMediaPlaylistTable values('c', null, null, null, null, null)");
    }

    // Outside an operation the store is closed.
    EXPECT_EQ(theApp.QueryTable("select * from LocalMediaPlaylistTable"), nullptr);

    ASSERT_TRUE(theApp.m_userDb.Open(theApp.m_strUserDataDbPath, CSqliteDb::ReadWrite));
    const auto all = theApp.QueryTable("select strKeyWord, strContentInfo1 from LocalMediaPlaylistTable order by 1");
    const auto one = theApp.QueryTable("select strContentInfo1 from LocalMediaPlaylistTable where strKeyWord = 'b'");
    EXPECT_EQ(theApp.QueryTable("select * from NoSuchTable"), nullptr);
    EXPECT_EQ(theApp.m_nDbResult, SQLITE_ERROR);
    theApp.m_userDb.Close();

    ASSERT_NE(all, nullptr);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(all->nRow, 3);
    EXPECT_EQ(all->nColumn, 2);
    EXPECT_STREQ(CQuenlowApp::GetTableCell(all.get(), 0, 0), "a");
    EXPECT_STREQ(CQuenlowApp::GetTableCell(all.get(), 1, 1), "2");
    EXPECT_STREQ(CQuenlowApp::GetTableCell(one.get(), 0, 0), "2");

    EXPECT_STREQ(CQuenlowApp::GetTableCell(all.get(), 2, 0), "c");
    EXPECT_EQ(CQuenlowApp::GetTableCell(all.get(), 2, 1), nullptr);  // SQL NULL

    struct Outside {
        int row, column;
    };
    for (const Outside o : {Outside{3, 0}, Outside{0, 2}, Outside{-1, 0}, Outside{0, -1}}) {
        SCOPED_TRACE(testing::Message() << o.row << "," << o.column);
        EXPECT_EQ(CQuenlowApp::GetTableCell(all.get(), o.row, o.column), nullptr);
    }
    EXPECT_EQ(CQuenlowApp::GetTableCell(nullptr, 0, 0), nullptr);
}

} // namespace

// Milliseconds a call takes.
template <typename Call>
long long ElapsedMs(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(UserDataTest, PutFailsQuicklyWhileAnotherConnectionWritesAndWorksAfterward)
{
    struct Case {
        const char* name;
        const char* begin;      // how the other connection takes the file
        bool rollbackJournal;   // the file was made by another program, in rollback-journal mode
        bool tableExists;       // the put's table is already in the file
    };
    const Case cases[] = {
        {"immediate, table there", "BEGIN IMMEDIATE", false, true},
        {"immediate, new table", "BEGIN IMMEDIATE", false, false},
        {"exclusive, table there", "BEGIN EXCLUSIVE", false, true},
        {"exclusive, new table", "BEGIN EXCLUSIVE", false, false},
        {"exclusive on a rollback-journal file opened first now", "BEGIN EXCLUSIVE", true, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "Locked" + std::to_string(n++) + ".script";
        const std::string file = m_folder.path() + "AppData/UserData/" + name;
        theApp.m_strUserDataDbPath = m_folder.ansi() + "AppData/UserData/" + name.c_str();
        if (c.rollbackJournal) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
            sqlite3_exec(db,
                         "create table LocalMediaPlaylistTable(strKeyWord primary key, strContentInfo1, strContentInfo2,"
                         " strContentInfo3, strContentInfo4, strContentInfo5)",
                         nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else {
            ASSERT_TRUE(Put(kHistory, "seed", "s"));
        }
        const CString table = c.tableExists ? kPlaylist : kPan;
        if (c.tableExists && !c.rollbackJournal) {
            ASSERT_TRUE(Put(table, "seed", "s"));
        }

        RawDb other(file);
        other.Exec(c.begin);
        other.Exec("create table OtherProgram" + std::to_string(n) + "(x)");
        BOOL put = TRUE;
        EXPECT_LT(ElapsedMs([&] { put = Put(table, "k", "v"); }), 600);
        EXPECT_FALSE(put);
        EXPECT_EQ(theApp.m_nDbResult & 0xff, SQLITE_BUSY);
        other.Exec("COMMIT");

        EXPECT_TRUE(Put(table, "k", "v"));
        EXPECT_EQ(other.Record(table.str(), "k"), std::vector<RawRow>{TextRow({"k", "v", "", "", "", ""})});
    }
}

TEST_F(UserDataTest, ReaderOfTheStoreDoesNotHoldUpAPut)
{
    ASSERT_TRUE(Put(kHistory, "first", "/a.mp4"));
    RawDb reader(DbFile());
    EXPECT_EQ(reader.Rows("PRAGMA journal_mode"), std::vector<RawRow>{TextRow({"wal"})});
    // An open read transaction: in rollback-journal mode it would keep the
    // put from committing.
    reader.Exec("BEGIN");
    EXPECT_EQ(reader.Rows("select count(*) from LocalMediaPlayHistoryTable"), std::vector<RawRow>{TextRow({"1"})});

    BOOL put = FALSE;
    EXPECT_LT(ElapsedMs([&] { put = Put(kHistory, "second", "/b.mp4"); }), 200);
    EXPECT_TRUE(put);
    // The reader still sees its snapshot; a new look sees the put.
    EXPECT_EQ(reader.Rows("select count(*) from LocalMediaPlayHistoryTable"), std::vector<RawRow>{TextRow({"1"})});
    reader.Exec("COMMIT");
    EXPECT_EQ(reader.Rows("select count(*) from LocalMediaPlayHistoryTable"), std::vector<RawRow>{TextRow({"2"})});
}

TEST_F(UserDataTest, FailedPlayHistorySaveIsToldOnceUntilASaveWorks)
{
    const std::string busy = "无法保存播放记录：数据文件被占用";
    ASSERT_TRUE(theApp.AddPlayHistory("a.mp4", "/m/a.mp4"));
    EXPECT_EQ(TakeMessage(), "");

    RawDb other(DbFile());
    other.Exec("BEGIN IMMEDIATE");
    EXPECT_FALSE(theApp.AddPlayHistory("b.mp4", "/m/b.mp4"));
    EXPECT_EQ(TakeMessage(), busy);
    EXPECT_FALSE(theApp.AddPlayHistory("c.mp4", "/m/c.mp4"));
    EXPECT_EQ(TakeMessage(), "");  // not again for the same trouble
    other.Exec("COMMIT");

    EXPECT_TRUE(theApp.AddPlayHistory("d.mp4", "/m/d.mp4"));
    EXPECT_EQ(TakeMessage(), "");
    EXPECT_EQ(other.Record(kHistory, "d.mp4"), std::vector<RawRow>{TextRow({"d.mp4", "/m/d.mp4", "", "", "", ""})});

    // After a save that worked, a new failure is told again.
    other.Exec("BEGIN EXCLUSIVE");
    EXPECT_FALSE(theApp.AddPlayHistory("e.mp4", "/m/e.mp4"));
    EXPECT_EQ(TakeMessage(), busy);
    other.Exec("COMMIT");
    EXPECT_TRUE(theApp.AddPlayHistory("e.mp4", "/m/e.mp4"));

    // Any other failure has its own wording.
    theApp.m_strUserDataDbPath = m_folder.ansi() + "AppData/NoSuchFolder/UserData.script";
    EXPECT_FALSE(theApp.AddPlayHistory("f.mp4", "/m/f.mp4"));
    EXPECT_EQ(TakeMessage(), "无法保存播放记录：数据文件无法写入");
}

namespace {

constexpr size_t kPageSize = 4096;

// A sound store in rollback-journal mode, as an earlier version of the
// program left it: 200 playlist records filling some 20 pages.
void WriteSoundStore(const std::string& file)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    std::string sql = "PRAGMA page_size=4096; BEGIN; create table LocalMediaPlaylistTable( strKeyWord varchar(1000) "
                      "primary key ,strContentInfo1 varchar(1000) ,strContentInfo2 varchar(1000),strContentInfo3 "
                      "varchar(1000),strContentInfo4 varchar(1000),strContentInfo5 varchar(1000) );";
    for (int i = 0; i < 200; ++i)
        sql += "insert into LocalMediaPlaylistTable values('lesson " + std::to_string(i) + "', '" +
               std::string(300, 'a' + i % 26) + "', '', '', '', '');";
    sql += "COMMIT;";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void Overwrite(const std::string& file, size_t offset, const std::string& bytes)
{
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

TEST_F(UserDataTest, DamagedStoreIsKeptAsideAndANewOneTakesItsPlace)
{
    struct Case {
        const char* name;
        void (*damage)(const std::string& file);
        bool damaged;
    };
    const Case cases[] = {
        {"sound", [](const std::string&) {}, false},
        {"truncated", [](const std::string& f) { fs::resize_file(f, fs::file_size(f) / 2); }, true},
        {"header overwritten", [](const std::string& f) { Overwrite(f, 0, std::string(16, 'x')); }, true},
        {"middle page overwritten", [](const std::string& f) { Overwrite(f, 10 * kPageSize, std::string(kPageSize, '\x5a')); },
         true},
    };
    const std::regex keptName(R"(Store\d\.script\.damaged-\d{8}-\d{4})");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = m_folder.path() + "AppData/UserData/";
        const std::string name = "Store" + std::to_string(n++) + ".script";
        WriteSoundStore(folder + name);
        ASSERT_GT(fs::file_size(folder + name), 15 * kPageSize);
        c.damage(folder + name);
        const std::string damagedBytes = testsupport::ReadBytes(folder + name);
        theApp.m_strUserDataDbPath = m_folder.ansi() + "AppData/UserData/" + name.c_str();

        ASSERT_TRUE(theApp.LoadTable(kPlaylist, ""));
        std::vector<std::string> kept;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string file = entry.path().filename().string();
            if (file.rfind(name + ".damaged-", 0) == 0)
                kept.push_back(file);
        }
        if (!c.damaged) {
            EXPECT_EQ(theApp.m_arrLocalPlaylistRows.GetSize(), 200 * 6);
            EXPECT_TRUE(kept.empty());
            EXPECT_EQ(TakeMessage(), "");
            continue;
        }
        // The damaged file stays, byte for byte, under a dated name beside it.
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(std::regex_match(kept[0], keptName)) << kept[0];
        EXPECT_EQ(testsupport::ReadBytes(folder + kept[0]), damagedBytes);
        const std::string message = TakeMessage();
        EXPECT_NE(message.find(folder + kept[0]), std::string::npos) << message;

        // The new store starts empty and works.
        EXPECT_EQ(theApp.m_arrLocalPlaylistRows.GetSize(), 0);
        ASSERT_TRUE(Put(kPlaylist, "k", "v"));
        EXPECT_EQ(theApp.GetRecordText("k"), "v");
        ASSERT_TRUE(theApp.LoadTable(kPlaylist, ""));
        EXPECT_EQ(Cells(theApp.m_arrLocalPlaylistRows), (std::vector<std::string>{"k", "v", "", "", "", ""}));
        RawDb raw(folder + name);
        EXPECT_EQ(raw.Rows("PRAGMA quick_check"), std::vector<RawRow>{TextRow({"ok"})});
        // Told once only.
        EXPECT_EQ(TakeMessage(), "");
    }
}

// A damaged store that cannot be moved aside (here its name leaves no room
// for the dated suffix) stays where it is, and the failure names that, not
// the check that found the damage.
TEST_F(UserDataTest, DamagedStoreThatCannotBeMovedAsideIsReportedAsSuch)
{
    const std::string folder = m_folder.path() + "AppData/UserData/";
    const std::string name = std::string(240, 's') + ".script";
    WriteSoundStore(folder + name);
    Overwrite(folder + name, 0, std::string(16, 'x'));
    const std::string damagedBytes = testsupport::ReadBytes(folder + name);
    theApp.m_strUserDataDbPath = m_folder.ansi() + "AppData/UserData/" + name.c_str();

    EXPECT_FALSE(theApp.LoadTable(kPlaylist, ""));
    EXPECT_EQ(theApp.m_nDbResult, SQLITE_CORRUPT);
    EXPECT_EQ(theApp.m_strDbError, "the damaged user-data store cannot be moved aside: " + theApp.m_strUserDataDbPath);
    EXPECT_EQ(testsupport::ReadBytes(folder + name), damagedBytes);
    EXPECT_EQ(TakeMessage(), "");
}
