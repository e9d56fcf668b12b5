// The user-data store on a real SQLite file in a temporary program folder.
// What the store wrote is checked through a second, plain sqlite3 connection,
// so the bytes on disk are compared, not only what the store reads back.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "shell/core/quenlow.h"
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
    }

    void TearDown() override
    {
        theApp.m_userDb.Close();
        theApp.m_strUserDataDbPath = m_saved[0];
        theApp.m_strLocalPlaylistTable = m_saved[1];
        theApp.m_strPlayHistoryTable = m_saved[2];
        theApp.m_strPanAddressTable = m_saved[3];
        ClearArrays();
    }

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
