// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/endpoint.h"

#include <charconv>

namespace moltrevane {
namespace {

// A decimal number up to `largest` that is all of `text`: no sign, no blanks, no leading zeros.
std::optional<unsigned> Number(std::string_view text, unsigned largest) {
    if (text.empty() || text.size() > 5 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > largest) return std::nullopt;
    return value;
}

}  // namespace

std::optional<Endpoint> ParseEndpoint(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::optional<unsigned> port = Number(text.substr(colon + 1), 65535);
    if (!port || *port == 0) return std::nullopt;
    Endpoint endpoint;
    endpoint.port = static_cast<std::uint16_t>(*port);
    std::string_view rest = text.substr(0, colon);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t dot = i < 3 ? rest.find('.') : rest.size();
        if (dot == std::string_view::npos) return std::nullopt;
        const std::optional<unsigned> byte = Number(rest.substr(0, dot), 255);
        if (!byte) return std::nullopt;
        endpoint.address[i] = static_cast<std::uint8_t>(*byte);
        rest.remove_prefix(i < 3 ? dot + 1 : dot);
    }
    return endpoint;
}

std::string EndpointText(const Endpoint& endpoint) {
    std::string text;
    for (const std::uint8_t byte : endpoint.address) text += std::to_string(byte) + '.';
    text.back() = ':';
    return text + std::to_string(endpoint.port);
}

bool IsMulticast(const Endpoint& endpoint) { return endpoint.address[0] >= 224 && endpoint.address[0] <= 239; }

}  // namespace moltrevane
