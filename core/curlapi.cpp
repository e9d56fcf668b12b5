#include "core/curlapi.h"

#include <dlfcn.h>

#include <cstdio>

namespace {

template <class TFunction>
bool Resolve(void* library, const char* name, TFunction& function)
{
    function = reinterpret_cast<TFunction>(dlsym(library, name));
    return function != nullptr;
}

const SCurlApi* Load()
{
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "quenlow: no transfers: %s\n", dlerror());
        return nullptr;
    }
    static SCurlApi api;
    CURLcode (*globalInit)(long) = nullptr;
    const bool complete = Resolve(library, "curl_global_init", globalInit) &&
                          Resolve(library, "curl_easy_init", api.easy_init) &&
                          Resolve(library, "curl_easy_setopt", api.easy_setopt) &&
                          Resolve(library, "curl_easy_perform", api.easy_perform) &&
                          Resolve(library, "curl_easy_getinfo", api.easy_getinfo) &&
                          Resolve(library, "curl_easy_cleanup", api.easy_cleanup) &&
                          Resolve(library, "curl_easy_strerror", api.easy_strerror) &&
                          Resolve(library, "curl_slist_append", api.slist_append) &&
                          Resolve(library, "curl_slist_free_all", api.slist_free_all);
    if (!complete || globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        std::fprintf(stderr, "quenlow: no transfers: the transfer library is incomplete\n");
        return nullptr;
    }
    return &api;
}

} // namespace

const SCurlApi* Curl()
{
    // Thread-safe once: the frame's worker makes the first transfer.
    static const SCurlApi* const api = Load();
    return api;
}
