#pragma once

#include "engine/filter/color.h"

#include <cstdint>

// Table coordinate of one channel value: the nearest of the N points, ties of the remainder
// (c*K mod 51 >= 26) going up.
inline int ChannelCoordinate(unsigned channel, int step) {
    return static_cast<int>((channel * static_cast<unsigned>(step) + 25u) / 51u);
}

// Per-channel parts of ColorIndex, so that the index of a colour is three table reads and two
// additions. ColorIndex(c) == red[r] + green[g] + blue[b].
struct ColorIndexTables {
    std::uint32_t red[256];
    std::uint32_t green[256];
    std::uint32_t blue[256];
};

// The resolution of the colour tables, as a plain value: the filter manager builds its tables
// at one, and a capture image indexes its pixels at the same one.
//
// The quality level q (0..18) gives the step K (q, or 7 for 0): the number of table points
// between two neighbouring lattice levels. N = 5K + 1 points per axis, N^3 table entries.
class CImageQuality {
public:
    // Out-of-range levels are read as 0.
    explicit CImageQuality(int level = 0);

    int GetLevel() const { return m_level; } // q as applied
    int GetLatticeStep() const { return m_step; }
    int GetPointsPerAxis() const { return m_points; }
    std::uint32_t GetPlaneSize() const {
        return static_cast<std::uint32_t>(m_points) * static_cast<std::uint32_t>(m_points);
    }
    std::uint32_t GetTableSize() const {
        return GetPlaneSize() * static_cast<std::uint32_t>(m_points);
    }
    // Every table index fits in 16 bits (K < 8).
    bool IsIndex16Bit() const { return m_step < 8; }

    // Built once per step for the whole run and never changed.
    const ColorIndexTables& GetIndexTables() const { return *m_index; }
    std::uint32_t ColorIndex(ColorValue colour) const {
        return m_index->red[RedOf(colour)] + m_index->green[GreenOf(colour)] +
               m_index->blue[BlueOf(colour)];
    }

private:
    int m_level;
    int m_step;
    int m_points;
    const ColorIndexTables* m_index;
};
