#include "engine/image/gdi_screen_source.h"

#include "platform/monitor_layout.h"
#include "platform/utilities.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace {

// The screen's device context in screen coordinates, where the primary monitor's corner is
// (0, 0) and monitors left of or above it are negative. (Wine places the corner of a DC made
// with CreateDC("DISPLAY") at the virtual screen's top left instead.)
HDC OpenDisplay() {
    return GetDC(nullptr);
}

void CloseDisplay(HDC screen) {
    ReleaseDC(nullptr, screen);
}

IntRect VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The part of the rectangle inside `bounds` (empty when none), in 64 bits so that no corner
// overflows.
IntRect Clip(int x, int y, int width, int height, const IntRect& bounds) {
    const long long left = std::max<long long>(x, bounds.left);
    const long long top = std::max<long long>(y, bounds.top);
    const long long right = std::min<long long>(static_cast<long long>(x) + width, bounds.right);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + height, bounds.bottom);
    if (left >= right || top >= bottom) {
        return {};
    }
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}

class CGdiSurface : public IPixelSurface {
public:
    CGdiSurface(HDC dc, HBITMAP bitmap, HGDIOBJ previous, unsigned char* bits, int width,
                int height)
        : m_dc(dc), m_bitmap(bitmap), m_previous(previous), m_bits(bits), m_width(width),
          m_height(height) {}
    CGdiSurface(const CGdiSurface&) = delete;
    CGdiSurface& operator=(const CGdiSurface&) = delete;

    ~CGdiSurface() override {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }

    unsigned char* GetPixels() override { return m_bits; }
    SurfaceHandle GetHandle() const override { return m_dc; }

    bool CopyFromScreen(int x, int y, int width, int height) override {
        width = std::min(width, m_width);
        height = std::min(height, m_height);
        HDC screen = OpenDisplay();
        if (screen == nullptr) {
            return false;
        }
        // Only the part on the screen is copied: some platforms refuse, or blank, a whole copy
        // that reaches beyond the screen. The rest keeps what it held.
        const IntRect bounds = VirtualScreen();
        const IntRect part = Clip(x, y, width, height, bounds);
        BOOL copied = TRUE;
        if (part.left < part.right && part.top < part.bottom) {
            // Copies run many times a second: one monitor asks the system for no list, and
            // several for their rectangles only.
            const MonitorLayout layout =
                GetSystemMetrics(SM_CMONITORS) <= 1 ? MonitorLayout{} : GetSystemMonitorRects();
            if (layout.monitors.size() <= 1) {
                copied = CopyPart(screen, x, y, part);
            } else {
                // The virtual screen between monitors of different sizes shows nothing: black,
                // whatever the display driver leaves there.
                PatBlt(m_dc, part.left - x, part.top - y, part.right - part.left,
                       part.bottom - part.top, BLACKNESS);
                for (const MonitorInfo& monitor : layout.monitors) {
                    const IntRect onMonitor = Clip(x, y, width, height, monitor.rect);
                    if (onMonitor.left < onMonitor.right && onMonitor.top < onMonitor.bottom &&
                        !CopyPart(screen, x, y, onMonitor)) {
                        copied = FALSE;
                    }
                }
            }
        }
        CloseDisplay(screen);
        return copied != FALSE;
    }

private:
    // The screen rectangle `part` into the pixels, where the copy's corner is (x, y).
    BOOL CopyPart(HDC screen, int x, int y, const IntRect& part) {
        // Layered (translucent) windows are only part of the copy with CAPTUREBLT.
        const DWORD rop = SRCCOPY | CAPTUREBLT;
        return BitBlt(m_dc, part.left - x, part.top - y, part.right - part.left,
                      part.bottom - part.top, screen, part.left, part.top, rop);
    }

    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    unsigned char* m_bits;
    int m_width;
    int m_height;
};

} // namespace

std::unique_ptr<IPixelSurface> CGdiScreenSource::CreateSurface(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    HDC screen = OpenDisplay();
    if (screen == nullptr) {
        return nullptr;
    }
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = dc != nullptr
                         ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                         : nullptr;
    CloseDisplay(screen);
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        if (dc != nullptr) {
            DeleteDC(dc);
        }
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    return std::make_unique<CGdiSurface>(dc, bitmap, previous, static_cast<unsigned char*>(bits),
                                         width, height);
}

IntRect CGdiScreenSource::GetScreenBounds() const {
    return VirtualScreen();
}

void CGdiScreenSource::Flush() {
    GdiFlush();
}

IScreenSource& GetGdiScreenSource() {
    static CGdiScreenSource source;
    return source;
}
