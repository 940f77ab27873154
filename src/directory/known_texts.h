#pragma once
// What a column's texts are, worked out once per text: a filtered search classifies every row,
// and a directory repeats a few hundred frequencies and a handful of modes.

#include <array>
#include <cstdint>
#include <string_view>

namespace moltrevane {

template <typename Kind>
class KnownTexts {
public:
    // `text` ends at its first zero byte, as every value the program reads.
    template <typename Classify>
    Kind Of(const char* text, Classify classify) {
        // One pass hashes the text (FNV-1a) and copies it into fixed bytes.
        std::uint32_t hash = 2166136261u;
        Bytes bytes{};
        std::size_t size = 0;
        for (; text[size] != '\0'; ++size) {
            hash = (hash ^ static_cast<unsigned char>(text[size])) * 16777619u;
            if (size < bytes.size()) bytes[size] = text[size];
        }
        Slot& slot = slots_[hash % slots_.size()];
        if (slot.filled && slot.bytes == bytes) return slot.kind;
        const Kind kind = classify(std::string_view(text, size));
        if (size < bytes.size()) slot = {bytes, true, kind};  // a longer text is worked out every time
        return kind;
    }

private:
    using Bytes = std::array<char, 16>;  // a text kept ends with a zero byte
    struct Slot {
        Bytes bytes{};
        bool filled = false;
        Kind kind{};
    };
    std::array<Slot, 256> slots_{};  // a text that shares its slot with another is worked out again
};

}  // namespace moltrevane
