// The clipboard read through Xlib: an unmapped window of our own asks the
// CLIPBOARD selection's owner for UTF8_STRING and waits, with a deadline,
// for the answer in a property of that window. Large texts arrive in pieces
// (the INCR protocol).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <cstdlib>

#include "downloader/clipboardreader.h"

namespace {

using Clock = std::chrono::steady_clock;

// The clipboard of a talk download holds a few hundred bytes an address;
// a longer text is no list of downloads.
constexpr size_t kMaxTextBytes = 1 << 20;

// Errors about a window that went away meanwhile are expected: the default
// handler would end the program.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

class CX11ClipboardReader : public CClipboardReader {
public:
    explicit CX11ClipboardReader(Display* display) : m_display(display)
    {
        XSetErrorHandler(IgnoreError);
        // A lost connection turns the reader off instead of ending the program.
        XSetIOErrorExitHandler(
            m_display, [](Display*, void* self) { static_cast<CX11ClipboardReader*>(self)->m_lost = true; }, this);
        m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(m_display, m_window, PropertyChangeMask);
        m_clipboard = XInternAtom(m_display, "CLIPBOARD", False);
        m_utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        m_incr = XInternAtom(m_display, "INCR", False);
        m_property = XInternAtom(m_display, "HALVIKSOFT_CLIPBOARD", False);
    }
    ~CX11ClipboardReader() override
    {
        if (!m_lost)
            XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }

    bool Usable() const override { return !m_lost; }

    std::optional<std::string> ReadText(std::chrono::milliseconds timeout) override
    {
        if (m_lost)
            return std::nullopt;
        const Clock::time_point deadline = Clock::now() + timeout;
        DiscardEvents();
        if (XGetSelectionOwner(m_display, m_clipboard) == None)
            return std::string();
        XDeleteProperty(m_display, m_window, m_property);
        XConvertSelection(m_display, m_clipboard, m_utf8, m_property, m_window, CurrentTime);
        XEvent event;
        if (!WaitFor(SelectionNotify, deadline, event))
            return std::nullopt;
        if (event.xselection.property == None)
            return std::string();   // the owner has no text
        std::string text;
        Atom type = None;
        if (!TakeProperty(text, type))
            return std::nullopt;
        if (type == m_incr)
            return ReadInPieces(deadline);
        return text;
    }

private:
    void DiscardEvents()
    {
        XEvent event;
        while (!m_lost && XPending(m_display) > 0)
            XNextEvent(m_display, &event);
    }

    // Waits for an event of the type on our window; for PropertyNotify, the
    // new value of our property.
    bool WaitFor(int type, Clock::time_point deadline, XEvent& event)
    {
        while (!m_lost) {
            while (XCheckTypedWindowEvent(m_display, m_window, type, &event)) {
                if (type != PropertyNotify ||
                    (event.xproperty.atom == m_property && event.xproperty.state == PropertyNewValue))
                    return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            pollfd p {ConnectionNumber(m_display), POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(left.count()));
        }
        return false;
    }

    // Reads and deletes our property; false when it is missing or too large.
    bool TakeProperty(std::string& bytes, Atom& type)
    {
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const long maxWords = static_cast<long>(kMaxTextBytes / 4);
        if (XGetWindowProperty(m_display, m_window, m_property, 0, maxWords, True, AnyPropertyType, &type, &format,
                               &items, &after, &data) != Success)
            return false;
        const bool whole = after == 0;
        if (data != nullptr) {
            if (format == 8)
                bytes.assign(reinterpret_cast<const char*>(data), items);
            XFree(data);
        }
        return whole && !m_lost;
    }

    // The INCR protocol: deleting the property asks for the next piece; an
    // empty piece ends the text.
    std::optional<std::string> ReadInPieces(Clock::time_point deadline)
    {
        std::string text;
        for (;;) {
            XEvent event;
            if (!WaitFor(PropertyNotify, deadline, event))
                return std::nullopt;
            std::string piece;
            Atom type = None;
            if (!TakeProperty(piece, type))
                return std::nullopt;
            if (piece.empty())
                return text;
            if (text.size() + piece.size() > kMaxTextBytes)
                return std::nullopt;
            text += piece;
        }
    }

    Display* m_display;
    Window m_window = 0;
    Atom m_clipboard = None;
    Atom m_utf8 = None;
    Atom m_incr = None;
    Atom m_property = None;
    bool m_lost = false;
};

} // namespace

std::unique_ptr<CClipboardReader> OpenClipboardReader()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return nullptr;
    Display* display = XOpenDisplay(name);
    if (display == nullptr)
        return nullptr;
    return std::make_unique<CX11ClipboardReader>(display);
}
