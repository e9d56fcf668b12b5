#include "online/core/subtitlestore.h"

#include <sqlite3.h>

#include <string>

#include "online/core/packageunpack.h"
#include "online/core/zipreader.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"

namespace {

// A subtitle package is a zipped lesson of some hundred kilobytes; the
// bound keeps a hostile library from handing out a huge value.
constexpr int kMaxPackageBytes = 16 << 20;

const char kCreateTable[] = "create table if not exists tablename( strkeyword varchar(200) primary key, DATA blob );";
const char kHasKey[] = "select 1 from tablename where strkeyword = ? limit 1;";
const char kPackageOfKey[] = "select DATA from tablename where strkeyword = ? limit 1;";
// The first package stored under a key stays.
const char kInsertPackage[] = "insert or ignore into tablename values( ?, ? );";
const char kDeletePackage[] = "delete from tablename where strkeyword = ?;";

CString Lowered(const CString& key)
{
    CString lowered = key;
    lowered.MakeLower();
    return lowered;
}

bool OpenLibrary(const CString& path, CSqliteDb& db)
{
    if (!db.Open(path, CSqliteDb::ReadOnlyLimited))
        return false;
    SSqliteLimits limits;
    limits.maxValueBytes = kMaxPackageBytes;
    db.SetLimits(limits);
    return true;
}

bool HasKey(CSqliteDb& db, const CString& key)
{
    SQueryResult result;
    return db.Query(kHasKey, {key}, result) && result.nRow > 0;
}

// Whether the bytes open as a zip archive with at least one member.
bool IsPackage(const std::string& bytes)
{
    if (bytes.empty())
        return false;
    SZipHandle* archive = ZipReaderOpenMemory(bytes.data(), bytes.size(), nullptr);
    if (archive == nullptr)
        return false;
    SZipItemInfo info{};
    const bool hasMembers = ZipReaderGetItem(archive, -1, &info) == kZipOk && info.nIndex > 0;
    ZipReaderClose(archive);
    return hasMembers;
}

bool InsertPackage(CSqliteDb& db, const CString& key, const std::string& package)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.handle(), kInsertPackage, -1, &statement, nullptr) != SQLITE_OK)
        return false;
    const bool done =
        sqlite3_bind_text(statement, 1, key.GetString(), key.GetLength(), SQLITE_TRANSIENT) == SQLITE_OK &&
        sqlite3_bind_blob64(statement, 2, package.data(), package.size(), SQLITE_STATIC) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
}

} // namespace

std::vector<CString> CollectDataFiles(const CString& subtitleDir)
{
    std::vector<CString> libraries;
    for (const CString& path : ListFilesRecursive(subtitleDir)) {
        // Only the part below the folder counts: a folder that is itself
        // named "x.data" must not make every file in it a library.
        CString below = path.Left(subtitleDir.GetLength()) == subtitleDir ? path.Mid(subtitleDir.GetLength()) : path;
        below.TrimLeft('/');
        if (below.Find(".data") >= 0)
            libraries.push_back(path);
    }
    return libraries;
}

bool IsInSubtitleLibrary(const CString& subtitleDir, const CString& key)
{
    const CString lowered = Lowered(key);
    for (const CString& library : CollectDataFiles(subtitleDir)) {
        CSqliteDb db;
        if (OpenLibrary(library, db) && HasKey(db, lowered))
            return true;
    }
    return false;
}

ELibraryLoad LoadSubtitleFromLibrary(const CString& subtitleDir, const CString& key, const CString& stagingPackage,
                                     const CString& stagingLesson, const CString& storePath)
{
    const CString lowered = Lowered(key);
    ELibraryLoad load = ELibraryLoad::NotFound;
    for (const CString& library : CollectDataFiles(subtitleDir)) {
        CSqliteDb db;
        SQueryResult result;
        if (!OpenLibrary(library, db) || !db.Query(kPackageOfKey, {lowered}, result) || result.nRow == 0)
            continue;
        // The cell itself, not its C string: a package holds zero bytes.
        const size_t cell = static_cast<size_t>(result.nColumn);
        const CString package = result.isNull[cell] ? CString() : result.cells[cell];
        db.Close();
        // The package is only the way to the lesson: it goes either way.
        const bool unpacked = !package.IsEmpty() && WriteFileAtomically(stagingPackage, package.view()) &&
                              UnpackLessonPackage(stagingPackage, stagingLesson) == EUnpackResult::Unpacked;
        DeleteFile(stagingPackage);
        if (unpacked)
            return ELibraryLoad::Loaded;
        DeleteFile(stagingLesson);
        load = ELibraryLoad::Damaged;
        // The program's own store lets the package go, so the host is asked
        // again; a library from outside is only read, and a later library
        // may still hold a good one.
        if (library == storePath)
            RemoveSubtitlePackage(storePath, key);
    }
    return load;
}

bool RemoveSubtitlePackage(const CString& storePath, const CString& key)
{
    if (!IsRegularFile(storePath))
        return false;
    CSqliteDb db;
    if (!db.Open(storePath, CSqliteDb::ReadWrite))
        return false;
    db.Exec(kDeletePackage, {Lowered(key)});   // a failure shows in the check
    return !HasKey(db, Lowered(key));
}

bool StoreSubtitlePackage(const CString& storePath, const CString& key, const CString& packagePath)
{
    const CString lowered = Lowered(key);
    if (lowered.IsEmpty())
        return false;
    std::string package;
    if (ReadRegularFile(packagePath, package, kMaxPackageBytes) != EFileReadResult::Read || !IsPackage(package)) {
        CSqliteDb db;
        return IsRegularFile(storePath) && db.Open(storePath, CSqliteDb::ReadOnly) && HasKey(db, lowered);
    }
    const int slash = storePath.ReverseFind('/');
    if (slash > 0)
        CreateFolders(storePath.Left(slash));
    CSqliteDb db;
    if (!db.Open(storePath, CSqliteDb::ReadWriteCreate))
        return false;
    db.Exec(kCreateTable);   // a failure shows in the insert
    InsertPackage(db, lowered, package);
    return HasKey(db, lowered);
}
