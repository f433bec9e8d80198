#include "engine/image/gdi_screen_source.h"

#include "platform/monitor_layout.h"
#include "platform/utilities.h"

#include <windows.h>

#include <algorithm>

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

// The monitors a copy reads. Copies run many times a second: one monitor asks the system for
// no list, and several for their rectangles only.
MonitorLayout ScreenMonitors() {
    if (GetSystemMetrics(SM_CMONITORS) <= 1) {
        return SingleMonitorLayout(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    return GetSystemMonitorRects();
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
        const MonitorLayout layout = ScreenMonitors();
        const IntRect part = ClipToBounds(x, y, width, height, VirtualScreen(layout));
        BOOL copied = TRUE;
        if (part.left < part.right && part.top < part.bottom) {
            if (layout.monitors.size() <= 1) {
                copied = CopyPart(screen, x, y, part);
            } else {
                // The virtual screen between monitors of different sizes shows nothing: black,
                // whatever the display driver leaves there.
                PatBlt(m_dc, part.left - x, part.top - y, part.right - part.left,
                       part.bottom - part.top, BLACKNESS);
                for (const MonitorInfo& monitor : layout.monitors) {
                    const IntRect onMonitor = ClipToBounds(x, y, width, height, monitor.rect);
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
    return VirtualScreen(ScreenMonitors());
}

void CGdiScreenSource::Flush() {
    GdiFlush();
}

IScreenSource& GetGdiScreenSource() {
    static CGdiScreenSource source;
    return source;
}
