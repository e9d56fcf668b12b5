// The graphics-processor test: a usable render node counts, anything else
// (no folder, other device names, LIBGL_ALWAYS_SOFTWARE) means software.
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/graphics.h"
#include "tests/testsupport.h"

namespace {

TEST(GraphicsTest, ARenderNodeMeansAGraphicsProcessor)
{
    const char* saved = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    const std::string previous = saved ? saved : "";
    ::unsetenv("LIBGL_ALWAYS_SOFTWARE");

    testsupport::TempFolder none;
    testsupport::TempFolder other;
    other.write("by-path/x", "");
    testsupport::TempFolder render;
    render.write("renderD128", "");
    EXPECT_FALSE(HasGpuRendering(none.path() + "missing"));
    EXPECT_FALSE(HasGpuRendering(other.path()));
    EXPECT_TRUE(HasGpuRendering(render.path()));

    ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    EXPECT_FALSE(HasGpuRendering(render.path()));
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "0", 1);
    EXPECT_TRUE(HasGpuRendering(render.path()));

    if (saved)
        ::setenv("LIBGL_ALWAYS_SOFTWARE", previous.c_str(), 1);
    else
        ::unsetenv("LIBGL_ALWAYS_SOFTWARE");
}

} // namespace
