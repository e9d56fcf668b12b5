// The user-data store: the user's own lists (local playlist folders, play
// history, visited cloud-disk addresses), one SQLite table each, all of the
// same shape: a text key and five text columns.
//
// Every operation opens the store on m_userDb, runs its statements and closes
// it again. Keys and values are always bound parameters, so any text
// (apostrophes included) is stored as it is. Table names cannot be bound;
// only the three table names held by the application object are accepted,
// and they are the only text ever pasted into a statement.
#include <sqlite3.h>

#include "shell/core/quenlow.h"

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

// Copies the connection's last result into the application object; the error
// text is kept only when the step failed, so it names the last failure.
bool Note(CQuenlowApp& app, bool ok)
{
    app.m_nDbResult = app.m_userDb.LastResult();
    if (!ok)
        app.m_strDbError = app.m_userDb.LastError();
    return ok;
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

// Runs a query with bound values on the open store; null on failure.
std::unique_ptr<SQueryResult> RunQuery(CQuenlowApp& app, const CString& sql, const SqlParams& params)
{
    auto result = std::make_unique<SQueryResult>();
    if (!Note(app, app.m_userDb.Query(sql, params, *result)))
        return nullptr;
    return result;
}

// A cell as text: SQL NULL and cells outside the result read as "".
CString CellText(const SQueryResult& result, int row, int column)
{
    const char* cell = result.GetCell(row, column);
    return CString(cell);
}

} // namespace

BOOL CQuenlowApp::RecordExists(const CString& dbPath, const CString& table, const CString& key)
{
    if (!IsKnownTable(*this, table)) {
        NoteUnknownTable(*this, table);
        return FALSE;
    }
    if (!Note(*this, m_userDb.Open(dbPath, CSqliteDb::ReadWrite)))
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
    if (!Note(*this, m_userDb.Open(m_strUserDataDbPath, CSqliteDb::ReadWriteCreate)))
        return FALSE;
    CloseOnExit closer(m_userDb);

    // Fails when the table is already there; any other failure shows up in
    // the statements below.
    m_userDb.Exec(FillTable(kCreateTemplate, table));

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

CString CQuenlowApp::GetRecordText(const CString& key)
{
    // Always the local playlist table: its first column is the folder's path.
    if (!IsKnownTable(*this, m_strLocalPlaylistTable)) {
        NoteUnknownTable(*this, m_strLocalPlaylistTable);
        return CString();
    }
    if (!Note(*this, m_userDb.Open(m_strUserDataDbPath, CSqliteDb::ReadWrite)))
        return CString();
    CloseOnExit closer(m_userDb);
    const auto result = RunQuery(*this, FillTable(kFirstContentTemplate, m_strLocalPlaylistTable), {key});
    if (!result || result->nRow < 1)
        return CString();
    return CellText(*result, 0, 0).Trim();
}

BOOL CQuenlowApp::DeleteRecord(const CString& table, const CString& key)
{
    if (!Note(*this, m_userDb.Open(m_strUserDataDbPath, CSqliteDb::ReadWrite)))
        return FALSE;
    CloseOnExit closer(m_userDb);
    // Whether a record went away (or the statement failed) is not reported.
    if (!IsKnownTable(*this, table))
        NoteUnknownTable(*this, table);
    else
        Note(*this, m_userDb.Exec(FillTable(kDeleteTemplate, table), {key}));
    return TRUE;
}

BOOL CQuenlowApp::LoadTable(const CString& table, const CString& key)
{
    if (!Note(*this, m_userDb.Open(m_strUserDataDbPath, CSqliteDb::ReadWrite)))
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
    // A missing table counts as no rows.
    if (!result)
        return TRUE;
    for (int r = 0; r < result->nRow; ++r) {
        for (int c = 0; c < kCellsPerRecord; ++c)
            rows->Add(CellText(*result, r, c).Trim());
    }
    return TRUE;
}

std::unique_ptr<SQueryResult> CQuenlowApp::QueryTable(const CString& sql) { return RunQuery(*this, sql, {}); }

const char* CQuenlowApp::GetTableCell(const SQueryResult* result, int row, int column)
{
    return result ? result->GetCell(row, column) : nullptr;
}
