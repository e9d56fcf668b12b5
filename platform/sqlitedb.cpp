#include "platform/sqlitedb.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>

#include <sqlite3.h>

#include "platform/codepage.h"
#include "platform/file.h"

const char* SQueryResult::GetCell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= nRow || column >= nColumn)
        return nullptr;
    const size_t index = static_cast<size_t>((row + 1) * nColumn + column);
    return isNull[index] ? nullptr : cells[index].GetString();
}

CString SQueryResult::CellText(int row, int column) const
{
    const char* cell = GetCell(row, column);
    return cell != nullptr ? CString(cell) : CString();
}

namespace {

int64_t SteadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Virtual machine steps between two looks at the clock: a few microseconds.
constexpr int kProgressSteps = 1000;

// SQLite opens its files (the database, its journal, the folder it syncs)
// through a replaceable system call. This one never waits in open() and
// keeps only regular files and folders: a FIFO put in a database's place
// would otherwise block the opening thread until a writer comes, for good,
// and a device would be read as a database. The type is taken from the
// opened descriptor, so nothing can be swapped in after a test. /dev/null
// stays allowed: SQLite opens it to fill a standard descriptor that is shut.
int OpenWithoutWaiting(const char* path, int flags, int mode)
{
    const int fd = ::open(path, flags | O_NONBLOCK | O_NOCTTY, static_cast<mode_t>(mode));
    if (fd < 0)
        return fd;
    struct stat st;
    const bool kept = ::fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode) ||
                                               (S_ISCHR(st.st_mode) && std::strcmp(path, "/dev/null") == 0));
    if (!kept) {
        ::close(fd);
        errno = ENXIO;
        return -1;
    }
    if (!(flags & O_NONBLOCK)) {
        const int status = ::fcntl(fd, F_GETFL);
        if (status >= 0)
            ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    return fd;
}

void InstallNonWaitingOpen()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        if (vfs != nullptr && vfs->iVersion >= 3 && vfs->xSetSystemCall != nullptr)
            vfs->xSetSystemCall(vfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(&OpenWithoutWaiting));
    });
}

} // namespace

CSqliteDb::~CSqliteDb() { Close(); }

bool CSqliteDb::Open(const CString& path, OpenMode mode)
{
    Close();
    int flags = SQLITE_OPEN_READONLY;
    if (mode == ReadWrite)
        flags = SQLITE_OPEN_READWRITE;
    else if (mode == ReadWriteCreate)
        flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    InstallNonWaitingOpen();
    const std::string utf8 = ToFsPath(path);
    // The open below lets folders through (SQLite opens its database's
    // folder to sync it); a folder in the database's place is refused here.
    struct stat st;
    if (::stat(utf8.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        m_lastResult = SQLITE_CANTOPEN;
        RecordError(m_lastResult);
        return false;
    }
    m_lastResult = sqlite3_open_v2(utf8.c_str(), &m_db, flags, nullptr);
    if (m_lastResult != SQLITE_OK) {
        RecordError(m_lastResult);
        Close();
        return false;
    }
    // Another process (or a second connection) may hold the file briefly.
    sqlite3_busy_timeout(m_db, 2000);
    if (mode == ReadOnlyLimited) {
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        SetLimits(SSqliteLimits());
    }
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
    m_limited = false;
    m_limitReached = false;
    m_timedOut = false;
}

void CSqliteDb::SetLimits(const SSqliteLimits& limits)
{
    if (!m_db)
        return;
    m_limited = true;
    m_limits = limits;
    sqlite3_limit(m_db, SQLITE_LIMIT_LENGTH, limits.maxValueBytes);
    sqlite3_progress_handler(m_db, kProgressSteps, &CSqliteDb::OnProgress, this);
}

void CSqliteDb::Interrupt()
{
    if (m_db)
        sqlite3_interrupt(m_db);
}

int CSqliteDb::OnProgress(void* self)
{
    auto* db = static_cast<CSqliteDb*>(self);
    if (SteadyNowNs() <= db->m_deadlineNs)
        return 0;
    db->m_timedOut = true;
    return 1;   // the statement ends with SQLITE_INTERRUPT
}

void CSqliteDb::StartStatement()
{
    m_limitReached = false;
    m_timedOut = false;
    if (m_limited)
        m_deadlineNs = SteadyNowNs() + int64_t{m_limits.maxMilliseconds} * 1000000;
}

void CSqliteDb::RecordError(int result)
{
    m_lastResult = result;
    m_lastError = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(result);
    if (!m_limited)
        return;
    const int primary = result & 0xff;
    if (primary == SQLITE_INTERRUPT && m_timedOut) {
        m_limitReached = true;
        m_lastError = ("statement ran longer than " + std::to_string(m_limits.maxMilliseconds) + " ms").c_str();
    } else if (primary == SQLITE_TOOBIG) {
        m_limitReached = true;
    }
}

void CSqliteDb::RecordLimit(int result, const char* what)
{
    m_lastResult = result;
    m_lastError = what;
    m_limitReached = true;
}

CString CSqliteDb::ObjectType(const CString& name)
{
    SQueryResult result;
    if (!Query("select type, sql like 'create virtual%' from sqlite_master "
               "where name = ? collate nocase and type in ('table', 'view')",
               {name}, result) ||
        result.nRow == 0)
        return CString();
    const char* type = result.GetCell(0, 0);
    const char* isVirtual = result.GetCell(0, 1);
    if (isVirtual && CString(isVirtual) == "1")
        return "virtual table";
    return type ? CString(type) : CString();
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
    StartStatement();
    if (params.empty() && m_db) {
        const int rc = sqlite3_exec(m_db, sql.GetString(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            RecordError(rc);
            return false;
        }
        m_lastResult = SQLITE_OK;
        m_lastError = "";
        return true;
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
    StartStatement();
    sqlite3_stmt* stmt = Prepare(sql, params);
    if (!stmt)
        return false;
    int64_t resultBytes = 0;
    result.nColumn = sqlite3_column_count(stmt);
    for (int c = 0; c < result.nColumn; ++c) {
        result.cells.emplace_back(sqlite3_column_name(stmt, c));
        result.isNull.push_back(false);
    }
    int rc;
    bool overLimit = false;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (m_limited && result.nRow >= m_limits.maxRows) {
            RecordLimit(SQLITE_TOOBIG, ("more than " + std::to_string(m_limits.maxRows) + " rows").c_str());
            overLimit = true;
            break;
        }
        for (int c = 0; c < result.nColumn; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            const int bytes = sqlite3_column_bytes(stmt, c);
            resultBytes += bytes;
            result.isNull.push_back(text == nullptr);
            result.cells.emplace_back(text ? CString(text, bytes) : CString());
        }
        ++result.nRow;
        if (m_limited && resultBytes > m_limits.maxResultBytes) {
            RecordLimit(SQLITE_TOOBIG,
                        ("more than " + std::to_string(m_limits.maxResultBytes) + " bytes of results").c_str());
            overLimit = true;
            break;
        }
    }
    const bool ok = !overLimit && rc == SQLITE_DONE;
    if (overLimit) {
        result = SQueryResult();
    } else if (!ok) {
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
