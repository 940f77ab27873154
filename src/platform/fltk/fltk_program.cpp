// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fltk/fltk_program.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "core/app_state.h"
#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/message_window.h"
#include "platform/posix/running_instance.h"
#include "base/unique_fd.h"
#include "screens/code_page.h"
#include "screens/main_screen.h"
#include "screens/screen_scale.h"
#include "screens/make_screen.h"

namespace moltrevane {
namespace {

int signalWrite = -1;
bool endedBySignal = false;

void NoteSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalWrite, &byte, 1);
}

// A signal closes every window; the loops unwind and the normal shut-down runs.
void CloseAllWindows(FL_SOCKET, void*) {
    endedBySignal = true;
    while (Fl_Window* window = Fl::first_window()) window->hide();
}

class SignalsEndTheProgram {
public:
    SignalsEndTheProgram() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
        read_.reset(ends[0]);
        write_.reset(ends[1]);
        signalWrite = write_.get();
        struct sigaction action {};
        action.sa_handler = NoteSignal;
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
        Fl::add_fd(read_.get(), FL_READ, CloseAllWindows);
    }
    ~SignalsEndTheProgram() {
        if (read_) Fl::remove_fd(read_.get());
    }

private:
    UniqueFd read_, write_;
};

// Set while the main screen runs: the shut-down for an end that FLTK forces.
std::function<void()> endTheProgram;

// Always on stderr. In a message too when the user closed the window; never when a signal
// ends the program: the session is going, and a box would hold it up.
void TellUnsaved(const std::string& message, MessageSink* messages) {
    if (message.empty()) return;
    std::fprintf(stderr, "moltrevane: %s\n", Utf8FromCodePage(message).c_str());
    if (messages && !endedBySignal) messages->ShowMessage("Error", message);
}

// FLTK calls this when it cannot go on, the display lost above all; without it the process
// would exit with the reader still running and the settings unsaved.
[[noreturn]] void EndOnFatalError(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
    static bool ending = false;  // the shut-down itself may fail the same way
    if (!ending && endTheProgram) {
        ending = true;
        endTheProgram();
    }
    std::_Exit(1);
}

}  // namespace

void FltkMessages::ShowMessage(std::string_view title, std::string_view text) {
    int x, y, width, height;
    Fl::screen_work_area(x, y, width, height);
    if (const ScreenScale scale = FittingScale(width, height); IsCarScale(scale)) {
        ShowMessageWindow(Utf8FromCodePage(title), Utf8FromCodePage(text), scale);
        return;
    }
    fl_message_title(Utf8FromCodePage(title).c_str());
    fl_close = "OK";
    fl_message("%s", Utf8FromCodePage(text).c_str());
}

int FltkScreens::RunProgram(ScreenContext& context, const RunningInstance& instance) {
    context_ = &context;
    instance_ = &instance;
    SignalsEndTheProgram signals;
    if (instance.AskingFd() >= 0) Fl::add_fd(instance.AskingFd(), FL_READ, ComeForwardWhenAsked, this);
    // As large as the screen's work area allows, portrait or landscape, in its middle.
    int x, y, width, height;
    Fl::screen_work_area(x, y, width, height);
    const ScreenScale scale = FittingScale(width, height);
    const PixelRect size = WindowSize(scale.pixelsPerUnit, scale.shape);
    FltkDialog dialog(ScreenKind::Main, scale, x + (width - size.width) / 2, y + (height - size.height) / 2, context.state);
    main_ = &dialog;
    MainScreen main(context, dialog);
    endTheProgram = [&main] { TellUnsaved(main.ShutDown(), nullptr); };
    Fl::fatal = EndOnFatalError;
    if (context.state.fullScreen) dialog.StartFullScreen();
    dialog.Run(main, false);
    endTheProgram = nullptr;
    TellUnsaved(main.ShutDown(), &context.messages);
    if (instance.AskingFd() >= 0) Fl::remove_fd(instance.AskingFd());
    main_ = nullptr;
    context_ = nullptr;
    instance_ = nullptr;
    return 0;
}

void FltkScreens::ComeForwardWhenAsked(FL_SOCKET, void* self) {
    auto* screens = static_cast<FltkScreens*>(self);
    if (screens->instance_->AskedToComeForward()) screens->BringToFront();
}

void FltkScreens::BringToFront() {
    std::vector<Fl_Window*> topFirst;
    for (Fl_Window* window = Fl::first_window(); window; window = Fl::next_window(window)) topFirst.push_back(window);
    for (auto window = topFirst.rbegin(); window != topFirst.rend(); ++window) (*window)->show();
}

// Over the main window, its frame where the main window's is (a window manager places a window
// by its frame), at its scale, inside the work area of the main window's screen.
void FltkScreens::Open(ScreenKind kind) {
    const ScreenScale& scale = main_->Scale();
    const PixelRect size = WindowSize(scale.pixelsPerUnit, scale.shape);
    PixelRect area{};
    Fl::screen_work_area(area.x, area.y, area.width, area.height, main_->X(), main_->Y());
    const PixelRect main = main_->FramePlace();
    const PixelRect place = OnScreen({main.x, main.y, size.width, size.height}, area);
    FltkDialog dialog(kind, scale, place.x, place.y, context_->state);
    const auto screen = MakeScreen(kind, *context_, dialog);
    dialog.Run(*screen, true);
}

}  // namespace moltrevane
