// The talk list on the shipped talks database and playlist folder: which
// talks each choice lists, in which order, and how their items read.
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/core/talkfiles.h"
#include "catalogue/core/talklist.h"
#include "platform/file.h"
#include "tests/testsupport.h"

namespace {

// The ids of the items, in order.
std::vector<CString> Ids(const std::vector<CString>& items)
{
    std::vector<CString> ids;
    for (const CString& item : items)
        ids.push_back(item.Mid(1, item.Find(']') - 1));
    return ids;
}

STalkListChoice Choice(const char* category, const char* sort, const char* filter, const char* language,
                       bool popularOnly = false, const char* search = "")
{
    STalkListChoice choice;
    choice.category = category;
    choice.sortField = sort;
    choice.filter = filter;
    choice.language = language;
    choice.popularOnly = popularOnly;
    choice.search = search;
    return choice;
}

class TalkListTest : public testing::Test {
protected:
    ETalkListResult List(const STalkListChoice& choice, std::vector<CString>& items)
    {
        return BuildTalkList(program.ansi() + "AppData/BasicDict/VUZIROD.script", program.ansi() + "Playlist/",
                             choice, famous, [](const CString& path) { return FileExists(path); }, items);
    }

    testsupport::TempProgramFolder program;
    std::vector<CString> famous;
};

TEST_F(TalkListTest, ChoicesListTheShippedTalks)
{
    ASSERT_TRUE(LoadFamousTalkIds(program.ansi() + "AppData/BasicDict/VUZIROD.script", famous));
    EXPECT_EQ(famous, (std::vector<CString>{"137", "108", "145", "160"}));

    using Ids_ = std::vector<CString>;
    struct Case {
        const char* what;
        STalkListChoice choice;
        Ids_ ids;
    };
    // The shipped folder holds one talk with video and lesson (131), three
    // with a lesson only (137, 126, 108) and one with audio only (113).
    const Case cases[] = {
        {"both files", Choice("", "id", "Both", "eng"), {"131"}},
        {"lessons only, highest id first", Choice("", "id", "Script", "eng"), {"137", "126", "108"}},
        {"sorted by duration, numerically", Choice("", "duration", "Script", "eng"), {"108", "137", "126"}},
        {"sorted by title", Choice("", "title", "Script", "eng"), {"108", "126", "137"}},
        {"media only: the audio stands in for the video", Choice("", "id", "Vedio", "eng"), {"113"}},
        {"one category", Choice("1", "id", "Script", "eng"), {"137"}},
        {"category 99", Choice("99", "id", "Both", "eng"), {"131"}},
        {"a category without talks here", Choice("3", "id", "Script", "eng"), {}},
        {"popular talks", Choice("", "id", "Script", "eng", true), {"137", "108"}},
        {"a search in the item text", Choice("", "id", "Script", "eng", false, "Lindqvist"), {"108"}},
        {"a search in Chinese", Choice("", "id", "Script", "chn", false, "商店"), {"126"}},
        {"an unknown sort column sorts by id", Choice("", "asc", "Script", "eng"), {"137", "126", "108"}},
        {"nothing else reaches the statement", Choice("", "id desc; drop table tablename; --", "Script", "eng"),
         {"137", "126", "108"}},
    };
    for (const Case& c : cases) {
        std::vector<CString> items;
        EXPECT_EQ(List(c.choice, items), ETalkListResult::Listed) << c.what;
        EXPECT_EQ(Ids(items), c.ids) << c.what;
    }

    // The talks are all still there after the hostile sort column.
    std::vector<CString> items;
    List(Choice("", "id", "Script", "eng"), items);
    EXPECT_EQ(items.size(), 3u);
}

TEST_F(TalkListTest, ItemTextsCarryTheFieldsInBracketsWithApostrophes)
{
    std::vector<CString> items;
    ASSERT_EQ(List(Choice("4", "id", "Script", "eng"), items), ETalkListResult::Listed);
    EXPECT_EQ(items, std::vector<CString>{"[108][Why we don't sleep enough][Peter Lindqvist][PeterLindqvist_2017.mp4][TALK2017]"});
    ASSERT_EQ(List(Choice("4", "id", "Script", "chn"), items), ETalkListResult::Listed);
    EXPECT_EQ(items, std::vector<CString>{"[108][我们为什么睡不够][彼得·林德奎斯特][PeterLindqvist_2017.mp4][TALK2017]"});
    // The stored ".mp4" name is not on the disk, the ".mp3" is: the item names it.
    ASSERT_EQ(List(Choice("6", "id", "Vedio", "eng"), items), ETalkListResult::Listed);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_NE(items[0].Find("[YukiMori_2022.mp3]"), -1);
}

TEST_F(TalkListTest, UnusableChoicesAndDatabases)
{
    std::vector<CString> items{"stale"};
    // A category that is not a number names no talk (and never reaches SQL).
    EXPECT_EQ(List(Choice("1 or 1=1", "id", "Both", "eng"), items), ETalkListResult::NoRows);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(List(Choice("42", "id", "Both", "eng"), items), ETalkListResult::NoRows);

    std::vector<CString> ids;
    EXPECT_EQ(BuildTalkList(program.ansi() + "missing.script", program.ansi() + "Playlist/", {}, ids,
                            [](const CString&) { return true; }, items),
              ETalkListResult::CannotOpen);
    EXPECT_FALSE(LoadFamousTalkIds(program.ansi() + "missing.script", ids));
}

TEST(TalkFilesTest, MediaNamesAndLessonPathsChangeTheFileNameOnly)
{
    const std::vector<CString> onDisk = {"/p/Talk-480p.mp4", "/p/Song.mp3", "/p/Both.mp4", "/p/Both.mp3"};
    const auto exists = [&](const CString& path) {
        for (const CString& name : onDisk)
            if (name == path)
                return true;
        return false;
    };
    struct Case {
        const char* stored;
        const char* chosen;
    };
    for (const Case& c : {Case{"Talk.mp4", "Talk-480p.mp4"}, Case{"Song.mp4", "Song.mp3"},
                          Case{"Both.mp4", "Both.mp4"}, Case{"Gone.mp4", "Gone.mp4"}})
        EXPECT_EQ(ChooseTalkMediaName("/p/", c.stored, exists), c.chosen) << c.stored;

    struct PathCase {
        const char* media;
        const char* talkScript;
        const char* besideScript;
    };
    for (const PathCase& c : {
             PathCase{"/p/Talk-480p.mp4", "/p/Talk.script", "/p/Talk-480p.script"},
             PathCase{"/p/Talk-light.mp3", "/p/Talk.script", "/p/Talk-light.script"},
             // Folder names are left alone, and only the last extension goes.
             PathCase{"/my.mp4-480p/a.mp3.mp4", "/my.mp4-480p/a.mp3.script", "/my.mp4-480p/a.mp3.script"},
             PathCase{"/p/noext", "/p/noext.script", "/p/noext.script"},
         }) {
        EXPECT_EQ(TalkScriptPath(c.media), c.talkScript) << c.media;
        EXPECT_EQ(ScriptPathBeside(c.media), c.besideScript) << c.media;
    }
}

} // namespace
