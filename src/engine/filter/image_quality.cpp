#include "engine/filter/image_quality.h"

namespace {

constexpr int kMaxStep = 18;

ColorIndexTables MakeIndexTables(int step) {
    const auto points = static_cast<std::uint32_t>(5 * step + 1);
    ColorIndexTables index{};
    for (unsigned c = 0; c < 256; ++c) {
        const auto coord = static_cast<std::uint32_t>(ChannelCoordinate(c, step));
        index.red[c] = coord * points * points;
        index.green[c] = coord * points;
        index.blue[c] = coord;
    }
    return index;
}

// Every step's tables, made on first use (thread-safe) and read-only from then on.
struct AllIndexTables {
    AllIndexTables() {
        for (int k = 1; k <= kMaxStep; ++k) {
            byStep[k] = MakeIndexTables(k);
        }
    }
    ColorIndexTables byStep[kMaxStep + 1] = {};
};

const ColorIndexTables& IndexTablesOf(int step) {
    static const AllIndexTables all;
    return all.byStep[step];
}

} // namespace

CImageQuality::CImageQuality(int level) {
    if (level < 0 || level > kMaxStep) {
        level = 0;
    }
    m_level = level;
    m_step = level != 0 ? level : 7;
    m_points = 5 * m_step + 1;
    m_index = &IndexTablesOf(m_step);
}
