// The lesson and subtitle loaders: which loader a file name chooses, the text
// rules of each format, UTF-8 files read without touching them, the model
// replaced whole by every load and growing with long lessons.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lesson/core/lessonloader.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "core/quenlow.h"
#include "tests/testsupport.h"

using testsupport::FixturePath;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

struct SExpectedSentence {
    int start;
    int end;
    std::string english;   // as stored, with its "\n"
    std::string chinese;
};

// Compares the whole model with the expected sentences: counts, timings,
// indexes, zeroed positions, texts and the view text built from them.
void ExpectModel(const CQuenlowApp& app, const CString& viewText, const std::vector<SExpectedSentence>& expected,
                 const std::string& what)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(app.m_nSentenceCount, static_cast<int>(expected.size()));
    ASSERT_EQ(app.m_arrForeignText.GetSize(), static_cast<int>(expected.size()));
    ASSERT_EQ(app.m_arrChineseText.GetSize(), static_cast<int>(expected.size()));
    std::string text;
    for (size_t i = 0; i < expected.size(); ++i) {
        const SSentenceTiming& s = app.m_arrSentenceTiming[i];
        EXPECT_EQ(s.linecnt, static_cast<int>(i)) << i;
        EXPECT_EQ(s.starttime, expected[i].start) << i;
        EXPECT_EQ(s.endtime, expected[i].end) << i;
        EXPECT_EQ(s.fgnstartpos + s.fgntxtlen + s.chnstartpos + s.chntxtlen, 0) << i;
        EXPECT_EQ(app.m_arrForeignText[static_cast<int>(i)].str(), expected[i].english) << i;
        EXPECT_EQ(app.m_arrChineseText[static_cast<int>(i)].str(), expected[i].chinese) << i;
        text += expected[i].english;
    }
    EXPECT_EQ(viewText.str(), text);
    if (!expected.empty()) {
        EXPECT_EQ(app.m_nLastEndTime, expected.back().end);
    }
}

struct SScriptRow {
    int linecnt;
    int start;
    int end;
    const char* english;
    const char* chinese;
};

// A lesson database with the three lesson tables and the given sentences.
void MakeScript(const CString& path, const std::vector<SScriptRow>& rows)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, "
                        "fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );"
                        "create table wordlist( stroriginalword varchar(1000), strreference varchar(10000) );"
                        "create table phaselist( stroriginalphase varchar(1000), strreference varchar(10000) );"));
    ASSERT_TRUE(db.Begin());
    int position = 0;
    for (const SScriptRow& r : rows) {
        const int length = CString(r.english).GetLength();
        ASSERT_TRUE(db.Exec("insert into tablename values(?,?,?,?,?,?,?,?,?)",
                            {r.linecnt, r.start, r.end, position, length, 7, 9, r.english, r.chinese}));
        position += length;
    }
    ASSERT_TRUE(db.Commit());
}

std::vector<SScriptRow> ManyRows(int count, std::vector<std::string>& texts)
{
    texts.resize(static_cast<size_t>(count));
    std::vector<SScriptRow> rows;
    for (int i = 0; i < count; ++i) {
        texts[static_cast<size_t>(i)] = "Sentence " + std::to_string(i) + "\n";
        rows.push_back({i + 1, i * 1000, i * 1000 + 900, texts[static_cast<size_t>(i)].c_str(), "tmpchntxt"});
    }
    return rows;
}

std::string ManySrtEntries(int count)
{
    std::string srt;
    for (int i = 0; i < count; ++i) {
        const int start = i * 2000;
        char times[80];
        snprintf(times, sizeof times, "%02d:%02d:%02d,%03d --> %02d:%02d:%02d,%03d\n", start / 3600000,
                 start / 60000 % 60, start / 1000 % 60, start % 1000, (start + 1500) / 3600000,
                 (start + 1500) / 60000 % 60, (start + 1500) / 1000 % 60, (start + 1500) % 1000);
        srt += std::to_string(i + 1) + "\n" + times + "Line number " + std::to_string(i) + "\n第" +
               std::to_string(i) + "句\n\n";
    }
    return srt;
}

CString Fixture(const char* name) { return CString(FixturePath(std::string("lesson/") + name)); }

// The sentences of the two bilingual ".srt" fixtures (UTF-8 and GB18030).
const std::vector<SExpectedSentence> kBilingualSrt = {
    {1500, 3250, "Don't go there, \"friend\"!\n", "别去那里，朋友。\n"},
    {8000, 9500, "YYeTs is at the start here\n", "开头的关键字不算\n"},
    {61234, 62345, "Second line of text --\n", "第二行\n"},
};

} // namespace

TEST(LessonFileKindTest, ChoosesTheLoaderByTheFileName)
{
    struct Case {
        const char* path;
        ELessonFileKind kind;
    };
    const Case cases[] = {
        {"/home/u/lesson.script", ELessonFileKind::Script},
        {"/home/u/Friends.srt.d/lesson.script", ELessonFileKind::Script},   // folder name does not count
        {"/home/u/movie.srt", ELessonFileKind::Srt},
        {"/home/u/show.ass", ELessonFileKind::Ass},
        {"/home/u/song.lrc", ELessonFileKind::Lrc},
        {"/home/u/lesson.srt.script", ELessonFileKind::Script},   // ".script" is tested first
        {"/home/u/movie.ass.srt", ELessonFileKind::Srt},
        {"/home/u/.srt", ELessonFileKind::None},   // at the first character: no extension
        {"/home/u/x.srt/readme.txt", ELessonFileKind::None},
        {"/home/u/movie.mp4", ELessonFileKind::None},
        {"/home/u/电影.srt", ELessonFileKind::Srt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetLessonFileKind(c.path), c.kind) << c.path;
}

TEST(LessonFileKindTest, UnknownExtensionTouchesNothing)
{
    CQuenlowApp app;
    app.ClearSentenceModel();
    app.m_arrForeignText.Add("kept\n");
    app.m_nSentenceCount = 1;
    CString viewText = "kept\n";
    EXPECT_EQ(LoadLessonFile(app, "/nowhere/movie.mp4", viewText), ELessonLoadResult::NoLoader);
    EXPECT_EQ(app.m_nSentenceCount, 1);
    EXPECT_EQ(viewText.str(), "kept\n");
}

// ---- Lesson database ----

TEST(ScriptLoaderTest, AppliesTheTextRulesAndKeepsEnglishLengths)
{
    TempFolder folder;
    // The folder name holds ".srt": the file is still loaded as a lesson database.
    const CString path = folder.ansi() + "Friends.srt.d/第一课.script";
    ASSERT_TRUE(CreateFolders(folder.ansi() + "Friends.srt.d"));
    const char* english[] = {
        "It*s a <i>big</i> day.\n",
        "Wait—what?\\NNo.{\\r}\n",
        "Dialogue 0000,,text 0000,end\n",
    };
    MakeScript(path, {
                         {1, 100, 900, english[0], "这是<i>重要</i>的一天*\n"},
                         {2, 1000, 1900, english[1], "等等—什么？\\N不。{\\r}"},
                         {5, 2000, 2500, english[2], "tmpchntxt"},
                     });
    const std::string before = ReadBytes(ToFsPath(path));

    CQuenlowApp app;
    CString viewText;
    ASSERT_EQ(LoadLessonFile(app, path, viewText), ELessonLoadResult::Loaded);
    ASSERT_EQ(app.m_nSentenceCount, 3);
    const char* expectedEnglish[] = {
        "It's a ---big---- day.\n",
        "Wait--what?--No.----\n",
        "Dialogue ------text -----end\n",
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(app.m_arrForeignText[i].str(), expectedEnglish[i]) << i;
        EXPECT_EQ(app.m_arrForeignText[i].GetLength(), CString(english[i]).GetLength()) << i;
    }
    EXPECT_EQ(app.m_arrChineseText[0].str(), "这是重要的一天'\n");
    EXPECT_EQ(app.m_arrChineseText[1].str(), "等等--什么？不。");
    EXPECT_EQ(app.m_arrChineseText[2].str(), "");
    EXPECT_EQ(viewText.str(), std::string(expectedEnglish[0]) + expectedEnglish[1] + expectedEnglish[2]);

    // Every stored column is carried over, the stored line number included.
    const SSentenceTiming& last = app.m_arrSentenceTiming[2];
    EXPECT_EQ(last.linecnt, 5);
    EXPECT_EQ(last.starttime, 2000);
    EXPECT_EQ(last.endtime, 2500);
    EXPECT_EQ(last.chnstartpos, 7);
    EXPECT_EQ(last.chntxtlen, 9);
    EXPECT_EQ(app.m_nLastEndTime, 2500);
    EXPECT_EQ(ReadBytes(ToFsPath(path)), before);
}

// Lesson files that would hang the program or fill its memory (they may come
// inside a downloaded package): each is refused at once and loads as an empty
// lesson, replacing the lesson before it; a normal lesson still loads.
TEST(ScriptLoaderTest, CraftedDatabasesAreRefusedQuicklyWithBoundedMemory)
{
    TempFolder folder;
    const char* columns = "linecnt, 0 as starttime, 10 as endtime, 0 as fgnstartpos, 0 as fgntxtlen, "
                          "0 as chnstartpos, 0 as chntxtlen, 'Hi\n' as fgntxt, '你好' as chntxt";
    const std::string endless = std::string("create view tablename as with recursive c(x) as "
                                            "(select 1 union all select x + 1 from c) select x as ") +
                                columns + " from c";
    const std::string hugeCell =
        "create view tablename as select 1 as linecnt, 0 as starttime, 10 as endtime, 0 as fgnstartpos, "
        "0 as fgntxtlen, 0 as chnstartpos, 0 as chntxtlen, zeroblob(900000000) as fgntxt, '' as chntxt";
    const std::string tooManyRows =
        "create table tablename(linecnt int, starttime int, endtime int, fgnstartpos int, fgntxtlen int, "
        "chnstartpos int, chntxtlen int, fgntxt text, chntxt text);"
        "insert into tablename with recursive c(x) as (select 1 union all select x + 1 from c where x < 100001) "
        "select x - 1, x * 10, x * 10 + 5, 0, 0, 0, 0, 'Hi\n', '你好' from c;";
    // Reading 100,001 stored rows is real work: it gets the time of a long
    // lesson, not the bound of a view that is refused unread.
    const struct {
        const char* name;
        std::string sql;
        double seconds;
    } cases[] = {
        {"endless.script", endless, 1.0},
        {"huge_cell.script", hugeCell, 1.0},
        {"many_rows.script", tooManyRows, 10.0},
    };
    MakeScript(folder.ansi() + "previous.script", {{0, 0, 10, "Old\n", "旧"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CString path = folder.ansi() + c.name;
        {
            CSqliteDb db;
            ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
            ASSERT_TRUE(db.Exec(c.sql.c_str())) << db.LastError().str();
        }
        CQuenlowApp app;
        CString viewText;
        ASSERT_EQ(LoadLessonFile(app, folder.ansi() + "previous.script", viewText), ELessonLoadResult::Loaded);
        ASSERT_EQ(app.m_nSentenceCount, 1);

        ELessonLoadResult result = ELessonLoadResult::Loaded;
        const testsupport::SBoundedRun run =
            testsupport::RunBounded([&] { result = LoadLessonFile(app, path, viewText); }, c.seconds, 200 * 1024);
        EXPECT_FALSE(run.overran) << run.seconds << " s, " << run.peakGrowthKiB << " KiB";
        EXPECT_LT(run.peakGrowthKiB, 200 * 1024);
        EXPECT_EQ(result, ELessonLoadResult::Refused);
        ExpectModel(app, viewText, {}, c.name);
    }

    // The same rows as a stored table of a normal length load.
    const CString lesson = folder.ansi() + "normal.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(lesson, CSqliteDb::ReadWriteCreate));
        std::string sql = tooManyRows;
        sql.replace(sql.find("100001"), 6, "3");
        ASSERT_TRUE(db.Exec(sql.c_str()));
    }
    CQuenlowApp app;
    CString viewText;
    ASSERT_EQ(LoadLessonFile(app, lesson, viewText), ELessonLoadResult::Loaded);
    ExpectModel(app, viewText, {{10, 15, "Hi\n", "你好"}, {20, 25, "Hi\n", "你好"}, {30, 35, "Hi\n", "你好"}},
                "normal.script");
}

// Every one empties the lesson loaded before it. A file that is no database
// (a text renamed, a broken download) is refused, so the learner hears of
// it; an empty database stays a blank lesson.
TEST(ScriptLoaderTest, EmptyDatabaseOrFileThatIsNoDatabaseGivesAnEmptyLesson)
{
    TempFolder folder;
    const CString empty = folder.ansi() + "empty.script";
    MakeScript(empty, {});
    const CString notADatabase = folder.ansi() + "notes.script";
    ASSERT_TRUE(WriteFileAtomically(notADatabase, "just some text\n"));
    const CString headerOnly = folder.ansi() + "header_only.script";
    ASSERT_TRUE(WriteFileAtomically(headerOnly, std::string("SQLite format 3\0", 16) + std::string(84, '\xff')));
    const CString zeroBytes = folder.ansi() + "zero_bytes.script";
    ASSERT_TRUE(WriteFileAtomically(zeroBytes, ""));

    const struct {
        CString path;
        ELessonLoadResult result;
    } cases[] = {
        {empty, ELessonLoadResult::Loaded},
        {zeroBytes, ELessonLoadResult::Loaded},
        {notADatabase, ELessonLoadResult::Refused},
        {headerOnly, ELessonLoadResult::Refused},
    };
    for (const auto& c : cases) {
        CQuenlowApp app;
        MakeScript(folder.ansi() + "previous.script", {{1, 0, 10, "Old\n", "旧"}});
        CString viewText;
        ASSERT_EQ(LoadLessonFile(app, folder.ansi() + "previous.script", viewText), ELessonLoadResult::Loaded);
        ASSERT_EQ(app.m_nSentenceCount, 1);

        EXPECT_EQ(LoadLessonFile(app, c.path, viewText), c.result) << c.path.str();
        ExpectModel(app, viewText, {}, c.path.str());
        EXPECT_EQ(app.m_arrSentenceTiming[0].endtime, 0);
        EXPECT_EQ(app.FindSentenceAt(5), -1);
        DeleteFile(folder.ansi() + "previous.script");
    }
}

TEST(ScriptLoaderTest, MissingDatabaseReportsAndEmptiesTheModel)
{
    TempFolder folder;
    CQuenlowApp app;
    CString viewText;
    ASSERT_EQ(LoadLessonFile(app, Fixture("bilingual_credits_gb18030.srt"), viewText), ELessonLoadResult::Loaded);
    ASSERT_EQ(app.m_nSentenceCount, 3);

    const CString missing = folder.ansi() + "missing.script";
    EXPECT_EQ(LoadLessonFile(app, missing, viewText), ELessonLoadResult::CannotOpen);
    EXPECT_EQ(app.m_strMessageText.str(), "打开播放数据文件失败!");
    EXPECT_EQ(app.m_nMessageKind, kMessageError);
    EXPECT_EQ(app.m_nMessageSeconds, 5);
    ExpectModel(app, viewText, {}, "missing database");
    EXPECT_FALSE(FileExists(missing)) << "opened without create";
}

TEST(ScriptLoaderTest, LongLessonLoadsWhole)
{
    TempFolder folder;
    const CString path = folder.ansi() + "long.script";
    std::vector<std::string> texts;
    MakeScript(path, ManyRows(3500, texts));

    CQuenlowApp app;
    CString viewText;
    ASSERT_EQ(LoadLessonFile(app, path, viewText), ELessonLoadResult::Loaded);
    ASSERT_EQ(app.m_nSentenceCount, 3500);
    ASSERT_GE(app.m_arrSentenceTiming.size(), 3500u);
    ASSERT_GE(app.m_arrTextCorrection.size(), 3500u);
    EXPECT_EQ(app.m_arrSentenceTiming[3499].linecnt, 3500);
    EXPECT_EQ(app.m_arrSentenceTiming[3499].starttime, 3499000);
    EXPECT_EQ(app.m_arrForeignText[3499].str(), "Sentence 3499\n");
    EXPECT_EQ(app.m_arrChineseText[3499].str(), "");
    EXPECT_EQ(app.FindSentenceAt(3499500), 3499);
}

// ---- ".srt" ----

TEST(SrtLoaderTest, Utf8AndGb18030FilesGiveTheSameLesson)
{
    for (const char* name : {"bilingual_credits_utf8.srt", "bilingual_credits_gb18030.srt"}) {
        CQuenlowApp app;
        CString viewText;
        EXPECT_EQ(LoadLessonFile(app, Fixture(name), viewText), ELessonLoadResult::Loaded);
        ExpectModel(app, viewText, kBilingualSrt, name);
    }
}

TEST(SrtLoaderTest, TimeLinesAndEntryEnds)
{
    struct Case {
        const char* name;
        std::vector<SExpectedSentence> expected;
    };
    const Case cases[] = {
        {"missing_milliseconds.srt",
         {{1000, 3000, "Hello there everyone\n", "\n"}, {4100, 6250, "Second sentence here\n", "\n"}}},
        // CR LF line ends; a short line ("Ok.") is text like the others, the
        // last line has no line end.
        {"short_line_in_text_crlf.srt",
         {{1000, 2000, "Hello world Ok. Ignored line\n", "\n"},
          {3000, 4000, "Last one without end of line\n", "\n"}}},
        // Short replies and their Chinese, a Chinese-only reply and a music
        // mark are kept; an entry whose number follows the text with no
        // blank line keeps its text; the group's credit is dropped.
        {"short_replies_utf8.srt",
         {{1000, 2500, "Are you coming?\n", "你来吗？\n"},
          {3000, 3800, "No.\n", "不。\n"},
          {4000, 4600, "OK\n", "好\n"},
          {5000, 7000, "Then I'll go alone.\n", "那我自己去。\n"},
          {7500, 8000, "\n", "嗯。\n"},
          {8500, 9000, "\n", "♪\n"},
          {9500, 10000, "Hi\n", "\n"}}},
        // Replies that are bare numbers, in a file made elsewhere with CR LF
        // line ends: a number that ends the text at a blank line or at the
        // end of the file is text; only a number directly above a time line
        // is the next entry's number.
        {"bare_number_replies_crlf.srt",
         {{1000, 2000, "What year was it?\n", "那是哪一年？\n"},
          {2500, 3500, "1984\n", "\n"},
          {4000, 5000, "How many people came? 42\n", "\n"},
          {5500, 6500, "42\n", "四十二\n"},
          {7000, 8000, "Room 101\n", "\n"},
          {8500, 9500, "Call 911\n", "\n"},
          {10000, 11000, "7\n", "\n"},
          {11500, 12500, "2001\n", "\n"}}},
    };
    for (const Case& c : cases) {
        CQuenlowApp app;
        CString viewText;
        LoadLessonFile(app, Fixture(c.name), viewText);
        ExpectModel(app, viewText, c.expected, c.name);
    }
}

TEST(SrtLoaderTest, UnreadableFileGivesAnEmptyLesson)
{
    TempFolder folder;
    CQuenlowApp app;
    CString viewText;
    LoadLessonFile(app, Fixture("bilingual_credits_utf8.srt"), viewText);
    ASSERT_EQ(app.m_nSentenceCount, 3);
    EXPECT_EQ(LoadSrtFile(app, folder.ansi() + "gone.srt", viewText), EFileReadResult::Unreadable);
    EXPECT_EQ(LoadLessonFile(app, folder.ansi() + "gone.srt", viewText), ELessonLoadResult::Unreadable);
    ExpectModel(app, viewText, {}, "unreadable");
    EXPECT_TRUE(app.m_strMessageText.IsEmpty());
}

// Every subtitle loader's failure to read its file reaches the caller, and
// the previous lesson is gone (the learner sees an empty lesson, not a stale
// one). A folder with a subtitle name is found beside a video like a file.
TEST(SubtitleLoaderTest, UnreadableFilesReportUnreadable)
{
    TempFolder folder;
    ASSERT_TRUE(CreateFolders(folder.ansi() + "folder.srt"));
    for (const char* name : {"gone.srt", "gone.ass", "gone.lrc", "folder.srt"}) {
        CQuenlowApp app;
        CString viewText;
        ASSERT_EQ(LoadLessonFile(app, Fixture("bilingual_credits_gb18030.srt"), viewText), ELessonLoadResult::Loaded);
        EXPECT_EQ(LoadLessonFile(app, folder.ansi() + name, viewText), ELessonLoadResult::Unreadable) << name;
        ExpectModel(app, viewText, {}, name);
    }
}

// Only regular files of a sane size are read by the three subtitle loaders:
// a FIFO would block open() for good, a link to /dev/zero would read until
// memory runs out, and a 65 MiB file (sparse, so it costs no disk) is over the
// limit. A link to a good subtitle file still loads. Each load runs in a child
// with a time and memory limit, so such a fault fails its row quickly.
TEST(SubtitleLoaderTest, ReadsOnlyRegularFilesOfLimitedSize)
{
    TempFolder folder;
    const std::string dir = folder.path();
    const char* const goodFiles[] = {"bilingual_credits_gb18030.srt", "zero_margins_gb18030.ass",
                                     "chinese_same_line.lrc"};
    const char* const extensions[] = {".srt", ".ass", ".lrc"};
    enum Setup { kFifo, kDevZero, kSparse, kLinkToGood };
    struct Case {
        const char* name;
        Setup setup;
        ELessonLoadResult expected;
    };
    const Case cases[] = {
        {"fifo", kFifo, ELessonLoadResult::Unreadable},
        {"zero", kDevZero, ELessonLoadResult::Unreadable},
        {"sparse", kSparse, ELessonLoadResult::TooLarge},
        {"link", kLinkToGood, ELessonLoadResult::Loaded},
    };
    for (size_t kind = 0; kind < 3; ++kind) {
        for (const Case& c : cases) {
            const std::string name = std::string(c.name) + extensions[kind];
            SCOPED_TRACE(name);
            const std::string path = dir + name;
            switch (c.setup) {
            case kFifo:
                ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
                break;
            case kDevZero:
                ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0);
                break;
            case kSparse:
                folder.write(name, "");
                ASSERT_EQ(::truncate(path.c_str(), kMaxSubtitleFileBytes + 1024 * 1024), 0);
                break;
            case kLinkToGood:
                ASSERT_EQ(::symlink(FixturePath(std::string("lesson/") + goodFiles[kind]).c_str(), path.c_str()), 0);
                break;
            }
            const CString lessonPath = folder.ansi() + name.c_str();
            const std::optional<int> code = testsupport::RunBoundedInChild(
                [&] {
                    CQuenlowApp app;
                    CString viewText;
                    // A lesson loaded before must not stay when the next file is refused.
                    if (LoadLessonFile(app, Fixture(goodFiles[kind]), viewText) != ELessonLoadResult::Loaded)
                        return 100;
                    const ELessonLoadResult result = LoadLessonFile(app, lessonPath, viewText);
                    const bool empty = app.m_nSentenceCount == 0 && viewText.IsEmpty();
                    if (empty != (result != ELessonLoadResult::Loaded))
                        return 101;
                    return static_cast<int>(result);
                },
                10.0, 2L * 1024 * 1024 * 1024);
            ASSERT_TRUE(code.has_value()) << "blocked, ran out of memory or crashed";
            EXPECT_EQ(*code, static_cast<int>(c.expected));
        }
    }
}

// An ".ass" of dialogue lines past the bound (a real subtitle file stays far
// below it) is refused before it is read, at once: a 60 MB one held the
// interface thread for seconds. A richly styled file of 20,000 lines, bigger
// than a real film's, still loads whole.
TEST(SubtitleLoaderTest, AssPastTheBoundIsRefusedAtOnceAndARealSizeLoads)
{
    TempFolder folder;
    const auto dialogue = [](int count) {
        std::string text = "[Script Info]\nScriptType: v4.00+\n\n[Events]\n"
                           "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
        for (int i = 0; i < count; ++i) {
            char line[200];
            std::snprintf(line, sizeof line,
                          "Dialogue: 0,0:%02d:%02d.00,0:%02d:%02d.50,Default,,0,0,0,,"
                          "{\\fad(200,200)}Sentence %d of the film.\\N\xd5\xe2\xca\xc7\xd2\xbb\xbe\xe4\n",
                          i / 60 % 60, i % 60, i / 60 % 60, i % 60, i);
            text += line;
        }
        return text;
    };
    std::string huge = dialogue(20000);
    const std::string real = huge;
    while (static_cast<int64_t>(huge.size()) <= kMaxSubtitleFileBytes)
        huge += huge.substr(huge.find("Dialogue:"));
    folder.write("real.ass", real);
    folder.write("huge.ass", huge);

    CQuenlowApp app;
    CString viewText;
    EXPECT_EQ(LoadLessonFile(app, folder.ansi() + "real.ass", viewText), ELessonLoadResult::Loaded);
    EXPECT_EQ(app.m_nSentenceCount, 20000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LoadLessonFile(app, folder.ansi() + "huge.ass", viewText), ELessonLoadResult::TooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(app.m_nSentenceCount, 0);
    EXPECT_TRUE(viewText.IsEmpty());
    EXPECT_EQ(SubtitleTooLargeMessage("a.ass"), "字幕文件太大（超过8 MB），不能作为课文载入：a.ass");
}

// A lesson database is opened only when it is a regular file, and without
// waiting: a FIFO named as the lesson blocked SQLite's open (and with it the
// window) for good, a link to a device was read as an empty lesson. Each is
// refused with the usual message, in a child with a time limit.
TEST(ScriptLoaderTest, OpensOnlyARegularFileWithoutWaiting)
{
    TempFolder folder;
    const std::string dir = folder.path();
    ASSERT_EQ(::mkfifo((dir + "fifo.script").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir((dir + "folder.script").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir + "zero.script").c_str()), 0);
    for (const char* name : {"fifo.script", "folder.script", "zero.script"}) {
        SCOPED_TRACE(name);
        const CString lessonPath = folder.ansi() + name;
        const std::optional<int> code = testsupport::RunBoundedInChild(
            [&] {
                CQuenlowApp app;
                CString viewText;
                const ELessonLoadResult result = LoadLessonFile(app, lessonPath, viewText);
                int kind = 0;
                CString text;
                int seconds = 0;
                if (!app.TakeMessage(kind, text, seconds) || text != "打开播放数据文件失败!")
                    return 100;
                return static_cast<int>(result);
            },
            10.0, 1L * 1024 * 1024 * 1024);
        ASSERT_TRUE(code.has_value()) << "blocked, ran out of memory or crashed";
        EXPECT_EQ(*code, static_cast<int>(ELessonLoadResult::CannotOpen));
    }
}

// Files that read but hold no sentence: a UTF-16 subtitle file (neither
// GB18030 nor UTF-8), an ".ass" file with only its header, an ".lrc" file
// with only identification tags.
TEST(SubtitleLoaderTest, FilesWithoutSentencesReportNoSentences)
{
    for (const char* name : {"utf16le_bom.srt", "no_dialogue.ass", "tags_only.lrc"}) {
        CQuenlowApp app;
        CString viewText;
        ASSERT_EQ(LoadLessonFile(app, Fixture("bilingual_credits_gb18030.srt"), viewText), ELessonLoadResult::Loaded);
        EXPECT_EQ(LoadLessonFile(app, Fixture(name), viewText), ELessonLoadResult::NoSentences) << name;
        ExpectModel(app, viewText, {}, name);
    }
}

TEST(SrtLoaderTest, SecondLoadLeavesNothingOfTheFirst)
{
    TempFolder folder;
    const CString longPath = folder.ansi() + "long.srt";
    ASSERT_TRUE(WriteFileAtomically(longPath, ManySrtEntries(3500)));

    CQuenlowApp app;
    CString viewText;
    ASSERT_EQ(LoadLessonFile(app, longPath, viewText), ELessonLoadResult::Loaded);
    ASSERT_EQ(app.m_nSentenceCount, 3500);
    EXPECT_EQ(app.m_arrSentenceTiming[3499].starttime, 3499 * 2000);
    EXPECT_EQ(app.m_arrSentenceTiming[3499].endtime, 3499 * 2000 + 1500);
    EXPECT_EQ(app.m_arrForeignText[3499].str(), "Line number 3499\n");
    EXPECT_EQ(app.m_arrChineseText[3499].str(), "第3499句\n");
    app.m_arrTextCorrection[3400] = 7;
    app.m_nCurrentSentence = 3400;

    LoadLessonFile(app, Fixture("bilingual_credits_gb18030.srt"), viewText);
    ExpectModel(app, viewText, kBilingualSrt, "second load");
    for (size_t i = 3; i < app.m_arrSentenceTiming.size(); ++i) {
        const SSentenceTiming& s = app.m_arrSentenceTiming[i];
        ASSERT_EQ(s.linecnt + s.starttime + s.endtime, 0) << i;
    }
    for (const int correction : app.m_arrTextCorrection)
        ASSERT_EQ(correction, 0);
    EXPECT_EQ(app.m_nCurrentSentence, -1);
}

// A broken time line must not give an entry: each row puts one hazard
// between two good entries; the good ones load, numbered 0 and 1, and keep
// their times.
TEST(SrtLoaderTest, EntriesWithTimesOutOfRangeAreSkipped)
{
    struct Case {
        const char* what;
        const char* times;
    };
    const Case cases[] = {
        {"hours beyond int", "99999999999999999999:99:99,999 --> 1:2:3"},
        {"hours 100", "100:00:00,000 --> 100:00:01,000"},
        {"negative hours", "-1:00:00,000 --> 00:00:01,000"},
        {"minutes 60", "00:60:00,000 --> 00:60:01,000"},
        {"minutes beyond int", "00:99999999999999:00,000 --> 00:00:09,000"},
        {"seconds 60", "00:00:60,000 --> 00:01:01,000"},
        {"milliseconds 1000", "00:00:04,000 --> 00:00:04,1000"},
        {"milliseconds beyond int", "00:00:04,99999999999999999999 --> 00:00:05,000"},
        {"end before start", "00:00:05,000 --> 00:00:04,999"},
        {"huge end", "00:00:04,000 --> 99999999999999999999999999999999:00:00,000"},
    };
    const std::vector<SExpectedSentence> expected = {
        {1000, 2000, "First good line\n", "\n"},
        {7000, 8500, "Last good line\n", "\n"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const CString path = folder.ansi() + "hazard.srt";
        ASSERT_TRUE(WriteFileAtomically(path, std::string("1\n00:00:01,000 --> 00:00:02,000\nFirst good line\n\n") +
                                                  "2\n" + c.times + "\nBroken time line\n\n" +
                                                  "3\n00:00:07,000 --> 00:00:08,500\nLast good line\n"));
        CQuenlowApp app;
        CString viewText;
        EXPECT_EQ(LoadLessonFile(app, path, viewText), ELessonLoadResult::Loaded) << c.what;
        ExpectModel(app, viewText, expected, c.what);
    }
}

// Time lines that read today stay accepted while every field is in range:
// no milliseconds, one-digit fields, a dot before the fraction, the largest
// values of each field, equal start and end.
TEST(SrtLoaderTest, ShortAndEdgeTimesInRangeStillLoad)
{
    struct Case {
        const char* times;
        int start;
        int end;
    };
    const Case cases[] = {
        {"1:2:3 --> 1:2:4", 3723000, 3724000},
        {"0:0:1.5 --> 0:0:2.250", 1005, 2250},
        {"00:59:59,999 --> 99:59:59,999", 3599999, 359999999},
        {"00:00:03,000 --> 00:00:03,000", 3000, 3000},
        {"00:00:01 --> 00:00:02,000 X1:10 X2:20", 1000, 2000},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const CString path = folder.ansi() + "edge.srt";
        ASSERT_TRUE(WriteFileAtomically(path, std::string("1\n") + c.times + "\nStill a good line\n"));
        CQuenlowApp app;
        CString viewText;
        LoadLessonFile(app, path, viewText);
        ExpectModel(app, viewText, {{c.start, c.end, "Still a good line\n", "\n"}}, c.times);
    }
}

// ---- ".ass" ----

TEST(AssLoaderTest, StandardAndZeroMarginFiles)
{
    struct Case {
        const char* name;
        std::vector<SExpectedSentence> expected;
    };
    const Case cases[] = {
        // UTF-8, margins "0,0,0": override tags removed, a Chinese-only line
        // and a credit line dropped, an unmatched "{" kept.
        {"standard_margins_utf8.ass",
         {{1000, 3000, "Hello there, my friend\n", "你好呀我的朋友们\n"},
          {4500, 6250, "Where are you going?\n", "\n"},
          {3723450, 3725670, "Unclosed {brace stays here\n", "\n"}}},
        // GB18030, margins "0000": English first, Chinese first, English only.
        {"zero_margins_gb18030.ass",
         {{1000, 3000, "We're here\n", "我们到了\n"},
          {4000, 5500, "Hello world\n", "你好世界\n"},
          {6000, 7000, "Just English\n", "\n"}}},
    };
    for (const Case& c : cases) {
        CQuenlowApp app;
        CString viewText;
        EXPECT_EQ(LoadLessonFile(app, Fixture(c.name), viewText), ELessonLoadResult::Loaded);
        ExpectModel(app, viewText, c.expected, c.name);
    }
}

TEST(AssLoaderTest, DialogueTextAndTimes)
{
    struct Case {
        const char* line;
        const char* text;
        int start;
        int end;
    };
    const Case cases[] = {
        {"Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,0,,Hello, you", "Hello, you", 1000, 3000},
        {"Dialogue: 0,1:02:03.45,1:02:05.67,Default,,0000,0000,0000,,Hi", "Hi", 3723450, 3725670},
        {"Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,100,,Margin 100", "Margin 100", 1000, 3000},
        // Too short for the fixed columns and too few commas: nothing, no fault.
        {"Dialogue: 0,0:00", "", 0, 0},
        {"Dialogue:", "", 0, 0},
        // Fixed columns: the largest time they hold, far from overflow.
        {"Dialogue: 0,9:99:99.99,9:99:99.99,Default,,0,0,0,,Big", "Big", 38439990, 38439990},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetAssDialogueText(c.line).str(), c.text) << c.line;
        int start = -1;
        int end = -1;
        ParseAssTimes(c.line, start, end);
        EXPECT_EQ(start, c.start) << c.line;
        EXPECT_EQ(end, c.end) << c.line;
    }
}

TEST(AssLoaderTest, StripBraceTagsAlwaysEnds)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"{\\an8}Hello", "Hello"},
        {"{\\i1}a{\\i0}b{\\i1}c", "abc"},   // each tag and its repeats
        {"x{a}y{a}z", "xyz"},
        {"Open { never closed", "Open { never closed"},
        {"{\\b1}bold { open", "bold { open"},
        {"close } before {tag}", "close } before "},
        {"{a{b}c}d", "c}d"},   // a tag ends at the first "}"
        {"Hi{\\i1}\\Nthere{\\i0}", "Hi\\Nthere"},
        {"\x81{ab}", "\x81{ab}"},   // "{" as a GB18030 trail byte is no tag
        {"\x81\x7D{x}y", "\x81\x7Dy"},   // nor is "}" one
        {"a{x}{a{x}}b", "a}b"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripBraceTags(c.in).str(), c.out) << c.in;
}

// A line made of hundreds of thousands of override tags loads in linear time
// (removing one tag at a time by rescanning the line took about half a
// minute for this size) and keeps the text between the tags.
TEST(AssLoaderTest, LineOfManyTagsLoadsQuickly)
{
    std::string line = "Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,0,,";
    std::string words;   // the text between the tags
    for (int i = 0; line.size() < 300 * 1024; ++i) {
        line += "{\\fs" + std::to_string(i % 97) + "\\c&H" + std::to_string(i) + "&}";
        if (i % 1000 == 0) {
            line += "w";
            words += "w";
        }
    }
    line += "Many tags\\N很多标签\n";
    TempFolder folder;
    const CString path = folder.ansi() + "tags.ass";
    ASSERT_TRUE(WriteFileAtomically(path, line));

    CQuenlowApp app;
    CString viewText;
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_EQ(LoadLessonFile(app, path, viewText), ELessonLoadResult::Loaded);
    const auto elapsed = std::chrono::steady_clock::now() - begin;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
    ExpectModel(app, viewText, {{1000, 3000, words + "Many tags\n", "很多标签\n"}}, "many tags");
}

// ---- ".lrc" ----

// Every form of ".lrc" file that lyric sites and tools write, each in the
// encodings and line ends they come in. Texts here are GB18030 (the program's
// code page); UTF-8 rows are converted before writing.
TEST(LrcLoaderTest, EveryFormGivesOneSentencePerTimeTag)
{
    enum EEncoding { kGb18030, kUtf8, kUtf8Bom };
    struct Case {
        const char* what;
        EEncoding encoding;
        bool crlf;
        const char* text;   // lines separated by "\n"
        std::vector<SExpectedSentence> expected;
    };
    const int open = 10000000;
    const Case cases[] = {
        {"identification tags, offset, English and Chinese on one line, UTF-8", kUtf8, false,
         "[ti:Small Talk]\n[ar:Teacher Li]\n[al:Spoken English]\n[by:someone]\n[offset:+500]\n"
         "[00:03.20]Today we talk about the weather. 今天我们谈谈天气。\n"
         "[00:06.50]It is sunny … 天气晴朗…\n[00:09.00]\n",
         {{2700, 6000, "Today we talk about the weather.\n", "今天我们谈谈天气。\n"},
          {6000, 8500, "It is sunny …\n", "天气晴朗…\n"}}},
        {"the same in GB18030 with CR LF and a negative offset", kGb18030, true,
         "[ti:Small Talk]\n[offset:-300]\n[00:03.20]Today we talk about the weather. 今天我们谈谈天气。\n"
         "[00:06.50]It is sunny … 天气晴朗…\n",
         {{3500, 6800, "Today we talk about the weather.\n", "今天我们谈谈天气。\n"},
          {6800, open, "It is sunny …\n", "天气晴朗…\n"}}},
        {"three-digit fractions and a time without fraction", kUtf8, true,
         "[00:01.500]Three digits here\n[00:02]No fraction\n[00:03.5]One digit\n",
         {{1500, 2000, "Three digits here\n", "\n"},
          {2000, 3500, "No fraction\n", "\n"},
          {3500, open, "One digit\n", "\n"}}},
        {"several time tags on one line, in time order", kGb18030, false,
         "[00:01.00][00:15.20]Sing the chorus\n[00:05.00]Then the verse 然后是主歌\n[00:20.00]\n",
         {{1000, 5000, "Sing the chorus\n", "\n"},
          {5000, 15200, "Then the verse\n", "然后是主歌\n"},
          {15200, 20000, "Sing the chorus\n", "\n"}}},
        {"English and Chinese on consecutive lines with the same time, UTF-8 with BOM", kUtf8Bom, true,
         "[00:01.00]Good morning\n[00:01.00]早上好\n[00:03.00]请坐\n[00:03.00]Sit down, please.\n"
         "[00:05.00]OK\n",
         {{1000, 3000, "Good morning\n", "早上好\n"},
          {3000, 5000, "Sit down, please.\n", "请坐\n"},
          {5000, open, "OK\n", "\n"}}},
        {"English only with curly quotes, UTF-8", kUtf8, false,
         "[ti:Quotes]\n[00:01.00]She said “hello” to me\n[00:02.00]Bye\n",
         {{1000, 2000, "She said \"hello\" to me\n", "\n"}, {2000, open, "Bye\n", "\n"}}},
        {"Chinese on the untagged line after the English", kGb18030, false,
         "[00:01.00]Good morning teacher\n早上好老师\n[00:04.00]Hi\n",
         {{1000, 4000, "Good morning teacher\n", "早上好老师\n"}, {4000, open, "Hi\n", "\n"}}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        std::string text = c.text;
        if (c.crlf) {
            for (size_t pos = 0; (pos = text.find('\n', pos)) != std::string::npos; pos += 2)
                text.insert(pos, "\r");
        }
        if (c.encoding != kGb18030)
            text = (c.encoding == kUtf8Bom ? "\xEF\xBB\xBF" : "") + ConvertBytes(text, CP_ACP, CP_UTF8);
        const CString path = folder.ansi() + "form.lrc";
        ASSERT_TRUE(WriteFileAtomically(path, text));
        CQuenlowApp app;
        CString viewText;
        EXPECT_EQ(LoadLessonFile(app, path, viewText), ELessonLoadResult::Loaded) << c.what;
        ExpectModel(app, viewText, c.expected, c.what);
    }
}

TEST(LrcLoaderTest, ChineseOnTheSameLineOrTheNext)
{
    struct Case {
        const char* name;
        std::vector<SExpectedSentence> expected;
    };
    const Case cases[] = {
        // Title tags skipped; two fraction digits are hundredths ("50" is
        // 500 ms), three are thousandths ("345"); the last line stays open.
        {"chinese_same_line.lrc",
         {{1500, 3000, "Hello my friend\n", "你好我的朋友\n"},
          {3000, 62345, "How are you today\n", "你今天好吗\n"},
          {62345, 10000000, "The last line here\n", "\n"}}},
        // An untagged Chinese line belongs to the line before; a tagged
        // Chinese line with the same time as the English before it is its
        // Chinese; a short line is a sentence too.
        {"chinese_next_line.lrc",
         {{1000, 4000, "Good morning teacher\n", "早上好老师\n"},
          {4000, 7000, "Good morning class\n", "早上好同学们\n"},
          {7000, 9000, "Sit down please\n", "\n"},
          {9000, 10000000, "Hi\n", "\n"}}},
        // A UTF-8 file reads as the same text a GB18030 one does.
        {"utf8_lrc_two_digit_fraction.lrc",
         {{6900, 8125, "Hello my friend\n", "你好我的朋友\n"},
          {8125, 10050, "How are you today\n", "今天你好吗\n"},
          {10050, 10000000, "The last line here\n", "\n"}}},
    };
    for (const Case& c : cases) {
        CQuenlowApp app;
        CString viewText;
        EXPECT_EQ(LoadLessonFile(app, Fixture(c.name), viewText), ELessonLoadResult::Loaded);
        ExpectModel(app, viewText, c.expected, c.name);
    }
}

TEST(LrcLoaderTest, LastLineWithChineseOnTheNextLineIsBoundsChecked)
{
    TempFolder folder;
    const CString path = folder.ansi() + "end.lrc";
    ASSERT_TRUE(WriteFileAtomically(path, "[00:01.00]The very last line"));
    CQuenlowApp app;
    CString viewText;
    LoadLessonFile(app, path, viewText);
    ExpectModel(app, viewText, {{1000, 10000000, "The very last line\n", "\n"}}, "single line");
}

// ---- Text rules and the sample test ----

// Subtitle files made on other systems end their lines in "\r\n", a lone
// "\r" (older systems) or "\r\r\n" (a file converted twice): each form gives
// the lesson its "\n" form gives, with blank lines still ending ".srt" entries.
TEST(SubtitleLoaderTest, EveryLineEndGivesTheSameLesson)
{
    struct SForm {
        const char* name;
        std::string text;   // lines ended by "\n"
    };
    const SForm forms[] = {
        {"lesson.srt", "1\n00:00:01,000 --> 00:00:02,000\nGood morning.\n早上好。\n\n"
                       "2\n00:00:03,000 --> 00:00:04,000\nHow are\n你\n\n"
                       "3\n00:00:05,000 --> 00:00:06,000\nyou?\n好吗？\n"},
        {"lesson.ass", "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
                       "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Good morning.\\N早上好。\n"
                       "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,How are\\N你\n"
                       "Dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,you?\\N好吗？\n"},
        {"lesson.lrc", "[ti:Morning]\n[00:01.00]Good morning. 早上好。\n[00:03.00]How are 你\n"
                       "[00:05.00]you? 好吗？\n[00:06.00]\n"},
    };
    const auto ending = [](const std::string& text, const std::string& end) {
        std::string out;
        for (const char c : text)
            out += c == '\n' ? end : std::string(1, c);
        return out;
    };
    TempFolder folder;
    for (const SForm& form : forms) {
        const CString path = folder.ansi() + form.name;
        ASSERT_TRUE(WriteFileAtomically(path, form.text));
        CQuenlowApp lf;
        CString lfText;
        ASSERT_EQ(LoadLessonFile(lf, path, lfText), ELessonLoadResult::Loaded) << form.name;
        ASSERT_EQ(lf.m_nSentenceCount, 3) << form.name;
        EXPECT_EQ(lfText, "Good morning.\nHow are\nyou?\n") << form.name;
        std::vector<SExpectedSentence> expected;
        for (int i = 0; i < 3; ++i) {
            expected.push_back({lf.m_arrSentenceTiming[static_cast<size_t>(i)].starttime,
                                lf.m_arrSentenceTiming[static_cast<size_t>(i)].endtime, lf.m_arrForeignText[i].str(),
                                lf.m_arrChineseText[i].str()});
        }
        for (const char* end : {"\r\n", "\r", "\r\r\n"}) {
            ASSERT_TRUE(WriteFileAtomically(path, ending(form.text, end)));
            for (const bool utf8 : {false, true}) {
                if (utf8) {
                    ASSERT_TRUE(WriteFileAtomically(path, ConvertBytes(ending(form.text, end), CP_ACP, CP_UTF8)));
                }
                CQuenlowApp app;
                CString viewText;
                EXPECT_EQ(LoadLessonFile(app, path, viewText), ELessonLoadResult::Loaded);
                ExpectModel(app, viewText, expected,
                            std::string(form.name) + (utf8 ? " UTF-8 " : " ") + testing::PrintToString(std::string(end)));
            }
        }
    }
}

TEST(SubtitleTextRulesTest, CreditLinesAndEnglishLines)
{
    struct Case {
        const char* text;
        bool credit;
        bool english;
    };
    const Case cases[] = {
        {"", true, false},
        {"YYeTs at the very start", false, true},
        {"Sync by YYeTs", true, true},
        {"本字幕仅供学习", true, false},
        {"字幕 at the start", false, true},
        {"Friends 第十季 finale", true, true},
        {"Friends 第10季 finale", true, true},
        {"Friends 第十五季", true, false},   // 8 of 16 bytes: not more than half
        {"Friends 第16季", false, true},
        {"Hello, 你好", false, true},   // 7 of 11 bytes are not lead bytes
        {"你好 Hi", false, false},
        {"   ", false, false},   // blanks are not empty: callers trim first
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsCreditLine(c.text), c.credit) << c.text;
        EXPECT_EQ(IsForeignLine(c.text), c.english) << c.text;
    }
}

// Which subtitle entries are dropped: only those without text and those that
// are recognisably a subtitle group's credit.
TEST(SubtitleTextRulesTest, CreditEntries)
{
    struct Case {
        const char* english;
        const char* chinese;
        bool credit;
    };
    const Case cases[] = {
        {"No.", "不。", false},
        {"OK", "", false},
        {"Hi", "", false},
        {"", "嗯。", false},
        {"", "♪", false},
        {"♪", "", false},
        {"", "", true},
        {"Sync by YYeTs team", "", true},
        {"YYeTs is at the start here", "开头的关键字不算", false},
        {"", "人人影视字幕组 翻译制作", true},
        {"", "字幕组：某某", true},
        {"", "翻译：小王", true},
        {"Is there a subtitle?", "有中文字幕吗？", false},   // "字幕" alone is dialogue
        {"Friends 第十季 finale", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsCreditEntry(c.english, c.chinese), c.credit) << c.english << " / " << c.chinese;
}

TEST(SubtitleTextRulesTest, TimeParsers)
{
    using enum ESrtTimeLine;
    struct SrtCase {
        const char* line;
        ESrtTimeLine kind;
        int start;
        int end;
    };
    const SrtCase srtCases[] = {
        {"00:01:01,234 --> 00:01:02,345", Valid, 61234, 62345},
        {"01:00:00.500-->01:00:01.000", Valid, 3600500, 3601000},
        {"00:00:01 --> 00:00:03", Valid, 1000, 3000},
        {"00:00:01,000 --> 00:00:02,000 X1:10 X2:20", Valid, 1000, 2000},
        {"--> 00:00:02,000", None, 0, 0},   // the arrow must not be the first character
        {"12", None, 0, 0},
        {"99999999999999999999:99:99,999 --> 1:2:3", OutOfRange, 0, 0},
        {"00:00:01,000 --> 00:60:00,000", OutOfRange, 0, 0},
        {"00:00:01,-1 --> 00:00:02,000", OutOfRange, 0, 0},
        {"00:00:02,000 --> 00:00:01,000", OutOfRange, 0, 0},
    };
    for (const SrtCase& c : srtCases) {
        int start = 0;
        int end = 0;
        EXPECT_EQ(ParseSrtTimeLine(c.line, start, end), c.kind) << c.line;
        EXPECT_EQ(start, c.start) << c.line;
        EXPECT_EQ(end, c.end) << c.line;
    }
    struct LrcCase {
        const char* line;
        int ms;
    };
    const LrcCase lrcCases[] = {
        {"[01:02.345]Text", 62345},
        {"[00:01.50]Text", 1500},
        {"[00:06.90]Text", 6900},
        {"[00:06.09]Text", 6090},
        {"[00:01.5]Text", 1500},   // a decimal fraction of a second
        {"[00:01.500]Text", 1500},
        {"[00:01:50]Text", 1500},   // ":" before the fraction
        {"[00:07]Text", 7000},
        {"[100:00.00]Text", 6000000},
        {"[99:99.999]Text", -1},   // seconds beyond 59
        {"[ti:Title]", -1},
        {"[00:01.5x]Text", -1},
        {"Text [00:01.00]", -1},
        {"[", -1},
    };
    for (const LrcCase& c : lrcCases)
        EXPECT_EQ(ParseLrcTime(c.line), c.ms) << c.line;
}

TEST(SubtitleTextRulesTest, Utf8SampleTest)
{
    struct Case {
        const char* name;
        bool utf8;
    };
    const Case cases[] = {
        {"bilingual_credits_utf8.srt", true},
        {"bilingual_credits_gb18030.srt", false},
        {"standard_margins_utf8.ass", true},
        {"zero_margins_gb18030.ass", false},
        {"missing_milliseconds.srt", false},
        {"chinese_same_line.lrc", false},
        {"utf8_lrc_two_digit_fraction.lrc", true},
    };
    CQuenlowApp app;
    for (const Case& c : cases)
        EXPECT_EQ(NeedsUtf8Conversion(app, Fixture(c.name)), c.utf8) << c.name;

    // Only the first 50 lines are sampled.
    std::vector<CString> lines(50, CString("An English line of text"));
    lines.push_back("\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C");
    EXPECT_FALSE(NeedsUtf8Conversion(app, lines, ELessonFileKind::Srt));
    lines.erase(lines.begin());
    EXPECT_TRUE(NeedsUtf8Conversion(app, lines, ELessonFileKind::Srt));

    // A UTF-8 ".ass" line with the Chinese text first (as the program's own
    // bilingual file in Chinese-first order) is recognised as UTF-8.
    const std::vector<CString> chineseFirst = {
        CString("Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0000,0000,0000,,") +
        reinterpret_cast<const char*>(u8"你好，世界") + "\\NHello, world"};
    EXPECT_TRUE(NeedsUtf8Conversion(app, chineseFirst, ELessonFileKind::Ass));
}

TEST(SubtitleTextRulesTest, LoadingNeverChangesTheUsersFile)
{
    TempFolder folder;
    std::vector<CString> paths;
    for (const char* name : {"bilingual_credits_utf8.srt", "bilingual_credits_gb18030.srt",
                             "standard_margins_utf8.ass", "zero_margins_gb18030.ass", "chinese_same_line.lrc"}) {
        const std::string copy = folder.write(name, ReadBytes(FixturePath(std::string("lesson/") + name)));
        paths.push_back(CString(copy));
    }
    const CString script = folder.ansi() + "lesson.script";
    MakeScript(script, {{1, 0, 10, "It*s\n", "tmpchntxt"}});
    paths.push_back(script);

    for (const CString& path : paths) {
        const std::string before = ReadBytes(ToFsPath(path));
        ASSERT_FALSE(before.empty());
        CQuenlowApp app;
        CString viewText;
        EXPECT_EQ(LoadLessonFile(app, path, viewText), ELessonLoadResult::Loaded) << path.str();
        EXPECT_GT(app.m_nSentenceCount, 0) << path.str();
        EXPECT_EQ(ReadBytes(ToFsPath(path)), before) << path.str();
    }
}
