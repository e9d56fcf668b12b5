// Practice sentences: where subtitle lines are joined and where a sentence
// closes, the clip of each sentence with its margins (never before the
// media's start), a lesson longer than any fixed table, the numbered text,
// and the role-play file names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lesson/core/practicesentences.h"

namespace {

struct SLine {
    const char* english;
    const char* chinese;
    int start;
    int end;
};

std::vector<SPracticeSentence> Build(const std::vector<SLine>& lines, int offset = 0, int margin = 100)
{
    CStringArray english;
    CStringArray chinese;
    std::vector<SSentenceTiming> timing;
    for (const SLine& line : lines) {
        english.Add(line.english);
        chinese.Add(line.chinese);
        SSentenceTiming t;
        t.starttime = line.start;
        t.endtime = line.end;
        timing.push_back(t);
    }
    // The sentence table is longer than the lesson, as the loaders leave it.
    timing.resize(timing.size() + 5);
    return BuildPracticeSentences(english, chinese, timing, offset, margin);
}

// Lines that take a sentence just past the limits: with the blank before
// them 61 and 81 characters, and a next line of 21.
const std::string kOver60(60, 'a');
const std::string kOver80(80, 'c');
const std::string k21(21, 'b');

} // namespace

TEST(PracticeSentences, LinesJoinUntilASentenceMarkOrALengthLimit)
{
    struct SCase {
        const char* why;
        std::vector<SLine> lines;
        std::vector<std::string> english;   // the sentences, in order
    };
    const std::string& over60 = kOver60;
    const std::string& over80 = kOver80;
    const SCase cases[] = {
        {"each mark closes: . ! ? and a double quote",
         {{"One.", "", 0, 1}, {"Two!", "", 1, 2}, {"Three?", "", 2, 3}, {"He said \"go\"", "", 3, 4}},
         {" One.", " Two!", " Three?", " He said \"go\""}},
        {"a line without a mark joins the next",
         {{"We went", "", 0, 1}, {"home.", "", 1, 2}},
         {" We went home."}},
        {"the closing lines without a mark are the last sentence",
         {{"Good morning.", "", 0, 1}, {"Thank you", "", 1, 2}, {"See you tomorrow", "", 2, 3}, {"Bye", "", 3, 4}},
         {" Good morning.", " Thank you See you tomorrow Bye"}},
        {"a lesson with no mark at all is one sentence",
         {{"hello", "", 0, 1}, {"there", "", 1, 2}},
         {" hello there"}},
        {"line ends are dropped before the mark is looked at",
         {{"Ends here.\n", "", 0, 1}, {"Next\n", "", 1, 2}, {"one.\n", "", 2, 3}},
         {" Ends here.", " Next one."}},
        {"over 60 so far and a next line over 20 closes",
         {{over60.c_str(), "", 0, 1}, {"x", "", 1, 2}, {k21.c_str(), "", 2, 3}, {"end.", "", 3, 4}},
         {" " + over60 + " x", " " + k21 + " end."}},
        {"over 60 so far but a short next line does not",
         {{over60.c_str(), "", 0, 1}, {"x", "", 1, 2}, {"short", "", 2, 3}, {"end.", "", 3, 4}},
         {" " + over60 + " x short end."}},
        {"over 80 so far closes whatever follows",
         {{over80.c_str(), "", 0, 1}, {"x", "", 1, 2}, {"y", "", 2, 3}},
         {" " + over80 + " x", " y"}},
        {"the last line compares against its own length, as its predecessor found it",
         {{over60.c_str(), "", 0, 1}, {k21.c_str(), "", 1, 2}},
         {" " + over60 + " " + k21}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.why);
        const std::vector<SPracticeSentence> sentences = Build(c.lines);
        std::vector<std::string> english;
        for (const SPracticeSentence& s : sentences)
            english.push_back(s.english.str());
        EXPECT_EQ(english, c.english);
    }
}

TEST(PracticeSentences, ClipsTakeTheMarginsAndOffsetAndNeverStartBeforeTheMedia)
{
    const std::vector<SLine> lines = {
        {"First", "第一", 200, 900}, {"part.", "部分", 1000, 2000}, {"Second.", "第二", 3000, 4000}};
    struct SCase {
        const char* why;
        int offset;
        int margin;
        int start0, end0, start1, end1;
    };
    const SCase cases[] = {
        {"margin 100: 500 ms each side; the first clip would start at -300", 0, 100, 0, 2500, 2500, 4500},
        {"an offset moves both ends", 1000, 100, 700, 3500, 3500, 5500},
        {"a negative offset past the start stays at 0", -5000, 0, 0, 0, 0, 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.why);
        const std::vector<SPracticeSentence> sentences = Build(lines, c.offset, c.margin);
        ASSERT_EQ(sentences.size(), 2u);
        EXPECT_EQ(sentences[0].start, c.start0);
        EXPECT_EQ(sentences[0].end, c.end0);
        EXPECT_EQ(sentences[1].start, c.start1);
        EXPECT_EQ(sentences[1].end, c.end1);
    }
    const std::vector<SPracticeSentence> sentences = Build(lines);
    EXPECT_EQ(sentences[0].chinese, " 第一 部分");
    EXPECT_EQ(FormatPracticeText(sentences), "1. First part.\n2. Second.\n");

    // Closing lines without a mark: their clip ends after the last line.
    const std::vector<SPracticeSentence> closing =
        Build({{"Hello.", "你好。", 0, 900}, {"Thank you", "谢谢", 1000, 2000}, {"Bye", "再见", 2500, 3000}});
    ASSERT_EQ(closing.size(), 2u);
    EXPECT_EQ(closing[1].start, 500);
    EXPECT_EQ(closing[1].end, 3500);
    EXPECT_EQ(closing[1].chinese, " 谢谢 再见");
}

// Lesson files made on other systems end their lines in "\r\n" or "\r": the
// lesson gives the same sentences, texts and clips as with "\n", so every
// sentence stays one line of the view's text.
TEST(PracticeSentences, EveryLineEndGivesTheSameSentences)
{
    // Nine lines, four sentences; the line of 19 characters after a sentence
    // of over 60 counts 20 with its line end, not enough to close it there.
    const std::string long60 = kOver60;
    const std::string short19(19, 'd');
    const std::vector<std::string> english = {"Good morning.", "How are", "you today?", long60, "x",
                                              short19,         "end.",    "Fine,",      "\"Bye\""};
    const std::vector<std::string> chinese = {"早上好。", "你今天", "好吗？", "长", "短", "句", "完。", "很好，", "再见"};
    const std::vector<SPracticeSentence> expected = [&] {
        std::vector<SLine> lines;
        std::vector<std::string> withLf;
        for (size_t i = 0; i < english.size(); ++i)
            withLf.push_back(english[i] + "\n");
        for (size_t i = 0; i < english.size(); ++i)
            lines.push_back({withLf[i].c_str(), chinese[i].c_str(), static_cast<int>(i) * 1000, static_cast<int>(i) * 1000 + 800});
        return Build(lines);
    }();
    EXPECT_EQ(FormatPracticeText(expected), CString("1. Good morning.\n2. How are you today?\n3. " + long60 + " x " +
                                                    short19 + " end.\n4. Fine, \"Bye\"\n"));
    for (const char* end : {"\r\n", "\r", "\r\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        std::vector<std::string> englishLines;
        std::vector<std::string> chineseLines;
        for (size_t i = 0; i < english.size(); ++i) {
            englishLines.push_back(english[i] + end);
            chineseLines.push_back(chinese[i] + end);
        }
        std::vector<SLine> lines;
        for (size_t i = 0; i < english.size(); ++i)
            lines.push_back({englishLines[i].c_str(), chineseLines[i].c_str(), static_cast<int>(i) * 1000,
                             static_cast<int>(i) * 1000 + 800});
        const std::vector<SPracticeSentence> sentences = Build(lines);
        ASSERT_EQ(sentences.size(), expected.size());
        for (size_t k = 0; k < sentences.size(); ++k) {
            EXPECT_EQ(sentences[k].english, expected[k].english) << k;
            EXPECT_EQ(sentences[k].chinese, expected[k].chinese) << k;
            EXPECT_EQ(sentences[k].start, expected[k].start) << k;
            EXPECT_EQ(sentences[k].end, expected[k].end) << k;
        }
        EXPECT_EQ(FormatPracticeText(sentences), FormatPracticeText(expected));
    }
}

// A lesson of 3000 lines gives 3000 sentences, each with its own clip: no
// table of fixed size runs over or drops the last ones.
TEST(PracticeSentences, ALongLessonKeepsEverySentencesClip)
{
    std::vector<SLine> lines;
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i)
        texts.push_back("Line " + std::to_string(i) + ".");
    for (int i = 0; i < 3000; ++i)
        lines.push_back({texts[static_cast<size_t>(i)].c_str(), "", i * 1000, i * 1000 + 800});
    const std::vector<SPracticeSentence> sentences = Build(lines, 0, 0);
    ASSERT_EQ(sentences.size(), 3000u);
    EXPECT_EQ(sentences[2999].start, 2999000);
    EXPECT_EQ(sentences[2999].end, 2999800);
    EXPECT_EQ(sentences[2999].english, " Line 2999.");
    const CString text = FormatPracticeText(sentences);
    EXPECT_NE(text.Find("3000. Line 2999.\n"), -1);
}

TEST(PracticeSentences, RolePlayFilesAreNamedInTheRecordFilesFolder)
{
    struct SCase {
        const char* record;
        int sentence;
        const char* expected;
    };
    const SCase cases[] = {
        {"/opt/q/AppData/Temp/record.wav", 3, "/opt/q/AppData/Temp/3.wav"},
        // A folder named after recordings keeps its name.
        {"/home/recorder/records/AppData/Temp/record.wav", 12, "/home/recorder/records/AppData/Temp/12.wav"},
        {"/录音/record.wav", 0, "/录音/0.wav"},
        {"record.wav", 7, "7.wav"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(RolePlayRecordingPath(c.record, c.sentence), c.expected) << c.record;
}

TEST(PracticeSentences, MediaTimesAndTimerPeriodsStayUsable)
{
    EXPECT_EQ(MediaTime(-300), 0);
    EXPECT_EQ(MediaTime(1500), 1500);
    EXPECT_EQ(TimerPeriod(0), 1) << "a clip that lasts nothing still ends";
    EXPECT_EQ(TimerPeriod(-200), 1);
    EXPECT_EQ(TimerPeriod(2500), 2500);
}
