// Asks the learner for a folder with the toolkit's folder picker.
#pragma once

#include "platform/cstring.h"

class wxWindow;

// The chosen folder with a trailing "/", or "" when the picker was cancelled;
// owner may be null.
CString BrowseForFolder(wxWindow* owner, const CString& title);
