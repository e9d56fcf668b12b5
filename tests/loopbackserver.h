// A small HTTP server on 127.0.0.1 for the tests of the update check and of
// online pages: each request is answered from a reply function with a status
// and headers, or with a whole HTML page.
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
};

SReply Reply(int status, std::optional<std::string> contentLength = std::nullopt, std::string location = "");
SReply NoAnswer();
SReply Page(std::string html);

// Serves at most maxConnections requests, for at most ten seconds, each
// answered from the reply function. Records "METHOD path" of each request.
class CLoopbackServer {
public:
    explicit CLoopbackServer(std::function<SReply(const std::string& path)> reply, int maxConnections = 4);
    ~CLoopbackServer();
    int port() const { return m_port; }
    std::vector<std::string> requests() const;

private:
    void Serve();
    void Answer(int fd, std::chrono::steady_clock::time_point deadline);

    std::function<SReply(const std::string&)> m_reply;
    int m_maxConnections;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop {false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};
