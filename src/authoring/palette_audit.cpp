#include "authoring/palette_audit.h"

#include "authoring/ciede2000.h"
#include "filter/filter.h"

#include <cstdio>

namespace {

Lab LabOf(ColorValue c) {
    return LabFromCodes(RedOf(c), GreenOf(c), BlueOf(c));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
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
    if (text.size() != 6) {
        return false;
    }
    unsigned channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        channels[i] = static_cast<unsigned>(high * 16 + low);
    }
    color = MakeColor(channels[0], channels[1], channels[2]);
    return true;
}

std::string FormatHexColor(ColorValue color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
    return text;
}
