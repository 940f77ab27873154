#include "core/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/app_state.h"
#include "fakes.h"
#include "temp_folder.h"

namespace moltrevane {
namespace {

using namespace std::string_literals;

using testing::ReadFile;
using testing::WriteFile;

class SettingsTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::filesystem::path file = folder / "Moltrevane.cfg";
    AppState state;
    std::string target;
    testing::RecordingGpsSource port{state};

    void Load() { loadSettings(state, target, port, file); }
};

const std::string kDefaultsRecord = std::string("230-") + std::string(6, '\0') + "-" + std::string(6, '\0') +
                                    "-11111-11111" + "01";

TEST_F(SettingsTest, NoFileGivesDefaultsAndTheFirstExitWritesThem) {
    Load();
    EXPECT_EQ(state.portIndex, 1);
    EXPECT_EQ(state.speedIndex, 2);
    EXPECT_FALSE(state.portActive);
    EXPECT_TRUE(state.showHf && state.showBelow23cm && state.showBeacon && state.showOther);
    EXPECT_TRUE(port.opens.empty());
    ASSERT_TRUE(saveSettings(state, target, file));
    EXPECT_EQ(ReadFile(file), kDefaultsRecord);

    AppState again;
    std::string againTarget = "x";
    loadSettings(again, againTarget, port, file);
    EXPECT_EQ(EncodeSettings(again, againTarget), EncodeSettings(state, target));
    EXPECT_EQ(againTarget, "");
}

TEST_F(SettingsTest, PortIsOpenedBeforeTheRemainingValuesAreApplied) {
    WriteFile(file, "341-JN58SD-JO62QM-00000-0000000");
    Load();
    ASSERT_EQ(port.opens.size(), 1u);
    EXPECT_EQ(port.opens[0], (testing::RecordingGpsSource::Open{"COM3:", 9600, "", true, WhenAbsent::Wait}));
    EXPECT_EQ(LocatorView(state.offlineLocator), "JN58SD");
    EXPECT_EQ(target, "JO62QM");
    EXPECT_FALSE(state.showHf);
    EXPECT_FALSE(state.showOther);
}

TEST_F(SettingsTest, OddBytesReadAsThePositionsSay) {
    WriteFile(file, "940-ERROR\0-JO62QMX1 x11-1111ZQ1trailing bytes"s);
    Load();
    EXPECT_EQ(state.portIndex, 8);
    EXPECT_TRUE(port.opens.empty());  // flag clear
    EXPECT_EQ(LocatorView(state.offlineLocator), "ERROR");
    EXPECT_EQ(target, "JO62QM");
    EXPECT_TRUE(state.showHf);
    EXPECT_FALSE(state.show2m);
    EXPECT_FALSE(state.show70cm);
    EXPECT_TRUE(state.showOther);
    saveSettings(state, target, file);
    EXPECT_EQ(ReadFile(file), "940-ERROR\0-JO62QM-10011-1111001"s);
}

TEST_F(SettingsTest, PortDigitOutsideTheTableOpensNothingAndBadSpeedOpensAt4800) {
    WriteFile(file, "9\xFF" "1-");
    Load();
    EXPECT_TRUE(port.opens.empty());
    WriteFile(file, "34x-");  // only '1' means in use
    Load();
    EXPECT_FALSE(state.portActive);
    EXPECT_TRUE(port.opens.empty());
    WriteFile(file, "2\xFF" "1-");
    Load();
    ASSERT_EQ(port.opens.size(), 1u);
    EXPECT_EQ(port.opens[0].baudRate, 4800u);
    EXPECT_TRUE(state.portActive);
    saveSettings(state, target, file);
    EXPECT_EQ(ReadFile(file).substr(0, 3), "2\xFF" "1");
}

TEST_F(SettingsTest, ShortFileKeepsNoFileDefaultsForMissingPositions) {
    WriteFile(file, "560-JN5");
    Load();
    EXPECT_EQ(state.portIndex, 4);
    EXPECT_EQ(state.speedIndex, 5);
    EXPECT_EQ(LocatorView(state.offlineLocator), "JN5");
    EXPECT_EQ(target, "");
    EXPECT_TRUE(state.showHf && state.showOther);
    WriteFile(file, kDefaultsRecord.substr(0, 30));  // all but "other"
    Load();
    EXPECT_TRUE(state.showOther);
    WriteFile(file, "");
    AppState fresh;
    loadSettings(fresh, target, port, file);
    EXPECT_EQ(fresh.portIndex, 1);  // empty file: still defaults
    EXPECT_TRUE(fresh.showHf);
}

TEST_F(SettingsTest, EveryByteAtEveryPositionSurvivesARoundTrip) {
    for (std::size_t position = 0; position < 31; ++position) {
        for (int byte = 0; byte < 256; ++byte) {
            std::string record = kDefaultsRecord;
            record[position] = static_cast<char>(byte);
            AppState first, second;
            std::string firstTarget, secondTarget;
            ApplySettings(first, firstTarget, record, port);
            const AppSettings written = EncodeSettings(first, firstTarget);
            ApplySettings(second, secondTarget, std::string_view(written.data(), written.size()), port);
            ASSERT_EQ(EncodeSettings(second, secondTarget), written) << position << " " << byte;
        }
    }
}

TEST_F(SettingsTest, FailedSaveLeavesWhatWasThereAndNoLitter) {
    // Failures that root cannot write past: a parent that is a file, a rename onto a folder.
    WriteFile(folder / "plain", "x");
    EXPECT_FALSE(saveSettings(state, target, folder / "plain" / "Moltrevane.cfg"));
    std::filesystem::create_directory(file);
    WriteFile(file / "kept", "y");
    EXPECT_FALSE(saveSettings(state, target, file));
    EXPECT_EQ(ReadFile(file / "kept"), "y");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST_F(SettingsTest, AReadOnlyFileIsLeftAsItWas) {
    WriteFile(file, "341-JN58SD-JO62QM-00000-0000000");
    for (const mode_t mode : {0444, 0000}) {
        ::chmod(file.c_str(), mode);
        EXPECT_FALSE(saveSettings(state, target, file)) << mode;
        ::chmod(file.c_str(), 0600);
        EXPECT_EQ(ReadFile(file), "341-JN58SD-JO62QM-00000-0000000") << mode;
    }
}

TEST_F(SettingsTest, ALinkedFileIsWrittenThroughTheLink) {
    std::filesystem::create_directory(folder / "dotfiles");
    WriteFile(folder / "dotfiles" / "moltrevane.cfg", "341-JN58SD-JO62QM-00000-0000000");
    ::chmod((folder / "dotfiles" / "moltrevane.cfg").c_str(), 0640);
    std::filesystem::create_symlink("dotfiles/moltrevane.cfg", file);
    Load();
    ASSERT_TRUE(saveSettings(state, "JN58SE", file));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(ReadFile(folder / "dotfiles" / "moltrevane.cfg"), "341-JN58SD-JN58SE-00000-0000000");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "dotfiles"), {}), 1);
}

TEST_F(SettingsTest, AFifoIsNoSettingsFileAndLeftoversOfAKilledRunGo) {
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    WriteFile(folder / "Moltrevane.cfg.Ab12Cd", "27");  // a temporary a killed run left
    WriteFile(folder / "Moltrevane.cfg.bak", "kept");   // not one of ours
    Load();  // would block in open() on the FIFO
    EXPECT_TRUE(state.showHf);  // the defaults
    EXPECT_FALSE(std::filesystem::exists(folder / "Moltrevane.cfg.Ab12Cd"));
    EXPECT_EQ(ReadFile(folder / "Moltrevane.cfg.bak"), "kept");
    EXPECT_FALSE(saveSettings(state, target, file));
    EXPECT_EQ(std::filesystem::status(file).type(), std::filesystem::file_type::fifo);
}

}  // namespace
}  // namespace moltrevane
