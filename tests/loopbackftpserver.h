// A small FTP server on 127.0.0.1 for the downloader's tests and trials:
// anonymous login, passive data connections (EPSV and PASV), SIZE, REST and
// RETR of files held in memory, each optionally sent in paced pieces or
// broken off part-way. One control connection is served at a time.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct SFtpFile {
    std::string bytes;
    // Sends the data only up to this byte of the file, then closes the data
    // connection and replies 426 (a transfer that breaks off).
    std::optional<size_t> closeAt;
    int pieces = 1;                            // the data in this many writes...
    std::chrono::milliseconds pieceGap {0};    // ...this far apart
};

class CLoopbackFtpServer {
public:
    // files: by path ("/pub/a.mp4"); any other path is answered 550.
    explicit CLoopbackFtpServer(std::map<std::string, SFtpFile> files,
                                std::chrono::seconds lifetime = std::chrono::seconds(20));
    ~CLoopbackFtpServer();
    int port() const { return m_port; }
    // The commands received, in order, as sent ("RETR a.mp4", "REST 100").
    std::vector<std::string> commands() const;

private:
    void Serve();
    void Session(int control);
    void Retrieve(int control, int dataListen, const std::string& path, size_t from);

    std::map<std::string, SFtpFile> m_files;
    std::chrono::seconds m_lifetime;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop {false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_commands;
    std::thread m_thread;
};
