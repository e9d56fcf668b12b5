// The loopback HTTP server of the update-check tests (see loopbackserver.h).
#include "tests/loopbackserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

SReply Reply(int status, std::optional<std::string> contentLength, std::string location)
{
    SReply reply;
    reply.status = status;
    reply.contentLength = std::move(contentLength);
    reply.location = std::move(location);
    return reply;
}

SReply NoAnswer()
{
    SReply reply;
    reply.silent = true;
    return reply;
}

SReply Page(std::string html)
{
    SReply reply;
    reply.page = std::move(html);
    return reply;
}

CLoopbackServer::CLoopbackServer(std::function<SReply(const std::string& path)> reply, int maxConnections)
    : m_reply(std::move(reply)), m_maxConnections(maxConnections)
{
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listen, 8) != 0 || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot start the loopback server");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

CLoopbackServer::~CLoopbackServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listen);
}

std::vector<std::string> CLoopbackServer::requests() const
{
    const std::lock_guard<std::mutex> lock(m_lock);
    return m_requests;
}

void CLoopbackServer::Serve()
{
    const auto deadline = Clock::now() + 10s;
    for (int served = 0; served < m_maxConnections && !m_stop && Clock::now() < deadline;) {
        pollfd p {m_listen, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++served;
        Answer(fd, deadline);
        ::close(fd);
    }
}

void CLoopbackServer::Answer(int fd, Clock::time_point deadline)
{
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && Clock::now() < deadline && !m_stop) {
        pollfd p {fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return;
        request.append(buffer, static_cast<size_t>(n));
    }
    const size_t first = request.find(' ');
    const size_t second = request.find(' ', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return;
    const std::string method = request.substr(0, first);
    const std::string path = request.substr(first + 1, second - first - 1);
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_requests.push_back(method + " " + path);
    }
    const SReply reply = m_reply(path);
    if (reply.silent) {
        while (!m_stop && Clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        return;
    }
    std::string answer = "HTTP/1.1 " + std::to_string(reply.status) + " Status\r\n";
    if (!reply.page.empty()) {
        answer += "Content-Type: text/html; charset=UTF-8\r\nContent-Length: " + std::to_string(reply.page.size()) +
                  "\r\nConnection: close\r\n\r\n" + reply.page;
        (void)!::write(fd, answer.data(), answer.size());
        ::shutdown(fd, SHUT_WR);
        return;
    }
    if (reply.contentLength)
        answer += "Content-Length: " + *reply.contentLength + "\r\n";
    if (!reply.location.empty())
        answer += "Location: " + reply.location + "\r\n";
    answer += "Connection: close\r\n\r\n";
    // A few bytes of the body are enough: the client stops at the first.
    if (method == "GET" && reply.contentLength && *reply.contentLength != "0")
        answer += "x";
    (void)!::write(fd, answer.data(), answer.size());
    ::shutdown(fd, SHUT_WR);
}
