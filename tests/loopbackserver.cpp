// The loopback HTTP server of the update-check tests (see loopbackserver.h).
#include "tests/loopbackserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
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

SReply Body(std::string bytes)
{
    SReply reply;
    reply.body = std::move(bytes);
    return reply;
}

namespace {

// MSG_NOSIGNAL: a client that went away must not end the test program.
bool SendAll(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::send(fd, data, length, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

// The value of a request header (name in lower case), "" when absent.
std::string HeaderValue(const std::string& request, const std::string& name)
{
    std::string lower = request;
    for (char& c : lower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const size_t at = lower.find("\r\n" + name + ":");
    if (at == std::string::npos)
        return std::string();
    const size_t start = request.find_first_not_of(' ', at + 2 + name.size() + 1);
    const size_t end = request.find("\r\n", start);
    return request.substr(start, end - start);
}

} // namespace

CLoopbackServer::CLoopbackServer(std::function<SReply(const std::string& path)> reply, int maxConnections,
                                 std::chrono::seconds lifetime)
    : m_reply(std::move(reply)), m_maxConnections(maxConnections), m_lifetime(lifetime)
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
    for (const int fd : m_held)
        ::close(fd);
    ::close(m_listen);
}

std::vector<std::string> CLoopbackServer::requests() const
{
    const std::lock_guard<std::mutex> lock(m_lock);
    return m_requests;
}

std::vector<std::string> CLoopbackServer::ranges() const
{
    const std::lock_guard<std::mutex> lock(m_lock);
    return m_ranges;
}

void CLoopbackServer::Serve()
{
    const auto deadline = Clock::now() + m_lifetime;
    for (int served = 0; served < m_maxConnections && !m_stop && Clock::now() < deadline;) {
        pollfd p {m_listen, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++served;
        if (Answer(fd, deadline))
            m_held.push_back(fd);
        else
            ::close(fd);
    }
}

bool CLoopbackServer::Answer(int fd, Clock::time_point deadline)
{
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && Clock::now() < deadline && !m_stop) {
        pollfd p {fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        request.append(buffer, static_cast<size_t>(n));
    }
    const size_t first = request.find(' ');
    const size_t second = request.find(' ', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return false;
    const std::string method = request.substr(0, first);
    const std::string path = request.substr(first + 1, second - first - 1);
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_requests.push_back(method + " " + path);
        m_ranges.push_back(HeaderValue(request, "range"));
    }
    const SReply reply = m_reply(path);
    if (reply.silent) {
        while (!m_stop && Clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        return false;
    }
    if (!reply.body.empty())
        return SendBody(fd, reply, HeaderValue(request, "range"));
    std::string answer = "HTTP/1.1 " + std::to_string(reply.status) + " Status\r\n";
    if (!reply.page.empty()) {
        answer += "Content-Type: text/html; charset=UTF-8\r\nContent-Length: " + std::to_string(reply.page.size()) +
                  "\r\nConnection: close\r\n\r\n" + reply.page;
        (void)!::write(fd, answer.data(), answer.size());
        ::shutdown(fd, SHUT_WR);
        return false;
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
    return false;
}

bool CLoopbackServer::SendBody(int fd, const SReply& reply, const std::string& rangeHeader)
{
    const size_t size = reply.body.size();
    size_t from = 0;
    int status = reply.status;
    std::string extra;
    if (reply.ranges) {
        extra += "Accept-Ranges: bytes\r\n";
        if (rangeHeader.rfind("bytes=", 0) == 0) {
            from = std::stoul(rangeHeader.substr(6));
            if (from >= size) {
                const std::string answer = "HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */" +
                                           std::to_string(size) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                SendAll(fd, answer.data(), answer.size());
                ::shutdown(fd, SHUT_WR);
                return false;
            }
            status = 206;
            extra += "Content-Range: bytes " + std::to_string(from) + "-" + std::to_string(size - 1) + "/" +
                     std::to_string(size) + "\r\n";
        }
    }
    const std::string head = "HTTP/1.1 " + std::to_string(status) +
                             " Status\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                             std::to_string(size - from) + "\r\n" + extra + "Connection: close\r\n\r\n";
    if (!SendAll(fd, head.data(), head.size()))
        return false;
    size_t end = size;
    if (reply.stallAfter)
        end = std::min(size, from + *reply.stallAfter);
    if (reply.closeAfter)
        end = std::min(size, from + *reply.closeAfter);
    if (reply.closeAt)
        end = std::max(from, std::min(end, *reply.closeAt));
    const int pieces = reply.pieces > 0 ? reply.pieces : 1;
    const size_t pieceSize = (end - from + static_cast<size_t>(pieces) - 1) / static_cast<size_t>(pieces);
    for (size_t at = from; at < end && !m_stop;) {
        const size_t length = std::min(pieceSize, end - at);
        if (!SendAll(fd, reply.body.data() + at, length))
            return false;
        at += length;
        if (at < end && reply.pieceGap.count() > 0)
            std::this_thread::sleep_for(reply.pieceGap);
    }
    if (reply.stallAfter && end < size)
        return true;
    ::shutdown(fd, SHUT_WR);
    return false;
}
