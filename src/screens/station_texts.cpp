// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/station_texts.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "directory/station_directory.h"
#include "geo/distance.h"
#include "screens/code_page.h"

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

std::string ToneText(const AccessTone& tone) {
    return tone.kind == AccessTone::Kind::Ctcss ? "T" + StoredTone(tone) : StoredTone(tone);
}

std::string ChannelText(const Station& station) {
    std::string text;
    char digits[32];
    if (station.outputMhz) {
        std::snprintf(digits, sizeof digits, "%.4f", *station.outputMhz);
        AppendPart(text, digits);
    }
    if (IsCrossBand(station)) {
        std::snprintf(digits, sizeof digits, "/%.4f", *station.inputMhz);
        text += digits;
    } else if (station.outputMhz && station.inputMhz) {
        const double shift = std::round((*station.inputMhz - *station.outputMhz) * 1000) / 1000;
        std::snprintf(digits, sizeof digits, "%s%.3f", shift < 0 ? "\u2212" : shift > 0 ? "+" : "", std::fabs(shift));
        AppendPart(text, digits);
    }
    AppendPart(text, ShownValue(Trimmed(station.mode)));
    if (station.tone) AppendPart(text, ToneText(*station.tone));
    return text;
}

std::vector<std::string> NamedStationLines(const Station& station) {
    const auto mhz = [](std::optional<double> value, bool signedShift) {
        if (!value) return std::string("-");
        char digits[32];
        if (signedShift) {
            const double shift = std::round(*value * 1000) / 1000;
            std::snprintf(digits, sizeof digits, "%s%.3f MHz", shift < 0 ? "\u2212" : shift > 0 ? "+" : "", std::fabs(shift));
        } else {
            std::snprintf(digits, sizeof digits, "%.4f MHz", *value);
        }
        return std::string(digits);
    };
    const auto known = [](std::string_view value, std::string_view unit) {
        const std::string_view trimmed = Trimmed(value);
        return trimmed.empty() ? std::string("-") : ShownValue(trimmed) + std::string(unit);
    };
    std::optional<double> shift;
    if (station.outputMhz && station.inputMhz) shift = *station.inputMhz - *station.outputMhz;
    return {
        "Output: " + mhz(station.outputMhz, false),
        "Input: " + mhz(station.inputMhz, false),
        "Shift: " + mhz(shift, true),
        "Tone: " + (station.tone ? ToneText(*station.tone) : std::string("-")),
        "Height: " + known(station.height, " m"),
        "Mode: " + known(station.mode, ""),
        "Place: " + known(station.place, ""),
    };
}

std::string RowPlaceText(const Station& station) { return ShownValue(station.locator) + " - " + ShownValue(station.place); }

std::string_view WayArrow(Way way) {
    static constexpr std::array<std::string_view, 8> kArrows = {"\u2191", "\u2197", "\u2192", "\u2198",
                                                                "\u2193", "\u2199", "\u2190", "\u2196"};
    return kArrows[static_cast<std::size_t>(way)];
}

RowMeasureTexts RowMeasure(const Station& station, GeoPoint own, std::optional<double> headingDeg) {
    if (!station.point) return {};
    const DistanceBearingTexts texts = DescribeDistanceAndBearing(own, *station.point);
    RowMeasureTexts shown{texts.distance, Utf8FromCodePage(texts.bearing)};
    if (station.fromSquare && !shown.distance.empty()) shown.distance = "\u2248 " + shown.distance;
    if (headingDeg && !texts.bearing.empty()) {
        const double bearing = BearingDeg(own.latitude, own.longitude, station.point->latitude, station.point->longitude);
        shown.direction = WayArrow(WayOf(bearing, *headingDeg));
    }
    return shown;
}

}  // namespace moltrevane
