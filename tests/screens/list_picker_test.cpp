// SPDX-License-Identifier: GPL-3.0-or-later
// The picker of station lists: the lists found beside the window, ticked by taps and imported.
#include "screens/list_picker_screen.h"

#include "support/screens_fixture.h"

namespace moltrevane {
namespace {

class ListPickerTest : public testing::ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        std::filesystem::create_directory(lists);
        context.listPlaces = {{lists, 0}};
    }
    void Open() {  // and wait for the search's rows
        picker.Initialise();
        ASSERT_TRUE(testing::Eventually([&] { return !dialog.timerRunning || (picker.OnTimer(), false); }, std::chrono::seconds(30)));
    }
    void Tap(int id) {  // the toolkit ticks the box, then tells the screen
        dialog.SetChecked(id, !dialog.Checked(id));
        picker.OnPress(id);
    }
    std::string ImportReport() {
        EXPECT_TRUE(testing::Eventually([&] { return !context.import.Running(); }, std::chrono::seconds(60)));
        return context.import.TakeReport().value_or("");
    }

    std::filesystem::path lists = folder / "lists";
    ListPickerScreen picker{context, dialog};
};

TEST_F(ListPickerTest, TwoTickedListsAreAddedOrReplaceTheDirectoryAndBackImportsNone) {
    for (const char* name : {"english.csv", "german.csv", "polish.csv"})
        std::filesystem::copy(MOLTREVANE_IMPORT_FIXTURES "/" + std::string(name), lists / name);
    Open();
    EXPECT_EQ(dialog.Text(ids::kListState), "3 lists, 0 ticked; tap to tick");
    EXPECT_EQ(dialog.Text(ids::kListRows[1]), "german.csv\n" + lists.string());
    EXPECT_FALSE(dialog.shown[ids::kListRows[3]]);
    EXPECT_FALSE(dialog.enabled[ids::kListAdd]);
    for (const int row : {0, 2, 1, 2}) Tap(ids::kListRows[row]);  // the third ticked and unticked
    picker.OnPress(ids::kListAdd);
    EXPECT_TRUE(dialog.closed);
    std::string report = ImportReport();
    for (const char* part : {"stations of the directory kept", "english.csv: ", "german.csv: "})
        EXPECT_NE(report.find(part), std::string::npos) << report;
    EXPECT_EQ(report.find("polish.csv"), std::string::npos);
    picker.OnPress(ids::kListReplace);
    report = ImportReport();
    EXPECT_EQ(report.find("kept, the lists' added"), std::string::npos) << report;
    EXPECT_NE(report.find("german.csv: 11 stations"), std::string::npos) << report;

    testing::Opened<ListPickerScreen>{context}.screen.OnClose();  // opened again and left
    EXPECT_FALSE(context.import.Running() || context.import.TakeReport());
}

TEST_F(ListPickerTest, SaysWhereItLookedWhenNothingIsFoundAndPagesThroughMany) {
    testing::WriteFile(lists / "notes.txt", "no list");
    Open();
    EXPECT_EQ(dialog.Text(ids::kListState), "No station lists found in " + lists.string() + ".");
    for (const int row : ids::kListRows) EXPECT_FALSE(dialog.shown[row]);
    for (int i = 0; i < 7; ++i) testing::WriteFile(lists / ("list" + std::to_string(i) + ".csv"), "call\n");
    dialog.chosenFiles = {(lists / "list6.csv").string()};  // "Other file…": first, ticked
    picker.OnPress(ids::kListOther);
    Open();
    EXPECT_EQ(dialog.Text(ids::kListState), "7 lists, 1 ticked; tap to tick; 1-5 shown");
    EXPECT_TRUE(dialog.Checked(ids::kListRows[0]));
    picker.OnPress(ids::kListDown);
    EXPECT_EQ(dialog.Text(ids::kListRows[1]).substr(0, 10), "list5.csv\n");
    EXPECT_FALSE(dialog.shown[ids::kListRows[2]] || dialog.enabled[ids::kListDown]);
    picker.OnPress(ids::kListUp);
    EXPECT_EQ(dialog.Text(ids::kListRows[1]).substr(0, 10), "list0.csv\n");
}

}  // namespace
}  // namespace moltrevane
