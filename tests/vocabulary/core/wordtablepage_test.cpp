// The word table page: rows of ten words, a new row and the other class at
// each new first letter, words escaped, nothing written without its sources.
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordtablepage.h"

namespace {

struct SRow {
    std::string rowClass;
    std::vector<std::string> cells;   // "" for a padding cell
    std::vector<std::string> colors;  // of the word cells
};

// Reads the rows back out of the table text; a line the table should not
// hold fails the test.
std::vector<SRow> ParseRows(const std::string& rows)
{
    static const std::regex rowStart("<tr class=\"([a-z]+)\">");
    static const std::regex wordCell(
        "<td width=\"7%\"><b><font face=\"HGPGyoshotai\" size=\"2\" color=\"([^\"]*)\">(.*)</font></b></td>");
    std::vector<SRow> parsed;
    size_t start = 0;
    while (start < rows.size()) {
        const size_t end = rows.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "a line without \\r\\n: " << rows.substr(start);
            break;
        }
        const std::string line = rows.substr(start, end - start);
        start = end + 2;
        std::smatch match;
        if (std::regex_match(line, match, rowStart)) {
            parsed.push_back({match[1], {}, {}});
        } else if (line == "</tr>") {
            continue;
        } else if (!parsed.empty() && line == "<td width=\"7%\"></td>") {
            parsed.back().cells.push_back("");
        } else if (!parsed.empty() && std::regex_match(line, match, wordCell)) {
            parsed.back().colors.push_back(match[1]);
            parsed.back().cells.push_back(match[2]);
        } else {
            ADD_FAILURE() << "unexpected line: " << line;
        }
    }
    return parsed;
}

std::vector<std::string> Padded(std::vector<std::string> cells)
{
    cells.resize(kWordTableColumns);
    return cells;
}

TEST(WordTablePageTest, TenWordsARowAndANewRowOfTheOtherClassAtEachFirstLetter)
{
    std::vector<CString> words;
    std::vector<std::string> aWords;
    for (int i = 0; i < 12; ++i) {
        CString word;
        word.Format("a%02d", i);
        words.push_back(word);
        aWords.push_back(word.str());
    }
    // "Bee" and "bird" share their letter; "你" and "呢" share their lead
    // byte (0xC4) but not their first character.
    for (const char* word : {"Bee", "bird", "你好", "你们", "呢", "cat"})
        words.push_back(word);

    const std::vector<SRow> rows = ParseRows(MakeWordTableRows(words));
    const std::vector<SRow> expected = {
        {"maincss", {aWords.begin(), aWords.begin() + 10}, {}},   // a full row needs no padding
        {"maincss", Padded({"a10", "a11"}), {}},                   // the same letter keeps its class
        {"altcss", Padded({"Bee", "bird"}), {}},
        {"maincss", Padded({"你好", "你们"}), {}},
        {"altcss", Padded({"呢"}), {}},
        {"maincss", Padded({"cat"}), {}},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].rowClass, expected[i].rowClass) << "row " << i;
        EXPECT_EQ(rows[i].cells, expected[i].cells) << "row " << i;
        const char* color = rows[i].rowClass == "maincss" ? kWordTableMainColor : kWordTableAltColor;
        for (const std::string& cellColor : rows[i].colors)
            EXPECT_EQ(cellColor, color) << "row " << i;
    }
    EXPECT_EQ(MakeWordTableRows({}), "");
}

TEST(WordTablePageTest, WordsAreEscapedAndNeverTakenForTheTemplatesPlaceholders)
{
    struct Case {
        const char* word;
        const char* cell;
    };
    const Case cases[] = {
        {"<script>x</script>", "&lt;script&gt;x&lt;/script&gt;"},   // markup from the learner's file
        {"R&D", "R&amp;D"},
        {"a \"quoted\" o'word", "a &quot;quoted&quot; o&#39;word"},
        {"&lt;", "&amp;lt;"},                                        // escaped once, not taken as an entity
        {"tmpcolor", "tmpcolor"},                                    // a word, not the colour's place
        {"tmpkeyword", "tmpkeyword"},
        {"学习", "学习"},                                            // program text passes as it is
    };
    for (const Case& c : cases) {
        const std::vector<SRow> rows = ParseRows(MakeWordTableRows({c.word}));
        ASSERT_EQ(rows.size(), 1u) << c.word;
        EXPECT_EQ(rows[0].cells.front(), c.cell) << c.word;
        EXPECT_EQ(rows[0].colors, std::vector<std::string>{kWordTableMainColor}) << c.word;
    }
}

TEST(WordTablePageTest, PageIsTheHeaderTheRowsAndTheClosingTags)
{
    testsupport::TempFolder temp;
    temp.write("word/header.html", "<html>\n<body>\r\n<table><tbody>");   // mixed line ends, no last one
    temp.write("word/wordlist.data", "  apple \r\n\r\nant\n");
    ASSERT_TRUE(WriteWordTablePage(temp.ansi() + "word/"));
    const std::string page = testsupport::ReadBytes(temp.path() + "word/word.html");
    EXPECT_EQ(page, "<html>\r\n<body>\r\n<table><tbody>\r\n" + MakeWordTableRows({"apple", "ant"}) +
                        "</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n");

    // An empty list still makes a whole page.
    temp.write("word/wordlist.data", "\r\n");
    ASSERT_TRUE(WriteWordTablePage(temp.ansi() + "word/"));
    EXPECT_EQ(testsupport::ReadBytes(temp.path() + "word/word.html"),
              "<html>\r\n<body>\r\n<table><tbody>\r\n</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n");
}

TEST(WordTablePageTest, MissingSourcesLeaveThePageAsItWas)
{
    struct Case {
        const char* reason;
        bool header;
        bool wordList;
    };
    const Case cases[] = {
        {"no header", false, true},
        {"no word list", true, false},
        {"neither", false, false},
    };
    for (const Case& c : cases) {
        testsupport::TempFolder temp;
        temp.write("word/word.html", "the page before");
        if (c.header)
            temp.write("word/header.html", "<html>\n");
        if (c.wordList)
            temp.write("word/wordlist.data", "apple\n");
        EXPECT_FALSE(WriteWordTablePage(temp.ansi() + "word/")) << c.reason;
        EXPECT_EQ(testsupport::ReadBytes(temp.path() + "word/word.html"), "the page before") << c.reason;
    }
    // No page at all before: none is made.
    testsupport::TempFolder empty;
    empty.write("word/header.html", "<html>\n");
    EXPECT_FALSE(WriteWordTablePage(empty.ansi() + "word/"));
    EXPECT_FALSE(FileExists(empty.ansi() + "word/word.html"));
}

} // namespace
