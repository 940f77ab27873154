// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_text.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace moltrevane {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsKey(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

// A line's key and value, without its line end; nothing for a line that is no setting.
std::optional<std::pair<std::string_view, std::string_view>> Setting(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.size() > kIniLongestLine) return std::nullopt;
    if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }))
        return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = Trimmed(line.substr(0, equals));
    if (!IsKey(key)) return std::nullopt;
    return std::pair{key, Trimmed(line.substr(equals + 1))};
}

// A value is one line: control bytes (a pasted line end) would start another setting.
std::string OneLine(std::string_view value) {
    std::string line;
    for (const char c : value)
        if (static_cast<unsigned char>(c) >= 0x20) line += c;
    return line;
}

// The line that sets the key to the value, when the reader takes that value back from it;
// nothing for a value it would not (a line too long): such a value is never written.
std::optional<std::string> SettingLine(const std::string& key, std::string_view value) {
    const std::string kept = OneLine(value);
    std::string line = key + " = " + kept;
    const auto read = Setting(line);
    if (!read || read->second != Trimmed(kept)) return std::nullopt;
    return line;
}

// Calls `each` with every line of the text, its line end excluded.
template <class Each>
void ForEachLine(std::string_view text, Each each) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        each(text.substr(0, end), end != std::string_view::npos);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

}  // namespace

IniValues ParseIni(std::string_view text) {
    IniValues values;
    ForEachLine(text, [&](std::string_view line, bool) {
        if (const auto setting = Setting(line)) values.insert_or_assign(std::string(setting->first), setting->second);
    });
    return values;
}

std::string WithIniValues(std::string_view text, const IniValues& values) {
    std::string result;
    result.reserve(text.size() + 64);
    IniValues missing = values;
    ForEachLine(text, [&](std::string_view line, bool lineEnd) {
        const auto setting = Setting(line);
        const auto given = setting ? values.find(setting->first) : values.end();
        const auto written = given == values.end() ? std::nullopt : SettingLine(given->first, given->second);
        if (!written) {
            result += line;
        } else {
            result += *written;
            if (line.ends_with('\r')) result += '\r';  // the file's own line ends stay
        }
        if (given != values.end()) missing.erase(given->first);
        if (lineEnd) result += '\n';
    });
    // Lines added keep the file's line ends: a file written on Windows stays one.
    const std::size_t firstEnd = text.find('\n');
    const std::string_view lineEnd = firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n" : "\n";
    std::string added;
    for (const auto& [key, value] : missing)
        if (const auto written = SettingLine(key, value)) (added += *written) += lineEnd;
    if (!result.empty() && result.back() != '\n' && !added.empty()) result += lineEnd;
    result += added;
    return result;
}

}  // namespace moltrevane
