// The application object: the one record of the state that more than one
// window needs, and the services every component shares (code pages, files
// and processes, the user-data store). Its one instance is `theApp`.
//
// It is a plain object with static storage, so every number starts at zero as
// the windows expect. It holds no window and includes no toolkit header: the
// windows it names are created and destroyed by the frame (`frame/
// appwindows.h`), and the toolkit's application class (`CQuenlowWinApp`) runs
// start-up and shut-down.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/cstring.h"
#include "platform/sqlitedb.h"
#include "platform/wintypes.h"
#include "core/messagekind.h"
#include "core/sentencemodel.h"

class CShowMsgDlg;
class CPureWMPDialog;
class CMiniHtmlDlg;

class CQuenlowApp {
public:
    CQuenlowApp();
    ~CQuenlowApp();
    CQuenlowApp(const CQuenlowApp&) = delete;
    CQuenlowApp& operator=(const CQuenlowApp&) = delete;

    // ---- Show-message slot (quenlow_message.cpp) ----
    // Filled on the user-interface thread (another thread may, too); the main
    // frame's timers take it there. The three values change together under one lock.
    void ShowMessage(const CString& text, const CString& kind, int milliseconds);
    // Appends a looked-up word (as handed over) to the look-up history when
    // it is not there yet; the position moves to it then.
    void AddToLookupHistory(const CString& word);
    void SetMessage(int kind, const CString& text, int seconds);
    // Takes the pending message and empties the slot, in one step. A text of
    // one character or less is no message: it stays and false is returned.
    bool TakeMessage(int& kind, CString& text, int& seconds);

    // ---- Code pages (quenlow_codepage.cpp) ----
    CString ConvertCodePage(const CString& text, UINT fromCodePage, UINT toCodePage) const;
    CString Utf8ToAnsi(const CString& text) const;
    CString AnsiToUtf8(const CString& text) const;
    CString FilePathToUtf8(const char* path) const;
    CString ApplyReplacements(const CString& text) const;
    bool IsUtf8Text(const unsigned char* bytes, int length) const;

    // ---- Files, media, addresses and processes (quenlow_services.cpp) ----
    CString FindMediaForScript(const CString& scriptPath);
    void CollectDataFiles(const CString& folder);
    int GetMediaKind(const CString& path) const;
    BOOL IsProcessRunning(const CString& exeName) const;
    void KillProcesses(const CString& exeName) const;
    CString GetPanFileId(const CString& address) const;
    BOOL IsMediaUrl(const CString& address) const;
    int RandomIndex(int n) const;
    int64_t GetFileLength(const CString& path);

    // ---- User-data store (quenlow_userdata.cpp) ----
    BOOL RecordExists(const CString& dbPath, const CString& table, const CString& key);
    BOOL PutRecord(const CString& table, const CString& key, const CString& content1, const CString& content2,
                   const CString& content3, const CString& content4, const CString& content5);
    // Puts the file in the play history. When the put fails the learner is
    // told in the caption bar, once until a put works again.
    BOOL AddPlayHistory(const CString& name, const CString& path);
    CString GetRecordText(const CString& key);
    BOOL DeleteRecord(const CString& table, const CString& key);
    // Deletes the rows of a key and returns how many went; -1 when the store
    // cannot be opened or the statement fails.
    int DeleteRecordCount(const CString& table, const CString& key);
    // Fills the array of the table with its records (all, or the key's). A
    // table not made yet gives no rows; FALSE when the store cannot be read.
    BOOL LoadTable(const CString& table, const CString& key);
    // Runs a whole-table query on the open store connection; null on failure.
    std::unique_ptr<SQueryResult> QueryTable(const CString& sql);
    static const char* GetTableCell(const SQueryResult* result, int row, int column);

    // ---- Sentence model (sentencemodel.cpp) ----
    // Empties the model before a load: every timing and correction zeroed,
    // both text lists emptied, no sentences, no current sentence.
    void ClearSentenceModel();
    // Makes room for sentence index `index` (the table grows with the lesson).
    void EnsureSentenceCapacity(int count);
    // The sentence playing at player time t (ms), or -1 in a gap.
    int FindSentenceAt(int64_t t) const;
    // The first time after t at which FindSentenceAt gives another answer (a
    // sentence starts, or one ends), or -1 when none follows.
    int64_t NextSentenceChange(int64_t t) const;

    // ---- Subtitle files for the video (lesson/assfilewriter.cpp) ----
    // Writes the sentence model as three new numbered subtitle files
    // (bilingual, English, Chinese) and stores their paths.
    void WriteAssFiles();
    // "MM:SS" of a time in milliseconds (divided as unsigned).
    CString FormatMinSec(int64_t ms) const;
    // "H:MM:SS.cc" of a time in milliseconds given as decimal text; a
    // negative time is written as 0.
    CString FormatAssTime(const CString& ms) const;

    // ---- Colours ----
    COLORREF m_clrBackground = 0;
    COLORREF m_clrText = 0;
    COLORREF m_clrMsgErrorBack = 0;
    COLORREF m_clrMsgText = 0;
    COLORREF m_clrMsgInfoBack = 0;
    COLORREF m_clrMsgWarningBack = 0;

    // ---- Program folder and data paths ----
    CString m_strAppDir;
    CString m_strBaseDictPath;
    CString m_strDictWordHtmlPath;
    CString m_strWordRootHtmlPath;
    CString m_strWordRootDbPath;
    CString m_strExerciseDbPath;
    CString m_strTalkInfoDbPath;
    CString m_strPlaylistDir;
    CString m_strDictPanePagePath;
    CString m_strUiDataPath;
    CString m_strRecordWavPath;
    CString m_strReplayWavPath;
    CString m_strTmpRecordWavPath;
    CString m_strCompleteWavPath;
    CString m_strDownloaderPath;
    CString m_strWordBookPath;
    CString m_strTextExportDir;
    CString m_strLrcExportDir;
    CString m_strProductIdFilePath;
    CString m_strAssBothBasePath;
    CString m_strAssEngBasePath;
    CString m_strAssChnBasePath;
    CString m_strPanHomeUrl;
    CString m_strTalkInfoHtmlPath;
    CString m_strFileInfoDir;
    CString m_strTmpJpgPath;
    CString m_strSubtitleDir;
    CString m_strUserDataDbPath;
    CString m_strCacheDir;
    CString m_strSha1TmpPath;
    CString m_strSha1TmpPath2;
    CString m_strBlankAssPath;
    CString m_strBlankScriptPath;
    CString m_strSubtitleStorePath;
    CString m_strTmpScriptPath;
    CString m_strHelpPagePath;
    CString m_strInboxCommandPath;
    CString m_strOutboxCommandPath;
    CString m_strOutboxMarkerPath;
    CString m_strInboxMarkerPath;
    CString m_strDownloaderDataDir;
    CString m_strUpdateDataPath;

    // ---- Table names of the user-data store ----
    CString m_strLocalPlaylistTable;
    CString m_strPlayHistoryTable;
    CString m_strPanAddressTable;

    // ---- Stored settings (the window settings file, in line order) ----
    CString m_strFontName;
    // m_nFontSize, m_clrText and m_clrBackground are lines 2 to 4.
    CString m_strWordLookupMode;
    CString m_strSkipBlank;
    CString m_strShowChinese;
    CString m_strTextLayout;
    // m_nVolume is line 9.
    CString m_strAutoPlayExample;
    CString m_strAssLineOrder;
    CString m_strSubtitleColor;
    CString m_strSubtitleFontSize;
    CString m_strClickReadMode;
    // The lesson text's effects (switches: "true" or empty), lines 20 to 22.
    CString m_strTextBold;
    CString m_strTextItalic;
    CString m_strTextUnderline;
    // The lesson text's margin on either side in pixels (增加 and 减少),
    // line 23.
    int m_nTextMargin = 0;

    // ---- Product and update data ----
    CString m_strContentKind;
    CString m_strEdition;
    CString m_strProductId;
    CString m_strUpdateDataSize;
    CString m_strUpdateServerHost;

    // ---- Playback state ----
    CString m_strPlayState;
    CString m_strPlaybackStarted;
    CString m_strPlayingNetFile;
    CString m_strMainWindowState;
    CString m_strStopTasksFirst;

    // ---- Current media, lesson and word ----
    CString m_strMediaPath;
    // "true" once a talk was asked to play from the podcast host.
    CString m_strCatalogueTalkPlaying;
    CString m_strMediaName;
    CString m_strScriptPath;
    CString m_strSidecarScriptPath;
    CString m_strCurrentWord;
    CString m_strAssBothPath;
    CString m_strAssEngPath;
    CString m_strAssChnPath;
    CString m_strSubtitleUrl;
    CString m_strPlayFilePath;
    CString m_strMediaSha1;
    CString m_strSubtitleFetched;
    CString m_strMediaKind;

    // ---- Status texts ----
    CString m_strTimeOffsetText;
    // The media file the subtitle offset was set for: a loop or reload of
    // that file keeps the offset, another file starts at 0.
    CString m_strTimeOffsetMedia;
    CString m_strTimeText;
    CString m_strLengthText;
    CString m_strPlayStateText;
    CString m_strDownloadStatusText;

    // ---- Show-message slot: read and write through the methods above ----
    CString m_strMessageText;

    // ---- Download-and-play ----
    CString m_strDlAndPlayCommand;
    // The network address typed for download-and-play, its short id and the
    // state of that task (0 when a new one starts).
    CString m_strDownloadUrl;
    // "help" once the help page has been shown.
    CString m_strHelpViewMode;
    CString m_strDownloadTaskId;
    int m_nDlAndPlayState = 0;

    // ---- Mailboxes ----
    CString m_strPendingCommand;
    CString m_strSubtitleCommand;
    CString m_strWordPaneCommand;
    CString m_strPanCommand;

    // ---- Downloader figures ----
    CString m_strDownloadTotalSize;
    CString m_strDownloadPercent;
    CString m_strDownloadSpeed;

    // ---- Switches and modes of the windows and views ----
    CString m_strDocumentLoaded;
    CString m_strBilingual;
    CString m_strPointRead;
    CString m_strRepeatOn;
    CString m_strCaptionPosition;
    CString m_strDoubleLangShown;
    CString m_strActiveView;
    CString m_strCaptionDlgCreated;
    CString m_strTextViewMode;
    CString m_strWordListKind;
    CString m_strAutoChangeWord;
    CString m_strMarkWordList;
    CString m_strExerciseSubmitted;
    CString m_strTalkCategory;
    CString m_strTalkSortField;
    CString m_strCaptionLanguage;
    CString m_strPlaylistFilter;
    CString m_strPlaylistCaption;
    CString m_strExerciseMerged;
    CString m_strAutoLookup;
    CString m_strWordFound;
    CString m_strMouseGetWord;
    CString m_strRecordState;
    CString m_strSpeechPrepared;
    CString m_strSpeechMode;
    CString m_strMicrophoneReady;
    CString m_strSubtitleLoaded;
    CString m_strHelpPagePrepared;
    CString m_strHelpViewContent;
    CString m_strExerciseDlgCreated;
    CString m_strHistoryDlgCreated;
    CString m_strPopularOnly;
    CString m_strStartupDone;
    CString m_strCaptionCentered;
    CString m_strMsgDlgCreated;
    CString m_strPlaylistLanguage;
    CString m_strShowTalkInfo;
    CString m_strPlaylistSearch;
    CString m_strSilentWordSave;

    // ---- Text-position correction per sentence (grows with the lesson) ----
    std::vector<int> m_arrTextCorrection;

    // ---- Lists ----
    CStringArray m_arrChineseText;
    CStringArray m_arrForeignText;
    CStringArray m_arrLookupHistory;
    CStringArray m_arrReplacePairs;
    CStringArray m_arrPlayList;
    CStringArray m_arrPlayHistoryRows;
    CStringArray m_arrAudioTracks;
    CStringArray m_arrUnitWords;
    CStringArray m_arrSubtitleTracks;

    // ---- Scalars ----
    int m_nFontSize = 0;
    int m_nVolume = 0;
    int64_t m_nMediaLength = 0;
    int m_nResumeTime = 0;
    int m_nPlayIndex = 0;
    int m_nAudioTrack = 0;
    int m_nRibbonCategory = 0;
    int m_nSeekRequest = 0;
    int m_nPlayProgress = 0;
    int m_nSubtitleMode = 0;
    int m_nPlayOrder = 0;
    int m_nAssFileCounter = 0;
    int m_bPlayerBarShown = 0;
    int m_bVideoFullScreen = 0;
    int m_bWindowFullScreen = 0;
    int m_bNetFileReady = 0;
    int m_nTopMostState = 0;
    int64_t m_nPointA = 0;
    int64_t m_nPointB = 0;
    int64_t m_nPointC = 0;
    int64_t m_nPointD = 0;
    int m_bScriptLoaded = 0;
    int m_nCaptionCountdown = 0;
    int m_nMessageKind = 0;
    int m_nMessageSeconds = 0;
    std::mutex m_messageLock;
    int m_nDownloadMediaKind = 0;
    int m_nDownloadPercentValue = 0;
    int m_bRestartPending = 0;
    int64_t m_nNetFileSize = 0;
    int m_nVisibleLines = 0;
    int m_nSentenceCount = 0;
    int m_nCurrentSentence = 0;
    int m_nLineHeight = 0;
    int m_nTimeOffset = 0;
    int m_nLastEndTime = 0;
    int m_nScreenWidth = 0;
    int m_nScreenHeight = 0;
    double m_dScaleX = 0.0;
    int m_nStudyMode = 0;
    int m_nTestLevel = 0;
    double m_dFollowPause = 0.0;
    int m_bSeekOnPlay = 0;
    int m_nDoubleLangLastLine = 0;
    int m_nRepeatCount = 0;
    int m_nRepeatStart = 0;
    int m_nRepeatEnd = 0;
    int m_nBlankThreshold = 0;
    int m_nLookupHistoryPos = 0;
    int m_nWordInterval = 0;
    int m_nWordIndex = 0;
    int m_nProgressTotal = 0;
    int m_nRepeatMargin = 0;
    int m_nFontChangeCount = 0;
    int m_nFontCountQuenlowView = 0;
    int m_nFontCountWordView = 0;
    int m_nFontCountExercise = 0;
    int m_nFontCountSpeechView = 0;

    // ---- Lesson-text font ----
    BYTE m_nFontCharset = 0;

    // ---- The sentence table (grows with the lesson) ----
    std::vector<SSentenceTiming> m_arrSentenceTiming;

    // ---- Windows (created by the main frame; windows cannot live in static storage) ----
    CRect m_rcPlaylistPane;
    int m_bStreamDlgVisible = 0;
    CShowMsgDlg* m_pShowMsgDlg = nullptr;
    CPureWMPDialog* m_pStreamDlg = nullptr;
    CMiniHtmlDlg* m_dlgMiniHtml = nullptr;

    // ---- Lists, second group ----
    CStringArray m_arrPanAddressRows;
    CStringArray m_arrLocalPlaylistRows;
    CStringArray m_arrSubtitleFetchList;
    CStringArray m_arrDataFiles;

    // ---- State of the user-data store ----
    int m_nDbResult = 0;
    CSqliteDb m_userDb;
    CString m_strDbError;
    // The store file checked (and switched to write-ahead logging) this session.
    CString m_strCheckedUserDataDbPath;
    bool m_bPlayHistoryFailureShown = false;

    // ---- Application look ----
    UINT m_nAppLook = 0;

private:
    int DeleteRows(const CString& table, const CString& key, bool& opened);
};

extern CQuenlowApp theApp;
