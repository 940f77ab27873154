// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sockets on the loopback for the stand-ins of gpsd, rigctld, WSJT-X and JS8Call.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/unique_fd.h"

namespace moltrevane::testing {

inline sockaddr_in Loopback(std::uint16_t port, const char* address = "127.0.0.1") {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &a.sin_addr);
    return a;
}

// A socket bound to address:port (0: any free port), and the port it got.
inline UniqueFd Bound(int type, std::uint16_t& port, const char* address = "127.0.0.1", bool shared = false) {
    UniqueFd fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0));
    const int yes = 1;
    if (shared) ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a = Loopback(port, address);
    socklen_t size = sizeof a;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return {};
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&a), &size);
    port = ntohs(a.sin_port);
    return fd;
}

inline std::uint16_t FreePort(int type) {
    std::uint16_t port = 0;
    Bound(type, port);
    return port;
}

inline bool Readable(int fd, std::chrono::milliseconds limit) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, static_cast<int>(limit.count())) == 1;
}

// A line without its end, as far as it came within the wait for each byte (at most 1000 bytes).
inline std::string ReadLine(int fd, std::chrono::milliseconds wait) {
    std::string line;
    char c;
    while (line.size() < 1000 && Readable(fd, wait) && ::recv(fd, &c, 1, 0) == 1 && c != '\n') line += c;
    return line;
}

inline void Send(int fd, std::string_view text) { ::send(fd, text.data(), text.size(), MSG_NOSIGNAL); }

// A server at a loopback port (0: a free one), with a thread of its own: each connection is
// handed to `serve`, which talks until it returns, true to keep the connection open without a
// further word until the server goes.
class StandInServer {
public:
    using Serve = std::function<bool(int connection, StandInServer& self)>;
    explicit StandInServer(Serve serve, std::uint16_t at = 0) : port(at), serve_(std::move(serve)) {
        if (!listener_ || ::listen(listener_.get(), 8) != 0) throw std::runtime_error("no loopback socket");
        thread_ = std::thread([this] {
            while (!stop) {
                if (!Readable(listener_.get(), std::chrono::milliseconds(20))) continue;
                UniqueFd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
                if (connection && serve_(connection.get(), *this)) open_.push_back(std::move(connection));
            }
        });
    }
    ~StandInServer() {
        stop = true;
        thread_.join();
    }
    void Record(std::string line) {
        const std::lock_guard lock(guard_);
        heard_.push_back(std::move(line));
    }
    std::vector<std::string> Heard() {
        const std::lock_guard lock(guard_);
        return heard_;
    }

    std::uint16_t port = 0;
    std::atomic<bool> stop{false};

private:
    UniqueFd listener_ = Bound(SOCK_STREAM, port, "127.0.0.1", true);  // again at once where one was before
    Serve serve_;
    std::vector<UniqueFd> open_;
    std::mutex guard_;
    std::vector<std::string> heard_;
    std::thread thread_;
};

// A conversation of lines: the server greets each connection with `greeting`, then each line
// it is told is recorded and answered with `answer` ("close": it hangs up) until the peer
// hangs up or the server goes.
inline StandInServer::Serve Answering(std::function<std::string(const std::string& line, int fd)> answer,
                                      std::string greeting = "") {
    return [answer = std::move(answer), greeting = std::move(greeting)](int fd, StandInServer& self) {
        Send(fd, greeting);
        while (!self.stop) {
            if (!Readable(fd, std::chrono::milliseconds(20))) continue;
            const std::string line = ReadLine(fd, std::chrono::milliseconds(100));
            if (line.empty()) break;
            self.Record(line);
            const std::string reply = answer(line, fd);
            if (reply == "close") break;
            Send(fd, reply);
        }
        return false;
    };
}

}  // namespace moltrevane::testing
