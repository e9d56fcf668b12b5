// How long a test waits for the first web page of its process.
#pragma once

#include <chrono>

namespace testsupport {

// A process's first page starts the web engine's network and page
// processes: seconds on a loaded machine and far more in a sanitizer build.
// A wait that ends early costs nothing.
inline constexpr std::chrono::seconds kFirstWebPageDeadline {60};

} // namespace testsupport
