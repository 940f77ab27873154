// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records of a CSV text (RFC 4180): `,` or `;` between fields, quoted fields that hold the
// separator, quotes and line breaks, CRLF or LF, a byte-order mark at the start. Fed in pieces
// of any size, so a file of any length passes with bounded memory.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace moltrevane {

inline constexpr std::size_t kLongestCsvRecord = 1 << 20;  // bytes; a longer one is no station
inline constexpr std::size_t kMostCsvFields = 1000;

using CsvRecord = std::vector<std::string>;

class CsvReader {
public:
    // Returns false to stop reading.
    using OnRecord = std::function<bool(const CsvRecord&)>;
    explicit CsvReader(OnRecord onRecord) : onRecord_(std::move(onRecord)) {}

    // False once the text is no CSV (a NUL byte, a record past the limits) or the receiver
    // stopped; Error() then says why, naming the line.
    bool Feed(std::string_view bytes);
    bool Finish();  // the last record, without a line end

    const std::string& Error() const { return error_; }
    std::size_t Line() const { return line_; }  // where the current record starts, from 1

private:
    bool Take(char c);
    bool EndField();
    bool EndRecord();
    bool Fail(std::string why);
    bool StartRecords();

    OnRecord onRecord_;
    CsvRecord record_;
    std::string field_;
    std::size_t recordBytes_ = 0;
    std::size_t line_ = 1, nextLine_ = 1;
    std::size_t headerFields_ = 0;  // the first record's
    char separator_ = 0;  // chosen from the first line
    std::string firstLine_;  // the header's text until its separator is known
    bool headerQuoted_ = false;
    std::string error_;
    enum class State { FieldStart, Plain, Quoted, QuoteInQuoted, AfterCr } state_ = State::FieldStart;
    bool failed_ = false, stopped_ = false;
};

}  // namespace moltrevane
