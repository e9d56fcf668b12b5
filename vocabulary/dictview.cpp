#include "vocabulary/dictview.h"

#include <algorithm>

#include <wx/listbox.h>
#include <wx/settings.h>

#include "ui/wxcolour.h"
#include "core/quenlow.h"

bool CDictView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    SetBackgroundColour(*wxWHITE);
    m_leftList = new wxListBox(this, kLeftListId);
    m_rightList = new wxListBox(this, kRightListId);
    for (wxListBox* list : {m_leftList, m_rightList})
        list->SetForegroundColour(ToWxColour(kListTextColor));
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        LayoutControls();
    });
    LayoutControls();
    return true;
}

void CDictView::LayoutControls()
{
    const wxSize client = GetClientSize();
    const int left = client.x / 5;
    const int height = std::max(1, client.y);
    m_leftList->SetSize(0, 0, std::max(1, left), height);
    m_rightList->SetSize(left, 0, std::max(1, client.x - left), height);
}

void CDictView::SetListFont()
{
    // The height is a line's (the characters take three quarters of it),
    // as the playlist pane sizes its tree font.
    const double scale = theApp.m_dScaleX > 0 ? theApp.m_dScaleX : 1.0;
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.SetPixelSize(wxSize(0, std::max(1, static_cast<int>(scale * 30) * 3 / 4)));
    m_leftList->SetFont(font);
    m_rightList->SetFont(font);
}
