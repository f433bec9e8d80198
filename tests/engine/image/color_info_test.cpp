#include "engine/image/color_info.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

struct ColourRow {
    unsigned r, g, b;
    int hue;
    const char* formats[5];
    const char* name;
};

// The five display formats: RGB decimal, RGB hexadecimal, HSV, custom HSV, simple HSV.
const ColourRow kRows[] = {
    // clang-format off
    {255, 0, 0, 0, {"255:0:0", "FF:00:00", "0, 1.00, 1.00", "R+0, 1.00, 1.00", "[ R ]  10 10"},
     "[ R ]  bright clear red"},
    {255, 128, 0, 30, {"255:128:0", "FF:80:00", "30, 1.00, 1.00", "Y-30, 1.00, 1.00",
     "[R=Y]  10 10"}, "[R=Y]  bright clear yellow"},
    {128, 0, 255, 270, {"128:0:255", "80:00:FF", "270, 1.00, 1.00", "M-30, 1.00, 1.00",
     "[B=M]  10 10"}, "[B=M]  bright clear magenta"},
    {200, 30, 40, 356, {"200:30:40", "C8:1E:28", "356, 0.85, 0.78", "R-4, 0.85, 0.78",
     "[ R ]  9 8"}, "[ R ]  red"},
    {30, 60, 90, 210, {"30:60:90", "1E:3C:5A", "210, 0.67, 0.35", "B-30, 0.67, 0.35",
     "[C=B]  7 4"}, "[C=B]  dark dull blue"},
    {128, 128, 128, 0, {"128:128:128", "80:80:80", "-, 0.00, 0.50", "-, 0.00, 0.50",
     "[ - ]  0 5"}, "[ - ]  light gray"},
    {0, 0, 0, 0, {"0:0:0", "00:00:00", "-, 0.00, 0.00", "-, 0.00, 0.00", "[ - ]  0 0"},
     "[ - ]  black"},
    {255, 255, 255, 0, {"255:255:255", "FF:FF:FF", "-, 0.00, 1.00", "-, 0.00, 1.00",
     "[ - ]  0 10"}, "[ - ]  white"},
    {255, 0, 8, 358, {"255:0:8", "FF:00:08", "358, 1.00, 1.00", "R-2, 1.00, 1.00", "[ R ]  10 10"},
     "[ R ]  bright clear red"},
    // Saturation exactly 0.125: rounds up to 0.13 where printf gives 0.12.
    {8, 7, 7, 0, {"8:7:7", "08:07:07", "0, 0.13, 0.03", "R+0, 0.13, 0.03", "[ - ]  1 0"},
     "[ - ]  black"},
    // clang-format on
};

TEST(ColorInfoTest, EveryFormatAndNameOfTheReferenceColours) {
    for (const ColourRow& row : kRows) {
        const ColorValue c = MakeColor(row.r, row.g, row.b);
        const CHSV hsv(c);
        SCOPED_TRACE(row.formats[0]);
        EXPECT_EQ(hsv.GetHue(), row.hue);
        for (int format = 0; format < 5; ++format) {
            EXPECT_EQ(ColorValueText(c, format), row.formats[format]);
        }
        EXPECT_EQ(ColorNameText(hsv, false), row.name);
        // Without the bracket the words stand alone, still starting with a blank.
        EXPECT_EQ(ColorNameText(hsv, true), std::string(row.name).substr(6));
    }
    EXPECT_EQ(ColorValueText(MakeColor(1, 2, 3), 5), "1:2:3");
    EXPECT_EQ(ColorValueText(MakeColor(1, 2, 3), -1), "1:2:3");
}

TEST(ColorInfoTest, TwoStageRoundingOfTwoDecimals) {
    const std::pair<double, const char*> cases[] = {
        {0.125, "0.13"},
        {0.875, "0.88"},
        {0.0, "0.00"},
        {1.0, "1.00"},
        {0.994, "0.99"},
        {0.995, "1.00"},
        {0.005, "0.01"},
        {0.0049999, "0.00"},
        {2.0 / 3.0, "0.67"},
        {99.999, "100.00"},
        {1e-300, "0.00"},
        {12.345, "12.35"},
        {-0.125, "-0.13"},
        // 0.145 is 0.14499999999999999 in binary: its 17 digits decide, not the literal.
        {0.145, "0.14"}};
    for (auto [value, text] : cases) {
        EXPECT_EQ(FormatTwoDecimals(value), text) << value;
    }
}

TEST(ColorInfoTest, InclusiveThresholdsOfBracketAndWords) {
    // (255, 230, 230): S = 25/255 < 0.1, achromatic; (255, 229, 229): S = 26/255 >= 0.1.
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(255, 230, 230)), false), "[ - ]  white");
    EXPECT_EQ(HueBracketText(CHSV(MakeColor(255, 229, 229))), "[ R ] ");
    // V = 0.1 lies between 25 and 26.
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(26, 0, 0)), true), " dark clear red");
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(25, 0, 0)), true), " black");
    // Achromatic greys by value.
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(253, 253, 253)), true), " white");
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(252, 252, 252)), true), " light gray");
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(127, 127, 127)), true), " dark gray");
    // S exactly 0.9 and exactly 0.7 in double arithmetic (V 160/255: no brightness word).
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(160, 16, 16)), true), " clear red");
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(160, 17, 17)), true), " red");
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(160, 48, 48)), true), " red");
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(160, 49, 49)), true), " light red");
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(100, 62, 62)), true), " dark dull red");
}

TEST(ColorInfoTest, HueSectorsAndNamesAtTheirBoundaries) {
    // Pure hues from the red-yellow edge: (255, g, 0) has hue 60 * g / 255 truncated.
    struct Case {
        ColorValue colour;
        int hue;
        const char* bracket;
        const char* word;
    };
    const Case cases[] = {
        {MakeColor(255, 0, 17), 356, "[ R ] ", " red"},
        {MakeColor(255, 0, 34), 352, "[ R ] ", " red"},
        {MakeColor(255, 0, 38), 351, "[M<R] ", " red"},
        {MakeColor(255, 29, 0), 6, "[ R ] ", " red"},
        {MakeColor(255, 30, 0), 7, "[R>Y] ", " red"},
        {MakeColor(255, 127, 0), 29, "[R=Y] ", " red"},
        {MakeColor(255, 128, 0), 30, "[R=Y] ", " yellow"},
        {MakeColor(0, 255, 0), 120, "[ G ] ", " green"},
        {MakeColor(0, 255, 255), 180, "[ C ] ", " cyan"},
        {MakeColor(0, 0, 255), 240, "[ B ] ", " blue"},
        {MakeColor(255, 0, 255), 300, "[ M ] ", " magenta"},
        {MakeColor(255, 0, 128), 329, "[M=R] ", " magenta"},
        {MakeColor(255, 0, 127), 330, "[M=R] ", " red"},
    };
    for (const Case& c : cases) {
        const CHSV hsv(c.colour);
        EXPECT_EQ(hsv.GetHue(), c.hue) << std::hex << c.colour;
        EXPECT_EQ(HueBracketText(hsv), c.bracket) << c.hue;
        EXPECT_EQ(ColorNameText(hsv, true), std::string(" bright clear") + c.word) << c.hue;
    }
}

TEST(ColorInfoTest, CustomHsvNamesNearestHueAndDistance) {
    const std::tuple<ColorValue, int, const char*> cases[] = {
        {MakeColor(255, 0, 42), 350, "R-10, 1.00, 1.00"},
        {MakeColor(255, 192, 0), 45, "Y-15, 1.00, 1.00"},
        {MakeColor(129, 255, 0), 89, "Y+29, 1.00, 1.00"},
        {MakeColor(0, 255, 128), 150, "C-30, 1.00, 1.00"},
        {MakeColor(255, 0, 128), 329, "M+29, 1.00, 1.00"},
    };
    for (auto [colour, hue, text] : cases) {
        const CHSV hsv(colour);
        EXPECT_EQ(hsv.GetHue(), hue);
        EXPECT_EQ(HsvText(hsv, true), text);
    }
}

// Loaded words replacing the defaults is read end to end (the Japanese status bar); a word
// that cannot be loaded left empty and reported is the colour name resource test.

} // namespace
