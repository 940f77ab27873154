#pragma once
// What a column's texts are, worked out once per text: a filtered search classifies every row,
// and a directory repeats a few hundred frequencies and a handful of modes.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace moltrevane {

template <typename Kind>
class KnownTexts {
public:
    // `text` ends at its first zero byte, as every value the program reads. A text of 16 bytes
    // or more, and every text after the first kLimit, is worked out every time.
    template <typename Classify>
    Kind Of(const char* text, Classify classify) {
        Bytes bytes{};
        std::size_t size = 0;
        for (; size < bytes.size() && text[size] != '\0'; ++size) bytes[size] = text[size];
        if (size == bytes.size()) return classify(std::string_view(text));
        // Open addressing: a text is looked for from its own slot on, up to the first empty one.
        for (std::size_t at = SlotOf(bytes);; at = (at + 1) % slots_.size()) {
            Slot& slot = slots_[at];
            if (slot.bytes == bytes) return slot.kind;
            if (slot.bytes != kEmpty) continue;
            const Kind kind = classify(std::string_view(text, size));
            if (kept_ < kLimit) {
                slot = {bytes, kind};
                ++kept_;
            }
            return kind;
        }
    }

private:
    using Bytes = std::array<char, 16>;  // a text kept, then zero bytes
    static constexpr int kSlotBits = 10;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    static constexpr std::size_t kLimit = kSlots / 2;  // so that a search ends soon, at an empty slot
    // No text kept ends with a one byte: a slot that holds it is empty.
    static constexpr Bytes kEmpty = [] {
        Bytes bytes{};
        bytes.back() = 1;
        return bytes;
    }();
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
    struct Slot {
        Bytes bytes = kEmpty;
        Kind kind{};
    };
    std::array<Slot, kSlots> slots_{};
    std::size_t kept_ = 0;
};

}  // namespace moltrevane
