#include "authoring/picture.h"

#include "engine/filter/color.h"

#include <cstring>
#include <new>

bool IsPictureSizeAllowed(std::uint64_t width, std::uint64_t height) {
    return width >= 1 && height >= 1 && width <= CPicture::kMaxSide &&
           height <= CPicture::kMaxSide && width * height <= CPicture::kMaxPixels;
}

bool CPicture::Allocate(int width, int height, bool hasAlpha) {
    Release();
    if (width <= 0 || height <= 0 ||
        !IsPictureSizeAllowed(static_cast<std::uint64_t>(width),
                              static_cast<std::uint64_t>(height))) {
        return false;
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    m_pixels.reset(new (std::nothrow) unsigned char[stride * static_cast<std::size_t>(height)]());
    if (hasAlpha) {
        m_alpha.reset(new (std::nothrow) unsigned char[pixels]);
        if (m_alpha) {
            std::memset(m_alpha.get(), 0xFF, pixels);
        }
    }
    if (!m_pixels || (hasAlpha && !m_alpha)) {
        Release();
        return false;
    }
    m_width = width;
    m_height = height;
    m_stride = stride;
    return true;
}

void CPicture::Release() {
    m_pixels.reset();
    m_alpha.reset();
    m_width = 0;
    m_height = 0;
    m_stride = 0;
}

std::uint32_t CPicture::GetColor(int x, int y) const {
    const unsigned char* p = GetRow(y) + static_cast<std::size_t>(x) * 3;
    return MakeColor(p[2], p[1], p[0]);
}

void CPicture::SetColor(int x, int y, std::uint32_t color) {
    unsigned char* p = GetRow(y) + static_cast<std::size_t>(x) * 3;
    p[0] = static_cast<unsigned char>(BlueOf(color));
    p[1] = static_cast<unsigned char>(GreenOf(color));
    p[2] = static_cast<unsigned char>(RedOf(color));
}
