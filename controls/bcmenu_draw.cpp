// Measuring and drawing the items of an owner-drawn menu, in the classic
// style (image boxes, a solid highlight behind the text, embossed grey text
// for disabled items) and the XP style (a tinted bar behind the images, a
// light selection rectangle framed in the highlight colour, raised images
// with a shadow), with the check marks of items without an image.
#include "controls/bcmenu.h"

#include <algorithm>

#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "controls/bcmenumemdc.h"
#include "controls/dcdraw.h"
#include "ui/wxcolour.h"

namespace {

// Round half up and cut towards zero, never below 0.
int RoundedHalf(int value) { return std::max(0, static_cast<int>(value / 2.0 + 0.5)); }

// The label (before the first tab) and the accelerator (after the last).
struct SItemText {
    wxString label;
    wxString accelerator;
    bool hasTab = false;
};

SItemText SplitText(const wxString& text)
{
    SItemText parts;
    const int first = text.Find('\t');
    if (first == wxNOT_FOUND) {
        parts.label = text;
        return parts;
    }
    parts.hasTab = true;
    parts.label = text.Left(static_cast<size_t>(first));
    parts.accelerator = text.Mid(static_cast<size_t>(text.Find('\t', true)) + 1);
    return parts;
}

// One line of text in a rectangle, centred vertically, at its left or right
// side. An ampersand underlines the character after it ("&&" is one "&").
void DrawMenuText(wxDC& dc, const wxString& text, const CRect& rect, bool right, COLORREF colour)
{
    wxString shown;
    int underline = -1;
    for (size_t i = 0; i < text.length(); ++i) {
        if (text[i] == '&' && i + 1 < text.length()) {
            ++i;
            if (text[i] != '&' && underline < 0)
                underline = static_cast<int>(shown.length());
        }
        shown += text[i];
    }
    wxCoord width = 0;
    wxCoord height = 0;
    wxCoord descent = 0;
    dc.GetTextExtent(shown, &width, &height, &descent);
    const int x = right ? rect.right - width : rect.left;
    const int y = rect.top + (rect.Height() - height) / 2;
    dc.SetTextForeground(ToWxColour(colour));
    dc.DrawText(shown, x, y);
    if (underline >= 0) {
        const int from = x + dc.GetTextExtent(shown.Left(static_cast<size_t>(underline))).x;
        const int to = x + dc.GetTextExtent(shown.Left(static_cast<size_t>(underline) + 1)).x;
        FillSolidRect(dc, from, y + height - descent + 1, to - from, 1, colour);
    }
}

// The rectangle of an item's text from `left` on; an accelerator ends one
// image width before the item's right edge.
CRect TextRect(const CRect& item, int left, const SItemText& text, int imageWidth)
{
    return CRect(left, item.top - 1, item.right - (text.hasTab ? imageWidth : 0), item.bottom - 1);
}

void DrawItemText(wxDC& dc, const SItemText& text, const CRect& rect, COLORREF colour)
{
    DrawMenuText(dc, text.label, rect, false, colour);
    if (!text.accelerator.empty())
        DrawMenuText(dc, text.accelerator, rect, true, colour);
}

// The etched line of a separator along the rectangle's top.
void DrawEtchedTop(wxDC& dc, const CRect& rect)
{
    FillSolidRect(dc, rect.left, rect.top, rect.Width(), 1, SystemColour(wxSYS_COLOUR_BTNSHADOW));
    FillSolidRect(dc, rect.left, rect.top + 1, rect.Width(), 1, SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT));
}

void DrawListImage(wxDC& dc, wxImageList* list, int index, CPoint at)
{
    if (list && index >= 0 && index < list->GetImageCount())
        list->Draw(index, dc, at.x, at.y, wxIMAGELIST_DRAW_TRANSPARENT);
}

// Selects the menu font into a context while it lives.
class CFontScope {
public:
    explicit CFontScope(wxDC& dc) : m_dc(dc), m_old(dc.GetFont()) { dc.SetFont(BCMenu::GetMenuFont()); }
    ~CFontScope() { m_dc.SetFont(m_old.IsOk() ? m_old : wxNullFont); }
    CFontScope(const CFontScope&) = delete;
    CFontScope& operator=(const CFontScope&) = delete;

private:
    wxDC& m_dc;
    wxFont m_old;
};

// The kinds an item is drawn as.
struct SItemKind {
    bool checkImage = false;      // checked, no image, check images of the menu
    bool image = false;           // an image item
    bool selectedImage = false;   // image item, selected and not disabled
    bool disabledImage = false;   // image item, disabled
};

SItemKind KindOf(int marker, bool selected, bool disabled, bool checked, int selectedCheckId, int unselectedCheckId)
{
    SItemKind kind;
    kind.checkImage = checked && marker < 0 && ((selected && selectedCheckId > 0) || unselectedCheckId > 0);
    kind.image = !kind.checkImage && marker != -1;
    kind.selectedImage = kind.image && selected && !disabled;
    kind.disabledImage = kind.image && disabled;
    return kind;
}

} // namespace

wxFont BCMenu::GetMenuFont()
{
    return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
}

int BCMenu::GetSystemMenuHeight()
{
    if (s_systemMenuHeight > 0)
        return s_systemMenuHeight;
    const int metric = wxSystemSettings::GetMetric(wxSYS_MENU_Y);
    if (metric > 0)
        return metric;
    // A line of the menu font with the margins of a menu item.
    wxBitmap one(1, 1);
    wxMemoryDC dc(one);
    dc.SetFont(GetMenuFont());
    return dc.GetCharHeight() + 6;
}

void BCMenu::SetSystemMenuHeight(int height)
{
    s_systemMenuHeight = height;
}

BCMenu::SItemImage BCMenu::ResolveImage(const BCMenuData* record, bool xpStyle) const
{
    SItemImage image;
    if (!record)
        return image;
    image.list = record->m_ownImages.get();
    image.index = record->m_ownImageIndex;
    image.marker = record->m_imageResource;
    const bool ownMissing = !xpStyle || record->m_ownImageIndex < 0;
    if (image.marker < 0 && record->m_sharedImageIndex >= 0 && ownMissing) {
        image.list = s_sharedImages.get();
        image.index = record->m_sharedImageIndex;
        image.marker = 0;
    }
    return image;
}

void BCMenu::MeasureItem(SMenuMeasureItem* request)
{
    if (!request)
        return;
    const BCMenuData* record = request->itemData;
    const int gap = IsXPStyleActive() && s_xp3DImages ? 7 : 4;
    const int menuHeight = GetSystemMenuHeight();
    if (record && (record->m_flags & MF_SEPARATOR)) {
        request->itemWidth = 0;
        request->itemHeight = static_cast<UINT>(std::max(menuHeight >> 1, (m_imageHeight + gap) / 2));
        return;
    }
    // The whole text, tab and accelerator included.
    wxBitmap one(1, 1);
    wxMemoryDC dc(one);
    dc.SetFont(GetMenuFont());
    const wxString text = record && record->GetTextW() ? wxString(record->GetTextW()) : wxString();
    const int textWidth = text.empty() ? 0 : dc.GetTextExtent(text).x;
    const int width = IsXPStyleActive() ? m_imageWidth + gap + textWidth + 8 : textWidth + 2 * m_imageWidth + 1;
    request->itemWidth = static_cast<UINT>(width);
    request->itemHeight = static_cast<UINT>(std::max(menuHeight, m_imageHeight + gap));
}

void BCMenu::DrawItem(SMenuDrawItem* request)
{
    if (!request || !request->dc)
        return;
    // A palette display has too few colours for the XP look.
    const int depth = request->dc->GetDepth();
    if ((depth > 0 && depth <= 8) || GetDrawMode() != 1)
        DrawItemClassic(request);
    else
        DrawItemXP(request);
}

void BCMenu::DrawItemClassic(SMenuDrawItem* request)
{
    if (!request || !request->dc)
        return;
    wxDC& dc = *request->dc;
    CFontScope font(dc);
    const CRect rect = request->rcItem;
    const int w = m_imageWidth;
    const int h = m_imageHeight;
    const COLORREF back = SystemColour(IsXPThemed() ? wxSYS_COLOUR_BTNFACE : wxSYS_COLOUR_MENU);
    const bool disabled = (request->itemState & ODS_GRAYED) != 0;
    const bool checked = (request->itemState & ODS_CHECKED) != 0;
    bool selected = (request->itemState & ODS_SELECTED) != 0;
    if (disabled && selected && !s_selectDisabledClassic)
        selected = false;
    const BCMenuData* record = request->itemData;

    if (record && (record->m_flags & MF_SEPARATOR)) {
        FillSolidRect(dc, rect, back);
        CRect line = rect;
        line.top += rect.Height() / 2;
        DrawEtchedTop(dc, line);
        return;
    }

    COLORREF textColour = SystemColour(wxSYS_COLOUR_MENUTEXT);
    const SItemImage image = ResolveImage(record, false);
    const wxString text = record && record->GetTextW() ? wxString(record->GetTextW()) : wxString();
    const SItemKind kind = KindOf(image.marker, selected, disabled, checked, m_selectedCheckId, m_unselectedCheckId);

    if (selected) {
        CRect highlight = rect;
        if (kind.checkImage || kind.image || checked)
            highlight.left = rect.left + w + 5;
        FillSolidRect(dc, highlight, SystemColour(wxSYS_COLOUR_HIGHLIGHT));
        textColour = SystemColour(wxSYS_COLOUR_HIGHLIGHTTEXT);
    } else {
        FillSolidRect(dc, rect, back);
    }

    const int dy = std::max(0, (rect.Height() - 4 - h) / 2);
    if (kind.checkImage || kind.image) {
        const CRect box(rect.left + 1, rect.top + dy + 1, rect.left + w + 3, rect.top + h + dy + 3);
        FrameRect(dc, box, back);
        const CRect outer(rect.left, rect.top + dy, rect.left + w + 4, rect.top + h + dy + 4);
        const CPoint at(rect.left + 2, rect.top + dy + 2);
        const COLORREF shadow = SystemColour(wxSYS_COLOUR_BTNSHADOW);
        const COLORREF light = SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT);
        if (kind.checkImage && m_checkImages) {
            FillSolidRect(dc, box, back);
            FrameRect(dc, outer, back);
            DrawListImage(dc, m_checkImages, selected ? 1 : 0, at);
        } else if (kind.selectedImage) {
            FillSolidRect(dc, box, back);
            if (IsNewShell()) {
                if (checked)
                    Draw3dRect(dc, outer, shadow, light);
                else
                    Draw3dRect(dc, outer, light, shadow);
            }
            DrawListImage(dc, image.list, image.index, at);
        } else if (kind.disabledImage) {
            if (image.list) {
                wxBitmap rendered;
                RenderListImage(image.list, image.index, rendered);
                FrameRect(dc, outer, back);
                if (m_monoDisabledImages)
                    DrawDisabledImageMono(dc, at.x, at.y, w, h, rendered, 0, 0, back);
                else
                    DrawDisabledImage(dc, at.x, at.y, w, h, rendered, 0, 0, back);
            }
        } else {
            if (checked) {
                FillSolidRect(dc, box, LightenColour(back, 0.6));
                if (IsNewShell())
                    Draw3dRect(dc, outer, shadow, light);
            } else {
                FillSolidRect(dc, box, back);
                FrameRect(dc, outer, back);
            }
            DrawListImage(dc, image.list, image.index, at);
        }
    }

    if (image.marker < 0 && checked && !kind.checkImage) {
        const CRect checkBox(rect.left + 1, rect.top + dy + 2, rect.left + w + 1, rect.top + h + dy + 2);
        DrawClassicCheck(dc, checkBox, selected, IsRadioItem(request->itemID));
    }

    if (text.empty())
        return;
    const SItemText parts = SplitText(text);
    const CRect textRect = TextRect(rect, rect.left + w + 9, parts, w);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    if (!disabled) {
        DrawItemText(dc, parts, textRect, textColour);
    } else if (selected) {
        DrawItemText(dc, parts, textRect, back);
    } else {
        CRect raised = textRect;
        raised.OffsetRect(1, 1);
        DrawItemText(dc, parts, raised, SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT));
        DrawItemText(dc, parts, textRect, SystemColour(wxSYS_COLOUR_GRAYTEXT));
    }
}

void BCMenu::DrawItemXP(SMenuDrawItem* request)
{
    if (!request || !request->dc)
        return;
    const CRect rect = request->rcItem;
    const int w = m_imageWidth;
    const int h = m_imageHeight;
    const COLORREF window = SystemColour(wxSYS_COLOUR_WINDOW);
    COLORREF bar = SystemColour(wxSYS_COLOUR_BTNFACE);
    if (!IsXPThemed())
        bar = LightenColour(bar, 0.25);
    const int gap = s_xp3DImages ? 7 : 4;
    const int barWidth = w + gap;
    const bool disabled = (request->itemState & ODS_GRAYED) != 0;
    const bool checked = (request->itemState & ODS_CHECKED) != 0;
    bool selected = (request->itemState & ODS_SELECTED) != 0;

    // A disabled item that may not show the selection is drawn off-screen.
    std::unique_ptr<BCMenuMemDC> surface;
    if (disabled && !s_selectDisabledXP) {
        selected = false;
        surface = std::make_unique<BCMenuMemDC>(*request->dc, rect);
    }
    wxDC& dc = surface ? surface->GetDC() : *request->dc;
    CFontScope font(dc);
    const BCMenuData* record = request->itemData;
    const CRect barRect(rect.left, rect.top, rect.left + barWidth, rect.bottom);

    if (record && (record->m_flags & MF_SEPARATOR)) {
        FillSolidRect(dc, rect, window);
        CRect line = rect;
        line.top += rect.Height() / 2;
        line.left = barRect.right + gap;
        DrawEtchedTop(dc, line);
        FillSolidRect(dc, barRect, bar);
        FrameRect(dc, barRect, bar);
        return;
    }

    const COLORREF highlight = SystemColour(wxSYS_COLOUR_HIGHLIGHT);
    const COLORREF selection = LightenColour(highlight, IsXPThemed() ? 0.7 : 0.85);
    const SItemImage image = ResolveImage(record, true);
    const wxString text = record && record->GetTextW() ? wxString(record->GetTextW()) : wxString();
    int fadedIndex = 1;
    int shadowIndex = 2;
    bool raised = false;
    if (record && record->m_ownImageIndex == 0 && image.list == record->m_ownImages.get() && image.list &&
        s_xp3DImages && image.list->GetImageCount() > 2) {
        raised = true;
    } else if (record && image.list && image.list == s_sharedImages.get() && s_xp3DImages &&
               HasSharedVariants(image.index)) {
        raised = true;
        fadedIndex = image.index + 1;
        shadowIndex = image.index + 2;
    }
    const SItemKind kind = KindOf(image.marker, selected, disabled, checked, m_selectedCheckId, m_unselectedCheckId);

    if (selected) {
        FillSolidRect(dc, rect, selection);
        FrameRect(dc, rect, highlight);
    } else {
        FillSolidRect(dc, rect, window);
        FillSolidRect(dc, barRect, bar);
        FrameRect(dc, rect, window);
        FrameRect(dc, barRect, bar);
    }

    const int dy = RoundedHalf(rect.Height() - h);
    const int dx = RoundedHalf(barWidth - w);
    if (kind.checkImage || kind.image) {
        const CRect box(rect.left + 1, rect.top + 1, rect.left + barWidth - 1, rect.bottom - 1);
        CPoint at(rect.left + dx, rect.top + dy);
        const CPoint up(at.x - 1, at.y - 1);
        if (kind.checkImage && m_checkImages) {
            FillSolidRect(dc, box, bar);
            DrawListImage(dc, m_checkImages, selected ? 1 : 0, at);
        } else if (kind.selectedImage) {
            FillSolidRect(dc, box, selection);
            if (checked) {
                FrameRect(dc, box, highlight);
                at = up;
            }
            if (!raised || checked) {
                DrawListImage(dc, image.list, image.index, at);
            } else {
                DrawListImage(dc, image.list, shadowIndex, CPoint(at.x + 1, at.y + 1));
                DrawListImage(dc, image.list, image.index, CPoint(at.x - 1, at.y - 1));
            }
        } else if ((kind.image && checked && !disabled) || kind.checkImage) {
            FillSolidRect(dc, box, LightenColour(highlight, 0.85));
            FrameRect(dc, box, highlight);
            DrawListImage(dc, image.list, image.index, up);
        } else if (kind.disabledImage) {
            if (image.list) {
                wxBitmap rendered;
                RenderListImage(image.list, image.index, rendered);
                const COLORREF under = selected ? selection : bar;
                if (m_monoDisabledImages)
                    DrawDisabledImageMono(dc, at.x, at.y, w, h, rendered, 0, 0, under);
                else
                    DrawDisabledImage(dc, at.x, at.y, w, h, rendered, 0, 0, under);
                if (selected)
                    FrameRect(dc, rect, highlight);
            }
        } else {
            FillSolidRect(dc, box, bar);
            FrameRect(dc, box, bar);
            DrawListImage(dc, image.list, raised ? fadedIndex : image.index, at);
        }
    }

    if (image.marker < 0 && checked && !kind.checkImage) {
        const int left = rect.left + RoundedHalf(barWidth - 16);
        const int top = rect.top + RoundedHalf(rect.Height() - 16);
        const CRect checkBox(left, top, left + 16, top + 16);
        DrawXPCheck(dc, checkBox, IsRadioItem(request->itemID), highlight);
    }

    if (text.empty())
        return;
    const SItemText parts = SplitText(text);
    const CRect textRect = TextRect(rect, rect.left + barWidth + 8, parts, w);
    COLORREF textColour = SystemColour(wxSYS_COLOUR_MENUTEXT);
    if (disabled) {
        textColour = SystemColour(wxSYS_COLOUR_GRAYTEXT);
        if (!IsXPThemed() && !selected)
            textColour = LightenColour(textColour, 0.4);
    }
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    DrawItemText(dc, parts, textRect, textColour);
}

// A radio dot or a check glyph in the menu's text colour.
void BCMenu::DrawMark(wxDC& dc, BOOL radio, CPoint dot, CPoint glyph)
{
    const COLORREF ink = SystemColour(wxSYS_COLOUR_MENUTEXT);
    if (radio)
        DrawRadioDot(dc, dot.x, dot.y, ink);
    else
        DrawCheckGlyph(dc, glyph.x, glyph.y, ink);
}

BOOL BCMenu::DrawClassicCheck(wxDC& dc, const CRect& rect, BOOL selected, BOOL radio)
{
    COLORREF colour = SystemColour(IsXPThemed() ? wxSYS_COLOUR_BTNFACE : wxSYS_COLOUR_MENU);
    if (!selected)
        colour = LightenColour(colour, 0.6);
    FillSolidRect(dc, rect, colour);
    if (IsNewShell())
        Draw3dRect(dc, rect, SystemColour(wxSYS_COLOUR_BTNSHADOW), SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT));
    DrawMark(dc, radio, CPoint(rect.left + 5, rect.top + 4), CPoint(rect.left + 4, rect.top + 4));
    return TRUE;
}

BOOL BCMenu::DrawXPCheck(wxDC& dc, const CRect& rect, BOOL radio, COLORREF highlight)
{
    FillSolidRect(dc, rect, LightenColour(highlight, 0.85));
    FrameRect(dc, rect, highlight);
    DrawMark(dc, radio, CPoint(rect.left + 5, rect.top + 4), CPoint(rect.left + 5, rect.top + 4));
    return TRUE;
}

void BCMenu::DrawRadioDot(wxDC& dc, int x, int y, COLORREF colour)
{
    dc.SetPen(wxPen(ToWxColour(colour)));
    dc.SetBrush(wxBrush(ToWxColour(colour)));
    dc.DrawEllipse(x, y, 6, 6);
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);
}

void BCMenu::DrawCheckGlyph(wxDC& dc, int x, int y, COLORREF colour)
{
    // Seven strokes of three pixels, each starting this far below y.
    static const int kStrokeTops[] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        FillSolidRect(dc, x + i, y + kStrokeTops[i], 1, 3, colour);
}
