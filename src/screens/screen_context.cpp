// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/screen_context.h"

#include "screens/messages.h"
#include "settings/program_ini.h"
#include "screens/code_page.h"

namespace moltrevane {

void SaveIniTelling(ScreenContext& context, std::string_view what) {
    if (const FileWritten saved = SaveIni(context.state, context.settingsFile); !saved)
        context.messages.ShowMessage("Error", "Unable to save " + std::string(what) + "\n" + CodePageFromUtf8(saved.failure));
}

}  // namespace moltrevane
