// The fill-in-the-blank exercise: the word forms asked for (a lesson file's
// word references, a subtitle file's unit words), table EXERCISE built from
// them with bound values, the questions read back from it, and the three
// databases the program ships for the word book and its exercises.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"
#include "vocabulary/core/exercisegen.h"
#include "vocabulary/core/wordbook.h"

namespace {

// A new-word book holding the words in this order.
CString MakeBook(const testsupport::TempFolder& folder, const std::vector<const char*>& words)
{
    const CString book = folder.ansi() + "UserData/UnKownWord.script";
    for (const char* word : words)
        EXPECT_EQ(SaveToWordBook(book, word), EWordBookSave::Saved) << word;
    return book;
}

// A lesson file whose word list has these (word, references) rows, stored as
// TEXT or (as other tools write them) as BLOBs.
CString MakeLesson(const testsupport::TempFolder& folder, const std::vector<std::pair<const char*, const char*>>& rows,
                   bool asBlobs = false)
{
    const CString lesson = folder.ansi() + "lesson.script";
    CSqliteDb db;
    EXPECT_TRUE(db.Open(lesson, CSqliteDb::ReadWriteCreate));
    EXPECT_TRUE(db.Exec("create table wordlist(stroriginalword varchar(1000), strreference varchar(10000))"));
    for (const auto& [word, references] : rows)
        EXPECT_TRUE(db.Exec(asBlobs ? "insert into wordlist values(cast(? as blob), cast(? as blob))"
                                    : "insert into wordlist values(?, ?)",
                            {word, references}));
    return lesson;
}

// An exercise database without table EXERCISE yet.
CString MakeExerciseDb(const testsupport::TempFolder& folder)
{
    const CString path = folder.ansi() + "ClissifiedWord.script";
    CSqliteDb db;
    EXPECT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    EXPECT_TRUE(db.Exec("create table EXERCISEHISTORY(linecnt integer)"));
    return path;
}

std::vector<std::string> Strings(const std::vector<CString>& texts)
{
    return std::vector<std::string>(texts.begin(), texts.end());
}

// Every row of EXERCISE in storage order, its cells joined by "|".
std::vector<std::string> ExerciseRows(const CString& path)
{
    CSqliteDb db;
    SQueryResult result;
    std::vector<std::string> rows;
    if (db.Open(path, CSqliteDb::ReadOnly) && db.Query("select * from EXERCISE order by rowid", {}, result))
        for (int row = 0; row < result.nRow; ++row) {
            std::string cells;
            for (int column = 0; column < result.nColumn; ++column)
                cells += (column ? "|" : "") + result.CellText(row, column).str();
            rows.push_back(cells);
        }
    return rows;
}

// Merged sentences with these English and Chinese texts; sentence i runs from
// i s to i s + 900 ms.
std::vector<SMergedSentence> Sentences(const std::vector<std::pair<const char*, const char*>>& texts)
{
    std::vector<SMergedSentence> merged;
    for (const auto& [english, chinese] : texts) {
        const int start = static_cast<int>(merged.size()) * 1000;
        merged.push_back(SMergedSentence{english, chinese, start, start + 900});
    }
    return merged;
}

TEST(ExerciseCandidatesTest, LessonFileGivesTheFormsOfEachBookWordInBookOrder)
{
    for (const bool asBlobs : {false, true}) {
        SCOPED_TRACE(asBlobs ? "blob columns" : "text columns");
        testsupport::TempFolder folder;
        // Saved in the order of the text, so the book reads back in that order
        // whether the engine walks the table or its unique index.
        const CString book = MakeBook(folder, {"absent", "broken", "don't", "take"});
        const CString lesson = MakeLesson(folder, {
                                                      {"broken", "(broke:1:0"},   // "(" without ")"
                                                      {"other", "(others:2:0)"},
                                                      {"don*t", "(Don't:3:0)"},
                                                      {"take", "(took:12:3)(taken:40:7)"},
                                                  },
                                          asBlobs);
        // A reference list that never closes once kept the parsing going for good.
        std::optional<std::vector<CString>> candidates;
        const testsupport::SBoundedRun run =
            testsupport::RunBounded([&] { candidates = ExerciseCandidates(book, lesson, {"absent"}); }, 5, 64 * 1024);
        EXPECT_FALSE(run.overran);
        ASSERT_TRUE(candidates.has_value());
        EXPECT_EQ(Strings(*candidates), (std::vector<std::string>{"Don't", "took", "taken"}));
    }
}

TEST(ExerciseCandidatesTest, SubtitleFileGivesTheBookWordsThatAreUnitWords)
{
    testsupport::TempFolder folder;
    const CString book = MakeBook(folder, {"Cup", "absent", "take", "tea"});
    const std::vector<CString> unitWords{"take", "cup", "tea", "tea"};
    struct Case {
        const char* lessonPath;
        std::vector<std::string> candidates;
    };
    const Case cases[] = {
        {"/media/film.srt", {"take", "tea"}},   // book order, once each, exact case
        {"/media/film.ass", {"take", "tea"}},
        {".script", {"take", "tea"}},           // ".script" at the very start is no lesson file
    };
    for (const Case& c : cases) {
        const auto candidates = ExerciseCandidates(book, c.lessonPath, unitWords);
        ASSERT_TRUE(candidates.has_value()) << c.lessonPath;
        EXPECT_EQ(Strings(*candidates), c.candidates) << c.lessonPath;
    }
}

TEST(ExerciseCandidatesTest, UnreadableBookOrLessonGivesNothing)
{
    testsupport::TempFolder folder;
    const CString book = MakeBook(folder, {"take"});
    const CString lesson = MakeLesson(folder, {{"take", "(took:1:0)"}});
    const std::string notDb = folder.write("notdb.script", std::string(4096, 'x'));
    const CString noList = folder.ansi() + "nolist.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(noList, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table tablename(linecnt int)"));
    }
    struct Case {
        const char* reason;
        CString book;
        CString lesson;
        bool readable;
        std::vector<std::string> candidates;
    };
    const Case cases[] = {
        {"both readable", book, lesson, true, {"took"}},
        {"a missing book is an empty book", folder.ansi() + "none.script", lesson, true, {}},
        {"a book that is no database", notDb.c_str(), lesson, false, {}},
        {"a missing lesson file", book, folder.ansi() + "gone.script", false, {}},
        {"a lesson file that is no database", book, notDb.c_str(), false, {}},
        {"a lesson file without a word list has no forms", book, noList, true, {}},
    };
    for (const Case& c : cases) {
        const auto candidates = ExerciseCandidates(c.book, c.lesson, {});
        ASSERT_EQ(candidates.has_value(), c.readable) << c.reason;
        if (candidates) {
            EXPECT_EQ(Strings(*candidates), c.candidates) << c.reason;
        }
    }
}

// The table and the questions on one small lesson. Each sentence shows a
// hazard: sentence 0 is never a question, the key "in" also stands inside
// "within", sentence 2 holds "tea" only as "Tea", sentence 3 holds a form
// with an apostrophe.
TEST(ExerciseTableTest, BuildsRowsAndLoadsQuestionsWithBlanks)
{
    testsupport::TempFolder folder;
    const CString exerciseDb = MakeExerciseDb(folder);
    const std::vector<SMergedSentence> merged = Sentences({
        {" Rain fell on the town.", " 雨落在镇上。"},
        {" I went in (quietly) within the hour.", " 我(悄悄地)在一小时内进去了。"},
        {" Tea is ready for the town.", " 茶好了。"},
        {" I don't know where the rain went.", " 我不知道雨去了哪里。"},
        {" The rain stopped.", " 雨停了。"},
    });
    const std::vector<CString> candidates{"in", "rain", "town", "tea", "don't", " in ", "x", "absent"};
    std::vector<std::pair<int, int>> progress;
    ASSERT_TRUE(BuildExerciseTable(exerciseDb, candidates, merged,
                                   [&](int done, int total) { progress.emplace_back(done, total); }));

    EXPECT_EQ(ExerciseRows(exerciseDb), (std::vector<std::string>{
                                            "in|1|0|0|0|0|0",
                                            "rain|3|4|0|0|0|0",   // "Rain" of sentence 0 is in the unsearched head
                                            "tea|2|0|0|0|0|0",    // "town" is first met in sentence 0: no row
                                            "don't|3|0|0|0|0|0",  // the second "in" is ignored, "x" too short
                                        }));
    std::vector<std::pair<int, int>> expectedProgress;
    for (int i = 0; i < 8; ++i)
        expectedProgress.emplace_back(i, 8);
    EXPECT_EQ(progress, expectedProgress);

    // A row left from a longer lesson points past the sentences.
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(exerciseDb, CSqliteDb::ReadWrite));
        ASSERT_TRUE(db.Exec("insert into EXERCISE values('went', 99, 0, 0, 0, 0, 0)"));
        ASSERT_TRUE(db.Exec("insert into EXERCISE values('stopped', 5, 0, 0, 0, 0, 0)"));
    }

    struct Expected {
        const char* keyword;
        const char* question;
        const char* chinese;
        int clipStartMs;
        int clipEndMs;
    };
    const Expected expected[] = {
        {"in", " I went (      )  quietly  with(      ) the hour.", " 我 悄悄地 在一小时内进去了。", 1000, 1900},
        {"rain", " I don't know where the (      ) went.", " 我不知道雨去了哪里。", 3000, 3900},
        {"don't", " I (      ) know where the rain went.", " 我不知道雨去了哪里。", 3000, 3900},
    };
    const std::vector<SExerciseQuestion> questions = LoadExercises(exerciseDb, merged);
    ASSERT_EQ(questions.size(), std::size(expected));
    for (size_t i = 0; i < questions.size(); ++i) {
        EXPECT_EQ(questions[i].keyword, expected[i].keyword) << i;
        EXPECT_EQ(questions[i].question, expected[i].question) << i;
        EXPECT_EQ(questions[i].chinese, expected[i].chinese) << i;
        EXPECT_EQ(questions[i].clipStartMs, expected[i].clipStartMs) << i;
        EXPECT_EQ(questions[i].clipEndMs, expected[i].clipEndMs) << i;
    }

    // Each build makes the table anew.
    ASSERT_TRUE(BuildExerciseTable(exerciseDb, {"rain"}, merged, {}));
    EXPECT_EQ(ExerciseRows(exerciseDb), std::vector<std::string>{"rain|3|4|0|0|0|0"});
}

// No fixed tables: a word with more than six occurrences keeps the first six,
// and a lesson of more than a thousand sentences gives questions past them.
TEST(ExerciseTableTest, ManyOccurrencesAndManySentences)
{
    testsupport::TempFolder folder;
    const CString exerciseDb = MakeExerciseDb(folder);
    std::vector<SMergedSentence> merged;
    for (int i = 0; i < 1500; ++i) {
        const char* english = i == 1234 ? " A needle here." : i >= 2 && i < 10 ? " Hay again." : " Nothing.";
        merged.push_back(SMergedSentence{english, " 无。", i * 10, i * 10 + 5});
    }
    ASSERT_TRUE(BuildExerciseTable(exerciseDb, {"hay", "needle"}, merged, {}));
    EXPECT_EQ(ExerciseRows(exerciseDb), (std::vector<std::string>{"hay|2|3|4|5|6|7", "needle|1234|0|0|0|0|0"}));
    const std::vector<SExerciseQuestion> questions = LoadExercises(exerciseDb, merged);
    ASSERT_EQ(questions.size(), 1u);   // "hay" stands as "Hay" only
    EXPECT_EQ(questions[0].question, " A (      ) here.");
    EXPECT_EQ(questions[0].clipStartMs, 12340);
    EXPECT_EQ(questions[0].clipEndMs, 12345);
}

TEST(ExerciseTableTest, MissingOrBrokenDatabases)
{
    testsupport::TempFolder folder;
    const std::vector<SMergedSentence> merged = Sentences({{" Hello.", ""}, {" A cat.", ""}});
    const CString missing = folder.ansi() + "gone.script";
    EXPECT_FALSE(BuildExerciseTable(missing, {"cat"}, merged, {}));
    EXPECT_FALSE(FileExists(missing)) << "the database is never created";
    EXPECT_TRUE(LoadExercises(missing, merged).empty());

    const std::string notDb = folder.write("notdb.script", std::string(4096, 'x'));
    EXPECT_FALSE(BuildExerciseTable(notDb.c_str(), {"cat"}, merged, {}));
    EXPECT_TRUE(LoadExercises(notDb.c_str(), merged).empty());

    // A database without table EXERCISE has no questions.
    EXPECT_TRUE(LoadExercises(MakeExerciseDb(folder), merged).empty());
}

TEST(ExerciseProgressTextTest, PercentDoneAndTheWarningForManyCandidates)
{
    struct Case {
        int done;
        int total;
        const char* text;
    };
    const Case cases[] = {
        {0, 8, "正在载入习题......0%"},
        {7, 8, "正在载入习题......87%"},
        {199, 200, "正在载入习题......99%"},
        {150, 201, "数据量较大，程序可能暂时没有反应，请不要关闭程序......74%"},
        {0, 0, "正在载入习题......0%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExerciseProgressText(c.done, c.total), c.text) << c.done << "/" << c.total;
}

} // namespace

namespace {

int IntCell(const SQueryResult& result, int row, int column)
{
    return std::atoi(result.CellText(row, column).GetString());
}

// The exercise database as shipped: both tables empty, the generation and the
// history statements run on it.
TEST(ShippedDatabasesTest, ExerciseDatabaseTakesTheExerciseAndHistoryStatements)
{
    testsupport::TempProgramFolder program;
    const CString path = program.ansi() + "AppData/BasicDict/ClissifiedWord.script";
    EXPECT_EQ(ExerciseRows(path), std::vector<std::string>{});

    const std::vector<SMergedSentence> merged = Sentences({{" Hello.", ""}, {" A (cat) sat.", " 一只猫坐着。"}});
    ASSERT_TRUE(BuildExerciseTable(path, {"cat"}, merged, {}));
    const std::vector<SExerciseQuestion> questions = LoadExercises(path, merged);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].question, " A  (      )  sat.");

    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWrite));
    SQueryResult result;
    ASSERT_TRUE(db.Query("select max(linecnt) from EXERCISEHISTORY", {}, result));
    EXPECT_EQ(result.GetCell(0, 0), nullptr);   // no row yet
    for (int linecnt = 1; linecnt <= 3; ++linecnt) {
        const char* media = linecnt == 2 ? "a.mp4" : "b.mp4";
        ASSERT_TRUE(db.Exec("insert into EXERCISEHISTORY values(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                            {linecnt, "2013-5-7  9:5:3", media, CString("/media/") + media, "", " A  (      )  sat.",
                             " 一只猫坐着。", "cat", "cat", "100", 1, "", ""}));
    }
    ASSERT_TRUE(db.Query("select max(linecnt) from EXERCISEHISTORY", {}, result));
    EXPECT_EQ(IntCell(result, 0, 0), 3);
    ASSERT_TRUE(db.Exec("delete from EXERCISEHISTORY where linecnt = ?", {3}));
    ASSERT_TRUE(db.Query("select linecnt,strvedioname,strtime,exernum,strscore from EXERCISEHISTORY order by  "
                         "strvedioname desc",
                         {}, result));
    ASSERT_EQ(result.nRow, 2);
    EXPECT_EQ(result.CellText(0, 1), "b.mp4");
    EXPECT_EQ(result.CellText(1, 1), "a.mp4");
    EXPECT_EQ(result.CellText(1, 2), "2013-5-7  9:5:3");
    EXPECT_EQ(IntCell(result, 1, 3), 1);
    EXPECT_EQ(result.CellText(1, 4), "100");
}

// The word lists: each of the three statements gives a few dozen entries,
// each longer than one character, apostrophes stored as "*".
TEST(ShippedDatabasesTest, WordListsAnswerTheListStatements)
{
    testsupport::TempProgramFolder program;
    CSqliteDb db;
    ASSERT_TRUE(db.Open(program.ansi() + "AppData/BasicDict/MASTER.script", CSqliteDb::ReadOnly));
    for (const char* sql : {"select stroriginalword from outlineword order by stroriginalword",
                            "select stroriginalword from realexamword order by stroriginalword",
                            "select stroriginalphase from realexamphase order by stroriginalphase"}) {
        SQueryResult result;
        ASSERT_TRUE(db.Query(sql, {}, result)) << sql;
        EXPECT_GE(result.nRow, 24) << sql;
        for (int row = 0; row < result.nRow; ++row) {
            CString entry = result.CellText(row, 0);
            entry.Trim();
            EXPECT_GT(entry.GetLength(), 1) << sql;
            EXPECT_LT(entry.Find('\''), 0) << entry.GetString();
        }
    }
}

// The word-root database answers the look-up of a listed word with a GB18030
// explanation that needs no escaping in the page it is written into.
TEST(ShippedDatabasesTest, WordRootsAnswerTheLookUpInGb18030)
{
    testsupport::TempProgramFolder program;
    CSqliteDb db;
    ASSERT_TRUE(db.Open(program.ansi() + "AppData/BasicDict/WordRoot.script", CSqliteDb::ReadOnly));
    SQueryResult result;
    ASSERT_TRUE(db.Query("select strdetailtxt from tablename where strkeyword = ?", {"transport"}, result));
    ASSERT_EQ(result.nRow, 1);
    EXPECT_GE(result.CellText(0, 0).Find("运输"), 0);
    EXPECT_GE(result.CellText(0, 0).Find("port"), 0);

    ASSERT_TRUE(db.Query("select count(*), sum(instr(strkeyword || strdetailtxt, '''') > 0), "
                         "sum(instr(strdetailtxt, '<') + instr(strdetailtxt, '&') > 0), "
                         "sum(strkeyword <> lower(strkeyword)) from tablename",
                         {}, result));
    EXPECT_GE(IntCell(result, 0, 0), 30);
    EXPECT_EQ(IntCell(result, 0, 1), 0) << "apostrophes not stored as *";
    EXPECT_EQ(IntCell(result, 0, 2), 0) << "markup in an explanation";
    EXPECT_EQ(IntCell(result, 0, 3), 0) << "keys not in lower case";

    // Words of the shipped lists find their root.
    SQueryResult listed;
    ASSERT_TRUE(db.Exec(CString("attach database ? as lists"),
                        {program.ansi() + "AppData/BasicDict/MASTER.script"}));
    ASSERT_TRUE(db.Query("select count(*) from lists.outlineword join tablename on strkeyword = stroriginalword", {},
                         listed));
    EXPECT_GE(IntCell(listed, 0, 0), 20);
}

} // namespace
