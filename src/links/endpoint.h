// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An IPv4 address and port as the user writes it, "127.0.0.1:2237". Only numbers: looking a
// name up could wait on the network.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace moltrevane {

struct Endpoint {
    std::array<std::uint8_t, 4> address{};
    std::uint16_t port = 0;
    bool operator==(const Endpoint&) const = default;
};

// Nothing for anything but four decimal numbers 0–255, a colon and a port 1–65535.
std::optional<Endpoint> ParseEndpoint(std::string_view text);
std::string EndpointText(const Endpoint& endpoint);
bool IsMulticast(const Endpoint& endpoint);

}  // namespace moltrevane
