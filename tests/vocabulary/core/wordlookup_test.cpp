// The local dictionary look-up on a small fixture dictionary: the exact word,
// each suffix rule, irregular forms, a capital letter, apostrophes in the
// stored "*" form, a miss that leaves the word as typed, words that would be
// SQL, a missing dictionary that is never created, and the page bytes; then
// the shipped dictionary on the forms a learner meets.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/codepage.h"
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
                                 "walk", "close", "box", "stop", "run", "big", "large", "happy", "child", "analyse",
                                 "analysis", "learner", "axe", "axis", "saw", "see"})
            ASSERT_TRUE(db.Exec("insert into oxford7 values(?, ?)", {CString(word), CString("entry of ") + word}));
        ASSERT_TRUE(db.Exec("create table wordforms(form varchar(100), lemma varchar(100))"));
        // As the exception lists give them: a form with two headwords keeps their order.
        for (const auto& [form, lemma] : {std::pair{"took", "take"}, {"children", "child"}, {"analyses", "analysis"},
                                          {"axes", "axis"}, {"axes", "axe"}, {"saw", "see"}})
            ASSERT_TRUE(db.Exec("insert into wordforms values(?, ?)", {CString(form), CString(lemma)}));
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
        {"studied", EWordLookup::Found, "study"},     // -ied as -y
        {"stopped", EWordLookup::Found, "stop"},      // a doubled consonant
        {"running", EWordLookup::Found, "run"},
        {"bigger", EWordLookup::Found, "big"},
        {"larger", EWordLookup::Found, "large"},      // -er as -e
        {"happiest", EWordLookup::Found, "happy"},    // -iest as -y
        {"learner's", EWordLookup::Found, "learner"}, // a possessive
        {"learners'", EWordLookup::Found, "learner"},
        {"STOPPED", EWordLookup::Found, "stop"},      // a word in capitals
        {"took", EWordLookup::Found, "take"},         // irregular forms
        {"Children", EWordLookup::Found, "child"},
        {"analyses", EWordLookup::Found, "analysis"}, // before -s gives "analyse"
        {"axes", EWordLookup::Found, "axis"},         // the first headword listed
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
    EXPECT_EQ(LookupForms("stopped"), (std::vector<CString>{"stopped", "stoppe", "stopp", "stop"}));
    EXPECT_EQ(LookupForms("all"), (std::vector<CString>{"all"}));   // no rule for a short word
}

// A form that is also a headword shows its base's entry, then its own.
TEST_F(WordLookupTest, AFormThatIsAHeadwordToo)
{
    const SWordEntry saw = FindWordEntry(m_path, "Saw");
    EXPECT_EQ(saw.form, "see");
    EXPECT_EQ(saw.detail, "entry of see<hr>entry of saw");
}

// Without the irregular forms table (an older dictionary) the rules still find words.
TEST_F(WordLookupTest, ADictionaryWithoutTheFormsTableIsLookedUpByTheRules)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(m_path, CSqliteDb::ReadWrite));
    ASSERT_TRUE(db.Exec("drop table wordforms"));
    db.Close();
    EXPECT_EQ(FindWordEntry(m_path, "studied").form, "study");
    EXPECT_EQ(FindWordEntry(m_path, "took").result, EWordLookup::NotFound);
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
    // A translation page whose address carries its own form takes the text at its end.
    program.write("AppData/CommonData/Product.cfg", "TranslateUrl=https://translate.test/t?from=auto&text=\n");
    EXPECT_EQ(OnlineTranslationAddress("a b"), "https://translate.test/t?from=auto&text=a%20b");
}

// A form names the word typed and the headword above the entry; a case
// difference alone does not. A miss says so in Chinese and links the online
// page; the word typed is page text, never markup.
TEST(WordPageTest, FormNoteAndMissPage)
{
    const SWordEntry took{EWordLookup::Found, "take", "<b>take</b>"};
    const std::string note = RenderEntryPage("took", took, false);
    // "took：take 的变化形式"
    EXPECT_NE(note.find("took\xEF\xBC\x9A<b>take</b> \xE7\x9A\x84\xE5\x8F\x98\xE5\x8C\x96\xE5\xBD\xA2\xE5\xBC\x8F"
                        "</font><br><b>take</b>"),
              std::string::npos)
        << note;
    const SWordEntry hello{EWordLookup::Found, "hello", "<b>hello</b>"};
    EXPECT_EQ(RenderEntryPage(" Hello ", hello, false), RenderWordPage("<b>hello</b>", false));
    const SWordEntry clock{EWordLookup::Found, "o*clock", "<b>o*clock</b>"};
    EXPECT_EQ(RenderEntryPage("o'clock", clock, true), RenderWordPage("<b>o*clock</b>", true));

    const std::string miss = RenderMissPage(" x<y*z ", EWordLookup::NotFound, "http://127.0.0.1:9/s?wd=x%3Cy", false);
    // "词典中没有找到“"
    EXPECT_NE(miss.find("\xE8\xAF\x8D\xE5\x85\xB8\xE4\xB8\xAD\xE6\xB2\xA1\xE6\x9C\x89\xE6\x89\xBE\xE5\x88"
                        "\xB0\xE2\x80\x9C<b>x&lt;y&#42;z</b>"),
              std::string::npos)
        << miss;
    EXPECT_NE(miss.find("<a href=\"http://127.0.0.1:9/s?wd=x%3Cy\">"), std::string::npos);
    EXPECT_NE(miss.find("font-size:16px"), std::string::npos);
    EXPECT_EQ(RenderMissPage("", EWordLookup::NotFound, "http://x/s?wd=", true).find("<a "), std::string::npos);
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
    const Case cases[] = {
        {"studies", "study"},     {"studied", "study"},   {"making", "make"},         {"stopped", "stop"},
        {"running", "run"},       {"took", "take"},       {"taken", "take"},          {"children", "child"},
        {"went", "go"},           {"better", "good"},   {"worse", "bad"},           {"wolves", "wolf"},
        {"analyses", "analysis"}, {"Apple", "apple"},     {"HELLO", "hello"},         {"o'clock", "o*clock"},
        {"everyone", "everyone"}, {"the", "the"},         {"carefully", "carefully"}, {"learner's", "learner"},
    };
    for (const Case& c : cases) {
        const SWordEntry entry = FindWordEntry(path, c.typed);
        EXPECT_EQ(entry.result, EWordLookup::Found) << c.typed;
        EXPECT_EQ(entry.form, c.form) << c.typed;
    }
    EXPECT_EQ(FindWordEntry(path, "xqzvbnt").result, EWordLookup::NotFound);

    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadOnly));
    SQueryResult result;
    ASSERT_TRUE(db.Query("select count(*), sum(keyword <> lower(keyword)), sum(instr(keyword || detailtxt, '''') > 0) "
                         "from oxford7",
                         {}, result));
    EXPECT_GE(std::atoi(result.GetCell(0, 0)), 50000);
    EXPECT_EQ(std::string(result.GetCell(0, 1)), "0") << "headwords not in lower case";
    EXPECT_EQ(std::string(result.GetCell(0, 2)), "0") << "apostrophes not stored as *";
}

} // namespace

namespace {

// Whether a page carries Chinese: a character of the CJK block (UTF-8 lead bytes E4 to E9).
bool HasChinese(const std::string& page)
{
    for (size_t i = 0; i + 2 < page.size(); ++i) {
        const unsigned char lead = static_cast<unsigned char>(page[i]);
        if (lead >= 0xE4 && lead <= 0xE9 && (static_cast<unsigned char>(page[i + 1]) & 0xC0) == 0x80)
            return true;
    }
    return false;
}

// The first Chinese equivalent of a page (UTF-8, as the look-up gives it), in
// the program's text: its second line without mark-up, up to the first "；"
// or remark in brackets.
CString FirstChinese(const std::string& page)
{
    const std::string text = ConvertBytes(page, CP_UTF8, CP_ACP);
    const size_t start = text.find("\\n");
    if (start == std::string::npos)
        return CString();
    std::string line = text.substr(start + 2, text.find("\\n", start + 2) - start - 2);
    for (size_t open = line.find('<'); open != std::string::npos; open = line.find('<'))
        line.erase(open, line.find('>', open) - open + 1);
    return CString(line.substr(0, std::min(line.find("；"), line.find("（"))));
}

// Whether the page shows the Chinese word (given in the program's text).
bool Shows(const std::string& page, const char* chinese)
{
    return ConvertBytes(page, CP_UTF8, CP_ACP).find(chinese) != std::string::npos;
}

// Every English function word has a page with Chinese, its own or its
// base's: a learner double-clicks them in every sentence.
TEST(ShippedDictionaryTest, EveryFunctionWordHasAnEntryWithChinese)
{
    testsupport::TempProgramFolder program;
    const CString path = program.ansi() + "AppData/BasicDict/theBaseDict.script";
    struct SClass {
        const char* name;
        std::vector<const char*> words;
    };
    const SClass classes[] = {
        {"pronouns",
         {"I", "me", "my", "mine", "myself", "you", "your", "yours", "yourself", "yourselves", "he", "him", "his",
          "himself", "she", "her", "hers", "herself", "it", "its", "itself", "we", "us", "our", "ours", "ourselves",
          "they", "them", "their", "theirs", "themselves", "one", "oneself", "who", "whom", "whose", "which", "what",
          "whoever", "whomever", "whatever", "whichever", "this", "that", "these", "those", "anybody", "anyone",
          "anything", "everybody", "everyone", "everything", "nobody", "none", "nothing", "somebody", "someone",
          "something"}},
        {"determiners",
         {"a", "an", "the", "some", "any", "no", "every", "each", "either", "neither", "all", "both", "half",
          "several", "many", "much", "few", "fewer", "little", "less", "more", "most", "enough", "other", "another",
          "such"}},
        {"prepositions",
         {"about", "above", "across", "after", "against", "along", "alongside", "amid", "amidst", "among", "amongst",
          "around", "as", "at", "before", "behind", "below", "beneath", "beside", "besides", "between", "beyond",
          "but", "by", "despite", "down", "during", "except", "for", "from", "in", "inside", "into", "like", "near",
          "of", "off", "on", "onto", "opposite", "out", "outside", "over", "past", "per", "round", "since", "than",
          "through", "throughout", "till", "to", "toward", "towards", "under", "underneath", "unlike", "until", "up",
          "upon", "via", "with", "within", "without"}},
        {"conjunctions",
         {"and", "or", "nor", "so", "yet", "because", "although", "though", "while", "whilst", "whereas", "if",
          "unless", "whether", "once", "when", "whenever", "where", "wherever", "lest"}},
        {"auxiliaries",
         {"be", "am", "is", "are", "was", "were", "been", "being", "do", "does", "did", "done", "doing", "have",
          "has", "had", "having", "will", "would", "shall", "should", "can", "could", "may", "might", "must",
          "ought", "need", "dare", "cannot"}},
        {"contractions",
         {"don't", "doesn't", "didn't", "isn't", "aren't", "wasn't", "weren't", "won't", "wouldn't", "can't",
          "couldn't", "shouldn't", "haven't", "hasn't", "hadn't", "mustn't", "I'm", "you're", "he's", "she's",
          "it's", "we're", "they're", "I've", "you've", "we've", "they've", "I'll", "you'll", "he'll", "she'll",
          "it'll", "we'll", "they'll", "I'd", "you'd", "he'd", "she'd", "we'd", "they'd", "let's", "that's",
          "there's", "what's", "who's", "here's"}},
    };
    for (const SClass& c : classes) {
        for (const char* word : c.words) {
            const SWordEntry entry = FindWordEntry(path, word);
            EXPECT_EQ(entry.result, EWordLookup::Found) << c.name << ": " << word;
            EXPECT_TRUE(HasChinese(entry.detail)) << c.name << ": " << word << " " << entry.detail.substr(0, 80);
        }
    }
}

// A page leads with the everyday Chinese word: equivalents are ranked by how
// common they are, rare and dialect words come last or not at all, and an
// inflected form reaches its own base.
TEST(ShippedDictionaryTest, TheEverydayChineseWordComesFirst)
{
    testsupport::TempProgramFolder program;
    const CString path = program.ansi() + "AppData/BasicDict/theBaseDict.script";
    struct SCase {
        const char* word;
        const char* first;      // the first Chinese equivalent shown
        const char* absent;     // a rare word the page does not show ("" none)
    };
    const SCase cases[] = {
        {"we", "我们", "阿拉"},      {"brother", "兄弟", "具尔"}, {"take", "拿", ""},
        {"study", "学习", ""},       {"fast", "快的", "大斋"},    {"consider", "认为", ""},
        {"appear", "出现", "形"},    {"include", "包括", "包罗"}, {"spend", "支出", ""},
        {"she", "她", "伊人"},       {"his", "他的", "你好"},     {"hoping", "希望", "蹦跳"},
        {"coming", "来", "抗母"},    {"afford", "买得起", "蔚成"}, {"used", "用过的", "中古"},
    };
    for (const SCase& c : cases) {
        const SWordEntry entry = FindWordEntry(path, c.word);
        ASSERT_EQ(entry.result, EWordLookup::Found) << c.word;
        EXPECT_EQ(FirstChinese(entry.detail), c.first) << c.word;
        if (*c.absent != '\0') {
            EXPECT_FALSE(Shows(entry.detail, c.absent)) << c.word;
        }
    }
}

// The words of an ordinary English text that every Debian system carries, the
// GPL-3: nearly all are found, and nearly all pages found carry Chinese. Prints
// the shares and the first misses.
TEST(ShippedDictionaryTest, FindsTheWordsOfAnOrdinaryEnglishText)
{
    const std::string text = testsupport::ReadBytes("/usr/share/common-licenses/GPL-3");
    if (text.empty())
        GTEST_SKIP() << "no /usr/share/common-licenses/GPL-3 on this machine";
    testsupport::TempProgramFolder program;
    const CString path = program.ansi() + "AppData/BasicDict/theBaseDict.script";
    // Words as a double click picks them: letters with apostrophes inside.
    std::set<std::string> words;
    std::string word;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char ch = i < text.size() ? text[i] : ' ';
        const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
        if (letter || (ch == '\'' && !word.empty() && i + 1 < text.size() && std::isalpha(text[i + 1]))) {
            word += ch;
        } else if (!word.empty()) {
            words.insert(word);
            word.clear();
        }
    }
    int found = 0;
    int chinese = 0;
    std::vector<std::string> misses;
    std::vector<std::string> withoutChinese;
    for (const std::string& w : words) {
        const SWordEntry entry = FindWordEntry(path, CString(w));
        if (entry.result != EWordLookup::Found) {
            misses.push_back(w);
            continue;
        }
        ++found;
        if (HasChinese(entry.detail))
            ++chinese;
        else
            withoutChinese.push_back(w);
    }
    const double foundShare = 100.0 * found / static_cast<double>(words.size());
    const double chineseShare = 100.0 * chinese / std::max(found, 1);
    std::string first;
    for (size_t i = 0; i < misses.size() && i < 20; ++i)
        first += " " + misses[i];
    std::string firstWithout;
    for (size_t i = 0; i < withoutChinese.size() && i < 20; ++i)
        firstWithout += " " + withoutChinese[i];
    std::printf("GPL-3: %zu distinct words, %.1f%% found, %.1f%% of those with Chinese\n"
                "first misses:%s\nfirst found without Chinese:%s\n",
                words.size(), foundShare, chineseShare, first.c_str(), firstWithout.c_str());
    EXPECT_GE(foundShare, 97.0);
    EXPECT_GE(chineseShare, 90.0);
}

} // namespace
