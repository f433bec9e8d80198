#pragma once

#include "platform/exception_log.h"

#include <windows.h>

// CRTP bases for the program's windows and modal dialogs. The object travels through the
// creation parameter, is bound to the window at its first message and unbound at its last, and
// every message goes to T::HandleMessage. No exception leaves a window procedure: the platform
// cannot unwind through its own frames.

template <class T> class Window {
public:
    HWND GetHwnd() const { return m_hwnd; }

protected:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() = default;

    // Registers the window class once per process; true when it is (or already was) registered.
    static bool RegisterWindowClass(HINSTANCE instance, const char* className, HICON icon = nullptr,
                                    HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                    UINT style = 0) {
        WNDCLASSEXA existing{};
        existing.cbSize = sizeof(existing);
        if (GetClassInfoExA(instance, className, &existing)) {
            return true;
        }
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = style;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hCursor = cursor != nullptr ? cursor : LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        return RegisterClassExA(&wc) != 0;
    }

    HWND CreateWindowObject(DWORD exStyle, const char* className, const char* title, DWORD style,
                            int x, int y, int width, int height, HWND parent, HINSTANCE instance) {
        return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                               nullptr, instance, static_cast<T*>(this));
    }

    LRESULT DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(m_hwnd, msg, wParam, lParam);
    }

    // Runs after the window's last message; T may hide it (a self-owning window deletes itself).
    void OnFinalMessage() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        Window* self = nullptr;
        if (msg == WM_NCCREATE) {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            self = static_cast<Window*>(static_cast<T*>(cs->lpCreateParams));
            self->m_hwnd = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
        LRESULT result = 0;
        try {
            result = static_cast<T*>(self)->HandleMessage(msg, wParam, lParam);
        } catch (...) {
            LogCurrentException(hwnd, msg);
            result = msg == WM_NCCREATE ? FALSE : (msg == WM_CREATE ? -1 : 0);
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->m_hwnd = nullptr;
            static_cast<T*>(self)->OnFinalMessage();
        }
        return result;
    }

    HWND m_hwnd = nullptr;
};

// Modal dialog from a template. T::HandleMessage returns TRUE for a handled message, as a
// dialog procedure does; WM_INITDIALOG has the handle bound already.
template <class T> class Dialog {
public:
    HWND GetHwnd() const { return m_hwnd; }

    // The ending button's ID, or -1 when the dialog could not be created.
    INT_PTR DoModal(HINSTANCE templateModule, int templateId, HWND owner) {
        return DialogBoxParamA(templateModule, MAKEINTRESOURCEA(templateId), owner,
                               &Dialog::DialogProc,
                               reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

protected:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    ~Dialog() = default;

    void EndDialogWith(INT_PTR result) { EndDialog(m_hwnd, result); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        Dialog* self = nullptr;
        if (msg == WM_INITDIALOG) {
            self = static_cast<Dialog*>(reinterpret_cast<T*>(lParam));
            self->m_hwnd = hwnd;
            SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        }
        if (self == nullptr) {
            return FALSE;
        }
        INT_PTR result = FALSE;
        try {
            result = static_cast<T*>(self)->HandleMessage(msg, wParam, lParam);
        } catch (...) {
            LogCurrentException(hwnd, msg);
            result = FALSE;
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, DWLP_USER, 0);
            self->m_hwnd = nullptr;
        }
        return result;
    }

    HWND m_hwnd = nullptr;
};
