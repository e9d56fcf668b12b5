// The SQLite layer's limited read-only mode: a database made to hang a query
// or to fill the memory is stopped within its bounds, the connection stays
// usable, and connections without limits read as before.
#include <string>

#include <gtest/gtest.h>

#include "platform/sqlitedb.h"
#include "tests/testsupport.h"

using testsupport::RunBounded;
using testsupport::SBoundedRun;
using testsupport::TempFolder;

namespace {

constexpr long kMemoryBoundKiB = 200 * 1024;

// A database made by a normal connection: rows counts 1..n in `numbers`, and
// views that never end or that make huge values.
CString MakeCraftedDatabase(const TempFolder& folder, int rows)
{
    const CString path = folder.ansi() + "crafted.db";
    CSqliteDb db;
    EXPECT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    EXPECT_TRUE(db.Exec("create table numbers(x int);"
                        "create view endless as with recursive c(x) as (select 1 union all select x + 1 from c) "
                        "select x from c;"
                        "create view huge as select zeroblob(900000000) as b;"
                        "create view wide as with recursive c(x) as (select 1 union all select x + 1 from c "
                        "where x < 100) select zeroblob(20000) as b from c;"
                        "create virtual table words using fts5(w);"));
    EXPECT_TRUE(db.Exec("insert into numbers with recursive c(x) as (select 1 union all select x + 1 from c "
                        "where x < ?) select x from c",
                        {rows}));
    return path;
}

// Each query passes one bound of the limited mode: it fails with the limit
// noted, well within the time and memory bounds of the test.
TEST(SqliteLimitsTest, QueriesPastABoundFailQuicklyWithBoundedMemory)
{
    TempFolder folder;
    const CString path = MakeCraftedDatabase(folder, 100001);
    struct Case {
        const char* what;
        const char* sql;
        SSqliteLimits limits;
        double maxSeconds;
    };
    SSqliteLimits shortTime;
    shortTime.maxMilliseconds = 200;
    SSqliteLimits smallResult;
    smallResult.maxResultBytes = 1 << 20;
    const Case cases[] = {
        {"rows without end", "select * from endless", {}, 1.0},
        {"a value of 900 MB", "select * from huge", {}, 1.0},
        {"more than 100,000 stored rows", "select * from numbers", {}, 10.0},
        {"100 values of 20 kB past a 1 MiB result", "select * from wide", smallResult, 1.0},
        {"work without rows, past the default 2 s", "select count(*) from endless", {}, 3.0},
        {"work without rows, past 200 ms", "select count(*) from endless", shortTime, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSqliteDb db;
        ASSERT_TRUE(db.Open(path, CSqliteDb::ReadOnlyLimited));
        db.SetLimits(c.limits);
        bool read = true;
        SQueryResult result;
        const SBoundedRun run = RunBounded([&] { read = db.Query(c.sql, {}, result); }, c.maxSeconds,
                                           kMemoryBoundKiB, [&] { db.Interrupt(); });
        EXPECT_FALSE(run.overran) << run.seconds << " s, " << run.peakGrowthKiB << " KiB";
        EXPECT_LT(run.peakGrowthKiB, kMemoryBoundKiB);
        EXPECT_FALSE(read);
        EXPECT_TRUE(db.LimitReached()) << db.LastError().str();
        EXPECT_EQ(result.nRow, 0);
        EXPECT_TRUE(result.cells.empty());

        // The connection goes on, and the next statement starts unmarked.
        ASSERT_TRUE(db.Query("select count(*) from numbers", {}, result));
        EXPECT_FALSE(db.LimitReached());
        EXPECT_STREQ(result.GetCell(0, 0), "100001");
    }
}

// Right at the bounds everything is read; a connection without limits reads
// past them as before.
TEST(SqliteLimitsTest, ReadsUpToTheBoundsAndUnlimitedConnectionsPastThem)
{
    TempFolder folder;
    const CString path = MakeCraftedDatabase(folder, 100000);
    CSqliteDb limited;
    ASSERT_TRUE(limited.Open(path, CSqliteDb::ReadOnlyLimited));
    // Reading 100,000 rows on a loaded machine may take a while; the time
    // bound is not what is looked at here.
    SSqliteLimits slowMachine;
    slowMachine.maxMilliseconds = 60000;
    limited.SetLimits(slowMachine);
    SQueryResult result;
    ASSERT_TRUE(limited.Query("select * from numbers", {}, result)) << limited.LastError().str();
    EXPECT_EQ(result.nRow, 100000);
    EXPECT_STREQ(result.GetCell(99999, 0), "100000");
    ASSERT_TRUE(limited.Query("select length(zeroblob(1048576))", {}, result)) << limited.LastError().str();
    EXPECT_STREQ(result.GetCell(0, 0), "1048576");
    EXPECT_FALSE(limited.Query("select length(zeroblob(1048577))", {}, result));
    EXPECT_TRUE(limited.LimitReached());
    // A read-only connection writes nothing.
    EXPECT_FALSE(limited.Exec("insert into numbers values(0)"));
    EXPECT_FALSE(limited.LimitReached());

    CSqliteDb unlimited;
    ASSERT_TRUE(unlimited.Open(path, CSqliteDb::ReadWrite));
    ASSERT_TRUE(unlimited.Exec("insert into numbers values(0)"));
    ASSERT_TRUE(unlimited.Query("select * from numbers", {}, result));
    EXPECT_EQ(result.nRow, 100001);
    ASSERT_TRUE(unlimited.Query("select length(zeroblob(5000000))", {}, result));
    EXPECT_STREQ(result.GetCell(0, 0), "5000000");
    EXPECT_FALSE(unlimited.LimitReached());
}

// What a name in a FROM clause stands for, so a reader can take a stored
// table only.
TEST(SqliteLimitsTest, ObjectTypeTellsTablesFromViews)
{
    TempFolder folder;
    const CString path = MakeCraftedDatabase(folder, 1);
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadOnlyLimited));
    const struct {
        const char* name;
        const char* type;
    } cases[] = {
        {"numbers", "table"},   {"NUMBERS", "table"}, {"endless", "view"},
        {"words", "virtual table"}, {"missing", ""},      {"sqlite_master", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(db.ObjectType(c.name).str(), c.type) << c.name;
}

} // namespace
