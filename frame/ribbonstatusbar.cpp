// The main window's status bar.
#include "frame/ribbonstatusbar.h"

#include <algorithm>
#include <cmath>

#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statline.h>

#include "ui/wxtext.h"
#include "ui/icons.h"
#include "frame/mainribbon.h"

namespace {

SStatusBarElement Pane(int id, int icon, const char* label, const char* text, const char* toolTip, bool separator)
{
    SStatusBarElement e;
    e.id = id;
    e.icon = icon;
    e.label = label;
    e.text = text;
    e.toolTip = toolTip;
    e.separator = separator;
    return e;
}

SStatusBarElement Slider(int id, int width, int minimum, int maximum, int pos, bool separator)
{
    SStatusBarElement e;
    e.kind = EStatusElementKind::Slider;
    e.id = id;
    e.width = width;
    e.rangeMin = minimum;
    e.rangeMax = maximum;
    e.pos = pos;
    e.separator = separator;
    return e;
}

const wxColour kHotBorder(230, 160, 40);
const wxColour kHotFill(255, 230, 170);
const wxColour kPressedFill(255, 200, 120);

constexpr int kIconSize = 16;

} // namespace

const std::vector<SStatusBarElement>& GetStatusBarLayout()
{
    // Play and Pause carry the tool tips of their commands' strings; the
    // other tool tips are the elements' own.
    static const std::vector<SStatusBarElement> layout = {
        Pane(kStatusPlayStateElement, 0, "", "未载入文件", "", true),
        Pane(kCmdOpenPlaylistFolder, 316, "", "", "打开播放资源所在文件夹\n文件夹", true),
        Pane(kCmdToggleRibbonPanels, 360, "", "", "显示或隐藏工具栏\n工具栏", true),
        Pane(kCmdPlay, 368, "Play", "", "播放媒体\nPlay", false),
        Pane(kCmdPause, 367, "Pause", "", "暂停播放媒体\nPause", false),
        Pane(kCmdStop, 369, "Stop", "", "停止播放\nStop", false),
        Pane(kCmdRestart, 421, "Reset Media Player", "", "重置播放.当播放器有异常时,请使用此功能.", false),
        Pane(kStatusTimeElement, 319, "Play Progress", "000:00/000:00", "显示播放器\n播放器", false),
        Slider(kCmdProgressSlider, 100, 0, 10000, 0, true),
        Pane(kCmdVolumePane, 377, "Play Progress", "", "调节音量\n音量", false),
        Slider(kCmdVolumeSlider, 50, 0, 100, 75, true),
        Pane(kStatusSentenceElement, 359, "", "第0000句/共0000句", "显示当前句子播放进度\n句子进度", true),
        Pane(kStatusDownloadElement, 448, "", "速度:0000 KB/s  进度:0000%", "播放网络视频时的缓冲速度\n下载信息", true),
    };
    return layout;
}

void UpdateElementUI(wxWindow* window, int commandId)
{
    wxUpdateUIEvent update(commandId);
    update.SetEventObject(window);
    if (!window->GetEventHandler()->ProcessEvent(update))
        return;
    if (update.GetSetEnabled())
        window->Enable(update.GetEnabled());
    if (update.GetSetShown())
        window->Show(update.GetShown());
}

// ---- CStatusBarPane --------------------------------------------------------

CStatusBarPane::CStatusBarPane(wxWindow* parent, const SStatusBarElement& element)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_commandId(element.id), m_icon(element.icon), m_label(element.label), m_text(element.text)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // The width fits the initial text (and the icon) and stays so.
    int width = FromDIP(4);
    if (m_icon)
        width += FromDIP(kIconSize) + FromDIP(4);
    if (!m_text.IsEmpty())
        width += GetTextExtent(ToWx(m_text)).x + FromDIP(4);
    const int height = std::max(FromDIP(22), GetCharHeight() + FromDIP(6));
    SetMinSize(wxSize(width, height));
    SetSize(wxSize(width, height));
    SetToolTipText(element.toolTip);

    Bind(wxEVT_PAINT, &CStatusBarPane::OnPaint, this);
    if (IsClickable()) {
        Bind(wxEVT_LEFT_DOWN, &CStatusBarPane::OnLeftDown, this);
        Bind(wxEVT_LEFT_UP, &CStatusBarPane::OnLeftUp, this);
        Bind(wxEVT_ENTER_WINDOW, &CStatusBarPane::OnEnterLeave, this);
        Bind(wxEVT_LEAVE_WINDOW, &CStatusBarPane::OnEnterLeave, this);
    }
}

void CStatusBarPane::SetText(const CString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    Refresh();
}

void CStatusBarPane::SetToolTipText(const CString& text)
{
    m_toolTip = text;
    const int newline = text.Find('\n');
    const CString description = newline >= 0 ? text.Left(newline) : text;
    if (description.IsEmpty())
        UnsetToolTip();
    else
        SetToolTip(ToWx(description));
}

void CStatusBarPane::Redraw()
{
    Refresh();
    Update();
}

bool CStatusBarPane::Enable(bool enable)
{
    const bool changed = wxWindow::Enable(enable);
    if (changed) {
        if (!enable)
            m_hover = m_pressed = false;
        Refresh();
    }
    return changed;
}

void CStatusBarPane::UpdateWindowUI(long)
{
    UpdateElementUI(this, m_commandId);
}

void CStatusBarPane::Draw(wxDC& dc) const
{
    const wxSize size = GetClientSize();
    const wxWindow* parent = GetParent();
    dc.SetBackground(wxBrush(parent ? parent->GetBackgroundColour() : GetBackgroundColour()));
    dc.Clear();
    const bool enabled = IsThisEnabled();
    if (enabled && (m_hover || m_pressed)) {
        dc.SetPen(wxPen(kHotBorder));
        dc.SetBrush(wxBrush(m_pressed ? kPressedFill : kHotFill));
        dc.DrawRoundedRectangle(0, 1, size.x, size.y - 2, 2);
    }
    int x = FromDIP(4);
    if (m_icon) {
        const int icon = FromDIP(kIconSize);
        wxBitmap bitmap = LoadProgramIcon(m_icon, icon);
        if (!enabled)
            bitmap = bitmap.ConvertToDisabled();
        dc.DrawBitmap(bitmap, x, (size.y - icon) / 2, true);
        x += icon + FromDIP(4);
    }
    if (!m_text.IsEmpty()) {
        dc.SetFont(GetFont());
        dc.SetTextForeground(enabled ? wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)
                                     : wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
        const wxString text = ToWx(m_text);
        dc.DrawText(text, x, (size.y - dc.GetTextExtent(text).y) / 2);
    }
}

void CStatusBarPane::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Draw(dc);
}

void CStatusBarPane::OnLeftDown(wxMouseEvent&)
{
    m_pressed = true;
    Refresh();
}

void CStatusBarPane::OnLeftUp(wxMouseEvent& event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    Refresh();
    if (wasPressed && GetClientRect().Contains(event.GetPosition()))
        SendCommandToFrame(this, m_commandId);
}

void CStatusBarPane::OnEnterLeave(wxMouseEvent& event)
{
    m_hover = event.GetEventType() == wxEVT_ENTER_WINDOW;
    if (!m_hover)
        m_pressed = false;
    Refresh();
}

// ---- CRibbonSlider -----------------------------------------------------------

CRibbonSlider::CRibbonSlider(wxWindow* parent, const SStatusBarElement& element)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_commandId(element.id), m_min(element.rangeMin), m_max(element.rangeMax), m_pos(element.pos), m_zoomButtons(element.zoomButtons)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const wxSize size(FromDIP(element.width), std::max(FromDIP(22), GetCharHeight() + FromDIP(6)));
    SetMinSize(size);
    SetSize(size);
    SetPos(element.pos);
    Bind(wxEVT_PAINT, &CRibbonSlider::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CRibbonSlider::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CRibbonSlider::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CRibbonSlider::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CRibbonSlider::OnCaptureLost, this);
}

void CRibbonSlider::SetRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    SetPos(m_pos);
    Refresh();
}

void CRibbonSlider::SetPos(int pos)
{
    const int clamped = std::clamp(pos, m_min, m_max);
    if (clamped == m_pos)
        return;
    m_pos = clamped;
    if (!m_dragging)
        Refresh();
}

int CRibbonSlider::TrackLeft() const
{
    return FromDIP(5);
}

int CRibbonSlider::TrackRight() const
{
    return std::max(TrackLeft(), GetClientSize().x - FromDIP(5) - 1);
}

int CRibbonSlider::PosFromX(int x) const
{
    const int left = TrackLeft();
    const int right = TrackRight();
    if (right <= left || m_max <= m_min)
        return m_min;
    const double fraction = std::clamp(static_cast<double>(x - left) / (right - left), 0.0, 1.0);
    return m_min + static_cast<int>(std::lround(fraction * (m_max - m_min)));
}

int CRibbonSlider::XFromPos(int pos) const
{
    const int left = TrackLeft();
    const int right = TrackRight();
    if (m_max <= m_min)
        return left;
    const double fraction = static_cast<double>(std::clamp(pos, m_min, m_max) - m_min) / (m_max - m_min);
    return left + static_cast<int>(std::lround(fraction * (right - left)));
}

bool CRibbonSlider::Enable(bool enable)
{
    const bool changed = wxWindow::Enable(enable);
    if (changed) {
        if (!enable)
            EndDrag(false);
        Refresh();
    }
    return changed;
}

void CRibbonSlider::UpdateWindowUI(long)
{
    UpdateElementUI(this, m_commandId);
}

void CRibbonSlider::Draw(wxDC& dc) const
{
    const wxSize size = GetClientSize();
    const wxWindow* parent = GetParent();
    dc.SetBackground(wxBrush(parent ? parent->GetBackgroundColour() : GetBackgroundColour()));
    dc.Clear();
    const bool enabled = IsThisEnabled();
    const int mid = size.y / 2;
    const int left = TrackLeft();
    const int right = TrackRight();
    const int thumb = XFromPos(GetPos());

    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxColour(170, 170, 170)));
    dc.DrawRectangle(left, mid - 1, right - left + 1, 3);
    dc.SetBrush(wxBrush(enabled ? wxColour(50, 110, 200) : wxColour(150, 150, 150)));
    dc.DrawRectangle(left, mid - 1, thumb - left + 1, 3);

    const int half = FromDIP(3);
    const int height = FromDIP(12);
    dc.SetPen(wxPen(enabled ? wxColour(70, 70, 70) : wxColour(150, 150, 150)));
    dc.SetBrush(wxBrush(enabled ? (m_dragging ? kPressedFill : wxColour(245, 245, 245)) : wxColour(220, 220, 220)));
    dc.DrawRectangle(thumb - half, mid - height / 2, 2 * half + 1, height);
}

void CRibbonSlider::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Draw(dc);
}

void CRibbonSlider::OnLeftDown(wxMouseEvent& event)
{
    m_dragging = true;
    m_dragPos = PosFromX(event.GetX());
    if (IsShownOnScreen() && !HasCapture())
        CaptureMouse();
    Refresh();
}

void CRibbonSlider::OnMotion(wxMouseEvent& event)
{
    if (!m_dragging || !event.LeftIsDown())
        return;
    const int pos = PosFromX(event.GetX());
    if (pos != m_dragPos) {
        m_dragPos = pos;
        Refresh();
    }
}

void CRibbonSlider::OnLeftUp(wxMouseEvent& event)
{
    if (!m_dragging)
        return;
    m_dragPos = PosFromX(event.GetX());
    EndDrag(true);
}

void CRibbonSlider::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    // The drag ends where the thumb was last.
    EndDrag(true);
}

void CRibbonSlider::EndDrag(bool issue)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (HasCapture())
        ReleaseMouse();
    if (issue)
        m_pos = std::clamp(m_dragPos, m_min, m_max);
    Refresh();
    if (issue)
        SendCommandToFrame(this, m_commandId);
}

// ---- CRibbonStatusBar --------------------------------------------------------

bool CRibbonStatusBar::Create(wxWindow* parent, int id)
{
    m_barId = id;
    const bool windowId = id == wxID_ANY || IsOwnToolkitId(id);
    if (!wxPanel::Create(parent, windowId ? id : wxID_ANY, wxDefaultPosition, wxDefaultSize,
                         wxBORDER_NONE | wxTAB_TRAVERSAL))
        return false;
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    for (const SStatusBarElement& element : GetStatusBarLayout()) {
        wxWindow* window = nullptr;
        if (element.kind == EStatusElementKind::Slider)
            window = new CRibbonSlider(this, element);
        else
            window = new CStatusBarPane(this, element);
        m_elements.push_back(window);
        sizer->Add(window, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, FromDIP(1));
        if (element.separator) {
            sizer->Add(new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_VERTICAL), 0,
                       wxEXPAND | wxTOP | wxBOTTOM | wxLEFT | wxRIGHT, FromDIP(3));
        }
    }
    SetSizerAndFit(sizer);
    return true;
}

namespace {

int CommandIdOf(const wxWindow* window)
{
    if (auto* pane = dynamic_cast<const CStatusBarPane*>(window))
        return pane->GetCommandId();
    if (auto* slider = dynamic_cast<const CRibbonSlider*>(window))
        return slider->GetCommandId();
    return 0;
}

} // namespace

CStatusBarPane* CRibbonStatusBar::FindElement(int id)
{
    for (wxWindow* window : m_elements) {
        if (CommandIdOf(window) == id)
            return dynamic_cast<CStatusBarPane*>(window);
    }
    return nullptr;
}

CRibbonSlider* CRibbonStatusBar::FindSlider(int id)
{
    for (wxWindow* window : m_elements) {
        if (CommandIdOf(window) == id)
            return dynamic_cast<CRibbonSlider*>(window);
    }
    return nullptr;
}

std::vector<int> CRibbonStatusBar::GetElementIds() const
{
    std::vector<int> ids;
    for (const wxWindow* window : m_elements)
        ids.push_back(CommandIdOf(window));
    return ids;
}
