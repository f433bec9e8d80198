#include "platform/monitor_layout.h"

#include "platform/utilities.h"

#include <windows.h>

#include <algorithm>

namespace {

// GetDpiForMonitor lives in shcore, which older systems lack; it is loaded from the system
// folder only, never from beside the program.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

GetDpiForMonitorFn DpiForMonitorFunction() {
    static const GetDpiForMonitorFn function = []() -> GetDpiForMonitorFn {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (shcore == nullptr) {
            return nullptr;
        }
        return reinterpret_cast<GetDpiForMonitorFn>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
    }();
    return function;
}

GetDpiForWindowFn DpiForWindowFunction() {
    static const GetDpiForWindowFn function = []() -> GetDpiForWindowFn {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        if (user32 == nullptr) {
            return nullptr;
        }
        return reinterpret_cast<GetDpiForWindowFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    }();
    return function;
}

int SystemDpiOfScreen() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 96;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return UsableDpi(dpi);
}

int MonitorDpi(HMONITOR monitor) {
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    if (const GetDpiForMonitorFn function = DpiForMonitorFunction()) {
        UINT x = 0;
        UINT y = 0;
        if (SUCCEEDED(function(monitor, kEffectiveDpi, &x, &y))) {
            return UsableDpi(static_cast<int>(y));
        }
    }
    return SystemDpiOfScreen();
}

struct Enumeration {
    MonitorLayout layout;
    bool primaryFound = false;
    bool rectsOnly = false;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& enumeration = *reinterpret_cast<Enumeration*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(monitor, &info)) {
        return TRUE;
    }
    const IntRect rect = ToIntRect(info.rcMonitor);
    const MonitorInfo entry = enumeration.rectsOnly
                                  ? MonitorInfo{rect, rect, 96}
                                  : MonitorInfo{rect, ToIntRect(info.rcWork), MonitorDpi(monitor)};
    if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0 && !enumeration.primaryFound) {
        enumeration.layout.monitors.insert(enumeration.layout.monitors.begin(), entry);
        enumeration.primaryFound = true;
    } else {
        enumeration.layout.monitors.push_back(entry);
    }
    return TRUE;
}

} // namespace

MonitorLayout GetSystemMonitorRects() {
    Enumeration enumeration;
    enumeration.rectsOnly = true;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
    if (enumeration.layout.monitors.empty()) {
        return SingleMonitorLayout(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    return enumeration.layout;
}

MonitorLayout GetSystemMonitorLayout() {
    Enumeration enumeration;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
    if (enumeration.layout.monitors.empty()) {
        MonitorLayout layout =
            SingleMonitorLayout(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        RECT work{};
        if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
            layout.monitors.front().work = ToIntRect(work);
        }
        layout.monitors.front().dpi = SystemDpiOfScreen();
        return layout;
    }
    return enumeration.layout;
}

int GetWindowDpi(HWND window) {
    if (const GetDpiForWindowFn function = DpiForWindowFunction()) {
        const UINT dpi = function(window);
        if (dpi != 0) {
            return UsableDpi(static_cast<int>(dpi));
        }
    }
    return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int GetSystemDpi() {
    return SystemDpiOfScreen();
}

HFONT CreateGuiFontForDpi(int dpi) {
    dpi = UsableDpi(dpi);
    const int systemDpi = GetSystemDpi();
    if (dpi == systemDpi) {
        return nullptr;
    }
    LOGFONTA font{};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font) != sizeof(font)) {
        return nullptr;
    }
    font.lfHeight = MulDiv(font.lfHeight, dpi, systemDpi);
    font.lfWidth = MulDiv(font.lfWidth, dpi, systemDpi);
    return CreateFontIndirectA(&font);
}

HFONT CreateStatusFontForDpi(int dpi) {
    dpi = UsableDpi(dpi);
    const int systemDpi = GetSystemDpi();
    if (dpi == systemDpi) {
        return nullptr;
    }
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = []() -> SystemParametersInfoForDpiFn {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 == nullptr
                   ? nullptr
                   : reinterpret_cast<SystemParametersInfoForDpiFn>(reinterpret_cast<void*>(
                         GetProcAddress(user32, "SystemParametersInfoForDpi")));
    }();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi != nullptr &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
        return CreateFontIndirectW(&metrics.lfStatusFont);
    }
    // Before the system could tell metrics for a DPI: its own, scaled.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return CreateGuiFontForDpi(dpi);
    }
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, systemDpi);
    metrics.lfStatusFont.lfWidth = MulDiv(metrics.lfStatusFont.lfWidth, dpi, systemDpi);
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

int SystemMetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto metric = []() -> GetSystemMetricsForDpiFn {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 == nullptr
                   ? nullptr
                   : reinterpret_cast<GetSystemMetricsForDpiFn>(
                         reinterpret_cast<void*>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
    }();
    dpi = UsableDpi(dpi);
    if (metric != nullptr) {
        return metric(index, static_cast<UINT>(dpi));
    }
    return MulDiv(GetSystemMetrics(index), dpi, GetSystemDpi());
}

int FrameHeightForDpi(HWND window, int dpi) {
    static const auto adjust = []() -> AdjustWindowRectExForDpiFn {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 == nullptr
                   ? nullptr
                   : reinterpret_cast<AdjustWindowRectExForDpiFn>(reinterpret_cast<void*>(
                         GetProcAddress(user32, "AdjustWindowRectExForDpi")));
    }();
    if (adjust == nullptr) {
        return -1;
    }
    RECT rect{0, 0, 100, 100};
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    if (!adjust(&rect, style, GetMenu(window) != nullptr, exStyle,
                static_cast<UINT>(UsableDpi(dpi)))) {
        return -1;
    }
    return (rect.bottom - rect.top) - 100;
}
