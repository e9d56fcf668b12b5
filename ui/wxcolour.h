// Colours crossing into and out of the toolkit: the program keeps COLORREF
// values (0x00BBGGRR, as the stored settings hold them).
#pragma once

#include <wx/colour.h>

#include "platform/wintypes.h"

inline wxColour ToWxColour(COLORREF colour)
{
    return wxColour(static_cast<unsigned char>(GetRValue(colour)), static_cast<unsigned char>(GetGValue(colour)),
                    static_cast<unsigned char>(GetBValue(colour)));
}

inline COLORREF FromWxColour(const wxColour& colour) { return RGB(colour.Red(), colour.Green(), colour.Blue()); }
