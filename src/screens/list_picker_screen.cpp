// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/list_picker_screen.h"

#include <algorithm>
#include <string>

#include "directory/station_directory.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"

namespace moltrevane {
namespace {

constexpr std::size_t kRows = ids::kListRows.size();

// "No station lists found in /home/ham, /home/ham/Downloads or /media."
std::string NoneFound(const std::vector<ListPlace>& places) {
    std::string text = "No station lists found in ";
    for (std::size_t i = 0; i < places.size(); ++i)
        text += (i == 0 ? "" : i + 1 == places.size() ? " or " : ", ") + places[i].folder.string();
    return CodePageFromUtf8(text + ".");
}

}  // namespace

void ListPickerScreen::Initialise() {
    context_.listScan.Start(context_.listPlaces);
    dialog_.StartTimer();
    Show();
}

void ListPickerScreen::OnTimer() {
    auto found = context_.listScan.Take();
    if (!found) return;
    dialog_.StopTimer();
    searched_ = true;
    for (std::filesystem::path& file : *found)
        if (std::none_of(candidates_.begin(), candidates_.end(), [&](const Candidate& c) { return c.file == file; }))
            candidates_.push_back({std::move(file)});
    Show();
}

void ListPickerScreen::OnPress(int id) {
    const auto row = std::find(ids::kListRows.begin(), ids::kListRows.end(), id);
    if (row != ids::kListRows.end() && first_ + (row - ids::kListRows.begin()) < candidates_.size())
        candidates_[first_ + (row - ids::kListRows.begin())].ticked = dialog_.Checked(id);
    if (id == ids::kListUp) first_ -= std::min(first_, kRows);
    if (id == ids::kListDown && first_ + kRows < candidates_.size()) first_ += kRows;
    if (id == ids::kListOther) ChooseOther();
    if (id == ids::kListAdd || id == ids::kListReplace) return Import(id == ids::kListAdd ? ImportKind::Add : ImportKind::Replace);
    Show();
}

// The files chosen come first in the list, ticked.
void ListPickerScreen::ChooseOther() {
    std::vector<Candidate> chosen;
    for (const std::string& file : dialog_.ChooseFiles("Station lists to import")) {
        std::erase_if(candidates_, [&](const Candidate& c) { return c.file == file; });
        chosen.push_back({file, true});
    }
    candidates_.insert(candidates_.begin(), chosen.begin(), chosen.end());
    if (!chosen.empty()) first_ = 0;
}

void ListPickerScreen::Import(ImportKind kind) {
    std::vector<std::filesystem::path> files;
    for (const Candidate& c : candidates_)
        if (c.ticked) files.push_back(c.file);
    if (files.empty() || !context_.import.Start(std::move(files), context_.directory.File(), kind)) return;
    dialog_.Close();
}

std::size_t ListPickerScreen::Ticked() const {
    return std::count_if(candidates_.begin(), candidates_.end(), [](const Candidate& c) { return c.ticked; });
}

void ListPickerScreen::Show() {
    const std::size_t count = candidates_.size();
    std::string state = "Looking for station lists\x85";
    if (count > 0)
        state = std::to_string(count) + (count == 1 ? " list" : " lists") + ", " + std::to_string(Ticked()) + " ticked; tap to tick" +
                (count > kRows ? "; " + std::to_string(first_ + 1) + "-" + std::to_string(std::min(count, first_ + kRows)) + " shown" : "");
    else if (searched_) state = NoneFound(context_.listPlaces);
    dialog_.SetText(ids::kListState, state);
    ShowRows();
    dialog_.SetEnabled(ids::kListUp, first_ > 0);
    dialog_.SetEnabled(ids::kListDown, first_ + kRows < count);
    const bool importable = Ticked() > 0 && !context_.import.Running();
    dialog_.SetEnabled(ids::kListAdd, importable);
    dialog_.SetEnabled(ids::kListReplace, importable);
}

// A row each: the file's name, and its folder below it.
void ListPickerScreen::ShowRows() {
    for (std::size_t r = 0; r < kRows; ++r) {
        const int id = ids::kListRows[r];
        const bool filled = first_ + r < candidates_.size();
        dialog_.SetShown(id, filled);
        if (!filled) continue;
        const Candidate& c = candidates_[first_ + r];
        dialog_.SetDirectoryText(id, c.file.filename().string() + "\n" + c.file.parent_path().string());
        dialog_.SetChecked(id, c.ticked);
    }
}

}  // namespace moltrevane
