#include "engine/image/capture_image.h"

#include "engine/filter/filter.h"
#include "engine/image/look_alike.h"
#include "engine/image/pixel_pipeline.h"
#include "engine/image/screen_copy.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

CCaptureImage::CCaptureImage(IScreenSource& source, const CImageQuality& quality)
    : m_source(source), m_quality(quality) {}

CCaptureImage::~CCaptureImage() {
    Release();
}

void CCaptureImage::Release() {
    m_takenVersion = 0;
    m_surface.reset();
    m_original.reset();
    m_index16.reset();
    m_index32.reset();
    m_width = 0;
    m_height = 0;
    m_stride = 0;
    m_imageSize = 0;
}

bool CCaptureImage::Allocate(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    // Rows padded to 4 bytes; the whole image must stay addressable by the 32-bit sizes the
    // platform bitmap uses.
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3u + 3u) & ~std::uint64_t{3};
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(height);
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (imageSize > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return false;
    }
    m_width = width;
    m_height = height;
    m_stride = static_cast<std::uint32_t>(stride);
    m_imageSize = static_cast<std::uint32_t>(imageSize);
    // The platform bitmap first: it refuses sizes the screen cannot back, before the larger
    // buffers of this side are committed.
    m_surface = m_source.CreateSurface(width, height);
    if (!m_surface) {
        return false;
    }
    m_original.reset(new (std::nothrow) unsigned char[m_imageSize]);
    if (m_quality.IsIndex16Bit()) {
        m_index16.reset(new (std::nothrow) std::uint16_t[pixels]);
    } else {
        m_index32.reset(new (std::nothrow) std::uint32_t[pixels]);
    }
    return m_original && (m_index16 || m_index32);
}

bool CCaptureImage::Capture(int x, int y, int width, int height) {
    m_takenVersion = 0;
    const bool sameLayout = m_surface && width == m_width && height == m_height;
    if (sameLayout) {
        m_source.Flush();
        std::memset(m_surface->GetPixels(), 0, m_imageSize);
    } else {
        Release();
        if (!Allocate(width, height)) {
            Release();
            return false;
        }
    }
    const bool copied = m_surface->CopyFromScreen(x, y, width, height);
    m_source.Flush();
    if (!copied) {
        if (!sameLayout) {
            Release();
            return false;
        }
        // The last copy stays: its original pixels and indices are untouched, and the display
        // pixels start again from them until the owner filters them anew.
        std::memcpy(m_surface->GetPixels(), m_original.get(), m_imageSize);
        return false;
    }
    std::memcpy(m_original.get(), m_surface->GetPixels(), m_imageSize);
    BuildIndex();
    return true;
}

CaptureResult CCaptureImage::CaptureFrom(const CScreenCopy& copy, int x, int y, int width,
                                         int height) {
    const ScreenArea area{x, y, width, height};
    // The same part of a copy that found the screen unchanged: nothing to compare.
    if (m_surface && m_takenVersion == copy.GetVersion() && m_takenArea == area) {
        return CaptureResult::Unchanged;
    }
    // The part on the screen, in 64 bits so that no corner overflows.
    const IntRect screen = copy.GetScreenBounds();
    const long long left = std::max<long long>(x, screen.left);
    const long long top = std::max<long long>(y, screen.top);
    const long long right = std::min<long long>(static_cast<long long>(x) + width, screen.right);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + height, screen.bottom);
    const bool onScreen = left < right && top < bottom;
    std::size_t sourceStride = 0;
    const unsigned char* source = nullptr;
    if (onScreen) {
        const IntRect part{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                           static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
        source = copy.Find(part, sourceStride);
        if (source == nullptr) {
            return CaptureResult::Failed;
        }
    }
    bool changed = false;
    if (!m_surface || width != m_width || height != m_height) {
        Release();
        if (!Allocate(width, height)) {
            Release();
            return CaptureResult::Failed;
        }
        // Black until written, as the screen beyond its edges reads.
        std::memset(m_original.get(), 0, m_imageSize);
        changed = true;
    }
    // Row by row, each part compared before it is copied: on a still screen the comparison is
    // all the work there is.
    const auto take = [&changed](unsigned char* to, const unsigned char* from, std::size_t bytes) {
        if (bytes != 0 && std::memcmp(to, from, bytes) != 0) {
            std::memcpy(to, from, bytes);
            changed = true;
        }
    };
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> black;
    const auto blackRun = [&black, rowBytes]() {
        if (black.empty()) {
            black.assign(rowBytes, 0);
        }
        return black.data();
    };
    const long long leftBlack = onScreen ? left - x : width;
    const long long middle = onScreen ? right - left : 0;
    for (int row = 0; row < height; ++row) {
        unsigned char* to = m_original.get() + static_cast<std::size_t>(row) * m_stride;
        const long long screenY = static_cast<long long>(y) + row;
        if (!onScreen || screenY < top || screenY >= bottom) {
            take(to, blackRun(), rowBytes);
            continue;
        }
        const std::size_t before = static_cast<std::size_t>(leftBlack) * 3;
        const std::size_t inside = static_cast<std::size_t>(middle) * 3;
        if (before != 0) {
            take(to, blackRun(), before);
        }
        take(to + before, source + static_cast<std::size_t>(screenY - top) * sourceStride, inside);
        if (before + inside != rowBytes) {
            take(to + before + inside, blackRun(), rowBytes - before - inside);
        }
    }
    m_takenVersion = copy.GetVersion();
    m_takenArea = area;
    return changed ? CaptureResult::Changed : CaptureResult::Unchanged;
}

void CCaptureImage::BuildIndex() {
    if (!m_surface) {
        return;
    }
    if (m_index16) {
        BuildIndexBuffer(m_original.get(), m_width, m_height, m_stride, m_quality, m_index16.get());
    } else {
        BuildIndexBuffer(m_original.get(), m_width, m_height, m_stride, m_quality, m_index32.get());
    }
}

void CCaptureImage::ApplyFilter(const CFilter* filter) {
    if (!m_surface) {
        return;
    }
    m_source.Flush();
    unsigned char* display = m_surface->GetPixels();
    const ColorValue* table = TableOf(filter);
    if (table == nullptr) {
        std::memcpy(display, m_original.get(), m_imageSize);
        return;
    }
    if (m_index16) {
        ApplyColorTable(m_index16.get(), table, m_width, m_height, m_stride, display);
    } else {
        ApplyColorTable(m_index32.get(), table, m_width, m_height, m_stride, display);
    }
}

const ColorValue* CCaptureImage::TableOf(const CFilter* filter) const {
    const ColorValue* table = filter != nullptr ? filter->GetTable() : nullptr;
    // Indices of another image quality would read past the table: the original is shown.
    if (filter == nullptr || filter->IsIdentity() || table == nullptr ||
        filter->GetTableQuality().GetTableSize() != m_quality.GetTableSize()) {
        return nullptr;
    }
    return table;
}

std::size_t CCaptureImage::HighlightLookAlikes(const CFilter* filter, int column, int row,
                                               double distance, CLookAlikeMask& mask) {
    if (!m_surface || column < 0 || row < 0 || column >= m_width || row >= m_height) {
        return 0;
    }
    m_source.Flush();
    unsigned char* display = m_surface->GetPixels();
    const ColorValue* table = TableOf(filter);
    if (table == nullptr) {
        mask.Prepare(ReadColor(true, column, row), distance, nullptr, 0);
        return HighlightLookAlikesByColor(m_original.get(), mask, m_width, m_height, m_stride,
                                          display);
    }
    const std::size_t at =
        static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) + column;
    const std::uint32_t entry = m_index16 ? m_index16[at] : m_index32[at];
    mask.Prepare(table[entry], distance, table, m_quality.GetTableSize());
    return m_index16
               ? ::HighlightLookAlikes(m_index16.get(), mask, m_width, m_height, m_stride, display)
               : ::HighlightLookAlikes(m_index32.get(), mask, m_width, m_height, m_stride, display);
}

std::size_t CCaptureImage::ApplyFilterHighlighted(const CFilter* filter, int column, int row,
                                                  double distance, CLookAlikeMask& mask) {
    const ColorValue* table = TableOf(filter);
    if (!m_surface || table == nullptr || column < 0 || row < 0 || column >= m_width ||
        row >= m_height) {
        ApplyFilter(filter);
        return HighlightLookAlikes(filter, column, row, distance, mask);
    }
    m_source.Flush();
    unsigned char* display = m_surface->GetPixels();
    const std::size_t at =
        static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) + column;
    const std::uint32_t entry = m_index16 ? m_index16[at] : m_index32[at];
    mask.Prepare(table[entry], distance, table, m_quality.GetTableSize());
    return m_index16 ? ::ApplyHighlightedTable(m_index16.get(), mask, m_width, m_height, m_stride,
                                               display)
                     : ::ApplyHighlightedTable(m_index32.get(), mask, m_width, m_height, m_stride,
                                               display);
}

void CCaptureImage::Blur(int radius) {
    if (!m_surface) {
        return;
    }
    BlurPixels(m_surface->GetPixels(), m_width, m_height, m_stride, radius);
}

ColorValue CCaptureImage::ReadColor(bool original, int column, int row) const {
    if (!m_surface) {
        return 0;
    }
    const unsigned char* pixels = original ? m_original.get() : m_surface->GetPixels();
    const unsigned char* p =
        pixels + static_cast<std::size_t>(row) * m_stride + static_cast<std::size_t>(column) * 3;
    return MakeColor(p[2], p[1], p[0]);
}

ColorValue CCaptureImage::GetCenterColor(bool original) const {
    return ReadColor(original, (m_width - 1) / 2, (m_height - 1) / 2);
}

ColorValue CCaptureImage::GetTopLeftColor(bool original) const {
    return ReadColor(original, 0, 0);
}

SurfaceHandle CCaptureImage::GetSurface() const {
    return m_surface ? m_surface->GetHandle() : nullptr;
}

const unsigned char* CCaptureImage::GetDisplayPixels() const {
    return m_surface ? m_surface->GetPixels() : nullptr;
}
