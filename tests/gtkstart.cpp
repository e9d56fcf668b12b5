// Kept apart from the test sources: the X11 headers' macros (None, Bool,
// Status) collide with Google Test's names.
#include <gtk/gtk.h>

#include <chrono>
#include <thread>

namespace testsupport {

bool StartGtk()
{
    // The toolkit opens its display once and gives up; GTK may be asked
    // again, and once it has a display the toolkit's own start uses it.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (gtk_init_check(nullptr, nullptr))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

} // namespace testsupport
