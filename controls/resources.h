// The program's numbered resources: menu templates, toolbar descriptions,
// bitmaps and strings, kept by type and name in one table of the process.
// A window (or a test) puts the resources it uses into the table; the menus
// and buttons read them by number as their loaders expect.
//
// The stored forms are the standard ones, so the loaders read every field
// they know from a resource:
// - menu: a menu template (a 16-bit version and header offset, then per item
//   16-bit option flags, a 16-bit command id unless it opens a sub-menu, and
//   its text as zero-terminated UTF-16; MF_END marks the last item of a level);
// - toolbar: 16-bit version 1, image width, image height, button count, then
//   one 16-bit command id per button (0 for a separator);
// - bitmap: a device-independent bitmap as a BMP file holds it after its file
//   header (the information header, the colour table, the rows);
// - string: the text in the program's code page.
#pragma once

#include <cstdint>
#include <vector>

#include <wx/image.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

enum class EResourceType : UINT { Bitmap = 2, Menu = 4, String = 6, Toolbar = 241 };

// The name of a numbered resource ("#" and the number), as a resource name
// made from a number stands for it.
CString ResourceName(UINT number);

// Puts a resource into the table (replacing one of the same type and name),
// takes it out, and finds it (null when missing).
void SetResource(EResourceType type, const CString& name, std::vector<uint8_t> bytes);
void RemoveResource(EResourceType type, const CString& name);
const std::vector<uint8_t>* FindResource(EResourceType type, const CString& name);

// Strings by number; "" when missing.
void SetStringResource(UINT id, const CString& text);
CString LoadStringResource(UINT id);

// ---- Menu templates ----
// One item of a menu template: a plain item (id 0 and no text: a
// separator) or, with children, a sub-menu.
struct SMenuTemplateItem {
    CString text;
    UINT id = 0;
    UINT flags = 0;   // MF_CHECKED, MF_GRAYED and the like; MF_POPUP and MF_END are set by the writer
    std::vector<SMenuTemplateItem> children;
    bool popup = false;
};
std::vector<uint8_t> WriteMenuTemplate(const std::vector<SMenuTemplateItem>& topLevel);

// ---- Toolbars ----
std::vector<uint8_t> WriteToolbarResource(int imageWidth, int imageHeight, const std::vector<UINT>& commandIds);

// ---- Bitmaps ----
// The fields of a bitmap's information header that the loaders read.
struct SBitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
// The header at the start of a bitmap resource; false when it is too short.
bool ReadBitmapInfoHeader(const std::vector<uint8_t>& bytes, SBitmapInfoHeader& header);
// A device-independent bitmap of the image with 1, 4 or 8 bits per pixel (a
// colour table of the image's colours, which must fit) or 24; empty when the
// colours do not fit.
std::vector<uint8_t> WriteBitmapResource(const wxImage& image, int bitsPerPixel);
// The picture of an uncompressed bitmap resource of 1, 4, 8, 24 or 32 bits
// per pixel; an invalid image for anything else or a truncated resource.
wxImage ReadBitmapResource(const std::vector<uint8_t>& bytes);
