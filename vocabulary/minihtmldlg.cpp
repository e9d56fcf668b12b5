#include "vocabulary/minihtmldlg.h"

#include <algorithm>

#include "controls/btnst.h"
#include "ui/explorer1.h"
#include "ui/icons.h"
#include "core/quenlow.h"

namespace {

struct SMiniButton {
    int id;
    int icon;
    const char* tooltip;
    const char* keyword;
    int x;
};

const SMiniButton kButtons[] = {
    {CMiniHtmlDlg::kPrevWordButton, 500, "上一个生词", "OnBnClickedButtonPreword:", 0},
    {CMiniHtmlDlg::kNextWordButton, 499, "下一个生词", "OnBnClickedButtonNextword:", 25},
    {CMiniHtmlDlg::kSaveWordButton, 501, "将单词保存到生词库", "OnBnClickedButtonSaveword:", 60},
    {CMiniHtmlDlg::kDelWordButton, 497, "将单词从生词库中删除", "OnBnClickedButtonDelword:", 85},
    {CMiniHtmlDlg::kExitButton, 498, "退出", "", 470},
};

} // namespace

bool CMiniHtmlDlg::Create(wxWindow* parent)
{
    // A pop-up beside the pointer: no caption, above the main window.
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(500, 350),
                          wxBORDER_SIMPLE | wxSTAY_ON_TOP))
        return false;
    Hide();
    // The pointed-at background is the lesson background lightened by its
    // own low 16 bits; the usual colours give an offset the button refuses,
    // and it keeps its own colours.
    const short offset = static_cast<short>(theApp.m_clrBackground & 0xFFFF);
    for (const SMiniButton& entry : kButtons) {
        auto* button = new CButtonST;
        if (!button->Create(this, entry.id, wxString(), wxPoint(entry.x, 0), wxSize(kButtonSize, kButtonSize))) {
            delete button;
            return false;
        }
        const wxBitmap icon = LoadProgramIcon(entry.icon, 16);
        button->SetIcon(icon, icon);
        button->OffsetColor(CButtonST::kColorBackHot, offset);
        button->SetTooltipText(entry.tooltip);
    }
    m_browser = new CExplorer1;
    if (!m_browser->Create(this, kBrowserId)) {
        delete m_browser;
        m_browser = nullptr;
        return false;
    }
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) { OnButton(event.GetId()); });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        LayOut();
    });
    LayOut();
    return true;
}

CString CMiniHtmlDlg::KeywordOf(int buttonId)
{
    for (const SMiniButton& entry : kButtons) {
        if (entry.id == buttonId)
            return entry.keyword;
    }
    return CString();
}

CButtonST* CMiniHtmlDlg::GetButton(int buttonId) const
{
    return dynamic_cast<CButtonST*>(FindWindow(buttonId));
}

void CMiniHtmlDlg::OnButton(int buttonId)
{
    if (buttonId == kExitButton) {
        Hide();
        return;
    }
    const CString keyword = KeywordOf(buttonId);
    if (!keyword.IsEmpty())
        theApp.m_strWordPaneCommand = keyword;
}

void CMiniHtmlDlg::LayOut()
{
    const wxSize client = GetClientSize();
    for (const SMiniButton& entry : kButtons) {
        if (CButtonST* button = GetButton(entry.id))
            button->SetSize(entry.x, 0, kButtonSize, kButtonSize);
    }
    if (m_browser != nullptr)
        m_browser->SetSize(0, kBrowserTop, client.x, std::max(0, client.y - kBrowserTop));
}
