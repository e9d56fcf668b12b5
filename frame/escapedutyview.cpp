#include "frame/escapedutyview.h"

#include <wx/sizer.h>

bool CEscapeDutyView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser = CExplorer1::CreateFilling(this, wxID_ANY);
    if (m_browser == nullptr)
        return false;
    return true;
}
