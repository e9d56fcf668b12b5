// A small HTTP server on 127.0.0.1 for the tests of the update check, of
// online pages and of the downloader: each request is answered from a reply
// function with a status and headers, or with a whole page or file body
// (optionally by byte ranges, in paced pieces, stalling or breaking off
// part-way).
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct SReply {
    int status = 200;
    std::optional<std::string> contentLength;
    std::string location;
    bool silent = false;   // read the request, then never answer
    std::string page;      // an HTML page sent whole (its length is the Content-Length)
    // A file body (sent as application/octet-stream) with the options below.
    std::string body;
    bool ranges = false;   // "Range: bytes=N-" gets 206 and the rest (416 past the end)
    // Sends only this many body bytes, then keeps the connection open and
    // silent until the server ends; the server meanwhile answers others.
    std::optional<size_t> stallAfter;
    // Sends only this many body bytes, then closes the connection.
    std::optional<size_t> closeAfter;
    // Sends the body only up to this byte of the file, then closes the
    // connection although more was announced (a transfer that breaks off).
    std::optional<size_t> closeAt;
    int pieces = 1;                            // the body in this many writes...
    std::chrono::milliseconds pieceGap {0};    // ...this far apart
};

SReply Reply(int status, std::optional<std::string> contentLength = std::nullopt, std::string location = "");
SReply NoAnswer();
SReply Page(std::string html);
SReply Body(std::string bytes);

// Serves at most maxConnections requests, for at most `lifetime` (ten
// seconds unless told), each answered from the reply function. Records
// "METHOD path" of each request.
class CLoopbackServer {
public:
    explicit CLoopbackServer(std::function<SReply(const std::string& path)> reply, int maxConnections = 4,
                             std::chrono::seconds lifetime = std::chrono::seconds(10));
    ~CLoopbackServer();
    int port() const { return m_port; }
    std::vector<std::string> requests() const;
    // The Range header of each request ("" when it had none), in order.
    std::vector<std::string> ranges() const;

private:
    void Serve();
    // True when the connection is held open (a stalled body).
    bool Answer(int fd, std::chrono::steady_clock::time_point deadline);
    bool SendBody(int fd, const SReply& reply, const std::string& rangeHeader);

    std::function<SReply(const std::string&)> m_reply;
    int m_maxConnections;
    std::chrono::seconds m_lifetime;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop {false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_requests;
    std::vector<std::string> m_ranges;
    std::vector<int> m_held;   // connections of stalled bodies, closed at the end
    std::thread m_thread;
};
