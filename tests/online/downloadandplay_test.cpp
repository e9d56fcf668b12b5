// Starting a download-and-play: the cloud-disk view hands download links to
// the frame's mailbox instead of loading them, the pane takes typed and
// chosen addresses and keeps the visited pages, and the network-address bar
// turns a typed address into a command for the frame.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "online/inputnetadressdlg.h"
#include "online/panhtmlview.h"
#include "online/playfrompanpane.h"
#include "ui/explorer1.h"
#include "ui/messagebox.h"
#include "ui/playercommand.h"
#include "ui/wxtext.h"
#include "core/downloaderexchange.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {
class DownloadAndPlayTest : public testing::Test {
protected:
    void SetUp() override
    {
        CQuenlowApp paths;
        ApplyStartupDefaults(paths, program.ansi());
        ASSERT_TRUE(CreateDataFolders(paths).empty());
        guard.UseStartupValues(program.ansi(), {&CQuenlowApp::m_strUserDataDbPath, &CQuenlowApp::m_strPanAddressTable,
                                                &CQuenlowApp::m_strCacheDir, &CQuenlowApp::m_strPanHomeUrl});
        guard.Keep(&CQuenlowApp::m_strPanCommand).Keep(&CQuenlowApp::m_strDlAndPlayCommand)
            .Keep(&CQuenlowApp::m_strDownloadUrl).Keep(&CQuenlowApp::m_strDownloadTaskId);
        theApp.m_strPanCommand.Empty();
        theApp.m_strDlAndPlayCommand.Empty();
        testsupport::TakeMessage();
        m_frame = new wxFrame(nullptr, wxID_ANY, "pan");
    }
    void TearDown() override
    {
        SetMessageBoxHandler({});
        m_frame->Destroy();
        testsupport::DrainEvents();
    }

    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard;
    wxFrame* m_frame = nullptr;
};

TEST_F(DownloadAndPlayTest, ADownloadLinkBecomesACommandInsteadOfAPage)
{
    auto* view = new CPanHtmlView;
    ASSERT_TRUE(view->Create(m_frame, wxID_ANY));
    const CString address = "http://media.example/lessons/talk.mp4";
    view->Navigate(address);
    const CString command = ComposeDlAndPlayCommand(address, theApp.m_strCacheDir);
    EXPECT_EQ(theApp.m_strPanCommand, command);
    EXPECT_EQ(theApp.m_strDlAndPlayCommand, command);
    EXPECT_EQ(view->m_strTargetName, "halviksoft.mp4");
    // Not loaded: no web view was made for it.
    EXPECT_FALSE(view->m_wndBrowser->HasWebView());
    EXPECT_TRUE(view->m_wndBrowser->GetLocationURL().IsEmpty());

    // A page is no download: it goes on to the browser.
    theApp.m_strPanCommand.Empty();
    EXPECT_FALSE(view->OnBeforeNavigate2("http://pan.example-cloud.cn/netdisk/index.html"));
    EXPECT_TRUE(theApp.m_strPanCommand.IsEmpty());
}

TEST_F(DownloadAndPlayTest, PaneTakesTypedAddressesAndKeepsVisitedPages)
{
    auto* pane = new CPlayFromPanPane;
    ASSERT_TRUE(pane->Create(m_frame, "网盘浏览器", 605));
    const auto enter = [&](const char* text) {
        pane->m_wndAddress->ChangeValue(ToWx(text));
        pane->OnAddressEntered();
    };
    enter("a.mp4");   // shorter than 10: nothing
    EXPECT_TRUE(theApp.m_strPanCommand.IsEmpty());
    // Without a scheme, "http://" goes in front, and the video is handed over.
    enter("media.example/v/talk.mp4");
    EXPECT_EQ(theApp.m_strPanCommand, ComposeDlAndPlayCommand("http://media.example/v/talk.mp4", theApp.m_strCacheDir));
    // A scheme later in the text is no address.
    enter("ftp-mirror.example/http://x.example/a.mp4");
    EXPECT_EQ(testsupport::TakeMessage(), "输入的网址错误！");
    // A list entry is cut before its title.
    theApp.m_strPanCommand.Empty();
    enter("http://media.example/v/b.mp4  (B (the talk))");
    EXPECT_EQ(theApp.m_strPanCommand, ComposeDlAndPlayCommand("http://media.example/v/b.mp4", theApp.m_strCacheDir));

    // A loaded page is recorded with its title (an apostrophe kept).
    pane->m_strPendingAddress = "http://site.example/page";
    pane->m_wndView->m_strTitle = "It's a page";
    pane->m_wndView->m_bPageLoaded = 1;
    pane->OnRecordPageTick();
    pane->OnDropDownAddress();
    ASSERT_GE(pane->m_wndAddress->GetCount(), 1u);
    EXPECT_EQ(FromWx(pane->m_wndAddress->GetString(0)), "http://site.example/page  (It's a page)");

    // More than 100 pages: all are listed, newest first, and the 50 oldest go.
    for (int i = 0; i < 100; ++i) {
        CString address;
        address.Format("http://site.example/%03d", i);
        ASSERT_TRUE(theApp.PutRecord(theApp.m_strPanAddressTable, address, "t", "", "", "", ""));
    }
    pane->OnDropDownAddress();
    EXPECT_EQ(pane->m_wndAddress->GetCount(), 101u);
    EXPECT_EQ(FromWx(pane->m_wndAddress->GetString(0)), "http://site.example/099  (t)");
    pane->OnDropDownAddress();
    EXPECT_EQ(pane->m_wndAddress->GetCount(), 51u);
    EXPECT_EQ(FromWx(pane->m_wndAddress->GetString(50)), "http://site.example/049  (t)");
}

TEST_F(DownloadAndPlayTest, NetworkAddressBarPostsTheCommandOrRefuses)
{
    struct Case {
        const char* address;
        bool valid;
    };
    const std::string longAddress = "http://h.example/" + std::string(9000, 'a') + ".mp4";
    const Case cases[] = {
        {"  http://media.example/a.mp4  ", true}, {"https://media.example/a.mp4", true},
        {"ftp://media.example/a.mp4", true},      {"HTTP://media.example/a.mp4", false},
        {"media.example/a.mp4", false},           {"rtsp://media.example/a", false},
        {"", false},                              {longAddress.c_str(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CInputNetAdressDlg::IsValidAddress(c.address), c.valid) << c.address;

    auto* bar = new CInputNetAdressDlg;
    ASSERT_TRUE(bar->Create(nullptr));
    std::vector<CString> posted;
    wxEvtHandler frame;
    frame.Bind(EVT_PLAYERCOMMAND, [&](CPlayerCommandEvent& event) { posted.push_back(event.GetKeyword()); });
    bar->m_pCommandTarget = &frame;
    int boxes = 0;
    SetMessageBoxHandler([&](const CString& text, const CString&, long) {
        EXPECT_EQ(text, "非法网络地址！");
        ++boxes;
        return wxOK;
    });
    bar->ShowAt(wxPoint(10, 10));
    bar->m_editAddress->ChangeValue("rtsp://media.example/a");
    bar->OnBnClickedConfirm();
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(bar->IsShown());

    // Without a scheme the address is taken as "http://".
    bar->m_editAddress->ChangeValue("  media.example/a.mp4 ");
    bar->OnBnClickedConfirm();
    testsupport::DrainEvents();
    const CString command = ComposeDlAndPlayCommand("http://media.example/a.mp4", theApp.m_strCacheDir);
    EXPECT_EQ(posted, std::vector<CString>{command});
    EXPECT_EQ(theApp.m_strDlAndPlayCommand, command);
    EXPECT_EQ(theApp.m_strDownloadUrl, "http://media.example/a.mp4");
    EXPECT_FALSE(bar->IsShown());
    bar->Destroy();
}

} // namespace
