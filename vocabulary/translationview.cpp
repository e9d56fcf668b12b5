#include "vocabulary/translationview.h"

#include <wx/stattext.h>

bool CTranslationView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    // A form's margin, in dialog units.
    m_label = new wxStaticText(this, wxID_ANY, "translation", ConvertDialogToPixels(wxPoint(7, 7)));
    return true;
}
