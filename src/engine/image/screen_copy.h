#pragma once

#include "engine/image/screen_source.h"
#include "platform/geometry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A screen rectangle asked for by one owner: top-left corner and size, as Capture takes them.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenArea&, const ScreenArea&) = default;
};

// A separate copy costs round trips through the platform's drawing server; taken to cost as
// much as copying this many more pixels in one copy (an estimate). Two rectangles are copied as one
// when their bounding rectangle holds at most this many pixels more than the two do apart.
constexpr long long kSeparateCopyPixels = 128 * 128;

// Which screen rectangles to copy so that every area's part on the screen is in one of them:
// the areas are clipped to the screen (what lies outside reads black and needs no copy), those
// inside another go, and rectangles are joined while their bounding rectangle wastes no more
// than a separate copy would cost. Far-apart areas are copied each on its own, overlapping and
// neighbouring ones as one.
std::vector<IntRect> PlanScreenCopies(const std::vector<ScreenArea>& areas, const IntRect& screen);

// One copy of the screen, made of the planned rectangles, taken at one moment; capture images
// take their parts from it (CCaptureImage::CaptureFrom), so several owners pay for one copy.
// Each copy is compared with the one before it when both are of the same rectangles: while
// nothing changed it keeps its version, and an owner whose last part came from that version
// knows without comparing that its part is the same, so twenty windows over a still screen
// compare the screen once. Its surfaces (two a rectangle, the copy and the one before) stay
// for the next copy and grow when a rectangle needs more.
class CScreenCopy {
public:
    // The source must outlive the copy.
    explicit CScreenCopy(IScreenSource& source);

    // Copies the screen rectangles (clipped to the screen). False when a surface could not be
    // had or the screen could not be read: then the copy covers nothing until the next Take.
    bool Take(const std::vector<IntRect>& rects);
    // Plans the areas' copies and takes them.
    bool TakeAreas(const std::vector<ScreenArea>& areas);

    // Frees the surfaces; the next Take makes them again.
    void Release();

    IntRect GetScreenBounds() const { return m_screen; }
    // Names the pixels of the last Take: the same as long as the copies since were of the same
    // rectangles and found nothing changed; unique among all copies of the process otherwise.
    std::uint64_t GetVersion() const { return m_version; }
    // The pixel of the rectangle's top-left corner, and the row stride, in the copied rectangle
    // that holds the whole rectangle; null when none does.
    const unsigned char* Find(const IntRect& rect, std::size_t& stride) const;

private:
    struct Surface {
        std::unique_ptr<IPixelSurface> pixels;
        int capacityWidth = 0;
        int capacityHeight = 0;
        std::size_t Stride() const;
    };
    struct Block {
        IntRect rect;
        // The copy and the one before it, in turns.
        Surface surfaces[2];
    };

    bool Copy(const std::vector<IntRect>& rects);
    bool SameAsBefore() const;

    IScreenSource& m_source;
    IntRect m_screen;
    std::vector<Block> m_blocks;
    std::size_t m_used = 0;
    int m_current = 0;
    std::vector<IntRect> m_previousRects;
    std::uint64_t m_version = 0;
};
