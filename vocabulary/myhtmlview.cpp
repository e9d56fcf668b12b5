#include "vocabulary/myhtmlview.h"

#include <wx/sizer.h>

#include "shell/base/explorer1.h"

bool CMyHtmlView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser = CExplorer1::CreateFilling(this, kBrowserId);
    if (m_browser == nullptr)
        return false;
    return true;
}
