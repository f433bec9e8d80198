#include "engine/image/gdi_screen_source.h"

#include "platform/utilities.h"

#include <windows.h>

#include <algorithm>

namespace {

HDC OpenDisplay() {
    return CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
}

IntRect VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
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
        const long long left = std::max<long long>(x, bounds.left);
        const long long top = std::max<long long>(y, bounds.top);
        const long long right =
            std::min<long long>(static_cast<long long>(x) + width, bounds.right);
        const long long bottom =
            std::min<long long>(static_cast<long long>(y) + height, bounds.bottom);
        BOOL copied = TRUE;
        if (left < right && top < bottom) {
            // Layered (translucent) windows are only part of the copy with CAPTUREBLT.
            const DWORD rop = SRCCOPY | CAPTUREBLT;
            copied = BitBlt(m_dc, static_cast<int>(left - x), static_cast<int>(top - y),
                            static_cast<int>(right - left), static_cast<int>(bottom - top), screen,
                            static_cast<int>(left), static_cast<int>(top), rop);
        }
        DeleteDC(screen);
        return copied != FALSE;
    }

private:
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
    DeleteDC(screen);
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
