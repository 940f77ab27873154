// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a WSJT-X instance sends, as its stand-in in the tests writes it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace moltrevane::testing {

class WsjtxWriter {
public:
    WsjtxWriter(std::uint32_t type, std::string_view id) {
        U32(0xADBCCBDA);
        U32(3);
        U32(type);
        Text(id);
    }
    WsjtxWriter& U32(std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
        return *this;
    }
    WsjtxWriter& Text(std::string_view text) {
        U32(static_cast<std::uint32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    WsjtxWriter& Bytes(std::size_t count, unsigned char value = 0) {
        bytes.insert(bytes.end(), count, value);
        return *this;
    }
    std::vector<unsigned char> bytes;
};

inline std::vector<unsigned char> Heartbeat(std::string_view id, std::uint32_t maxSchema) {
    return WsjtxWriter(0, id).U32(maxSchema).Text("2.6.1").Text("").bytes;
}

// Dial frequency, mode, DX call, report, Tx mode, three flags, Rx and Tx offsets, DE call,
// DE grid, and a field after it.
inline std::vector<unsigned char> Status(std::string_view id, std::string_view deGrid) {
    return WsjtxWriter(1, id).Bytes(8, 1).Text("FT8").Text("DL1ABC").Text("-10").Text("FT8").Bytes(3)
        .U32(1500).U32(1500).Text("DL2XYZ").Text(deGrid).Text("JN58").bytes;
}

inline std::vector<unsigned char> Close(std::string_view id) { return WsjtxWriter(6, id).bytes; }

}  // namespace moltrevane::testing
