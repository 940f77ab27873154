#include "screens/about_screen.h"

#include "core/app_state.h"
#include "core/palette.h"
#include "core/program_ini.h"
#include "screens/control_ids.h"

namespace moltrevane {

void AboutScreen::Initialise() { dialog_.Select(ids::kPaletteChoice, static_cast<int>(context_.state.palette)); }

void AboutScreen::OnPress(int id) {
    if (id == ids::kLinksButton) context_.opener.Open(ScreenKind::Links);
}

void AboutScreen::OnClose() {
    const int item = dialog_.Selection(ids::kPaletteChoice);
    if (item < 0 || item > static_cast<int>(PaletteChoice::Night)) return;
    const auto chosen = static_cast<PaletteChoice>(item);
    if (chosen == context_.state.palette) return;
    context_.state.palette = chosen;
    SaveIni(context_.state, context_.settingsFile);
}

}  // namespace moltrevane
