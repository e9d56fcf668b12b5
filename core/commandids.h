// The program's command ids, by name: every command a ribbon element, a menu
// item, a status-bar element, a context menu or the player's menu issues.
//
// How a command is known to the toolkit (its toolkit id):
// - wxEVT_MENU and wxEVT_UPDATE_UI events carry the command id itself (an
//   event's id is a plain int), so the frame and the views bind and dispatch
//   on the ids below whatever their size.
// - A window or a menu item needs an id the toolkit accepts: at most
//   kLargestToolkitId. A command up to it is its own toolkit id
//   (IsOwnToolkitId); a larger one has no fixed toolkit id. Menus reserve one
//   from the toolkit's pool and translate back (BCMenu::ItemIdForCommand and
//   CommandForItemId keep the pair for the whole run, CCommandMenu for the
//   life of the menu); the ribbon's and the status bar's windows get automatic
//   ids and are found by their command id.
//
// Every id is listed once in kCommandIdRanges below, and a static_assert
// keeps them apart. A name that is another name's id on purpose is written as
// that name (an alias), with the reason, and is not listed again.
#pragma once

#include <cstddef>

// ---- Toolkit ids ----
// The largest window or menu-item id the toolkit accepts.
constexpr int kLargestToolkitId = 32766;
// Whether a command serves as its own window or menu-item id.
constexpr bool IsOwnToolkitId(int command) { return command >= 0 && command <= kLargestToolkitId; }

// ---- Application menu: the visual styles ----
// Every id from kCmdFirstLook to kCmdLastLook is a style command; the profile
// stores the chosen one.
constexpr int kCmdLookWindows2000 = 205;
constexpr int kCmdLookOfficeXP = 206;
constexpr int kCmdLookWindowsXP = 207;
constexpr int kCmdLookOffice2003 = 208;
constexpr int kCmdLookLightGray = 209;          // has colours, not in the menu
constexpr int kCmdLookGray = 210;
// The ids from here to kCmdLastStyleKeepingLook keep the style in force and
// the lesson colours.
constexpr int kCmdFirstStyleKeepingLook = 211;
constexpr int kCmdLastStyleKeepingLook = 214;
constexpr int kCmdLookOffice2007Blue = 215;
constexpr int kCmdLookOffice2007Black = 216;
constexpr int kCmdLookOffice2007Silver = 217;
constexpr int kCmdLookOffice2007Aqua = 218;
constexpr int kCmdLookWindows7 = 219;
constexpr int kCmdFirstLook = kCmdLookWindows2000;
constexpr int kCmdLastLook = kCmdLookWindows7;

// ---- Frame: documents, panes, help (accelerators and the application menu) ----
constexpr int kCmdFileNew = 57600;
constexpr int kCmdFileOpen = 57601;
constexpr int kCmdFileSave = 57603;
constexpr int kCmdFilePrint = 57607;
constexpr int kCmdFilePrintDirect = 57608;
constexpr int kCmdFilePrintPreview = 57609;
constexpr int kCmdAppAbout = 57664;
constexpr int kCmdNextPane = 57680;
constexpr int kCmdPrevPane = 57681;
constexpr int kCmdHomePage = 32815;

// ---- Ribbon 主页: common functions ----
constexpr int kCmdPlaylist = 32899;             // also 播放列表 > 打开
constexpr int kCmdOpenDict = 32969;
constexpr int kCmdLocalWord = 33343;
constexpr int kCmdOnlineWord = 33344;
constexpr int kCmdPlayerPane = 32814;           // also the status bar's time element
constexpr int kCmdMouseWordPick = 33122;
constexpr int kCmdSkipBlank = 32968;
constexpr int kCmdShowChinese = 33136;
constexpr int kCmdPointRead = 32909;
constexpr int kCmdClickPause = 33348;
constexpr int kCmdClickContinue = 33349;
constexpr int kCmdPlayFromPan = 33243;

// ---- The dictionary pane's toolbar (the pane handles them itself) ----
constexpr int kCmdPrevWord = 32970;
constexpr int kCmdNextWord = 32971;
constexpr int kCmdWordWeb = 32972;
constexpr int kCmdWordHome = 32973;
constexpr int kCmdSaveWord = 33346;
constexpr int kCmdDelWord = 33347;

// ---- Study modes of the lesson view: no ribbon element or menu item sends
// them, but the view answers them ----
constexpr int kCmdStudyFollowRead = 32907;
constexpr int kCmdStudyRepeatRead = 32908;
constexpr int kCmdStudyListening = 32900;
// The Chinese caption above or below the English line (no element sends them).
constexpr int kCmdCaptionAbove = 32929;
constexpr int kCmdCaptionBelow = 32931;

// ---- Ribbon 主页: paragraph, font and colour of the lesson text ----
constexpr int kCmdIncreaseMargin = 32792;
constexpr int kCmdDecreaseMargin = 32791;
constexpr int kCmdParagraphBlank = 33239;       // an empty cell of the panel
constexpr int kCmdSubtitleMode = 33133;
constexpr int kCmdParagraphMode = 33134;
constexpr int kCmdBilingualMode = 33256;
// Puts the bilingual list in place of the lesson text and back.
constexpr int kCmdBilingualListView = 32951;
constexpr int kCmdFontName = 32797;
constexpr int kCmdFontSize = 32798;
constexpr int kCmdFontBlank = 32906;            // an empty cell of the panel
constexpr int kCmdFontBold = 32795;
constexpr int kCmdFontItalic = 32785;
constexpr int kCmdFontUnderline = 32786;
constexpr int kCmdFontColor = 32787;
constexpr int kCmdBackColor = 32788;
constexpr int kCmdStrikeOut = 32810;
constexpr int kCmdTranslate = 32808;

// ---- Ribbon 主页: subtitle offset ----
constexpr int kCmdFast = 33151;
constexpr int kCmdSlow = 33152;
constexpr int kCmdOffsetReset = 33153;
constexpr int kCmdOffsetEdit = 33337;

// ---- Dictionary in use ----
constexpr int kCmdUseOnlineDict = 32809;
constexpr int kCmdUseLocalDict = 32771;

// ---- Ribbon 播放列表: the talk catalogue ----
constexpr int kCmdPlaylistEng = 33259;
constexpr int kCmdPlaylistChn = 33260;
constexpr int kCmdShowTalkInfo = 33261;
constexpr int kCmdFilterBoth = 33066;
constexpr int kCmdFilterScript = 33064;
constexpr int kCmdFilterVideo = 33065;
constexpr int kCmdPopularOnly = 33199;
// The talk categories: one run of ids, in the ribbon's order.
constexpr int kCmdCategoryAll = 33033;
constexpr int kCmdCategoryTechnology = 33034;
constexpr int kCmdCategoryEntertainment = 33035;
constexpr int kCmdCategoryDesign = 33036;
constexpr int kCmdCategoryScience = 33037;
constexpr int kCmdCategoryBusiness = 33038;
constexpr int kCmdCategoryGlobalIssues = 33039;
constexpr int kCmdCategoryOthers = 33040;
constexpr int kCmdFirstCategory = kCmdCategoryAll;
constexpr int kCmdLastCategory = kCmdCategoryOthers;
constexpr int kCategoryCount = kCmdLastCategory - kCmdFirstCategory + 1;
// The sort columns of the ribbon: one run of ids, in the ribbon's order. The
// word-frequency sort has no ribbon element.
constexpr int kCmdSortById = 33042;
constexpr int kCmdSortBySpeaker = 33043;
constexpr int kCmdSortByTitle = 33044;
constexpr int kCmdSortByVideoName = 33045;
constexpr int kCmdSortByDuration = 33046;
constexpr int kCmdFirstSort = kCmdSortById;
constexpr int kCmdLastSort = kCmdSortByDuration;
constexpr int kRibbonSortCount = kCmdLastSort - kCmdFirstSort + 1;
constexpr int kCmdSortByWordFrequency = 33195;
constexpr int kCmdSearch = 33067;
// Recomputes the talks' word-frequency figures; no element sends it.
constexpr int kCmdRebuildWordFrequency = 33196;

// ---- The cloud-disk browser pane's toolbar: one run of ids ----
constexpr int kCmdPanBack = 32841;
constexpr int kCmdPanForward = 32842;
constexpr int kCmdPanStop = 32843;
constexpr int kCmdPanRefresh = 32844;
constexpr int kCmdPanHome = 32845;
constexpr int kCmdPanSearch = 32846;
constexpr int kPanToolCount = kCmdPanSearch - kCmdPanBack + 1;

// ---- The translation browser view (no element shows it) ----
// Five online translation sites, and the address typed for it.
constexpr int kCmdTranslateSite1 = 32799;
constexpr int kCmdTranslateSite2 = 32800;
constexpr int kCmdTranslateSite3 = 32801;
constexpr int kCmdTranslateSite4 = 32850;
constexpr int kCmdTranslateSite5 = 32851;
constexpr int kCmdTranslateAddress = 32834;

// ---- The playlist pane: its toolbar and its context menus ----
constexpr int kCmdNewPlayFolder = 33273;
constexpr int kCmdDeletePlayFolder = 33274;
constexpr int kCmdOpenItemFolder = 33275;
constexpr int kCmdRefreshPlayFolders = 33276;
constexpr int kCmdExportLocalText = 33254;
constexpr int kCmdExportLocalLrc = 33265;
constexpr int kCmdGetOnlineSubtitles = 33342;
constexpr int kCmdDeleteHistoryItems = 33345;
// On talk items: downloads in three qualities and the exports.
constexpr int kCmdDownloadTalkLight = 33236;
constexpr int kCmdDownloadTalkNormal = 33226;
constexpr int kCmdDownloadTalk480p = 33227;
constexpr int kCmdExportTalkText = 33221;
constexpr int kCmdExportTalkLrc = 33222;
// Playing a talk from the podcast host; no element sends them.
constexpr int kCmdPlayTalkOnlineNormal = 33231;
constexpr int kCmdPlayTalkOnline480p = 33232;
constexpr int kCmdPlayTalkOnlineLight = 33234;

// ---- Ribbon 词汇管理: the word book and its exercises ----
constexpr int kCmdWordBook = 32974;
constexpr int kCmdExportWords = 33004;
constexpr int kCmdImportWords = 33271;
constexpr int kCmdClearWordBook = 33277;
constexpr int kCmdRandomGroups = 33169;
constexpr int kCmdCommonPhrases = 33168;
constexpr int kCmdShowWords = 33176;
constexpr int kCmdShowPhrases = 33177;
constexpr int kCmdShowNewWords = 33278;
constexpr int kCmdAutoPlayExample = 33182;
constexpr int kCmdExampleVideoWindow = 33188;
constexpr int kCmdMakeExercise = 33185;
constexpr int kCmdExerciseScores = 33187;
constexpr int kCmdWordKnown = 33173;
constexpr int kCmdWordUnknown = 33172;
// Commands of the word book view that no ribbon element sends: two lists of
// the word-list database, the automatic word change and its interval (read
// from a ribbon edit of the same id).
constexpr int kCmdOutlineWords = 33166;
constexpr int kCmdRealExamWords = 33167;
constexpr int kCmdAutoChangeWord = 32988;
constexpr int kCmdWordInterval = 32989;
// The example list's menu: plays the lesson an example came from.
constexpr int kCmdPlayExampleLesson = 33198;

// ---- Ribbon 口语练习: speaking practice and recording ----
constexpr int kCmdFollowRead = 33120;
constexpr int kCmdFollowReadAuto = 33124;
constexpr int kCmdFollowReadManual = 33125;
constexpr int kCmdRolePlay = 33121;
constexpr int kCmdRolePlayStart = 33126;
constexpr int kCmdDubbing = 33127;
constexpr int kCmdDubbingEnd = 33132;
constexpr int kCmdSpeechReset = 33128;
constexpr int kCmdRecord = 33096;
constexpr int kCmdRecordPause = 33116;
constexpr int kCmdRecordStop = 33118;
constexpr int kCmdReplayRecording = 33131;
constexpr int kCmdExportRecording = 33129;

// ---- Ribbon 配置: help and update ----
constexpr int ID_SHOW_HELP_COMMAND = 33156;
constexpr int kCmdUpdateSoft = 33157;

// ---- Status bar, left to right ----
constexpr int kStatusPlayStateElement = 32816;   // player state
constexpr int kCmdOpenPlaylistFolder = 32896;
constexpr int kCmdToggleRibbonPanels = 32831;
constexpr int kCmdPlay = 32804;
constexpr int kCmdPause = 32805;
constexpr int kCmdStop = 32806;
constexpr int kCmdRestart = 4041;
// Reopens the current media and plays on from where it was; no element sends it.
constexpr int kCmdReloadResume = 33154;
// The time display is the player-pane command (kCmdPlayerPane).
constexpr int kStatusTimeElement = kCmdPlayerPane;
constexpr int kCmdProgressSlider = 32963;
constexpr int kCmdVolumePane = 32964;
constexpr int kCmdVolumeSlider = 32965;
constexpr int kCmdSentenceCounter = 32966;
constexpr int kStatusSentenceElement = kCmdSentenceCounter;
constexpr int kCmdDownloadInfo = 40000;
constexpr int kStatusDownloadElement = kCmdDownloadInfo;   // speed and percentage

// ---- Context menu of the lesson text (编辑) ----
constexpr int kCmdMarkWord = 33184;
constexpr int kCmdMarkPhrase = 33192;
constexpr int kCmdAutoLookUpMarks = 33194;      // no element sends it; the lesson view answers it
// Word lists marked in the lesson text (no element sends them; the lesson
// view answers them): the new-word book and the examination lists. 32994 is
// no command.
constexpr int kCmdMarkListMyWords = 32990;
constexpr int kCmdMarkListCet4 = 32991;
constexpr int kCmdMarkListCet6 = 32992;
constexpr int kCmdMarkListMaster = 32993;
constexpr int kCmdMarkListZhuan4 = 32995;
constexpr int kCmdMarkListZhuan8 = 32996;
constexpr int kCmdMarkListToefl = 32997;
constexpr int kCmdMarkListIelts = 32998;
constexpr int kCmdMarkListGre = 32999;
constexpr int kCmdClearMarkList = 33089;
// Repeat the selected sentences 2, 4, ... 12 times: kCmdFirstRepeatSelection + k
// repeats 2 * (k + 1) times.
constexpr int kCmdFirstRepeatSelection = 32939;
constexpr int kRepeatSelectionCount = 6;
constexpr int kCmdBaiduTranslate = 32948;
constexpr int kCmdGoogleTranslate = 32947;

// ---- Central views that have command-range ids ----
constexpr int kViewEmptyHelp = 32892;
constexpr int kViewEmptyEscapeDuty = 32912;

// ---- The player's menu (all below kLargestToolkitId: their own item ids) ----
constexpr int ID_OPEN_LOCALMEDIA2 = 4010;
constexpr int ID_PLAYER_PLAY = 4011;
constexpr int ID_PLAYER_PAUSE = 4012;
constexpr int ID_PLAYER_STOP = 4013;
constexpr int ID_PLAYER_RESET = 4014;
constexpr int ID_PLAYER_PREV = 4015;
constexpr int ID_PLAYER_NEXT = 4016;
constexpr int ID_PLAYER_SKIPFORWARD = 4017;
constexpr int ID_PLAYER_SKIPBACKWARD = 4018;
constexpr int ID_SUBTITLE_OFF = 4019;
constexpr int ID_LOAD_SUBTITLE = 4023;
constexpr int ID_OPEN_LOCALMEDIA = 4024;
constexpr int ID_OPEN_NETMEDIA = 4026;
constexpr int ID_ORDER_SEQUENCE = 4027;
constexpr int ID_ORDER_RANDOM = 4028;
constexpr int ID_ORDER_SINGLE = 4029;
constexpr int ID_POINT_A = 4030;
constexpr int ID_POINT_B = 4031;
constexpr int ID_POINT_AB_CLEAR = 4032;
constexpr int ID_POINT_C = 4033;
constexpr int ID_POINT_D = 4034;
constexpr int ID_POINT_CD_CLEAR = 4035;
constexpr int ID_COMPACT_MODE = 4036;
constexpr int ID_OPEN_DOWNLOADER = 4037;
// Disabled items that stand for an empty sub-menu; they never issue a command.
constexpr int ID_PLACEHOLDER_EMBEDDED = 4039;
constexpr int ID_PLACEHOLDER_AUDIO = 4040;
// Shares the status bar's reset command's id: the item is disabled and lives
// in the player's own menu, so the two never meet.
constexpr int ID_PLACEHOLDER_LESSON = kCmdRestart;
constexpr int ID_COLOR_FIRST = 2055;           // 2055..2064, ten colours
constexpr int kSubtitleColorCount = 10;
constexpr int ID_SIZE_FIRST = 2065;            // 2065..2069, five font sizes
constexpr int kSubtitleSizeCount = 5;
constexpr int ID_SUBTITLE_TRACK = 2074;        // 2074..2081, embedded tracks 0..7
constexpr int kSubtitleTrackIds = 8;
constexpr int ID_SUBTITLE_BOTH = 2082;
constexpr int ID_SUBTITLE_ENGLISH = 2083;
constexpr int ID_SUBTITLE_CHINESE = 2084;
constexpr int ID_AUDIO_TRACK = 2085;           // 2085..2089, audio tracks 0..4
constexpr int kAudioTrackIds = 5;
constexpr int ID_ORDER_CHNFIRST = 2090;
constexpr int ID_ORDER_ENGFIRST = 2091;
// The ninth embedded track (the engine lists up to nine): the eight ids of
// ID_SUBTITLE_TRACK are followed by the bilingual command, so it gets its own.
constexpr int ID_SUBTITLE_TRACK9 = 2092;

// ---- The second player window's subtitle menu (字幕; no window shows it) ----
constexpr int kCmdSecondPlayerSubtitleBoth = 33060;      // 显示双语字幕
constexpr int kCmdSecondPlayerSubtitleEnglish = 33061;   // 只显示英文字幕
constexpr int kCmdSecondPlayerSubtitleChinese = 33056;   // 只显示中文字幕
constexpr int kCmdSecondPlayerSubtitleOff = 33059;       // 不显示字幕

// ---- Uniqueness ----
// A run of command ids: first, first + 1, ..., first + count - 1.
struct SCommandIdRange {
    int first;
    int count = 1;
};

constexpr SCommandIdRange kCommandIdRanges[] = {
    {kCmdFirstLook, kCmdLastLook - kCmdFirstLook + 1},
    {kCmdFileNew}, {kCmdFileOpen}, {kCmdFileSave}, {kCmdFilePrint}, {kCmdFilePrintDirect},
    {kCmdFilePrintPreview}, {kCmdAppAbout}, {kCmdNextPane}, {kCmdPrevPane}, {kCmdHomePage},
    {kCmdPlaylist}, {kCmdOpenDict}, {kCmdLocalWord}, {kCmdOnlineWord}, {kCmdPlayerPane},
    {kCmdMouseWordPick}, {kCmdSkipBlank}, {kCmdShowChinese}, {kCmdPointRead}, {kCmdClickPause},
    {kCmdClickContinue}, {kCmdPlayFromPan},
    {kCmdStudyFollowRead}, {kCmdStudyRepeatRead}, {kCmdStudyListening}, {kCmdCaptionAbove}, {kCmdCaptionBelow},
    {kCmdPrevWord}, {kCmdNextWord}, {kCmdWordWeb}, {kCmdWordHome}, {kCmdSaveWord}, {kCmdDelWord},
    {kCmdIncreaseMargin}, {kCmdDecreaseMargin}, {kCmdParagraphBlank}, {kCmdSubtitleMode},
    {kCmdParagraphMode}, {kCmdBilingualMode}, {kCmdBilingualListView}, {kCmdFontName}, {kCmdFontSize}, {kCmdFontBlank},
    {kCmdFontBold}, {kCmdFontItalic}, {kCmdFontUnderline}, {kCmdFontColor}, {kCmdBackColor},
    {kCmdStrikeOut}, {kCmdTranslate},
    {kCmdFast}, {kCmdSlow}, {kCmdOffsetReset}, {kCmdOffsetEdit},
    {kCmdUseOnlineDict}, {kCmdUseLocalDict},
    {kCmdPlaylistEng}, {kCmdPlaylistChn}, {kCmdShowTalkInfo}, {kCmdFilterBoth}, {kCmdFilterScript},
    {kCmdFilterVideo}, {kCmdPopularOnly}, {kCmdFirstCategory, kCategoryCount},
    {kCmdFirstSort, kRibbonSortCount}, {kCmdSortByWordFrequency}, {kCmdSearch}, {kCmdRebuildWordFrequency},
    {kCmdPanBack, kPanToolCount}, {kCmdTranslateSite1}, {kCmdTranslateSite2}, {kCmdTranslateSite3},
    {kCmdTranslateSite4}, {kCmdTranslateSite5}, {kCmdTranslateAddress}, {kCmdNewPlayFolder}, {kCmdDeletePlayFolder}, {kCmdOpenItemFolder}, {kCmdRefreshPlayFolders},
    {kCmdExportLocalText}, {kCmdExportLocalLrc}, {kCmdGetOnlineSubtitles}, {kCmdDeleteHistoryItems},
    {kCmdDownloadTalkLight}, {kCmdDownloadTalkNormal}, {kCmdDownloadTalk480p}, {kCmdExportTalkText},
    {kCmdExportTalkLrc}, {kCmdPlayTalkOnlineNormal}, {kCmdPlayTalkOnline480p}, {kCmdPlayTalkOnlineLight},
    {kCmdWordBook}, {kCmdExportWords}, {kCmdImportWords}, {kCmdClearWordBook}, {kCmdRandomGroups},
    {kCmdCommonPhrases}, {kCmdShowWords}, {kCmdShowPhrases}, {kCmdShowNewWords},
    {kCmdAutoPlayExample}, {kCmdExampleVideoWindow}, {kCmdMakeExercise}, {kCmdExerciseScores},
    {kCmdWordKnown}, {kCmdWordUnknown}, {kCmdOutlineWords}, {kCmdRealExamWords}, {kCmdAutoChangeWord},
    {kCmdWordInterval}, {kCmdPlayExampleLesson},
    {kCmdFollowRead}, {kCmdFollowReadAuto}, {kCmdFollowReadManual}, {kCmdRolePlay},
    {kCmdRolePlayStart}, {kCmdDubbing}, {kCmdDubbingEnd}, {kCmdSpeechReset}, {kCmdRecord},
    {kCmdRecordPause}, {kCmdRecordStop}, {kCmdReplayRecording}, {kCmdExportRecording},
    {ID_SHOW_HELP_COMMAND}, {kCmdUpdateSoft},
    {kStatusPlayStateElement}, {kCmdOpenPlaylistFolder}, {kCmdToggleRibbonPanels}, {kCmdPlay},
    {kCmdPause}, {kCmdStop}, {kCmdRestart}, {kCmdReloadResume}, {kCmdProgressSlider}, {kCmdVolumePane},
    {kCmdVolumeSlider}, {kCmdSentenceCounter}, {kCmdDownloadInfo},
    {kCmdMarkWord}, {kCmdMarkPhrase}, {kCmdAutoLookUpMarks}, {kCmdMarkListMyWords},
    {kCmdMarkListCet4}, {kCmdMarkListCet6}, {kCmdMarkListMaster}, {kCmdMarkListZhuan4}, {kCmdMarkListZhuan8},
    {kCmdMarkListToefl}, {kCmdMarkListIelts}, {kCmdMarkListGre}, {kCmdClearMarkList}, {kCmdFirstRepeatSelection, kRepeatSelectionCount},
    {kCmdBaiduTranslate}, {kCmdGoogleTranslate},
    {kViewEmptyHelp}, {kViewEmptyEscapeDuty},
    {ID_OPEN_LOCALMEDIA2}, {ID_PLAYER_PLAY}, {ID_PLAYER_PAUSE}, {ID_PLAYER_STOP}, {ID_PLAYER_RESET},
    {ID_PLAYER_PREV}, {ID_PLAYER_NEXT}, {ID_PLAYER_SKIPFORWARD}, {ID_PLAYER_SKIPBACKWARD},
    {ID_SUBTITLE_OFF}, {ID_LOAD_SUBTITLE}, {ID_OPEN_LOCALMEDIA}, {ID_OPEN_NETMEDIA},
    {ID_ORDER_SEQUENCE}, {ID_ORDER_RANDOM}, {ID_ORDER_SINGLE}, {ID_POINT_A}, {ID_POINT_B},
    {ID_POINT_AB_CLEAR}, {ID_POINT_C}, {ID_POINT_D}, {ID_POINT_CD_CLEAR}, {ID_COMPACT_MODE},
    {ID_OPEN_DOWNLOADER}, {ID_PLACEHOLDER_EMBEDDED}, {ID_PLACEHOLDER_AUDIO},
    {ID_COLOR_FIRST, kSubtitleColorCount}, {ID_SIZE_FIRST, kSubtitleSizeCount},
    {ID_SUBTITLE_TRACK, kSubtitleTrackIds}, {ID_SUBTITLE_BOTH}, {ID_SUBTITLE_ENGLISH},
    {ID_SUBTITLE_CHINESE}, {ID_AUDIO_TRACK, kAudioTrackIds}, {ID_ORDER_CHNFIRST},
    {ID_ORDER_ENGFIRST}, {ID_SUBTITLE_TRACK9},
    {kCmdSecondPlayerSubtitleBoth}, {kCmdSecondPlayerSubtitleEnglish}, {kCmdSecondPlayerSubtitleChinese},
    {kCmdSecondPlayerSubtitleOff},
};

// Whether two of the runs share an id (an empty or negative run counts as a fault too).
template <std::size_t N>
constexpr bool CommandIdRangesOverlap(const SCommandIdRange (&ranges)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        if (ranges[i].count < 1)
            return true;
        for (std::size_t j = i + 1; j < N; ++j) {
            if (ranges[i].first < ranges[j].first + ranges[j].count &&
                ranges[j].first < ranges[i].first + ranges[i].count)
                return true;
        }
    }
    return false;
}

static_assert(!CommandIdRangesOverlap(kCommandIdRanges), "two commands share an id");
