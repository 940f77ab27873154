// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/csv_reader.h"

#include <algorithm>

namespace moltrevane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// `;` when the header holds more of them than commas outside quotes (a German spreadsheet's
// export), `,` otherwise.
char SeparatorOf(std::string_view header) {
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (char c : header) {
        if (c == '"') quoted = !quoted;
        else if (!quoted && c == ',') ++commas;
        else if (!quoted && c == ';') ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

}  // namespace

bool CsvReader::Fail(std::string why) {
    if (!failed_) error_ = "line " + std::to_string(line_) + ": " + why;
    failed_ = true;
    return false;
}

bool CsvReader::Feed(std::string_view bytes) {
    if (failed_ || stopped_) return false;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (separator_ == 0) {
            // The header is held until its line ends, so the separator can be told from it.
            const char c = bytes[at];
            firstLine_ += c;
            if (c == '"') headerQuoted_ = !headerQuoted_;
            if (firstLine_.size() > kLongestCsvRecord) return Fail("longer than 1 MB");
            if (c == '\n' && !headerQuoted_ && !StartRecords()) return false;
            continue;
        }
        if (!Take(bytes[at])) return false;
    }
    return true;
}

bool CsvReader::StartRecords() {
    std::string_view header = firstLine_;
    if (header.starts_with(kByteOrderMark)) header.remove_prefix(kByteOrderMark.size());
    separator_ = SeparatorOf(header);
    const std::string held(header);
    firstLine_.clear();
    firstLine_.shrink_to_fit();
    for (char c : held)
        if (!Take(c)) return false;
    return true;
}

bool CsvReader::Finish() {
    if (failed_ || stopped_) return false;
    if (separator_ == 0 && !StartRecords()) return false;
    switch (state_) {
        case State::Quoted: return Fail("a quote is never closed");
        case State::AfterCr: return EndRecord();  // the line did end, with a lone CR
        case State::FieldStart:
            if (record_.empty()) return true;
            break;
        case State::Plain:
        case State::QuoteInQuoted: break;
    }
    // A last line without its line end that has fewer fields than the header is a file cut
    // short (a download broken off): its last field, a frequency say, may be cut too.
    if (record_.size() + 1 < headerFields_) return Fail("cut short: the last line has no line end and fewer fields than the header");
    return EndRecord();
}

bool CsvReader::Take(char c) {
    if (c == '\0') return Fail("a NUL byte: this is no text");
    if (++recordBytes_ > kLongestCsvRecord) return Fail("longer than 1 MB");
    if (c == '\n') ++nextLine_;
    switch (state_) {
        case State::AfterCr:
            if (!EndRecord()) return false;
            if (c == '\n') return true;
            return Take(c);  // a lone CR ends a line too
        case State::Quoted:
            if (c == '"') state_ = State::QuoteInQuoted;
            else field_ += c;
            return true;
        case State::QuoteInQuoted:
            if (c == '"') {
                field_ += c;
                state_ = State::Quoted;
                return true;
            }
            break;
        case State::FieldStart:
            if (c == '"') {
                state_ = State::Quoted;
                return true;
            }
            break;
        case State::Plain:
            break;
    }
    if (c == separator_) return EndField();
    if (c == '\r') {
        state_ = State::AfterCr;
        return true;
    }
    if (c == '\n') return EndRecord();
    field_ += c;  // also text after a closing quote: kept, as spreadsheets write it
    state_ = State::Plain;
    return true;
}

bool CsvReader::EndField() {
    if (record_.size() == kMostCsvFields) return Fail("more than 1000 fields");
    record_.push_back(std::move(field_));
    field_.clear();
    state_ = State::FieldStart;
    return true;
}

bool CsvReader::EndRecord() {
    if (!EndField()) return false;
    const bool blank = record_.size() == 1 && record_[0].empty();
    if (headerFields_ == 0 && !blank) headerFields_ = record_.size();
    const bool go = blank || onRecord_(record_);
    record_.clear();
    recordBytes_ = 0;
    line_ = nextLine_;
    if (!go) stopped_ = true;
    return go;
}

}  // namespace moltrevane
