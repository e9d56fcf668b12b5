// The ribbon area of the main window.
#include "frame/mainribbon.h"

#include <algorithm>

#include <wx/bmpbuttn.h>
#include <wx/colordlg.h>
#include <wx/combobox.h>
#include <wx/dcbuffer.h>
#include <wx/fontenum.h>
#include <wx/menu.h>
#include <wx/popupwin.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "ui/wxcolour.h"
#include "ui/wxtext.h"
#include "ui/icons.h"

namespace {

wxRibbonArtProvider* FindRibbonArt(const wxWindow* window)
{
    for (const wxWindow* p = window->GetParent(); p; p = p->GetParent()) {
        if (auto* control = dynamic_cast<const wxRibbonControl*>(p))
            return control->GetArtProvider();
    }
    return nullptr;
}

// The ribbon page's background under `window`, in the ribbon's current
// colours, so that controls of our own blend in with its buttons.
void DrawRibbonBackground(wxDC& dc, wxWindow* window)
{
    if (wxRibbonArtProvider* art = FindRibbonArt(window)) {
        art->DrawButtonBarBackground(dc, window, wxRect(window->GetClientSize()));
        return;
    }
    const wxWindow* parent = window->GetParent();
    dc.SetBackground(wxBrush(parent ? parent->GetBackgroundColour() : window->GetBackgroundColour()));
    dc.Clear();
}

wxColour RibbonLabelColour(const wxWindow* window, bool enabled)
{
    if (!enabled)
        return wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
    if (wxRibbonArtProvider* art = FindRibbonArt(window))
        return art->GetColour(wxRIBBON_ART_BUTTON_BAR_LABEL_COLOUR);
    return wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
}

// The label before the edit box, drawn in the ribbon's label colour.
class CRibbonLabel : public wxWindow {
public:
    CRibbonLabel(wxWindow* parent, const CString& text) : wxWindow(parent, wxID_ANY), m_text(ToWx(text))
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        const wxSize extent = GetTextExtent(m_text);
        SetMinSize(wxSize(extent.x + FromDIP(2), extent.y + FromDIP(2)));
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxAutoBufferedPaintDC dc(this);
            DrawRibbonBackground(dc, this);
            dc.SetFont(GetFont());
            dc.SetTextForeground(RibbonLabelColour(this, true));
            dc.DrawText(m_text, 0, (GetClientSize().y - dc.GetTextExtent(m_text).y) / 2);
        });
    }

private:
    wxString m_text;
};

} // namespace

// ---- CMainRibbonBar --------------------------------------------------------

wxRect CMainRibbonBar::GetTabRect(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_pages.GetCount()) || !m_pages.Item(index).shown)
        return wxRect();
    return m_pages.Item(index).rect;
}

// ---- CRibbonCommandBar -----------------------------------------------------

CRibbonCommandBar::CRibbonCommandBar(wxWindow* parent, wxWindowID id) : wxRibbonButtonBar(parent, id) {}

void CRibbonCommandBar::AddElement(const SRibbonElement& element)
{
    wxRibbonButtonKind kind = wxRIBBON_BUTTON_NORMAL;
    if (element.kind == ERibbonElementKind::Hybrid)
        kind = wxRIBBON_BUTTON_HYBRID;
    else if (element.checkable)
        kind = wxRIBBON_BUTTON_TOGGLE;
    const wxString label = ToWx(element.text);
    AddButton(element.id, label, LoadCommandIcon(element.id, 32), LoadCommandIcon(element.id, 16), wxNullBitmap,
              wxNullBitmap, kind, label);
    if (element.size == ERibbonElementSize::Small)
        SetButtonMaxSizeClass(element.id, wxRIBBON_BUTTONBAR_BUTTON_MEDIUM);
    SState state;
    state.text = element.text;
    m_states[element.id] = state;
    m_elements.push_back(element);
}

wxSize CRibbonCommandBar::GetMinSize() const
{
    return m_fullSize ? DoGetBestSize() : wxRibbonButtonBar::GetMinSize();
}

bool CRibbonCommandBar::IsButtonEnabled(int id) const
{
    auto found = m_states.find(id);
    return found != m_states.end() && found->second.enabled;
}

bool CRibbonCommandBar::IsButtonChecked(int id) const
{
    auto found = m_states.find(id);
    return found != m_states.end() && found->second.checked;
}

CString CRibbonCommandBar::GetButtonText(int id) const
{
    auto found = m_states.find(id);
    return found != m_states.end() ? found->second.text : CString();
}

const SRibbonElement* CRibbonCommandBar::FindElement(int id) const
{
    for (const SRibbonElement& element : m_elements) {
        if (element.id == id)
            return &element;
    }
    return nullptr;
}

void CRibbonCommandBar::EnableButton(int button_id, bool enable)
{
    auto found = m_states.find(button_id);
    if (found != m_states.end())
        found->second.enabled = enable;
    wxRibbonButtonBar::EnableButton(button_id, enable);
}

void CRibbonCommandBar::ToggleButton(int button_id, bool checked)
{
    auto found = m_states.find(button_id);
    if (found != m_states.end())
        found->second.checked = checked;
    // The ribbon draws only plain toggle buttons pressed; a checked drop-down
    // button shows its image on a highlight instead.
    const SRibbonElement* element = FindElement(button_id);
    if (element && element->kind == ERibbonElementKind::Hybrid) {
        if (found != m_states.end() && found->second.shownChecked != checked) {
            found->second.shownChecked = checked;
            const auto image = checked ? LoadCheckedCommandIcon : LoadCommandIcon;
            SetButtonIcon(button_id, image(button_id, 32), image(button_id, 16));
        }
        return;
    }
    wxRibbonButtonBar::ToggleButton(button_id, checked);
}

void CRibbonCommandBar::UpdateWindowUI(long flags)
{
    // The bar's own id first (nothing handles it), as every window does.
    wxWindowBase::UpdateWindowUI(flags);

    // Idle updates skip bars the learner cannot see (the other categories);
    // an explicit update does every button.
    if ((flags & wxUPDATE_UI_FROMIDLE) && !IsShownOnScreen())
        return;

    wxWindow* target = m_updateTarget ? m_updateTarget : this;
    bool relabelled = false;
    for (const SRibbonElement& element : m_elements) {
        wxUpdateUIEvent update(element.id);
        update.SetEventObject(this);
        if (!target->GetEventHandler()->ProcessEvent(update))
            continue;
        SState& state = m_states[element.id];
        if (update.GetSetEnabled() && update.GetEnabled() != state.enabled)
            EnableButton(element.id, update.GetEnabled());
        if (update.GetSetChecked() && update.GetChecked() != state.checked)
            ToggleButton(element.id, update.GetChecked());
        if (update.GetSetText()) {
            const CString text = FromWx(update.GetText());
            if (text != state.text) {
                state.text = text;
                SetButtonText(element.id, update.GetText());
                relabelled = true;
            }
        }
    }
    if (relabelled)
        Realize();
}

// ---- CRibbonColorButton ----------------------------------------------------

namespace {

// The palette of a colour button: the automatic colour, the standard colours
// in a grid, and the button that opens the colour dialog.
class CColorPalettePopup : public wxPopupTransientWindow {
public:
    static constexpr int kColumns = 8;
    static constexpr int kCell = 16;
    static constexpr int kMargin = 4;
    static constexpr int kRow = 24;
    enum { kNone = -1, kAutomatic = -2, kOther = -3 };

    explicit CColorPalettePopup(CRibbonColorButton* owner)
        : wxPopupTransientWindow(owner, wxBORDER_SIMPLE), m_owner(owner)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        const int rows = Rows();
        SetClientSize(FromDIP(wxSize(2 * kMargin + kColumns * kCell, 2 * kMargin + 2 * kRow + rows * kCell + 8)));
        Bind(wxEVT_PAINT, &CColorPalettePopup::OnPaint, this);
        Bind(wxEVT_LEFT_UP, &CColorPalettePopup::OnLeftUp, this);
        Bind(wxEVT_MOTION, &CColorPalettePopup::OnMotion, this);
    }

protected:
    // A palette is made for each opening; it goes once it has closed, from
    // the owner's queue, never inside its own event handling.
    void OnDismiss() override
    {
        CColorPalettePopup* self = this;
        m_owner->CallAfter([self] { self->Destroy(); });
    }

private:
    static int Rows()
    {
        const int count = static_cast<int>(CRibbonColorButton::GetStandardColors().size());
        return (count + kColumns - 1) / kColumns;
    }

    wxRect Scaled(int x, int y, int w, int h) const
    {
        return wxRect(FromDIP(wxPoint(x, y)), FromDIP(wxSize(w, h)));
    }
    wxRect AutomaticRect() const
    {
        return Scaled(kMargin, kMargin, kColumns * kCell, kRow - 2);
    }
    wxRect CellRect(int index) const
    {
        const int x = kMargin + (index % kColumns) * kCell;
        const int y = kMargin + kRow + 4 + (index / kColumns) * kCell;
        return Scaled(x + 1, y + 1, kCell - 2, kCell - 2);
    }
    wxRect OtherRect() const
    {
        return Scaled(kMargin, kMargin + kRow + 8 + Rows() * kCell, kColumns * kCell, kRow - 2);
    }

    int HitTest(const wxPoint& p) const
    {
        if (AutomaticRect().Contains(p))
            return kAutomatic;
        if (OtherRect().Contains(p))
            return kOther;
        const int count = static_cast<int>(CRibbonColorButton::GetStandardColors().size());
        for (int i = 0; i < count; ++i) {
            if (CellRect(i).Contains(p))
                return i;
        }
        return kNone;
    }

    void DrawTextButton(wxDC& dc, const wxRect& rect, const CString& text, const wxColour* swatch, bool hot) const
    {
        dc.SetPen(hot ? wxPen(wxColour(230, 160, 40)) : *wxTRANSPARENT_PEN);
        dc.SetBrush(hot ? wxBrush(wxColour(255, 230, 170)) : *wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(rect);
        int x = rect.x + FromDIP(4);
        if (swatch) {
            const int side = rect.height - FromDIP(8);
            dc.SetPen(wxPen(wxColour(120, 120, 120)));
            dc.SetBrush(wxBrush(*swatch));
            dc.DrawRectangle(x, rect.y + FromDIP(4), side, side);
            x += side + FromDIP(6);
        }
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_MENUTEXT));
        const wxString label = ToWx(text);
        dc.DrawText(label, x, rect.y + (rect.height - dc.GetTextExtent(label).y) / 2);
    }

    void OnPaint(wxPaintEvent&)
    {
        wxAutoBufferedPaintDC dc(this);
        dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU)));
        dc.Clear();
        dc.SetFont(GetFont());
        const wxColour automatic = ToWxColour(m_owner->GetAutomaticColor());
        DrawTextButton(dc, AutomaticRect(), "常用颜色", &automatic, m_hot == kAutomatic);
        const std::vector<COLORREF>& colors = CRibbonColorButton::GetStandardColors();
        for (int i = 0; i < static_cast<int>(colors.size()); ++i) {
            wxRect cell = CellRect(i);
            dc.SetPen(wxPen(m_hot == i ? wxColour(230, 120, 0) : wxColour(150, 150, 150)));
            dc.SetBrush(wxBrush(ToWxColour(colors[i])));
            dc.DrawRectangle(cell);
            if (colors[i] == m_owner->GetColor()) {
                dc.SetBrush(*wxTRANSPARENT_BRUSH);
                dc.SetPen(wxPen(wxColour(0, 0, 0)));
                dc.DrawRectangle(cell.Inflate(1));
            }
        }
        DrawTextButton(dc, OtherRect(), "添加颜色", nullptr, m_hot == kOther);
        dc.SetPen(wxPen(wxColour(150, 150, 150)));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(GetClientRect());
    }

    void OnMotion(wxMouseEvent& event)
    {
        const int hot = HitTest(event.GetPosition());
        if (hot != m_hot) {
            m_hot = hot;
            Refresh();
        }
    }

    void OnLeftUp(wxMouseEvent& event)
    {
        const int hit = HitTest(event.GetPosition());
        if (hit == kNone)
            return;
        DismissAndNotify();
        CRibbonColorButton* owner = m_owner;
        if (hit == kAutomatic) {
            owner->SelectColor(owner->GetAutomaticColor());
        } else if (hit == kOther) {
            // The dialog is modal: open it once the palette has gone.
            owner->CallAfter([owner] {
                wxColourData data;
                data.SetColour(ToWxColour(owner->GetColor()));
                wxColourDialog dialog(wxGetTopLevelParent(owner), &data);
                dialog.SetTitle(ToWx(CString("添加颜色")));
                if (dialog.ShowModal() == wxID_OK)
                    owner->SelectColor(FromWxColour(dialog.GetColourData().GetColour()));
            });
        } else {
            owner->SelectColor(CRibbonColorButton::GetStandardColors()[hit]);
        }
    }

    CRibbonColorButton* m_owner;
    int m_hot = kNone;
};

} // namespace

CRibbonColorButton::CRibbonColorButton(wxWindow* parent, const SRibbonElement& element)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_commandId(element.id), m_text(element.text), m_color(element.initialColor), m_automatic(element.initialColor)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const wxSize text = GetTextExtent(ToWx(m_text));
    const wxSize size(FromDIP(16 + 6 + 6) + text.x + ArrowWidth(), std::max(FromDIP(22), text.y + FromDIP(6)));
    SetMinSize(size);
    SetSize(size);
    SetToolTip(ToWx(m_text));
    Bind(wxEVT_PAINT, &CRibbonColorButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CRibbonColorButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CRibbonColorButton::OnLeftUp, this);
    Bind(wxEVT_ENTER_WINDOW, &CRibbonColorButton::OnEnterLeave, this);
    Bind(wxEVT_LEAVE_WINDOW, &CRibbonColorButton::OnEnterLeave, this);
}

const std::vector<COLORREF>& CRibbonColorButton::GetStandardColors()
{
    static const std::vector<COLORREF> colors = {
        RGB(0, 0, 0),       RGB(128, 128, 128), RGB(128, 0, 0),     RGB(128, 128, 0),
        RGB(0, 128, 0),     RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 0, 128),
        RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 0, 0),     RGB(255, 255, 0),
        RGB(0, 255, 0),     RGB(0, 255, 255),   RGB(0, 0, 255),     RGB(255, 0, 255),
        RGB(64, 64, 64),    RGB(83, 83, 83),    RGB(255, 153, 0),   RGB(255, 204, 153),
        RGB(204, 255, 204), RGB(204, 236, 255), RGB(153, 204, 255), RGB(204, 153, 255),
        RGB(240, 240, 240), RGB(255, 251, 240), RGB(153, 51, 0),    RGB(51, 51, 153),
        RGB(0, 102, 204),   RGB(51, 153, 102),  RGB(255, 102, 0),   RGB(102, 0, 102),
    };
    return colors;
}

int CRibbonColorButton::ArrowWidth() const
{
    return FromDIP(12);
}

void CRibbonColorButton::SetColor(COLORREF color)
{
    m_color = color;
    Refresh();
}

void CRibbonColorButton::SelectColor(COLORREF color)
{
    SetColor(color);
    SendCommandToFrame(this, m_commandId);
}

bool CRibbonColorButton::Enable(bool enable)
{
    const bool changed = wxWindow::Enable(enable);
    if (changed)
        Refresh();
    return changed;
}

void CRibbonColorButton::Draw(wxDC& dc) const
{
    const wxSize size = GetClientSize();
    DrawRibbonBackground(dc, const_cast<CRibbonColorButton*>(this));
    const bool enabled = IsThisEnabled();
    if (enabled && (m_hover || m_pressed)) {
        dc.SetPen(wxPen(wxColour(230, 160, 40)));
        dc.SetBrush(wxBrush(m_pressed ? wxColour(255, 200, 120) : wxColour(255, 230, 170)));
        dc.DrawRoundedRectangle(0, 0, size.x, size.y, 2);
        dc.DrawLine(size.x - ArrowWidth(), 2, size.x - ArrowWidth(), size.y - 2);
    }
    const int icon = FromDIP(16);
    const int top = (size.y - icon) / 2 - FromDIP(1);
    wxBitmap bitmap = LoadCommandIcon(m_commandId, icon);
    if (!enabled)
        bitmap = bitmap.ConvertToDisabled();
    dc.DrawBitmap(bitmap, FromDIP(3), top, true);
    // The current colour as a bar under the icon.
    dc.SetPen(wxPen(wxColour(110, 110, 110)));
    dc.SetBrush(wxBrush(enabled ? ToWxColour(m_color) : wxColour(200, 200, 200)));
    dc.DrawRectangle(FromDIP(3), top + icon - FromDIP(3), icon, FromDIP(4));

    dc.SetFont(GetFont());
    dc.SetTextForeground(enabled && (m_hover || m_pressed) ? wxColour(0, 0, 0) : RibbonLabelColour(this, enabled));
    const wxString label = ToWx(m_text);
    dc.DrawText(label, FromDIP(3) + icon + FromDIP(4), (size.y - dc.GetTextExtent(label).y) / 2);

    const int ax = size.x - ArrowWidth() / 2 - 1;
    const int ay = size.y / 2 - 1;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(enabled ? RibbonLabelColour(this, true) : wxColour(160, 160, 160)));
    const wxPoint arrow[] = {wxPoint(ax - 3, ay), wxPoint(ax + 4, ay), wxPoint(ax, ay + 4)};
    dc.DrawPolygon(3, arrow);
}

void CRibbonColorButton::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Draw(dc);
}

void CRibbonColorButton::OnLeftDown(wxMouseEvent&)
{
    m_pressed = true;
    Refresh();
}

void CRibbonColorButton::OnLeftUp(wxMouseEvent& event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    Refresh();
    if (!wasPressed || !GetClientRect().Contains(event.GetPosition()))
        return;
    if (event.GetX() >= GetClientSize().x - ArrowWidth())
        ShowPalette();
    else
        SendCommandToFrame(this, m_commandId);
}

void CRibbonColorButton::OnEnterLeave(wxMouseEvent& event)
{
    m_hover = event.GetEventType() == wxEVT_ENTER_WINDOW;
    if (!m_hover)
        m_pressed = false;
    Refresh();
}

void CRibbonColorButton::ShowPalette()
{
    auto* palette = new CColorPalettePopup(this);
    palette->Position(ClientToScreen(wxPoint(0, 0)), wxSize(0, GetSize().y));
    palette->Popup();
}

// ---- CMainRibbon -----------------------------------------------------------

bool CMainRibbon::Create(wxWindow* parent, std::initializer_list<int> hidden)
{
    if (!wxPanel::Create(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxTAB_TRAVERSAL))
        return false;

    m_appButton = new wxBitmapButton(this, wxID_ANY, LoadProgramIcon(kApplicationButtonImage, 32));
    m_appButton->SetToolTip(ToWx(CString(GetApplicationMenuLayout().groupName)));
    m_appButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ShowApplicationMenu(); });

    m_ribbonBar = new CMainRibbonBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                     wxRIBBON_BAR_FLOW_HORIZONTAL | wxRIBBON_BAR_SHOW_PAGE_LABELS);
    const std::vector<SRibbonCategory>& layout = GetRibbonLayout();
    // Every category has its tab from the start; the panels of one are made
    // when it is first shown (the first one now): most of a session never
    // opens most of them, and each costs some 15 ms of a start.
    for (const SRibbonCategory& category : layout)
        m_pages.push_back({new wxRibbonPage(m_ribbonBar, wxID_ANY, ToWx(category.name)), false});
    FillCategory(0);
    m_ribbonBar->Bind(wxEVT_RIBBONBAR_PAGE_CHANGING, [this](wxRibbonBarEvent& event) {
        for (size_t index = 0; index < m_pages.size(); ++index) {
            if (m_pages[index].page == event.GetPage())
                FillCategory(static_cast<int>(index));
        }
        event.Skip();
    });
    for (const int index : hidden) {
        if (index > 0 && index < static_cast<int>(layout.size()))   // the first one stays active
            m_ribbonBar->ShowPage(static_cast<size_t>(index), false);
    }
    m_ribbonBar->SetActivePage(static_cast<size_t>(0));
    m_ribbonBar->Realize();
    m_bRealized = true;

    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(m_appButton, 0, wxALIGN_TOP | wxALL, FromDIP(2));
    sizer->Add(m_ribbonBar, 1, wxEXPAND);
    SetSizerAndFit(sizer);
    return true;
}

void CMainRibbon::FillCategory(int index)
{
    if (index < 0 || index >= static_cast<int>(m_pages.size()) || m_pages[index].filled)
        return;
    m_pages[index].filled = true;
    for (const SRibbonPanel& panel : GetRibbonLayout()[index].panels)
        BuildPanel(index, m_pages[index].page, panel);
    if (m_bRealized) {
        m_ribbonBar->Realize();
        // The new buttons take the states the frame gives their commands.
        m_pages[index].page->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    }
}

void CMainRibbon::FillAllCategories()
{
    for (int index = 0; index < static_cast<int>(m_pages.size()); ++index)
        FillCategory(index);
}

void CMainRibbon::BuildPanel(int category, wxWindow* page, const SRibbonPanel& panel)
{
    const auto isButton = [](const SRibbonElement& e) {
        return e.kind == ERibbonElementKind::Button || e.kind == ERibbonElementKind::Hybrid ||
               e.kind == ERibbonElementKind::Blank;
    };
    // A trailing separator separates nothing.
    std::vector<SRibbonElement> elements = panel.elements;
    while (!elements.empty() && elements.back().kind == ERibbonElementKind::Separator)
        elements.pop_back();
    const bool onlyButtons = std::all_of(elements.begin(), elements.end(), isButton);

    // In a narrow window a panel the ribbon cannot fit collapses to its name;
    // a click shows its controls in a pop-up copy of the panel.
    const long style = wxRIBBON_PANEL_DEFAULT_STYLE;
    auto* ribbonPanel = new wxRibbonPanel(page, wxID_ANY, ToWx(panel.name), wxNullBitmap, wxDefaultPosition,
                                          wxDefaultSize, style);

    const auto newBar = [&] {
        auto* bar = new CRibbonCommandBar(ribbonPanel);
        bar->SetUpdateTarget(this);
        bar->Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &CMainRibbon::OnButtonClicked, this);
        bar->Bind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &CMainRibbon::OnDropDownClicked, this);
        m_bars.push_back({category, bar});
        return bar;
    };
    const auto addButton = [&](CRibbonCommandBar* bar, const SRibbonElement& element) {
        // Elements without text have no picture or place of their own.
        if (element.kind != ERibbonElementKind::Blank)
            bar->AddElement(element);
    };

    if (onlyButtons) {
        // The smaller button layouts put the labels over each other; a panel
        // without room collapses to its name instead.
        CRibbonCommandBar* bar = newBar();
        bar->KeepFullSize();
        for (const SRibbonElement& element : elements)
            addButton(bar, element);
        return;
    }

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    CRibbonCommandBar* bar = nullptr;
    wxBoxSizer* column = nullptr;
    for (const SRibbonElement& element : elements) {
        if (isButton(element)) {
            column = nullptr;
            if (!bar) {
                bar = newBar();
                bar->KeepFullSize();
                row->Add(bar, 0, wxALIGN_CENTER_VERTICAL);
            }
            addButton(bar, element);
        } else if (element.kind == ERibbonElementKind::Separator) {
            bar = nullptr;
            column = nullptr;
            auto* line = new wxWindow(ribbonPanel, wxID_ANY, wxDefaultPosition, wxSize(1, 1));
            line->SetBackgroundColour(wxColour(170, 170, 170));
            row->Add(line, 0, wxEXPAND | wxALL, FromDIP(4));
        } else {
            // Consecutive stand-ins share a column.
            bar = nullptr;
            if (!column) {
                column = new wxBoxSizer(wxVERTICAL);
                row->Add(column, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, FromDIP(3));
            }
            wxWindow* control = CreateStandIn(ribbonPanel, element);
            if (element.kind == ERibbonElementKind::Edit) {
                auto* labelled = new wxBoxSizer(wxHORIZONTAL);
                labelled->Add(new CRibbonLabel(ribbonPanel, element.text), 0,
                              wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(4));
                labelled->Add(control, 0, wxALIGN_CENTER_VERTICAL);
                column->Add(labelled, 0, wxTOP | wxBOTTOM, FromDIP(2));
            } else {
                column->Add(control, 0, wxEXPAND | wxTOP | wxBOTTOM, FromDIP(2));
            }
        }
    }
    ribbonPanel->SetSizer(row);
}

wxWindow* CMainRibbon::CreateStandIn(wxWindow* parent, const SRibbonElement& element)
{
    const int id = element.id;
    wxWindow* control = nullptr;
    switch (element.kind) {
    case ERibbonElementKind::FontCombo: {
        wxArrayString faces = wxFontEnumerator::GetFacenames();
        const wxString initial = ToWx(element.initialText);
        // The program's initial face stays choosable even where the font
        // system only substitutes it.
        if (faces.Index(initial) == wxNOT_FOUND)
            faces.Add(initial);
        faces.Sort();
        // Face names are wide; the combo gets room for a typical one.
        auto* combo = new wxComboBox(parent, wxID_ANY, initial, wxDefaultPosition,
                                     wxSize(FromDIP(std::max(element.width, 130)), -1), faces,
                                     wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
        control = combo;
        break;
    }
    case ERibbonElementKind::SizeCombo: {
        wxArrayString sizes;
        for (const char* choice : element.choices)
            sizes.Add(ToWx(choice));
        auto* combo = new wxComboBox(parent, wxID_ANY, ToWx(element.initialText), wxDefaultPosition,
                                     wxSize(FromDIP(std::max(element.width, 70)), -1), sizes,
                                     wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
        control = combo;
        break;
    }
    case ERibbonElementKind::ColorButton:
        control = new CRibbonColorButton(parent, element);
        break;
    case ERibbonElementKind::Edit: {
        auto* edit = new wxTextCtrl(parent, wxID_ANY, ToWx(element.initialText), wxDefaultPosition,
                                    wxSize(FromDIP(element.width), -1), wxTE_PROCESS_ENTER);
        control = edit;
        break;
    }
    default:
        return nullptr;
    }
    if (element.kind != ERibbonElementKind::ColorButton) {
        // A typed value applies on Enter, on a choice from the list, and when
        // the learner leaves the box (Tab, a click elsewhere); text set by
        // the program (ChangeValue) is no typing.
        const auto apply = [this, id] {
            m_typedStandIns.erase(id);
            SendCommandToFrame(this, id);
        };
        if (element.kind != ERibbonElementKind::Edit)
            control->Bind(wxEVT_COMBOBOX, [apply](wxCommandEvent&) { apply(); });
        control->Bind(wxEVT_TEXT_ENTER, [apply](wxCommandEvent&) { apply(); });
        control->Bind(wxEVT_TEXT, [this, id](wxCommandEvent& event) {
            event.Skip();
            m_typedStandIns.insert(id);
        });
        control->Bind(wxEVT_KILL_FOCUS, [this, apply, id](wxFocusEvent& event) {
            event.Skip();
            if (m_typedStandIns.count(id) != 0)
                apply();
        });
    }
    m_standIns[id] = control;
    return control;
}

void CMainRibbon::UpdateWindowUI(long flags)
{
    wxPanel::UpdateWindowUI(flags);
    for (const auto& [id, control] : m_standIns) {
        wxUpdateUIEvent update(id);
        update.SetEventObject(control);
        if (!GetEventHandler()->ProcessEvent(update))
            continue;
        if (update.GetSetEnabled())
            control->Enable(update.GetEnabled());
        if (update.GetSetText()) {
            if (auto* entry = dynamic_cast<wxTextEntry*>(control)) {
                if (entry->GetValue() != update.GetText())
                    entry->ChangeValue(update.GetText());
            }
        }
    }
}

// ---- Categories --------------------------------------------------------------

int CMainRibbon::GetCategoryCount()
{
    return m_ribbonBar ? static_cast<int>(m_ribbonBar->GetPageCount()) : 0;
}

CString CMainRibbon::GetCategoryName(int index)
{
    if (index < 0 || index >= GetCategoryCount())
        return CString();
    return FromWx(m_ribbonBar->GetPage(index)->GetLabel());
}

int CMainRibbon::GetActiveCategory()
{
    return m_ribbonBar ? m_ribbonBar->GetActivePage() : -1;
}

CString CMainRibbon::GetActiveCategoryName()
{
    return GetCategoryName(GetActiveCategory());
}

void CMainRibbon::SetActiveCategory(int index)
{
    FillCategory(index);
    if (index >= 0 && index < GetCategoryCount())
        m_ribbonBar->SetActivePage(static_cast<size_t>(index));
}

void CMainRibbon::ShowCategory(int index, bool show)
{
    if (index < 0 || index >= GetCategoryCount())
        return;
    // A hidden category cannot stay the active one: the first visible
    // category takes its place.
    if (!show && GetActiveCategory() == index) {
        for (int other = 0; other < GetCategoryCount(); ++other) {
            if (other != index && IsCategoryVisible(other)) {
                SetActiveCategory(other);
                break;
            }
        }
    }
    m_ribbonBar->ShowPage(static_cast<size_t>(index), show);
    m_ribbonBar->Realize();
    m_ribbonBar->Refresh();
}

bool CMainRibbon::IsCategoryVisible(int index)
{
    if (index < 0 || index >= GetCategoryCount())
        return false;
    return m_ribbonBar->IsPageShown(static_cast<size_t>(index));
}

// ---- Stand-ins ---------------------------------------------------------------

wxWindow* CMainRibbon::FindStandIn(int id)
{
    auto found = m_standIns.find(id);
    return found != m_standIns.end() ? found->second : nullptr;
}

COLORREF CMainRibbon::GetColorButtonColor(int id)
{
    if (auto* button = dynamic_cast<CRibbonColorButton*>(FindStandIn(id)))
        return button->GetColor();
    // No such button: the automatic colour, as the colour users read it.
    return static_cast<COLORREF>(-1);
}

CString CMainRibbon::GetComboText(int id)
{
    if (auto* combo = dynamic_cast<wxComboBox*>(FindStandIn(id)))
        return FromWx(combo->GetValue());
    return CString();
}

void CMainRibbon::SetComboText(int id, const CString& text)
{
    auto* combo = dynamic_cast<wxComboBox*>(FindStandIn(id));
    if (!combo)
        return;
    const wxString value = ToWx(text);
    const int item = combo->FindString(value, true);
    if (item != wxNOT_FOUND)
        combo->SetSelection(item);
    combo->ChangeValue(value);
}

CString CMainRibbon::GetEditText(int id)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(FindStandIn(id)))
        return FromWx(edit->GetValue());
    return CString();
}

void CMainRibbon::SetEditText(int id, const CString& text)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(FindStandIn(id)))
        edit->ChangeValue(ToWx(text));
}

// ---- Buttons and menus -------------------------------------------------------

CRibbonCommandBar* CMainRibbon::FindButtonBar(int id, int category)
{
    if (category >= 0)
        FillCategory(category);
    else
        FillAllCategories();
    for (const SBuiltBar& built : m_bars) {
        if ((category < 0 || built.category == category) && built.bar->HasButton(id))
            return built.bar;
    }
    return nullptr;
}

std::unique_ptr<CCommandMenu> CMainRibbon::CreateApplicationMenu() const
{
    const SApplicationMenu& layout = GetApplicationMenuLayout();
    auto menu = std::make_unique<CCommandMenu>();
    wxMenu* looks = menu->AddSubMenu(layout.groupName);
    for (const SRibbonSubItem& look : layout.looks)
        menu->Append(look.id, look.text, wxITEM_RADIO, looks);
    menu->AppendSeparator();
    menu->Append(layout.about.id, layout.about.text, wxITEM_NORMAL);
    return menu;
}

std::unique_ptr<CCommandMenu> CMainRibbon::CreateDropDownMenu(int buttonId) const
{
    // From the layout: the button's category may not have its panels yet.
    for (const SRibbonCategory& category : GetRibbonLayout()) {
        for (const SRibbonPanel& panel : category.panels) {
            for (const SRibbonElement& element : panel.elements) {
                if (element.id != buttonId || element.items.empty())
                    continue;
                auto menu = std::make_unique<CCommandMenu>();
                for (const SRibbonSubItem& item : element.items)
                    menu->Append(item.id, item.text, item.checkable ? wxITEM_CHECK : wxITEM_NORMAL);
                return menu;
            }
        }
    }
    return nullptr;
}

void CMainRibbon::PopupAndIssue(wxWindow* owner, CCommandMenu& menu, const wxPoint& position)
{
    // The frame's update handlers set the items' state before the menu shows.
    menu.UpdateUI(this);
    const int chosen = owner->GetPopupMenuSelectionFromUser(menu.GetMenu(), position);
    const int command = chosen == wxID_NONE ? 0 : menu.CommandFromItem(chosen);
    if (command)
        SendCommandToFrame(this, command);
}

void CMainRibbon::ShowApplicationMenu()
{
    std::unique_ptr<CCommandMenu> menu = CreateApplicationMenu();
    PopupAndIssue(m_appButton, *menu, wxPoint(0, m_appButton->GetSize().y));
}

void CMainRibbon::PopupForButton(CRibbonCommandBar* bar, int buttonId)
{
    std::unique_ptr<CCommandMenu> menu = CreateDropDownMenu(buttonId);
    if (!menu)
        return;
    PopupAndIssue(bar, *menu, bar->GetItemRect(buttonId).GetBottomLeft());
}

void CMainRibbon::OnButtonClicked(wxRibbonButtonBarEvent& event)
{
    const int id = event.GetId();
    // A toggle button flips itself when clicked; its pressed look belongs to
    // the frame's update handler, so it returns to the state last given.
    if (auto* bar = dynamic_cast<CRibbonCommandBar*>(event.GetBar())) {
        const SRibbonElement* element = bar->FindElement(id);
        if (element && element->kind == ERibbonElementKind::Button && element->checkable)
            bar->CallAfter([bar, id] { bar->ToggleButton(id, bar->IsButtonChecked(id)); });
    }
    SendCommandToFrame(this, id);
}

void CMainRibbon::OnDropDownClicked(wxRibbonButtonBarEvent& event)
{
    if (auto* bar = dynamic_cast<CRibbonCommandBar*>(event.GetBar()))
        PopupForButton(bar, event.GetId());
}
