#include "screens/station_texts.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "directory/station_directory.h"

namespace moltrevane {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void AppendPart(std::string& text, std::string_view part) {
    if (part.empty()) return;
    if (!text.empty()) text += ' ';
    text += part;
}

}  // namespace

std::string ChannelText(const Station& station) {
    std::string text;
    char digits[32];
    if (station.outputMhz) {
        std::snprintf(digits, sizeof digits, "%.4f", *station.outputMhz);
        AppendPart(text, digits);
    }
    if (station.outputMhz && station.inputMhz) {
        const double shift = std::round((*station.inputMhz - *station.outputMhz) * 1000) / 1000;
        std::snprintf(digits, sizeof digits, "%s%.3f", shift < 0 ? "\u2212" : shift > 0 ? "+" : "", std::fabs(shift));
        AppendPart(text, digits);
    }
    AppendPart(text, ShownValue(Trimmed(station.mode)));
    return text;
}

std::string RowInfoText(const Station& station) {
    const std::string channel = ChannelText(station);
    return (channel.empty() ? "" : channel + "  ") + ShownValue(station.locator) + " - " + ShownValue(station.place);
}

}  // namespace moltrevane
