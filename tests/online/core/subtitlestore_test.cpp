// The subtitle store: packages stored under media digests, found again in
// the store file and in further libraries below the subtitle folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "online/core/subtitlestore.h"
#include "online/core/zipwriter.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/online/core/lessonbytes.h"
#include "tests/online/core/rawzip.h"
#include "tests/testsupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempFolder;

const char kDigest[] = "0123456789abcdef0123456789abcdef01234567";
const char kUpperDigest[] = "0123456789ABCDEF0123456789ABCDEF01234567";
const char kOtherDigest[] = "fedcba9876543210fedcba9876543210fedcba98";

// The folders and work files of a program folder.
struct SLayout {
    TempFolder temp;
    CString subtitleDir = temp.ansi() + "SubTitles/";
    CString store = subtitleDir + "HalvikEngSub.data";
    CString stagingPackage = temp.ansi() + "AppData/Temp/tmpjpg.jpg";
    CString stagingLesson = temp.ansi() + "AppData/Temp/tmpscript.script";

    SLayout() { fs::create_directories(temp.path() + "AppData/Temp"); }

    // A package (zip) with one member, at a path below the folder: a lesson
    // whose sentence is `sentence`, or with `asIs` the bytes themselves.
    CString Package(const std::string& relative, const std::string& sentence, bool asIs = false) const
    {
        const std::string path = temp.path() + relative;
        fs::create_directories(fs::path(path).parent_path());
        const std::string lesson = asIs ? sentence : testzip::LessonBytes(sentence);
        SZipHandle* writer = ZipWriterCreate(const_cast<char*>(path.c_str()), 0, kZipFromName, nullptr);
        ZipWriterAddMemory(writer, "Some Talk.script", lesson.data(), lesson.size());
        ZipWriterClose(writer);
        return CString(path);
    }

    ELibraryLoad Load(const CString& key) const
    {
        return LoadSubtitleFromLibrary(subtitleDir, key, stagingPackage, stagingLesson, store);
    }
    // The sentence of the staged lesson.
    std::string Lesson() const { return testzip::FirstSentence(stagingLesson); }
};

// A library file made directly, holding any value under a key.
void WriteLibrary(const CString& path, const CString& key, const std::string& value)
{
    CreateFolders(path.Left(path.ReverseFind('/')));
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table if not exists tablename( strkeyword varchar(200) primary key, DATA blob );"));
    ASSERT_TRUE(db.Exec("insert into tablename values( ?, ? );", {key, CString(value)}));
}

std::vector<std::pair<CString, CString>> StoredRows(const CString& store)
{
    std::vector<std::pair<CString, CString>> rows;
    CSqliteDb db;
    SQueryResult result;
    if (db.Open(store, CSqliteDb::ReadOnly) &&
        db.Query("select strkeyword, typeof(DATA) from tablename order by strkeyword;", {}, result)) {
        for (int row = 0; row < result.nRow; ++row)
            rows.emplace_back(result.CellText(row, 0), result.CellText(row, 1));
    }
    return rows;
}

using Rows = std::vector<std::pair<CString, CString>>;

TEST(SubtitleStoreTest, StoredPackageIsFoundByItsDigest)
{
    SLayout layout;
    const CString package = layout.Package("download/tmpjpg.jpg", "lesson text");
    ASSERT_TRUE(StoreSubtitlePackage(layout.store, kUpperDigest, package));
    EXPECT_EQ(StoredRows(layout.store), (Rows{{kDigest, "blob"}}));

    EXPECT_TRUE(IsInSubtitleLibrary(layout.subtitleDir, kDigest));
    EXPECT_TRUE(IsInSubtitleLibrary(layout.subtitleDir, kUpperDigest));
    EXPECT_FALSE(IsInSubtitleLibrary(layout.subtitleDir, kOtherDigest));

    EXPECT_EQ(layout.Load(kDigest), ELibraryLoad::Loaded);
    EXPECT_EQ(layout.Lesson(), "lesson text");
    // The staged package is not kept once its lesson is out.
    EXPECT_FALSE(FileExists(layout.stagingPackage));
    EXPECT_EQ(layout.Load(kOtherDigest), ELibraryLoad::NotFound);
}

TEST(SubtitleStoreTest, TheFirstPackageOfADigestStays)
{
    SLayout layout;
    ASSERT_TRUE(StoreSubtitlePackage(layout.store, kDigest, layout.Package("first.jpg", "first")));
    EXPECT_TRUE(StoreSubtitlePackage(layout.store, kUpperDigest, layout.Package("second.jpg", "second")));
    EXPECT_EQ(StoredRows(layout.store), (Rows{{kDigest, "blob"}}));
    EXPECT_EQ(layout.Load(kDigest), ELibraryLoad::Loaded);
    EXPECT_EQ(layout.Lesson(), "first");
}

TEST(SubtitleStoreTest, OnlyZipPackagesAreStored)
{
    SLayout layout;
    const CString garbage(layout.temp.write("garbage.jpg", "<html>no such file</html>"));
    const CString empty(layout.temp.write("empty.jpg", ""));
    const CString missing = layout.temp.ansi() + "missing.jpg";
    // A damaged download stored first would stand in for every good one.
    EXPECT_FALSE(StoreSubtitlePackage(layout.store, kDigest, garbage));
    EXPECT_FALSE(StoreSubtitlePackage(layout.store, kDigest, empty));
    EXPECT_FALSE(StoreSubtitlePackage(layout.store, kDigest, missing));
    EXPECT_FALSE(StoreSubtitlePackage(layout.store, "", layout.Package("good.jpg", "good")));
    EXPECT_EQ(StoredRows(layout.store), Rows{});
    EXPECT_TRUE(StoreSubtitlePackage(layout.store, kDigest, layout.Package("good.jpg", "good")));
    // A bad file under a key already stored leaves it stored.
    EXPECT_TRUE(StoreSubtitlePackage(layout.store, kDigest, garbage));
    EXPECT_EQ(layout.Load(kDigest), ELibraryLoad::Loaded);
    EXPECT_EQ(layout.Lesson(), "good");
}

TEST(SubtitleStoreTest, LibrariesBelowTheFolderAreSearchedAndBrokenOnesSkipped)
{
    SLayout layout;
    const std::string dir = ToFsPath(layout.subtitleDir);
    layout.temp.write("SubTitles/a.data", "not a database at all");
    layout.temp.write("SubTitles/b.data", "");   // an empty database: no table
    WriteLibrary(layout.subtitleDir + "c.data", kOtherDigest, "other");
    ASSERT_TRUE(StoreSubtitlePackage(layout.subtitleDir + "sub/more.data", kDigest,
                                     layout.Package("one.jpg", "from the sub-folder")));
    ASSERT_TRUE(StoreSubtitlePackage(layout.subtitleDir + "sub/zz.data", kDigest,
                                     layout.Package("two.jpg", "from a later library")));

    EXPECT_TRUE(IsInSubtitleLibrary(layout.subtitleDir, kDigest));
    EXPECT_EQ(layout.Load(kDigest), ELibraryLoad::Loaded);
    EXPECT_EQ(layout.Lesson(), "from the sub-folder");
    EXPECT_EQ(fs::file_size(dir + "a.data"), 21u);   // read-only: left as it was
}

TEST(SubtitleStoreTest, CollectDataFilesTakesPathsBelowTheFolder)
{
    TempFolder temp;
    const std::string root = temp.path() + "lib.data/";   // the folder's own name does not count
    for (const char* file : {"HalvikEngSub.data", "sub/more.data", "notes.txt", "old.data.bak", "pack.data/inner.db",
                             "sub/deep/x.data"})
        temp.write(std::string("lib.data/") + file, "");
    TempFolder outside;
    outside.write("linked.data", "");
    fs::create_directory_symlink(outside.path(), root + "link");   // not entered

    const CString dir = Utf8BytesToAnsi(root);
    EXPECT_EQ(CollectDataFiles(dir), (std::vector<CString>{dir + "HalvikEngSub.data", dir + "old.data.bak",
                                                           dir + "pack.data/inner.db", dir + "sub/deep/x.data",
                                                           dir + "sub/more.data"}));
    EXPECT_EQ(CollectDataFiles(temp.ansi() + "missing/"), std::vector<CString>{});
}

TEST(SubtitleStoreTest, DamagedPackagesLeaveNoStagingFiles)
{
    TempFolder temp;
    SRawMember badCrc{"lesson.script", "lesson"};
    badCrc.wrongCrc = true;
    struct SRow {
        const char* what;
        std::string blob;
    };
    const SRow rows[] = {
        {"not a zip archive", "PK but not really"},
        {"an archive without members", BuildRawZip({})},
        {"no member extracts", BuildRawZip({badCrc})},
        {"no member is a lesson", BuildRawZip({{"lesson.script", "lesson"}})},
    };
    for (const SRow& row : rows) {
        SLayout layout;
        WriteLibrary(layout.subtitleDir + "lib.data", kDigest, row.blob);
        layout.temp.write("AppData/Temp/tmpscript.script", "lesson of the previous media");
        EXPECT_EQ(layout.Load(kDigest), ELibraryLoad::Damaged) << row.what;
        EXPECT_FALSE(FileExists(layout.stagingLesson)) << row.what;
        EXPECT_FALSE(FileExists(layout.stagingPackage)) << row.what;
    }
}

// A stored package that gives no lesson (a picture, a text, a blank lesson)
// is removed from the program's store, so the host is asked again; one in a
// library from outside is only read, and a later library's good one is used.
TEST(SubtitleStoreTest, AStoredPackageWithoutALessonIsRemovedFromTheStore)
{
    struct SRow {
        const char* what;
        std::string member;
    };
    const SRow rows[] = {
        {"a picture", "\xFF\xD8\xFF\xE0 JFIF picture"},
        {"a text", "<html>404</html>"},
        {"a lesson without sentences", testzip::LessonBytes("", false)},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.what);
        SLayout layout;
        ASSERT_TRUE(StoreSubtitlePackage(layout.store, kDigest, layout.Package("bad.jpg", row.member, true)));
        ASSERT_TRUE(StoreSubtitlePackage(layout.store, kOtherDigest, layout.Package("good.jpg", "other media")));
        EXPECT_EQ(layout.Load(kUpperDigest), ELibraryLoad::Damaged);
        EXPECT_FALSE(FileExists(layout.stagingLesson));
        EXPECT_FALSE(FileExists(layout.stagingPackage));
        EXPECT_EQ(StoredRows(layout.store), (Rows{{kOtherDigest, "blob"}})) << "only the bad one goes";
        EXPECT_EQ(layout.Load(kDigest), ELibraryLoad::NotFound);

        // An outside library's bad package (sorted before the store) stays;
        // the store's good one is the lesson.
        WriteLibrary(layout.subtitleDir + "0-outside.data", kDigest,
                     ReadBytes(ToFsPath(layout.Package("bad2.jpg", row.member, true))));
        ASSERT_TRUE(StoreSubtitlePackage(layout.store, kDigest, layout.Package("fixed.jpg", "fetched again")));
        EXPECT_EQ(layout.Load(kDigest), ELibraryLoad::Loaded);
        EXPECT_EQ(layout.Lesson(), "fetched again");
        EXPECT_EQ(StoredRows(layout.subtitleDir + "0-outside.data"), (Rows{{kDigest, "text"}}));
    }
}

TEST(SubtitleStoreTest, KeysAreBoundNeverPastedIntoStatements)
{
    SLayout layout;
    const CString quoted = "x' or '1'='1";
    ASSERT_TRUE(StoreSubtitlePackage(layout.store, quoted, layout.Package("q.jpg", "quoted")));
    EXPECT_TRUE(IsInSubtitleLibrary(layout.subtitleDir, quoted));
    EXPECT_FALSE(IsInSubtitleLibrary(layout.subtitleDir, "y' or '1'='1"));
    EXPECT_EQ(layout.Load("'; drop table tablename; --"), ELibraryLoad::NotFound);
    EXPECT_EQ(layout.Load(quoted), ELibraryLoad::Loaded);
    EXPECT_EQ(layout.Lesson(), "quoted");
}

} // namespace
