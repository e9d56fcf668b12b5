#include "playback/videowindow.h"

#include <algorithm>
#include <cstdint>

#include <wx/dcclient.h>
#include <wx/event.h>
#include <wx/window.h>

#include "playback/vlcplayer.h"

// After the toolkit headers: Xlib defines macros (None, Status, Bool) that
// would clash with them.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xlib.h>

namespace {

Display* XDisplayOf(void* display) { return gdk_x11_display_get_xdisplay(static_cast<GdkDisplay*>(display)); }

// The widget whose GdkWindow holds the panel's drawing area.
GtkWidget* PanelWidget(wxWindow* panel)
{
    return panel->m_wxwindow ? panel->m_wxwindow : panel->GetHandle();
}

// Runs X calls on windows that the toolkit may already have destroyed
// without letting an X error end the program.
class XErrorTrap {
public:
    explicit XErrorTrap(void* display) : m_display(static_cast<GdkDisplay*>(display))
    {
        gdk_x11_display_error_trap_push(m_display);
    }
    ~XErrorTrap()
    {
        XFlush(gdk_x11_display_get_xdisplay(m_display));
        gdk_x11_display_error_trap_pop_ignored(m_display);
    }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

private:
    GdkDisplay* m_display;
};

} // namespace

// The panel's GTK signals: the panel's X window is destroyed after
// "unrealize" and a new one exists after "realize".
struct CVideoWindowSignals {
    static void Unrealize(GtkWidget*, gpointer self) { static_cast<CVideoWindow*>(self)->Park(); }
    static void Realize(GtkWidget*, gpointer self) { static_cast<CVideoWindow*>(self)->PlaceInPanel(); }
};

CVideoWindow::~CVideoWindow()
{
    Detach();
    if (m_window && m_display) {
        XErrorTrap trap(m_display);
        XDestroyWindow(XDisplayOf(m_display), m_window);
    }
}

bool CVideoWindow::Create(wxWindow* panel)
{
    if (m_window || !panel)
        return false;
    GdkDisplay* display = gtk_widget_get_display(PanelWidget(panel));
    if (!GDK_IS_X11_DISPLAY(display))
        return false;
    m_display = display;
    Display* x = XDisplayOf(m_display);
    // Black where the engine has not drawn (before playback, letterbox bars).
    // Created on the root window and moved into the panel once it has an X
    // window of its own.
    const int screen = DefaultScreen(x);
    m_window = XCreateSimpleWindow(x, RootWindow(x, screen), 0, 0, 1, 1, 0, BlackPixel(x, screen),
                                   BlackPixel(x, screen));
    Attach(panel);
    return m_window != 0;
}

void CVideoWindow::Reattach(wxWindow* newPanel)
{
    if (!m_window || !newPanel)
        return;
    if (newPanel == m_panel) {
        PlaceInPanel();
        return;
    }
    Detach();
    Attach(newPanel);
}

void CVideoWindow::Attach(wxWindow* panel)
{
    m_panel = panel;
    GtkWidget* widget = PanelWidget(panel);
    m_widget = widget;
    g_signal_connect(widget, "unrealize", G_CALLBACK(CVideoWindowSignals::Unrealize), this);
    g_signal_connect_after(widget, "realize", G_CALLBACK(CVideoWindowSignals::Realize), this);
    panel->Bind(wxEVT_SIZE, &CVideoWindow::OnPanelSize, this);
    panel->Bind(wxEVT_DESTROY, &CVideoWindow::OnPanelDestroy, this);
    panel->Bind(wxEVT_PAINT, &CVideoWindow::OnPanelPaint, this);
    // A panel that is not on screen yet gets the window when it is realised.
    if (gtk_widget_get_realized(widget))
        PlaceInPanel();
}

void CVideoWindow::Detach()
{
    if (!m_panel)
        return;
    g_signal_handlers_disconnect_by_data(m_widget, this);
    m_panel->Unbind(wxEVT_SIZE, &CVideoWindow::OnPanelSize, this);
    m_panel->Unbind(wxEVT_DESTROY, &CVideoWindow::OnPanelDestroy, this);
    m_panel->Unbind(wxEVT_PAINT, &CVideoWindow::OnPanelPaint, this);
    Park();
    m_panel = nullptr;
    m_widget = nullptr;
}

void CVideoWindow::PlaceInPanel()
{
    if (!m_panel || !m_window)
        return;
    GtkWidget* widget = static_cast<GtkWidget*>(m_widget);
    GdkWindow* gdkWindow = gtk_widget_get_window(widget);
    // The panel's window must be a real X window to hold an X child.
    if (!gdkWindow || !gdk_window_ensure_native(gdkWindow))
        return;
    const Window parent = gdk_x11_window_get_xid(gdkWindow);
    if (!parent)
        return;
    {
        XErrorTrap trap(m_display);
        Display* x = XDisplayOf(m_display);
        XUnmapWindow(x, m_window);
        XReparentWindow(x, m_window, parent, 0, 0);
        if (!m_still.IsOk())
            XMapWindow(x, m_window);
    }
    m_placed = true;
    FitToPanel();
}

void CVideoWindow::Park()
{
    if (!m_window || !m_placed)
        return;
    // Out of the panel's X window before the toolkit destroys it, which would
    // destroy this window (and the engine's drawing) with it.
    XErrorTrap trap(m_display);
    Display* x = XDisplayOf(m_display);
    XUnmapWindow(x, m_window);
    XReparentWindow(x, m_window, DefaultRootWindow(x), 0, 0);
    m_placed = false;
}

void CVideoWindow::FitToPanel()
{
    if (!m_panel || !m_window || !m_placed)
        return;
    const double scale = m_panel->GetContentScaleFactor();
    const wxSize size = m_panel->GetClientSize();
    const unsigned width = static_cast<unsigned>(std::max(1, static_cast<int>(size.x * scale)));
    const unsigned height = static_cast<unsigned>(std::max(1, static_cast<int>(size.y * scale)));
    XErrorTrap trap(m_display);
    XMoveResizeWindow(XDisplayOf(m_display), m_window, 0, 0, width, height);
}

void CVideoWindow::OnPanelSize(wxSizeEvent& event)
{
    FitToPanel();
    event.Skip();
}

void CVideoWindow::OnPanelDestroy(wxWindowDestroyEvent& event)
{
    if (event.GetEventObject() == m_panel)
        Detach();
    event.Skip();
}

void CVideoWindow::AttachPlayer(CVlcPlayer& player)
{
    player.SetHwnd(m_window);
    player.RestVideoWhilePaused([this](const wxImage& still) { ShowStill(still); }, [this] { HideStill(); });
}

void CVideoWindow::MapWindow(bool mapped)
{
    if (!m_window || !m_placed)
        return;
    XErrorTrap trap(m_display);
    if (mapped)
        XMapWindow(XDisplayOf(m_display), m_window);
    else
        XUnmapWindow(XDisplayOf(m_display), m_window);
}

void CVideoWindow::ShowStill(const wxImage& still)
{
    m_still = still;
    m_stillShown = wxBitmap();
    MapWindow(false);
    if (m_panel)
        m_panel->Refresh();
}

void CVideoWindow::HideStill()
{
    if (!m_still.IsOk())
        return;
    m_still = wxImage();
    m_stillShown = wxBitmap();
    MapWindow(true);
}

wxRect CVideoWindow::FitPicture(const wxSize& picture, const wxSize& area)
{
    if (picture.x <= 0 || picture.y <= 0 || area.x <= 0 || area.y <= 0)
        return wxRect();
    // Compared in whole numbers: the wider of the two proportions decides.
    const int64_t widthByArea = static_cast<int64_t>(picture.x) * area.y;
    const int64_t heightByArea = static_cast<int64_t>(picture.y) * area.x;
    wxSize size = area;
    if (widthByArea > heightByArea)
        size.y = std::max(1, static_cast<int>(heightByArea / picture.x));
    else
        size.x = std::max(1, static_cast<int>(widthByArea / picture.y));
    return wxRect(wxPoint((area.x - size.x) / 2, (area.y - size.y) / 2), size);
}

void CVideoWindow::OnPanelPaint(wxPaintEvent& event)
{
    if (!m_still.IsOk() || !m_panel) {
        event.Skip();
        return;
    }
    wxPaintDC dc(m_panel);
    const wxRect place = FitPicture(m_still.GetSize(), m_panel->GetClientSize());
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    if (place.IsEmpty())
        return;
    if (!m_stillShown.IsOk() || m_stillShown.GetSize() != place.GetSize())
        m_stillShown = wxBitmap(m_still.Scale(place.width, place.height, wxIMAGE_QUALITY_BILINEAR));
    dc.DrawBitmap(m_stillShown, place.GetPosition());
}
