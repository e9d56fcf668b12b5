// The word-root page: a root word of the shipped database gives its page,
// a word without an entry leaves the last page alone, an apostrophe is found
// only in its stored form and shown as "'", and markup in a text is escaped.
#include <string>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordroot.h"

namespace {

TEST(WordRootTest, ShippedRootWordGetsItsPage)
{
    testsupport::TempProgramFolder program;
    const CString db = program.ansi() + "AppData/BasicDict/WordRoot.script";
    const CString page = program.ansi() + "AppData/BasicDict/theWordRootHTMLPath.html";
    ASSERT_EQ(WriteWordRootPage(db, "transport", page), EWordRoot::Found);
    const std::string html = testsupport::ReadBytes(ToFsPath(page));
    EXPECT_EQ(html.rfind("<html><head><meta", 0), 0u);
    EXPECT_NE(html.find("<body style=\"font-size:16px\">"), std::string::npos);
    EXPECT_NE(html.find("\xe8\xbf\x90\xe8\xbe\x93"), std::string::npos) << "运输 in UTF-8";
    EXPECT_NE(html.find("\r\n</body></html>"), std::string::npos);

    // A word without an entry: the page keeps the last content.
    EXPECT_EQ(WriteWordRootPage(db, "zzzz", page), EWordRoot::NotFound);
    EXPECT_EQ(testsupport::ReadBytes(ToFsPath(page)), html);
    EXPECT_EQ(WriteWordRootPage(program.ansi() + "none.script", "transport", page), EWordRoot::NoDatabase);
}

TEST(WordRootTest, ApostropheIsLookedUpStoredAndShownPlain)
{
    testsupport::TempFolder folder;
    const CString db = folder.ansi() + "WordRoot.script";
    {
        CSqliteDb sql;
        ASSERT_TRUE(sql.Open(db, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(sql.Exec("create table tablename(strkeyword text, strdetailtxt text)"));
        ASSERT_TRUE(sql.Exec("insert into tablename values('o*clock', '  of the clock: o*clock <short> & more  ')"));
    }
    CString text;
    EXPECT_EQ(FindWordRoot(db, "o'clock", text), EWordRoot::NotFound);
    ASSERT_EQ(FindWordRoot(db, "o*clock", text), EWordRoot::Found);
    EXPECT_EQ(text, "of the clock: o*clock <short> & more");
    const std::string html = RenderWordRootPage(text);
    EXPECT_NE(html.find(">of the clock: o'clock &lt;short&gt; &amp; more\r\n</body>"), std::string::npos) << html;
}

} // namespace
