// The transfer library (libcurl), loaded when the first transfer starts.
// Linked into the program, it and the dozen libraries it needs (TLS,
// Kerberos, LDAP, SSH) cost some 15 ms at every start, though a session may
// make no transfer at all.
#pragma once

#include <curl/curl.h>

struct SCurlApi {
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL* curl, CURLoption option, ...);
    CURLcode (*easy_perform)(CURL* curl);
    CURLcode (*easy_getinfo)(CURL* curl, CURLINFO info, ...);
    void (*easy_cleanup)(CURL* curl);
    const char* (*easy_strerror)(CURLcode code);
    curl_slist* (*slist_append)(curl_slist* list, const char* text);
    void (*slist_free_all)(curl_slist* list);
};

// The library's functions, initialised once (curl_global_init); null when
// the library or one of them cannot be loaded.
const SCurlApi* Curl();
