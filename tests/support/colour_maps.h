#pragma once

#include "engine/filter/filter.h"

// A colour map that swaps red and blue at every lattice point, so that every channel of most
// colours changes and the result is easy to predict.
inline ColorMap SwapRedBlueMap() {
    ColorMap map{};
    int next = 0;
    for (unsigned r = 0; r < 6; ++r) {
        for (unsigned g = 0; g < 6; ++g) {
            for (unsigned b = 0; b < 6; ++b) {
                map[next++] = MakeColor(51 * b, 51 * g, 51 * r);
            }
        }
    }
    return map;
}
