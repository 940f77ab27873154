// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The station lists hams have, told apart by their content and read one station at a time.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "import/listed_station.h"

namespace moltrevane {

enum class ListFormat { RepeaterBookJson, RepeaterBookCsv, HearhamJson, RxfXml, PrzemiennikiJson, SralJson, UkCsv, Csv };

// The names --format takes: "repeaterbook-json", "rxf", "csv" …
std::string_view FormatName(ListFormat format);
std::optional<ListFormat> FormatNamed(std::string_view name);
std::string FormatNames();  // all of them, for a usage text

// Where a station came from, for its remarks; empty for a CSV of no known source.
std::string_view SourceName(ListFormat format);

// From the first bytes of a file (up to 64 kB). A CSV's kind is told from its header as it is
// read. Nothing for bytes that are no text at all.
std::optional<ListFormat> DetectFormat(std::string_view head);

// The file's next bytes; empty at its end or when reading is to stop.
using NextBytes = std::function<std::string_view()>;
// Returns false to stop reading.
using OnStation = std::function<bool(const ListedStation&)>;

// Reads the whole list. Returns an empty text when it was read to its end, or a one-line
// reason ("line 12: a quote is never closed") when it is no list of that format. Memory stays
// bounded whatever the bytes: no value longer than 1 MB, nothing nested deeper than 64.
// `format` may be refined as the list is read (see ReadCsvList).
std::string ReadStationList(ListFormat& format, const NextBytes& next, const OnStation& onStation);

// Each reader, for ReadStationList and the fuzz targets.
std::string ReadJsonList(ListFormat format, const NextBytes& next, const OnStation& onStation);
std::string ReadRxfList(const NextBytes& next, const OnStation& onStation);
// A CSV's kind is told from its header: `format` Csv becomes RepeaterBookCsv or UkCsv there.
std::string ReadCsvList(ListFormat& format, const NextBytes& next, const OnStation& onStation);

// How the lists' files end, in lower case: what a search for lists on a drive looks for.
inline constexpr std::string_view kListEndings[] = {".csv", ".json", ".xml", ".rxf"};

inline constexpr std::size_t kLongestListValue = 1 << 20;  // bytes
inline constexpr int kDeepestListNesting = 64;

}  // namespace moltrevane
