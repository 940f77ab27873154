// SPDX-License-Identifier: GPL-3.0-or-later
// JSON station lists: every object in the top array (or in an array of the top object, as
// RepeaterBook's "results") is one station. Read through nlohmann's SAX interface, so only one
// station is held at a time; the nesting, each value's length and each station's are bounded.

#include <cmath>
#include <iterator>
#include <nlohmann/json.hpp>

#include "import/station_lists.h"

namespace moltrevane {
namespace {

using nlohmann::json;

// An input iterator over the file's pieces. It ends early when one value, or the station being
// held, runs on for more than kLongestListValue bytes: the parser then fails instead of holding
// it whole (a station of a hundred values of almost 1 MB each would take hundreds of MB).
class Bytes {
public:
    explicit Bytes(const NextBytes& next) : next_(next) {}
    bool AtEnd() {
        if (at_ == piece_.size()) {
            piece_ = next_();
            at_ = 0;
        }
        return piece_.empty() || overlong_;
    }
    char Current() const { return piece_[at_]; }
    void Advance() {
        ++at_;
        if (++sinceValue_ > kLongestListValue) overlong_ = true;
        if (inStation_ && ++sinceStation_ > kLongestListValue) overlong_ = overlongStation_ = true;
    }
    void ValueEnded() { sinceValue_ = 0; }
    void StationStarted() { inStation_ = true, sinceStation_ = 0; }
    void StationEnded() { inStation_ = false; }
    bool Overlong() const { return overlong_; }
    bool OverlongStation() const { return overlongStation_; }

private:
    const NextBytes& next_;
    std::string_view piece_;
    std::size_t at_ = 0, sinceValue_ = 0, sinceStation_ = 0;
    bool overlong_ = false, overlongStation_ = false, inStation_ = false;
};

class BytesIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    BytesIterator() = default;
    explicit BytesIterator(Bytes& bytes) : bytes_(&bytes) {}
    char operator*() const { return bytes_->Current(); }
    BytesIterator& operator++() {
        bytes_->Advance();
        return *this;
    }
    bool operator==(const BytesIterator& other) const { return AtEnd() == other.AtEnd(); }

private:
    bool AtEnd() const { return bytes_ == nullptr || bytes_->AtEnd(); }
    Bytes* bytes_ = nullptr;
};

using MapStation = ListedStation (*)(const json&);

class StationSax {
public:
    StationSax(Bytes& bytes, MapStation map, const OnStation& onStation)
        : bytes_(bytes), map_(map), onStation_(onStation) {}

    bool null() { return Value(nullptr); }
    bool boolean(bool value) { return Value(value); }
    bool number_integer(json::number_integer_t value) { return Value(value); }
    bool number_unsigned(json::number_unsigned_t value) { return Value(value); }
    bool number_float(json::number_float_t value, const std::string&) { return Value(value); }
    bool string(std::string& value) { return Value(std::move(value)); }
    bool binary(json::binary_t&) { return Value(nullptr); }
    bool key(std::string& name) {
        bytes_.ValueEnded();
        if (!building_.empty()) keys_.back() = std::move(name);
        return true;
    }
    bool start_object(std::size_t) { return Open('o', json::object()); }
    bool start_array(std::size_t) { return Open('a', json::array()); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) {
        if (error_.empty()) {
            std::string what = error.what();
            const std::size_t message = what.find("] ");
            error_ = message == std::string::npos ? what : what.substr(message + 2);
        }
        return false;
    }

    std::string Error() const {
        if (bytes_.OverlongStation()) return "a station longer than 1 MB";
        if (bytes_.Overlong()) return "a value longer than 1 MB";
        return error_;
    }

private:
    // An object whose container is the top array, or an array of the top object.
    bool StartsStation() const {
        return building_.empty() && (kinds_ == "a" || kinds_ == "oa");
    }

    bool Open(char kind, json container) {
        bytes_.ValueEnded();
        if (kinds_.size() == kDeepestListNesting) return Fail("nested deeper than 64");
        const bool startsStation = kind == 'o' && StartsStation();
        if (startsStation) values_ = 0, bytes_.StationStarted();
        const bool inStation = startsStation || !building_.empty();
        kinds_ += kind;
        if (inStation) {
            building_.push_back(std::move(container));
            keys_.emplace_back();
        }
        return true;
    }

    bool Close() {
        bytes_.ValueEnded();
        kinds_.pop_back();
        if (building_.empty()) return true;
        json done = std::move(building_.back());
        building_.pop_back();
        keys_.pop_back();
        if (!building_.empty()) return Value(std::move(done));
        bytes_.StationEnded();
        return onStation_(map_(done));
    }

    bool Value(json value) {
        bytes_.ValueEnded();
        if (building_.empty()) return true;  // "count" and the like beside the stations
        if (++values_ > 10000) return Fail("a station with more than 10000 values");
        json& container = building_.back();
        if (container.is_object()) container[keys_.back()] = std::move(value);
        else container.push_back(std::move(value));
        return true;
    }

    bool Fail(std::string why) {
        error_ = std::move(why);
        return false;
    }

    Bytes& bytes_;
    MapStation map_;
    const OnStation& onStation_;
    std::string kinds_;  // 'o' or 'a' for each open container
    std::vector<json> building_;  // the station being read, outermost first
    std::vector<std::string> keys_;
    std::size_t values_ = 0;
    std::string error_;
};

std::string Text(const json& station, const char* key) {
    const auto found = station.find(key);
    if (found == station.end()) return {};
    if (found->is_string()) return found->get<std::string>();
    if (found->is_number()) return found->dump();
    return {};
}

std::optional<double> Number(const json& station, const char* key) {
    const auto found = station.find(key);
    if (found == station.end()) return std::nullopt;
    if (found->is_number()) {
        const double value = found->get<double>();
        return std::isfinite(value) ? std::optional(value) : std::nullopt;
    }
    if (found->is_string()) return NumberOf(found->get<std::string>());
    return std::nullopt;
}

// Hz where a list mixes them with MHz: no station sends below 100 kHz.
std::optional<double> Mhz(std::optional<double> value) {
    if (value && std::fabs(*value) >= 1e5) return *value / 1e6;
    return value;
}

std::string JoinedTexts(std::initializer_list<std::string> texts) {
    std::string joined;
    for (const std::string& text : texts)
        if (!text.empty()) joined += (joined.empty() ? "" : "; ") + text;
    return joined;
}

ListedStation RepeaterBookStation(const json& item) {
    ListedStation station;
    station.call = Text(item, "Callsign");
    station.outputMhz = Number(item, "Frequency");
    station.inputMhz = Number(item, "Input Freq");
    station.tone = Text(item, "PL");
    if (station.tone.empty() || station.tone == "CSQ") station.tone = Text(item, "TSQ");
    station.latitude = Number(item, "Lat");
    station.longitude = Number(item, "Long");
    station.qth = Text(item, "Nearest City");
    station.remarks = JoinedTexts({Text(item, "Landmark"), Text(item, "Notes")});
    station.onAir = IsOnAir(Text(item, "Operational Status"));
    constexpr std::pair<const char*, const char*> kFlags[] = {
        {"FM Analog", "FM"}, {"DMR", "DMR"},   {"D-Star", "D-STAR"}, {"System Fusion", "C4FM"},
        {"NXDN", "NXDN"},    {"APCO P-25", "P25"}, {"M17", "M17"},    {"Tetra", "TETRA"}};
    for (const auto& [flag, mode] : kFlags)
        if (Text(item, flag) == "Yes") station.modes.emplace_back(mode);
    return station;
}

ListedStation HearhamStation(const json& item) {
    ListedStation station;
    station.call = Text(item, "callsign");
    station.latitude = Number(item, "latitude");
    station.longitude = Number(item, "longitude");
    station.qth = Text(item, "city");
    station.modes.push_back(Text(item, "mode"));
    station.tone = Text(item, "encode");
    const std::optional<double> hz = Number(item, "frequency"), offset = Number(item, "offset");
    if (hz) station.outputMhz = *hz / 1e6;
    if (hz && offset) station.inputMhz = (*hz + *offset) / 1e6;
    station.remarks = Text(item, "description");
    const std::string operational = Text(item, "operational");
    station.onAir = operational.empty() || IsOnAir(operational);
    return station;
}

ListedStation PrzemiennikiStation(const json& item) {
    ListedStation station;
    station.call = Text(item, "callsign");
    // Beside the modes the list names the networks a repeater is in ("fmpoland"): remarks.
    std::vector<std::string> networks;
    if (const auto modes = item.find("modes"); modes != item.end() && modes->is_array())
        for (const json& mode : *modes)
            if (mode.is_string()) (IsModeWord(mode.get<std::string>()) ? station.modes : networks).push_back(mode.get<std::string>());
    for (const std::string& network : networks) station.remarks += (station.remarks.empty() ? "" : ", ") + network;
    station.outputMhz = Mhz(Number(item, "tx_frequency"));
    station.inputMhz = Mhz(Number(item, "rx_frequency"));
    if (!station.inputMhz && station.outputMhz) {
        std::optional<double> offset = Mhz(Number(item, "offset"));
        const std::string duplex = Text(item, "duplex");
        if (offset && duplex == "-") offset = -std::fabs(*offset);
        if (offset) station.inputMhz = *station.outputMhz + *offset;
    }
    // rx_ctcss is what the repeater listens for, the tone that opens it; tx_ctcss the one it sends.
    station.tone = Text(item, "rx_ctcss");
    if (AccessOf(station.tone).tone.empty()) station.tone = Text(item, "tx_ctcss");
    station.onAir = IsOnAir(Text(item, "status"));
    if (const auto at = item.find("coordinates"); at != item.end() && at->is_array() && at->size() == 2 &&
                                                  (*at)[0].is_number() && (*at)[1].is_number()) {
        station.latitude = (*at)[0].get<double>();
        station.longitude = (*at)[1].get<double>();
    }
    station.qth = Text(item, "qth");
    station.locator = Text(item, "locator");
    return station;
}

// SRAL's list of Finnish stations: tx_freq the output in MHz, rep_shift the input's distance.
ListedStation SralStation(const json& item) {
    ListedStation station;
    station.call = Text(item, "callsign");
    station.locator = Text(item, "locator");
    station.latitude = Number(item, "wgs84lat");
    station.longitude = Number(item, "wgs84lon");
    station.outputMhz = Mhz(Number(item, "tx_freq"));
    if (const std::optional<double> shift = Mhz(Number(item, "rep_shift")); shift && *shift != 0 && station.outputMhz)
        station.inputMhz = *station.outputMhz + *shift;
    station.tone = Text(item, "rep_access");
    AddModeWords(Text(item, "mode"), station.modes);
    const std::string status = Text(item, "status");
    station.onAir = status.empty() || IsOnAir(status);
    station.qth = Text(item, "qth_city");
    station.remarks = Text(item, "name");
    station.asl = Text(item, "alt_asl");
    return station;
}

}  // namespace

std::string ReadJsonList(ListFormat format, const NextBytes& next, const OnStation& onStation) {
    const MapStation map = format == ListFormat::HearhamJson       ? HearhamStation
                           : format == ListFormat::PrzemiennikiJson ? PrzemiennikiStation
                           : format == ListFormat::SralJson         ? SralStation
                                                                    : RepeaterBookStation;
    Bytes bytes(next);
    StationSax sax(bytes, map, onStation);
    const bool whole = json::sax_parse(BytesIterator(bytes), BytesIterator(), &sax, json::input_format_t::json, true);
    if (whole) return {};
    std::string error = sax.Error();
    return error.empty() ? "stopped" : error;
}

}  // namespace moltrevane
