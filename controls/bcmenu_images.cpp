// Item images of the owner-drawn menu: bitmap resources put into image lists
// with a mask colour, the list of command images that all menus share, the
// faded and shadow copies of raised images, colour swatches, check images,
// the embossed look of disabled items and the colour arithmetic.
#include "controls/bcmenu.h"

#include <algorithm>
#include <optional>

#include <wx/dcmemory.h>
#include <wx/image.h>

#include "controls/bcmenutoolbar.h"
#include "controls/dcdraw.h"
#include "controls/resources.h"

namespace {

COLORREF PixelAt(const wxImage& image, int x, int y)
{
    return RGB(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

wxImage Fitted(wxImage image, const wxSize& size)
{
    if (image.GetSize() != size)
        image.Rescale(size.x, size.y);
    return image;
}

// A bitmap of the list's image size: the picture itself (keeping its mask)
// when it fits, else scaled.
wxBitmap FittedBitmap(const wxBitmap& bitmap, const wxSize& size)
{
    return bitmap.GetSize() == size ? bitmap : wxBitmap(Fitted(bitmap.ConvertToImage(), size));
}

// Adds a picture to a list: a strip at least as wide as the list's images
// becomes one image per image width, anything narrower is scaled. With a
// mask colour, pixels of that colour let the background through. The first
// index added, or -1.
int AddImageToList(wxImageList& list, const wxImage& image, std::optional<COLORREF> mask)
{
    const wxSize size = list.GetSize();
    if (!image.IsOk() || size.x <= 0 || size.y <= 0)
        return -1;
    std::vector<wxImage> pieces;
    if (image.GetWidth() >= size.x) {
        const int height = std::min(image.GetHeight(), size.y);
        for (int i = 0; i < image.GetWidth() / size.x; ++i)
            pieces.push_back(Fitted(image.GetSubImage(wxRect(i * size.x, 0, size.x, height)), size));
    } else {
        pieces.push_back(Fitted(image, size));
    }
    int first = -1;
    for (wxImage& piece : pieces) {
        if (mask)
            piece.SetMaskColour(GetRValue(*mask), GetGValue(*mask), GetBValue(*mask));
        const int index = list.Add(wxBitmap(piece));
        if (first < 0)
            first = index;
    }
    return first;
}

int AddBitmapToList(wxImageList& list, const wxBitmap& bitmap)
{
    if (!bitmap.IsOk())
        return -1;
    return list.Add(FittedBitmap(bitmap, list.GetSize()));
}

// The list's image as the toolkit keeps it ("extracting an icon"); invalid
// for an index outside the list.
wxBitmap ListImage(const wxImageList* list, int index)
{
    if (!list || index < 0 || index >= list->GetImageCount())
        return wxNullBitmap;
    return list->GetBitmap(index);
}

// The button-face colour as a bitmap stores it: what a fill with it reads
// back as.
COLORREF StoredButtonFace()
{
    wxBitmap probe(2, 2, 24);
    {
        wxMemoryDC dc(probe);
        FillSolidRect(dc, 0, 0, 2, 2, SystemColour(wxSYS_COLOUR_BTNFACE));
    }
    return PixelAt(probe.ConvertToImage(), 1, 1);
}

// Paints the pixels of a shape (row by row, width x height) in a colour;
// the others are left as they are.
void DrawShape(wxDC& dc, const std::vector<bool>& shape, int width, int height, int x, int y, COLORREF colour)
{
    wxImage image(width, height);
    const COLORREF key = colour == RGB(255, 0, 255) ? RGB(0, 255, 0) : RGB(255, 0, 255);
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            const COLORREF c = shape[static_cast<size_t>(py * width + px)] ? colour : key;
            image.SetRGB(px, py, GetRValue(c), GetGValue(c), GetBValue(c));
        }
    }
    image.SetMaskColour(GetRValue(key), GetGValue(key), GetBValue(key));
    dc.DrawBitmap(wxBitmap(image), x, y, true);
}

// The embossed image of a shape: background, the shape in the highlight
// colour one pixel down and right, then in the shadow colour in place.
void DrawEmbossedShape(wxDC& dest, const std::vector<bool>& shape, int x, int y, int width, int height,
                       COLORREF background)
{
    FillSolidRect(dest, x, y, width, height, background);
    DrawShape(dest, shape, width, height, x + 1, y + 1, SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT));
    DrawShape(dest, shape, width, height, x, y, SystemColour(wxSYS_COLOUR_BTNSHADOW));
}

// The part of a bitmap at (srcX, srcY), width x height; outside the bitmap
// reads as white.
wxImage SourcePart(const wxBitmap& bitmap, int srcX, int srcY, int width, int height)
{
    wxImage part(width, height);
    part.SetRGB(wxRect(0, 0, width, height), 255, 255, 255);
    if (!bitmap.IsOk())
        return part;
    const wxImage source = bitmap.ConvertToImage();
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            const int sx = srcX + px;
            const int sy = srcY + py;
            if (sx < 0 || sy < 0 || sx >= source.GetWidth() || sy >= source.GetHeight())
                continue;
            part.SetRGB(px, py, source.GetRed(sx, sy), source.GetGreen(sx, sy), source.GetBlue(sx, sy));
        }
    }
    return part;
}

// Whether a pixel lies on a hatch line: lines eight pixels apart, as the
// hatch brushes of Windows draw them.
bool OnHatch(int hatchStyle, int x, int y)
{
    const bool horizontal = y % 8 == 0;
    const bool vertical = x % 8 == 0;
    const bool down = (x - y + 64) % 8 == 0;
    const bool up = (x + y) % 8 == 0;
    switch (hatchStyle) {
    case BCMenu::HS_HORIZONTAL: return horizontal;
    case BCMenu::HS_VERTICAL: return vertical;
    case BCMenu::HS_FDIAGONAL: return down;
    case BCMenu::HS_BDIAGONAL: return up;
    case BCMenu::HS_CROSS: return horizontal || vertical;
    default: return down || up;
    }
}

} // namespace

// ---- Colours ----

COLORREF BCMenu::LightenColour(COLORREF colour, double factor)
{
    if (!(factor > 0.0 && factor <= 1.0))
        return colour;
    const auto lighten = [factor](int channel) { return channel + static_cast<int>(factor * (255 - channel)); };
    return RGB(lighten(GetRValue(colour)), lighten(GetGValue(colour)), lighten(GetBValue(colour)));
}

COLORREF BCMenu::DarkenColour(COLORREF colour, double factor)
{
    if (!(factor > 0.0 && factor <= 1.0))
        return colour;
    const auto darken = [factor](int channel) { return channel - static_cast<int>(factor * channel); };
    return RGB(darken(GetRValue(colour)), darken(GetGValue(colour)), darken(GetBValue(colour)));
}

// ---- Loading ----

COLORREF BCMenu::MaskColour() const
{
    return m_useTransparentColour ? m_transparentColour : SystemColour(wxSYS_COLOUR_BTNFACE);
}

std::unique_ptr<wxImageList> BCMenu::NewImageList() const
{
    return std::make_unique<wxImageList>(m_imageWidth, m_imageHeight, true, 1);
}

uint16_t BCMenu::BitmapColourCount(const SBitmapInfoHeader& header)
{
    if (header.biClrUsed != 0)
        return static_cast<uint16_t>(header.biClrUsed & 0xFFFF);
    switch (header.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

COLORREF BCMenu::MapSysColour(COLORREF colour)
{
    const struct {
        COLORREF from;
        wxSystemColour to;
    } map[] = {
        {RGB(0, 0, 0), wxSYS_COLOUR_BTNTEXT},
        {RGB(128, 128, 128), wxSYS_COLOUR_BTNSHADOW},
        {RGB(192, 192, 192), wxSYS_COLOUR_BTNFACE},
        {RGB(255, 255, 255), wxSYS_COLOUR_BTNHIGHLIGHT},
    };
    for (const auto& entry : map) {
        if (colour == entry.from)
            return SystemColour(entry.to);
    }
    return colour;
}

wxBitmap BCMenu::MapSysColours(const wxImage& source)
{
    if (!source.IsOk())
        return wxNullBitmap;
    wxImage image = source.Copy();
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const COLORREF pixel = PixelAt(image, x, y);
            const COLORREF mapped = MapSysColour(pixel);
            if (mapped != pixel)
                image.SetRGB(x, y, GetRValue(mapped), GetGValue(mapped), GetBValue(mapped));
        }
    }
    return wxBitmap(image);
}

wxBitmap BCMenu::LoadSysColourBitmap(UINT resource)
{
    const std::vector<uint8_t>* bytes = FindResource(EResourceType::Bitmap, ResourceName(resource));
    SBitmapInfoHeader header;
    if (!bytes || !ReadBitmapInfoHeader(*bytes, header) || BitmapColourCount(header) != 16)
        return wxNullBitmap;
    return MapSysColours(ReadBitmapResource(*bytes));
}

int BCMenu::AddResourcePieces(wxImageList* list, UINT resource)
{
    // A resource number never stands for an icon handle here, whatever
    // m_imagesAreIcons says (no operation sets it).
    if (!list)
        return -1;
    // A mask colour that the system colours replaced in the bitmap is
    // replaced the same way, or the toolbar's grey would show wherever the
    // button face is not that grey.
    const wxBitmap mapped = LoadSysColourBitmap(resource);
    if (mapped.IsOk())
        return AddImageToList(*list, mapped.ConvertToImage(), MapSysColour(MaskColour()));
    const std::vector<uint8_t>* bytes = FindResource(EResourceType::Bitmap, ResourceName(resource));
    return bytes ? AddImageToList(*list, ReadBitmapResource(*bytes), MaskColour()) : -1;
}

BOOL BCMenu::AddResourceImage(wxImageList* list, UINT resource)
{
    if (AddResourcePieces(list, resource) < 0)
        return FALSE;
    AddVariantsOfFirst(list);
    return TRUE;
}

// ---- Copies of an image ----

BOOL BCMenu::RenderListImage(wxImageList* list, int index, wxBitmap& bitmap)
{
    bitmap = wxBitmap(m_imageWidth, m_imageHeight, 24);
    wxMemoryDC dc(bitmap);
    FillSolidRect(dc, 0, 0, m_imageWidth, m_imageHeight, SystemColour(wxSYS_COLOUR_BTNFACE));
    const wxBitmap image = ListImage(list, index);
    if (image.IsOk())
        dc.DrawBitmap(FittedBitmap(image, wxSize(m_imageWidth, m_imageHeight)), 0, 0, true);
    dc.SelectObject(wxNullBitmap);
    return TRUE;
}

void BCMenu::FadeBitmap(wxBitmap& bitmap)
{
    const COLORREF background = StoredButtonFace();
    wxImage image = bitmap.ConvertToImage();
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const COLORREF pixel = PixelAt(image, x, y);
            if (pixel == background)
                continue;
            const COLORREF faded = LightenColour(pixel, 0.3);
            image.SetRGB(x, y, GetRValue(faded), GetGValue(faded), GetBValue(faded));
        }
    }
    bitmap = wxBitmap(image);
}

void BCMenu::ShadowBitmap(wxBitmap& bitmap)
{
    const COLORREF background = StoredButtonFace();
    COLORREF shadow = SystemColour(wxSYS_COLOUR_BTNSHADOW);
    if (!IsXPThemed())
        shadow = LightenColour(shadow, 0.49);
    wxImage image = bitmap.ConvertToImage();
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (PixelAt(image, x, y) != background)
                image.SetRGB(x, y, GetRValue(shadow), GetGValue(shadow), GetBValue(shadow));
        }
    }
    bitmap = wxBitmap(image);
}

void BCMenu::MakeVariants(wxImageList* list, int index, wxBitmap& faded, wxBitmap& shadow)
{
    RenderListImage(list, index, faded);
    FadeBitmap(faded);
    RenderListImage(list, index, shadow);
    ShadowBitmap(shadow);
}

void BCMenu::AddVariantsOfFirst(wxImageList* list)
{
    if (!Is3DImageStyle())
        return;
    wxBitmap faded;
    wxBitmap shadow;
    MakeVariants(list, 0, faded, shadow);
    AddImageToList(*list, faded.ConvertToImage(), StoredButtonFace());
    AddImageToList(*list, shadow.ConvertToImage(), StoredButtonFace());
}

BOOL BCMenu::CopyListImage(wxImageList* source, int index, wxImageList* target)
{
    if (!source || !target || index < 0)
        return FALSE;
    const wxBitmap image = ListImage(source, index);
    const wxSize size = source->GetSize();
    target->RemoveAll();
    target->Create(size.x, size.y, true, 1);
    AddBitmapToList(*target, image);
    AddVariantsOfFirst(target);
    return TRUE;
}

// ---- The shared list ----

int BCMenu::SharedImageIndex(int commandId)
{
    for (size_t i = 0; i < s_sharedImageIds.size(); ++i) {
        if (s_sharedImageIds[i] == commandId)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL BCMenu::HasSharedVariants(int index)
{
    const size_t count = s_sharedImageIds.size();
    if (index < 0 || static_cast<size_t>(index) + 2 >= count)
        return FALSE;
    const auto at = [](int i) { return s_sharedImageIds[static_cast<size_t>(i)]; };
    return at(index) == at(index + 1) && at(index) == at(index + 2) ? TRUE : FALSE;
}

int BCMenu::AddSharedImage(wxImageList* list, int index, int commandId)
{
    if (!s_sharedImages)
        s_sharedImages = NewImageList();
    const wxBitmap icon = ListImage(list, index);
    if (!icon.IsOk())
        return -1;
    const bool variants = Is3DImageStyle();
    wxBitmap faded;
    wxBitmap shadow;
    if (variants)
        MakeVariants(list, index, faded, shadow);

    const int present = SharedImageIndex(commandId);
    const int count = static_cast<int>(s_sharedImageIds.size());
    if (present < 0) {
        AddBitmapToList(*s_sharedImages, icon);
        s_sharedImageIds.push_back(commandId);
        if (variants) {
            AddImageToList(*s_sharedImages, faded.ConvertToImage(), StoredButtonFace());
            AddImageToList(*s_sharedImages, shadow.ConvertToImage(), StoredButtonFace());
            s_sharedImageIds.push_back(commandId);
            s_sharedImageIds.push_back(commandId);
        }
        return count;
    }
    // The command has an image: it is replaced where it stands, so every
    // record that points at it shows the new one.
    const wxSize size = s_sharedImages->GetSize();
    s_sharedImages->Replace(present, FittedBitmap(icon, size));
    if (variants && present + 2 < count && s_sharedImageIds[static_cast<size_t>(present + 1)] == commandId &&
        s_sharedImageIds[static_cast<size_t>(present + 2)] == commandId) {
        // Each copy masked as an added one is.
        const auto masked = [size](const wxBitmap& copy) {
            wxImageList one(size.x, size.y, true, 1);
            AddImageToList(one, copy.ConvertToImage(), StoredButtonFace());
            return one.GetBitmap(0);
        };
        s_sharedImages->Replace(present + 1, masked(faded));
        s_sharedImages->Replace(present + 2, masked(shadow));
    }
    return present;
}

// ---- Toolbars, swatches, check images ----

BOOL BCMenu::FindToolbarImage(UINT commandId, UINT toolbar, int& image)
{
    BCMenuToolBar bar;
    if (!bar.LoadToolBar(toolbar))
        return FALSE;
    const int index = bar.CommandToIndex(commandId);
    if (index < 0)
        return FALSE;
    const int number = bar.GetButtonImage(index);
    if (number > 0)
        image = number;
    return TRUE;
}

void BCMenu::FillColourBitmap(wxBitmap& bitmap, CSize swatch, CSize image, COLORREF fill, COLORREF border,
                              int hatchStyle)
{
    const COLORREF background = SystemColour(IsXPThemed() ? wxSYS_COLOUR_BTNFACE : wxSYS_COLOUR_MENU);
    bitmap = wxBitmap(std::max(1, image.cx), std::max(1, image.cy), 24);
    wxMemoryDC dc(bitmap);
    CRect rect(0, 0, swatch.cx, swatch.cy);
    if (!(swatch == image)) {
        FillSolidRect(dc, 0, 0, image.cx, image.cy, background);
        rect.left = (image.cx - swatch.cx) / 2;
        rect.top = (image.cy - swatch.cy) / 2;
        rect.right = rect.left + swatch.cx;
        rect.bottom = rect.top + swatch.cy;
    }
    // Inside the one-pixel border: solid, or the hatch over white as a
    // hatch brush paints on an opaque background (whole pixels: the
    // toolkit's hatch brushes are smoothed).
    CRect inside = rect;
    inside.DeflateRect(1, 1);
    if (hatchStyle == -1) {
        FillSolidRect(dc, inside, fill);
    } else {
        FillSolidRect(dc, inside, RGB(255, 255, 255));
        for (int y = inside.top; y < inside.bottom; ++y)
            for (int x = inside.left; x < inside.right; ++x)
                if (OnHatch(hatchStyle, x, y))
                    FillSolidRect(dc, x, y, 1, 1, fill);
    }
    FrameRect(dc, rect, border);
    dc.SelectObject(wxNullBitmap);
}

void BCMenu::SetCheckImages(int unselectedResource, int selectedResource)
{
    if (unselectedResource <= 0 || selectedResource <= 0)
        return;
    m_selectedCheckId = selectedResource;
    m_unselectedCheckId = unselectedResource;
    // A sub-menu that uses its parent's images gets its own rather than
    // emptying the parent's.
    m_ownCheckImages = NewImageList();
    m_checkImages = m_ownCheckImages.get();
    if (AddResourcePieces(m_checkImages, static_cast<UINT>(unselectedResource)) < 0 ||
        AddResourcePieces(m_checkImages, static_cast<UINT>(selectedResource)) < 0) {
        m_ownCheckImages.reset();
        m_checkImages = nullptr;
    }
}

// ---- Disabled images ----

void BCMenu::DrawDisabledImage(wxDC& dest, int x, int y, int width, int height, const wxBitmap& bitmap, int srcX,
                               int srcY, COLORREF background)
{
    if (width < 1 || height < 1)
        return;
    // The shape: every pixel that is neither button face nor highlight.
    const wxImage part = SourcePart(bitmap, srcX, srcY, width, height);
    const COLORREF face = StoredButtonFace();
    const COLORREF light = SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT);
    std::vector<bool> shape(static_cast<size_t>(width * height));
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            const COLORREF pixel = PixelAt(part, px, py);
            shape[static_cast<size_t>(py * width + px)] = pixel != face && pixel != light;
        }
    }
    // The highlight pass reaches one pixel past the image at the right and
    // bottom, over the background there too.
    FillSolidRect(dest, x + 1, y + 1, width, height, background);
    DrawEmbossedShape(dest, shape, x, y, width, height, background);
}

void BCMenu::DrawDisabledImageMono(wxDC& dest, int x, int y, int width, int height, const wxBitmap& bitmap,
                                   int srcX, int srcY, COLORREF background)
{
    if (width < 1 || height < 1 || !bitmap.IsOk())
        return;
    // One bit per pixel: the shape is what is nearer black than white.
    const wxImage part = SourcePart(bitmap, srcX, srcY, width, height);
    std::vector<bool> shape(static_cast<size_t>(width * height));
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            const int r = part.GetRed(px, py);
            const int g = part.GetGreen(px, py);
            const int b = part.GetBlue(px, py);
            const int toBlack = r * r + g * g + b * b;
            const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
            shape[static_cast<size_t>(py * width + px)] = toBlack < toWhite;
        }
    }
    DrawEmbossedShape(dest, shape, x, y, width, height, background);
}
