#include "vocabulary/dictionaryformview.h"

#include <algorithm>

#include <wx/combobox.h>

#include "ui/explorer1.h"

bool CDictionaryFormView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser1 = new CExplorer1;
    if (!m_browser1->Create(this, kFirstBrowserId)) {
        delete m_browser1;
        m_browser1 = nullptr;
        return false;
    }
    m_browser2 = new CExplorer1;
    if (!m_browser2->Create(this, kSecondBrowserId)) {
        delete m_browser2;
        m_browser2 = nullptr;
        return false;
    }
    m_combo = new wxComboBox(this, kComboId);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        LayoutControls();
    });
    LayoutControls();
    return true;
}

void CDictionaryFormView::LayoutControls()
{
    const wxSize client = GetClientSize();
    const int width = std::max(1, client.x - 20);
    const int rest = std::max(1, client.y - kStripHeight);
    m_combo->SetSize(10, 0, width, kStripHeight);
    if (m_bBothBrowsers) {
        m_browser1->SetSize(10, kStripHeight, width, std::max(1, rest / 2));
        m_browser2->SetSize(10, kStripHeight + rest / 2, width, std::max(1, rest - rest / 2));
        m_browser2->Show();
    } else {
        m_browser1->SetSize(10, kStripHeight, width, rest);
        m_browser2->Hide();
    }
}
