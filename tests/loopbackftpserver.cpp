// The loopback FTP server of the downloader tests (see loopbackftpserver.h).
#include "tests/loopbackftpserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

using Clock = std::chrono::steady_clock;

namespace {

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

bool SendLine(int fd, const std::string& line)
{
    const std::string text = line + "\r\n";
    return SendAll(fd, text.data(), text.size());
}

int ListenOnLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

// Waits for a connection on the listening socket for up to five seconds.
int AcceptWithin(int listenFd, const std::atomic<bool>& stop)
{
    for (int waited = 0; waited < 5000 && !stop; waited += 50) {
        pollfd p {listenFd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0)
            return ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    }
    return -1;
}

} // namespace

CLoopbackFtpServer::CLoopbackFtpServer(std::map<std::string, SFtpFile> files, std::chrono::seconds lifetime)
    : m_files(std::move(files)), m_lifetime(lifetime)
{
    m_listen = ListenOnLoopback(m_port);
    if (m_listen < 0)
        throw std::runtime_error("cannot start the loopback FTP server");
    m_thread = std::thread([this] { Serve(); });
}

CLoopbackFtpServer::~CLoopbackFtpServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listen);
}

std::vector<std::string> CLoopbackFtpServer::commands() const
{
    const std::lock_guard<std::mutex> lock(m_lock);
    return m_commands;
}

void CLoopbackFtpServer::Serve()
{
    const auto deadline = Clock::now() + m_lifetime;
    while (!m_stop && Clock::now() < deadline) {
        pollfd p {m_listen, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int control = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (control < 0)
            continue;
        Session(control);
        ::close(control);
    }
}

void CLoopbackFtpServer::Session(int control)
{
    SendLine(control, "220 loopback FTP");
    std::string directory = "/";
    std::string pending;
    size_t restart = 0;
    int dataListen = -1;
    const auto reset = [&dataListen] {
        if (dataListen >= 0)
            ::close(dataListen);
        dataListen = -1;
    };
    while (!m_stop) {
        const size_t end = pending.find("\r\n");
        if (end == std::string::npos) {
            pollfd p {control, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buffer[1024];
            const ssize_t n = ::recv(control, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            pending.append(buffer, static_cast<size_t>(n));
            continue;
        }
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 2);
        {
            const std::lock_guard<std::mutex> lock(m_lock);
            m_commands.push_back(line);
        }
        const size_t space = line.find(' ');
        std::string verb = line.substr(0, space);
        for (char& c : verb)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        const std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
        const std::string path = !argument.empty() && argument[0] == '/' ? argument : directory + argument;
        if (verb == "USER") {
            SendLine(control, "331 any password");
        } else if (verb == "PASS") {
            SendLine(control, "230 logged in");
        } else if (verb == "PWD") {
            SendLine(control, "257 \"" + directory + "\"");
        } else if (verb == "CWD") {
            directory = path.back() == '/' ? path : path + "/";
            SendLine(control, "250 ok");
        } else if (verb == "TYPE") {
            SendLine(control, "200 ok");
        } else if (verb == "EPSV" || verb == "PASV") {
            reset();
            int port = 0;
            dataListen = ListenOnLoopback(port);
            if (verb == "EPSV")
                SendLine(control, "229 Entering Extended Passive Mode (|||" + std::to_string(port) + "|)");
            else
                SendLine(control, "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," +
                                      std::to_string(port % 256) + ")");
        } else if (verb == "SIZE") {
            const auto file = m_files.find(path);
            SendLine(control, file == m_files.end() ? "550 no such file"
                                                     : "213 " + std::to_string(file->second.bytes.size()));
        } else if (verb == "REST") {
            restart = static_cast<size_t>(std::strtoull(argument.c_str(), nullptr, 10));
            SendLine(control, "350 restarting");
        } else if (verb == "RETR") {
            Retrieve(control, dataListen, path, restart);
            restart = 0;
            reset();
        } else if (verb == "QUIT") {
            SendLine(control, "221 bye");
            break;
        } else {
            SendLine(control, "502 not implemented");
        }
    }
    reset();
}

void CLoopbackFtpServer::Retrieve(int control, int dataListen, const std::string& path, size_t from)
{
    const auto found = m_files.find(path);
    if (found == m_files.end()) {
        SendLine(control, "550 no such file");
        return;
    }
    const SFtpFile& file = found->second;
    if (dataListen < 0) {
        SendLine(control, "425 no data connection");
        return;
    }
    const size_t size = file.bytes.size();
    const size_t start = from < size ? from : size;
    SendLine(control, "150 opening data connection (" + std::to_string(size - start) + " bytes)");
    const int data = AcceptWithin(dataListen, m_stop);
    if (data < 0) {
        SendLine(control, "425 no data connection");
        return;
    }
    const size_t stop = file.closeAt && *file.closeAt < size ? *file.closeAt : size;
    const size_t pieces = file.pieces > 0 ? static_cast<size_t>(file.pieces) : 1;
    const size_t piece = (size + pieces - 1) / pieces;
    bool sent = true;
    for (size_t at = start; at < stop && sent && !m_stop;) {
        const size_t length = std::min(piece > 0 ? piece : 1, stop - at);
        sent = SendAll(data, file.bytes.data() + at, length);
        at += length;
        if (at < stop && file.pieceGap.count() > 0)
            std::this_thread::sleep_for(file.pieceGap);
    }
    ::close(data);
    SendLine(control, stop == size && sent ? "226 transfer complete" : "426 connection closed; transfer aborted");
}
