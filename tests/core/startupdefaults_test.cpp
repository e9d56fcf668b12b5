#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

using PathMember = CString CQuenlowApp::*;

// Every member that holds a path below the program folder.
constexpr PathMember kPathMembers[] = {
    &CQuenlowApp::m_strBaseDictPath,      &CQuenlowApp::m_strDictWordHtmlPath,   &CQuenlowApp::m_strWordRootHtmlPath,
    &CQuenlowApp::m_strWordRootDbPath,    &CQuenlowApp::m_strExerciseDbPath,     &CQuenlowApp::m_strTalkInfoDbPath,
    &CQuenlowApp::m_strPlaylistDir,       &CQuenlowApp::m_strDictPanePagePath,   &CQuenlowApp::m_strUiDataPath,
    &CQuenlowApp::m_strRecordWavPath,     &CQuenlowApp::m_strReplayWavPath,      &CQuenlowApp::m_strTmpRecordWavPath,
    &CQuenlowApp::m_strCompleteWavPath,   &CQuenlowApp::m_strDownloaderPath,     &CQuenlowApp::m_strWordBookPath,
    &CQuenlowApp::m_strTextExportDir,     &CQuenlowApp::m_strLrcExportDir,       &CQuenlowApp::m_strProductIdFilePath,
    &CQuenlowApp::m_strAssBothBasePath,   &CQuenlowApp::m_strAssEngBasePath,     &CQuenlowApp::m_strAssChnBasePath,
    &CQuenlowApp::m_strTalkInfoHtmlPath,  &CQuenlowApp::m_strFileInfoDir,        &CQuenlowApp::m_strTmpJpgPath,
    &CQuenlowApp::m_strSubtitleDir,       &CQuenlowApp::m_strUserDataDbPath,     &CQuenlowApp::m_strCacheDir,
    &CQuenlowApp::m_strSha1TmpPath,       &CQuenlowApp::m_strSha1TmpPath2,       &CQuenlowApp::m_strBlankAssPath,
    &CQuenlowApp::m_strBlankScriptPath,   &CQuenlowApp::m_strSubtitleStorePath,  &CQuenlowApp::m_strTmpScriptPath,
    &CQuenlowApp::m_strHelpPagePath,      &CQuenlowApp::m_strInboxCommandPath,   &CQuenlowApp::m_strOutboxCommandPath,
    &CQuenlowApp::m_strOutboxMarkerPath,  &CQuenlowApp::m_strInboxMarkerPath,    &CQuenlowApp::m_strDownloaderDataDir,
    &CQuenlowApp::m_strUpdateDataPath,    &CQuenlowApp::m_strAssBothPath,        &CQuenlowApp::m_strAssEngPath,
    &CQuenlowApp::m_strAssChnPath,
};

TEST(StartupDefaultsTest, PathsAreBuiltFromTheProgramFolder)
{
    CQuenlowApp app;
    ApplyStartupDefaults(app, "/opt/quenlow/");

    struct Case {
        PathMember member;
        const char* expected;
    } cases[] = {
        {&CQuenlowApp::m_strRecordWavPath, "/opt/quenlow/AppData/Temp/record.wav"},
        {&CQuenlowApp::m_strTmpRecordWavPath, "/opt/quenlow/AppData/Temp/tmprecord.wav"},
        {&CQuenlowApp::m_strTmpScriptPath, "/opt/quenlow/AppData/Temp/tmpscript.script"},
        {&CQuenlowApp::m_strUiDataPath, "/opt/quenlow/AppData/UserData/UI.data"},
        {&CQuenlowApp::m_strTextExportDir, "/opt/quenlow/TxtLrcFileFolder"},
        {&CQuenlowApp::m_strLrcExportDir, "/opt/quenlow/TxtLrcFileFolder"},
        {&CQuenlowApp::m_strCacheDir, "/opt/quenlow/CacheFolder"},
        {&CQuenlowApp::m_strPlaylistDir, "/opt/quenlow/Playlist/"},
        {&CQuenlowApp::m_strFileInfoDir, "/opt/quenlow/AppData/Temp/FileInfo/"},
        {&CQuenlowApp::m_strOutboxMarkerPath, "/opt/quenlow/AppData/CommandExchange/Player2Downloader/commandcopy.data"},
        {&CQuenlowApp::m_strInboxCommandPath, "/opt/quenlow/AppData/CommandExchange/Downloader2Player/command.data"},
        {&CQuenlowApp::m_strAssBothPath, "/opt/quenlow/AppData/Temp/Script/Both.ass"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app.*c.member, c.expected);
}

TEST(StartupDefaultsTest, EveryPathStartsWithTheProgramFolder)
{
    // A folder with Chinese characters and no trailing "/".
    const CString folder = "/home/用户/学习";
    CQuenlowApp app;
    ApplyStartupDefaults(app, folder);
    ASSERT_EQ(app.m_strAppDir, folder + "/");

    for (PathMember member : kPathMembers) {
        const CString& path = app.*member;
        SCOPED_TRACE(path.GetString());
        EXPECT_EQ(path.Left(app.m_strAppDir.GetLength()), app.m_strAppDir);
        EXPECT_GT(path.GetLength(), app.m_strAppDir.GetLength());
        EXPECT_EQ(path.Find('\\'), -1);
        EXPECT_EQ(path.Find("TEMP"), -1);
    }
}

TEST(StartupDefaultsTest, ResetsRunningStateButKeepsAStoredLook)
{
    CQuenlowApp app;
    app.m_nSentenceCount = 12;
    app.m_nCurrentSentence = 4;
    app.m_strMediaPath = "/media/old.mp4";
    app.m_nAppLook = 210;   // read from the profile before the paths are set
    ApplyStartupDefaults(app, "/p/");

    EXPECT_EQ(app.m_nSentenceCount, 0);
    EXPECT_EQ(app.m_nCurrentSentence, -1);
    EXPECT_EQ(app.m_nPlayIndex, -1);
    EXPECT_EQ(app.m_strMediaPath, "");
    EXPECT_GE(app.m_arrSentenceTiming.size(), static_cast<size_t>(kSentenceTableSize));
    EXPECT_EQ(app.m_nAppLook, 210u);

    CQuenlowApp fresh;   // no stored look
    ApplyStartupDefaults(fresh, "/p/");
    EXPECT_EQ(fresh.m_nAppLook, 216u);
}

TEST(StartupDefaultsTest, CreatesTheDataFoldersOnceAndAgain)
{
    testsupport::TempFolder tmp;
    const CString programFolder = tmp.ansi() + "程序/";
    CQuenlowApp app;
    ApplyStartupDefaults(app, programFolder);

    ASSERT_TRUE(CreateDataFolders(app).empty());
    const std::string root = AnsiToUtf8Bytes(programFolder.view());
    for (const char* folder : kDataFolders)
        EXPECT_TRUE(fs::is_directory(root + folder)) << folder;
    // The folders that the paths name exist, so their files can be written.
    EXPECT_TRUE(fs::is_directory(fs::path(AnsiToUtf8Bytes(app.m_strRecordWavPath.view())).parent_path()));
    EXPECT_TRUE(fs::is_directory(AnsiToUtf8Bytes(app.m_strDownloaderDataDir.view())));

    // A second run keeps what the folders hold.
    tmp.write(AnsiToUtf8Bytes("程序") + "/AppData/UserData/UI.data", "kept");
    EXPECT_TRUE(CreateDataFolders(app).empty());
    EXPECT_EQ(testsupport::ReadBytes(root + "AppData/UserData/UI.data"), "kept");
}

TEST(StartupDefaultsTest, RemovesLeftoverScratchFilesOnly)
{
    testsupport::TempFolder tmp;
    CQuenlowApp app;
    ApplyStartupDefaults(app, tmp.ansi());
    ASSERT_TRUE(CreateDataFolders(app).empty());
    for (const char* name : {"tmpjpg.jpg", "tmpjpg-7.jpg", "tmpscript.script", "sha1hash.data", "sha1hash2.data"})
        tmp.write(std::string("AppData/Temp/") + name, "left");
    tmp.write("AppData/Temp/record.wav", "kept");
    tmp.write("AppData/Temp/keep/tmpjpg.jpg", "kept");
    tmp.write("AppData/UserData/sha1hash.data", "kept");

    RemoveLeftoverTempFiles(app);
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(tmp.path() + "AppData"))
        if (entry.is_regular_file())
            left.push_back(fs::relative(entry.path(), tmp.path() + "AppData").string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Temp/keep/tmpjpg.jpg", "Temp/record.wav", "UserData/sha1hash.data"}));
}

TEST(StartupDefaultsTest, ReportsAFolderThatCannotBeMade)
{
    testsupport::TempFolder tmp;
    tmp.write("Playlist", "a file in the way");
    CQuenlowApp app;
    ApplyStartupDefaults(app, tmp.ansi());

    EXPECT_FALSE(CreateDataFolders(app).empty());
    EXPECT_TRUE(fs::is_directory(tmp.path() + "CacheFolder"));   // the others are still made
}

// The folders that cannot hold files are named, so start-up can tell which.
// A file in place of "AppData" blocks every folder below it; a folder that
// leads into /proc exists, but nobody, root included, can make a file there.
TEST(StartupDefaultsTest, NamesTheFoldersThatCannotHoldFiles)
{
    const std::vector<std::string> belowAppData = {
        "AppData/BasicDict", "AppData/UserData", "AppData/Temp", "AppData/Temp/Script", "AppData/Temp/FileInfo",
        "AppData/CommonData", "AppData/Help", "AppData/CommandExchange/Player2Downloader",
        "AppData/CommandExchange/Downloader2Player", "AppData/DataExchange/DownloaderData"};
    struct Case {
        const char* fileInTheWay;
        const char* linkedIntoProc;
        std::vector<std::string> uncreated;
        std::vector<std::string> unwritable;
        const char* notice;
    };
    const Case cases[] = {
        {"Playlist", nullptr, {"Playlist"}, {}, "无法创建数据文件夹：Playlist"},
        {"AppData", nullptr, belowAppData, {}, "无法创建数据文件夹：AppData/BasicDict 等10个"},
        {nullptr, "Playlist", {}, {"Playlist"}, "数据文件夹无法写入：Playlist"},
        {"Downloader", "CacheFolder", {"Downloader"}, {"CacheFolder"},
         "无法创建数据文件夹：Downloader；数据文件夹无法写入：CacheFolder"},
        {nullptr, nullptr, {}, {}, ""},
    };
    const auto names = [](const std::vector<CString>& folders) {
        std::vector<std::string> text;
        for (const CString& folder : folders)
            text.push_back(folder.str());
        return text;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        testsupport::TempFolder tmp;
        if (c.fileInTheWay)
            tmp.write(c.fileInTheWay, "a file in the way");
        if (c.linkedIntoProc)
            fs::create_directory_symlink("/proc", tmp.path() + c.linkedIntoProc);
        CQuenlowApp app;
        ApplyStartupDefaults(app, tmp.ansi());
        const SDataFolderProblems problems = CreateDataFolders(app);
        EXPECT_EQ(names(problems.uncreated), c.uncreated);
        EXPECT_EQ(names(problems.unwritable), c.unwritable);
        EXPECT_EQ(DescribeDataFolderProblems(problems).str(), c.notice);
    }
}

} // namespace
