#include "engine/image/look_alike.h"

#include "engine/image/look_alike_kernels.h"
#include "engine/image/pixel_pipeline.h"
#include "engine/image/pixel_workers.h"
#include "platform/cpu_features.h"

#include <algorithm>
#include <cmath>

namespace {

// CIEDE2000 divides the lightness difference by at most 1.747 (S_L at L* 0 or 100) and its
// rotation term never takes back more than the chroma and hue terms add, so two colours whose
// L* differ by more than 1.75 times the distance are never alike. L* grows with luminance: the
// bound is two luminances, and most colours of a picture are ruled out by three table reads.
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

// Rows y0..y1 - 1: each pixel dimmed when its entry is not a look-alike. Runs of one index reuse
// the entry.
template <class T>
std::size_t ShowRows(const T* __restrict index, CLookAlikeMask& mask, int width, int y0, int y1,
                     std::size_t stride, unsigned char* __restrict pixels) {
    const auto w = static_cast<std::size_t>(width);
    std::size_t alike = 0;
    for (int y = y0; y < y1; ++y) {
        const T* row = index + static_cast<std::size_t>(y) * w;
        unsigned char* p = pixels + static_cast<std::size_t>(y) * stride;
        std::uint32_t last = row[0];
        std::uint32_t shown = mask.ShownEntry(last);
        for (std::size_t x = 0; x < w; ++x, p += 3) {
            const std::uint32_t entry = row[x];
            if (entry != last) {
                last = entry;
                shown = mask.ShownEntry(entry);
            }
            const bool isAlike = (shown & CLookAlikeMask::kAlikeBit) != 0;
            alike += isAlike;
            if (!isAlike) {
                DimPixel(p);
            }
        }
    }
    return alike;
}

// Decides every entry index[0..count) uses and counts their look-alike pixels. No runs: an
// entry is nearly always decided already, so the one branch is about never taken, where a run
// test would be a coin toss on grain and gradients.
template <class T> std::size_t DecideAll(const T* index, std::size_t count, CLookAlikeMask& mask) {
    std::size_t alike = 0;
    for (std::size_t i = 0; i < count; ++i) {
        alike += (mask.ShownEntry(index[i]) >> 24) & 1u;
    }
    return alike;
}

// The table pass with the mask's shown colours: once every entry the picture uses is decided,
// the optimised loops of ApplyColorTable do the writing.
template <class T>
std::size_t ApplyShownTable(const T* index, CLookAlikeMask& mask, int width, int height,
                            std::size_t stride, unsigned char* pixels) {
    if (width <= 0 || height <= 0) {
        return 0;
    }
#if ZEZIRIV_HAVE_AVX2_KERNELS
    // With the picture's entries decided already (the same reference over new pixels), one
    // pass on the pixel threads writes and counts; at the first entry still to decide, one pass
    // on the calling thread decides on the way (the vector loop reads entries that no other
    // thread then writes), so a new reference costs the entries the picture uses.
    if (UseAvx2()) {
        const auto w = static_cast<std::size_t>(width);
        const int bands = PixelWorkerCount(w * static_cast<std::size_t>(height), height);
        bool whole[kMaxRowBands] = {};
        std::size_t counts[kMaxRowBands] = {};
        RunRowBands(bands, height, [&](int band, int y0, int y1) {
            whole[band] =
                ApplyShownRowsAvx2(index + static_cast<std::size_t>(y0) * w, mask.GetEntries(),
                                   mask.GetGeneration(), width, y1 - y0, stride,
                                   pixels + static_cast<std::size_t>(y0) * stride, counts[band]);
        });
        std::size_t total = 0;
        bool done = true;
        for (int b = 0; b < bands; ++b) {
            done = done && whole[b];
            total += counts[b];
        }
        if (done) {
            return total;
        }
        const auto decide = [](void* context, std::uint32_t entry) {
            return static_cast<CLookAlikeMask*>(context)->ShownEntry(entry);
        };
        ApplyShownRowsAvx2(index, mask.GetEntries(), mask.GetGeneration(), width, height, stride,
                           pixels, total, decide, &mask);
        return total;
    }
#endif
    // On the calling thread: the vector loop reads entries that no other thread then writes.
    const std::size_t alike =
        DecideAll(index, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), mask);
    ApplyColorTable(index, mask.GetShownTable(), width, height, stride, pixels);
    return alike;
}

template <class T>
std::size_t ShowBands(const T* index, CLookAlikeMask& mask, int width, int height,
                      std::size_t stride, unsigned char* pixels) {
    if (width <= 0 || height <= 0) {
        return 0;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const int bands = PixelWorkerCount(count, height);
    std::size_t alike[kMaxRowBands] = {};
    RunRowBands(bands, height, [&](int band, int y0, int y1) {
        alike[band] = ShowRows(index, mask, width, y0, y1, stride, pixels);
    });
    std::size_t total = 0;
    for (int b = 0; b < bands; ++b) {
        total += alike[b];
    }
    return total;
}

// Relative luminance (CIE Y) of the lightness L*, clamped to black and white.
double LuminanceOfLightness(double l) {
    const double f = (std::clamp(l, 0.0, 100.0) + 16.0) / 116.0;
    return f > 6.0 / 29.0 ? f * f * f : (116.0 * f - 16.0) / kLabKappa;
}

} // namespace

bool IsValidLookAlikeDistance(double distance) {
    return std::isfinite(distance) && distance >= kMinLookAlikeDistance &&
           distance <= kMaxLookAlikeDistance;
}

bool ReadLookAlikeDistance(std::string_view text, double& distance) {
    // A stored number is short; anything longer, signed, exponential or spelled out is garbage.
    if (text.empty() || text.size() > 12) {
        return false;
    }
    double whole = 0;
    double scale = 0; // 0 before the point, then the weight of the next digit
    bool digits = false;
    for (const char c : text) {
        if (c == '.' && scale == 0) {
            scale = 0.1;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (scale == 0) {
                whole = whole * 10 + (c - '0');
            } else {
                whole += scale * (c - '0');
                scale /= 10;
            }
        } else {
            return false;
        }
    }
    if (!digits || !IsValidLookAlikeDistance(whole)) {
        return false;
    }
    // Kept in tenths, as the profile stores it: what is in use now is what the next start reads.
    distance = std::round(whole * 10) / 10;
    return true;
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
    const double bound = kLightnessBound * distance;
    m_lowY = m_referenceLab.l - bound <= 0 ? -1.0 : LuminanceOfLightness(m_referenceLab.l - bound);
    m_highY =
        m_referenceLab.l + bound >= 100 ? 2.0 : LuminanceOfLightness(m_referenceLab.l + bound);
    m_table = table;
    if (entries != m_entries.size() || m_generation >= kLastGeneration) {
        m_entries.assign(entries, 0);
        std::fill(m_colorCache.begin(), m_colorCache.end(), 0u);
        m_generation = 0;
    }
    ++m_generation;
}

bool CLookAlikeMask::IsNear(ColorValue color) const {
    return Ciede2000(m_referenceLab, LabFromColor(color)) <= m_distance;
}

std::uint32_t CLookAlikeMask::DecideEntry(std::uint32_t entry) {
    const ColorValue color = m_table[entry];
    const std::uint32_t shown = (IsColorLookAlike(color) ? color | kAlikeBit : DimColor(color)) |
                                (m_generation << kGenerationShift);
    std::atomic_ref<std::uint32_t>(m_entries[entry]).store(shown, std::memory_order_relaxed);
    return shown;
}

bool CLookAlikeMask::IsColorLookAlike(ColorValue color) {
    if (color == m_reference) {
        return true;
    }
    // The bound costs less than a look in the cache, and rules out most colours.
    const double y = LuminanceFromColor(color);
    if (y < m_lowY || y > m_highY) {
        return false;
    }
    color &= 0xFFFFFFu;
    const std::size_t slot =
        static_cast<std::uint32_t>(color * 2654435761u) >> (32 - kColorCacheBits);
    // One word per slot: threads deciding at once each see a whole decision or none.
    std::atomic_ref<std::uint32_t> cached(m_colorCache[slot]);
    const std::uint32_t tag = color | (m_generation << kGenerationShift);
    const std::uint32_t v = cached.load(std::memory_order_relaxed);
    if ((v & ~kAlikeBit) == tag) {
        return (v & kAlikeBit) != 0;
    }
    const bool alike = IsNear(color);
    cached.store(tag | (alike ? kAlikeBit : 0u), std::memory_order_relaxed);
    return alike;
}

std::size_t ApplyHighlightedTable(const std::uint16_t* index, CLookAlikeMask& mask, int width,
                                  int height, std::size_t stride, unsigned char* pixels) {
    return ApplyShownTable(index, mask, width, height, stride, pixels);
}

std::size_t ApplyHighlightedTable(const std::uint32_t* index, CLookAlikeMask& mask, int width,
                                  int height, std::size_t stride, unsigned char* pixels) {
    return ApplyShownTable(index, mask, width, height, stride, pixels);
}

std::size_t HighlightLookAlikes(const std::uint16_t* index, CLookAlikeMask& mask, int width,
                                int height, std::size_t stride, unsigned char* pixels) {
    return ShowBands(index, mask, width, height, stride, pixels);
}

std::size_t HighlightLookAlikes(const std::uint32_t* index, CLookAlikeMask& mask, int width,
                                int height, std::size_t stride, unsigned char* pixels) {
    return ShowBands(index, mask, width, height, stride, pixels);
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
