// The response headers of an HTTP transfer, read one line at a time as the
// transfer library hands them over, and the two transfer callbacks every
// transfer of the program takes (headers, cancel). The header checks, the
// subtitle and update downloads and the downloader's range downloads all
// read their answers here. The server's text is not trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/curlapi.h"

// The headers of the last response (after followed redirects).
struct SHttpHeaders {
    long status = 0;             // 0 when no response arrived
    std::string contentLength;   // trimmed value, empty when absent
    std::string contentRange;    // trimmed value, e.g. "bytes 100-199/200"
    bool hasLocation = false;
    bool complete = false;       // the blank line that ends the headers arrived
};

// Takes one header line as the server sent it (with its line end) into
// headers; a status line starts them over.
void ReadHeaderLine(std::string_view line, SHttpHeaders& headers);

// The announced length: a plain decimal number of at most 18 digits, else -1
// (absent, or not a length at all).
int64_t ContentLengthOf(const SHttpHeaders& headers);

// A Content-Range value, "bytes <first>-<last>/<length>" or
// "bytes */<length>": first and length, each -1 when missing, "*" or not a
// number of at most 18 digits.
void ParseContentRange(std::string_view value, int64_t& first, int64_t& length);

// Header callback of the transfer library; its data is an SHttpHeaders.
size_t OnHttpHeaderLine(char* data, size_t size, size_t count, void* headers);

// Progress callback of the transfer library; its data is a
// const std::atomic<bool>* (or null). A true flag ends the transfer: the
// library asks at least once a second.
int OnCancelTick(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
