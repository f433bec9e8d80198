#pragma once

#include "authoring/picture.h"
#include "engine/filter/color.h"

#include <cstdint>
#include <string_view>

// A 5 x 7 pixel font for printable ASCII, drawn into pictures without a font library. Each cell
// is 6 pixels wide (one column of spacing); bytes outside printable ASCII draw as a hollow box.

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;

// Seven rows, top first; bit 4 is the leftmost pixel.
const std::uint8_t* GetGlyphRows(unsigned char c);

// How many characters the text draws (UTF-8 sequences count once natively, where names are
// UTF-8; every byte counts on Windows, where they are in the system code page).
int CountGlyphs(std::string_view text);

// Width in pixels of the text at an integer scale: each glyph pixel becomes scale x scale.
int MeasureText(std::string_view text, int scale);

// Draws the text with its top-left corner at (x, y); whatever falls outside the picture or
// beyond maxWidth pixels is clipped.
void DrawText(CPicture& picture, int x, int y, std::string_view text, int scale, ColorValue color,
              int maxWidth);
