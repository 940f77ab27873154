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
        if (given == values.end()) {
            result += line;
        } else {
            result += given->first + " = " + OneLine(given->second);
            if (line.ends_with('\r')) result += '\r';  // the file's own line ends stay
            missing.erase(given->first);
        }
        if (lineEnd) result += '\n';
    });
    if (!result.empty() && result.back() != '\n' && !missing.empty()) result += '\n';
    for (const auto& [key, value] : missing) result += key + " = " + OneLine(value) + "\n";
    return result;
}

}  // namespace moltrevane
