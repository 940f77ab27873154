// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A TCP connection to a numeric address that never waits: it is begun at once and made (or
// not) while the worker polls, and what does not go out at once ends it.

#include <netinet/in.h>
#include <poll.h>

#include <span>
#include <string_view>

#include "base/unique_fd.h"
#include "links/endpoint.h"

namespace moltrevane {

sockaddr_in SocketAddressOf(const Endpoint& endpoint);

class TcpStream {
public:
    // False when the connection failed at once (nobody listens on loopback, say).
    bool Begin(const Endpoint& to);
    bool Open() const { return static_cast<bool>(socket_); }
    bool Connecting() const { return connecting_; }
    int Fd() const { return socket_.get(); }
    short Events() const { return connecting_ ? POLLOUT : POLLIN; }
    // After a poll while connecting: whether the connection is made; a failed one is closed.
    bool Made();
    // All of `bytes` at once, or the connection is closed and false.
    bool Send(std::string_view bytes);
    // What arrived into `buffer`: its size, 0 for nothing yet; -1 when the other side closed
    // or failed, and the connection is closed.
    long Receive(std::span<char> buffer);
    void Close();

private:
    UniqueFd socket_;
    bool connecting_ = false;
};

}  // namespace moltrevane
