#include "ui/browsefolder.h"

#include <wx/dirdlg.h>

#include "ui/wxtext.h"

CString BrowseForFolder(wxWindow* owner, const CString& title)
{
    wxDirDialog dialog(owner, ToWx(title), wxEmptyString, wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return CString();
    CString folder = FromWx(dialog.GetPath());
    if (folder.IsEmpty())
        return CString();
    if (folder.Right(1) != "/")
        folder += '/';
    return folder;
}
