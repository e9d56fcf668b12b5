#include "ui/onlinepage.h"

#include <dlfcn.h>

#include <cstdio>

#include "platform/file.h"

namespace {

// Beside the program, or wherever the loader finds it (a test program that
// links it has it loaded already). Loaded once and kept for the run.
CreateOnlinePageFunction LoadEntry()
{
    static CreateOnlinePageFunction entry = [] {
        const std::string besideProgram = ToFsPath(GetProgramFolder()) + kOnlinePageLibrary;
        void* library = dlopen(besideProgram.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            library = dlopen(kOnlinePageLibrary, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            std::fprintf(stderr, "quenlow: online pages cannot be shown: %s\n", dlerror());
            return CreateOnlinePageFunction(nullptr);
        }
        return reinterpret_cast<CreateOnlinePageFunction>(dlsym(library, kOnlinePageEntry));
    }();
    return entry;
}

} // namespace

std::unique_ptr<COnlinePage> CreateOnlinePage(wxWindow* parent, const SOnlinePageOptions& options)
{
    const CreateOnlinePageFunction entry = LoadEntry();
    return std::unique_ptr<COnlinePage>(entry ? entry(parent, &options) : nullptr);
}
