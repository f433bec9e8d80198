#include "authoring/palette_audit.h"

#include "authoring/ciede2000.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"

#include <cstdio>
#include <string>

namespace {

Lab LabOf(ColorValue c) {
    return LabFromCodes(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

PaletteAudit AuditPalette(const CFilter& filter, const std::vector<ColorValue>& palette,
                          double minDelta) {
    PaletteAudit audit;
    std::vector<Lab> before;
    std::vector<Lab> after;
    for (const ColorValue c : palette) {
        const ColorValue s = filter.IsIdentity() ? c : filter.Transform(c);
        audit.simulated.push_back(s);
        before.push_back(LabOf(c));
        after.push_back(LabOf(s));
    }
    const int count = static_cast<int>(palette.size());
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            const double deltaBefore = Ciede2000(before[i], before[j]);
            if (deltaBefore < minDelta) {
                continue;
            }
            const double deltaAfter = Ciede2000(after[i], after[j]);
            if (deltaAfter < minDelta) {
                audit.collapsed.push_back({i, j, deltaBefore, deltaAfter});
            }
        }
    }
    return audit;
}

bool ParseHexColor(std::string_view text, ColorValue& color) {
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    }
    // The filter files' form, "#RRGGBB", with the hash optional here.
    return text.size() == 6 && ParseColorValue(("#" + std::string(text)).c_str(), color);
}

std::string FormatHexColor(ColorValue color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
    return text;
}
