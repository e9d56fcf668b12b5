#include "controls/bcmenumemdc.h"

#include <wx/dcprint.h>

BCMenuMemDC::BCMenuMemDC(wxDC& target, const CRect& rect) : m_target(target), m_rect(rect)
{
    if (dynamic_cast<wxPrinterDC*>(&target) || rect.IsRectEmpty())
        return;
    m_bitmap = wxBitmap(rect.Width(), rect.Height(), 24);
    m_memDC = std::make_unique<wxMemoryDC>(m_bitmap);
    // Drawing uses the target's coordinates.
    m_memDC->SetDeviceOrigin(-rect.left, -rect.top);
    m_memDC->SetFont(target.GetFont());
}

BCMenuMemDC::~BCMenuMemDC()
{
    if (!m_memDC)
        return;
    m_memDC->SetDeviceOrigin(0, 0);
    m_target.Blit(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_memDC.get(), 0, 0);
    m_memDC->SelectObject(wxNullBitmap);
}
