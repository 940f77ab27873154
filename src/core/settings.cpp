#include "core/settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "core/app_state.h"
#include "core/unique_fd.h"
#include "gps/serial_port.h"

namespace moltrevane {
namespace {

constexpr std::size_t kPortPosition = 0, kSpeedPosition = 1, kActivePosition = 2;
constexpr std::size_t kOfflinePosition = 4, kTargetPosition = 11, kReservedPosition = 29;

constexpr std::array<std::pair<std::size_t, bool AppState::*>, 11> kFlagPositions = {{
    {18, &AppState::showHf},         {19, &AppState::show2m},          {20, &AppState::show70cm},
    {21, &AppState::show23cm},       {22, &AppState::showBelow23cm},   {24, &AppState::showRepeaterFm},
    {25, &AppState::showRepeaterAtv}, {26, &AppState::showTransponder}, {27, &AppState::showDigipeater},
    {28, &AppState::showBeacon},     {30, &AppState::showOther},
}};

void SetAllFlags(AppState& state) {
    for (const auto& [position, flag] : kFlagPositions) state.*flag = true;
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

}  // namespace

AppSettings EncodeSettings(const AppState& state, std::string_view targetText) {
    AppSettings record;
    record.fill('-');
    record[kPortPosition] = static_cast<char>(state.portIndex + '1');
    record[kSpeedPosition] = static_cast<char>(state.speedIndex + '1');
    record[kActivePosition] = state.portActive ? '1' : '0';
    PutLocator(record, kOfflinePosition, LocatorView(state.offlineLocator));
    PutLocator(record, kTargetPosition, targetText);
    for (const auto& [position, flag] : kFlagPositions) record[position] = state.*flag ? '1' : '0';
    record[kReservedPosition] = '0';
    return record;
}

void ApplySettings(AppState& state, std::string& targetText, std::string_view record, SerialPort& port) {
    SetAllFlags(state);
    if (record.size() > kPortPosition) state.portIndex = IndexFromDigit(record[kPortPosition]);
    if (record.size() > kSpeedPosition) state.speedIndex = IndexFromDigit(record[kSpeedPosition]);
    state.portActive = record.size() > kActivePosition && record[kActivePosition] == '1';
    if (state.portActive && !PortName(state.portIndex).empty())
        port.OpenPort(state, PortName(state.portIndex), BaudRateFor(state.speedIndex), WhenAbsent::Wait);
    state.offlineLocator = ToLocatorText(LocatorField(record, kOfflinePosition));
    targetText = LocatorField(record, kTargetPosition);
    for (const auto& [position, flag] : kFlagPositions)
        if (position < record.size()) state.*flag = record[position] == '1';
}

void loadSettings(AppState& state, std::string& targetText, SerialPort& port, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        SetAllFlags(state);
        return;
    }
    std::array<char, std::tuple_size_v<AppSettings>> bytes{};
    in.read(bytes.data(), bytes.size());
    ApplySettings(state, targetText, std::string_view(bytes.data(), static_cast<std::size_t>(in.gcount())), port);
}

bool saveSettings(const AppState& state, std::string_view targetText, const std::filesystem::path& file) {
    const AppSettings record = EncodeSettings(state, targetText);
    std::string temporary = file.string() + ".XXXXXX";
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd) return false;
    const bool written = WriteAll(fd.get(), record.data(), record.size()) && ::fsync(fd.get()) == 0;
    const bool closed = ::close(fd.release()) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename is on disk only once the folder is: without this a power cut may undo it.
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd) ::fsync(folderFd.get());
    return true;
}

}  // namespace moltrevane
