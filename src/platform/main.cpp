// SPDX-License-Identifier: GPL-3.0-or-later
// moltrevane: the Maidenhead locator, distance and bearing, and the nearest stations, from GPS.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/app_state.h"
#include "settings/host_paths.h"
#include "directory/index_loader.h"
#include "directory/station_directory.h"
#include "import/list_finder.h"
#include "platform/posix/alert_player.h"
#include "platform/fltk/fltk_program.h"
#include "platform/posix/network_locator_links.h"
#include "platform/posix/posix_gps_source.h"
#include "platform/posix/rigctld_link.h"
#include "platform/posix/running_instance.h"

int main(int argc, char** argv) {
    using namespace moltrevane;
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("Moltrevane %s\n", MOLTREVANE_VERSION);
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, "usage: moltrevane [--version]\n");
        return 2;
    }
    // A launcher may leave SIGCHLD ignored: the kernel would then reap the players unasked.
    std::signal(SIGCHLD, SIG_DFL);
    const char* home = std::getenv("HOME");
    const std::filesystem::path root = home && *home ? home : ".";
    CreateProgramFolders(root);
    RunningInstance instance(HostPath(root, kProgramFolder));
    if (!instance.First()) {
        std::fprintf(stderr, "moltrevane: already running; its window comes to the front\n");
        return 0;
    }

    static AppState state;  // the one record, alive until after the last window
    FltkMessages messages;
    PosixGpsSource port(HostPath(root, kProgramFolder));
    const StationDirectory directory(HostPath(root, kDirectoryFile));
    FltkScreens screens;
    NetworkLocatorLinks links;
    RigctldLink radio;
    IndexLoader stationIndex(HostPath(root, kDirectoryFile));
    AlertPlayer announcer;
    ScreenContext context{state,        port,      messages, directory, screens, links, radio,
                          stationIndex, announcer, HostPath(root, kSettingsFile)};
    context.listPlaces = ListPlaces(root);
    Fl::visual(FL_DOUBLE | FL_INDEX);
    Fl_Window::default_xclass("moltrevane");  // the desktop entry's StartupWMClass
    return screens.RunProgram(context, instance);
}
