#include "platform/sqlitedb.h"

#include <sqlite3.h>

#include "platform/codepage.h"

const char* SQueryResult::GetCell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= nRow || column >= nColumn)
        return nullptr;
    const size_t index = static_cast<size_t>((row + 1) * nColumn + column);
    return isNull[index] ? nullptr : cells[index].GetString();
}

CSqliteDb::~CSqliteDb() { Close(); }

bool CSqliteDb::Open(const CString& path, OpenMode mode)
{
    Close();
    int flags = SQLITE_OPEN_READONLY;
    if (mode == ReadWrite)
        flags = SQLITE_OPEN_READWRITE;
    else if (mode == ReadWriteCreate)
        flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const std::string utf8 = AnsiToUtf8Bytes(path.view());
    m_lastResult = sqlite3_open_v2(utf8.c_str(), &m_db, flags, nullptr);
    if (m_lastResult != SQLITE_OK) {
        RecordError(m_lastResult);
        Close();
        return false;
    }
    // Another process (or a second connection) may hold the file briefly.
    sqlite3_busy_timeout(m_db, 2000);
    return true;
}

void CSqliteDb::SetBusyTimeout(int milliseconds)
{
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

void CSqliteDb::Close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void CSqliteDb::RecordError(int result)
{
    m_lastResult = result;
    m_lastError = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(result);
}

sqlite3_stmt* CSqliteDb::Prepare(const CString& sql, const SqlParams& params)
{
    if (!m_db) {
        m_lastResult = SQLITE_MISUSE;
        m_lastError = "database not open";
        return nullptr;
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sql.GetString(), sql.GetLength(), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        RecordError(rc);
        return nullptr;
    }
    for (size_t i = 0; i < params.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const CSqlValue& value = params[i];
        int bound = SQLITE_OK;
        switch (value.kind()) {
        case CSqlValue::Kind::Null:
            bound = sqlite3_bind_null(stmt, index);
            break;
        case CSqlValue::Kind::Text:
            bound = sqlite3_bind_text(stmt, index, value.text().GetString(), value.text().GetLength(), SQLITE_TRANSIENT);
            break;
        case CSqlValue::Kind::Integer:
            bound = sqlite3_bind_int64(stmt, index, value.integer());
            break;
        }
        if (bound != SQLITE_OK) {
            RecordError(bound);
            sqlite3_finalize(stmt);
            return nullptr;
        }
    }
    return stmt;
}

bool CSqliteDb::Exec(const CString& sql, const SqlParams& params)
{
    if (params.empty() && m_db) {
        char* error = nullptr;
        m_lastResult = sqlite3_exec(m_db, sql.GetString(), nullptr, nullptr, &error);
        m_lastError = error ? error : "";
        sqlite3_free(error);
        return m_lastResult == SQLITE_OK;
    }
    sqlite3_stmt* stmt = Prepare(sql, params);
    if (!stmt)
        return false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        RecordError(rc);
    else
        m_lastResult = SQLITE_OK;
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

bool CSqliteDb::Query(const CString& sql, const SqlParams& params, SQueryResult& result)
{
    result = SQueryResult();
    sqlite3_stmt* stmt = Prepare(sql, params);
    if (!stmt)
        return false;
    result.nColumn = sqlite3_column_count(stmt);
    for (int c = 0; c < result.nColumn; ++c) {
        result.cells.emplace_back(sqlite3_column_name(stmt, c));
        result.isNull.push_back(false);
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < result.nColumn; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            const int bytes = sqlite3_column_bytes(stmt, c);
            result.isNull.push_back(text == nullptr);
            result.cells.emplace_back(text ? CString(text, bytes) : CString());
        }
        ++result.nRow;
    }
    const bool ok = rc == SQLITE_DONE;
    if (!ok) {
        RecordError(rc);
        result = SQueryResult();
    } else {
        m_lastResult = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    return ok;
}

bool CSqliteDb::Begin() { return Exec("BEGIN IMMEDIATE"); }
bool CSqliteDb::Commit() { return Exec("COMMIT"); }

void CSqliteDb::Rollback()
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}
