// The player dialog's context menu: transport and open commands, the media's
// embedded subtitle and audio tracks (read from the engine as the menu
// opens), the lesson's own subtitles on the video (which file, line order,
// colour and size), loading a subtitle file and switching subtitles off.
#include <wx/menu.h>
#include <wx/utils.h>

#include "lesson/core/subtitlehandover.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "playback/playerdlg.h"
#include "core/quenlow.h"

namespace {

struct SStyleItem {
    const char* text;
    const char* value;
};

const SStyleItem kColors[] = {
    {"[字幕颜色]白色", "White"},       {"[字幕颜色]淡灰色", "WeakGray"},   {"[字幕颜色]淡黄色", "WeakYellow"},
    {"[字幕颜色]黄色", "Yellow"},      {"[字幕颜色]金黄色", "GoldYellow"}, {"[字幕颜色]青色", "QingSe"},
    {"[字幕颜色]绿色", "Green"},       {"[字幕颜色]深绿色", "HighGreen"},  {"[字幕颜色]淡紫色", "WeakZhiSe"},
    {"[字幕颜色]粉红色", "Pink"},
};

const SStyleItem kSizes[] = {
    {"[字幕字体大小]12号", "12"}, {"[字幕字体大小]14号", "14"}, {"[字幕字体大小]16号", "16"},
    {"[字幕字体大小]18号", "18"}, {"[字幕字体大小]20号", "20"},
};

constexpr int kModeBoth = 25;
constexpr int kModeEnglish = 26;
constexpr int kModeChinese = 27;

const char* const kChineseFirst = "chneng";
const char* const kEnglishFirst = "engchn";

// A track entry ("name::id", UTF-8) as the menu shows it.
wxString TrackName(const CString& entry, bool audio)
{
    const CString ansi = theApp.Utf8ToAnsi(entry);
    const CString name = CPlayerDlg::ShownTrackName(ansi.Left(ansi.ReverseFind(':') - 1), audio);
    // A menu item needs a label; an unnamed track shows as a blank.
    return name.IsEmpty() ? wxString(" ") : ToWx(name);
}

void AppendCheck(wxMenu* menu, int id, const char* text) { menu->AppendCheckItem(id, ToWx(text)); }

// Lower-case extension of a path's file name, with its dot ("" without one).
CString LowerExtension(const CString& path)
{
    const int slash = path.ReverseFind('/');
    const int dot = path.ReverseFind('.');
    if (dot < 0 || dot < slash)
        return CString();
    CString extension = path.Mid(dot);
    extension.MakeLower();
    return extension;
}

} // namespace

CString CPlayerDlg::ShownTrackName(const CString& name, bool audio)
{
    if (name == "Disable")
        return "禁用";
    // "Track " and a number: the engine's name for a track without a title.
    const CString number = name.Mid(6);
    if (name.Left(6) == "Track " && !number.IsEmpty() && number.SpanIncluding("0123456789") == number)
        return (audio ? "音轨 " : "字幕 ") + number;
    return name;
}

std::unique_ptr<wxMenu> CPlayerDlg::BuildContextMenu()
{
    theApp.m_arrSubtitleTracks = m_player->ListSubtitleTracks();
    theApp.m_arrAudioTracks = m_player->ListAudioTracks();

    auto menu = std::make_unique<wxMenu>();

    auto* open = new wxMenu;
    open->Append(ID_OPEN_NETMEDIA, ToWx("打开网络URL"));
    open->Append(ID_OPEN_LOCALMEDIA, ToWx("打开本地媒体"));
    menu->AppendSubMenu(open, ToWx("打开媒体"));

    auto* transport = new wxMenu;
    AppendCheck(transport, ID_PLAYER_PLAY, "播放");
    AppendCheck(transport, ID_PLAYER_PAUSE, "暂停");
    AppendCheck(transport, ID_PLAYER_STOP, "停止");
    transport->Append(ID_PLAYER_RESET, ToWx("重置"));
    transport->Append(ID_PLAYER_SKIPFORWARD, ToWx("快进10秒"));
    transport->Append(ID_PLAYER_SKIPBACKWARD, ToWx("倒退10秒"));
    transport->Append(ID_PLAYER_PREV, ToWx("上一媒体"));
    transport->Append(ID_PLAYER_NEXT, ToWx("下一媒体"));
    menu->AppendSubMenu(transport, ToWx("播放控制"));

    auto* subtitles = new wxMenu;
    subtitles->Append(ID_LOAD_SUBTITLE, ToWx("载入字幕"));
    AppendCheck(subtitles, ID_SUBTITLE_OFF, "关闭字幕");
    subtitles->AppendSeparator();
    auto* embedded = new wxMenu;
    const CStringArray& subtitleTracks = theApp.m_arrSubtitleTracks;
    for (int k = 0; k < subtitleTracks.GetSize(); ++k)
        embedded->AppendCheckItem(k < kSubtitleTrackIds ? ID_SUBTITLE_TRACK + k : ID_SUBTITLE_TRACK9, TrackName(subtitleTracks[k], false));
    if (subtitleTracks.IsEmpty())
        embedded->Append(ID_PLACEHOLDER_EMBEDDED, wxString(' ', 16))->Enable(false);
    subtitles->AppendSubMenu(embedded, ToWx("自带字幕"));
    auto* lesson = new wxMenu;
    if (theApp.m_strScriptPath != theApp.m_strBlankScriptPath && FileExists(theApp.m_strScriptPath) &&
        !theApp.m_strScriptPath.IsEmpty()) {
        AppendCheck(lesson, ID_SUBTITLE_BOTH, "[字幕显示]中英双语字幕");
        AppendCheck(lesson, ID_SUBTITLE_ENGLISH, "[字幕显示]英文字幕");
        AppendCheck(lesson, ID_SUBTITLE_CHINESE, "[字幕显示]中文字幕");
        lesson->AppendSeparator();
        AppendCheck(lesson, ID_ORDER_CHNFIRST, "[字幕顺序]中上英下");
        AppendCheck(lesson, ID_ORDER_ENGFIRST, "[字幕顺序]英上中下");
        lesson->AppendSeparator();
        lesson->AppendSeparator();
        for (int i = 0; i < 10; ++i)
            AppendCheck(lesson, ID_COLOR_FIRST + i, kColors[i].text);
        lesson->AppendSeparator();
        for (int i = 0; i < 5; ++i)
            AppendCheck(lesson, ID_SIZE_FIRST + i, kSizes[i].text);
    } else {
        lesson->Append(ID_PLACEHOLDER_LESSON, wxString(' ', 7))->Enable(false);
    }
    subtitles->AppendSubMenu(lesson, ToWx("软件字幕"));
    menu->AppendSubMenu(subtitles, ToWx("字幕"));

    auto* audio = new wxMenu;
    const CStringArray& audioTracks = theApp.m_arrAudioTracks;
    for (int k = 0; k < audioTracks.GetSize() && k < 5; ++k)
        audio->AppendCheckItem(ID_AUDIO_TRACK + k, TrackName(audioTracks[k], true));
    if (audioTracks.IsEmpty())
        audio->Append(ID_PLACEHOLDER_AUDIO, wxString(' ', 6))->Enable(false);
    menu->AppendSubMenu(audio, ToWx("声道"));

    auto* order = new wxMenu;
    AppendCheck(order, ID_ORDER_SEQUENCE, "顺序播放");
    AppendCheck(order, ID_ORDER_RANDOM, "随机播放");
    AppendCheck(order, ID_ORDER_SINGLE, "单个循环");
    menu->AppendSubMenu(order, ToWx("播放顺序"));

    menu->AppendSeparator();
    menu->Append(ID_OPEN_DOWNLOADER, ToWx("打开下载器"));
    AppendCheck(menu.get(), ID_COMPACT_MODE, "精简模式");
    return menu;
}

void CPlayerDlg::ShowContextMenu()
{
    m_ptCursor = wxGetMousePosition();
    std::unique_ptr<wxMenu> menu = BuildContextMenu();
    // The toolkit runs the update pass (OnUpdateUI) before it shows the menu.
    PopupMenu(menu.get(), ScreenToClient(m_ptCursor));
}

// Checks and enabled states of the dialog's menu items.
void CPlayerDlg::OnUpdateUI(wxUpdateUIEvent& event)
{
    const int id = event.GetId();
    const CString& state = theApp.m_strPlayState;
    const bool ready = MediaLoaded() && !NetworkWait();
    switch (id) {
    case ID_PLAYER_STOP:
        event.Enable((state == "OnPlay" || state == "OnPause") && ready);
        event.Check(state == "OnStop");
        return;
    case ID_PLAYER_PLAY:
        event.Enable(state != "OnPlay" && state != "OnBuffering" && ready);
        event.Check(state == "OnPlay");
        return;
    case ID_PLAYER_PAUSE:
        event.Enable(state == "OnPlay" && ready);
        event.Check(state == "OnPause");
        return;
    case ID_PLAYER_PREV:
    case ID_PLAYER_NEXT:
    case ID_PLAYER_RESET:
        event.Enable(state != "OnBuffering" && ready);
        return;
    case ID_PLAYER_SKIPFORWARD:
    case ID_PLAYER_SKIPBACKWARD:
        event.Enable(state == "OnPlay");
        return;
    case ID_OPEN_NETMEDIA:
        event.Enable(!m_player->IsFullscreen());
        return;
    case ID_ORDER_SEQUENCE:
    case ID_ORDER_RANDOM:
    case ID_ORDER_SINGLE:
        event.Check(theApp.m_nPlayOrder == id - ID_ORDER_SEQUENCE + 1);
        return;
    case ID_COMPACT_MODE:
        event.Enable(!m_player->IsFullscreen());
        event.Check(theApp.m_bWindowFullScreen != 0);
        return;
    case ID_POINT_A:
        event.Check(theApp.m_nPointA != 0);
        return;
    case ID_POINT_B:
        event.Check(theApp.m_nPointB != 0);
        return;
    case ID_POINT_C:
        event.Check(theApp.m_nPointC != 0);
        return;
    case ID_POINT_D:
        event.Check(theApp.m_nPointD != 0);
        return;
    case ID_SUBTITLE_BOTH:
        event.Check(theApp.m_nSubtitleMode == kModeBoth);
        return;
    case ID_SUBTITLE_ENGLISH:
        event.Check(theApp.m_nSubtitleMode == kModeEnglish);
        return;
    case ID_SUBTITLE_CHINESE:
        event.Check(theApp.m_nSubtitleMode == kModeChinese);
        return;
    case ID_ORDER_CHNFIRST:
        event.Check(theApp.m_strAssLineOrder == kChineseFirst);
        return;
    case ID_ORDER_ENGFIRST:
        event.Check(theApp.m_strAssLineOrder == kEnglishFirst);
        return;
    case ID_SUBTITLE_OFF:
        event.Check(theApp.m_nSubtitleMode == 0);
        return;
    case ID_LOAD_SUBTITLE:
        event.Enable(MediaLoaded());
        return;
    case ID_SUBTITLE_TRACK9:
        event.Check(ShowsListedSubtitle(kSubtitleTrackIds));
        return;
    default:
        break;
    }
    if (id >= ID_SUBTITLE_TRACK && id < ID_SUBTITLE_TRACK + kSubtitleTrackIds)
        event.Check(ShowsListedSubtitle(id - ID_SUBTITLE_TRACK));
    else if (id >= ID_AUDIO_TRACK && id < ID_AUDIO_TRACK + kAudioTrackIds)
        event.Check(theApp.m_nAudioTrack == id - ID_AUDIO_TRACK);
    else if (id >= ID_COLOR_FIRST && id < ID_COLOR_FIRST + kSubtitleColorCount)
        event.Check(theApp.m_strSubtitleColor == kColors[id - ID_COLOR_FIRST].value);
    else if (id >= ID_SIZE_FIRST && id < ID_SIZE_FIRST + kSubtitleSizeCount)
        event.Check(theApp.m_strSubtitleFontSize == kSizes[id - ID_SIZE_FIRST].value);
    else
        event.Skip();
}

// The tick of a video's own subtitle track shows what the engine plays, not
// the last choice: opening a file switches the video's subtitles off, and a
// loaded subtitle file becomes a track of its own.
bool CPlayerDlg::ShowsListedSubtitle(int position) const
{
    const CStringArray& tracks = theApp.m_arrSubtitleTracks;
    if (position < 0 || position >= tracks.GetSize() || !MediaLoaded())
        return false;
    const std::optional<int> id = CVlcPlayer::TrackIdOf(tracks[position]);
    return id && *id == m_player->GetSpuId();
}

// ---- Subtitle and track commands ----

void CPlayerDlg::GiveSubtitleFile(const CString& ansiPath)
{
    m_strGivenSubtitle = ansiPath;
    m_player->SetSubtitleFile(theApp.AnsiToUtf8(ansiPath));
}

void CPlayerDlg::OnSubtitleBoth()
{
    GiveSubtitleFile(theApp.m_strAssBothPath);
    theApp.m_nSubtitleMode = kModeBoth;
}

void CPlayerDlg::OnSubtitleEnglish()
{
    GiveSubtitleFile(theApp.m_strAssEngPath);
    theApp.m_nSubtitleMode = kModeEnglish;
}

void CPlayerDlg::OnSubtitleChinese()
{
    GiveSubtitleFile(theApp.m_strAssChnPath);
    theApp.m_nSubtitleMode = kModeChinese;
}

// Positions in the listed tracks go to the facade, which selects the engine
// id each listed entry carries.
void CPlayerDlg::OnSubtitleTrack(int position)
{
    m_player->SelectListedSubtitle(theApp.m_arrSubtitleTracks, position);
    theApp.m_nSubtitleMode = position;
}

void CPlayerDlg::OnAudioTrack(int position)
{
    theApp.m_nAudioTrack = position;
    m_player->SelectListedAudioTrack(theApp.m_arrAudioTracks, position);
}

void CPlayerDlg::OnSubtitleChnFirst()
{
    theApp.m_strAssLineOrder = kChineseFirst;
    ReloadLessonSubtitles();
}

void CPlayerDlg::OnSubtitleEngFirst()
{
    theApp.m_strAssLineOrder = kEnglishFirst;
    ReloadLessonSubtitles();
}

void CPlayerDlg::OnSubtitleStyle(int id)
{
    if (id >= ID_COLOR_FIRST && id < ID_COLOR_FIRST + kSubtitleColorCount)
        theApp.m_strSubtitleColor = kColors[id - ID_COLOR_FIRST].value;
    else if (id >= ID_SIZE_FIRST && id < ID_SIZE_FIRST + kSubtitleSizeCount)
        theApp.m_strSubtitleFontSize = kSizes[id - ID_SIZE_FIRST].value;
    else
        return;
    ReloadLessonSubtitles();
}

// Writes the lesson's three subtitle files again in the new style and gives
// the player the one the current mode shows (none while an embedded track
// or nothing is shown).
void CPlayerDlg::ReloadLessonSubtitles()
{
    theApp.WriteAssFiles();
    switch (theApp.m_nSubtitleMode) {
    case kModeBoth:
        GiveSubtitleFile(theApp.m_strAssBothPath);
        break;
    case kModeEnglish:
        GiveSubtitleFile(theApp.m_strAssEngPath);
        break;
    case kModeChinese:
        GiveSubtitleFile(theApp.m_strAssChnPath);
        break;
    default:
        break;
    }
}

void CPlayerDlg::OnSubtitleOff()
{
    GiveSubtitleFile(theApp.m_strBlankAssPath);
    theApp.m_nSubtitleMode = 0;
}

void CPlayerDlg::OnLoadSubtitle()
{
    SFileRequest request;
    request.parent = this;
    request.title = "载入字幕";
    const CString& media = theApp.m_strMediaPath;
    const int slash = media.ReverseFind('/');
    request.folder = IsRegularFile(media) && slash >= 0 ? media.Left(slash) : theApp.m_strCacheDir;
    request.wildcard = "字幕( *.script;*.srt;*.ass;*.smi;*.ssa;*.idx;*.lrc; )|*.script;*.srt;*.ass;*.smi;*.ssa;*.idx;"
                       "*.lrc;*.SCRIPT;*.SRT;*.ASS;*.SMI;*.SSA;*.IDX;*.LRC";
    request.multiple = false;
    const std::vector<CString> chosen = ChooseFiles(request);
    if (!chosen.empty())
        LoadSubtitle(chosen.front());
}

// A subtitle file joins the media's subtitles. A lesson file (".script") can
// be shown only when it is the lesson that is loaded: its subtitle files are
// written from the lesson in memory.
void CPlayerDlg::LoadSubtitle(const CString& path)
{
    if (LowerExtension(path) != ".script") {
        // The engine takes subtitle text as UTF-8 only.
        GiveSubtitleFile(SubtitleFileForEngine(theApp, path));
        theApp.m_arrSubtitleTracks = m_player->ListSubtitleTracks();
        theApp.m_nSubtitleMode = theApp.m_arrSubtitleTracks.GetSize();
        return;
    }
    if (path != theApp.m_strScriptPath) {
        theApp.ShowMessage("  只能载入当前课程的字幕文件。", "error", 3000);
        return;
    }
    theApp.WriteAssFiles();
    GiveSubtitleFile(theApp.m_strAssBothPath);
    theApp.m_nSubtitleMode = kModeBoth;
}
