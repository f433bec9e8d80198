#include "shell/about_dlg.h"

#include "resource.h"
#include "shell/message_loop.h"
#include "shell/utilities.h"

#include <algorithm>

namespace {
bool g_aboutOpen = false;
HWND g_aboutWindow = nullptr;
} // namespace

void CenterDialogWindow(HWND dialog) {
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    RECT area = work;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    }
    RECT rc{};
    GetWindowRect(dialog, &rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        g_aboutWindow = GetHwnd();
        CenterDialogWindow(GetHwnd());
        return TRUE;
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            g_aboutWindow = nullptr;
            EndDialogWith(id);
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return FALSE;
}

void ShowAbout() {
    if (g_aboutOpen) {
        if (g_aboutWindow != nullptr) {
            ForceForeground(g_aboutWindow);
        }
        return;
    }
    g_aboutOpen = true;
    HMODULE templates = GetResourceModule();
    if (templates == nullptr) {
        templates = GetAppModule().GetInstance();
    }
    CAboutDlg dialog;
    if (dialog.DoModal(templates, IDD_ABOUT, GetActiveWindow()) == -1 &&
        templates != GetAppModule().GetInstance()) {
        // A language library without this template: the built-in one serves.
        dialog.DoModal(GetAppModule().GetInstance(), IDD_ABOUT, GetActiveWindow());
    }
    g_aboutWindow = nullptr;
    g_aboutOpen = false;
}

void CloseAbout() {
    if (g_aboutOpen && g_aboutWindow != nullptr) {
        PostMessageA(g_aboutWindow, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(g_aboutWindow, IDOK)));
    }
}

bool IsAboutOpen() {
    return g_aboutOpen;
}
HWND GetAboutWindow() {
    return g_aboutWindow;
}
