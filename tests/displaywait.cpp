// Kept apart from the test sources: Xlib's macros (None, Bool, Status)
// collide with Google Test's names.
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace testsupport {

bool WaitForDisplay()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) {
            XCloseDisplay(display);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

} // namespace testsupport
