// The dialogue text and LRC exports of a lesson script: which sentence ends a
// paragraph, the sentences after the last end, the banners, the stored
// apostrophe and placeholder, one LRC line per sentence, and the files that
// are not written.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/core/lessonexport.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"

namespace {

const CString kWeb = "http://www.example.test/";

struct SSentence {
    int start;
    std::string english;
    std::string chinese;
};

// A lesson script with the tables the lesson loader reads.
void MakeScript(const CString& path, const std::vector<SSentence>& sentences)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, "
                        "fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );"
                        "create table wordlist( stroriginalword varchar(1000), strreference varchar(10000) );"
                        "create table phaselist( stroriginalphase varchar(1000), strreference varchar(10000) );"));
    ASSERT_TRUE(db.Begin());
    int line = 1;
    for (const SSentence& s : sentences) {
        ASSERT_TRUE(db.Exec("insert into tablename values(?,?,?,0,0,0,0,?,?)",
                            {line++, s.start, s.start + 900, CString(s.english), CString(s.chinese)}));
    }
    ASSERT_TRUE(db.Commit());
}

std::string Banner()
{
    const std::string stars(64, '*');
    return stars + "\r\n本文来源于http://www.example.test/  更多更全，请登录http://www.example.test/ \r\n" + stars +
           "\r\n";
}

TEST(LessonExportTest, DialogueTextParagraphs)
{
    testsupport::TempFolder folder;
    const CString script = folder.ansi() + "talk.script";
    MakeScript(script, {
                           {0, "He said \"go\"", "他说“走”"},          // a closing quote ends a paragraph
                           {1000, "It*s fine (really)", "还好（真的）"},   // ")" does not
                           {2000, "Then we left.\n", "tmpchntxt"},      // the stored line feed is not the end
                           {3000, "Wait,\n what?", "等等，\n什么？"},
                           {4000, "And this trails", "没有结尾"},       // after the last end: still written
                       });
    ASSERT_EQ(WriteDialogueText(script, folder.ansi() + "talk.txt", kWeb), EExportResult::Written);
    EXPECT_EQ(testsupport::ReadBytes(folder.path() + "talk.txt"), "1.He said \"go\"\r\n"
                                                                   "   他说“走”\r\n"
                                                                   "2.It's fine (really) Then we left.\r\n"
                                                                   "   还好（真的） \r\n"
                                                                   "3.Wait, what?\r\n"
                                                                   "   等等，什么？\r\n"
                                                                   "4.And this trails\r\n"
                                                                   "   没有结尾\r\n");
}

// A paragraph without a closing mark ends once it would pass 130 bytes
// (the blanks between its sentences counted).
TEST(LessonExportTest, LongParagraphsEndByLength)
{
    const std::string a(69, 'a'), b60(60, 'b'), b61(61, 'b'), c(5, 'c');
    struct Case {
        const char* why;
        std::vector<SSentence> sentences;
        std::string expected;
    };
    const Case cases[] = {
        {"130 bytes joined: goes on", {{0, a, "甲"}, {1, b60, "乙"}, {2, c, "丙"}, {3, "d.", "丁"}},
         "1." + a + " " + b60 + " " + c + "\r\n   甲 乙 丙\r\n2.d.\r\n   丁\r\n"},
        {"131 bytes joined: ends", {{0, a, "甲"}, {1, b61, "乙"}, {2, c, "丙"}, {3, "d.", "丁"}},
         "1." + a + " " + b61 + "\r\n   甲 乙\r\n2." + c + " d.\r\n   丙 丁\r\n"},
    };
    testsupport::TempFolder folder;
    int n = 0;
    for (const Case& k : cases) {
        const CString script = folder.ansi() + CString(std::to_string(++n) + ".script");
        MakeScript(script, k.sentences);
        ASSERT_EQ(WriteDialogueText(script, folder.ansi() + "out.txt", kWeb), EExportResult::Written) << k.why;
        EXPECT_EQ(testsupport::ReadBytes(folder.path() + "out.txt"), k.expected) << k.why;
    }
}

TEST(LessonExportTest, BannersFollowParagraphs30And60Only)
{
    testsupport::TempFolder folder;
    std::vector<SSentence> sentences;
    for (int i = 1; i <= 91; ++i) {
        CString chinese;
        chinese.Format("第%d句", i);
        sentences.push_back({i * 1000, "Sentence " + std::to_string(i) + ".", chinese.str()});
    }
    const CString script = folder.ansi() + "long.script";
    MakeScript(script, sentences);
    ASSERT_EQ(WriteDialogueText(script, folder.ansi() + "long.txt", kWeb), EExportResult::Written);
    const std::string text = testsupport::ReadBytes(folder.path() + "long.txt");

    EXPECT_NE(text.find(CString("   第30句\r\n").str() + Banner() + "31.Sentence 31.\r\n"), std::string::npos);
    EXPECT_NE(text.find(CString("   第60句\r\n").str() + Banner() + "61.Sentence 61.\r\n"), std::string::npos);
    size_t banners = 0;
    for (size_t at = text.find(Banner()); at != std::string::npos; at = text.find(Banner(), at + 1))
        ++banners;
    EXPECT_EQ(banners, 2u);
    const std::string end = "90.Sentence 90.\r\n" + CString("   第90句\r\n").str() + "91.Sentence 91.\r\n" +
                            CString("   第91句\r\n").str();
    EXPECT_EQ(text.substr(text.size() - std::min(text.size(), end.size())), end);
}

// One line per sentence, each ended by one line feed: a stored line feed is
// not doubled, a text without one does not run into the next tag, and a
// break inside a text does not leave an untimed line.
TEST(LessonExportTest, LrcLines)
{
    testsupport::TempFolder folder;
    const CString script = folder.ansi() + "talk.script";
    MakeScript(script, {
                           {0, "It*s time.\n", "是时候了"},
                           {83456, "No line feed here", "没有换行"},
                           {3723456, "Two\nlines", "两行"},
                       });
    ASSERT_EQ(WriteLrcFile(script, folder.ansi() + "talk.lrc", kWeb), EExportResult::Written);
    EXPECT_EQ(testsupport::ReadBytes(folder.path() + "talk.lrc"),
              "[00:00.000]字幕来源于http://www.example.test/ 更多更全，请登录http://www.example.test/ \r\n"
              "[00:00.000]It's time.\r\n"
              "[01:23.456]No line feed here\r\n"
              "[62:03.456]Two lines\r\n");
}

// Without sentences the dialogue text is an empty file and no LRC file is
// made; a script that cannot be read and an output that cannot be written
// leave no file.
TEST(LessonExportTest, EmptyUnreadableAndUnwritable)
{
    testsupport::TempFolder folder;
    const CString empty = folder.ansi() + "empty.script";
    MakeScript(empty, {});
    EXPECT_EQ(WriteDialogueText(empty, folder.ansi() + "empty.txt", kWeb), EExportResult::Written);
    EXPECT_TRUE(IsRegularFile(folder.ansi() + "empty.txt"));
    EXPECT_EQ(GetFileSize(folder.ansi() + "empty.txt"), 0);
    EXPECT_EQ(WriteLrcFile(empty, folder.ansi() + "empty.lrc", kWeb), EExportResult::NoSentences);
    EXPECT_FALSE(FileExists(folder.ansi() + "empty.lrc"));

    folder.write("text.script", "not a database");
    for (const CString& script : {folder.ansi() + "missing.script", folder.ansi() + "text.script"}) {
        EXPECT_EQ(WriteDialogueText(script, folder.ansi() + "out.txt", kWeb), EExportResult::CannotOpenScript);
        EXPECT_EQ(WriteLrcFile(script, folder.ansi() + "out.lrc", kWeb), EExportResult::CannotOpenScript);
    }
    EXPECT_FALSE(FileExists(folder.ansi() + "out.txt"));
    EXPECT_FALSE(FileExists(folder.ansi() + "out.lrc"));

    const CString lesson = folder.ansi() + "lesson.script";
    MakeScript(lesson, {{0, "Hello.", "你好"}});
    const CString noFolder = folder.ansi() + "no such folder/";
    EXPECT_EQ(WriteDialogueText(lesson, noFolder + "out.txt", kWeb), EExportResult::CannotWriteOutput);
    EXPECT_EQ(WriteLrcFile(lesson, noFolder + "out.lrc", kWeb), EExportResult::CannotWriteOutput);
}

} // namespace
