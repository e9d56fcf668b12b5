// Leaks one 4,096-byte block from a handler that a library calls back, the
// way the program's own handlers are called: from the GLib main loop, a GTK
// signal, a wxWidgets event or a libVLC event. Every frame below the handler
// is that library's. The sanitizer run's leak suppressions
// (tests/sanitizers/lsan.supp) must still report the block, so they may
// cover only blocks the libraries allocate themselves.
// Usage: callbackleak glib|gtk|wx|vlc
#include <glib.h>
#include <gtk/gtk.h>
#include <vlc/vlc.h>
#include <wx/event.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

void *volatile g_pKept = nullptr;

// The handler's leak: the only pointer to the block is dropped.
__attribute__((noinline)) void LeakBlock()
{
    char *pBlock = static_cast<char *>(std::malloc(4096));
    std::memset(pBlock, 1, 4096);
    g_pKept = pBlock;
    g_pKept = nullptr;
}

gboolean OnIdle(gpointer pLoop)
{
    LeakBlock();
    g_main_loop_quit(static_cast<GMainLoop *>(pLoop));
    return G_SOURCE_REMOVE;
}

void OnValueChanged(GtkAdjustment *, gpointer)
{
    LeakBlock();
}

void OnMetaChanged(const libvlc_event_t *, void *)
{
    LeakBlock();
}

bool FromMainLoop()
{
    GMainLoop *pLoop = g_main_loop_new(nullptr, FALSE);
    g_idle_add(OnIdle, pLoop);
    g_main_loop_run(pLoop);
    g_main_loop_unref(pLoop);
    return true;
}

bool FromGtkSignal()
{
    GtkAdjustment *pAdjustment = gtk_adjustment_new(0, 0, 10, 1, 1, 0);
    g_object_ref_sink(pAdjustment);
    g_signal_connect(pAdjustment, "value-changed", G_CALLBACK(OnValueChanged), nullptr);
    gtk_adjustment_set_value(pAdjustment, 5);
    g_object_unref(pAdjustment);
    return true;
}

bool FromWxEvent()
{
    wxInitializer initializer;
    if (!initializer.IsOk())
        return false;
    wxEvtHandler handler;
    handler.Bind(wxEVT_THREAD, [](wxThreadEvent &) { LeakBlock(); });
    wxThreadEvent event;
    handler.ProcessEvent(event);
    return true;
}

bool FromVlcEvent()
{
    const char *const args[] = {"--quiet"};
    libvlc_instance_t *pInstance = libvlc_new(1, args);
    if (!pInstance)
        return false;
    libvlc_media_t *pMedia = libvlc_media_new_location(pInstance, "file:///nonexistent.mp3");
    libvlc_event_attach(libvlc_media_event_manager(pMedia), libvlc_MediaMetaChanged, OnMetaChanged, nullptr);
    libvlc_media_set_meta(pMedia, libvlc_meta_Title, "title");
    libvlc_media_release(pMedia);
    libvlc_release(pInstance);
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    struct Route
    {
        const char *name;
        bool (*run)();
    };
    const Route routes[] = {
        {"glib", FromMainLoop},
        {"gtk", FromGtkSignal},
        {"wx", FromWxEvent},
        {"vlc", FromVlcEvent},
    };
    for (const Route &route : routes)
    {
        if (argc == 2 && std::strcmp(argv[1], route.name) == 0)
        {
            if (!route.run())
            {
                std::fprintf(stderr, "callbackleak: %s could not start\n", route.name);
                return 2;
            }
            std::printf("callbackleak: %s handler ran\n", route.name);
            return 0;
        }
    }
    std::fprintf(stderr, "usage: callbackleak glib|gtk|wx|vlc\n");
    return 2;
}
