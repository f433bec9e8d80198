#pragma once

#include "engine/filter/color.h"

#include <string>
#include <string_view>

// The text a filter window puts on the clipboard for a colour, from the user's template: "%%"
// is a percent sign; "%" [0] [1-9] [d|x|X] (r|g|b, either case) is one component of the colour
// in decimal or hexadecimal, with an optional minimum width and zero padding; any other "%"
// stands for itself, and what followed it is ordinary text. The template is the user's own
// text, so it is interpreted here and never handed to a printf-family function as a format.
std::string FormatCopyColor(std::string_view format, ColorValue colour);
