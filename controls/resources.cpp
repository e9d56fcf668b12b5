#include "controls/resources.h"

#include <map>
#include <utility>

#include "ui/wxtext.h"

namespace {

using ResourceKey = std::pair<UINT, std::string>;

std::map<ResourceKey, std::vector<uint8_t>>& Table()
{
    static std::map<ResourceKey, std::vector<uint8_t>> table;
    return table;
}

ResourceKey Key(EResourceType type, const CString& name) { return {static_cast<UINT>(type), name.str()}; }

void Put16(std::vector<uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint32_t Get32(const std::vector<uint8_t>& in, size_t at)
{
    return static_cast<uint32_t>(in[at]) | static_cast<uint32_t>(in[at + 1]) << 8 |
           static_cast<uint32_t>(in[at + 2]) << 16 | static_cast<uint32_t>(in[at + 3]) << 24;
}

uint16_t Get16(const std::vector<uint8_t>& in, size_t at)
{
    return static_cast<uint16_t>(in[at] | in[at + 1] << 8);
}

// The text as zero-terminated UTF-16.
void PutText(std::vector<uint8_t>& out, const CString& text)
{
    const std::wstring wide = ToWx(text).ToStdWstring();
    for (wchar_t ch : wide) {
        const auto code = static_cast<uint32_t>(ch);
        if (code >= 0x10000) {
            Put16(out, 0xD800 + ((code - 0x10000) >> 10));
            Put16(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            Put16(out, code);
        }
    }
    Put16(out, 0);
}

constexpr UINT kPopup = 0x10;
constexpr UINT kEnd = 0x80;

void PutLevel(std::vector<uint8_t>& out, const std::vector<SMenuTemplateItem>& items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const SMenuTemplateItem& item = items[i];
        UINT flags = item.flags & ~(kPopup | kEnd);
        if (item.popup)
            flags |= kPopup;
        if (i + 1 == items.size())
            flags |= kEnd;
        Put16(out, flags);
        if (!item.popup)
            Put16(out, item.id);
        PutText(out, item.text);
        if (item.popup)
            PutLevel(out, item.children);
    }
}

int RowBytes(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

} // namespace

CString ResourceName(UINT number)
{
    CString name;
    name.Format("#%u", number);
    return name;
}

void SetResource(EResourceType type, const CString& name, std::vector<uint8_t> bytes)
{
    Table()[Key(type, name)] = std::move(bytes);
}

void RemoveResource(EResourceType type, const CString& name) { Table().erase(Key(type, name)); }

const std::vector<uint8_t>* FindResource(EResourceType type, const CString& name)
{
    const auto found = Table().find(Key(type, name));
    return found != Table().end() ? &found->second : nullptr;
}

void SetStringResource(UINT id, const CString& text)
{
    SetResource(EResourceType::String, ResourceName(id), std::vector<uint8_t>(text.str().begin(), text.str().end()));
}

CString LoadStringResource(UINT id)
{
    const std::vector<uint8_t>* bytes = FindResource(EResourceType::String, ResourceName(id));
    return bytes ? CString(std::string(bytes->begin(), bytes->end())) : CString();
}

std::vector<uint8_t> WriteMenuTemplate(const std::vector<SMenuTemplateItem>& topLevel)
{
    std::vector<uint8_t> out;
    Put16(out, 0);   // version
    Put16(out, 0);   // header offset: the items follow at once
    PutLevel(out, topLevel);
    return out;
}

std::vector<uint8_t> WriteToolbarResource(int imageWidth, int imageHeight, const std::vector<UINT>& commandIds)
{
    std::vector<uint8_t> out;
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(imageWidth));
    Put16(out, static_cast<unsigned>(imageHeight));
    Put16(out, static_cast<unsigned>(commandIds.size()));
    for (UINT id : commandIds)
        Put16(out, id);
    return out;
}

bool ReadBitmapInfoHeader(const std::vector<uint8_t>& bytes, SBitmapInfoHeader& header)
{
    if (bytes.size() < 40)
        return false;
    header.biSize = Get32(bytes, 0);
    header.biWidth = static_cast<int32_t>(Get32(bytes, 4));
    header.biHeight = static_cast<int32_t>(Get32(bytes, 8));
    header.biPlanes = Get16(bytes, 12);
    header.biBitCount = Get16(bytes, 14);
    header.biCompression = Get32(bytes, 16);
    header.biSizeImage = Get32(bytes, 20);
    header.biXPelsPerMeter = static_cast<int32_t>(Get32(bytes, 24));
    header.biYPelsPerMeter = static_cast<int32_t>(Get32(bytes, 28));
    header.biClrUsed = Get32(bytes, 32);
    header.biClrImportant = Get32(bytes, 36);
    return header.biSize >= 40;
}

std::vector<uint8_t> WriteBitmapResource(const wxImage& image, int bitsPerPixel)
{
    if (!image.IsOk() || (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24))
        return {};
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    std::vector<COLORREF> palette;
    std::map<COLORREF, int> indexOf;
    if (bitsPerPixel < 24) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF colour = RGB(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
                if (indexOf.emplace(colour, static_cast<int>(palette.size())).second)
                    palette.push_back(colour);
            }
        }
        if (palette.size() > (1u << bitsPerPixel))
            return {};
        palette.resize(1u << bitsPerPixel, RGB(0, 0, 0));
    }

    const int rowBytes = RowBytes(width, bitsPerPixel);
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));   // positive: rows bottom up
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitsPerPixel));
    Put32(out, 0);   // no compression
    Put32(out, static_cast<uint32_t>(rowBytes * height));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);   // every entry of the table counts
    Put32(out, 0);
    for (COLORREF colour : palette) {
        out.push_back(static_cast<uint8_t>(GetBValue(colour)));
        out.push_back(static_cast<uint8_t>(GetGValue(colour)));
        out.push_back(static_cast<uint8_t>(GetRValue(colour)));
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
        for (int x = 0; x < width; ++x) {
            const int r = image.GetRed(x, y);
            const int g = image.GetGreen(x, y);
            const int b = image.GetBlue(x, y);
            if (bitsPerPixel == 24) {
                row[static_cast<size_t>(x * 3)] = static_cast<uint8_t>(b);
                row[static_cast<size_t>(x * 3 + 1)] = static_cast<uint8_t>(g);
                row[static_cast<size_t>(x * 3 + 2)] = static_cast<uint8_t>(r);
                continue;
            }
            const int index = indexOf[RGB(r, g, b)];
            const int bit = x * bitsPerPixel;
            const int shift = 8 - bitsPerPixel - bit % 8;
            row[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(index << shift);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

wxImage ReadBitmapResource(const std::vector<uint8_t>& bytes)
{
    SBitmapInfoHeader header;
    if (!ReadBitmapInfoHeader(bytes, header) || header.biCompression != 0 || header.biWidth <= 0 ||
        header.biHeight == 0)
        return wxImage();
    const int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return wxImage();
    const int width = header.biWidth;
    const bool bottomUp = header.biHeight > 0;
    const int height = bottomUp ? header.biHeight : -header.biHeight;
    size_t colours = 0;
    if (bits <= 8)
        colours = header.biClrUsed != 0 ? header.biClrUsed : (1u << bits);
    const size_t tableAt = header.biSize;
    const size_t rowsAt = tableAt + colours * 4;
    const size_t rowBytes = static_cast<size_t>(RowBytes(width, bits));
    if (colours > 256 || bytes.size() < rowsAt + rowBytes * static_cast<size_t>(height))
        return wxImage();

    wxImage image(width, height, false);
    for (int row = 0; row < height; ++row) {
        const int y = bottomUp ? height - 1 - row : row;
        const size_t at = rowsAt + rowBytes * static_cast<size_t>(row);
        for (int x = 0; x < width; ++x) {
            if (bits >= 24) {
                const size_t p = at + static_cast<size_t>(x * bits / 8);
                image.SetRGB(x, y, bytes[p + 2], bytes[p + 1], bytes[p]);
                continue;
            }
            const int bit = x * bits;
            const int shift = 8 - bits - bit % 8;
            const size_t index = (bytes[at + static_cast<size_t>(bit / 8)] >> shift) & ((1u << bits) - 1);
            if (index >= colours)
                return wxImage();
            const size_t entry = tableAt + index * 4;
            image.SetRGB(x, y, bytes[entry + 2], bytes[entry + 1], bytes[entry]);
        }
    }
    return image;
}
