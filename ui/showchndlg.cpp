#include "ui/showchndlg.h"

#include <algorithm>
#include <string_view>

#include <wx/dcclient.h>

#include "core/quenlow.h"

namespace {

// The views hold a font face in a 32-byte buffer with its terminator.
constexpr int kMaxFaceBytes = 31;
// Room above and below the text and the text control's own inner border.
constexpr int kVerticalPadding = 8;

// How many lines the text takes at the given width when it wraps after the
// last blank that fits, or between two characters where a line has none
// (Chinese). Line ends in the text start new lines.
int CountWrappedLines(wxDC& dc, const wxString& text, int width)
{
    int lines = 0;
    size_t start = 0;
    while (start <= text.length()) {
        size_t end = text.find('\n', start);
        if (end == wxString::npos)
            end = text.length();
        wxString line = text.Mid(start, end - start);
        line.Trim();
        ++lines;
        while (!line.empty()) {
            wxArrayInt widths;
            dc.GetPartialTextExtents(line, widths);
            size_t fits = 0;
            while (fits < widths.size() && widths[fits] <= width)
                ++fits;
            if (fits >= line.length())
                break;
            size_t cut = std::max<size_t>(fits, 1);
            const size_t blank = line.rfind(' ', fits);
            if (blank != wxString::npos && blank > 0)
                cut = blank;
            line = line.Mid(cut);
            line.Trim(false);
            if (!line.empty())
                ++lines;
        }
        if (end == text.length())
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace

CShowChnDlg::CShowChnDlg() = default;

CShowChnDlg::~CShowChnDlg() = default;

bool CShowChnDlg::Create(wxWindow* parent)
{
    if (parent == nullptr || !wxWindow::Create(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE))
        return false;
    Hide();
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
    // No size chosen yet: the lesson text's own 16 points.
    m_cfCaption.heightTwips = (theApp.m_nFontSize > 0 ? theApp.m_nFontSize : 16) * 20;
    m_cfCaption.bold = true;
    m_cfCaption.textColour = RGB(0, 0, 255);
    if (m_richCaption)
        ApplyRichTextFormat(*m_richCaption, m_cfCaption, RGB(255, 153, 18));
}

int CShowChnDlg::HeightFor(int width) const
{
    if (m_richCaption == nullptr)
        return 0;
    wxClientDC dc(m_richCaption);
    dc.SetFont(m_richCaption->GetFont());
    const int lineHeight = std::max(dc.GetCharHeight(), 1);
    // The text control keeps a few pixels at either side of its text.
    const int textWidth = std::max(width - 2 * std::max(m_richCaption->GetMargins().x, 0) - 12, 1);
    // The lesson's lines end in a line break, which opens no line of its own.
    wxString text = m_richCaption->GetValue();
    while (text.EndsWith("\n") || text.EndsWith("\r"))
        text.RemoveLast();
    const int lines = std::clamp(CountWrappedLines(dc, text, textWidth), 1, kMaxLines);
    return lines * (lineHeight + lineHeight / 4) + kVerticalPadding;
}

void CShowChnDlg::OnSize(wxSizeEvent& event)
{
    if (m_richCaption)
        m_richCaption->SetSize(GetClientSize());
    event.Skip();
}
