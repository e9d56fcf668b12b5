// The local dictionary look-up on a small fixture dictionary: the exact word,
// each suffix rule, a capital letter, apostrophes in the stored "*" form, a
// miss that leaves the word as typed, words that would be SQL, a missing
// dictionary that is never created, and the page bytes.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordlookup.h"

namespace {

class WordLookupTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.ansi() + "theBaseDict.script";
        CSqliteDb db;
        ASSERT_TRUE(db.Open(m_path, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table oxford7(keyword varchar(100), detailtxt text)"));
        for (const char* word : {"study", "make", "take", "go", "apple", "apples", "hello", "o*clock", "don*t",
                                 "walk", "close", "box"})
            ASSERT_TRUE(db.Exec("insert into oxford7 values(?, ?)", {CString(word), CString("entry of ") + word}));
    }

    testsupport::TempFolder m_folder;
    CString m_path;
};

TEST_F(WordLookupTest, FindsTheWordOrTheBaseFormItsEndingGives)
{
    struct Case {
        const char* typed;
        EWordLookup result;
        const char* form;
    };
    const Case cases[] = {
        {"study", EWordLookup::Found, "study"},
        {" hello ", EWordLookup::Found, "hello"},   // blanks around it
        {"Hello", EWordLookup::Found, "hello"},     // a capital first letter
        {"Apples", EWordLookup::Found, "apples"},   // the capital rule comes before -s
        {"walks", EWordLookup::Found, "walk"},      // -s
        {"walked", EWordLookup::Found, "walk"},     // -ed
        {"closed", EWordLookup::Found, "close"},    // -d comes before -ed
        {"boxes", EWordLookup::Found, "box"},       // -es
        {"studies", EWordLookup::Found, "study"},   // -ies as -y
        {"going", EWordLookup::Found, "go"},        // -ing
        {"making", EWordLookup::Found, "make"},     // -ing as -e
        {"taking", EWordLookup::Found, "take"},
        {"o'clock", EWordLookup::Found, "o*clock"},   // apostrophes as stored
        {"don't", EWordLookup::Found, "don*t"},
        {"xyzing", EWordLookup::NotFound, ""},
        {"x' or '1'='1", EWordLookup::NotFound, ""},   // a bound value, not SQL
        {"", EWordLookup::NotFound, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const SWordEntry entry = FindWordEntry(m_path, c.typed);
        EXPECT_EQ(entry.result, c.result);
        EXPECT_EQ(entry.form, c.form);
        if (c.result == EWordLookup::Found) {
            EXPECT_EQ(entry.detail, std::string("entry of ") + c.form);
        }
    }
}

TEST_F(WordLookupTest, FormsAreTriedInTheRulesOrderWithoutRepeats)
{
    EXPECT_EQ(LookupForms("Makings"), (std::vector<CString>{"Makings", "makings", "making"}));
    EXPECT_EQ(LookupForms("making"), (std::vector<CString>{"making", "mak", "make"}));
    EXPECT_EQ(LookupForms("studies"), (std::vector<CString>{"studies", "studie", "studi", "study"}));
    EXPECT_EQ(LookupForms("I'd"), (std::vector<CString>{"I*d", "i*d", "i*"}));
}

// A missing dictionary finds nothing and is not made empty on disk.
TEST_F(WordLookupTest, AMissingDictionaryIsNeverCreated)
{
    const CString missing = m_folder.ansi() + "gone/theBaseDict.script";
    EXPECT_EQ(FindWordEntry(missing, "study").result, EWordLookup::NoDictionary);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_EQ(FindWordEntry(m_folder.ansi(), "study").result, EWordLookup::NoDictionary);   // a folder
}

TEST_F(WordLookupTest, SuggestionsBeginWithTheTypedTextInAlphabeticalOrder)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(m_path, CSqliteDb::ReadWrite));
    for (const char* word : {"ab_c", "abxc", "about", "above", "abroad", "absent", "absorb", "abstract", "absurd",
                             "abuse", "abandon", "ability", "able", "a%b"})
        ASSERT_TRUE(db.Exec("insert into oxford7 values(?, '')", {CString(word)}));
    db.Close();

    const std::vector<CString> ab = WordSuggestions(m_path, " AB ");
    EXPECT_EQ(ab, (std::vector<CString>{"ab_c", "abandon", "ability", "able", "about", "above", "abroad", "absent",
                                        "absorb", "abstract"}));
    struct Case {
        const char* typed;
        std::vector<CString> words;
    };
    const Case cases[] = {
        {"o'c", {"o'clock"}},                // an apostrophe matches the stored "*"
        {"ab_", {"ab_c"}},                   // "_" is no wildcard
        {"a%", {"a%b"}},                     // nor is "%"
        {"x' or '1'='1", {}},                // a bound value, not SQL
        {"  ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WordSuggestions(m_path, c.typed), c.words) << c.typed;
    EXPECT_EQ(WordSuggestions(m_path, "ab", 3).size(), 3u);
    EXPECT_TRUE(WordSuggestions(m_folder.ansi() + "gone.script", "ab").empty());
    EXPECT_FALSE(FileExists(m_folder.ansi() + "gone.script"));
}

TEST(PickedWordTest, KeepsTheWordWithoutThePunctuationAroundIt)
{
    struct Case {
        const char* selection;
        const char* word;
    };
    const Case cases[] = {
        {"study", "study"},          {" study, ", "study"},       {"\"o'clock.\"", "o'clock"},
        {"“well-known”", "well-known"}, {"(1999)", "1999"},       {"'tis", "tis"},
        {"...", ""},                 {"", ""},                    {"说", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PickedWord(c.selection), CString(c.word)) << c.selection;
}

// The online pages get the word or text as UTF-8 bytes, percent-encoded, after
// the installation's addresses.
TEST(OnlineAddressTest, WordsAndTextsArePercentEncodedUtf8)
{
    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strAppDir);
    theApp.m_strAppDir = program.ansi();
    program.write("AppData/CommonData/Product.cfg",
                  "DictionaryUrl=https://dict.test/s?wd=\nTranslateUrl=https://translate.test/\n");
    EXPECT_EQ(OnlineDictionaryAddress("o'clock"), "https://dict.test/s?wd=o%27clock");
    EXPECT_EQ(OnlineDictionaryAddress("a b&c#"), "https://dict.test/s?wd=a%20b%26c%23");
    EXPECT_EQ(OnlineDictionaryAddress(""), "https://dict.test/s?wd=");
    EXPECT_EQ(OnlineTranslationAddress("How are you? 你好"),
              "https://translate.test/#auto2auto|How%20are%20you%3F%20%E4%BD%A0%E5%A5%BD");
}

TEST(WordPageTest, PageBytesForThePaneAndForASilentLookUp)
{
    const std::string head = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />"
                             "</head><style type=\"text/css\">\tbody{padding: 2px;margin: 2px;}</style>";
    EXPECT_EQ(RenderWordPage("\\n<b>o*clock</b>\\n\xE7\x82\xB9\xE9\x92\x9F", false),
              head + "<body style=\"font-size:16px\"><b>o'clock</b><br>\xE7\x82\xB9\xE9\x92\x9F</body></html>");
    EXPECT_EQ(RenderWordPage("go", true), head + "<body style=\"font-size:14px\">go</body></html>");
    EXPECT_EQ(RenderWordPage("a\\b", false), head + "<body style=\"font-size:16px\">a\\b</body></html>");
}

} // namespace

namespace {

// The dictionary the program ships answers the learner's common cases, and
// holds its words in the stored form the look-up expects.
TEST(ShippedDictionaryTest, AnswersTheCommonCasesInTheStoredForm)
{
    testsupport::TempProgramFolder program;
    const CString path = program.ansi() + "AppData/BasicDict/theBaseDict.script";
    struct Case {
        const char* typed;
        const char* form;
    };
    for (const Case& c : {Case{"studies", "study"}, Case{"making", "make"}, Case{"taking", "take"},
                          Case{"apples", "apples"}, Case{"Apple", "apple"}, Case{"hello", "hello"},
                          Case{"o'clock", "o*clock"}, Case{"welcome", "welcome"}}) {
        const SWordEntry entry = FindWordEntry(path, c.typed);
        EXPECT_EQ(entry.result, EWordLookup::Found) << c.typed;
        EXPECT_EQ(entry.form, c.form) << c.typed;
    }

    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadOnly));
    SQueryResult result;
    ASSERT_TRUE(db.Query("select count(*), sum(keyword <> lower(keyword)), sum(instr(keyword || detailtxt, '''') > 0) "
                         "from oxford7",
                         {}, result));
    EXPECT_GE(std::atoi(result.GetCell(0, 0)), 300);
    EXPECT_EQ(std::string(result.GetCell(0, 1)), "0") << "headwords not in lower case";
    EXPECT_EQ(std::string(result.GetCell(0, 2)), "0") << "apostrophes not stored as *";
}

} // namespace
