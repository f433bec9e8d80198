#pragma once

#include "engine/filter/color.h"

#include <string>
#include <string_view>
#include <vector>

class CFilter;

// Which colours of a palette a filter's vision can no longer tell apart: pairs whose CIEDE2000
// difference is at least the threshold before simulation and below it after.

struct CollapsedPair {
    int first = 0; // positions in the palette, first < second
    int second = 0;
    double deltaBefore = 0;
    double deltaAfter = 0;
};

struct PaletteAudit {
    std::vector<ColorValue> simulated; // one per palette colour
    std::vector<CollapsedPair> collapsed;
};

// Simulates through the filter's colour table, at the quality it was built at, as a picture of
// those colours would be (the identity leaves them as they are).
PaletteAudit AuditPalette(const CFilter& filter, const std::vector<ColorValue>& palette,
                          double minDelta);

// "#RRGGBB" or "RRGGBB", hex digits in either case.
bool ParseHexColor(std::string_view text, ColorValue& color);
// "#RRGGBB" in capitals.
std::string FormatHexColor(ColorValue color);
