// Creation and layout of the main window.
#include "frame/mainfrm.h"

#include <cstdio>
#include <vector>

#include <wx/aui/aui.h>
#include <wx/config.h>
#include <wx/display.h>
#include <wx/log.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/sizer.h>

#include "catalogue/playlistpane.h"
#include "lesson/quenlowview.h"
#include "lesson/speechformview.h"
#include "vocabulary/wordmanagementview.h"
#include "online/inputnetadressdlg.h"
#include "online/playfrompanpane.h"
#include "online/updatedlg.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "playback/purewmpdialog.h"
#include "ui/icons.h"
#include "ui/lessontextstyle.h"
#include "frame/mainribbon.h"
#include "ui/mycaptionbar.h"
#include "core/quenlow.h"
#include "core/productsettings.h"
#include "core/quenlowdoc.h"
#include "frame/ribbonstatusbar.h"
#include "frame/appwindows.h"
#include "ui/searchdlg.h"
#include "ui/showmsgdlg.h"
#include "ui/userprofile.h"
#include "core/startupdefaults.h"
#include "lesson/core/assfilewriter.h"
#include "core/uisettings.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/minihtmldlg.h"

namespace {

CMainFrame* g_mainFrame = nullptr;

constexpr int kCaptionBarId = 2014;
constexpr int kStatusBarId = 0xE801;
constexpr const char* kFrameTitle = "HalvikEnglish[Halvik英语]";
constexpr const char* kProfileGroup = "/应用程序向导生成的本地应用程序/Settings/";

struct SStatusElement {
    int id;
    int icon;           // 0: a text pane without icon
    const char* label;
    const char* text;
    const char* tooltip;
    bool separator;
};

// The player controls of the status bar, left to right.
const SStatusElement kStatusElements[] = {
    {kStatusPlayStateElement, 0, "", "未载入文件", "", true},
    {kCmdOpenPlaylistFolder, 316, "", "", "打开播放资源所在文件夹\n文件夹", true},
    {kCmdToggleRibbonPanels, 360, "", "", "显示或隐藏工具栏\n工具栏", true},
    {kCmdPlay, 368, "Play", "", "播放媒体\nPlay", false},
    {kCmdPause, 367, "Pause", "", "暂停播放媒体\nPause", false},
    {kCmdStop, 369, "Stop", "", "停止播放\nStop", false},
    {kCmdRestart, 421, "Reset Media Player", "", "重置播放.当播放器有异常时,请使用此功能.", false},
    {kStatusTimeElement, 319, "Play Progress", "000:00/000:00", "显示播放器\n播放器", false},
};
const SStatusElement kStatusElementsAfterProgress[] = {
    {kCmdVolumePane, 377, "Play Progress", "", "调节音量\n音量", false},
};
const SStatusElement kStatusElementsAfterVolume[] = {
    {kStatusSentenceElement, 359, "", "第0000句/共0000句", "显示当前句子播放进度\n句子进度", true},
    {kStatusDownloadElement, 448, "", "速度:0000 KB/s  进度:0000%", "播放网络视频时的缓冲速度\n下载信息", true},
};

} // namespace

CMainFrame* GetMainFrame() { return g_mainFrame; }

CMainFrame::CMainFrame(const CString& programFolder)
    : m_strProgramFolderOverride(programFolder), m_timers(this, [this](int id) { OnTimer(id); })
{
    // The visual style saved in the profile (kDefaultAppLook when none is stored).
    long look = kDefaultAppLook;
    if (wxConfigBase* config = UserProfile())
        config->Read(ToWx(CString(kProfileGroup) + "ApplicationLook"), &look, kDefaultAppLook);
    theApp.m_nAppLook = static_cast<UINT>(look);
}

CMainFrame::~CMainFrame()
{
    m_timers.KillAll();
    m_worker.Stop();
    m_auiManager.UnInit();
    if (g_mainFrame == this) {
        // A frame deleted without closing leaves no parentless window behind either.
        DestroyAppWindows();
        g_mainFrame = nullptr;
        SetMainFrameHost(nullptr);
    }
}

bool CMainFrame::Create(CQuenlowDoc* document)
{
    m_pDocument = document;
    if (!wxFrame::Create(nullptr, wxID_ANY, ToWx(kFrameTitle), wxDefaultPosition, wxSize(1280, 800),
                         wxDEFAULT_FRAME_STYLE | wxMAXIMIZE))
        return false;
    g_mainFrame = this;
    SetMainFrameHost(this);
    UpdateTitle();
    if (OnCreate() != 0) {
        g_mainFrame = nullptr;
        SetMainFrameHost(nullptr);
        return false;
    }
    return true;
}

void CMainFrame::UpdateTitle()
{
    // The document's title first, then the program's, as the frame shows both.
    const CString doc = m_pDocument ? m_pDocument->GetTitle() : CString();
    SetTitle(ToWx(doc.IsEmpty() ? CString(kFrameTitle) : doc + " - " + kFrameTitle));
}

int CMainFrame::OnCreate()
{
    // Screen metrics: fonts of the panes scale with the width against 1280.
    const wxRect screen = wxDisplay(0u).GetGeometry();
    theApp.m_nScreenWidth = screen.width;
    theApp.m_nScreenHeight = screen.height;
    theApp.m_dScaleX = screen.width / 1280.0;
    SetMinSize(SmallestUsableSize());

    // Top to bottom: the ribbon, the docking area (panes around the central
    // view), the caption bar and the status bar.
    auto* layout = new wxBoxSizer(wxVERTICAL);
    SetSizer(layout);
    m_wndRibbonBar = new CMainRibbon;
    // 词汇管理 comes up only with a word-book command.
    if (!m_wndRibbonBar->Create(this, {kCategoryWordBook}))
        return -1;
    m_pRibbonBar = m_wndRibbonBar;
    layout->Add(m_wndRibbonBar, 0, wxEXPAND);
    m_pDockHost = new wxPanel(this, wxID_ANY);
    layout->Add(m_pDockHost, 1, wxEXPAND);
    m_auiManager.SetManagedWindow(m_pDockHost);
    m_auiManager.SetFlags(wxAUI_MGR_DEFAULT | wxAUI_MGR_LIVE_RESIZE);

    OnApplicationLook(theApp.m_nAppLook);

    if (!CreateCaptionBar())
        return -1;
    if (!CreateStatusBar())
        return -1;
    ShowCaptionBar(false);

    m_pViewHost = new wxPanel(m_pDockHost, wxID_ANY);
    m_pViewHost->SetSizer(new wxBoxSizer(wxVERTICAL));
    m_auiManager.AddPane(m_pViewHost, wxAuiPaneInfo().Name("view").CenterPane().PaneBorder(false));

    if (!CreateDockingPanes()) {
        wxLogDebug("Failed to create tasks pane");
        return -1;
    }

    if (!InitPaths())
        return -1;
    m_wndDetailWordPane->ShowLocalPage(theApp.m_strDictPanePagePath);
    m_strSearchText.Empty();
    m_strPrevSearchText.Empty();
    m_nSearchPollCount = 0;
    m_nProgressReadCountdown = 3;
    LoadUiSettings();
    m_wndPlayListPane->ApplyColors();
    SetTimer(kTimerDelayedStartup, 1000);
    SetTimer(kTimerSecondWork, 1000);

    theApp.m_dlgMiniHtml = CreateWindowOrNull(new CMiniHtmlDlg, nullptr, "dictionary pop-up");
    if (theApp.m_dlgMiniHtml)
        theApp.m_dlgMiniHtml->Hide();
    CreateStreamDialog();

    CreateMessageDialog();

    // The lesson view is the first central view.
    ShowCentralView(kViewLesson);

    // Enabling and checking the ribbon's ~80 commands runs after every burst
    // of events; the lesson view's 100 ms timer alone would make that ten
    // times a second, so the states are brought up to date at most every
    // 300 ms.
    wxUpdateUIEvent::SetUpdateInterval(300);

    BindCommands();
    BindWork();
    BindTransportCommands();
    Bind(wxEVT_SIZE, &CMainFrame::OnSize, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    m_auiManager.Update();
    Layout();
    return 0;
}

bool CMainFrame::CreateStatusBar()
{
    m_wndStatusBar = new CRibbonStatusBar;
    if (!m_wndStatusBar->Create(this, kStatusBarId)) {
        wxLogDebug("Failed to create status bar");
        return false;
    }
    m_pProgressSlider = m_wndStatusBar->FindSlider(kCmdProgressSlider);
    m_pVolumeSlider = m_wndStatusBar->FindSlider(kCmdVolumeSlider);
    if (!m_pProgressSlider || !m_pVolumeSlider)
        return false;
    theApp.m_strDownloadStatusText = "速度:0000 KB/s  进度:0000%";
    GetSizer()->Add(m_wndStatusBar, 0, wxEXPAND);
    return true;
}

bool CMainFrame::CreateCaptionBar()
{
    m_wndCaptionBar = new CMyCaptionBar;
    if (!m_wndCaptionBar->Create(this, kCaptionBarId))
        return false;
    m_wndCaptionBar->SetText("这是一个例子！");
    m_wndCaptionBar->SetTextColor(theApp.m_clrMsgText);
    m_wndCaptionBar->SetBackColor(theApp.m_clrMsgErrorBack);
    GetSizer()->Add(m_wndCaptionBar, 0, wxEXPAND);
    return true;
}

bool CMainFrame::CreateDockingPanes()
{
    m_wndPlayListPane = new CPlayListPane;
    if (!m_wndPlayListPane->Create(m_pDockHost, "Playlist(播放列表)", 602))
        return false;
    m_wndDetailWordPane = new CDetailWordPane;
    if (!m_wndDetailWordPane->Create(m_pDockHost, "词典窗口", 603))
        return false;
    m_wndPlayFromPanPane = new CPlayFromPanPane;
    if (!m_wndPlayFromPanPane->Create(m_pDockHost, "网盘浏览器", 605))
        return false;
    m_wndPlayerPane = new CPlayerPane;
    if (!m_wndPlayerPane->Create(m_pDockHost, "播放器窗口", 604))
        return false;

    struct SDock {
        CDockablePane* pane;
        const char* name;
        bool left;
        bool closeOnly;   // no auto-hide (pin) button
    };
    const SDock docks[] = {
        {m_wndPlayListPane, "playlist", true, true},
        {m_wndDetailWordPane, "dictionary", false, true},
        {m_wndPlayFromPanPane, "panbrowser", false, true},
        {m_wndPlayerPane, "player", true, false},
    };
    for (const SDock& d : docks) {
        wxAuiPaneInfo info;
        info.Name(d.name)
            .Caption(ToWx(d.pane->GetCaption()))
            .BestSize(200, 400)
            .MinSize(100, 100)
            .CloseButton(true)
            .PinButton(!d.closeOnly)
            .Hide();
        if (d.left)
            info.Left();
        else
            info.Right();
        m_auiManager.AddPane(d.pane, info);
    }
    return true;
}

void CMainFrame::GetProgramFolder()
{
    m_strAppFolder = m_strProgramFolderOverride.IsEmpty() ? ::GetProgramFolder() : m_strProgramFolderOverride;
    m_strModulePath = m_strAppFolder + "quenlow";
    if (m_strAppFolder.IsEmpty())
        theApp.ShowMessage("  获取当前目录失败！", "error", 5000);
}

bool CMainFrame::InitPaths()
{
    m_strClipboardText.Empty();
    m_strPrevClipboardText.Empty();
    m_strMailboxText.Empty();
    GetProgramFolder();
    m_strPlaylistFolder = m_strAppFolder + "Playlist/";
    ApplyStartupDefaults(theApp, m_strAppFolder);
    // Without its data folders the program still starts; what they would hold
    // is not saved, and the learner is told.
    const SDataFolderProblems problems = CreateDataFolders(theApp);
    RemoveLeftoverTempFiles(theApp);
    if (!problems.empty()) {
        theApp.ShowMessage(DescribeDataFolderProblems(problems), "error", 5000);
        const auto listOnStderr = [this](const std::vector<CString>& folders, const char* what) {
            for (const CString& folder : folders)
                std::fprintf(stderr, "quenlow: cannot %s the data folder %s\n", what,
                             theApp.AnsiToUtf8(m_strAppFolder + folder).GetString());
        };
        listOnStderr(problems.uncreated, "create");
        listOnStderr(problems.unwritable, "write in");
    }
    // The subtitle files of the last run's media are of no further use.
    RemoveWrittenSubtitleFiles(theApp);
    // The installation's own identifier and cloud start page.
    theApp.m_strProductId = GetProductSetting("ProductId", theApp.m_strProductId);
    theApp.m_strPanHomeUrl = GetProductSetting("PanHomeUrl", theApp.m_strPanHomeUrl);
    m_strNewDownloaderPath = m_strAppFolder + kNewDownloaderRelPath;
    m_strFirstStartPath = m_strAppFolder + kFirstStartRelPath;
    m_strPanelsShown = kPanelsShownDefault;
    m_wndPlayerPane->m_dlgPlayer->Show();

    SetTimer(kTimerMessageSlot, 1000);
    SetTimer(kTimerCaptionCountdown, 1000);

    // The update and address windows are optional (their users check);
    // the search window is not.
    m_dlgUpdate = CreateWindowOrNull(new CUpdateDlg, nullptr, "update");
    if (m_dlgUpdate)
        m_dlgUpdate->Hide();
    m_dlgNetAddress = CreateWindowOrNull(new CInputNetAdressDlg, nullptr, "network address");
    if (m_dlgNetAddress) {
        m_dlgNetAddress->Hide();
        m_dlgNetAddress->LayoutForScreenWidth(theApp.m_nScreenWidth);
    }
    m_dlgSearch = CreateWindowOrNull(new CSearchDlg, this, "search");
    if (!m_dlgSearch)
        return false;
    m_dlgSearch->Hide();

    m_arrDownloaderQueue.RemoveAll();
    SetTimer(kTimerTreeRefresh, 1000);
    return true;
}

void CMainFrame::LoadUiSettings()
{
    ::LoadUiSettings(theApp, theApp.m_strUiDataPath);
    ShowTextSettingsOnRibbon();
}

void CMainFrame::ShowTextSettingsOnRibbon()
{
    // The ribbon was made with its initial face, size and colours; from the
    // start it shows the ones in force, so that pressing a colour button
    // gives the colour it shows.
    const SLessonTextStyle style = CurrentLessonTextStyle();
    m_pRibbonBar->SetComboText(kCmdFontName, style.face);
    CString points;
    points.Format("%d", style.points);
    m_pRibbonBar->SetComboText(kCmdFontSize, points);
    if (auto* button = dynamic_cast<CRibbonColorButton*>(m_pRibbonBar->FindStandIn(kCmdFontColor)))
        button->SetColor(theApp.m_clrText);
    if (auto* button = dynamic_cast<CRibbonColorButton*>(m_pRibbonBar->FindStandIn(kCmdBackColor)))
        button->SetColor(theApp.m_clrBackground);
}

// Called as the window closes, when no caption bar is left to show a failure.
void CMainFrame::SaveUiSettings()
{
    if (!::SaveUiSettings(theApp, theApp.m_strUiDataPath))
        std::fprintf(stderr, "quenlow: cannot save the window settings to %s\n",
                     theApp.AnsiToUtf8(theApp.m_strUiDataPath).GetString());
}

namespace {

// The ribbon's colours for each visual style: primary, secondary, tertiary.
struct SLookColors {
    UINT id;
    wxColour primary, secondary, tertiary;
};
const SLookColors kLookColors[] = {
    {kCmdLookWindows2000, wxColour(212, 208, 200), wxColour(128, 128, 128), wxColour(240, 240, 240)},
    {kCmdLookOfficeXP, wxColour(219, 216, 209), wxColour(10, 36, 106), wxColour(246, 246, 246)},
    {kCmdLookWindowsXP, wxColour(236, 233, 216), wxColour(49, 106, 197), wxColour(255, 255, 255)},
    {kCmdLookOffice2003, wxColour(196, 218, 250), wxColour(0, 45, 150), wxColour(227, 239, 255)},
    {kCmdLookLightGray, wxColour(220, 220, 220), wxColour(60, 60, 60), wxColour(245, 245, 245)},
    {kCmdLookGray, wxColour(200, 200, 200), wxColour(90, 90, 90), wxColour(235, 235, 235)},
    {kCmdLookOffice2007Blue, wxColour(194, 217, 240), wxColour(21, 66, 139), wxColour(225, 236, 250)},
    {kCmdLookOffice2007Black, wxColour(83, 83, 83), wxColour(255, 210, 120), wxColour(110, 110, 110)},
    {kCmdLookOffice2007Silver, wxColour(208, 212, 221), wxColour(76, 83, 92), wxColour(236, 238, 242)},
    {kCmdLookOffice2007Aqua, wxColour(180, 225, 225), wxColour(0, 110, 120), wxColour(220, 244, 244)},
    {kCmdLookWindows7, wxColour(218, 229, 243), wxColour(30, 57, 91), wxColour(240, 245, 251)},
};

} // namespace

void CMainFrame::OnApplicationLook(UINT id)
{
    wxBusyCursor wait;
    theApp.m_nAppLook = id;
    // These keep the style in force and the lesson colours.
    const bool keepsStyle = id >= kCmdFirstStyleKeepingLook && id <= kCmdLastStyleKeepingLook;
    if (!keepsStyle) {
        for (const SLookColors& look : kLookColors) {
            if (look.id == id && m_pRibbonBar && m_pRibbonBar->GetRibbonBar()) {
                wxRibbonArtProvider* art = m_pRibbonBar->GetRibbonBar()->GetArtProvider();
                art->SetColourScheme(look.primary, look.secondary, look.tertiary);
                // The application button's strip takes the colour of the tab row.
                m_pRibbonBar->SetBackgroundColour(art->GetColour(wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR));
                m_pRibbonBar->Refresh();
            }
        }
        ApplyLookColors(id);
    }
    Refresh();
    // Written only when it changed: a learner whose home cannot be written
    // and whose look stays hears nothing about it.
    if (wxConfigBase* config = UserProfile()) {
        const wxString key = ToWx(CString(kProfileGroup) + "ApplicationLook");
        if (config->ReadLong(key, -1) != static_cast<long>(id)) {
            config->Write(key, static_cast<long>(id));
            (void)SaveUserProfile();   // a failure is reported there, once
        }
    }
}

void CMainFrame::ApplyLookColors(UINT /*id*/)
{
    theApp.m_clrText = 0xF0FBFF;
    theApp.m_clrBackground = 0x535353;
    ShowTextSettingsOnRibbon();
    if (theApp.m_strStartupDone.GetLength() > 1 && m_wndPlayListPane)
        m_wndPlayListPane->ApplyColors();
    if (theApp.m_strMediaPath.IsEmpty() || !m_pActiveView)
        return;
    ++theApp.m_nFontChangeCount;
    if (ActiveViewKind() == kViewLesson) {
        if (auto* view = dynamic_cast<CQuenlowView*>(m_pActiveView)) {
            view->ApplyTextFormat();
            theApp.m_nFontCountQuenlowView = theApp.m_nFontChangeCount;
        }
    } else if (ActiveViewKind() == kViewWordBook) {
        if (auto* view = dynamic_cast<CWordManagementView*>(m_pActiveView)) {
            view->ApplyListColors();
            theApp.m_nFontCountWordView = theApp.m_nFontChangeCount;
        }
    } else if (ActiveViewKind() == kViewSpeech) {
        if (auto* view = dynamic_cast<CSpeechFormView*>(m_pActiveView)) {
            view->ApplyTextFormat();
            theApp.m_nFontCountSpeechView = theApp.m_nFontChangeCount;
        }
    }
}

wxRect CMainFrame::RestoredRect(const wxRect& workArea)
{
    const wxSize size(workArea.width * 4 / 5, workArea.height * 4 / 5);
    return wxRect(workArea.x + (workArea.width - size.x) / 2, workArea.y + (workArea.height - size.y) / 2, size.x,
                  size.y);
}

wxSize CMainFrame::SmallestUsableSize()
{
    // The compact player style makes the window a quarter of the screen.
    return wxSize(theApp.m_nScreenWidth / 4, theApp.m_nScreenHeight / 4);
}

// The frame starts maximised and was never on screen at a size of its own,
// so a window manager restores it to whatever size the toolkit gave it before
// mapping (a few pixels). On the way out of maximised the frame takes the
// size it last had on screen, or the centred default.
void CMainFrame::OnMaximizedChanged(bool maximized)
{
    m_bWasMaximized = maximized;
    if (maximized || theApp.m_bWindowFullScreen)
        return;
    if (m_rcRestored.IsEmpty())
        m_rcRestored = RestoredRect(wxDisplay(0u).GetClientArea());
    m_bRestoredOnce = true;
    SetSize(m_rcRestored);
}

void CMainFrame::FollowWindowState()
{
    const bool maximized = m_fnIsMaximized ? m_fnIsMaximized() : IsMaximized();
    if (maximized != m_bWasMaximized) {
        OnMaximizedChanged(maximized);
        return;
    }
    // Sizes of the window's own (after the first restore, not in the compact
    // style) are the ones to come back to.
    const wxRect rect = GetRect();
    const wxSize least = SmallestUsableSize();
    if (m_bRestoredOnce && !maximized && !IsIconized() && !IsFullScreen() && !theApp.m_bWindowFullScreen &&
        rect.width >= least.x && rect.height >= least.y)
        m_rcRestored = rect;
}

void CMainFrame::OnSize(wxSizeEvent& event)
{
    event.Skip();
    FollowWindowState();
    const wxRect r = GetRect();
    m_rcPlayerPane = CRect(r.x, r.y, r.x + r.width, r.y + r.height);
    if (theApp.m_strMsgDlgCreated.GetLength() > 2 && theApp.m_pShowMsgDlg)
        theApp.m_pShowMsgDlg->SetSize(r.x + 10, r.y + r.height - 60, r.width - 10, 30);
    if (theApp.m_bWindowFullScreen)
        SetPlayerPaneSize(GetClientSize().x);
    else if (IsRealLessonLoaded())
        CallAfter(&CMainFrame::KeepLessonTextInSight);   // once the panes have the new size
}

void CMainFrame::KeepLessonTextInSight()
{
    if (IsPaneVisible(m_wndPlayerPane) && m_wndPlayerPane->GetSize().x > LessonPlayerPaneWidth())
        SetPlayerPaneSize(LessonPlayerPaneWidth());
}

// The bar keeps its row in the layout: a message coming or going never moves
// the panes, the view or the video above it.
void CMainFrame::ShowCaptionBar(bool show) { m_wndCaptionBar->ShowMessage(show); }

bool CMainFrame::IsCaptionBarShown() const { return m_wndCaptionBar->IsMessageShown(); }
