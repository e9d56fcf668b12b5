// Message boxes go through one function, so tests can answer them.
#pragma once

#include <functional>
#include <memory>

#include <wx/defs.h>

#include "platform/cstring.h"

class wxMessageDialog;
class wxWindow;

using MessageBoxHandler = std::function<int(const CString& text, const CString& caption, long style)>;

// Shows a modal message box (wxMessageBox styles and results).
int ShowMessageBox(const CString& text, const CString& caption = "HalvikEnglish", long style = wxOK,
                   wxWindow* parent = nullptr);
// The box ShowMessageBox shows, its buttons labelled in Chinese whatever the
// machine's locale.
std::unique_ptr<wxMessageDialog> MakeMessageBox(const CString& text, const CString& caption, long style,
                                                wxWindow* parent);
// Replaces the box with a handler (tests); an empty handler restores the box.
void SetMessageBoxHandler(MessageBoxHandler handler);
