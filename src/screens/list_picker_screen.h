// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Station lists": the lists found in the home folder, its Downloads and on removable media, a
// big row each to tick, for a car's panel where the toolkit's chooser does not fit; "Add" or
// "Replace" imports the ticked ones, "Other file…" reaches any file through that chooser.

#include <cstddef>
#include <filesystem>
#include <vector>

#include "import/station_import.h"
#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class ListPickerScreen final : public Screen {
public:
    ListPickerScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}
    // Starts the search beside the window; the rows show once it has ended.
    void Initialise() override;
    void OnPress(int id) override;
    void OnTimer() override;
    void OnClose() override { dialog_.StopTimer(); }

private:
    struct Candidate {
        std::filesystem::path file;
        bool ticked = false;
    };
    void Show();
    void ShowRows();
    void ChooseOther();
    void Import(ImportKind kind);
    std::size_t Ticked() const;

    ScreenContext& context_;
    Dialog& dialog_;
    std::vector<Candidate> candidates_;
    bool searched_ = false;
    std::size_t first_ = 0;  // the candidate in the first row
};

}  // namespace moltrevane
