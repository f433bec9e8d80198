// Drives a running zeziriv.exe for scripts/window-load and scripts/soak: opens filter windows
// from its tray commands, puts a picture under the pointer and holds the pointer still or moves
// it, and reports the program's GDI and USER objects and private memory. Usage:
//   window_load_probe open N     opens N windows, waits for them, then counts
//   window_load_probe cycle      saves all windows, opens and closes the desktop view, the
//                                general setting dialog and the About box, closes all windows,
//                                opens and closes the filter setting dialog (refused while
//                                windows are open) and restores all windows; then counts
//   window_load_probe count      prints "windows N gdi G user U private P"
//   window_load_probe scene S    for S seconds shows a picture right of the windows with the
//                                pointer over its middle (the script moves it)
//   window_load_probe quick N    over the same picture, N times: presses Ctrl+Alt+F8 (the quick
//                                hot key the script stores) and prints the milliseconds until
//                                the screen shows the filtered view, then closes it
//   window_load_probe exit       ends the program through its Exit command
#include "program_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

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

// The picture: colours changing in both directions, so that every step of the pointer moves
// other colours under every window.
constexpr int kSceneX = 700;
constexpr int kSceneY = 100;
constexpr int kSceneSize = 500;

LRESULT CALLBACK SceneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        for (int y = 0; y < kSceneSize; y += 10) {
            for (int x = 0; x < kSceneSize; x += 10) {
                HBRUSH brush = CreateSolidBrush(RGB((x * 255 / kSceneSize) ^ (y & 0x40),
                                                    (y * 255 / kSceneSize), ((x + y) * 3) & 0xFF));
                const RECT cell{x, y, x + 10, y + 10};
                FillRect(dc, &cell, brush);
                DeleteObject(brush);
            }
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND ShowScene() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &SceneProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZezirivLoadScene";
    RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, "",
                           WS_POPUP | WS_VISIBLE, kSceneX, kSceneY, kSceneSize, kSceneSize, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

void Pump(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

void RunScene(int seconds) {
    HWND scene = ShowScene();
    SetCursorPos(kSceneX + kSceneSize / 2, kSceneY + kSceneSize / 2);
    // Pumped, so that the picture paints and Wine learns where the X server moves the pointer.
    Pump(static_cast<DWORD>(seconds) * 1000);
    DestroyWindow(scene);
}

// A row of screen pixels across the picture's middle.
std::vector<COLORREF> MiddleRow() {
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> row;
    for (int x = kSceneX; x < kSceneX + kSceneSize; x += 60) {
        row.push_back(GetPixel(screen, x, kSceneY + kSceneSize / 2));
    }
    ReleaseDC(nullptr, screen);
    return row;
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Polls as fast as the screen can be read, so that the time is the view's, not the poll's.
bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
    }
    return true;
}

// Hot key to the first filtered picture on the screen, N times; milliseconds each.
int MeasureQuickView(int times) {
    HWND scene = ShowScene();
    Pump(1000);
    const std::vector<COLORREF> plain = MiddleRow();
    std::vector<double> times_ms;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < times; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER shown;
        QueryPerformanceCounter(&start);
        PressKeys({VK_CONTROL, VK_MENU, VK_F8});
        if (!PollUntil([&] { return MiddleRow() != plain; }, 10000)) {
            std::fprintf(stderr, "the quick view did not show\n");
            return 1;
        }
        QueryPerformanceCounter(&shown);
        times_ms.push_back(1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart));
        // Closed as its own Escape would close it, whichever window has the keyboard.
        if (HWND view = FindWindowA(kPreviewClass, nullptr)) {
            PostMessageA(view, WM_CLOSE, 0, 0);
        }
        // The picture repaints where the view was.
        if (!WaitFor(
                [&] {
                    Pump(0);
                    return MiddleRow() == plain;
                },
                10000)) {
            std::fprintf(stderr, "the quick view did not close\n");
            return 1;
        }
        Pump(300);
    }
    DestroyWindow(scene);
    std::sort(times_ms.begin(), times_ms.end());
    std::printf("hot key to first paint of the quick view, %d times: min %.0f ms, median %.0f ms, "
                "max %.0f ms\n",
                times, times_ms.front(), times_ms[times_ms.size() / 2], times_ms.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(
            stderr, "usage: window_load_probe open N | cycle | count | scene S | quick N | exit\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "scene") {
        RunScene(argc > 2 ? std::atoi(argv[2]) : 30);
        return 0;
    }
    HWND frame = nullptr;
    WaitFor([&] { return (frame = FindWindowA(kFrameClass, nullptr)) != nullptr; }, 120000);
    if (frame == nullptr) {
        std::fprintf(stderr, "zeziriv.exe is not running\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(frame, &process);
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
    } else if (command == "quick") {
        return MeasureQuickView(argc > 2 ? std::max(1, std::atoi(argv[2])) : 10);
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
