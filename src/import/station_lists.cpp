// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/station_lists.h"

#include <algorithm>
#include <array>
#include <utility>

namespace moltrevane {
namespace {

constexpr std::array<std::pair<ListFormat, std::string_view>, 8> kFormatNames = {{
    {ListFormat::RepeaterBookJson, "repeaterbook-json"},
    {ListFormat::RepeaterBookCsv, "repeaterbook-csv"},
    {ListFormat::HearhamJson, "hearham"},
    {ListFormat::RxfXml, "rxf"},
    {ListFormat::PrzemiennikiJson, "przemienniki-json"},
    {ListFormat::SralJson, "sral-json"},
    {ListFormat::UkCsv, "uk-csv"},
    {ListFormat::Csv, "csv"},
}};

}  // namespace

std::string_view FormatName(ListFormat format) {
    return std::find_if(kFormatNames.begin(), kFormatNames.end(), [&](const auto& entry) { return entry.first == format; })
        ->second;
}

std::optional<ListFormat> FormatNamed(std::string_view name) {
    for (const auto& [format, known] : kFormatNames)
        if (known == name) return format;
    return std::nullopt;
}

std::string FormatNames() {
    std::string names;
    for (const auto& entry : kFormatNames) names += (names.empty() ? "" : ", ") + std::string(entry.second);
    return names;
}

std::string_view SourceName(ListFormat format) {
    switch (format) {
        case ListFormat::RepeaterBookJson:
        case ListFormat::RepeaterBookCsv: return "RepeaterBook";
        case ListFormat::HearhamJson: return "hearham";
        case ListFormat::RxfXml: return "przemienniki.net";
        case ListFormat::PrzemiennikiJson: return "przemienniki.eu";
        case ListFormat::SralJson: return "SRAL";
        case ListFormat::UkCsv: return "UK repeater list";
        case ListFormat::Csv: return "";
    }
    return "";
}

std::optional<ListFormat> DetectFormat(std::string_view head) {
    if (head.find('\0') != std::string_view::npos) return std::nullopt;
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    const std::size_t start = head.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return ListFormat::Csv;
    switch (head[start]) {
        case '<': return ListFormat::RxfXml;
        case '{':  // SRAL's {"stations": […]} names the site as no other list does
            return head.find("\"wgs84lat\"") != std::string_view::npos || head.find("\"rep_access\"") != std::string_view::npos ||
                           head.find("\"tx_freq\"") != std::string_view::npos
                       ? ListFormat::SralJson
                       : ListFormat::RepeaterBookJson;
        case '[':
            return head.find("\"tx_frequency\"") != std::string_view::npos ||
                           head.find("\"coordinates\"") != std::string_view::npos
                       ? ListFormat::PrzemiennikiJson
                       : ListFormat::HearhamJson;
        default: return ListFormat::Csv;
    }
}

std::string ReadStationList(ListFormat& format, const NextBytes& next, const OnStation& onStation) {
    switch (format) {
        case ListFormat::RxfXml: return ReadRxfList(next, onStation);
        case ListFormat::RepeaterBookCsv:
        case ListFormat::UkCsv:
        case ListFormat::Csv: return ReadCsvList(format, next, onStation);
        default: return ReadJsonList(format, next, onStation);
    }
}

}  // namespace moltrevane
