// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/program_ini.h"
#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "core/app_state.h"
#include "support/golden_table.h"
#include "gps/gps_source.h"
#include "support/temp_folder.h"

// The test links with --wrap for these calls: flushes and renames are recorded in order, and
// the call named in `failing` fails as on a full disk.
namespace seam {
std::vector<std::string> calls;
std::string failing;

// Records the call (but writes: too many to follow) and says whether it is the one to fail.
bool Fails(std::string_view call) {
    if (call != "write") calls.emplace_back(call);
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

using testing::ReadFile;
using testing::WriteFile;

class SettingsTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::filesystem::path file = folder / "Moltrevane.cfg";
    AppState state;
    std::string target;

    void Load() { target = loadSettings(state, file); }
};

const std::string kDefaultsRecord = std::string("230-") + std::string(6, '\0') + "-" + std::string(6, '\0') +
                                    "-11111-11111" + "01";

TEST_F(SettingsTest, NoFileGivesDefaultsAndTheFirstExitWritesThem) {
    Load();
    ASSERT_TRUE(saveSettings(state, target, file));
    EXPECT_EQ(ReadFile(file), kDefaultsRecord);  // the record holds every default
    AppState again;
    EXPECT_EQ(loadSettings(again, file), "");
    EXPECT_EQ(EncodeSettings(again, ""), EncodeSettings(state, target));
}

// golden/records.txt: each record as read and saved again (what the saved record holds is
// what was read), and the port and speed it names.
TEST_F(SettingsTest, EachPositionReadsAsTheRecordSays) {
    testing::ExpectTable("settings/golden/records.txt", [&](std::istream& in) {
        std::string record;
        std::getline(in, record);
        WriteFile(file, testing::Unescaped(record));
        AppState read;
        EXPECT_TRUE(saveSettings(read, loadSettings(read, file), file)) << record;
        const std::string port = PortName(read.portIndex);
        return testing::Escaped(ReadFile(file)) + " " + (port.empty() ? "-" : port) + " " + std::to_string(BaudRateFor(read.speedIndex));
    });
}

TEST_F(SettingsTest, EveryByteAtEveryPositionSurvivesARoundTrip) {
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

TEST_F(SettingsTest, FailedSaveLeavesWhatWasThereAndNoLitter) {
    // Refused before any temporary file exists, also for root: a parent that is a file, a
    // settings file that is a folder.
    WriteFile(folder / "plain", "x");
    EXPECT_FALSE(saveSettings(state, target, folder / "plain" / "Moltrevane.cfg"));
    std::filesystem::create_directory(file);
    WriteFile(file / "kept", "y");
    EXPECT_EQ(saveSettings(state, target, file).failure, file.string() + ": not a plain file");
    EXPECT_EQ(ReadFile(file / "kept"), "y");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);

    std::filesystem::remove_all(file);
    WriteFile(file, "341-JN58SD-JO62QM-00000-0000000");
    for (const mode_t mode : {0444, 0000}) {  // read-only
        ::chmod(file.c_str(), mode);
        EXPECT_FALSE(saveSettings(state, target, file)) << mode;
        ::chmod(file.c_str(), 0600);
        EXPECT_EQ(ReadFile(file), "341-JN58SD-JO62QM-00000-0000000") << mode;
    }
}

TEST_F(SettingsTest, TheDataIsOnDiskBeforeTheRenameAndEveryFailureCleansUp) {
    WriteFile(file, "341-JN58SD-JO62QM-00000-0000000");
    seam::calls.clear();
    ASSERT_TRUE(saveSettings(state, target, file));
    EXPECT_EQ(seam::calls, (std::vector<std::string>{"fsync", "rename", "fsync"}));  // file, rename, folder

    const std::string kept = ReadFile(file);
    const auto openDescriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto before = openDescriptors();
    for (const char* failing : {"write", "fsync", "rename"}) {
        seam::failing = failing;
        const FileWritten saved = saveSettings(state, "JO40XX", file);
        seam::failing.clear();
        EXPECT_EQ(saved.failure, file.string() + ": " + std::strerror(ENOSPC)) << failing;
        EXPECT_EQ(ReadFile(file), kept) << failing;
        EXPECT_EQ(openDescriptors(), before) << failing;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << failing;
    }
}

TEST_F(SettingsTest, ALinkedFileIsWrittenThroughTheLink) {
    std::filesystem::create_directory(folder / "dotfiles");
    WriteFile(folder / "dotfiles" / "moltrevane.cfg", "341-JN58SD-JO62QM-00000-0000000");
    ::chmod((folder / "dotfiles" / "moltrevane.cfg").c_str(), 0640);
    std::filesystem::create_symlink("dotfiles/moltrevane.cfg", file);
    WriteFile(folder / "dotfiles" / ".moltrevane.cfg.tmp-Ab12Cd", "another program's");
    Load();
    ASSERT_TRUE(saveSettings(state, "JN58SE", file));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(ReadFile(folder / "dotfiles" / "moltrevane.cfg"), "341-JN58SD-JN58SE-00000-0000000");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(ReadFile(folder / "dotfiles" / ".moltrevane.cfg.tmp-Ab12Cd"), "another program's");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "dotfiles"), {}), 2);
}

TEST_F(SettingsTest, AFifoIsNoSettingsFileAndOnlyTheTemporariesOfAKilledRunGo) {
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const std::vector<std::string> users = {"Moltrevane.cfg.backup", "Moltrevane.cfg.2024-1", "Moltrevane.cfg.Ab12Cd",
                                            ".Moltrevane.cfg.tmp-Ab12C", "Moltrevane.palette.backup"};
    for (const std::string& name : users) WriteFile(folder / name, "kept");
    WriteFile(folder / ".Moltrevane.cfg.tmp-Ab12Cd", "27");  // what a killed run left
    WriteFile(folder / ".Moltrevane.ini.tmp-x9Y8z7", "pal");
    Load();  // would block in open() on the FIFO
    EXPECT_TRUE(state.showHf);  // the defaults
    LoadIni(state, file);  // read once, at start
    EXPECT_FALSE(std::filesystem::exists(folder / ".Moltrevane.cfg.tmp-Ab12Cd"));
    EXPECT_FALSE(std::filesystem::exists(folder / ".Moltrevane.ini.tmp-x9Y8z7"));
    for (const std::string& name : users) EXPECT_EQ(ReadFile(folder / name), "kept") << name;
    EXPECT_FALSE(saveSettings(state, target, file));
    EXPECT_EQ(std::filesystem::status(file).type(), std::filesystem::file_type::fifo);
}

}  // namespace
}  // namespace moltrevane
