#include "ui/viewbase.h"

#include "ui/wxtext.h"

bool CView::Create(wxWindow* host, int id)
{
    if (!wxPanel::Create(host, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    Hide();
    return true;
}

bool CDockablePane::Create(wxWindow* frame, const CString& caption, int id)
{
    m_strCaption = caption;
    if (!wxPanel::Create(frame, id, wxPoint(0, 0), wxSize(200, 400), wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    SetName(ToWx(caption));
    return true;
}
