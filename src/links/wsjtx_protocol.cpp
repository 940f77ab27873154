// SPDX-License-Identifier: GPL-3.0-or-later
#include "links/wsjtx_protocol.h"

namespace moltrevane {
namespace {

// Reads big-endian fields; once a field runs past the end every later read fails too.
class Fields {
public:
    explicit Fields(std::span<const unsigned char> bytes) : bytes_(bytes) {}

    std::optional<std::uint64_t> Unsigned(std::size_t size) {
        if (!Take(size)) return std::nullopt;
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) value = value << 8 | bytes_[at_ - size + i];
        return value;
    }
    std::optional<std::uint32_t> U32() {
        const auto value = Unsigned(4);
        return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value)) : std::nullopt;
    }
    // A QByteArray: length and bytes; 0xFFFFFFFF is the null array, read as empty.
    std::optional<std::string> Utf8() {
        const auto length = U32();
        if (!length) return std::nullopt;
        if (*length == 0xFFFFFFFF) return std::string();
        if (!Take(*length)) return std::nullopt;
        return std::string(reinterpret_cast<const char*>(bytes_.data()) + at_ - *length, *length);
    }
    bool Skip(std::size_t size) { return Take(size); }
    bool SkipUtf8() { return Utf8().has_value(); }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    bool Take(std::size_t size) {
        if (failed_ || size > bytes_.size() - at_) return !(failed_ = true);
        at_ += size;
        return true;
    }

    std::span<const unsigned char> bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

// Status: Id, then dial frequency, mode, DX call, report, Tx mode, three flags, Rx and Tx
// offsets, DE call, and the DE grid.
std::optional<std::string> DeGridOf(Fields& fields) {
    const bool skipped = fields.Skip(8) && fields.SkipUtf8() && fields.SkipUtf8() && fields.SkipUtf8() &&
                         fields.SkipUtf8() && fields.Skip(3) && fields.Skip(8) && fields.SkipUtf8();
    return skipped ? fields.Utf8() : std::nullopt;
}

void PutU32(std::vector<unsigned char>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

void PutUtf8(std::vector<unsigned char>& bytes, std::string_view text) {
    PutU32(bytes, static_cast<std::uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

}  // namespace

std::optional<WsjtxMessage> ReadWsjtxDatagram(std::span<const unsigned char> bytes) {
    Fields fields(bytes);
    const auto magic = fields.U32(), schema = fields.U32(), type = fields.U32();
    if (!type || *magic != kWsjtxMagic || *schema < 1 || *schema > kWsjtxNewestSchema) return std::nullopt;
    WsjtxMessage message{static_cast<WsjtxType>(*type), *schema, {}, 2, std::nullopt};
    if (message.type != WsjtxType::Heartbeat && message.type != WsjtxType::Status && message.type != WsjtxType::Close)
        return std::nullopt;
    std::optional<std::string> id = fields.Utf8();
    if (!id || id->empty() || id->size() > kWsjtxLongestId) return std::nullopt;
    message.id = std::move(*id);
    if (message.type == WsjtxType::Heartbeat && !fields.AtEnd()) {
        const auto maxSchema = fields.U32();
        if (!maxSchema) return std::nullopt;
        message.maxSchema = *maxSchema;
    }
    if (message.type == WsjtxType::Status) {
        message.deGrid = DeGridOf(fields);
        if (!message.deGrid) return std::nullopt;
    }
    return message;
}

std::vector<unsigned char> LocationDatagram(std::uint32_t schema, std::string_view id, std::string_view locator) {
    std::vector<unsigned char> bytes;
    bytes.reserve(20 + id.size() + locator.size());
    PutU32(bytes, kWsjtxMagic);
    PutU32(bytes, schema);
    PutU32(bytes, static_cast<std::uint32_t>(WsjtxType::Location));
    PutUtf8(bytes, id);
    PutUtf8(bytes, locator);
    return bytes;
}

}  // namespace moltrevane
