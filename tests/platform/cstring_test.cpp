// CString keeps byte counts but never matches or changes a byte inside a
// Chinese character. The fixture characters carry ASCII-looking trail bytes:
// "乕" is 81 5B ("["), "乗" is 81 5C ("\"), "乤" is 81 61 ("a").
#include <gtest/gtest.h>

#include "platform/cstring.h"

namespace {

const char kBracketTrail[] = "乕";  // 81 5B
const char kBackslashTrail[] = "乗";  // 81 5C
const char kLowerATrail[] = "乤";  // 81 61

TEST(CStringTest, LiteralsAreGb18030)
{
    EXPECT_EQ(CString(kBracketTrail).str(), "\x81\x5B");
    EXPECT_EQ(CString(kBackslashTrail).str(), "\x81\x5C");
    EXPECT_EQ(CString(kLowerATrail).str(), "\x81\x61");
    EXPECT_EQ(CString("𠀀").str(), "\x95\x32\x82\x36");   // a four-byte character
}

TEST(CStringTest, LengthsAndSubstringsCountBytes)
{
    const CString s = CString("ab") + kBracketTrail + "cd";
    EXPECT_EQ(s.GetLength(), 6);
    EXPECT_EQ(s.Mid(2, 2).str(), "\x81\x5B");
    EXPECT_EQ(s.Left(3).GetLength(), 3);
    EXPECT_EQ(s.Right(2), "cd");
    EXPECT_EQ(s.Mid(4), "cd");
    // Out-of-range arguments are clamped, not undefined.
    EXPECT_EQ(s.Mid(10), "");
    EXPECT_EQ(s.Mid(-3, 2), "ab");
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Right(-1), "");
}

TEST(CStringTest, FindSkipsTrailBytes)
{
    struct Case {
        const char* what;
        CString text;
        const char* sub;
        int start;
        int expected;
    };
    const Case cases[] = {
        {"trail 0x5B is not '['", CString(kBracketTrail) + "x", "[", 0, -1},
        {"real '[' after a character with trail 0x5B", CString(kBracketTrail) + "[a]", "[", 0, 2},
        {"trail 0x61 is not 'a'", CString(kLowerATrail), "a", 0, -1},
        {"substring starting inside a character", CString(kBracketTrail) + "[b", "[b", 0, 2},
        {"four-byte character hides its bytes", CString("𠀀") + "62", "2", 0, 5},
        {"start position honoured", CString("a[b[c"), "[", 2, 3},
        {"empty needle matches at start", CString("abc"), "", 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text.Find(c.sub, c.start), c.expected) << c.what;

    EXPECT_EQ((CString(kBackslashTrail) + "\\").ReverseFind('\\'), 2);
    EXPECT_EQ(CString(kBackslashTrail).ReverseFind('\\'), -1);
    EXPECT_EQ((CString(kBracketTrail) + "x[").FindOneOf("[]"), 3);
}

TEST(CStringTest, EditingLeavesCharactersWhole)
{
    CString replaced = CString(kBracketTrail) + "[x]" + kBracketTrail;
    EXPECT_EQ(replaced.Replace("[", "("), 1);
    EXPECT_EQ(replaced, CString(kBracketTrail) + "(x]" + kBracketTrail);

    CString chars = CString(kBackslashTrail) + "\\";
    EXPECT_EQ(chars.Replace('\\', '/'), 1);
    EXPECT_EQ(chars, CString(kBackslashTrail) + "/");

    CString removed = CString(kLowerATrail) + "aXa";
    EXPECT_EQ(removed.Remove('a'), 2);
    EXPECT_EQ(removed, CString(kLowerATrail) + "X");

    CString lower = CString("AB") + kBracketTrail + "C";
    lower.MakeLower();
    EXPECT_EQ(lower, CString("ab") + kBracketTrail + "c");

    CString upper = CString(kLowerATrail) + "a";
    upper.MakeUpper();
    EXPECT_EQ(upper, CString(kLowerATrail) + "A");

    CString reversed = CString("ab") + kLowerATrail;
    reversed.MakeReverse();
    EXPECT_EQ(reversed, CString(kLowerATrail) + "ba");

    // A replacement that would create a new match is not rescanned.
    CString grow("aa");
    EXPECT_EQ(grow.Replace("a", "aa"), 2);
    EXPECT_EQ(grow, "aaaa");
}

TEST(CStringTest, TrimStopsAtCharacters)
{
    struct Case {
        CString text;
        const char* targets;   // null: white space
        CString expected;
    };
    const Case cases[] = {
        {CString(" \t") + kBracketTrail + " \r\n", nullptr, CString(kBracketTrail)},
        // ']' and '[' as trail bytes must survive trimming of brackets.
        {CString("[") + kBracketTrail + "]", "[]", CString(kBracketTrail)},
        {CString(kBracketTrail) + "[", "[", CString(kBracketTrail)},
        {CString("a") + kLowerATrail + "a", "a", CString(kLowerATrail)},
        {CString("   "), nullptr, CString("")},
    };
    for (const Case& c : cases) {
        CString s = c.text;
        if (c.targets)
            s.Trim(c.targets);
        else
            s.Trim();
        EXPECT_EQ(s, c.expected) << c.text.GetString();
    }
}

TEST(CStringTest, SpansTokensAndComparisons)
{
    EXPECT_EQ(CString("123abc").SpanIncluding("0123456789"), "123");
    EXPECT_EQ((CString("ab") + kLowerATrail).SpanIncluding("ab"), "ab");
    EXPECT_EQ(CString("key:value").SpanExcluding(":"), "key");

    const CString fields("a    b  c");
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = fields.Tokenize(" ", pos); pos >= 0; t = fields.Tokenize(" ", pos))
        tokens.push_back(t);
    EXPECT_EQ(tokens, (std::vector<CString>{"a", "b", "c"}));

    EXPECT_EQ(CString("Para").CompareNoCase("pARA"), 0);
    EXPECT_NE(CString("Para").Compare("para"), 0);
    EXPECT_NE(CString(kLowerATrail).CompareNoCase("\x81\x41"), 0);
}

TEST(CStringTest, FormatHandlesLongOutput)
{
    CString s;
    s.Format("%d%%", 42);
    EXPECT_EQ(s, "42%");
    const std::string longText(10000, 'x');
    s.Format("[%s]", longText.c_str());
    EXPECT_EQ(s.GetLength(), 10002);
    s.AppendFormat("%s", "!");
    EXPECT_EQ(s.Right(2), "]!");
}

TEST(CStringArrayTest, GrowsAndRemoves)
{
    CStringArray a;
    a.SetAtGrow(2, "c");
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a[0], "");
    a.InsertAt(0, "z");
    a.RemoveAt(1, 2);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[0], "z");
    EXPECT_EQ(a[1], "c");
    a.RemoveAt(5);   // out of range: nothing happens
    EXPECT_EQ(a.GetSize(), 2);
}

} // namespace
