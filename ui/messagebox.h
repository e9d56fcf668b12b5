// Message boxes go through one function, so tests can answer them.
#pragma once

#include <functional>

#include <wx/defs.h>

#include "platform/cstring.h"

class wxWindow;

using MessageBoxHandler = std::function<int(const CString& text, const CString& caption, long style)>;

// Shows a modal message box (wxMessageBox styles and results).
int ShowMessageBox(const CString& text, const CString& caption = "HalvikEnglish", long style = wxOK,
                   wxWindow* parent = nullptr);
// Replaces the box with a handler (tests); an empty handler restores the box.
void SetMessageBoxHandler(MessageBoxHandler handler);
