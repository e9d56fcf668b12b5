// A small SQLite layer: every value goes in as a bound parameter, file names
// are converted to UTF-8, and each query returns its own result.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/cstring.h"

struct sqlite3;
struct sqlite3_stmt;

// The whole result of one query: the column names first, then the rows.
// A cell that held SQL NULL reads as a null pointer.
struct SQueryResult {
    int nRow = 0;
    int nColumn = 0;
    std::vector<CString> cells;   // (nRow + 1) * nColumn, header row first
    std::vector<bool> isNull;     // same layout

    // Cell of data row `row`, or null outside the result or for SQL NULL.
    const char* GetCell(int row, int column) const;
    // The same as text: empty outside the result or for SQL NULL.
    CString CellText(int row, int column) const;
};

// A value bound to a statement parameter: text (GB18030 bytes as stored),
// integer, or SQL NULL.
class CSqlValue {
public:
    CSqlValue() : m_kind(Kind::Null) {}
    CSqlValue(const CString& text) : m_kind(Kind::Text), m_text(text) {}
    CSqlValue(const char* text) : m_kind(Kind::Text), m_text(text) {}
    CSqlValue(int value) : m_kind(Kind::Integer), m_integer(value) {}
    CSqlValue(int64_t value) : m_kind(Kind::Integer), m_integer(value) {}

    enum class Kind { Null, Text, Integer };
    Kind kind() const { return m_kind; }
    const CString& text() const { return m_text; }
    int64_t integer() const { return m_integer; }

private:
    Kind m_kind;
    CString m_text;
    int64_t m_integer = 0;
};

using SqlParams = std::vector<CSqlValue>;

// Bounds on what one statement may cost, for a database that comes from
// outside the program (a lesson file, a downloaded package): such a file can
// hold views that never end or that make values of gigabytes.
struct SSqliteLimits {
    int maxValueBytes = 1 << 20;          // one string or blob
    int maxRows = 100000;                 // rows one query may return
    int64_t maxResultBytes = 64 << 20;    // all cells of one query together
    int maxMilliseconds = 2000;           // wall time of one statement
};

class CSqliteDb {
public:
    // ReadOnlyLimited opens read-only with the default SSqliteLimits, the
    // schema untrusted (no functions with side effects in its views) and
    // defensive mode on: the mode for a file the program did not make.
    enum OpenMode { ReadOnly, ReadWrite, ReadWriteCreate, ReadOnlyLimited };

    CSqliteDb() = default;
    ~CSqliteDb();
    CSqliteDb(const CSqliteDb&) = delete;
    CSqliteDb& operator=(const CSqliteDb&) = delete;

    // Opens the database at a program-text path (converted to UTF-8). Only a
    // regular file is opened, without waiting: a FIFO or a device in the
    // database's place fails the open at once.
    bool Open(const CString& path, OpenMode mode);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    int LastResult() const { return m_lastResult; }
    const CString& LastError() const { return m_lastError; }
    // How long a statement waits for another connection's lock before it
    // fails with SQLITE_BUSY (2 s after Open).
    void SetBusyTimeout(int milliseconds);

    // Bounds every later statement of this connection (the cell length at
    // once, rows, result bytes and time per Exec or Query call). A statement
    // stopped by a bound fails, and LimitReached() tells it apart from other
    // errors until the next statement.
    void SetLimits(const SSqliteLimits& limits);
    bool LimitReached() const { return m_limitReached; }
    // Stops the statement this connection is running; safe from any thread.
    void Interrupt();

    // The kind of schema object `name` is ("table", "view", "index",
    // "trigger"), or empty when the database has none of that name.
    CString ObjectType(const CString& name);

    // Runs one statement (or several, without parameters).
    bool Exec(const CString& sql, const SqlParams& params = {});
    // Runs a query and returns all of its rows; false on error.
    bool Query(const CString& sql, const SqlParams& params, SQueryResult& result);

    // Transactions: Begin, then Commit or Rollback.
    bool Begin();
    bool Commit();
    void Rollback();

    sqlite3* handle() const { return m_db; }

private:
    sqlite3_stmt* Prepare(const CString& sql, const SqlParams& params);
    void RecordError(int result);
    void StartStatement();
    void RecordLimit(int result, const char* what);
    static int OnProgress(void* self);

    sqlite3* m_db = nullptr;
    bool m_limited = false;
    SSqliteLimits m_limits;
    int64_t m_deadlineNs = 0;     // steady clock; the progress handler's bound
    bool m_timedOut = false;
    bool m_limitReached = false;
    int m_lastResult = 0;
    CString m_lastError;
};
