#include "screens/about_screen.h"

#include "core/app_state.h"
#include "core/messages.h"
#include "core/palette.h"
#include "screens/code_page.h"
#include "screens/control_ids.h"

namespace moltrevane {

void AboutScreen::Initialise() { dialog_.Select(ids::kPaletteChoice, static_cast<int>(context_.state.palette)); }

void AboutScreen::OnClose() {
    const int item = dialog_.Selection(ids::kPaletteChoice);
    if (item < 0 || item > static_cast<int>(PaletteChoice::Night)) return;
    const auto chosen = static_cast<PaletteChoice>(item);
    if (chosen == context_.state.palette) return;
    context_.state.palette = chosen;
    const FileWritten saved = SavePaletteChoice(PaletteFileBeside(context_.settingsFile), chosen);
    if (!saved) context_.messages.ShowMessage("Error", "Unable to save the colours\n" + CodePageFromUtf8(saved.failure));
}

}  // namespace moltrevane
