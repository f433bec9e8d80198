#include "app/splash_wnd.h"

#include "platform/message_loop.h"
#include "platform/utilities.h"
#include "resource.h"

bool CSplashWnd::Create(HINSTANCE instance) {
    if (!RegisterWindowClass(instance, kClassName)) {
        return false;
    }
    auto* splash = new CSplashWnd;
    splash->m_instance = instance;
    // The user's current window keeps the focus.
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    // A window whose creation fails gets WM_NCDESTROY, which deletes the object.
    const HWND hwnd = splash->CreateWindowObject(exStyle, kClassName, "", WS_POPUP, 0, 0, 0, 0,
                                                 nullptr, instance);
    if (hwnd == nullptr) {
        return false;
    }
    // Shown only now, without activation: a window created visible is activated by its show.
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return true;
}

CSplashWnd::~CSplashWnd() {
    if (m_bitmap != nullptr) {
        DeleteObject(m_bitmap);
    }
}

void CSplashWnd::OnFinalMessage() {
    delete this;
}

bool CSplashWnd::OnCreate() {
    // Pictures always come from the executable, never from a language library.
    m_bitmap = static_cast<HBITMAP>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDB_SPLASH),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (m_bitmap == nullptr) {
        return false;
    }
    BITMAP info{};
    GetObjectA(m_bitmap, sizeof(info), &info);
    m_width = info.bmWidth;
    m_height = info.bmHeight;

    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int x = work.left + (work.right - work.left - m_width) / 2;
    const int y = work.top + (work.bottom - work.top - m_height) / 2;
    SetWindowPos(GetHwnd(), nullptr, x, y, m_width, m_height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    SetTimer(GetHwnd(), kCloseTimerId, kShowMilliseconds, nullptr);
    return true;
}

void CSplashWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetHwnd(), &ps);
    HDC memory = CreateCompatibleDC(dc);
    if (memory != nullptr) {
        HGDIOBJ old = SelectObject(memory, m_bitmap);
        BitBlt(dc, 0, 0, m_width, m_height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(GetHwnd(), &ps);
}

LRESULT CSplashWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_TIMER:
        if (wParam == kCloseTimerId) {
            KillTimer(GetHwnd(), kCloseTimerId);
            PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(GetHwnd());
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

void ShowSplash() {
    CSplashWnd::Create(GetAppModule().GetInstance());
}
