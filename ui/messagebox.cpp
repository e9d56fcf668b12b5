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

std::unique_ptr<wxMessageDialog> MakeMessageBox(const CString& text, const CString& caption, long style,
                                                wxWindow* parent)
{
    // wxMessageBox's buttons follow the locale: English under the C locale.
    auto dialog = std::make_unique<wxMessageDialog>(parent, ToWx(text), ToWx(caption), style | wxCENTRE);
    if (style & wxYES_NO) {
        if (style & wxCANCEL)
            dialog->SetYesNoCancelLabels(ToWx("是"), ToWx("否"), ToWx("取消"));
        else
            dialog->SetYesNoLabels(ToWx("是"), ToWx("否"));
    } else if (style & wxCANCEL) {
        dialog->SetOKCancelLabels(ToWx("确定"), ToWx("取消"));
    } else {
        dialog->SetOKLabel(ToWx("确定"));
    }
    return dialog;
}

int ShowMessageBox(const CString& text, const CString& caption, long style, wxWindow* parent)
{
    if (Handler())
        return Handler()(text, caption, style);
    // The results wxMessageBox gives for the button pressed.
    switch (MakeMessageBox(text, caption, style, parent)->ShowModal()) {
    case wxID_YES:
        return wxYES;
    case wxID_NO:
        return wxNO;
    case wxID_CANCEL:
        return wxCANCEL;
    default:
        return wxOK;
    }
}

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }
