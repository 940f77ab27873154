// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// WSJT-X's UDP messages (its NetworkMessage.hpp): QDataStream, big-endian, a magic number,
// a schema number and a type, then the fields. Only what handing over the locator needs.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace moltrevane {

inline constexpr std::uint32_t kWsjtxMagic = 0xADBCCBDA;
// The newest encoding we write; WSJT-X speaks 2 and 3.
inline constexpr std::uint32_t kWsjtxNewestSchema = 3;
// An instance's name is a short label ("WSJT-X", "WSJT-X - IC705"): longer is no instance.
inline constexpr std::size_t kWsjtxLongestId = 256;

enum class WsjtxType : std::uint32_t { Heartbeat = 0, Status = 1, Close = 6, Location = 11 };

struct WsjtxMessage {
    WsjtxType type;
    std::uint32_t schema;
    std::string id;
    std::uint32_t maxSchema = 2;  // a Heartbeat's; before it had the field, 2
    std::optional<std::string> deGrid;  // a Status's own locator
};

// Nothing for a wrong magic number, a schema other than 1–3, a message we do not read, or
// a field that runs past the end. Fields after those we read are ignored, as the protocol asks.
std::optional<WsjtxMessage> ReadWsjtxDatagram(std::span<const unsigned char> bytes);

std::vector<unsigned char> LocationDatagram(std::uint32_t schema, std::string_view id, std::string_view locator);

}  // namespace moltrevane
