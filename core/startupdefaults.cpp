// Start-up values of the application object. Every path is the program folder
// followed by a fixed relative path; the temporary files all live in the one
// folder "AppData/Temp" (file names on Linux are case-sensitive, so the
// folder is always spelled the same way).
#include "core/startupdefaults.h"

#include "platform/file.h"
#include "core/activeview.h"
#include "core/publicpages.h"
#include "core/quenlow.h"

namespace {

void SetDataPaths(CQuenlowApp& app)
{
    const CString& dir = app.m_strAppDir;

    app.m_strPlaylistDir = dir + "Playlist/";

    app.m_strBaseDictPath = dir + "AppData/BasicDict/theBaseDict.script";
    app.m_strDictWordHtmlPath = dir + "AppData/BasicDict/theDectWord.html";
    app.m_strTalkInfoHtmlPath = dir + "AppData/BasicDict/theVuzIrod.html";
    app.m_strWordRootHtmlPath = dir + "AppData/BasicDict/theWordRootHTMLPath.html";
    app.m_strHelpPagePath = dir + "AppData/Help/Help.html";
    app.m_strExerciseDbPath = dir + "AppData/BasicDict/ClissifiedWord.script";
    app.m_strWordRootDbPath = dir + "AppData/BasicDict/WordRoot.script";
    app.m_strTalkInfoDbPath = dir + "AppData/BasicDict/VUZIROD.script";
    app.m_strWordBookPath = dir + "AppData/UserData/UnKownWord.script";
    app.m_strDictPanePagePath = dir + "AppData/BasicDict/theDectWord.html";
    app.m_strUiDataPath = dir + "AppData/UserData/UI.data";
    app.m_strRecordWavPath = dir + "AppData/Temp/record.wav";
    app.m_strReplayWavPath = dir + "AppData/Temp/replay.wav";
    app.m_strTmpRecordWavPath = dir + "AppData/Temp/tmprecord.wav";
    app.m_strCompleteWavPath = dir + "AppData/CommonData/complete.wav";
    app.m_strDownloaderPath = dir + "Downloader/HalvikSoftDownloader.exe";
    // Both exports share one folder; it and the cache folder carry no
    // trailing "/", so callers add the separator before a file name.
    app.m_strTextExportDir = dir + "TxtLrcFileFolder";
    app.m_strLrcExportDir = dir + "TxtLrcFileFolder";
    app.m_strProductIdFilePath = dir + "AppData/CommonData/PrdID.data";
    app.m_strAssBothBasePath = dir + "AppData/Temp/Script/Both.ass";
    app.m_strAssEngBasePath = dir + "AppData/Temp/Script/Eng.ass";
    app.m_strAssChnBasePath = dir + "AppData/Temp/Script/Chn.ass";
    // The subtitle files given to the player start as the base names and get
    // numbered when the subtitle writer runs.
    app.m_strAssBothPath = app.m_strAssBothBasePath;
    app.m_strAssEngPath = app.m_strAssEngBasePath;
    app.m_strAssChnPath = app.m_strAssChnBasePath;
    app.m_strBlankAssPath = dir + "AppData/CommonData/Blank.ass";
    app.m_strBlankScriptPath = dir + "AppData/CommonData/Blank.script";
    app.m_strFileInfoDir = dir + "AppData/Temp/FileInfo/";
    app.m_strSubtitleDir = dir + "SubTitles/";
    app.m_strUserDataDbPath = dir + "AppData/UserData/UserData.script";
    app.m_strCacheDir = dir + "CacheFolder";
    app.m_strSha1TmpPath = dir + "AppData/Temp/sha1hash.data";
    app.m_strSha1TmpPath2 = dir + "AppData/Temp/sha1hash2.data";
    app.m_strSubtitleStorePath = dir + "SubTitles/HalvikEngSub.data";
    app.m_strTmpJpgPath = dir + "AppData/Temp/tmpjpg.jpg";
    app.m_strTmpScriptPath = dir + "AppData/Temp/tmpscript.script";
    app.m_strOutboxCommandPath = dir + "AppData/CommandExchange/Player2Downloader/command.data";
    app.m_strOutboxMarkerPath = dir + "AppData/CommandExchange/Player2Downloader/commandcopy.data";
    app.m_strInboxCommandPath = dir + "AppData/CommandExchange/Downloader2Player/command.data";
    app.m_strInboxMarkerPath = dir + "AppData/CommandExchange/Downloader2Player/commandcopy.data";
    app.m_strDownloaderDataDir = dir + "AppData/DataExchange/DownloaderData/";
    app.m_strUpdateDataPath = dir + "AppData/CommonData/update.data";

    app.m_strPanAddressTable = "PanAdressTable";
    app.m_strLocalPlaylistTable = "LocalMediaPlaylistTable";
    app.m_strPlayHistoryTable = "LocalMediaPlayHistoryTable";

    app.m_strPanHomeUrl = kPanHomePage;
}

// The settings that the window settings file may replace afterwards; these
// are the values in force when it is missing or too short.
void SetStoredSettings(CQuenlowApp& app)
{
    app.m_strFontName.Empty();
    app.m_nFontSize = 0;
    app.m_clrText = 0xF0FBFF;
    app.m_clrBackground = 0x535353;
    app.m_strWordLookupMode = "OnWordHome";
    app.m_strSkipBlank = "true";
    app.m_strShowChinese.Empty();
    app.m_strTextLayout = "script";
    app.m_nVolume = 75;
    app.m_strAutoPlayExample.Empty();
    app.m_strAssLineOrder = "engchn";
    app.m_strSubtitleColor = "White";
    app.m_strSubtitleFontSize = "16";
    app.m_strClickReadMode = "Pause";
    app.m_strTextBold = "true";
    app.m_strTextItalic.Empty();
    app.m_strTextUnderline.Empty();
    app.m_nTextMargin = 0;
}

void SetProductData(CQuenlowApp& app)
{
    app.m_strContentKind = "drama";
    app.m_strEdition.Empty();
    // Placeholder until the installation's real identifier replaces it.
    app.m_strProductId = "*********";
    app.m_strUpdateDataSize.Empty();
    app.m_strUpdateServerHost.Empty();
}

void SetRunningState(CQuenlowApp& app)
{
    // Playback.
    app.m_strPlayState.Empty();
    app.m_strPlaybackStarted.Empty();
    app.m_strPlayingNetFile.Empty();
    app.m_strMainWindowState.Empty();
    app.m_strStopTasksFirst = "true";
    app.m_nMediaLength = 1;
    app.m_nResumeTime = 0;
    app.m_nPlayIndex = -1;
    app.m_nAudioTrack = 1;
    app.m_nRibbonCategory = 1;
    app.m_nSeekRequest = 0;
    app.m_nPlayProgress = 0;
    app.m_nSubtitleMode = 25;
    app.m_nPlayOrder = 1;
    app.m_nAssFileCounter = 0;
    app.m_bPlayerBarShown = 1;
    app.m_bVideoFullScreen = 0;
    app.m_bWindowFullScreen = 0;
    app.m_bNetFileReady = 0;
    app.m_nTopMostState = 0;
    app.m_nPointA = 0;
    app.m_nPointB = 0;
    app.m_nPointC = 0;
    app.m_nPointD = 0;

    // Current media, lesson and word.
    app.m_strMediaPath.Empty();
    app.m_strMediaName.Empty();
    app.m_strScriptPath.Empty();
    app.m_strCurrentWord.Empty();
    app.m_strMediaKind = "Video";
    app.m_bScriptLoaded = 0;

    // Status texts and the show-message slot.
    app.m_strLengthText = "00:00";
    app.m_nCaptionCountdown = 0;

    // Downloader.
    app.m_bRestartPending = 1;

    // Sentence model.
    app.ClearSentenceModel();
    app.m_nCurrentSentence = -1;
    app.m_nVisibleLines = 15;
    app.m_nTimeOffset = 0;
    app.m_nLastEndTime = 0;
    app.m_nDoubleLangLastLine = 0;

    // Study, repeat and word book.
    app.m_nStudyMode = 1;
    app.m_nTestLevel = 1;
    app.m_dFollowPause = 0.0;
    app.m_bSeekOnPlay = 0;
    app.m_nBlankThreshold = 3000;
    app.m_nWordInterval = 6000;
    app.m_nWordIndex = 0;
    app.m_nRepeatMargin = 100;

    // The views re-apply their text format when their copy differs from the
    // change count, so starting the copies at 1 formats each view once.
    app.m_nFontChangeCount = 0;
    app.m_nFontCountQuenlowView = 1;
    app.m_nFontCountWordView = 1;
    app.m_nFontCountExercise = 1;
    app.m_nFontCountSpeechView = 1;

    // Switches and modes of the windows and views.
    app.m_strDocumentLoaded.Empty();
    app.m_strBilingual.Empty();
    app.m_strPointRead.Empty();
    app.m_strRepeatOn.Empty();
    app.m_strCaptionPosition.Empty();
    app.m_strDoubleLangShown.Empty();
    app.m_strActiveView = kActiveLessonView;
    app.m_strCaptionDlgCreated.Empty();
    app.m_strTextViewMode.Empty();
    app.m_strWordListKind.Empty();
    app.m_strAutoChangeWord.Empty();
    app.m_strMarkWordList.Empty();
    app.m_strExerciseSubmitted.Empty();
    app.m_strTalkCategory.Empty();
    app.m_strTalkSortField = "asc";
    app.m_strCaptionLanguage = "Both";
    app.m_strPlaylistFilter = "Both";
    app.m_strExerciseMerged.Empty();
    app.m_strAutoLookup.Empty();
    app.m_strWordFound.Empty();
    app.m_strMouseGetWord.Empty();
    app.m_strRecordState.Empty();
    app.m_strSpeechPrepared.Empty();
    app.m_strSpeechMode.Empty();
    app.m_strMicrophoneReady = "true";
    app.m_strSubtitleLoaded.Empty();
    app.m_strHelpPagePrepared.Empty();
    app.m_strHelpViewContent.Empty();
    app.m_strExerciseDlgCreated.Empty();
    app.m_strHistoryDlgCreated.Empty();
    app.m_strPopularOnly.Empty();
    app.m_strStartupDone.Empty();
    app.m_strCaptionCentered.Empty();
    app.m_strPlaylistLanguage = "eng";
    app.m_strShowTalkInfo.Empty();
    app.m_strPlaylistSearch.Empty();
    app.m_strSilentWordSave.Empty();
}

} // namespace

void ApplyStartupDefaults(CQuenlowApp& app, const CString& programFolder)
{
    app.m_strAppDir = programFolder;
    if (!app.m_strAppDir.IsEmpty() && app.m_strAppDir[app.m_strAppDir.GetLength() - 1] != '/')
        app.m_strAppDir += '/';

    SetDataPaths(app);
    SetStoredSettings(app);
    SetProductData(app);
    SetRunningState(app);

    // Caption-bar colours of the message kinds.
    app.m_clrMsgErrorBack = 0x0000FF;
    app.m_clrMsgText = 0xFFFFFF;
    app.m_clrMsgInfoBack = 0x007700;
    app.m_clrMsgWarningBack = 0x1299FF;

    // The frame may already have read the stored visual style; keep it when
    // it is a valid style id.
    if (app.m_nAppLook < kFirstAppLook || app.m_nAppLook > kLastAppLook)
        app.m_nAppLook = kDefaultAppLook;
}

SDataFolderProblems CreateDataFolders(const CQuenlowApp& app)
{
    SDataFolderProblems problems;
    for (const char* folder : kDataFolders) {
        const CString path = app.m_strAppDir + folder;
        if (!CreateFolders(path))
            problems.uncreated.emplace_back(folder);
        else if (!CanCreateFilesIn(path))
            problems.unwritable.emplace_back(folder);
    }
    return problems;
}

void RemoveLeftoverTempFiles(const CQuenlowApp& app)
{
    for (const SFolderEntry& entry : ListFolder(app.m_strAppDir + "AppData/Temp/")) {
        if (entry.isFolder || entry.isSymlink)
            continue;
        for (const char* prefix : {"tmpjpg", "tmpscript", "sha1hash"})
            if (entry.name.Find(prefix) == 0)
                (void)DeleteFile(entry.path);
    }
}

namespace {

CString NameFirstCountAll(const char* what, const std::vector<CString>& folders)
{
    CString text = what + folders.front();
    if (folders.size() > 1)
        text.AppendFormat(" 等%d个", static_cast<int>(folders.size()));
    return text;
}

} // namespace

CString DescribeDataFolderProblems(const SDataFolderProblems& problems)
{
    CString text;
    if (!problems.uncreated.empty())
        text = NameFirstCountAll("无法创建数据文件夹：", problems.uncreated);
    if (!problems.unwritable.empty()) {
        if (!text.IsEmpty())
            text += "；";
        text += NameFirstCountAll("数据文件夹无法写入：", problems.unwritable);
    }
    return text;
}
