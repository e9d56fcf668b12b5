// Files dropped on the main window become the play list.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/droppedfiles.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

TEST(DroppedFilesTest, MediaFilesAreKeptInDropOrderUntilAFolder)
{
    testsupport::TempFolder tmp;
    for (const char* name : {"a.mp4", "b.mp3", "notes.txt", "c.MKV", " d.mp3", "e.flac"})
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
        std::vector<CString> expected;
        bool refused;
    };
    const Case cases[] = {
        {"media and text", {t + "a.mp4", t + "notes.txt", t + "b.mp3"}, {t + "a.mp4", t + "b.mp3"}, false},
        {"kinds by extension", {t + "c.MKV", t + "e.flac"}, {t + "c.MKV", t + "e.flac"}, false},
        {"folder ends the scan", {t + "a.mp4", t + "sub", t + "b.mp3"}, {t + "a.mp4"}, true},
        {"folder first", {t + "sub", t + "a.mp4"}, {}, true},
        {"missing item", {t + "gone.mp4", t + "a.mp4"}, {}, true},
        {"text only", {t + "notes.txt"}, {}, false},
        {"nothing", {}, {}, false},
        {"long path", {longPath}, {longPath}, false},
        // Blanks around a path are trimmed only when the path as given does not exist.
        {"blanks", {"  " + t + "a.mp4  ", t + " d.mp3"}, {t + "a.mp4", t + " d.mp3"}, false},
    };
    for (const Case& c : cases) {
        const SDroppedFiles result = FilterDroppedFiles(c.dropped);
        EXPECT_EQ(std::vector<CString>(result.playList.begin(), result.playList.end()), c.expected) << c.label;
        EXPECT_EQ(result.folderRefused, c.refused) << c.label;
    }
}

TEST(DroppedFilesTest, ADropReplacesThePlayListAndEndsADownloadAndPlay)
{
    const testsupport::AppStateGuard guard(&CQuenlowApp::m_arrPlayList, &CQuenlowApp::m_nPlayIndex);
    int kind = 0, seconds = 0;
    CString text;
    theApp.TakeMessage(kind, text, seconds);

    theApp.m_arrPlayList.RemoveAll();
    theApp.m_arrPlayList.Add("/old/x.mp4");
    theApp.m_nPlayIndex = 4;
    theApp.m_strPlayingNetFile = "true";
    theApp.m_nNetFileSize = 123456;

    SDroppedFiles dropped;
    dropped.playList.Add("/m/a.mp4");
    dropped.playList.Add("/m/b.mp3");
    dropped.folderRefused = true;
    ApplyDroppedFiles(dropped);
    EXPECT_EQ(theApp.m_arrPlayList.GetSize(), 2);
    EXPECT_EQ(theApp.m_arrPlayList[0], "/m/a.mp4");
    EXPECT_EQ(theApp.m_nPlayIndex, -1);
    EXPECT_EQ(theApp.m_strPlayingNetFile, "");
    EXPECT_EQ(theApp.m_nNetFileSize, 0);
    ASSERT_TRUE(theApp.TakeMessage(kind, text, seconds));
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(seconds, 5);
    EXPECT_EQ(text, "不支持文件夹拖放！");

    // Nothing playable: the list is emptied, the index stays, no notice.
    theApp.m_nPlayIndex = 2;
    ApplyDroppedFiles(SDroppedFiles());
    EXPECT_TRUE(theApp.m_arrPlayList.IsEmpty());
    EXPECT_EQ(theApp.m_nPlayIndex, 2);
    EXPECT_FALSE(theApp.TakeMessage(kind, text, seconds));
}

} // namespace
