// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/program_ini.h"
#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "core/app_state.h"
#include "core/palette.h"
#include "support/golden_table.h"
#include "gps/gps_source.h"
#include "support/temp_folder.h"

// The test links with --wrap for these calls: flushes and renames are recorded in order, and
// the call named in `failing` fails as on a full disk.
namespace seam {
std::string calls;  // each call, a space before it
std::string failing;

// Records the call (but writes: too many to follow) and says whether it is the one to fail.
bool Fails(std::string_view call) {
    if (call != "write") calls.append(" ").append(call);
    if (failing != call) return false;
    errno = ENOSPC;
    return true;
}
}  // namespace seam

extern "C" {
ssize_t __real_write(int fd, const void* bytes, size_t size);
int __real_fsync(int fd);
int __real_rename(const char* from, const char* to);

ssize_t __wrap_write(int fd, const void* bytes, size_t size) { return seam::Fails("write") ? -1 : __real_write(fd, bytes, size); }
int __wrap_fsync(int fd) { return seam::Fails("fsync") ? -1 : __real_fsync(fd); }
int __wrap_rename(const char* from, const char* to) { return seam::Fails("rename") ? -1 : __real_rename(from, to); }
}

namespace moltrevane {
namespace {

const std::string kDefaultsRecord = std::string("230-") + std::string(6, '\0') + "-" + std::string(6, '\0') +
                                    "-11111-11111" + "01";

// An entry of a folder, as a table gives it and Listed lists it: NAME=BYTES a file (escaped,
// "NAME:MODE=BYTES" when its mode is not 644), NAME/ a folder, NAME->TARGET a symbolic link,
// NAME| a FIFO.
void Make(const std::filesystem::path& folder, const std::string& entry) {
    const std::size_t equals = entry.find('='), colon = entry.find(':'), link = entry.find("->");
    if (equals != std::string::npos) {
        const std::filesystem::path file = folder / entry.substr(0, std::min(colon, equals));
        testing::WriteFile(file, testing::Unescaped(entry.substr(equals + 1)));
        std::filesystem::permissions(file, std::filesystem::perms(colon < equals ? std::stoi(entry.substr(colon + 1), nullptr, 8) : 0644));
    } else if (link != std::string::npos) {
        std::filesystem::create_symlink(entry.substr(link + 2), folder / entry.substr(0, link));
    } else if (entry.ends_with('/')) {
        std::filesystem::create_directory(folder / entry);
    } else {
        ASSERT_EQ(::mkfifo((folder / entry.substr(0, entry.size() - 1)).c_str(), 0600), 0) << entry;
    }
}

// Every entry in the folder and below it, in the order of their names.
std::string Listed(const std::filesystem::path& folder) {
    std::set<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        const std::filesystem::file_status status = entry.symlink_status();
        char mode[8];
        std::snprintf(mode, sizeof mode, ":%o", static_cast<unsigned>(status.permissions()));
        if (std::filesystem::is_symlink(status)) entries.insert(name + "->" + std::filesystem::read_symlink(entry).string());
        else if (std::filesystem::is_directory(status)) entries.insert(name + "/");
        else if (std::filesystem::is_fifo(status)) entries.insert(name + "|");
        else entries.insert(name + (std::string(mode) == ":644" ? "" : mode) + "=" + testing::Escaped(testing::ReadFile(entry)));
    }
    std::string listed;
    for (const std::string& entry : entries) listed += (listed.empty() ? "" : " ") + entry;
    return listed;
}

// golden/saves.txt: the program started in a folder and saving one of its files as it exits,
// what it read at the start, the flushes and renames of the save, what the user is told and
// what the folder holds then; no save leaves a file open.
TEST(SettingsFiles, SavesOfTheTable) {
    const auto before = testing::OpenFiles();
    testing::ExpectTable("settings/golden/saves.txt", [](std::istream& in) {
        const testing::TempFolder folder;
        std::string saved, entry, failing;
        in >> saved;
        while (in >> entry) {
            if (entry.starts_with('!')) failing = entry.substr(1);
            else Make(folder.path(), entry);
        }
        const std::filesystem::path file = folder / saved;
        const std::filesystem::path settings = file.parent_path() / "Moltrevane.cfg";
        AppState state;
        const std::string target = loadSettings(state, settings);  // would block in open() on a FIFO
        LoadIni(state, settings);
        const AppSettings read = EncodeSettings(state, target);
        const std::string started = testing::Escaped({read.data(), read.size()}) + " " + std::string(PaletteName(state.palette));
        state.palette = PaletteChoice::Night;
        seam::failing = failing;
        seam::calls.clear();
        const FileWritten written = file == settings ? saveSettings(state, "JN58SE", file) : SaveIni(state, settings);
        seam::failing.clear();
        std::string told = written ? "saved" : written.failure;
        if (told.starts_with(folder.path().string() + "/")) told.erase(0, folder.path().string().size() + 1);
        return started + " |" + seam::calls + " | " + told + " | " + Listed(folder.path());
    });
    EXPECT_EQ(testing::OpenFiles(), before);
}

// golden/records.txt: each record as read and saved again (what the saved record holds is
// what was read), and the port and speed it names.
TEST(SettingsRecord, EachPositionReadsAsTheRecordSays) {
    const testing::TempFolder folder;
    const std::filesystem::path file = folder / "Moltrevane.cfg";
    testing::ExpectTable("settings/golden/records.txt", [&](std::istream& in) {
        std::string record;
        std::getline(in, record);
        testing::WriteFile(file, testing::Unescaped(record));
        AppState read;
        EXPECT_TRUE(saveSettings(read, loadSettings(read, file), file)) << record;
        const std::string port = PortName(read.portIndex);
        return testing::Escaped(testing::ReadFile(file)) + " " + (port.empty() ? "-" : port) + " " + std::to_string(BaudRateFor(read.speedIndex));
    });
}

TEST(SettingsRecord, EveryByteAtEveryPositionSurvivesARoundTrip) {
    for (std::size_t position = 0; position < 31; ++position) {
        for (int byte = 0; byte < 256; ++byte) {
            std::string record = kDefaultsRecord;
            record[position] = static_cast<char>(byte);
            AppState first, second;
            const std::string firstTarget = ApplySettings(first, record);
            const AppSettings written = EncodeSettings(first, firstTarget);
            const std::string secondTarget = ApplySettings(second, std::string_view(written.data(), written.size()));
            ASSERT_EQ(EncodeSettings(second, secondTarget), written) << position << " " << byte;
        }
    }
}

}  // namespace
}  // namespace moltrevane
