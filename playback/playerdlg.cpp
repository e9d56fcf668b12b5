// The player dialog: creation, the keyword post, buttons and transport
// commands, opening local media and the seek bar's refresh.
#include "playback/playerdlg.h"

#include <algorithm>

#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/utils.h>

#include "controls/bititem.h"
#include "controls/bitslider.h"
#include "controls/btnst.h"
#include "ui/resourceimage.h"
#include "ui/wxtext.h"
#include "ui/mainframehost.h"
#include "ui/playercommand.h"
#include "lesson/core/assfilewriter.h"
#include "core/quenlow.h"

wxDEFINE_EVENT(EVT_PLAYERBARSHOW, wxCommandEvent);

namespace {

struct SButtonDef {
    int id;
    const char* hot;      // pointed at or pressed
    const char* normal;
    const char* tip;
};

// In the order the buttons are set up. The three text buttons show, beside
// their icon, texts that the main frame keeps up to date.
const SButtonDef kButtons[] = {
    {CPlayerDlg::IDC_BTN_OPEN, "player_open_hover.png", "player_open.png", "打开播放文件"},
    {CPlayerDlg::IDC_BTN_STOP, "player_stop_hover.png", "player_stop.png", "停止播放"},
    {CPlayerDlg::IDC_BTN_PLAYPAUSE, "player_play_hover.png", "player_pause.png", "开始/暂停播放"},
    {CPlayerDlg::IDC_BTN_RESET, "player_reset_hover.png", "player_reset.png", "重置播放,有播放异常时使用"},
    // The sound is on at the start: a speaker with its waves.
    {CPlayerDlg::IDC_BTN_MUTE, "player_sound_hover.png", "player_sound.png", "打开/关闭声音"},
    {CPlayerDlg::IDC_BTN_VOLUMEUP, "player_volumeup_hover.png", "player_volumeup.png", "增加音量"},
    {CPlayerDlg::IDC_BTN_VOLUMEDOWN, "player_volumedown_hover.png", "player_volumedown.png", "降低音量"},
    {CPlayerDlg::IDC_BTN_PREV, "player_previous_hover.png", "player_previous.png", "播放前一个媒体"},
    {CPlayerDlg::IDC_BTN_NEXT, "player_next_hover.png", "player_next.png", "播放后一个媒体"},
    {CPlayerDlg::IDC_BTN_PLAYSTATE, "player_state_hover.png", "player_state.png", "显示当前播放状态"},
    {CPlayerDlg::IDC_BTN_DOWNLOADINFO, "player_download_hover.png", "player_download.png", "显示下载信息"},
    {CPlayerDlg::IDC_BTN_PROGRESSINFO, "player_progress_hover.png", "player_progress.png", "显示播放进度信息"},
    {CPlayerDlg::IDC_BTN_SPARE, nullptr, nullptr, nullptr},
};

const wxColour kBarBack(0x1E, 0x1E, 0x1E);
const wxColour kBarText(0xC8, 0xC8, 0xC8);

// The buttons 16 pixels square show their 32-pixel icons halved.
wxBitmap HalvedIcon(const char* name)
{
    wxBitmap full = LoadResourceBitmap(name);
    if (!full.IsOk())
        return full;
    return wxBitmap(full.ConvertToImage().Rescale(16, 16, wxIMAGE_QUALITY_HIGH));
}

} // namespace

CPlayerDlg::CPlayerDlg() : m_timers(this, [this](int id) { OnTimer(id); }) {}

CPlayerDlg::~CPlayerDlg()
{
    m_timers.KillAll();
    // The engine stops drawing before the video window and the panels go.
    if (m_player) {
        const int state = m_player->GetState();
        if (state >= 1 && state <= 4)
            StopPlayer();
        m_player.reset();
    }
    // The seek bar refers to the strips this dialog owns.
    DestroyChildren();
    // The full-screen frame goes too, unless it is the one deleting us.
    if (m_frameFull && !m_frameFull->IsBeingDeleted()) {
        m_frameFull->Destroy();
        m_frameFull = nullptr;
    }
}

bool CPlayerDlg::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxPoint(0, 0), wxSize(500, 500), wxCLIP_CHILDREN | wxWANTS_CHARS | wxNO_BORDER))
        return false;
    SetBackgroundColour(*wxBLACK);
    m_sizeClient = GetClientSize();

    m_staticVideo = new wxPanel(this, IDC_STATIC_VIDEO, wxPoint(0, 0), m_sizeClient, wxWANTS_CHARS | wxNO_BORDER);
    m_staticVideo->SetBackgroundColour(*wxBLACK);
    // Created before the buttons so that they lie above it.
    m_staticBarBack = new wxPanel(this, IDC_STATIC_BARBACK, wxDefaultPosition, wxDefaultSize, wxNO_BORDER);
    m_staticBarBack->SetBackgroundColour(kBarBack);
    m_sliderSeek = new CBitSlider;
    if (!m_sliderSeek->Create(this, IDC_SLIDER_SEEK, wxDefaultPosition, wxSize(500, 12))) {
        delete m_sliderSeek;
        m_sliderSeek = nullptr;
        return false;
    }

    // The engine draws into an X window kept inside the video panel.
    if (m_video.Create(m_staticVideo))
        m_video.AttachPlayer(*m_player);
    m_pLastTopLevel = wxGetTopLevelParent(this);

    m_bDblClick = false;
    InitSeekBar();
    m_timers.SetTimer(kTimerBarCountdown, 1000);
    m_timers.SetTimer(kTimerMouseWatch, 1000);
    m_nBarCountdown = 5;
    theApp.m_bVideoFullScreen = 0;
    m_timers.SetTimer(kTimerRefresh, 1000);
    m_ptLastCursor = wxPoint(0, 0);
    if (!CreateButtons())
        return false;
    HideControlBar();

    BindMouse(this);
    BindMouse(m_staticVideo);
    BindMouse(m_staticBarBack);
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (!OnKeyDown(event.GetKeyCode()))
            event.Skip();
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        m_sizeClient = GetClientSize();
        FollowTopLevel();
        event.Skip();
    });
    Bind(wxEVT_MENU, &CPlayerDlg::OnMenu, this);
    Bind(wxEVT_UPDATE_UI, &CPlayerDlg::OnUpdateUI, this);
    Bind(wxEVT_BUTTON, &CPlayerDlg::OnButton, this);
    return true;
}

void CPlayerDlg::BindMouse(wxWindow* window)
{
    auto screen = [window](const wxMouseEvent& event) { return window->ClientToScreen(event.GetPosition()); };
    window->Bind(wxEVT_LEFT_DOWN, [this, window, screen](wxMouseEvent& event) {
        if (window == m_staticVideo)
            m_staticVideo->SetFocus();
        OnVideoLeftDown(screen(event));
        event.Skip();
    });
    window->Bind(wxEVT_LEFT_DCLICK, [this, screen](wxMouseEvent& event) {
        OnVideoDoubleClick(screen(event));
        event.Skip();
    });
    window->Bind(wxEVT_RIGHT_UP, [this](wxMouseEvent& event) {
        ShowContextMenu();
        event.Skip();
    });
    window->Bind(wxEVT_MOTION, [this, screen](wxMouseEvent& event) {
        OnVideoMouseMove(screen(event));
        event.Skip();
    });
}

bool CPlayerDlg::CreateButtons()
{
    for (const SButtonDef& def : kButtons) {
        auto* button = new CButtonST;
        if (!button->Create(this, def.id, wxEmptyString, wxDefaultPosition, wxSize(32, 32))) {
            delete button;
            return false;
        }
        button->Hide();
        m_buttons.emplace_back(def.id, button);
        if (def.id == IDC_BTN_SPARE)
            continue;
        if (def.hot)
            SetButtonIcons(def.id, def.hot, def.normal);
        // The pointed-at background is the bar's colour lightened.
        button->SetColor(CButtonST::kColorBackNormal, RGB(0x1E, 0x1E, 0x1E), FALSE);
        button->SetColor(CButtonST::kColorBackFocus, RGB(0x1E, 0x1E, 0x1E), FALSE);
        button->SetColor(CButtonST::kColorBackHot, RGB(0x1E, 0x1E, 0x1E), FALSE);
        button->OffsetColor(CButtonST::kColorBackHot, 0x30, FALSE);
        button->SetColor(CButtonST::kColorTextNormal, RGB(0xC8, 0xC8, 0xC8), FALSE);
        button->SetColor(CButtonST::kColorTextHot, RGB(0xFF, 0xFF, 0xFF), FALSE);
        button->SetTooltipText(def.tip);
    }
    m_bPlayerMuted = 0;
    return true;
}

void CPlayerDlg::SetButtonIcons(int id, const char* hot, const char* normal)
{
    CButtonST* button = GetButton(id);
    if (!button)
        return;
    if (id == IDC_BTN_VOLUMEUP || id == IDC_BTN_VOLUMEDOWN)
        button->SetIcon(HalvedIcon(hot), HalvedIcon(normal));
    else
        button->SetIcon(CString(hot), CString(normal));
}

CButtonST* CPlayerDlg::GetButton(int id) const
{
    for (const auto& [buttonId, button] : m_buttons)
        if (buttonId == id)
            return button;
    return nullptr;
}

void CPlayerDlg::InitSeekBar()
{
    if (m_pItemThumb)
        return;
    m_pItemPlayed = std::make_unique<CBitItem>(CString("seek_before.png"), 0, 0);
    m_pItemRemaining = std::make_unique<CBitItem>(CString("seek_after.png"), 0, 0);
    m_pItemThumb = std::make_unique<CBitItem>(CString("seek_thumb.png"), 12, 12);
    m_sliderSeek->SetCursor(wxCursor(wxCURSOR_HAND));
    m_sliderSeek->SetThumbItem(m_pItemThumb.get());
    m_sliderSeek->SetChannelItems(m_pItemRemaining.get(), m_pItemPlayed.get());
    m_sliderSeek->SetThumbOffset(0);
    m_sliderSeek->SetRange(0, 10000, FALSE);
    m_sliderSeek->SetPos(0);
    // A release on the bar is a seek request, which the refresh tick hands on
    // as the play progress.
    m_sliderSeek->SetSeekHandler([](int position) { theApp.m_nSeekRequest = position; });
    // The bar's time tooltip and its releases need the media length and the
    // screen width: given now, when the pointer comes over the bar, and at
    // every refresh.
    m_sliderSeek->Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent& event) {
        GiveSeekBarScale();
        event.Skip();
    });
    GiveSeekBarScale();
}

void CPlayerDlg::GiveSeekBarScale()
{
    m_sliderSeek->SetScreenWidth(theApp.m_nScreenWidth);
    m_sliderSeek->SetMediaLength(theApp.m_nMediaLength);
}

wxEvtHandler* CPlayerDlg::CommandTarget() const
{
    if (m_pCommandTarget)
        return m_pCommandTarget;
    IMainFrameHost* host = MainFrameHost();
    return host != nullptr ? host->CommandTarget() : nullptr;
}

// The keyword goes as both texts of the command, as the frame's dispatcher
// expects from the player.
void CPlayerDlg::Post(const CString& keyword) { PostPlayerCommand(CommandTarget(), keyword, keyword); }

void CPlayerDlg::PostBarShow()
{
    if (wxEvtHandler* target = CommandTarget())
        wxQueueEvent(target, new wxCommandEvent(EVT_PLAYERBARSHOW));
}

bool CPlayerDlg::MediaLoaded() const { return theApp.m_strMediaPath.GetLength() > 1; }

bool CPlayerDlg::NetworkWait() const { return !theApp.m_strPlayingNetFile.IsEmpty() && theApp.m_bNetFileReady == 0; }

bool CPlayerDlg::OpenMedia(const char* utf8Path)
{
    m_nBarCountdown = 5;
    const bool opened = m_player->OpenPath(utf8Path);
    // A new medium: its subtitle files are numbered from 1 again, and those
    // written for the media before it go.
    theApp.m_nAssFileCounter = 0;
    RemoveWrittenSubtitleFiles(theApp);
    return opened;
}

void CPlayerDlg::StopPlayer()
{
    // Never waits on the interface thread for the engine to let a subtitle go.
    m_player->StopWithoutWaiting();
}

// ---- Buttons and transport commands ----

void CPlayerDlg::OnBnClickedStop()
{
    if (theApp.m_strPlayState != "OnStop")
        Post("HalvikSoftPlayerStop:");
}

void CPlayerDlg::OnBnClickedPlayPause()
{
    if (theApp.m_strPlayState == "OnPlay") {
        Post("HalvikSoftPlayerPause:");
        SetButtonIcons(IDC_BTN_PLAYPAUSE, "player_pause_hover.png", "player_play.png");
    } else if (theApp.m_strPlayState == "OnPause" || theApp.m_strPlayState == "OnStop") {
        Post("HalvikSoftPlayerPlay:");
        SetButtonIcons(IDC_BTN_PLAYPAUSE, "player_play_hover.png", "player_pause.png");
    }
}

void CPlayerDlg::OnBnClickedPrevMedia() { Post("HalvikSoftPlayerPlayPre:"); }

void CPlayerDlg::OnBnClickedNextMedia() { Post("HalvikSoftPlayerPlayNext:"); }

void CPlayerDlg::OnBnClickedReset()
{
    if (MediaLoaded())
        Post("HalvikSoftPlayerReset:");
}

void CPlayerDlg::OnBnClickedMute()
{
    m_bPlayerMuted = !m_bPlayerMuted;
    // The button shows the state: a crossed speaker, in the accent colour,
    // while muted; the speaker with its waves while the sound is on.
    if (m_bPlayerMuted) {
        SetButtonIcons(IDC_BTN_MUTE, "player_mute.png", "player_mute_hover.png");
        m_player->SetVolume(0);
    } else {
        SetButtonIcons(IDC_BTN_MUTE, "player_sound_hover.png", "player_sound.png");
        m_player->SetVolume(theApp.m_nVolume);
    }
}

// The volume stays within 0..200 and is sent only when it changed.
void CPlayerDlg::OnBnClickedVolumeUp()
{
    const int volume = std::min(200, theApp.m_nVolume + 10);
    if (volume <= theApp.m_nVolume)
        return;
    theApp.m_nVolume = volume;
    Post("HalvikSoftPlayerSetVolume:");
}

void CPlayerDlg::OnBnClickedVolumeDown()
{
    const int volume = std::max(0, theApp.m_nVolume - 10);
    if (volume >= theApp.m_nVolume)
        return;
    theApp.m_nVolume = volume;
    Post("HalvikSoftPlayerSetVolume:");
}

void CPlayerDlg::OnOpenDownloader() { Post("OpenDownloaderWndFromPlayer:"); }

// Skips stay inside the media: not before its start, and not past its end
// once the length is known.
void CPlayerDlg::OnSkipForward()
{
    const int64_t now = m_player->GetTime();
    if (now < 0)
        return;
    int64_t target = now + 10000;
    const int64_t length = m_player->GetLength();
    if (length > 0)
        target = std::min(target, length);
    m_player->Seek(target);
}

void CPlayerDlg::OnSkipBackward()
{
    const int64_t now = m_player->GetTime();
    if (now < 0)
        return;
    m_player->Seek(std::max<int64_t>(0, now - 10000));
}

void CPlayerDlg::OnOpenNetMedia() { theApp.m_strPendingCommand = "OnOpenNetmedia:"; }

void CPlayerDlg::OnPlayOrder(int order) { theApp.m_nPlayOrder = order; }

void CPlayerDlg::OnCompactMode()
{
    theApp.m_bWindowFullScreen = !theApp.m_bWindowFullScreen;
    if (theApp.m_bWindowFullScreen) {
        theApp.m_nTopMostState = 0;
        Post("HalvikSoftPlayerSetMiniStytle:");
    } else {
        Post("HalvikSoftPlayerCancelMiniStytle:");
    }
}

// ---- Opening local media ----

std::vector<CString> CPlayerDlg::ChooseFiles(const SFileRequest& request)
{
    if (m_fileChooser)
        return m_fileChooser(request);
    long style = wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    if (request.multiple)
        style |= wxFD_MULTIPLE;
    wxFileDialog dialog(request.parent, ToWx(request.title), ToWx(request.folder), wxEmptyString,
                        ToWx(request.wildcard), style);
    std::vector<CString> chosen;
    if (dialog.ShowModal() != wxID_OK)
        return chosen;
    wxArrayString paths;
    if (request.multiple)
        dialog.GetPaths(paths);
    else
        paths.Add(dialog.GetPath());
    for (const wxString& path : paths)
        chosen.push_back(FromWx(path));
    return chosen;
}

// The play list is replaced only when the learner chose media files: a
// cancelled dialog or a choice without media leaves it as it was.
void CPlayerDlg::OnOpenLocalMedia()
{
    SFileRequest request;
    request.parent = this;
    request.title = "打开播放文件";
    request.folder = theApp.m_strCacheDir;
    request.wildcard = "(*.*)|*";
    request.multiple = true;
    CStringArray media;
    for (const CString& path : ChooseFiles(request)) {
        const int kind = theApp.GetMediaKind(path);
        if (kind == 1 || kind == 2)
            media.Add(path);
    }
    if (media.IsEmpty())
        return;
    theApp.m_arrPlayList.Copy(media);
    theApp.m_nPlayIndex = -1;
    Post("HalvikSoftPlayerPlayLocalFile:");
    Post("SelectFirstPlayLocalPlaylistFile:");
}

// ---- Commands from buttons and menus ----

void CPlayerDlg::OnButton(wxCommandEvent& event)
{
    if (!DoCommand(event.GetId()))
        event.Skip();
}

void CPlayerDlg::OnMenu(wxCommandEvent& event)
{
    if (!DoCommand(event.GetId()))
        event.Skip();
}

bool CPlayerDlg::DoCommand(int id)
{
    switch (id) {
    case IDC_BTN_OPEN:
    case ID_OPEN_LOCALMEDIA:
    case ID_OPEN_LOCALMEDIA2:
        OnOpenLocalMedia();
        return true;
    case IDC_BTN_STOP:
    case ID_PLAYER_STOP:
        OnBnClickedStop();
        return true;
    case IDC_BTN_PLAYPAUSE:
    case ID_PLAYER_PLAY:
    case ID_PLAYER_PAUSE:
        OnBnClickedPlayPause();
        return true;
    case IDC_BTN_PREV:
    case ID_PLAYER_PREV:
        OnBnClickedPrevMedia();
        return true;
    case IDC_BTN_NEXT:
    case ID_PLAYER_NEXT:
        OnBnClickedNextMedia();
        return true;
    case IDC_BTN_RESET:
    case ID_PLAYER_RESET:
        OnBnClickedReset();
        return true;
    case IDC_BTN_MUTE:
        OnBnClickedMute();
        return true;
    case IDC_BTN_VOLUMEUP:
        OnBnClickedVolumeUp();
        return true;
    case IDC_BTN_VOLUMEDOWN:
        OnBnClickedVolumeDown();
        return true;
    case IDC_BTN_DOWNLOADINFO:
    case ID_OPEN_DOWNLOADER:
        OnOpenDownloader();
        return true;
    case ID_PLAYER_SKIPFORWARD:
        OnSkipForward();
        return true;
    case ID_PLAYER_SKIPBACKWARD:
        OnSkipBackward();
        return true;
    case ID_OPEN_NETMEDIA:
        OnOpenNetMedia();
        return true;
    case ID_ORDER_SEQUENCE:
    case ID_ORDER_RANDOM:
    case ID_ORDER_SINGLE:
        OnPlayOrder(id - ID_ORDER_SEQUENCE + 1);
        return true;
    case ID_POINT_A:
        theApp.m_nPointA = m_player->GetTime();
        return true;
    case ID_POINT_B:
        theApp.m_nPointB = m_player->GetTime();
        return true;
    case ID_POINT_AB_CLEAR:
        theApp.m_nPointA = theApp.m_nPointB = 0;
        return true;
    case ID_POINT_C:
        theApp.m_nPointC = m_player->GetTime();
        return true;
    case ID_POINT_D:
        theApp.m_nPointD = m_player->GetTime();
        return true;
    case ID_POINT_CD_CLEAR:
        theApp.m_nPointC = theApp.m_nPointD = 0;
        return true;
    case ID_COMPACT_MODE:
        OnCompactMode();
        return true;
    case ID_SUBTITLE_BOTH:
        OnSubtitleBoth();
        return true;
    case ID_SUBTITLE_ENGLISH:
        OnSubtitleEnglish();
        return true;
    case ID_SUBTITLE_CHINESE:
        OnSubtitleChinese();
        return true;
    case ID_ORDER_CHNFIRST:
        OnSubtitleChnFirst();
        return true;
    case ID_ORDER_ENGFIRST:
        OnSubtitleEngFirst();
        return true;
    case ID_SUBTITLE_OFF:
        OnSubtitleOff();
        return true;
    case ID_LOAD_SUBTITLE:
        OnLoadSubtitle();
        return true;
    case ID_SUBTITLE_TRACK9:
        OnSubtitleTrack(8);
        return true;
    default:
        break;
    }
    if (id >= ID_SUBTITLE_TRACK && id < ID_SUBTITLE_TRACK + kSubtitleTrackIds) {
        OnSubtitleTrack(id - ID_SUBTITLE_TRACK);
        return true;
    }
    if (id >= ID_AUDIO_TRACK && id < ID_AUDIO_TRACK + kAudioTrackIds) {
        OnAudioTrack(id - ID_AUDIO_TRACK);
        return true;
    }
    if (id >= ID_COLOR_FIRST && id < ID_SIZE_FIRST + kSubtitleSizeCount) {
        OnSubtitleStyle(id);
        return true;
    }
    return false;
}

// ---- Display refresh ----

void CPlayerDlg::SetTextIfChanged(wxWindow* window, const CString& text)
{
    if (!window)
        return;
    const wxString label = ToWx(text);
    // Setting a label repaints; nothing changes while playback is paused.
    if (window->GetLabel() != label)
        window->SetLabel(label);
}
