// SPDX-License-Identifier: GPL-3.0-or-later
// CSV station lists, their columns found by name: RepeaterBook's export, the UK list, the
// directory's own ten columns, and any list whose header says in English, German or Polish
// which column is which.

#include <algorithm>

#include "import/csv_reader.h"
#include "import/station_lists.h"

namespace moltrevane {
namespace {

enum class Role { Call, Latitude, Longitude, Locator, Output, Input, Offset, Mode, Qth, Tone, Channel, Asl,
                  Remarks, Status, Ignored };

// Names folded to lower case without blanks and punctuation ("Input Freq" is "inputfreq").
constexpr std::pair<std::string_view, Role> kColumnNames[] = {
    {"call", Role::Call}, {"callsign", Role::Call}, {"rufzeichen", Role::Call}, {"znak", Role::Call},
    {"znakwywoławczy", Role::Call}, {"qra", Role::Call},
    {"lat", Role::Latitude}, {"latitude", Role::Latitude}, {"breite", Role::Latitude},
    {"breitengrad", Role::Latitude}, {"szerokość", Role::Latitude}, {"szerokosc", Role::Latitude},
    {"lon", Role::Longitude}, {"long", Role::Longitude}, {"lng", Role::Longitude}, {"longitude", Role::Longitude},
    {"länge", Role::Longitude}, {"laenge", Role::Longitude}, {"längengrad", Role::Longitude},
    {"długość", Role::Longitude}, {"dlugosc", Role::Longitude},
    {"locator", Role::Locator}, {"loc", Role::Locator}, {"qthr", Role::Locator}, {"lokator", Role::Locator},
    {"qthlocator", Role::Locator}, {"grid", Role::Locator},
    {"output", Role::Output}, {"outputfrequency", Role::Output}, {"tx", Role::Output},
    {"txfrequency", Role::Output}, {"txmhz", Role::Output}, {"frequency", Role::Output}, {"freq", Role::Output}, {"aus", Role::Output},
    {"qrg", Role::Output}, {"częstotliwość", Role::Output}, {"czestotliwosc", Role::Output},
    {"input", Role::Input}, {"inputfrequency", Role::Input}, {"inputfreq", Role::Input}, {"rx", Role::Input},
    {"rxfrequency", Role::Input}, {"rxmhz", Role::Input}, {"ein", Role::Input}, {"wejście", Role::Input},
    {"offset", Role::Offset}, {"shift", Role::Offset}, {"ablage", Role::Offset},
    {"przesunięcie", Role::Offset},
    {"mode", Role::Mode}, {"modes", Role::Mode}, {"betriebsart", Role::Mode}, {"emisja", Role::Mode},
    {"tryb", Role::Mode},
    {"city", Role::Qth}, {"qth", Role::Qth}, {"location", Role::Qth}, {"standort", Role::Qth}, {"ort", Role::Qth},
    {"where", Role::Qth}, {"nearestcity", Role::Qth}, {"miejscowość", Role::Qth}, {"lokalizacja", Role::Qth},
    {"tone", Role::Tone}, {"ctcss", Role::Tone}, {"pl", Role::Tone}, {"pltone", Role::Tone},
    {"ctcsscc", Role::Tone}, {"subton", Role::Tone}, {"rem1", Role::Tone},
    {"channel", Role::Channel}, {"chan", Role::Channel}, {"kanal", Role::Channel}, {"kanał", Role::Channel},
    {"asl", Role::Asl}, {"altitude", Role::Asl}, {"höhe", Role::Asl}, {"hoehe", Role::Asl},
    {"elevation", Role::Asl}, {"wysokość", Role::Asl},
    {"remarks", Role::Remarks}, {"notes", Role::Remarks}, {"bemerkung", Role::Remarks}, {"uwagi", Role::Remarks},
    {"rem2", Role::Remarks}, {"comment", Role::Remarks}, {"description", Role::Remarks},
    {"landmark", Role::Remarks},
    {"status", Role::Status}, {"operationalstatus", Role::Status},
};

// Mode columns: RepeaterBook's, "Yes" or "No", and the UK list's, "Y" or empty.
constexpr std::pair<std::string_view, std::string_view> kModeFlags[] = {
    {"fmanalog", "FM"}, {"analog", "FM"}, {"dmr", "DMR"},   {"dstar", "D-STAR"}, {"systemfusion", "C4FM"},
    {"fusion", "C4FM"}, {"nxdn", "NXDN"}, {"apcop25", "P25"}, {"m17", "M17"},   {"tetra", "TETRA"},
};

// The UK list's mode letters, as its key gives them: "AM" is analogue and DMR.
constexpr std::pair<char, std::string_view> kUkModeLetters[] = {
    {'A', "FM"}, {'D', "D-STAR"}, {'M', "DMR"}, {'F', "C4FM"}, {'N', "NXDN"}, {'P', "P25"},
};

std::string Folded(std::string_view name) {
    std::string folded;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') folded += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80) folded += c;
    }
    return folded;
}

struct Columns {
    std::vector<Role> roles;
    bool modeLetters = false;  // the UK list writes its modes as letters
    std::vector<std::pair<std::size_t, std::string_view>> modeFlags;  // column, mode
    bool Has(Role role) const { return std::find(roles.begin(), roles.end(), role) != roles.end(); }
};

Columns ColumnsOf(const CsvRecord& header) {
    Columns columns;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = Folded(header[i]);
        Role role = Role::Ignored;
        for (const auto& [known, knownRole] : kColumnNames)
            if (known == name) role = knownRole;
        // The first column of a role counts; "Frequency" after "Output" is no second output.
        if (role != Role::Ignored && role != Role::Remarks && columns.Has(role)) role = Role::Ignored;
        columns.roles.push_back(role);
        for (const auto& [flag, mode] : kModeFlags)
            if (flag == name && role == Role::Ignored) columns.modeFlags.emplace_back(i, mode);
    }
    return columns;
}

bool IsChirp(const CsvRecord& header) {
    for (const std::string& name : header)
        if (const std::string folded = Folded(name); folded == "rtonefreq" || folded == "dtcscode") return true;
    return false;
}

ListFormat KindOf(const CsvRecord& header) {
    for (const std::string& name : header) {
        const std::string folded = Folded(name);
        if (folded == "qthr") return ListFormat::UkCsv;
        if (folded == "landmark" || folded == "fmanalog") return ListFormat::RepeaterBookCsv;
    }
    return ListFormat::Csv;
}

// "AM", "DMFPN": a field of UK mode letters only, each a mode; any other field its words.
void AddModes(std::string_view field, bool letters, std::vector<std::string>& modes) {
    const auto letter = [](char c) {
        return std::find_if(std::begin(kUkModeLetters), std::end(kUkModeLetters),
                            [c](const auto& entry) { return entry.first == c; });
    };
    const bool allLetters = letters && !field.empty() &&
                            std::all_of(field.begin(), field.end(), [&](char c) { return letter(c) != std::end(kUkModeLetters); });
    if (!allLetters) return AddModeWords(field, modes);
    for (char c : field) modes.emplace_back(letter(c)->second);
}

bool IsYes(std::string_view value) {
    const std::string folded = Folded(value);
    return folded == "yes" || folded == "y";
}

ListedStation StationOf(const Columns& columns, const CsvRecord& record) {
    ListedStation station;
    std::optional<double> offset;
    for (std::size_t i = 0; i < record.size() && i < columns.roles.size(); ++i) {
        const std::string& value = record[i];
        switch (columns.roles[i]) {
            case Role::Call: station.call = value; break;
            case Role::Latitude: station.latitude = NumberOf(value); break;
            case Role::Longitude: station.longitude = NumberOf(value); break;
            case Role::Locator: station.locator = value; break;
            case Role::Output: station.outputMhz = NumberOf(value); break;
            case Role::Input: station.inputMhz = NumberOf(value); break;
            case Role::Offset: offset = NumberOf(value); break;
            case Role::Mode: AddModes(value, columns.modeLetters, station.modes); break;
            case Role::Qth: station.qth = value; break;
            case Role::Tone: station.tone = value; break;
            case Role::Channel: station.channel = value; break;
            case Role::Asl: station.asl = value; break;
            case Role::Remarks:
                if (!value.empty()) station.remarks += (station.remarks.empty() ? "" : "; ") + value;
                break;
            case Role::Status: station.onAir = IsOnAir(value); break;
            case Role::Ignored: break;
        }
    }
    for (const auto& [column, mode] : columns.modeFlags)
        if (column < record.size() && IsYes(record[column])) station.modes.emplace_back(mode);
    if (!station.inputMhz && station.outputMhz && offset) station.inputMhz = *station.outputMhz + *offset;
    return station;
}

}  // namespace

std::string ReadCsvList(ListFormat& format, const NextBytes& next, const OnStation& onStation) {
    std::optional<Columns> columns;
    std::string refusal;
    CsvReader reader([&](const CsvRecord& record) {
        if (columns) return onStation(StationOf(*columns, record));
        if (IsChirp(record)) {
            refusal = "has no station positions (CHIRP lists hold none)";
            return false;
        }
        columns = ColumnsOf(record);
        if (!columns->Has(Role::Call)) refusal = "has no column of calls (call, callsign, Rufzeichen, znak)";
        else if (!(columns->Has(Role::Latitude) && columns->Has(Role::Longitude)) && !columns->Has(Role::Locator))
            refusal = "has no station positions (no latitude and longitude, no locator column)";
        if (format == ListFormat::Csv) format = KindOf(record);
        columns->modeLetters = format == ListFormat::UkCsv;
        return refusal.empty();
    });
    for (std::string_view piece = next(); !piece.empty(); piece = next())
        if (!reader.Feed(piece)) break;
    if (!refusal.empty()) return refusal;
    if (!reader.Error().empty()) return reader.Error();
    if (!reader.Finish()) return refusal.empty() ? (reader.Error().empty() ? "stopped" : reader.Error()) : refusal;
    if (!columns) return "is empty";
    return {};
}

}  // namespace moltrevane
