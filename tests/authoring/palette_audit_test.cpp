#include "authoring/palette_audit.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/filter/image_quality.h"

#include <gtest/gtest.h>

namespace {

TEST(PaletteAudit, RedGreenPairsCollapseForProtanAndDeutanOnly) {
    CFilterManager manager;
    ASSERT_TRUE(manager.LoadFilterDirectory(ZEZIRIV_FILTER_DATA_DIR));
    ColorValue red = 0;
    ColorValue green = 0;
    ColorValue blue = 0;
    ASSERT_TRUE(ParseHexColor("#C86432", red));
    ASSERT_TRUE(ParseHexColor("5a8a20", green));
    ASSERT_TRUE(ParseHexColor("#1F77B4", blue));
    const std::vector<ColorValue> palette = {red, green, blue};
    struct Case {
        const char* filter;
        bool redGreenCollapses;
    };
    const Case cases[] = {
        {"protanopia", true}, {"deutanopia", true}, {"tritanoptia", false}, {"_normal", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        CFilter* filter = manager.FindFilter(c.filter);
        ASSERT_NE(filter, nullptr);
        ASSERT_TRUE(filter->BuildTable(CImageQuality()));
        const PaletteAudit audit = AuditPalette(*filter, palette, 10);
        ASSERT_EQ(audit.simulated.size(), 3u);
        EXPECT_EQ(audit.simulated[0], filter->IsIdentity() ? red : filter->Transform(red));
        bool redGreen = false;
        for (const CollapsedPair& pair : audit.collapsed) {
            EXPECT_LT(pair.first, pair.second);
            EXPECT_GE(pair.deltaBefore, 10);
            EXPECT_LT(pair.deltaAfter, 10);
            redGreen = redGreen || (pair.first == 0 && pair.second == 1);
        }
        EXPECT_EQ(redGreen, c.redGreenCollapses);
    }
    // A pair already closer than the threshold before simulation is not news.
    CFilter* protan = manager.FindFilter("protanopia");
    EXPECT_TRUE(AuditPalette(*protan, palette, 60).collapsed.empty());
}

TEST(PaletteAudit, HexColours) {
    struct Case {
        const char* text;
        bool ok;
        ColorValue value;
    };
    const Case cases[] = {{"#FF8000", true, MakeColor(255, 128, 0)},
                          {"ff8000", true, MakeColor(255, 128, 0)},
                          {"#0a0B0c", true, MakeColor(10, 11, 12)},
                          {"#FF800", false, 0},
                          {"#FF80000", false, 0},
                          {"##FF8000", false, 0},
                          {"#GG0000", false, 0},
                          {"", false, 0},
                          {"#", false, 0}};
    for (const Case& c : cases) {
        ColorValue value = 0xDEADBEEF;
        EXPECT_EQ(ParseHexColor(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
            EXPECT_EQ(FormatHexColor(value).size(), 7u);
            ColorValue again = 0;
            EXPECT_TRUE(ParseHexColor(FormatHexColor(value), again));
            EXPECT_EQ(again, value);
        }
    }
}

} // namespace
