#include "platform/graphics.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

bool HasGpuRendering(const std::string& driFolder)
{
    const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced != nullptr && *forced != '\0' && std::strcmp(forced, "0") != 0)
        return false;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(driFolder, error)) {
        const std::string name = entry.path().filename().string();
        if ((name.starts_with("renderD") || name.starts_with("card")) &&
            ::access(entry.path().c_str(), R_OK | W_OK) == 0)
            return true;
    }
    return false;
}
