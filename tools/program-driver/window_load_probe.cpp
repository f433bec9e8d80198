// Drives a running zeziriv.exe for scripts/window-load and scripts/soak: opens filter windows
// from its tray commands and reports the program's GDI and USER objects and private memory.
// Usage:
//   window_load_probe open N     opens N windows, waits for them, then counts
//   window_load_probe cycle      saves all windows, opens and closes the desktop view, the
//                                general setting dialog and the About box, closes all windows,
//                                opens and closes the filter setting dialog (refused while
//                                windows are open) and restores all windows; then counts
//   window_load_probe count      prints "windows N gdi G user U private P"
//   window_load_probe exit       ends the program through its Exit command
#include "program_driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace driver;

namespace {

int VisibleFilterWindows(DWORD process) {
    return static_cast<int>(FindWindows(process, kFilterWindowClass, nullptr, true).size());
}

constexpr DWORD kStepTimeoutMs = 30000;

bool Fail(const char* step) {
    std::fprintf(stderr, "cycle: %s\n", step);
    return false;
}

// The view or window closed just before may still count as open for a moment, and then the
// command is refused: it is asked again until the dialog comes.
HWND OpenWhenAllowed(DWORD process, HWND frame, UINT command, const char* title) {
    HWND dialog = nullptr;
    WaitFor(
        [&] {
            dialog = OpenDialog(process, frame, command, title, 2000);
            return dialog != nullptr;
        },
        kStepTimeoutMs);
    return dialog;
}

bool OpenAndClose(DWORD process, HWND frame, UINT command, const char* title, int button) {
    const HWND dialog = OpenWhenAllowed(process, frame, command, title);
    return dialog != nullptr && CloseDialog(dialog, button, kStepTimeoutMs);
}

bool Cycle(DWORD process, HWND frame) {
    const int windows = VisibleFilterWindows(process);
    PostMessageA(frame, WM_COMMAND, kSaveAllCommand, 0);
    PostMessageA(frame, WM_APP_OPEN_DESKTOP, 0, 0);
    const HWND panel = WaitForWindow(process, kPanelClass, kStepTimeoutMs);
    if (panel == nullptr) {
        return Fail("no desktop view");
    }
    PressButton(panel, kPanelButtonId);
    if (!WaitFor([&] { return FindWindows(process, kPreviewClass, nullptr, true).empty(); },
                 kStepTimeoutMs)) {
        return Fail("the desktop view did not close");
    }
    if (!OpenAndClose(process, frame, kGeneralSettingCommand, nullptr, IDCANCEL)) {
        return Fail("general setting dialog");
    }
    if (!OpenAndClose(process, frame, kAboutCommand, "About", IDOK)) {
        return Fail("About box");
    }
    PostMessageA(frame, WM_COMMAND, kCloseAllCommand, 0);
    if (!WaitFor([&] { return VisibleFilterWindows(process) == 0; }, kStepTimeoutMs)) {
        return Fail("windows did not close");
    }
    if (!OpenAndClose(process, frame, kFilterSettingCommand, nullptr, IDCANCEL)) {
        return Fail("filter setting dialog");
    }
    PostMessageA(frame, WM_COMMAND, kRestoreAllCommand, 0);
    if (!WaitFor([&] { return VisibleFilterWindows(process) == windows; }, kStepTimeoutMs)) {
        return Fail("windows not restored");
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_load_probe open N | count | exit\n");
        return 2;
    }
    HWND frame = nullptr;
    WaitFor([&] { return (frame = FindWindowA(kFrameClass, nullptr)) != nullptr; }, 120000);
    if (frame == nullptr) {
        std::fprintf(stderr, "zeziriv.exe is not running\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(frame, &process);
    const std::string command = argv[1];
    if (command == "open") {
        const int wanted = argc > 2 ? std::atoi(argv[2]) : 20;
        for (int i = 0; i < wanted; ++i) {
            PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
        }
        if (!WaitFor([&] { return VisibleFilterWindows(process) >= wanted; }, 30000)) {
            std::fprintf(stderr, "only %d windows opened\n", VisibleFilterWindows(process));
            return 1;
        }
    } else if (command == "cycle") {
        if (!Cycle(process, frame)) {
            return 1;
        }
    } else if (command == "exit") {
        PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
        return 0;
    }
    const auto objects = CountGuiObjects(frame);
    if (!objects) {
        std::fprintf(stderr, "cannot count the program's objects\n");
        return 1;
    }
    std::printf("windows %d gdi %lu user %lu private %llu\n", VisibleFilterWindows(process),
                objects->gdi, objects->user, objects->privateBytes);
    return 0;
}
