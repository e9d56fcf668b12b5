// Files dropped on the main window: media become the play list, a subtitle
// file goes to the open media, and anything else is told, never taken for a
// missing media file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/droppedfiles.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

std::vector<CString> Items(const CStringArray& array) { return std::vector<CString>(array.begin(), array.end()); }

TEST(DroppedFilesTest, FilesAreSortedInDropOrderUntilAFolder)
{
    testsupport::TempFolder tmp;
    for (const char* name : {"a.mp4", "b.mp3", "notes.txt", "c.MKV", " d.mp3", "e.flac", "x.srt", "y.LRC", "z.script",
                             "w.ass", "v.idx", ".srt", "song.lrc.txt"})
        tmp.write(name, "x");
    std::filesystem::create_directory(tmp.path() + "sub");
    // A path longer than 260 characters.
    const std::string deep = std::string(120, 'd') + "/" + std::string(120, 'e') + "/" + std::string(60, 'f') + ".mp4";
    tmp.write(deep, "x");
    const CString t = tmp.ansi();
    const CString longPath = t + CString(deep);
    ASSERT_GT(longPath.GetLength(), 300);

    struct Case {
        const char* label;
        std::vector<CString> dropped;
        std::vector<CString> media;
        std::vector<CString> subtitles;
        CString other;
        bool refused;
    };
    const Case cases[] = {
        {"media and text", {t + "a.mp4", t + "notes.txt", t + "b.mp3"}, {t + "a.mp4", t + "b.mp3"}, {}, t + "notes.txt", false},
        {"kinds by extension", {t + "c.MKV", t + "e.flac"}, {t + "c.MKV", t + "e.flac"}, {}, "", false},
        {"subtitle kinds in any case",
         {t + "x.srt", t + "y.LRC", t + "z.script", t + "w.ass", t + "v.idx"},
         {},
         {t + "x.srt", t + "y.LRC", t + "z.script", t + "w.ass", t + "v.idx"},
         "",
         false},
        {"media and subtitle", {t + "x.srt", t + "a.mp4"}, {t + "a.mp4"}, {t + "x.srt"}, "", false},
        // A name that only starts with a dot, or ends in another extension, is no subtitle.
        {"not subtitles", {t + ".srt", t + "song.lrc.txt"}, {}, {}, t + ".srt", false},
        {"folder ends the scan", {t + "a.mp4", t + "sub", t + "b.mp3"}, {t + "a.mp4"}, {}, "", true},
        {"folder first", {t + "sub", t + "a.mp4"}, {}, {}, "", true},
        {"missing item", {t + "gone.mp4", t + "a.mp4"}, {}, {}, "", true},
        {"text only", {t + "notes.txt"}, {}, {}, t + "notes.txt", false},
        {"nothing", {}, {}, {}, "", false},
        {"long path", {longPath}, {longPath}, {}, "", false},
        // Blanks around a path are trimmed only when the path as given does not exist.
        {"blanks", {"  " + t + "a.mp4  ", t + " d.mp3"}, {t + "a.mp4", t + " d.mp3"}, {}, "", false},
    };
    for (const Case& c : cases) {
        const SDroppedFiles result = FilterDroppedFiles(c.dropped);
        EXPECT_EQ(Items(result.playList), c.media) << c.label;
        EXPECT_EQ(Items(result.subtitles), c.subtitles) << c.label;
        EXPECT_EQ(result.firstOther, c.other) << c.label;
        EXPECT_EQ(result.folderRefused, c.refused) << c.label;
    }
}

class DropApplyTest : public testing::Test {
protected:
    void SetUp() override
    {
        TakeMessage();
        theApp.m_arrPlayList.RemoveAll();
        theApp.m_arrPlayList.Add("/old/x.mp4");
        theApp.m_nPlayIndex = 4;
        theApp.m_strPlayingNetFile = "true";
        theApp.m_nNetFileSize = 123456;
        theApp.m_strMediaPath = "/old/x.mp4";
    }

    static CString TakeMessage()
    {
        int kind = 0, seconds = 0;
        CString text;
        theApp.TakeMessage(kind, text, seconds);
        return text;
    }

    void ExpectPlayListKept()
    {
        ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 1);
        EXPECT_EQ(theApp.m_arrPlayList[0], "/old/x.mp4");
        EXPECT_EQ(theApp.m_nPlayIndex, 4);
        EXPECT_EQ(theApp.m_strPlayingNetFile, "true");
        EXPECT_EQ(theApp.m_nNetFileSize, 123456);
    }

    testsupport::AppStateGuard guard{&CQuenlowApp::m_arrPlayList, &CQuenlowApp::m_nPlayIndex,
                                     &CQuenlowApp::m_strPlayingNetFile, &CQuenlowApp::m_nNetFileSize,
                                     &CQuenlowApp::m_strMediaPath};
};

TEST_F(DropApplyTest, MediaReplaceThePlayListAndEndADownloadAndPlay)
{
    SDroppedFiles dropped;
    dropped.playList.Add("/m/a.mp4");
    dropped.playList.Add("/m/b.mp3");
    dropped.subtitles.Add("/m/a.srt");
    dropped.folderRefused = true;
    EXPECT_EQ(ApplyDroppedFiles(dropped), EDropAction::PlayMedia);
    EXPECT_EQ(Items(theApp.m_arrPlayList), (std::vector<CString>{"/m/a.mp4", "/m/b.mp3"}));
    EXPECT_EQ(theApp.m_nPlayIndex, -1);
    EXPECT_EQ(theApp.m_strPlayingNetFile, "");
    EXPECT_EQ(theApp.m_nNetFileSize, 0);
    EXPECT_EQ(TakeMessage(), "不支持文件夹拖放！");
}

TEST_F(DropApplyTest, ASubtitleGoesToTheOpenMediaAndKeepsThePlayList)
{
    SDroppedFiles dropped;
    dropped.subtitles.Add("/m/a.srt");
    dropped.firstOther = "/m/notes.txt";
    EXPECT_EQ(ApplyDroppedFiles(dropped), EDropAction::LoadSubtitle);
    ExpectPlayListKept();
    EXPECT_EQ(TakeMessage(), "");
}

// A drop that plays nothing keeps the play list and says what is wrong: the
// dispatcher's "播放文件不存在！" would be untrue, the files exist.
TEST_F(DropApplyTest, ADropThatPlaysNothingSaysWhy)
{
    struct Case {
        const char* label;
        const char* media;   // m_strMediaPath
        std::vector<CString> subtitles;
        CString other;
        bool refused;
        CString message;
    };
    const Case cases[] = {
        {"subtitle, no media open", "", {"/m/a.srt"}, "", false, kDroppedSubtitleWithoutMediaMessage},
        {"text file", "/old/x.mp4", {}, "/m/notes.txt", false, CString(kDroppedUnknownFileMessage) + "notes.txt"},
        {"folder after a text file", "/old/x.mp4", {}, "/m/notes.txt", true, kDroppedFolderMessage},
        {"folder", "/old/x.mp4", {}, "", true, kDroppedFolderMessage},
        {"nothing", "/old/x.mp4", {}, "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        theApp.m_strMediaPath = c.media;
        SDroppedFiles dropped;
        for (const CString& subtitle : c.subtitles)
            dropped.subtitles.Add(subtitle);
        dropped.firstOther = c.other;
        dropped.folderRefused = c.refused;
        EXPECT_EQ(ApplyDroppedFiles(dropped), EDropAction::None);
        ExpectPlayListKept();
        EXPECT_EQ(TakeMessage(), c.message);
    }
}

} // namespace
