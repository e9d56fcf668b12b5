// A push button that draws itself: a caption with up to two icons or two
// bitmaps (one for the normal state, one for pointed-at and pressed; bitmaps
// with a transparent colour), six state colours, a flat look (no frame until
// the pointer is over it) or a 3-D frame, hover tracking, a tooltip, a
// check-box mode, an address opened on click, and a drop-down menu whose
// chosen command goes to a window of the caller's choice.
//
// The player's transport buttons use it flat with an icon pair from the res
// folder and a lightened pointed-at background (OffsetColor of colour 0).
//
// A click sends wxEVT_BUTTON to the parent after the button's own handling
// (check toggle, menu, address). A double click counts as two clicks.
#pragma once

#include <cstdint>

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/weakref.h>

#include "controls/bcmenu.h"
#include "platform/cstring.h"
#include "platform/wintypes.h"

class CButtonST : public wxControl {
public:
    using DWORD = uint32_t;

    // Results of the operations that return one.
    enum : DWORD {
        kResultOk = 0,
        kResultNoImage = 1,        // an image or menu cannot be read or loaded
        kResultNoMask = 2,         // a bitmap's transparency mask cannot be made
        kResultBadColorIndex = 3,  // colour index above 5
        kResultBadAlign = 4,       // image position above 2
        kResultBadOffset = 5,      // colour offset outside -255..255
    };

    // Colour indexes (SetColor, GetColor, OffsetColor).
    enum : BYTE {
        kColorBackHot = 0,     // background while pointed at or pressed
        kColorTextHot = 1,     // caption while pointed at or pressed
        kColorBackNormal = 2,  // background otherwise
        kColorTextNormal = 3,  // caption otherwise
        kColorBackFocus = 4,   // background when focused, not pointed at nor pressed
        kColorTextFocus = 5,   // kept with the others; no drawing uses it
        kColorCount = 6,
    };

    // Image positions (SetImageAlign).
    enum : BYTE { kAlignLeft = 0, kAlignAbove = 1, kAlignRight = 2 };

    // Button kinds (the low five bits of the style given to Create or
    // SetButtonStyle). A kind with the value 2 bit set (kStyleCheckBox,
    // kStyleAutoCheckBox) puts the button in check-box mode.
    enum : UINT {
        kStylePush = 0,
        kStyleDefPush = 1,
        kStyleCheckBox = 2,
        kStyleAutoCheckBox = 3,
        kStyleOwnerDraw = 0xB,
    };

    // Item state bits for DrawItem.
    enum : UINT { kItemSelected = 0x0001, kItemDisabled = 0x0004, kItemFocus = 0x0010 };

    // SetIcon's second icon: a grey copy of the first.
    static constexpr int kGreyIcon = -2;
    // The longest address SetUrl keeps, in bytes.
    static constexpr int kMaxUrlLength = 259;

    CButtonST();
    ~CButtonST() override;
    CButtonST(const CButtonST&) = delete;
    CButtonST& operator=(const CButtonST&) = delete;

    // Creates the window and takes the button kind from buttonStyle:
    // check-box mode, and the default button for kStyleDefPush.
    bool Create(wxWindow* parent, int id, const wxString& label = wxString(), const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, UINT buttonStyle = kStylePush);
    // A new kind: kStyleDefPush makes the button the default one, kStylePush
    // ends that; other kinds leave it.
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    // ---- Images (the button owns every image it holds) ----
    // Icons from the res folder: nameIn for pointed-at and pressed, nameOut
    // for the normal state (empty: none, nameIn serves for both).
    DWORD SetIcon(const CString& nameIn, const CString& nameOut);
    // idOut 0: no second icon; kGreyIcon: a grey copy of the first.
    DWORD SetIcon(const CString& nameIn, int idOut);
    // The same with images made by the caller (an invalid out: none).
    DWORD SetIcon(const wxBitmap& in, const wxBitmap& out);
    DWORD SetIcon(const wxBitmap& in, int idOut);
    // Bitmaps whose pixels of the given colour let the background through.
    DWORD SetBitmaps(const CString& nameIn, COLORREF crIn, const CString& nameOut = CString(), COLORREF crOut = 0);
    DWORD SetBitmaps(const wxBitmap& in, COLORREF crIn, const wxBitmap& out = wxNullBitmap, COLORREF crOut = 0);

    // ---- Look and state ----
    DWORD SetFlat(BOOL flat = TRUE, BOOL repaint = TRUE);
    DWORD SetDrawBorder(BOOL draw = TRUE, BOOL repaint = TRUE);
    DWORD SetDrawFlatFocus(BOOL draw, BOOL repaint = TRUE);
    DWORD SetTrackWhenInactive(BOOL track = TRUE);
    DWORD SetImageAlign(BYTE align, BOOL repaint = TRUE);
    // Check-box mode only: 1 for any non-zero value.
    DWORD SetCheck(int check, BOOL repaint = TRUE);
    int GetCheck() const { return m_nCheck; }
    BOOL IsDefault() const { return m_bDefault; }
    BOOL IsCheckBox() const { return m_bCheckBox; }
    BOOL IsHovered() const { return m_bHover; }
    BOOL IsFlat() const { return m_bFlat; }

    // ---- Colours (COLORREF, 0x00BBGGRR) ----
    // Backgrounds to the system's button face, captions to its button text.
    DWORD ResetColors(BOOL repaint = TRUE);
    DWORD SetColor(BYTE index, COLORREF colour, BOOL repaint = TRUE);
    DWORD GetColor(BYTE index, COLORREF* colour) const;
    // Adds one offset to red, green and blue, cut so that the component
    // nearest its limit (255 or 0) just reaches it.
    DWORD OffsetColor(BYTE index, short offset, BOOL repaint = TRUE);

    // ---- Tooltip, address, menu ----
    void SetTooltipText(const CString& text, BOOL activate = TRUE);
    // The text of a string resource; an empty or missing one changes nothing.
    void SetTooltipText(int stringId, BOOL activate = TRUE);
    void ActivateTooltip(BOOL activate = TRUE);
    CString GetTooltipText() const { return m_strTooltip; }
    // The background becomes the parent's background colour; the snapshot is
    // taken again at the next paint.
    void SetTransparent(BOOL repaint = TRUE);
    // At most kMaxUrlLength bytes, cut at a character boundary; empty: none.
    DWORD SetUrl(const CString& url);
    CString GetUrl() const { return m_szUrl; }
    // Drops the button's menu; with a menuId, loads that menu template (its
    // first sub-menu drops down) and sends the chosen command to target;
    // with a toolbarId, the items take the images of that toolbar resource
    // (iconSize at least, toolbarBack letting the background through).
    DWORD SetPopupMenu(UINT menuId, wxWindow* target, BOOL xpStyle = TRUE, UINT toolbarId = 0,
                       CSize iconSize = CSize(16, 16), COLORREF toolbarBack = RGB(192, 192, 192), BOOL repaint = TRUE);
    // The same with a menu built in code, which the button takes over.
    DWORD SetPopupMenu(wxMenu* menu, wxWindow* target, BOOL xpStyle = TRUE, BOOL repaint = TRUE);
    BCMenu& GetPopupMenu() { return m_menuPopup; }
    BOOL IsMenuShown() const { return m_bMenuShown; }

    // ---- Painting ----
    // Paints the whole button into item (the client rectangle) for the
    // given kItem* state bits, with the hover state the button has.
    void DrawItem(wxDC& dc, const CRect& item, UINT itemState);
    // The image rectangle for a w x h image, adjusting the caption
    // rectangle, by the image position (see SetImageAlign).
    CRect PlaceImage(BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed, int w, int h) const;
    // A copy with every non-black pixel turned into its grey level
    // (0.299 r + 0.587 g + 0.114 b); black and the alpha stay.
    static wxBitmap MakeGreyIcon(const wxBitmap& icon);

    // ---- Mouse ----
    // Hover tracking for a move to point (client coordinates); leftDown:
    // the left button is held.
    void OnMouseMove(bool leftDown, CPoint point);
    void OnMouseLeave();

    bool Enable(bool enable = true) override;
    bool AcceptsFocus() const override { return true; }
    void SetLabel(const wxString& label) override;

protected:
    // Painting hooks for derived buttons.
    virtual DWORD OnDrawBackground(wxDC& dc, const CRect& rect);
    virtual DWORD OnDrawBorder(wxDC& dc, const CRect& rect);

    wxSize DoGetBestSize() const override;

private:
    struct SButtonIcon {
        wxBitmap hIcon;
        DWORD dwWidth = 0;
        DWORD dwHeight = 0;
    };
    struct SButtonBitmap {
        wxBitmap hBitmap;   // carries its mask
        DWORD dwWidth = 0;
        DWORD dwHeight = 0;
        COLORREF crTransparent = 0;
    };

    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnTopLevelActivate(wxActivateEvent& event);
    void OnClicked();
    void ShowPopupMenu();
    void EndHover();
    void ReleaseImages();
    void PaintParentBackground(wxDC& dc, const CRect& rect);
    int ChooseImage(bool hasSecond) const;
    void DrawIconImage(wxDC& dc, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed, BOOL disabled);
    void DrawBitmapImage(wxDC& dc, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed,
                         BOOL disabled);
    void DrawCaption(wxDC& dc, const CRect& caption, BOOL pressed, BOOL disabled);
    void MoveFocusOn();
    void Invalidate(BOOL repaint);
    static bool MakeTransparencyMask(wxBitmap& bitmap, COLORREF transparent);

    BOOL m_bFlat = TRUE;
    BOOL m_bHover = FALSE;
    BOOL m_bTransparent = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bFocused = FALSE;
    BOOL m_bDisabled = FALSE;
    BOOL m_bDefault = FALSE;
    BOOL m_bCheckBox = FALSE;
    BYTE m_nImageAlign = kAlignLeft;
    BOOL m_bDrawBorder = TRUE;
    BOOL m_bDrawFlatFocus = FALSE;
    COLORREF m_crColors[kColorCount] = {};
    wxWeakRef<wxWindow> m_hMenuTarget;
    BOOL m_bMenuShown = FALSE;
    BCMenu m_menuPopup;
    CString m_strTooltip;
    BOOL m_bHasTool = FALSE;
    BOOL m_bTooltipActive = FALSE;
    wxBitmap m_bmpBack;   // the background snapshot (transparent mode)
    BOOL m_bTrackInactive = TRUE;
    int m_nCheck = 0;
    CString m_szUrl;
    SButtonIcon m_icons[2];
    SButtonBitmap m_bitmaps[2];

    // Mouse and keyboard press in progress.
    bool m_bButtonDown = false;
    bool m_bPointerInside = false;
    bool m_bKeyDown = false;
    wxWeakRef<wxWindow> m_topLevel;
};
