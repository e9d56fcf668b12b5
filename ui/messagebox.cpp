#include "ui/messagebox.h"

#include <wx/msgdlg.h>

#include "ui/wxtext.h"

namespace {
MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

int ShowMessageBox(const CString& text, const CString& caption, long style, wxWindow* parent)
{
    if (Handler())
        return Handler()(text, caption, style);
    return wxMessageBox(ToWx(text), ToWx(caption), style, parent);
}

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }
