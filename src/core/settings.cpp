#include "core/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "core/unique_fd.h"
#include "gps/gps_source.h"

namespace moltrevane {
namespace {

constexpr std::size_t kPortPosition = 0, kSpeedPosition = 1, kActivePosition = 2;
constexpr std::size_t kOfflinePosition = 4, kTargetPosition = 11, kReservedPosition = 29;

void SetAllFlags(AppState& state) {
    for (const FilterFlag& flag : kFilterFlags) state.*flag.field = true;
}

// The six bytes of a locator field, cut at a zero byte or at the record's end.
std::string_view LocatorField(std::string_view record, std::size_t position) {
    if (position >= record.size()) return {};
    const std::string_view field = record.substr(position, 6);
    return field.substr(0, field.find('\0'));
}

void PutLocator(AppSettings& record, std::size_t position, std::string_view text) {
    const LocatorText locator = ToLocatorText(text);
    std::copy_n(locator.begin(), 6, record.begin() + static_cast<std::ptrdiff_t>(position));
}

int IndexFromDigit(char digit) { return static_cast<unsigned char>(digit) - '1'; }

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// A regular file only: a FIFO would block the start, a device would be read for ever.
std::optional<std::string> ReadRecord(const std::filesystem::path& file) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::array<char, std::tuple_size_v<AppSettings>> bytes{};
    std::size_t length = 0;
    for (ssize_t n; length < bytes.size() && (n = ::read(fd.get(), bytes.data() + length, bytes.size() - length)) > 0;)
        length += static_cast<std::size_t>(n);
    return std::string(bytes.data(), length);
}

// Temporary files "Moltrevane.cfg.XXXXXX" that a run killed between writing and renaming
// left beside the file.
void RemoveLeftovers(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + ".";
    std::error_code error;
    for (std::filesystem::directory_iterator it(file.parent_path(), error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) && it->is_regular_file(error))
            std::filesystem::remove(it->path(), error);
    }
}

// The file itself, also behind a symbolic link (a dotfile manager's), so that the link stays.
std::filesystem::path FileBehindLinks(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(file, error);
    return error ? file : resolved;
}

}  // namespace

AppSettings EncodeSettings(const AppState& state, std::string_view targetText) {
    AppSettings record;
    record.fill('-');
    record[kPortPosition] = static_cast<char>(state.portIndex + '1');
    record[kSpeedPosition] = static_cast<char>(state.speedIndex + '1');
    record[kActivePosition] = state.portActive ? '1' : '0';
    PutLocator(record, kOfflinePosition, LocatorView(state.offlineLocator));
    PutLocator(record, kTargetPosition, targetText);
    for (const FilterFlag& flag : kFilterFlags) record[flag.recordPosition] = state.*flag.field ? '1' : '0';
    record[kReservedPosition] = '0';
    return record;
}

void ApplySettings(AppState& state, std::string& targetText, std::string_view record, GpsSource& port) {
    SetAllFlags(state);
    if (record.size() > kPortPosition) state.portIndex = IndexFromDigit(record[kPortPosition]);
    if (record.size() > kSpeedPosition) state.speedIndex = IndexFromDigit(record[kSpeedPosition]);
    state.portActive = record.size() > kActivePosition && record[kActivePosition] == '1';
    if (state.portActive && !PortName(state.portIndex).empty())
        port.OpenPort(state.nmea, PortName(state.portIndex), BaudRateFor(state.speedIndex), WhenAbsent::Wait);
    state.offlineLocator = ToLocatorText(LocatorField(record, kOfflinePosition));
    targetText = LocatorField(record, kTargetPosition);
    for (const FilterFlag& flag : kFilterFlags)
        if (flag.recordPosition < record.size()) state.*flag.field = record[flag.recordPosition] == '1';
}

void loadSettings(AppState& state, std::string& targetText, GpsSource& port, const std::filesystem::path& file) {
    RemoveLeftovers(FileBehindLinks(file));
    const std::optional<std::string> record = ReadRecord(file);
    if (!record) {
        SetAllFlags(state);
        return;
    }
    ApplySettings(state, targetText, *record, port);
}

bool saveSettings(const AppState& state, std::string_view targetText, const std::filesystem::path& file) {
    const std::filesystem::path target = FileBehindLinks(file);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // What the user cannot (or chose not to) write, and what is no plain file, stays as it is.
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0))
        return false;
    const AppSettings record = EncodeSettings(state, targetText);
    std::string temporary = target.string() + ".XXXXXX";
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd) return false;
    if (exists) ::fchmod(fd.get(), old.st_mode & 07777);
    const bool written = WriteAll(fd.get(), record.data(), record.size()) && ::fsync(fd.get()) == 0;
    const bool closed = ::close(fd.release()) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename is on disk only once the folder is: without this a power cut may undo it.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd) ::fsync(folderFd.get());
    return true;
}

}  // namespace moltrevane
