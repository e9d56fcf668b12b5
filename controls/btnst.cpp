#include "controls/btnst.h"

#include <algorithm>
#include <vector>

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include "controls/dcdraw.h"
#include "ui/resourceimage.h"
#include "controls/resources.h"
#include "ui/wxcolour.h"
#include "ui/wxtext.h"

namespace {

void Polyline(wxDC& dc, CPoint a, CPoint b, CPoint c, COLORREF colour)
{
    Line(dc, a, b, colour);
    Line(dc, b, c, colour);
}

// Whether a pixel of an image is part of the picture for the embossed,
// disabled look: opaque, not masked out, and not (near) white.
bool IsInk(const wxImage& image, int x, int y)
{
    if (image.HasAlpha() && image.GetAlpha(x, y) < 128)
        return false;
    if (image.HasMask() && image.IsTransparent(x, y))
        return false;
    return !(image.GetRed(x, y) >= 240 && image.GetGreen(x, y) >= 240 && image.GetBlue(x, y) >= 240);
}

// The disabled look: the picture's silhouette in the highlight colour one
// pixel down and right, then in the shadow colour in place.
void DrawEmbossed(wxDC& dc, const wxBitmap& bitmap, int x, int y)
{
    const wxImage source = bitmap.ConvertToImage();
    const int w = source.GetWidth();
    const int h = source.GetHeight();
    if (w <= 0 || h <= 0)
        return;
    wxImage relief(w + 1, h + 1);
    relief.InitAlpha();
    const wxColour light = ToWxColour(SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT));
    const wxColour shadow = ToWxColour(SystemColour(wxSYS_COLOUR_BTNSHADOW));
    for (int py = 0; py <= h; ++py)
        for (int px = 0; px <= w; ++px)
            relief.SetAlpha(px, py, 0);
    const struct {
        int dx;
        const wxColour& colour;
    } passes[] = {{1, light}, {0, shadow}};
    for (const auto& pass : passes) {
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w; ++px) {
                if (!IsInk(source, px, py))
                    continue;
                relief.SetRGB(px + pass.dx, py + pass.dx, pass.colour.Red(), pass.colour.Green(), pass.colour.Blue());
                relief.SetAlpha(px + pass.dx, py + pass.dx, 255);
            }
        }
    }
    dc.DrawBitmap(wxBitmap(relief), x, y, true);
}

// Caption lines that fit width: breaks after spaces and around Chinese
// characters; a word longer than the width keeps a line of its own.
std::vector<wxString> WrapCaption(wxDC& dc, const wxString& text, int width)
{
    std::vector<wxString> lines;
    wxString paragraph;
    auto isWide = [](wxUniChar ch) { return ch.GetValue() >= 0x2E80; };
    auto flushParagraph = [&](const wxString& para) {
        // Split into pieces: a run of narrow characters with the spaces that
        // follow it, or one wide character.
        std::vector<wxString> pieces;
        wxString piece;
        for (wxString::const_iterator it = para.begin(); it != para.end(); ++it) {
            const wxUniChar ch = *it;
            if (isWide(ch)) {
                if (!piece.empty())
                    pieces.push_back(piece);
                pieces.push_back(wxString(ch));
                piece.clear();
                continue;
            }
            if (ch != ' ' && !piece.empty() && piece.Last() == ' ') {
                pieces.push_back(piece);
                piece.clear();
            }
            piece += ch;
        }
        if (!piece.empty())
            pieces.push_back(piece);
        wxString line;
        for (const wxString& p : pieces) {
            wxString candidate = line + p;
            wxString trimmed = candidate;
            trimmed.Trim(true);
            if (!line.empty() && dc.GetTextExtent(trimmed).GetWidth() > width) {
                line.Trim(true);
                lines.push_back(line);
                line = p;
            } else {
                line = candidate;
            }
        }
        line.Trim(true);
        lines.push_back(line);
    };
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it) {
        if (*it == '\n') {
            flushParagraph(paragraph);
            paragraph.clear();
        } else if (*it != '\r') {
            paragraph += *it;
        }
    }
    flushParagraph(paragraph);
    return lines;
}

} // namespace

CButtonST::CButtonST()
{
    ResetColors(FALSE);
}

CButtonST::~CButtonST()
{
    if (m_topLevel)
        m_topLevel->Unbind(wxEVT_ACTIVATE, &CButtonST::OnTopLevelActivate, this);
    if (HasCapture())
        ReleaseMouse();
}

bool CButtonST::Create(wxWindow* parent, int id, const wxString& label, const wxPoint& pos, const wxSize& size,
                       UINT buttonStyle)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE))
        return false;
    wxControl::SetLabel(label);

    // The kind: check-box mode for kinds with the value 2 bit, the default
    // button for kStyleDefPush (which then counts as a plain push button).
    if (buttonStyle & kStyleCheckBox)
        m_bCheckBox = TRUE;
    if ((buttonStyle & 0x1F) == kStyleDefPush)
        m_bDefault = TRUE;

    SetCursor(wxCursor(wxCURSOR_HAND));
    Bind(wxEVT_PAINT, &CButtonST::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CButtonST::OnLeftDown, this);
    // A fast second click is a second press, not a double click.
    Bind(wxEVT_LEFT_DCLICK, &CButtonST::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CButtonST::OnLeftUp, this);
    Bind(wxEVT_MOTION, &CButtonST::OnMotion, this);
    Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& event) {
        OnMouseLeave();
        event.Skip();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CButtonST::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &CButtonST::OnKeyDown, this);
    Bind(wxEVT_KEY_UP, &CButtonST::OnKeyUp, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        Refresh();
        event.Skip();
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        EndHover();
        Refresh();
        event.Skip();
    });
    Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& event) {
        m_bmpBack = wxNullBitmap;
        event.Skip();
    });
    m_topLevel = wxGetTopLevelParent(this);
    if (m_topLevel)
        m_topLevel->Bind(wxEVT_ACTIVATE, &CButtonST::OnTopLevelActivate, this);
    SetInitialSize(size);
    return true;
}

void CButtonST::SetButtonStyle(UINT style, BOOL redraw)
{
    if ((style & 0x1F) == kStyleDefPush)
        m_bDefault = TRUE;
    else if ((style & 0x1F) == kStylePush)
        m_bDefault = FALSE;
    Invalidate(redraw);
}

void CButtonST::SetLabel(const wxString& label)
{
    wxControl::SetLabel(label);
    Refresh();
}

void CButtonST::Invalidate(BOOL repaint)
{
    if (repaint && GetHandle())
        Refresh();
}

// ---- Images ----

void CButtonST::ReleaseImages()
{
    for (SButtonIcon& icon : m_icons)
        icon = SButtonIcon();
    for (SButtonBitmap& bitmap : m_bitmaps)
        bitmap = SButtonBitmap();
}

CButtonST::DWORD CButtonST::SetIcon(const CString& nameIn, const CString& nameOut)
{
    const wxBitmap in = LoadResourceBitmap(nameIn);
    const wxBitmap out = nameOut.IsEmpty() ? wxBitmap() : LoadResourceBitmap(nameOut);
    if (!in.IsOk() || (!nameOut.IsEmpty() && !out.IsOk())) {
        ReleaseImages();
        Invalidate(TRUE);
        return kResultNoImage;
    }
    return SetIcon(in, out);
}

CButtonST::DWORD CButtonST::SetIcon(const CString& nameIn, int idOut)
{
    const wxBitmap in = LoadResourceBitmap(nameIn);
    if (!in.IsOk()) {
        ReleaseImages();
        Invalidate(TRUE);
        return kResultNoImage;
    }
    return SetIcon(in, idOut);
}

CButtonST::DWORD CButtonST::SetIcon(const wxBitmap& in, int idOut)
{
    if (idOut == 0)
        return SetIcon(in, wxNullBitmap);
    if (idOut == kGreyIcon)
        return SetIcon(in, in.IsOk() ? MakeGreyIcon(in) : wxNullBitmap);
    // Any other second icon would be a resource number; there are none.
    ReleaseImages();
    Invalidate(TRUE);
    return kResultNoImage;
}

CButtonST::DWORD CButtonST::SetIcon(const wxBitmap& in, const wxBitmap& out)
{
    ReleaseImages();
    if (in.IsOk()) {
        m_icons[0].hIcon = in;
        m_icons[0].dwWidth = static_cast<DWORD>(in.GetWidth());
        m_icons[0].dwHeight = static_cast<DWORD>(in.GetHeight());
        if (out.IsOk()) {
            m_icons[1].hIcon = out;
            m_icons[1].dwWidth = static_cast<DWORD>(out.GetWidth());
            m_icons[1].dwHeight = static_cast<DWORD>(out.GetHeight());
        }
    }
    Invalidate(TRUE);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetBitmaps(const CString& nameIn, COLORREF crIn, const CString& nameOut, COLORREF crOut)
{
    const wxBitmap in = LoadResourceBitmap(nameIn);
    const wxBitmap out = nameOut.IsEmpty() ? wxBitmap() : LoadResourceBitmap(nameOut);
    if (!in.IsOk() || (!nameOut.IsEmpty() && !out.IsOk())) {
        ReleaseImages();
        Invalidate(TRUE);
        return kResultNoImage;
    }
    return SetBitmaps(in, crIn, out, crOut);
}

CButtonST::DWORD CButtonST::SetBitmaps(const wxBitmap& in, COLORREF crIn, const wxBitmap& out, COLORREF crOut)
{
    ReleaseImages();
    const struct {
        const wxBitmap& bitmap;
        COLORREF transparent;
    } sources[] = {{in, crIn}, {out, crOut}};
    for (int i = 0; i < 2; ++i) {
        const wxBitmap& source = sources[i].bitmap;
        if (!source.IsOk() || (i == 1 && !m_bitmaps[0].hBitmap.IsOk()))
            break;
        // The mask goes onto the button's own copy, not the caller's bitmap.
        wxBitmap own = source.GetSubBitmap(wxRect(0, 0, source.GetWidth(), source.GetHeight()));
        if (!MakeTransparencyMask(own, sources[i].transparent)) {
            ReleaseImages();
            Invalidate(TRUE);
            return kResultNoMask;
        }
        m_bitmaps[i].hBitmap = own;
        m_bitmaps[i].dwWidth = static_cast<DWORD>(own.GetWidth());
        m_bitmaps[i].dwHeight = static_cast<DWORD>(own.GetHeight());
        m_bitmaps[i].crTransparent = sources[i].transparent;
    }
    Invalidate(TRUE);
    return kResultOk;
}

bool CButtonST::MakeTransparencyMask(wxBitmap& bitmap, COLORREF transparent)
{
    auto* mask = new wxMask;
    if (!mask->Create(bitmap, ToWxColour(transparent))) {
        delete mask;
        return false;
    }
    bitmap.SetMask(mask);
    return true;
}

wxBitmap CButtonST::MakeGreyIcon(const wxBitmap& icon)
{
    if (!icon.IsOk())
        return wxBitmap();
    wxImage image = icon.ConvertToImage();
    unsigned char* rgb = image.GetData();
    const size_t pixels = static_cast<size_t>(image.GetWidth()) * static_cast<size_t>(image.GetHeight());
    for (size_t i = 0; i < pixels; ++i) {
        unsigned char* p = rgb + 3 * i;
        if (p[0] == 0 && p[1] == 0 && p[2] == 0)
            continue;
        const auto grey = static_cast<unsigned char>(0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]);
        p[0] = p[1] = p[2] = grey;
    }
    return wxBitmap(image);
}

// ---- Look and state ----

CButtonST::DWORD CButtonST::SetFlat(BOOL flat, BOOL repaint)
{
    m_bFlat = flat;
    Invalidate(repaint);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetDrawBorder(BOOL draw, BOOL repaint)
{
    m_bDrawBorder = draw;
    Invalidate(repaint);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetDrawFlatFocus(BOOL draw, BOOL repaint)
{
    m_bDrawFlatFocus = draw;
    Invalidate(repaint);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetTrackWhenInactive(BOOL track)
{
    m_bTrackInactive = track;
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetImageAlign(BYTE align, BOOL repaint)
{
    if (align > kAlignRight)
        return kResultBadAlign;
    m_nImageAlign = align;
    Invalidate(repaint);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetCheck(int check, BOOL repaint)
{
    if (m_bCheckBox) {
        m_nCheck = check != 0 ? 1 : 0;
        Invalidate(repaint);
    }
    return kResultOk;
}

// ---- Colours ----

CButtonST::DWORD CButtonST::ResetColors(BOOL repaint)
{
    const COLORREF face = SystemColour(wxSYS_COLOUR_BTNFACE);
    const COLORREF text = SystemColour(wxSYS_COLOUR_BTNTEXT);
    m_crColors[kColorBackHot] = face;
    m_crColors[kColorTextHot] = text;
    m_crColors[kColorBackNormal] = face;
    m_crColors[kColorTextNormal] = text;
    m_crColors[kColorBackFocus] = face;
    m_crColors[kColorTextFocus] = text;
    Invalidate(repaint);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetColor(BYTE index, COLORREF colour, BOOL repaint)
{
    if (index >= kColorCount)
        return kResultBadColorIndex;
    m_crColors[index] = colour;
    Invalidate(repaint);
    return kResultOk;
}

CButtonST::DWORD CButtonST::GetColor(BYTE index, COLORREF* colour) const
{
    if (index >= kColorCount)
        return kResultBadColorIndex;
    if (colour)
        *colour = m_crColors[index];
    return kResultOk;
}

CButtonST::DWORD CButtonST::OffsetColor(BYTE index, short offset, BOOL repaint)
{
    if (index >= kColorCount)
        return kResultBadColorIndex;
    if (offset < -255 || offset > 255)
        return kResultBadOffset;
    const COLORREF colour = m_crColors[index];
    const int r = GetRValue(colour);
    const int g = GetGValue(colour);
    const int b = GetBValue(colour);
    // One offset for all three, so the component nearest the limit just
    // reaches it and the others keep their distance to it.
    const int applied = offset > 0 ? std::min({static_cast<int>(offset), 255 - r, 255 - g, 255 - b})
                                   : std::max({static_cast<int>(offset), -r, -g, -b});
    m_crColors[index] = RGB(r + applied, g + applied, b + applied);
    Invalidate(repaint);
    return kResultOk;
}

// ---- Tooltip, address, menu ----

void CButtonST::SetTooltipText(const CString& text, BOOL activate)
{
    m_strTooltip = text;
    m_bHasTool = TRUE;
    ActivateTooltip(activate);
}

void CButtonST::SetTooltipText(int stringId, BOOL activate)
{
    const CString text = LoadStringResource(static_cast<UINT>(stringId));
    if (!text.IsEmpty())
        SetTooltipText(text, activate);
}

void CButtonST::ActivateTooltip(BOOL activate)
{
    if (!m_bHasTool)
        return;
    m_bTooltipActive = activate;
    if (activate)
        SetToolTip(ToWx(m_strTooltip));
    else
        UnsetToolTip();
}

void CButtonST::SetTransparent(BOOL repaint)
{
    m_bTransparent = TRUE;
    m_bmpBack = wxNullBitmap;
    Invalidate(repaint);
}

CButtonST::DWORD CButtonST::SetUrl(const CString& url)
{
    m_szUrl.Empty();
    // Whole characters only: a Chinese character is never cut in two.
    int length = 0;
    while (length < url.GetLength()) {
        const int next = length + std::max(1, CharLengthAt(url.view(), static_cast<size_t>(length)));
        if (next > kMaxUrlLength)
            break;
        length = next;
    }
    m_szUrl = url.Left(length);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetPopupMenu(UINT menuId, wxWindow* target, BOOL xpStyle, UINT toolbarId, CSize iconSize,
                              COLORREF toolbarBack, BOOL repaint)
{
    if (m_menuPopup.GetMenu()) {
        m_menuPopup.DestroyMenu();
        m_hMenuTarget = nullptr;
        m_bMenuShown = FALSE;
    }
    if (menuId != 0) {
        BCMenu::SetDrawMode(xpStyle ? 1 : 0);
        if (!m_menuPopup.LoadMenu(menuId))
            return kResultNoImage;
        if (toolbarId != 0) {
            m_menuPopup.SetTransparentColour(toolbarBack);
            m_menuPopup.SetImageSize(iconSize.cx, iconSize.cy);
            if (!m_menuPopup.LoadToolbarImages(toolbarId)) {
                m_menuPopup.DestroyMenu();
                return kResultNoImage;
            }
        }
        m_hMenuTarget = target;
    }
    Invalidate(repaint);
    return kResultOk;
}

CButtonST::DWORD CButtonST::SetPopupMenu(wxMenu* menu, wxWindow* target, BOOL xpStyle, BOOL repaint)
{
    if (m_menuPopup.GetMenu()) {
        m_menuPopup.DestroyMenu();
        m_hMenuTarget = nullptr;
        m_bMenuShown = FALSE;
    }
    if (menu) {
        BCMenu::SetDrawMode(xpStyle ? 1 : 0);
        if (!m_menuPopup.Attach(menu))
            return kResultNoImage;
        m_hMenuTarget = target;
    }
    Invalidate(repaint);
    return kResultOk;
}

void CButtonST::ShowPopupMenu()
{
    wxMenu* top = m_menuPopup.GetMenu();
    wxMenu* sub = m_menuPopup.GetSubMenu(0);
    if (!top || !sub)
        return;
    // The toolkit drops down only menus without a parent: the first item
    // gives its sub-menu up while it is shown and takes it back afterwards.
    wxMenuItem* holder = top->FindItemByPosition(0);
    top->Remove(holder);
    m_bMenuShown = TRUE;
    Refresh();
    Update();
    const int chosen = GetPopupMenuSelectionFromUser(*sub, wxPoint(0, GetClientSize().GetHeight()));
    top->Insert(0, holder);
    m_bMenuShown = FALSE;
    Refresh();
    if (chosen == wxID_NONE || !m_hMenuTarget)
        return;
    // The item id is the toolkit's; GetInt carries the program's command.
    auto* command = new wxCommandEvent(wxEVT_MENU, chosen);
    command->SetInt(static_cast<int>(BCMenu::CommandForItemId(chosen)));
    wxQueueEvent(m_hMenuTarget.get(), command);
}

// ---- Mouse, keyboard, activation ----

void CButtonST::OnMouseMove(bool leftDown, CPoint point)
{
    wxWindow* under = wxFindWindowAtPoint(ClientToScreen(wxPoint(point.x, point.y)));
    if ((leftDown && !m_bHover) || !m_bFlat)
        return;
    const bool trackingAllowed = m_bTrackInactive || wxGetActiveWindow() != nullptr;
    if (under == this && trackingAllowed) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Refresh();
        }
    } else {
        EndHover();
    }
}

void CButtonST::OnMouseLeave()
{
    EndHover();
}

void CButtonST::EndHover()
{
    if (m_bFlat && m_bHover) {
        m_bHover = FALSE;
        Refresh();
    }
}

void CButtonST::OnLeftDown(wxMouseEvent&)
{
    if (!IsEnabled())
        return;
    SetFocus();
    if (!HasCapture())
        CaptureMouse();
    m_bButtonDown = true;
    m_bPointerInside = true;
    Refresh();
}

void CButtonST::OnMotion(wxMouseEvent& event)
{
    if (m_bButtonDown) {
        const bool inside = wxRect(GetClientSize()).Contains(event.GetPosition());
        if (inside != m_bPointerInside) {
            m_bPointerInside = inside;
            Refresh();
        }
    }
    OnMouseMove(event.LeftIsDown(), CPoint(event.GetX(), event.GetY()));
    event.Skip();
}

void CButtonST::OnLeftUp(wxMouseEvent& event)
{
    if (!m_bButtonDown)
        return;
    m_bButtonDown = false;
    if (HasCapture())
        ReleaseMouse();
    const bool inside = wxRect(GetClientSize()).Contains(event.GetPosition());
    Refresh();
    if (inside)
        OnClicked();
}

void CButtonST::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_bButtonDown = false;
    EndHover();
    Refresh();
}

void CButtonST::OnKeyDown(wxKeyEvent& event)
{
    if (event.GetKeyCode() != WXK_SPACE) {
        event.Skip();
        return;
    }
    if (!m_bKeyDown) {
        m_bKeyDown = true;
        Refresh();
    }
}

void CButtonST::OnKeyUp(wxKeyEvent& event)
{
    if (event.GetKeyCode() != WXK_SPACE || !m_bKeyDown) {
        event.Skip();
        return;
    }
    m_bKeyDown = false;
    Refresh();
    OnClicked();
}

void CButtonST::OnTopLevelActivate(wxActivateEvent& event)
{
    if (!event.GetActive())
        EndHover();
    event.Skip();
}

void CButtonST::OnClicked()
{
    SetFocus();
    if (m_bCheckBox) {
        m_nCheck = m_nCheck ? 0 : 1;
        Refresh();
    } else if (m_menuPopup.GetMenu()) {
        ShowPopupMenu();
    } else if (!m_szUrl.IsEmpty()) {
        wxLaunchDefaultBrowser(ToWx(m_szUrl));
    }
    // The parent hears of the click as well (this may destroy the button).
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    click.SetInt(m_nCheck);
    ProcessWindowEvent(click);
}

bool CButtonST::Enable(bool enable)
{
    const bool changed = wxControl::Enable(enable);
    if (changed && !enable) {
        MoveFocusOn();
        EndHover();
    }
    if (changed)
        Refresh();
    return changed;
}

// The focus goes to the next sibling after this button that takes it
// (wrapping round), or to the parent when there is none.
void CButtonST::MoveFocusOn()
{
    wxWindow* parent = GetParent();
    if (!parent)
        return;
    const wxWindowList& siblings = parent->GetChildren();
    std::vector<wxWindow*> order(siblings.begin(), siblings.end());
    const auto self = std::find(order.begin(), order.end(), static_cast<wxWindow*>(this));
    if (self != order.end()) {
        std::rotate(order.begin(), self, order.end());
        for (size_t i = 1; i < order.size(); ++i) {
            if (order[i]->CanAcceptFocus()) {
                order[i]->SetFocus();
                return;
            }
        }
    }
    parent->SetFocus();
}

// ---- Painting ----

void CButtonST::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxSize client = GetClientSize();
    UINT state = 0;
    if ((m_bButtonDown && m_bPointerInside) || m_bKeyDown)
        state |= kItemSelected;
    if (HasFocus())
        state |= kItemFocus;
    if (!IsEnabled())
        state |= kItemDisabled;
    DrawItem(dc, CRect(0, 0, client.GetWidth(), client.GetHeight()), state);
}

void CButtonST::DrawItem(wxDC& dc, const CRect& item, UINT itemState)
{
    if (m_bCheckBox)
        m_bPressed = (itemState & kItemSelected) || m_nCheck == 1;
    else
        m_bPressed = (itemState & kItemSelected) || m_bMenuShown;
    m_bFocused = (itemState & kItemFocus) ? TRUE : FALSE;
    m_bDisabled = (itemState & kItemDisabled) ? TRUE : FALSE;
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);

    CRect rect = item;
    if (!m_bFlat && (m_bFocused || m_bDefault)) {
        FrameRect(dc, rect, RGB(0, 0, 0));
        rect.DeflateRect(1, 1);
    }

    if (m_bTransparent)
        PaintParentBackground(dc, item);
    else
        OnDrawBackground(dc, rect);

    if (m_bPressed) {
        if (!m_bFlat)
            FrameRect(dc, rect, SystemColour(wxSYS_COLOUR_BTNSHADOW));
        else if (m_bDrawBorder)
            OnDrawBorder(dc, rect);
    } else if (!m_bFlat) {
        const int l = rect.left;
        const int t = rect.top;
        const int r = rect.right;
        const int b = rect.bottom;
        Polyline(dc, CPoint(l, b - 1), CPoint(l, t), CPoint(r, t), SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT));
        Polyline(dc, CPoint(l + 1, b - 1), CPoint(l + 1, t + 1), CPoint(r, t + 1), SystemColour(wxSYS_COLOUR_3DLIGHT));
        Polyline(dc, CPoint(l, b - 1), CPoint(r - 1, b - 1), CPoint(r - 1, t - 1),
                 SystemColour(wxSYS_COLOUR_3DDKSHADOW));
        Polyline(dc, CPoint(l + 1, b - 2), CPoint(r - 2, b - 2), CPoint(r - 2, t),
                 SystemColour(wxSYS_COLOUR_BTNSHADOW));
    } else if (m_bHover && m_bDrawBorder) {
        OnDrawBorder(dc, rect);
    }

    const bool hasCaption = !GetLabelText().empty();
    CRect caption = item;
    if (m_icons[0].hIcon.IsOk())
        DrawIconImage(dc, hasCaption, item, caption, m_bPressed, m_bDisabled);
    if (m_bitmaps[0].hBitmap.IsOk())
        DrawBitmapImage(dc, hasCaption, item, caption, m_bPressed, m_bDisabled);
    if (hasCaption)
        DrawCaption(dc, caption, m_bPressed, m_bDisabled);

    if (m_bFocused && (!m_bFlat || m_bDrawFlatFocus)) {
        CRect focus = rect;
        focus.DeflateRect(3, 3);
        // A dotted frame, every other pixel.
        const wxColour dots = ToWxColour(m_crColors[kColorTextNormal]);
        dc.SetPen(wxPen(dots));
        for (int x = focus.left; x < focus.right; x += 2) {
            dc.DrawPoint(x, focus.top);
            dc.DrawPoint(x, focus.bottom - 1);
        }
        for (int y = focus.top; y < focus.bottom; y += 2) {
            dc.DrawPoint(focus.left, y);
            dc.DrawPoint(focus.right - 1, y);
        }
        dc.SetPen(wxNullPen);
    }
}

CButtonST::DWORD CButtonST::OnDrawBackground(wxDC& dc, const CRect& rect)
{
    COLORREF colour = m_crColors[kColorBackNormal];
    if (m_bHover || m_bPressed)
        colour = m_crColors[kColorBackHot];
    else if (m_bFocused)
        colour = m_crColors[kColorBackFocus];
    FillSolidRect(dc, rect.left, rect.top, rect.Width(), rect.Height(), colour);
    return kResultOk;
}

CButtonST::DWORD CButtonST::OnDrawBorder(wxDC& dc, const CRect& rect)
{
    const COLORREF shadow = SystemColour(wxSYS_COLOUR_BTNSHADOW);
    const COLORREF light = SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT);
    if (m_bPressed)
        Draw3dRect(dc, rect, shadow, light);
    else
        Draw3dRect(dc, rect, light, shadow);
    return kResultOk;
}

void CButtonST::PaintParentBackground(wxDC& dc, const CRect& rect)
{
    if (rect.IsRectEmpty())
        return;
    // The toolkit cannot read back a window's pixels reliably, so the
    // snapshot is the parent's background colour, taken once and kept until
    // SetTransparent or a system colour change asks for a new one.
    if (!m_bmpBack.IsOk() || m_bmpBack.GetWidth() != rect.Width() || m_bmpBack.GetHeight() != rect.Height()) {
        const wxColour back = GetParent() ? GetParent()->GetBackgroundColour() : GetBackgroundColour();
        m_bmpBack = wxBitmap(rect.Width(), rect.Height(), 24);
        wxMemoryDC snapshot(m_bmpBack);
        snapshot.SetBackground(wxBrush(back));
        snapshot.Clear();
    }
    dc.DrawBitmap(m_bmpBack, rect.left, rect.top, false);
}

int CButtonST::ChooseImage(bool hasSecond) const
{
    const bool first = m_bCheckBox ? m_bPressed : (m_bPressed || m_bHover);
    if (first)
        return 0;
    return hasSecond ? 1 : 0;
}

CRect CButtonST::PlaceImage(BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed, int w, int h) const
{
    CRect image = item;
    const int width = item.Width();
    const int height = item.Height();
    switch (m_nImageAlign) {
    case kAlignLeft:
        if (!hasCaption) {
            image.left += (width - w) / 2;
        } else {
            image.left += 3;
            caption.left += w + 3;
        }
        image.top += (height - h) / 2;
        break;
    case kAlignAbove:
        image.left += (width - w) / 2;
        if (!hasCaption) {
            image.top += (height - h) / 2;
        } else {
            image.top = 3;
            caption.top += h;
        }
        break;
    case kAlignRight:
        if (!hasCaption) {
            image.left += (width - w) / 2;
        } else {
            caption.right = caption.Width() - w - 3;
            caption.left = 3;
            image.left = item.right - w - 3;
            image.top += (height - h) / 2;
        }
        break;
    default:
        break;
    }
    if (pressed && !m_bCheckBox)
        image.OffsetRect(1, 1);
    image.right = image.left + w;
    image.bottom = image.top + h;
    return image;
}

void CButtonST::DrawIconImage(wxDC& dc, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed,
                              BOOL disabled)
{
    const SButtonIcon& icon = m_icons[ChooseImage(m_icons[1].hIcon.IsOk())];
    const CRect image = PlaceImage(hasCaption, item, caption, pressed, static_cast<int>(icon.dwWidth),
                                   static_cast<int>(icon.dwHeight));
    if (disabled)
        DrawEmbossed(dc, icon.hIcon, image.left, image.top);
    else
        dc.DrawBitmap(icon.hIcon, image.left, image.top, true);
}

void CButtonST::DrawBitmapImage(wxDC& dc, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed,
                                BOOL disabled)
{
    const SButtonBitmap& bitmap = m_bitmaps[ChooseImage(m_bitmaps[1].hBitmap.IsOk())];
    const CRect image = PlaceImage(hasCaption, item, caption, pressed, static_cast<int>(bitmap.dwWidth),
                                   static_cast<int>(bitmap.dwHeight));
    if (disabled)
        DrawEmbossed(dc, bitmap.hBitmap, image.left, image.top);
    else
        dc.DrawBitmap(bitmap.hBitmap, image.left, image.top, true);
}

void CButtonST::DrawCaption(wxDC& dc, const CRect& area, BOOL pressed, BOOL disabled)
{
    CRect rect = area;
    if (pressed && !m_bCheckBox)
        rect.OffsetRect(1, 1);
    dc.SetFont(GetFont().IsOk() ? GetFont() : *wxNORMAL_FONT);
    const std::vector<wxString> lines = WrapCaption(dc, GetLabelText(), rect.Width());
    const int lineHeight = dc.GetCharHeight();
    int blockWidth = 0;
    for (const wxString& line : lines)
        blockWidth = std::max(blockWidth, dc.GetTextExtent(line).GetWidth());
    const int blockHeight = lineHeight * static_cast<int>(lines.size());
    // The measured block, centred in the rectangle it was measured in.
    const int left = rect.left + (rect.Width() - blockWidth) / 2;
    const int top = rect.top + (rect.Height() - blockHeight) / 2;

    auto drawAt = [&](int dx, int dy, COLORREF colour) {
        dc.SetTextForeground(ToWxColour(colour));
        int y = top + dy;
        for (const wxString& line : lines) {
            const int x = left + (blockWidth - dc.GetTextExtent(line).GetWidth()) / 2 + dx;
            dc.DrawText(line, x, y);
            y += lineHeight;
        }
    };
    if (disabled) {
        drawAt(1, 1, SystemColour(wxSYS_COLOUR_BTNHIGHLIGHT));
        drawAt(0, 0, SystemColour(wxSYS_COLOUR_BTNSHADOW));
    } else if (m_bHover || pressed) {
        drawAt(0, 0, m_crColors[kColorTextHot]);
    } else {
        drawAt(0, 0, m_crColors[kColorTextNormal]);
    }
}

wxSize CButtonST::DoGetBestSize() const
{
    int imageWidth = 0;
    int imageHeight = 0;
    if (m_icons[0].hIcon.IsOk()) {
        imageWidth = static_cast<int>(m_icons[0].dwWidth);
        imageHeight = static_cast<int>(m_icons[0].dwHeight);
    } else if (m_bitmaps[0].hBitmap.IsOk()) {
        imageWidth = static_cast<int>(m_bitmaps[0].dwWidth);
        imageHeight = static_cast<int>(m_bitmaps[0].dwHeight);
    }
    wxSize text;
    if (!GetLabelText().empty())
        text = GetTextExtent(GetLabelText());
    const bool beside = m_nImageAlign != kAlignAbove;
    const int width = beside ? imageWidth + text.GetWidth() : std::max(imageWidth, text.GetWidth());
    const int height = beside ? std::max(imageHeight, text.GetHeight()) : imageHeight + text.GetHeight();
    return wxSize(std::max(width + 8, 24), std::max(height + 8, 24));
}
