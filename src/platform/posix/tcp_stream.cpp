// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/tcp_stream.h"

#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace moltrevane {

sockaddr_in SocketAddressOf(const Endpoint& endpoint) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint.port);
    std::memcpy(&address.sin_addr, endpoint.address.data(), 4);
    return address;
}

bool TcpStream::Begin(const Endpoint& to) {
    Close();
    socket_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const sockaddr_in address = SocketAddressOf(to);
    const int result = socket_ ? ::connect(socket_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) : -1;
    if (result == 0) return true;
    if (socket_ && errno == EINPROGRESS) {
        connecting_ = true;
        return true;
    }
    Close();
    return false;
}

bool TcpStream::Made() {
    int error = 0;
    socklen_t size = sizeof error;
    connecting_ = false;
    if (::getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0) return true;
    Close();
    return false;
}

bool TcpStream::Send(std::string_view bytes) {
    if (bytes.empty()) return true;
    if (socket_ && !connecting_ &&
        ::send(socket_.get(), bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size()))
        return true;
    Close();
    return false;
}

long TcpStream::Receive(std::span<char> buffer) {
    const ssize_t size = ::recv(socket_.get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (size > 0) return static_cast<long>(size);
    if (size < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    Close();
    return -1;
}

void TcpStream::Close() {
    socket_.reset();
    connecting_ = false;
}

}  // namespace moltrevane
