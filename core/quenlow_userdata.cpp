// The user-data store: the user's own lists (local playlist folders, play
// history, visited cloud-disk addresses), one SQLite table each, all of the
// same shape: a text key and five text columns.
//
// Every operation opens the store on m_userDb, runs its statements and closes
// it again. Statements wait at most a quarter of a second for another
// connection's lock, so a busy file costs the window no more than that and
// the operation fails instead. The first open of the store file in a session
// checks it: a damaged file is kept aside under a dated name and a new store
// takes its place; a sound one is switched to write-ahead logging, where
// readers never hold up a put. Keys and values are always bound parameters, so any text
// (apostrophes included) is stored as it is. Table names cannot be bound;
// only the three table names held by the application object are accepted,
// and they are the only text ever pasted into a statement.
#include <sqlite3.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/codepage.h"
#include "core/quenlow.h"

namespace {

// The table layout, created on demand by PutRecord. The stored layout text is
// part of the file format: keep it byte for byte (not even "if not exists").
const char kCreateTemplate[] =
    "create table tmptablename( strKeyWord varchar(1000) primary key ,strContentInfo1 varchar(1000) "
    ",strContentInfo2 varchar(1000),strContentInfo3 varchar(1000),strContentInfo4 varchar(1000),"
    "strContentInfo5 varchar(1000) );";
const char kExistsTemplate[] = "select * from  tmptablename where strKeyWord = ?;";
const char kDeleteTemplate[] = "delete  from  tmptablename where strKeyWord = ?;";
const char kInsertTemplate[] = "insert into tmptablename values( ?, ?, ?, ?, ?, ? );";
const char kFirstContentTemplate[] = "select strContentInfo1 from  tmptablename where strKeyWord = ?;";
const char kListAllTemplate[] = "select * from tmptablename";
const char kListOneTemplate[] = "select * from tmptablename where strKeyWord = ?;";

// Cells per record in the loaded arrays: the key and five contents. Readers
// address record r as cells 6r to 6r + 5.
constexpr int kCellsPerRecord = 6;

CString FillTable(const char* sqlTemplate, const CString& table)
{
    CString sql(sqlTemplate);
    sql.Replace("tmptablename", table);
    return sql;
}

// Closes the store when an operation returns, on every path.
class CloseOnExit {
public:
    explicit CloseOnExit(CSqliteDb& db) : m_db(db) {}
    ~CloseOnExit() { m_db.Close(); }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    CSqliteDb& m_db;
};

// How long a statement waits for another connection's lock.
constexpr int kStoreBusyMilliseconds = 250;

bool IsBusy(int result)
{
    const int primary = result & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool IsDamage(int result)
{
    const int primary = result & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// Copies the connection's last result into the application object; the error
// text is kept only when the step failed, so it names the last failure. A
// step that found the file damaged has the next open check it again.
bool Note(CQuenlowApp& app, bool ok)
{
    app.m_nDbResult = app.m_userDb.LastResult();
    if (!ok) {
        app.m_strDbError = app.m_userDb.LastError();
        if (IsDamage(app.m_nDbResult))
            app.m_strCheckedUserDataDbPath.Empty();
    }
    return ok;
}

enum class StoreCheck { Sound, Damaged, Unknown };

// PRAGMA quick_check on the open store. A file that cannot be read as a
// database at all counts as damaged; a check that could not run (the file is
// locked, say) decides nothing.
StoreCheck CheckStore(CSqliteDb& db)
{
    SQueryResult result;
    if (!db.Query("PRAGMA quick_check", {}, result))
        return IsDamage(db.LastResult()) ? StoreCheck::Damaged : StoreCheck::Unknown;
    const char* first = result.GetCell(0, 0);
    return result.nRow == 1 && first && CString(first) == "ok" ? StoreCheck::Sound : StoreCheck::Damaged;
}

std::filesystem::path FsPath(const CString& path) { return std::filesystem::path(AnsiToUtf8Bytes(path.view())); }

// Moves a damaged store file aside, beside itself, under its name plus
// ".damaged-" and the local date and time (a counter is added when that name
// is taken). Its write-ahead log goes with it; the shared-memory index is
// only a cache and is removed. Returns the new name, or "" when the file
// could not be moved.
CString MoveStoreAside(const CString& path)
{
    char stamp[32] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M", &local);

    std::error_code error;
    const CString base = path + ".damaged-" + stamp;
    CString kept = base;
    for (int n = 2; std::filesystem::exists(FsPath(kept), error); ++n)
        kept = base + "-" + std::to_string(n).c_str();
    std::filesystem::rename(FsPath(path), FsPath(kept), error);
    if (error)
        return CString();
    if (std::filesystem::exists(FsPath(path + "-wal"), error))
        std::filesystem::rename(FsPath(path + "-wal"), FsPath(kept + "-wal"), error);
    std::filesystem::remove(FsPath(path + "-shm"), error);
    return kept;
}

// Opens a store file on app.m_userDb with the short lock wait. The first open
// of the application's store file in a session checks it (see the top of
// this file); the learner is told once about a store that was replaced.
// Records the outcome in app (m_nDbResult, and m_strDbError on failure), so
// callers do not note it again over a failure the connection did not see.
bool OpenStore(CQuenlowApp& app, const CString& path, CSqliteDb::OpenMode mode)
{
    CSqliteDb& db = app.m_userDb;
    if (!Note(app, db.Open(path, mode)))
        return false;
    db.SetBusyTimeout(kStoreBusyMilliseconds);
    if (path != app.m_strUserDataDbPath || path == app.m_strCheckedUserDataDbPath)
        return true;

    const StoreCheck check = CheckStore(db);
    if (check == StoreCheck::Unknown) {
        // A locked file fails the operation now: its statements would only
        // wait again. Otherwise the check is tried on a later open.
        if (IsBusy(db.LastResult())) {
            Note(app, false);
            db.Close();
            return false;
        }
        return true;
    }
    if (check == StoreCheck::Damaged) {
        db.Close();
        const CString kept = MoveStoreAside(path);
        if (kept.IsEmpty()) {
            app.m_nDbResult = SQLITE_CORRUPT;
            app.m_strDbError = "the damaged user-data store cannot be moved aside: " + path;
            return false;
        }
        app.ShowMessage("用户数据文件已损坏，原文件已保留为 " + kept + "，已新建用户数据文件", "error", 10000);
        if (!Note(app, db.Open(path, CSqliteDb::ReadWriteCreate)))
            return false;
        db.SetBusyTimeout(kStoreBusyMilliseconds);
    }
    // The journal mode is kept in the file; switching fails only when another
    // connection holds the file, and is tried again on the next open.
    if (db.Exec("PRAGMA journal_mode=WAL"))
        app.m_strCheckedUserDataDbPath = path;
    return true;
}

// Records a rejected table name the way a statement on a missing table
// would have been recorded.
void NoteUnknownTable(CQuenlowApp& app, const CString& table)
{
    app.m_nDbResult = SQLITE_ERROR;
    app.m_strDbError = "not a user-data table: " + table;
}

bool IsKnownTable(const CQuenlowApp& app, const CString& table)
{
    return !table.IsEmpty() && (table == app.m_strLocalPlaylistTable || table == app.m_strPlayHistoryTable ||
                                table == app.m_strPanAddressTable);
}

// Whether the last failure was a statement on a table not made yet.
bool IsMissingTable(const CQuenlowApp& app)
{
    return (app.m_nDbResult & 0xff) == SQLITE_ERROR && app.m_strDbError.Find("no such table") >= 0;
}

// Runs a query with bound values on the open store; null on failure.
std::unique_ptr<SQueryResult> RunQuery(CQuenlowApp& app, const CString& sql, const SqlParams& params)
{
    auto result = std::make_unique<SQueryResult>();
    if (!Note(app, app.m_userDb.Query(sql, params, *result)))
        return nullptr;
    return result;
}

} // namespace

BOOL CQuenlowApp::RecordExists(const CString& dbPath, const CString& table, const CString& key)
{
    if (!IsKnownTable(*this, table)) {
        NoteUnknownTable(*this, table);
        return FALSE;
    }
    if (!OpenStore(*this, dbPath, CSqliteDb::ReadWrite))
        return FALSE;
    CloseOnExit closer(m_userDb);
    const auto result = RunQuery(*this, FillTable(kExistsTemplate, table), {key});
    return result && result->nRow > 0;
}

BOOL CQuenlowApp::PutRecord(const CString& table, const CString& key, const CString& content1,
                            const CString& content2, const CString& content3, const CString& content4,
                            const CString& content5)
{
    // Rejected before opening, so an unknown name never creates the file.
    if (!IsKnownTable(*this, table)) {
        NoteUnknownTable(*this, table);
        return FALSE;
    }
    if (!OpenStore(*this, m_strUserDataDbPath, CSqliteDb::ReadWriteCreate))
        return FALSE;
    CloseOnExit closer(m_userDb);

    // Fails when the table is already there; any other failure shows up in
    // the statements below, except a locked file, which fails the put here
    // rather than waiting a second time.
    if (!m_userDb.Exec(FillTable(kCreateTemplate, table)) && IsBusy(m_userDb.LastResult())) {
        Note(*this, false);
        return FALSE;
    }

    // Delete and insert together: if the insert fails, the old record stays.
    if (!Note(*this, m_userDb.Begin()))
        return FALSE;
    if (!Note(*this, m_userDb.Exec(FillTable(kDeleteTemplate, table), {key})) ||
        !Note(*this, m_userDb.Exec(FillTable(kInsertTemplate, table),
                                   {key, content1, content2, content3, content4, content5})) ||
        !Note(*this, m_userDb.Commit())) {
        m_userDb.Rollback();
        return FALSE;
    }
    return TRUE;
}

BOOL CQuenlowApp::AddPlayHistory(const CString& name, const CString& path)
{
    if (PutRecord(m_strPlayHistoryTable, name, path, CString(), CString(), CString(), CString())) {
        m_bPlayHistoryFailureShown = false;
        return TRUE;
    }
    if (!m_bPlayHistoryFailureShown) {
        m_bPlayHistoryFailureShown = true;
        ShowMessage(IsBusy(m_nDbResult) ? "无法保存播放记录：数据文件被占用" : "无法保存播放记录：数据文件无法写入", "error",
                    5000);
    }
    return FALSE;
}

CString CQuenlowApp::GetRecordText(const CString& key)
{
    // Always the local playlist table: its first column is the folder's path.
    if (!IsKnownTable(*this, m_strLocalPlaylistTable)) {
        NoteUnknownTable(*this, m_strLocalPlaylistTable);
        return CString();
    }
    if (!OpenStore(*this, m_strUserDataDbPath, CSqliteDb::ReadWrite))
        return CString();
    CloseOnExit closer(m_userDb);
    const auto result = RunQuery(*this, FillTable(kFirstContentTemplate, m_strLocalPlaylistTable), {key});
    if (!result || result->nRow < 1)
        return CString();
    return result->CellText(0, 0).Trim();
}

BOOL CQuenlowApp::DeleteRecord(const CString& table, const CString& key)
{
    // Whether a record went away (or the statement failed) is not reported.
    bool opened = false;
    DeleteRows(table, key, opened);
    return opened ? TRUE : FALSE;
}

int CQuenlowApp::DeleteRecordCount(const CString& table, const CString& key)
{
    bool opened = false;
    return DeleteRows(table, key, opened);
}

int CQuenlowApp::DeleteRows(const CString& table, const CString& key, bool& opened)
{
    opened = OpenStore(*this, m_strUserDataDbPath, CSqliteDb::ReadWrite);
    if (!opened)
        return -1;
    CloseOnExit closer(m_userDb);
    if (!IsKnownTable(*this, table)) {
        NoteUnknownTable(*this, table);
        return -1;
    }
    if (!Note(*this, m_userDb.Exec(FillTable(kDeleteTemplate, table), {key})))
        return -1;
    return sqlite3_changes(m_userDb.handle());
}

BOOL CQuenlowApp::LoadTable(const CString& table, const CString& key)
{
    if (!OpenStore(*this, m_strUserDataDbPath, CSqliteDb::ReadWrite))
        return FALSE;
    CloseOnExit closer(m_userDb);

    CStringArray* rows = nullptr;
    if (!table.IsEmpty()) {
        if (table == m_strPanAddressTable)
            rows = &m_arrPanAddressRows;
        else if (table == m_strLocalPlaylistTable)
            rows = &m_arrLocalPlaylistRows;
        else if (table == m_strPlayHistoryTable)
            rows = &m_arrPlayHistoryRows;
    }
    if (!rows) {
        NoteUnknownTable(*this, table);
        return TRUE;
    }

    rows->RemoveAll();
    const auto result = key.IsEmpty() ? RunQuery(*this, FillTable(kListAllTemplate, table), {})
                                      : RunQuery(*this, FillTable(kListOneTemplate, table), {key});
    // A missing table counts as no rows (nothing was put there yet); any
    // other failure, such as a store on a read-only drive whose log cannot
    // be opened, is a failure and not an empty list.
    if (!result)
        return IsMissingTable(*this) ? TRUE : FALSE;
    for (int r = 0; r < result->nRow; ++r) {
        for (int c = 0; c < kCellsPerRecord; ++c)
            rows->Add(result->CellText(r, c).Trim());
    }
    return TRUE;
}

std::unique_ptr<SQueryResult> CQuenlowApp::QueryTable(const CString& sql) { return RunQuery(*this, sql, {}); }

const char* CQuenlowApp::GetTableCell(const SQueryResult* result, int row, int column)
{
    return result ? result->GetCell(row, column) : nullptr;
}
