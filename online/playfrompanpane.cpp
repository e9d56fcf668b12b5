#include "online/playfrompanpane.h"

#include <wx/artprov.h>
#include <wx/combobox.h>
#include <wx/sizer.h>

#include "online/panhtmlview.h"
#include "ui/explorer1.h"
#include "ui/mainframehost.h"
#include "ui/panetoolbar.h"
#include "ui/playercommand.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"

namespace {

const std::vector<SPaneTool> kPanTools = {
    {kCmdPanBack, "BackWard", "跳转到前一页", wxITEM_NORMAL, wxART_GO_BACK},
    {kCmdPanForward, "ForWard", "跳转到下一页", wxITEM_NORMAL, wxART_GO_FORWARD},
    {kCmdPanStop, "Stop", "停止载入页面", wxITEM_NORMAL, wxART_CROSS_MARK},
    {kCmdPanRefresh, "Refresh", "刷新页面", wxITEM_NORMAL, wxART_REDO},
    {kCmdPanHome, "HomePage", "返回主页", wxITEM_NORMAL, wxART_GO_HOME},
    {kCmdPanSearch, "Search", "查找", wxITEM_NORMAL, wxART_FIND},
};

constexpr int kCells = 6;   // cells of a user-data row

CString Trimmed(CString text)
{
    text.Trim();
    return text;
}

} // namespace

CPlayFromPanPane::CPlayFromPanPane() : m_chosenTimer(this, kTimerChosenAddress), m_recordTimer(this, kTimerRecordPage)
{
}

CPlayFromPanPane::~CPlayFromPanPane()
{
    m_chosenTimer.Stop();
    m_recordTimer.Stop();
}

bool CPlayFromPanPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    m_wndView = new CPanHtmlView;
    if (!m_wndView->Create(this, wxID_ANY))
        return false;
    m_wndView->SetSilent(true);
    m_wndSpareView = new CPanHtmlView;
    if (!m_wndSpareView->Create(this, IDC_SPARE_VIEW))
        return false;
    m_wndSpareView->SetSilent(true);
    m_wndSpareView->Hide();

    m_wndToolBar = new CPaneToolBar;
    if (!m_wndToolBar->Create(this, IDC_TOOLBAR, kPanTools, [this](int command) { OnCommand(command); }))
        return false;
    m_wndAddress = new wxComboBox(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                  wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
    wxFont font = m_wndAddress->GetFont();
    font.SetPixelSize(wxSize(0, 15));
    m_wndAddress->SetFont(font);
    m_wndAddress->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnAddressEntered(); });
    m_wndAddress->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent&) { OnDropDownAddress(); });
    m_wndAddress->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent&) { m_chosenTimer.StartOnce(500); });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnChosenAddressTick(); }, kTimerChosenAddress);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnRecordPageTick(); }, kTimerRecordPage);

    // A sizer leaves hidden windows out, so the shown view fills the rest.
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_wndToolBar, 0, wxEXPAND);
    sizer->Add(m_wndAddress, 0, wxEXPAND);
    sizer->Add(m_wndView, 1, wxEXPAND);
    sizer->Add(m_wndSpareView, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}

void CPlayFromPanPane::OnFirstShow()
{
    if (m_bShownOnce)
        return;
    m_bShownOnce = true;
    m_wndView->OnInitialUpdate();
}

void CPlayFromPanPane::OnCommand(int command)
{
    CExplorer1& browser = *m_wndView->m_wndBrowser;
    switch (command) {
    case kCmdPanBack: browser.GoBack(); break;
    case kCmdPanForward: browser.GoForward(); break;
    case kCmdPanStop: browser.Stop(); break;
    case kCmdPanRefresh: browser.Reload(); break;
    case kCmdPanHome: m_wndView->Navigate(theApp.m_strPanHomeUrl); break;
    default: break;   // 查找 does nothing
    }
}

CString CPlayFromPanPane::AddressOf(CString text)
{
    text.Trim();
    // A list entry reads "address  (title)".
    const int bracket = text.Find('(');
    if (bracket > 0)
        text = Trimmed(text.Left(bracket));
    return text;
}

bool CPlayFromPanPane::NavigateTo(CString address)
{
    if (address.Find("http://") < 0 && address.Find("https://") < 0)
        address = "http://" + address;
    if (address.Find("http://") != 0 && address.Find("https://") != 0) {
        theApp.SetMessage(kMessageError, "输入的网址错误！", 5);
        return false;
    }
    m_wndView->m_bPageLoaded = 0;
    m_wndView->Navigate(address);
    m_strPendingAddress = address;
    return true;
}

void CPlayFromPanPane::OnAddressEntered()
{
    CString text = FromWx(m_wndAddress->GetValue());
    text.Trim();
    if (text.GetLength() >= 10) {
        const CString address = AddressOf(text);
        if (address.GetLength() > 5) {
            if (NavigateTo(address)) {
                // The same address again navigates but is not recorded again.
                if (m_strPendingAddress != m_strLastAddress)
                    m_recordTimer.Start(1000);
                m_strLastAddress = m_strPendingAddress;
            }
        }
    }
    m_wndAddress->SetFocus();
}

void CPlayFromPanPane::OnChosenAddressTick()
{
    m_chosenTimer.Stop();
    const CString address = AddressOf(FromWx(m_wndAddress->GetValue()));
    if (address.GetLength() <= 5)
        return;
    const int loaded = m_wndView->m_bPageLoaded;
    if (NavigateTo(address)) {
        m_wndView->m_bPageLoaded = loaded;
        m_recordTimer.Start(1000);
        m_wndAddress->SetFocus();
    }
}

void CPlayFromPanPane::OnRecordPageTick()
{
    if (!m_wndView->m_bPageLoaded)
        return;
    m_recordTimer.Stop();
    m_wndView->m_bPageLoaded = 0;
    const CString address = Trimmed(m_strPendingAddress);
    if (address.IsEmpty())
        return;
    // Recorded again, the page moves to the end of the table: the top of the list.
    theApp.DeleteRecord(theApp.m_strPanAddressTable, address);
    theApp.PutRecord(theApp.m_strPanAddressTable, address, m_wndView->m_strTitle, CString(), CString(), CString(),
                     CString());
}

void CPlayFromPanPane::OnDropDownAddress()
{
    theApp.LoadTable(theApp.m_strPanAddressTable, CString());
    const CStringArray rows = theApp.m_arrPanAddressRows;
    m_wndAddress->Clear();
    const int count = rows.GetSize() / kCells;
    for (int r = count - 1; r >= 0; --r)
        m_wndAddress->Append(ToWx(rows[r * kCells] + "  (" + rows[r * kCells + 1] + ")"));
    if (count > kMaxVisitedRows)
        for (int r = 0; r < kPrunedRows; ++r)
            theApp.DeleteRecord(theApp.m_strPanAddressTable, rows[r * kCells]);
}

void CPlayFromPanPane::OnMaxPanPane()
{
    IMainFrameHost* host = MainFrameHost();
    PostPlayerCommand(host != nullptr ? host->CommandTarget() : nullptr, "HalvikSoftMaxPanPane:",
                      "HalvikSoftMaxPanPane:");
}
