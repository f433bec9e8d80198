#include "engine/image/synthetic_screen_source.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

class CSyntheticSurface : public IPixelSurface {
public:
    CSyntheticSurface(CSyntheticScreenSource& screen, int width, int height,
                      std::unique_ptr<unsigned char[]> pixels, std::size_t stride)
        : m_screen(screen), m_width(width), m_height(height), m_pixels(std::move(pixels)),
          m_stride(stride) {}

    unsigned char* GetPixels() override { return m_pixels.get(); }
    SurfaceHandle GetHandle() const override {
        return reinterpret_cast<SurfaceHandle>(m_pixels.get());
    }

    bool CopyFromScreen(int x, int y, int width, int height) override {
        width = std::min(width, m_width);
        height = std::min(height, m_height);
        ++m_screen.m_copies;
        m_screen.m_copiedPixels += static_cast<long long>(width) * height;
        if (m_screen.m_failCopies) {
            // Scribbles over the pixels, as a half-done platform copy may.
            std::fill_n(m_pixels.get(), m_stride * static_cast<std::size_t>(m_height),
                        static_cast<unsigned char>(0x5A));
            return false;
        }
        const IntRect bounds = m_screen.GetScreenBounds();
        const IntRect part = ClipToBounds(x, y, width, height, bounds);
        if (part.left >= part.right) {
            return true;
        }
        const long long left = part.left;
        const long long top = part.top;
        const long long right = part.right;
        const long long bottom = part.bottom;
        // The screen is kept as rows of screen pixels, so a copy is one block per row, as a
        // platform copy would be.
        const std::size_t rowBytes = static_cast<std::size_t>(right - left) * 3;
        for (long long sy = top; sy < bottom; ++sy) {
            unsigned char* p = m_pixels.get() + static_cast<std::size_t>(sy - y) * m_stride +
                               static_cast<std::size_t>(left - x) * 3;
            const unsigned char* src =
                m_screen.m_pixels.data() +
                (static_cast<std::size_t>(sy - bounds.top) * m_screen.m_width +
                 static_cast<std::size_t>(left - bounds.left)) *
                    3;
            std::memcpy(p, src, rowBytes);
            if (!m_screen.m_monitors.empty()) {
                for (long long sx = left; sx < right; ++sx) {
                    if (!m_screen.IsOnMonitor(static_cast<int>(sx), static_cast<int>(sy))) {
                        std::fill_n(p + (sx - left) * 3, 3, static_cast<unsigned char>(0));
                    }
                }
            }
        }
        return true;
    }

private:
    CSyntheticScreenSource& m_screen;
    int m_width;
    int m_height;
    std::unique_ptr<unsigned char[]> m_pixels;
    std::size_t m_stride;
};

void CSyntheticScreenSource::SetFrame(int width, int height, std::vector<ColorValue> colors) {
    if (width < 0 || height < 0 ||
        colors.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        width = 0;
        height = 0;
        colors.clear();
    }
    m_width = width;
    m_height = height;
    m_copies = 0;
    m_copiedPixels = 0;
    m_pixels.resize(colors.size() * 3);
    for (std::size_t i = 0; i < colors.size(); ++i) {
        m_pixels[i * 3] = static_cast<unsigned char>(BlueOf(colors[i]));
        m_pixels[i * 3 + 1] = static_cast<unsigned char>(GreenOf(colors[i]));
        m_pixels[i * 3 + 2] = static_cast<unsigned char>(RedOf(colors[i]));
    }
}

bool CSyntheticScreenSource::IsOnMonitor(int x, int y) const {
    return std::any_of(m_monitors.begin(), m_monitors.end(), [x, y](const IntRect& m) {
        return x >= m.left && x < m.right && y >= m.top && y < m.bottom;
    });
}

void CSyntheticScreenSource::SetPixel(int x, int y, ColorValue color) {
    x -= m_origin.x;
    y -= m_origin.y;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    unsigned char* p = m_pixels.data() + (static_cast<std::size_t>(y) * m_width + x) * 3;
    p[0] = static_cast<unsigned char>(BlueOf(color));
    p[1] = static_cast<unsigned char>(GreenOf(color));
    p[2] = static_cast<unsigned char>(RedOf(color));
}

std::unique_ptr<IPixelSurface> CSyntheticScreenSource::CreateSurface(int width, int height) {
    if (m_failSurfaces || width <= 0 || height <= 0) {
        return nullptr;
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::unique_ptr<unsigned char[]> pixels(
        new (std::nothrow) unsigned char[stride * static_cast<std::size_t>(height)]());
    if (!pixels) {
        return nullptr;
    }
    ++m_surfacesCreated;
    return std::make_unique<CSyntheticSurface>(*this, width, height, std::move(pixels), stride);
}
