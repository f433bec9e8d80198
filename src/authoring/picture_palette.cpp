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
    // Bit 31 of a counter marks a colour that fills a 2×2 block somewhere; a picture has at
    // most 2^28 pixels, so the count below it cannot reach it.
    constexpr std::uint32_t kBlock = 0x80000000u;
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    const auto visibleAt = [&](int x, int y) {
        return !picture.HasAlpha() || picture.GetAlphaRow(y)[x] != 0;
    };
    const auto sameAt = [&](const unsigned char* p, int x, int y) {
        const unsigned char* q = picture.GetRow(y) + static_cast<std::size_t>(x) * 3;
        return visibleAt(x, y) && q[0] == p[0] && q[1] == p[1] && q[2] == p[2];
    };
    std::uint64_t visible = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* p = picture.GetRow(y);
        for (int x = 0; x < width; ++x, p += 3) {
            if (!visibleAt(x, y)) {
                continue;
            }
            std::uint32_t& count = counts[MakeColor(p[2], p[1], p[0])];
            ++count;
            ++visible;
            // A smooth edge or a gradient steps through each of its colours within a pixel's
            // width: those never fill a block, however long the edge.
            if (x + 1 < width && y + 1 < height && sameAt(p, x + 1, y) && sameAt(p, x, y + 1) &&
                sameAt(p, x + 1, y + 1)) {
                count |= kBlock;
            }
        }
    }
    visiblePixels = visible;
    if (visible == 0) {
        return true;
    }
    const double share = std::clamp(minShare, kMinColorShare, 1.0);
    for (std::size_t c = 0; c < kColorCount; ++c) {
        const std::uint32_t pixels = counts[c] & ~kBlock;
        if ((counts[c] & kBlock) != 0 &&
            static_cast<double>(pixels) >= share * static_cast<double>(visible)) {
            colors.push_back({static_cast<ColorValue>(c), pixels});
        }
    }
    std::sort(colors.begin(), colors.end(), [](const PictureColor& a, const PictureColor& b) {
        return a.pixels != b.pixels ? a.pixels > b.pixels : a.color < b.color;
    });
    return true;
}
