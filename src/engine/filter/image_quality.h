#pragma once

#include "engine/filter/color.h"

#include <cstdint>

// Process-wide resolution of every colour table. Set once at start-up, before any table is
// built; read-only afterwards.
//
// The quality level q (0..18) gives the step K (q, or 7 for 0): the number of table points
// between two neighbouring lattice levels. N = 5K + 1 points per axis, N^3 table entries.

// Out-of-range levels are read as 0.
void SetImageQuality(int level);

int GetImageQualityLevel();   // q as applied
int GetLatticeStep();         // K
int GetPointsPerAxis();       // N
std::uint32_t GetPlaneSize(); // N^2
std::uint32_t GetTableSize(); // N^3

// Every table index fits in 16 bits (K < 8).
bool IsIndex16Bit();

// Table coordinate of one channel value: the nearest of the N points, ties of the remainder
// (c*K mod 51 >= 26) going up.
inline int ChannelCoordinate(unsigned channel, int step) {
    return static_cast<int>((channel * static_cast<unsigned>(step) + 25u) / 51u);
}

// Per-channel parts of ColorIndex for the current quality, so that the index of a colour is
// three table reads and two additions. ColorIndex(c) == red[r] + green[g] + blue[b].
struct ColorIndexTables {
    std::uint32_t red[256];
    std::uint32_t green[256];
    std::uint32_t blue[256];
};
const ColorIndexTables& GetColorIndexTables();

inline std::uint32_t ColorIndex(ColorValue colour) {
    const ColorIndexTables& t = GetColorIndexTables();
    return t.red[RedOf(colour)] + t.green[GreenOf(colour)] + t.blue[BlueOf(colour)];
}
