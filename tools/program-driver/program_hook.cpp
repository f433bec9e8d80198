// A hook library that the driver places into zeziriv.exe to read what cannot be read from
// another process. The driver sends a registered message to a window of the program with its
// own window in wParam; the hook answers with WM_COPYDATA:
// - "ZezirivDriverReadMenu" to an open popup menu: one line per item,
//   "depth\ttext\tid\tgrayed\tchecked";
// - "ZezirivDriverReadStatus" to a status bar: its parts' texts, one line each;
// - "ZezirivDriverCountObjects" to any window: "gdi user private", the process's GDI objects,
//   its windows and menus, and its private memory in bytes;
// - "ZezirivDriverMeasureControls" to a dialog: "client width\tclient height" of the dialog, then
//   one line per child control, "id\tclass\tstyle\tleft\ttop\tright\tbottom\tclient width\t
//   client height\ttext width\ttext height\twrapped height\ttext", its place in the dialog's
//   client area and its text measured in the control's own font, on one line and wrapped at
//   the client width.
#include "gui_objects.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <string>

namespace {

void DescribeMenu(HMENU menu, int depth, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            text[0] = '\0';
        }
        out += std::to_string(depth) + "\t" + text;
        out += "\t" + std::to_string(info.wID) + "\t" + ((info.fState & MFS_GRAYED) ? "1" : "0") +
               "\t" + ((info.fState & MFS_CHECKED) ? "1" : "0") + "\n";
        if (info.hSubMenu != nullptr) {
            DescribeMenu(info.hSubMenu, depth + 1, out);
        }
    }
}

std::string CountObjects() {
    const ProcessGuiObjects counts = CountProcessGuiObjects();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    K32GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    // Wine leaves PrivateUsage at 0 and gives the process's private (anonymous) memory as its
    // page-file usage, which is what Windows counts there too.
    const SIZE_T privateBytes =
        memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    return std::to_string(counts.gdi) + " " + std::to_string(counts.user) + " " +
           std::to_string(privateBytes);
}

std::string MeasureControls(HWND dialog) {
    RECT area{};
    GetClientRect(dialog, &area);
    std::string out = std::to_string(area.right) + "\t" + std::to_string(area.bottom) + "\n";
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        char text[1024] = {};
        GetClassNameA(child, className, sizeof(className));
        GetWindowTextA(child, text, sizeof(text));
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        RECT client{};
        GetClientRect(child, &client);
        HDC dc = GetDC(child);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
        RECT line{};
        RECT wrapped{0, 0, client.right, 0};
        if (text[0] != '\0') {
            DrawTextA(dc, text, -1, &line, DT_CALCRECT | DT_SINGLELINE);
            DrawTextA(dc, text, -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
        }
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        out += std::to_string(GetDlgCtrlID(child)) + "\t" + className + "\t";
        for (const LONG value :
             {GetWindowLongA(child, GWL_STYLE), place.left, place.top, place.right, place.bottom,
              client.right, client.bottom, line.right, line.bottom, wrapped.bottom}) {
            out += std::to_string(value) + "\t";
        }
        out += std::string(text) + "\n";
    }
    return out;
}

std::string DescribeStatusBar(HWND bar) {
    std::string out;
    const int parts = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
    for (int part = 0; part < parts; ++part) {
        const LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0);
        std::string text(LOWORD(length) + 1, '\0');
        SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text.data()));
        out += text.c_str();
        out += "\n";
    }
    return out;
}

void Answer(HWND to, HWND from, std::string text) {
    COPYDATASTRUCT data{};
    data.dwData = 1;
    data.cbData = static_cast<DWORD>(text.size());
    data.lpData = text.data();
    SendMessageA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data));
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ReadMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT readMenu = RegisterWindowMessageA("ZezirivDriverReadMenu");
    static const UINT countObjects = RegisterWindowMessageA("ZezirivDriverCountObjects");
    static const UINT measureControls = RegisterWindowMessageA("ZezirivDriverMeasureControls");
    static const UINT readStatus = RegisterWindowMessageA("ZezirivDriverReadStatus");
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        const auto driver = reinterpret_cast<HWND>(call->wParam);
        if (call->message == readMenu) {
            std::string description;
            const auto menu = reinterpret_cast<HMENU>(SendMessageA(call->hwnd, MN_GETHMENU, 0, 0));
            if (menu != nullptr) {
                DescribeMenu(menu, 0, description);
            }
            Answer(driver, call->hwnd, description);
        } else if (call->message == readStatus) {
            Answer(driver, call->hwnd, DescribeStatusBar(call->hwnd));
        } else if (call->message == countObjects) {
            Answer(driver, call->hwnd, CountObjects());
        } else if (call->message == measureControls) {
            Answer(driver, call->hwnd, MeasureControls(call->hwnd));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
