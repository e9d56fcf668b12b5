#include "ui/resourceimage.h"

#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/log.h>

#include "platform/file.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"

CString GetResourcePath(const CString& fileName)
{
    CString folder = theApp.m_strAppDir.IsEmpty() ? GetProgramFolder() : theApp.m_strAppDir;
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '/')
        folder += '/';
    return folder + "res/" + fileName;
}

wxBitmap LoadResourceBitmap(const CString& fileName)
{
    const CString path = GetResourcePath(fileName);
    if (fileName.IsEmpty() || !IsRegularFile(path))
        return wxBitmap();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    // A damaged file must not pop up the toolkit's error box.
    wxLogNull quiet;
    wxImage image;
    if (!image.LoadFile(ToWx(path), wxBITMAP_TYPE_PNG) || !image.IsOk())
        return wxBitmap();
    return wxBitmap(image);
}
