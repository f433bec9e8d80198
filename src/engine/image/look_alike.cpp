#include "engine/image/look_alike.h"

#include "engine/image/pixel_workers.h"

#include <algorithm>
#include <cmath>

namespace {

// CIEDE2000 divides the lightness difference by at most 1.747 (S_L at L* 0 or 100) and its
// rotation term never takes back more than the chroma and hue terms add, so two colours whose
// L* differ by more than 1.75 times the distance are never alike: one cube root instead of the
// whole difference for most colours of a picture.
constexpr double kLightnessBound = 1.75;

void DimPixel(unsigned char* p) {
    const unsigned lightness = (77u * p[2] + 150u * p[1] + 29u * p[0] + 128u) >> 8;
    const unsigned grey3 = 3u * (96u + (lightness >> 1)) + 2u;
    p[0] = static_cast<unsigned char>((p[0] + grey3) >> 2);
    p[1] = static_cast<unsigned char>((p[1] + grey3) >> 2);
    p[2] = static_cast<unsigned char>((p[2] + grey3) >> 2);
}

ColorValue ColorAt(const unsigned char* p) {
    return MakeColor(p[2], p[1], p[0]);
}

// Dims the rows y0..y1 - 1 by the decisions already made for every entry they use.
template <class T>
std::size_t HighlightRows(const T* __restrict index, const std::uint8_t* __restrict decisions,
                          int width, int y0, int y1, std::size_t stride,
                          unsigned char* __restrict pixels) {
    const auto w = static_cast<std::size_t>(width);
    std::size_t alike = 0;
    for (int y = y0; y < y1; ++y) {
        const T* row = index + static_cast<std::size_t>(y) * w;
        unsigned char* p = pixels + static_cast<std::size_t>(y) * stride;
        for (std::size_t x = 0; x < w; ++x, p += 3) {
            if (decisions[row[x]] == CLookAlikeMask::kAlike) {
                ++alike;
            } else {
                DimPixel(p);
            }
        }
    }
    return alike;
}

template <class T>
std::size_t HighlightByIndex(const T* index, CLookAlikeMask& mask, int width, int height,
                             std::size_t stride, unsigned char* pixels) {
    if (width <= 0 || height <= 0) {
        return 0;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    mask.DecideEntries(index, count);
    const std::uint8_t* decisions = mask.GetEntryDecisions();
    const int bands = PixelWorkerCount(count, height);
    std::size_t alike[kMaxRowBands] = {};
    RunRowBands(bands, height, [&](int band, int y0, int y1) {
        alike[band] = HighlightRows(index, decisions, width, y0, y1, stride, pixels);
    });
    std::size_t total = 0;
    for (int b = 0; b < bands; ++b) {
        total += alike[b];
    }
    return total;
}

} // namespace

bool IsValidLookAlikeDistance(double distance) {
    return std::isfinite(distance) && distance >= kMinLookAlikeDistance &&
           distance <= kMaxLookAlikeDistance;
}

ColorValue DimColor(ColorValue color) {
    unsigned char p[3] = {static_cast<unsigned char>(BlueOf(color)),
                          static_cast<unsigned char>(GreenOf(color)),
                          static_cast<unsigned char>(RedOf(color))};
    DimPixel(p);
    return ColorAt(p);
}

bool IsLookAlike(ColorValue reference, ColorValue color, double distance) {
    return color == reference ||
           Ciede2000(LabFromColor(reference), LabFromColor(color)) <= distance;
}

void CLookAlikeMask::Prepare(ColorValue reference, double distance, const ColorValue* table,
                             std::size_t tableSize) {
    const std::size_t entries = table != nullptr ? tableSize : 0;
    if (m_prepared && reference == m_reference && distance == m_distance && table == m_table &&
        entries == m_entries.size()) {
        return;
    }
    m_prepared = true;
    m_reference = reference;
    m_distance = distance;
    m_referenceLab = LabFromColor(reference);
    m_referenceLightness = LightnessFromColor(reference);
    m_table = table;
    m_entries.assign(entries, kUnknown);
    m_cacheColors.assign(kColorCacheSize, kNoColor);
    m_cacheDecisions.assign(kColorCacheSize, kOther);
}

bool CLookAlikeMask::Decide(ColorValue color) const {
    if (color == m_reference) {
        return true;
    }
    if (std::abs(LightnessFromColor(color) - m_referenceLightness) > kLightnessBound * m_distance) {
        return false;
    }
    return Ciede2000(m_referenceLab, LabFromColor(color)) <= m_distance;
}

bool CLookAlikeMask::DecideEntry(std::uint32_t entry) {
    const bool alike = Decide(m_table[entry]);
    m_entries[entry] = alike ? kAlike : kOther;
    return alike;
}

bool CLookAlikeMask::IsColorLookAlike(ColorValue color) {
    const std::size_t slot = (color * 2654435761u) >> 20 & (kColorCacheSize - 1);
    if (m_cacheColors[slot] != color) {
        m_cacheColors[slot] = color;
        m_cacheDecisions[slot] = Decide(color) ? kAlike : kOther;
    }
    return m_cacheDecisions[slot] == kAlike;
}

template <class T> void CLookAlikeMask::DecideEntriesOf(const T* index, std::size_t count) {
    // Screens are mostly runs of one colour: an entry just seen is decided.
    std::uint32_t last = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t entry = index[i];
        if (entry != last) {
            last = entry;
            IsEntryLookAlike(entry);
        }
    }
}

void CLookAlikeMask::DecideEntries(const std::uint16_t* index, std::size_t count) {
    DecideEntriesOf(index, count);
}

void CLookAlikeMask::DecideEntries(const std::uint32_t* index, std::size_t count) {
    DecideEntriesOf(index, count);
}

std::size_t HighlightLookAlikes(const std::uint16_t* index, CLookAlikeMask& mask, int width,
                                int height, std::size_t stride, unsigned char* pixels) {
    return HighlightByIndex(index, mask, width, height, stride, pixels);
}

std::size_t HighlightLookAlikes(const std::uint32_t* index, CLookAlikeMask& mask, int width,
                                int height, std::size_t stride, unsigned char* pixels) {
    return HighlightByIndex(index, mask, width, height, stride, pixels);
}

std::size_t HighlightLookAlikesByColor(const unsigned char* filtered, CLookAlikeMask& mask,
                                       int width, int height, std::size_t stride,
                                       unsigned char* pixels) {
    std::size_t alike = 0;
    for (int y = 0; y < height; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * stride;
        const unsigned char* in = filtered + offset;
        unsigned char* out = pixels + offset;
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            if (mask.IsColorLookAlike(ColorAt(in))) {
                ++alike;
            } else {
                DimPixel(out);
            }
        }
    }
    return alike;
}

int LookAlikePercent(std::size_t lookAlikes, std::size_t pixels) {
    if (pixels == 0 || lookAlikes == 0) {
        return 0;
    }
    const auto percent = static_cast<int>(lookAlikes * 100 / pixels);
    if (lookAlikes >= pixels) {
        return 100;
    }
    return std::clamp(percent, 1, 99);
}
