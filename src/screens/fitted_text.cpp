#include "screens/fitted_text.h"

namespace moltrevane {
namespace {

constexpr std::string_view kEllipsis = "\u2026";

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

std::string FittedText(std::string_view utf8, double width, const std::function<double(std::string_view)>& measure) {
    if (measure(utf8) <= width) return std::string(utf8);
    for (std::size_t cut = utf8.size() - 1; cut > 0; --cut) {
        if (!StartsCharacter(utf8[cut])) continue;
        std::string_view kept = utf8.substr(0, cut);
        while (!kept.empty() && kept.back() == ' ') kept.remove_suffix(1);  // "Berlin …" reads as a word cut off
        std::string fitted = std::string(kept) + std::string(kEllipsis);
        if (measure(fitted) <= width) return fitted;
    }
    return measure(kEllipsis) <= width ? std::string(kEllipsis) : std::string();
}

}  // namespace moltrevane
