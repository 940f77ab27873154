// Any file as the settings file: loaded, saved and loaded again, the state is the same.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/filter_flags.h"
#include "core/settings.h"
#include "fakes.h"
#include "fuzz_check.h"
#include "temp_folder.h"

namespace {

using namespace moltrevane;
using moltrevane::testing::RecordingGpsSource;

struct LoadedSettings {
    int portIndex, speedIndex;
    bool portActive;
    LocatorText offlineLocator;
    std::string targetText;
    std::array<bool, 11> flags;
    std::vector<RecordingGpsSource::Open> opens;
    bool operator==(const LoadedSettings&) const = default;
};

// Loads the file and, when saveTo is given, saves the loaded state there.
LoadedSettings Load(const std::filesystem::path& file, const std::filesystem::path* saveTo = nullptr) {
    AppState state;
    std::string targetText;
    RecordingGpsSource port{state};
    loadSettings(state, targetText, port, file);
    if (saveTo) FUZZ_CHECK(saveSettings(state, targetText, *saveTo));
    std::array<bool, kFilterFlags.size()> flags{};
    for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = state.*kFilterFlags[i].field;
    return {state.portIndex, state.speedIndex, state.portActive, state.offlineLocator, targetText, flags, port.opens};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const moltrevane::testing::TempFolder folder;
    const auto file = folder / "Moltrevane.cfg";
    moltrevane::testing::WriteFile(file, std::string(reinterpret_cast<const char*>(data), size));

    const LoadedSettings first = Load(file, &file);
    FUZZ_CHECK(std::filesystem::file_size(file) == std::tuple_size_v<AppSettings>);
    FUZZ_CHECK(Load(file) == first);
    return 0;
}
