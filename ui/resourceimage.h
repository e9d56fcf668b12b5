// The skin images the program ships in the "res" folder beside the executable.
#pragma once

#include <wx/bitmap.h>

#include "platform/cstring.h"

// The full path of a file in the res folder: below the program folder that
// start-up stored (theApp.m_strAppDir) or, before start-up has set it, below
// the folder of the running executable.
CString GetResourcePath(const CString& fileName);

// Loads an image of the res folder (PNG, with its alpha channel when it has
// one). An invalid bitmap when the file is missing or unreadable; nothing is
// reported to the user.
wxBitmap LoadResourceBitmap(const CString& fileName);
