// Drives a running zeziriv.exe for scripts/window-load: opens filter windows from its tray
// commands and reports the program's GDI and USER objects. Usage:
//   window_load_probe open N     opens N windows, waits for them, prints "gdi user"
//   window_load_probe count      prints "gdi user" (and "windows N")
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
    } else if (command == "exit") {
        PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
        return 0;
    }
    const auto objects = CountGuiObjects(frame);
    if (!objects) {
        std::fprintf(stderr, "cannot count the program's objects\n");
        return 1;
    }
    std::printf("windows %d gdi %lu user %lu\n", VisibleFilterWindows(process), objects->gdi,
                objects->user);
    return 0;
}
