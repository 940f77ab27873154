// SPDX-License-Identifier: GPL-3.0-or-later
// The RXF XML export of przemienniki.net: one <repeater> per station, read with expat as the
// file comes. A list needs no document type of its own: a file that declares one (the "billion
// laughs", an external entity, declarations by the million) is refused, so nothing is ever
// expanded, fetched or kept. Memory stays bounded: no element nested deeper than 64, no tag
// (expat holds one whole until it ends) longer than 1 MB.

#include <expat.h>

#include <algorithm>
#include <memory>

#include "import/station_lists.h"

namespace moltrevane {
namespace {

constexpr std::size_t kLongestElementText = 4096;  // more of a text is dropped

std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

struct Repeater {
    ListedStation station;
    std::vector<double> receive, transmit;  // the repeater's own: a multi-band one repeats the pair
};

class RxfReader {
public:
    RxfReader(XML_Parser parser, const OnStation& onStation) : parser_(parser), onStation_(onStation) {
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &RxfReader::Start, &RxfReader::End);
        XML_SetCharacterDataHandler(parser_, &RxfReader::Characters);
        XML_SetStartDoctypeDeclHandler(parser_, &RxfReader::DoctypeStarted);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
    }

    // Where the parser's line 1 lies in the file: after the blank lines before the declaration.
    std::string Where() const {
        return "line " + std::to_string(XML_GetCurrentLineNumber(parser_) + skippedLines) + ": ";
    }

    std::string error;
    std::size_t skippedLines = 0;

private:
    static void Start(void* self, const XML_Char* name, const XML_Char** attributes) {
        RxfReader& reader = *static_cast<RxfReader*>(self);
        // expat keeps every open element: a file nested millions deep would be held whole.
        if (++reader.depth_ > kDeepestListNesting) return reader.Stop("nested deeper than 64");
        reader.Open(LocalName(name), attributes);
    }
    static void End(void* self, const XML_Char* name) {
        RxfReader& reader = *static_cast<RxfReader*>(self);
        --reader.depth_;
        reader.Close(LocalName(name));
    }
    static void Characters(void* self, const XML_Char* text, int length) {
        std::string& held = static_cast<RxfReader*>(self)->text_;
        if (held.size() < kLongestElementText)
            held.append(text, std::min<std::size_t>(static_cast<std::size_t>(length), kLongestElementText - held.size()));
    }
    static void DoctypeStarted(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int internalSubset) {
        if (internalSubset) static_cast<RxfReader*>(self)->Stop("declares a document type; a station list needs none");
    }

    void Stop(std::string why) {
        if (error.empty())
            error = Where() + std::move(why);
        XML_StopParser(parser_, XML_FALSE);
    }

    void Open(std::string_view name, const XML_Char** attributes) {
        text_.clear();
        if (name == "repeater") {
            repeater_ = std::make_unique<Repeater>();
            return;
        }
        qrgType_.clear();
        for (std::size_t i = 0; name == "qrg" && attributes[i] != nullptr; i += 2)
            if (std::string_view(attributes[i]) == "type") qrgType_ = attributes[i + 1];
    }

    void Close(std::string_view name) {
        if (repeater_ == nullptr) return;
        if (name == "repeater") {
            EmitStations();
            repeater_.reset();
            return;
        }
        ListedStation& station = repeater_->station;
        const std::string& text = text_;
        if (name == "qra") station.call = text;
        else if (name == "status") station.onAir = IsOnAir(text);
        else if (name == "mode") station.modes.push_back(text);
        else if (name == "qrg") {
            if (const std::optional<double> mhz = NumberOf(text); mhz)
                (qrgType_ == "rx" ? repeater_->receive : repeater_->transmit).push_back(*mhz);
        } else if (name == "qth") station.qth = text;
        else if (name == "locator") station.locator = text;
        else if (name == "latitude") station.latitude = NumberOf(text);
        else if (name == "longitude") station.longitude = NumberOf(text);
        else if (name == "altitudeOverSea") station.asl = text;
        else if (name == "ctcss" && station.tone.empty()) station.tone = text;
        else if (name == "remarks") station.remarks = text;
        text_.clear();
    }

    void EmitStations() {
        const std::size_t pairs = std::max<std::size_t>({repeater_->transmit.size(), repeater_->receive.size(), 1});
        for (std::size_t i = 0; i < pairs; ++i) {
            ListedStation station = repeater_->station;
            if (i < repeater_->transmit.size()) station.outputMhz = repeater_->transmit[i];
            if (i < repeater_->receive.size()) station.inputMhz = repeater_->receive[i];
            if (!onStation_(station)) {
                XML_StopParser(parser_, XML_FALSE);
                return;
            }
        }
    }

    XML_Parser parser_;
    const OnStation& onStation_;
    std::unique_ptr<Repeater> repeater_;
    std::string text_, qrgType_;
    int depth_ = 0;
};

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

std::string ReadRxfList(const NextBytes& next, const OnStation& onStation) {
    const std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree> parser(XML_ParserCreate(nullptr));
    if (!parser) return "out of memory";
    RxfReader reader(parser.get(), onStation);
    // Real exports start with a blank line, which XML does not allow: blanks before the first
    // tag are skipped, after a byte-order mark, however the file's first bytes come in pieces.
    std::string lead;
    bool leadKnown = false, started = false;
    std::size_t fed = 0;
    for (;;) {
        std::string_view piece = next();
        const bool last = piece.empty();
        if (!leadKnown) {
            lead.append(piece);
            if (lead.size() < 3 && !last) continue;
            leadKnown = true;
            piece = lead;
            if (piece.starts_with("\xEF\xBB\xBF")) piece.remove_prefix(3);
        }
        if (!started) {
            const std::size_t start = std::min(piece.find_first_not_of(" \t\r\n"), piece.size());
            reader.skippedLines += static_cast<std::size_t>(std::count(piece.begin(), piece.begin() + start, '\n'));
            piece.remove_prefix(start);
            started = !piece.empty();
        }
        fed += piece.size();
        if (XML_Parse(parser.get(), piece.data(), static_cast<int>(piece.size()), last) != XML_STATUS_OK) {
            if (!reader.error.empty()) return reader.error;
            if (XML_GetErrorCode(parser.get()) == XML_ERROR_ABORTED) return "stopped";
            return reader.Where() + XML_ErrorString(XML_GetErrorCode(parser.get()));
        }
        if (last) return {};
        // expat holds an unfinished tag (an attribute, a comment) whole from its start, where its
        // position stays, and reads it again with every piece: a long one costs memory and time.
        const XML_Index tagStart = XML_GetCurrentByteIndex(parser.get());
        if (tagStart >= 0 && fed - static_cast<std::size_t>(tagStart) > kLongestListValue)
            return reader.Where() + "a tag longer than 1 MB";
    }
}

}  // namespace moltrevane
