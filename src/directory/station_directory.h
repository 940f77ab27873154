#pragma once
// Read-only access to the station directory: every query opens the file, runs one
// statement with a per-row callback and closes the file again.

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace moltrevane {

// Column values of one row in the order of the statement's column list; NULL reads as "".
using RowValues = std::span<const std::string_view>;
using RowCallback = std::function<void(RowValues)>;

struct CallLookupResult {
    bool found = false;
    std::string lookupText;  // loc + " - " + qth of the last matching row
};

inline constexpr std::string_view kStationListStatement = "SELECT call, loc FROM repeater ORDER BY call, loc";
inline constexpr std::string_view kLookupPrefix = "SELECT loc, qth FROM repeater WHERE call='";
inline constexpr std::string_view kDetailsPrefix =
    "SELECT call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2 FROM repeater WHERE call='";

// prefix + the call text (cut at its first zero byte, every quote doubled) + the closing
// quote, so no text can leave the string literal.
std::string CallStatement(std::string_view prefix, std::string_view callText);

class StationDirectory {
public:
    explicit StationDirectory(std::filesystem::path file);

    // A missing file, a missing table or a failed statement all look like no rows.
    void RunQuery(std::string_view statement, const RowCallback& onRow) const;

    CallLookupResult LookupCall(std::string_view callText) const;

private:
    std::filesystem::path file_;
};

}  // namespace moltrevane
