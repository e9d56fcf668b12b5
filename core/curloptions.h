// Setting the options of a curl transfer where a refused option must stop the
// transfer: a request that went out without its timeouts, protocol limits or
// header callback would hang, follow anything or read nothing.
#pragma once

#include <string>

#include "core/curlapi.h"

// Sets options one after the other. After the first option the library
// refuses, the later ones are not set; Ok() turns false and Error() names the
// option and the library's reason.
class CCurlOptions {
public:
    CCurlOptions(const SCurlApi& api, CURL* curl) : m_api(api), m_curl(curl) {}

    template <class TValue>
    CCurlOptions& Set(CURLoption option, const char* name, TValue value)
    {
        if (m_result == CURLE_OK) {
            m_result = m_api.easy_setopt(m_curl, option, value);
            if (m_result != CURLE_OK)
                m_refused = name;
        }
        return *this;
    }

    bool Ok() const { return m_result == CURLE_OK; }
    CURLcode Result() const { return m_result; }
    // "<option name> refused: <reason>", empty while every option was taken.
    std::string Error() const
    {
        return Ok() ? std::string() : m_refused + " refused: " + m_api.easy_strerror(m_result);
    }

private:
    const SCurlApi& m_api;
    CURL* m_curl;
    CURLcode m_result = CURLE_OK;
    std::string m_refused;
};

// The option and its name, for CCurlOptions::Set.
#define NAMED_CURLOPT(option) option, #option
