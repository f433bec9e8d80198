#include "engine/image/screen_copy.h"

#include <algorithm>
#include <cstring>

namespace {

long long AreaOf(const IntRect& r) {
    return static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

IntRect Bounding(const IntRect& a, const IntRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool Holds(const IntRect& outer, const IntRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Versions of copies, unique in the process: a part taken from one copy is never taken for a
// part of another.
std::uint64_t NextVersion() {
    static std::uint64_t next = 0;
    return ++next;
}

// Surfaces grow in steps, so that areas that change size a little keep theirs.
int Capacity(int needed, int current) {
    constexpr int kStep = 64;
    return std::max(current, (needed + kStep - 1) / kStep * kStep);
}

} // namespace

std::vector<IntRect> PlanScreenCopies(const std::vector<ScreenArea>& areas, const IntRect& screen) {
    std::vector<IntRect> rects;
    for (const ScreenArea& area : areas) {
        // In 64 bits: a corner far off the screen must not overflow.
        const long long left = std::max<long long>(area.x, screen.left);
        const long long top = std::max<long long>(area.y, screen.top);
        const long long right =
            std::min<long long>(static_cast<long long>(area.x) + area.width, screen.right);
        const long long bottom =
            std::min<long long>(static_cast<long long>(area.y) + area.height, screen.bottom);
        if (left < right && top < bottom) {
            rects.push_back({static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                             static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)});
        }
    }
    // Join the pair whose bounding rectangle wastes least, while that is cheaper than a separate
    // copy. A rectangle inside another wastes less than nothing, so duplicates go first.
    for (;;) {
        long long bestWaste = kSeparateCopyPixels + 1;
        std::size_t bestI = 0;
        std::size_t bestJ = 0;
        for (std::size_t i = 0; i < rects.size(); ++i) {
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                const long long waste =
                    AreaOf(Bounding(rects[i], rects[j])) - AreaOf(rects[i]) - AreaOf(rects[j]);
                if (waste < bestWaste) {
                    bestWaste = waste;
                    bestI = i;
                    bestJ = j;
                }
            }
        }
        if (bestWaste > kSeparateCopyPixels) {
            return rects;
        }
        rects[bestI] = Bounding(rects[bestI], rects[bestJ]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bestJ));
    }
}

CScreenCopy::CScreenCopy(IScreenSource& source) : m_source(source), m_version(NextVersion()) {}

void CScreenCopy::Release() {
    m_blocks.clear();
    m_used = 0;
    m_previousRects.clear();
    m_version = NextVersion();
}

std::size_t CScreenCopy::Surface::Stride() const {
    return (static_cast<std::size_t>(capacityWidth) * 3 + 3) & ~std::size_t{3};
}

bool CScreenCopy::TakeAreas(const std::vector<ScreenArea>& areas) {
    return Take(PlanScreenCopies(areas, m_source.GetScreenBounds()));
}

bool CScreenCopy::Take(const std::vector<IntRect>& rects) {
    m_current = 1 - m_current;
    const bool copied = Copy(rects);
    if (!copied || !SameAsBefore()) {
        m_version = NextVersion();
    }
    m_previousRects = copied ? rects : std::vector<IntRect>{};
    return copied;
}

bool CScreenCopy::Copy(const std::vector<IntRect>& rects) {
    m_used = 0;
    m_screen = m_source.GetScreenBounds();
    if (m_blocks.size() < rects.size()) {
        m_blocks.resize(rects.size());
    }
    for (std::size_t i = 0; i < rects.size(); ++i) {
        Surface& surface = m_blocks[i].surfaces[m_current];
        const int width = rects[i].right - rects[i].left;
        const int height = rects[i].bottom - rects[i].top;
        if (width <= 0 || height <= 0) {
            return false;
        }
        if (!surface.pixels || width > surface.capacityWidth || height > surface.capacityHeight) {
            surface.capacityWidth = Capacity(width, surface.capacityWidth);
            surface.capacityHeight = Capacity(height, surface.capacityHeight);
            surface.pixels = m_source.CreateSurface(surface.capacityWidth, surface.capacityHeight);
            if (!surface.pixels) {
                surface.capacityWidth = 0;
                surface.capacityHeight = 0;
                return false;
            }
        }
        m_blocks[i].rect = rects[i];
        if (!surface.pixels->CopyFromScreen(rects[i].left, rects[i].top, width, height)) {
            return false;
        }
    }
    // The pixels are read directly from here on.
    m_source.Flush();
    m_used = rects.size();
    return true;
}

bool CScreenCopy::SameAsBefore() const {
    if (m_previousRects.size() != m_used) {
        return false;
    }
    for (std::size_t i = 0; i < m_used; ++i) {
        const Block& block = m_blocks[i];
        if (!(m_previousRects[i] == block.rect)) {
            return false;
        }
        const Surface& now = block.surfaces[m_current];
        const Surface& before = block.surfaces[1 - m_current];
        if (!before.pixels) {
            return false;
        }
        const std::size_t rowBytes =
            static_cast<std::size_t>(block.rect.right - block.rect.left) * 3;
        for (int row = 0; row < block.rect.bottom - block.rect.top; ++row) {
            if (std::memcmp(now.pixels->GetPixels() + row * now.Stride(),
                            before.pixels->GetPixels() + row * before.Stride(), rowBytes) != 0) {
                return false;
            }
        }
    }
    return true;
}

const unsigned char* CScreenCopy::Find(const IntRect& rect, std::size_t& stride) const {
    for (std::size_t i = 0; i < m_used; ++i) {
        const Block& block = m_blocks[i];
        if (!Holds(block.rect, rect)) {
            continue;
        }
        const Surface& surface = block.surfaces[m_current];
        stride = surface.Stride();
        return surface.pixels->GetPixels() +
               static_cast<std::size_t>(rect.top - block.rect.top) * stride +
               static_cast<std::size_t>(rect.left - block.rect.left) * 3;
    }
    return nullptr;
}
