#include "ui/showchndlg.h"

#include <string_view>

#include <wx/frame.h>

#include "core/quenlow.h"

namespace {

// The views hold a font face in a 32-byte buffer with its terminator.
constexpr int kMaxFaceBytes = 31;


} // namespace

CShowChnDlg::CShowChnDlg() = default;

CShowChnDlg::~CShowChnDlg() = default;

bool CShowChnDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                          wxBORDER_NONE | wxFRAME_NO_TASKBAR))
        return false;
    m_richCaption = new wxTextCtrl(this, IDC_CAPTION, wxString(), wxPoint(0, 0), GetClientSize(),
                                   wxTE_MULTILINE | wxTE_RICH2 | wxTE_READONLY | wxTE_NO_VSCROLL | wxBORDER_NONE);
    Bind(wxEVT_SIZE, &CShowChnDlg::OnSize, this);
    return true;
}

void CShowChnDlg::ShowText(const CString&)
{
}

void CShowChnDlg::ApplyTextFormat()
{
    m_cfCaption = SRichTextFormat();
    m_cfCaption.face = TruncateAtCharBoundary(theApp.m_strFontName, kMaxFaceBytes);
    m_cfCaption.heightTwips = theApp.m_nFontSize * 20;
    m_cfCaption.bold = true;
    m_cfCaption.textColour = RGB(0, 0, 255);
    if (m_richCaption)
        ApplyRichTextFormat(*m_richCaption, m_cfCaption, RGB(255, 153, 18));
}

void CShowChnDlg::OnSize(wxSizeEvent& event)
{
    if (m_richCaption)
        m_richCaption->SetSize(GetClientSize());
    event.Skip();
}
