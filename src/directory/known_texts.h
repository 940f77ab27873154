// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a column's texts are, worked out once per text: a filtered search classifies every row,
// and a directory repeats a few hundred frequencies and a handful of modes.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace moltrevane {

template <typename Kind>
class KnownTexts {
public:
    // Texts are told apart by all their bytes and worked out up to the first zero byte, as
    // every value the program reads. A text of 16 bytes or more, and every text after the
    // first kLimit, is worked out every time.
    //
    // A text whose size is known: a frequency, seven to ten bytes, copied in two moves.
    template <typename Classify>
    Kind Of(std::string_view text, Classify classify) {
        const auto workOut = [&] { return classify(text.substr(0, text.find('\0'))); };
        Bytes bytes{};
        if (text.size() >= bytes.size()) return workOut();
        CopyShort(bytes.data(), text.data(), text.size());
        return Find(bytes, workOut);
    }
    // A text up to its zero byte: a mode, a few bytes, for which a byte loop costs less than
    // asking SQLite the size.
    template <typename Classify>
    Kind Of(const char* text, Classify classify) {
        Bytes bytes{};
        const std::size_t size = CopyUpToZero(text, bytes);
        if (size == bytes.size()) return classify(std::string_view(text));
        return Find(bytes, [&] { return classify(std::string_view(text, size)); });
    }

private:
    using Bytes = std::array<char, 16>;  // a text, zero bytes, then kText
    template <typename WorkOut>
    Kind Find(Bytes& bytes, WorkOut workOut) {
        bytes.back() = kText;
        // Open addressing: a text is looked for from its own slot on, up to the first empty one.
        for (std::size_t at = SlotOf(bytes);; at = (at + 1) % kSlots) {
            if (texts_[at] == bytes) return kinds_[at];
            if (texts_[at] != kEmpty) continue;
            const Kind kind = workOut();
            if (kept_ < kLimit) {
                texts_[at] = bytes;
                kinds_[at] = kind;
                ++kept_;
            }
            return kind;
        }
    }
    // One test per byte, unrolled: it runs for every row.
    template <std::size_t at = 0>
    static std::size_t CopyUpToZero(const char* text, Bytes& bytes) {
        if constexpr (at == std::tuple_size_v<Bytes>) {
            return at;
        } else {
            if (text[at] == '\0') return at;
            bytes[at] = text[at];
            return CopyUpToZero<at + 1>(text, bytes);
        }
    }
    // A short text's bytes in two overlapping fixed-size copies: no loop and no call.
    static void CopyShort(char* to, const char* from, std::size_t size) {
        const auto copyTwice = [&](auto width) {
            std::memcpy(to, from, width);
            std::memcpy(to + size - width, from + size - width, width);
        };
        if (size >= 8) copyTwice(std::integral_constant<std::size_t, 8>{});
        else if (size >= 4) copyTwice(std::integral_constant<std::size_t, 4>{});
        else if (size >= 2) copyTwice(std::integral_constant<std::size_t, 2>{});
        else if (size == 1) to[0] = from[0];
    }
    static constexpr int kSlotBits = 10;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    static constexpr std::size_t kLimit = kSlots / 2;  // so that a search ends soon, at an empty slot
    // The last byte of a slot that holds a text; an empty slot is all zero bytes.
    static constexpr char kText = 1;
    static constexpr Bytes kEmpty{};
    // The halves multiplied apart, folded and multiplied again: texts alike but for their last
    // digits, as a directory's frequencies are, spread over the slots as well as random ones.
    static std::size_t SlotOf(const Bytes& bytes) {
        std::uint64_t low, high;
        std::memcpy(&low, bytes.data(), sizeof low);
        std::memcpy(&high, bytes.data() + sizeof low, sizeof high);
        std::uint64_t mixed = low * 0x9E3779B97F4A7C15u ^ high * 0xC2B2AE3D27D4EB4Fu;
        mixed ^= mixed >> 29;
        return static_cast<std::size_t>((mixed * 0x9E3779B97F4A7C15u) >> (64 - kSlotBits));
    }
    std::array<Bytes, kSlots> texts_{};
    std::array<Kind, kSlots> kinds_{};
    std::size_t kept_ = 0;
};

}  // namespace moltrevane
