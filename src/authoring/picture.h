#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A picture from an image file in the layout of a screen capture: 24-bit pixels, three bytes
// blue, green, red, rows top-down and padded to 4 bytes, so that it goes through the same pixel
// loops as CCaptureImage. A picture with transparency keeps its alpha in a plane of its own
// (width bytes per row, no padding), which filtering never touches.
class CPicture {
public:
    // Larger pictures are refused before anything is allocated: 2^28 pixels is a 16384 x 16384
    // picture, over a gigabyte of buffers once indexed and filtered.
    static constexpr int kMaxSide = 65535;
    static constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

    CPicture() = default;
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;
    CPicture(CPicture&&) noexcept = default;
    CPicture& operator=(CPicture&&) noexcept = default;

    // Sizes the buffers (zeroed, alpha 255); false for a size outside the limits or when memory
    // runs out, and the picture is then empty.
    bool Allocate(int width, int height, bool hasAlpha);
    void Release();

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    std::size_t GetStride() const { return m_stride; }
    bool HasAlpha() const { return m_alpha != nullptr; }
    bool IsEmpty() const { return m_pixels == nullptr; }

    unsigned char* GetPixels() { return m_pixels.get(); }
    const unsigned char* GetPixels() const { return m_pixels.get(); }
    unsigned char* GetRow(int y) { return m_pixels.get() + static_cast<std::size_t>(y) * m_stride; }
    const unsigned char* GetRow(int y) const {
        return m_pixels.get() + static_cast<std::size_t>(y) * m_stride;
    }
    // Null unless HasAlpha().
    unsigned char* GetAlpha() { return m_alpha.get(); }
    const unsigned char* GetAlpha() const { return m_alpha.get(); }
    unsigned char* GetAlphaRow(int y) {
        return m_alpha.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    const unsigned char* GetAlphaRow(int y) const {
        return m_alpha.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }

    // Packed 0x00BBGGRR colour of one pixel; tests and the contact sheet read pixels this way.
    std::uint32_t GetColor(int x, int y) const;
    void SetColor(int x, int y, std::uint32_t color);

private:
    int m_width = 0;
    int m_height = 0;
    std::size_t m_stride = 0;
    std::unique_ptr<unsigned char[]> m_pixels;
    std::unique_ptr<unsigned char[]> m_alpha;
};

// Whether width x height is within CPicture's limits.
bool IsPictureSizeAllowed(std::uint64_t width, std::uint64_t height);
