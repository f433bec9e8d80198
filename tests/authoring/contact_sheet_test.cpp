#include "authoring/bitmap_font.h"
#include "authoring/contact_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

TEST(ContactSheetLayout, GridAndSizes) {
    struct Case {
        int width, height, panels;
        int columns, rows, shrink, panelWidth, panelHeight, sheetWidth, sheetHeight;
    };
    // Cells are at least 160 wide so a label stays readable beside a tiny picture; pictures
    // beyond 1024 on a side shrink by a whole factor.
    const Case cases[] = {
        {64, 48, 6, 3, 2, 1, 64, 48, 8 + 3 * 168, 8 + 2 * (22 + 48 + 8)},
        {3840, 2160, 6, 3, 2, 4, 960, 540, 8 + 3 * 968, 8 + 2 * (22 + 540 + 8)},
        {1, 1, 1, 1, 1, 1, 1, 1, 8 + 168, 8 + 22 + 1 + 8},
        {1025, 10, 2, 2, 1, 2, 513, 5, 8 + 2 * 521, 8 + 22 + 5 + 8},
        {200, 100, 5, 3, 2, 1, 200, 100, 8 + 3 * 208, 8 + 2 * (22 + 100 + 8)},
        {1024, 1024, 10, 4, 3, 1, 1024, 1024, 8 + 4 * 1032, 8 + 3 * (22 + 1024 + 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " x" << c.panels);
        const ContactSheetLayout layout = LayoutContactSheet(c.width, c.height, c.panels);
        EXPECT_EQ(layout.columns, c.columns);
        EXPECT_EQ(layout.rows, c.rows);
        EXPECT_EQ(layout.shrink, c.shrink);
        EXPECT_EQ(layout.panelWidth, c.panelWidth);
        EXPECT_EQ(layout.panelHeight, c.panelHeight);
        EXPECT_EQ(layout.width, c.sheetWidth);
        EXPECT_EQ(layout.height, c.sheetHeight);
    }
    EXPECT_EQ(LayoutContactSheet(0, 5, 3).width, 0);
    EXPECT_EQ(LayoutContactSheet(5, 5, 0).width, 0);
}

TEST(ContactSheet, EachPanelShowsItsPictureUnderItsLabel) {
    const ColorValue colours[] = {MakeColor(200, 0, 0), MakeColor(0, 150, 0), MakeColor(0, 0, 250),
                                  MakeColor(10, 10, 10), MakeColor(255, 255, 0)};
    const char* labels[] = {"original", "Protanopia", "Deuteranopia", "x", "Hue GBR"};
    CContactSheet sheet;
    ASSERT_TRUE(sheet.Create(90, 30, 5));
    for (int i = 0; i < 5; ++i) {
        CPicture picture;
        ASSERT_TRUE(picture.Allocate(90, 30, false));
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 90; ++x) {
                picture.SetColor(x, y, colours[i]);
            }
        }
        sheet.DrawPanel(i, labels[i], picture);
    }
    const ContactSheetLayout& layout = sheet.GetLayout();
    const CPicture& out = sheet.GetPicture();
    ASSERT_EQ(out.GetWidth(), layout.width);
    ASSERT_EQ(out.GetHeight(), layout.height);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(labels[i]);
        const int left = layout.PanelLeft(i);
        // The picture fills its panel.
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 90; ++x) {
                ASSERT_EQ(out.GetColor(left + x, layout.PictureTop(i) + y), colours[i]);
            }
        }
        // The label's ink spans the text's measured width, and nothing else in the band is
        // anything but background.
        int inkLeft = layout.cellWidth;
        int inkRight = -1;
        for (int y = layout.LabelTop(i); y < layout.PictureTop(i); ++y) {
            for (int x = 0; x < layout.cellWidth; ++x) {
                const ColorValue c = out.GetColor(left + x, y);
                if (c == ContactSheetLayout::kLabelColor) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                } else {
                    ASSERT_EQ(c, ContactSheetLayout::kBackground);
                }
            }
        }
        ASSERT_GE(inkRight, 0) << "no label drawn";
        const int measured = MeasureText(labels[i], ContactSheetLayout::kLabelScale);
        EXPECT_LE(inkRight - inkLeft + 1, measured);
        EXPECT_GE(inkRight - inkLeft + 1, measured - 2 * kGlyphWidth * 2);
    }
    // The sixth cell of the grid is empty background.
    EXPECT_EQ(out.GetColor(layout.PanelLeft(5) + 5, layout.PictureTop(5) + 5),
              ContactSheetLayout::kBackground);
}

TEST(ContactSheet, ShrunkPanelsAverageBlocksAndShowTransparencyOverTheBackground) {
    // 1030 wide shrinks by 2: each panel pixel is the rounded mean of a 2 x 2 block.
    CPicture picture;
    ASSERT_TRUE(picture.Allocate(1030, 4, true));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 1030; ++x) {
            picture.SetColor(x, y, (x + y) % 2 ? MakeColor(255, 255, 255) : MakeColor(0, 0, 0));
            picture.GetAlphaRow(y)[x] = x < 1000 ? 255 : 0;
        }
    }
    CContactSheet sheet;
    ASSERT_TRUE(sheet.Create(1030, 4, 1));
    sheet.DrawPanel(0, "checks", picture);
    const ContactSheetLayout& layout = sheet.GetLayout();
    ASSERT_EQ(layout.shrink, 2);
    const int left = layout.PanelLeft(0);
    const int top = layout.PictureTop(0);
    EXPECT_EQ(sheet.GetPicture().GetColor(left, top), MakeColor(128, 128, 128));
    EXPECT_EQ(sheet.GetPicture().GetColor(left + 499, top + 1), MakeColor(128, 128, 128));
    EXPECT_EQ(sheet.GetPicture().GetColor(left + 510, top), ContactSheetLayout::kBackground);
}

TEST(BitmapFont, EveryPrintableCharacterHasItsOwnGlyph) {
    // A glyph copied by mistake over another would make two characters look alike.
    for (int a = 0x21; a <= 0x7E; ++a) {
        const std::uint8_t* rows = GetGlyphRows(static_cast<unsigned char>(a));
        bool ink = false;
        for (int r = 0; r < kGlyphHeight; ++r) {
            ink = ink || rows[r] != 0;
            EXPECT_EQ(rows[r] & ~0x1F, 0) << char(a);
        }
        EXPECT_TRUE(ink) << char(a);
        for (int b = a + 1; b <= 0x7E; ++b) {
            EXPECT_NE(std::memcmp(rows, GetGlyphRows(static_cast<unsigned char>(b)), kGlyphHeight),
                      0)
                << char(a) << " and " << char(b);
        }
    }
    EXPECT_EQ(MeasureText("", 2), 0);
    EXPECT_EQ(MeasureText("ab", 1), 11);
}

} // namespace
