#include "authoring/picture_palette.h"

#include <algorithm>
#include <memory>
#include <new>

bool FindPictureColors(const CPicture& picture, double minShare, std::vector<PictureColor>& colors,
                       std::uint64_t& visiblePixels) {
    colors.clear();
    visiblePixels = 0;
    // One counter per 24-bit colour: 64 MB however many pixels, where a map of a noisy
    // picture's colours would grow with it.
    constexpr std::size_t kColorCount = std::size_t{1} << 24;
    std::unique_ptr<std::uint32_t[]> counts(new (std::nothrow) std::uint32_t[kColorCount]());
    if (!counts) {
        return false;
    }
    std::uint64_t visible = 0;
    for (int y = 0; y < picture.GetHeight(); ++y) {
        const unsigned char* p = picture.GetRow(y);
        const unsigned char* alpha = picture.HasAlpha() ? picture.GetAlphaRow(y) : nullptr;
        for (int x = 0; x < picture.GetWidth(); ++x, p += 3) {
            if (alpha != nullptr && alpha[x] == 0) {
                continue;
            }
            // A picture has at most 2^28 pixels: no counter overflows.
            ++counts[MakeColor(p[2], p[1], p[0])];
            ++visible;
        }
    }
    visiblePixels = visible;
    if (visible == 0) {
        return true;
    }
    const double share = std::clamp(minShare, kMinColorShare, 1.0);
    for (std::size_t c = 0; c < kColorCount; ++c) {
        if (counts[c] != 0 &&
            static_cast<double>(counts[c]) >= share * static_cast<double>(visible)) {
            colors.push_back({static_cast<ColorValue>(c), counts[c]});
        }
    }
    std::sort(colors.begin(), colors.end(), [](const PictureColor& a, const PictureColor& b) {
        return a.pixels != b.pixels ? a.pixels > b.pixels : a.color < b.color;
    });
    return true;
}
