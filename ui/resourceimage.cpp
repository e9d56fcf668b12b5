#include "ui/resourceimage.h"

#include <string>

#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/log.h>
#include <wx/mstream.h>

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
    // The program's images are a few kilobytes each.
    constexpr int64_t kMaxImageBytes = int64_t{16} * 1024 * 1024;
    std::string png;
    if (fileName.IsEmpty() || ReadRegularFile(GetResourcePath(fileName), png, kMaxImageBytes) != EFileReadResult::Read)
        return wxBitmap();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    // A damaged file must not pop up the toolkit's error box.
    wxLogNull quiet;
    wxImage image;
    wxMemoryInputStream stream(png.data(), png.size());
    if (!image.LoadFile(stream, wxBITMAP_TYPE_PNG) || !image.IsOk())
        return wxBitmap();
    return wxBitmap(image);
}
