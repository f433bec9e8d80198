#pragma once

#include "engine/filter/color.h"

#include <string>

class CFilter;

// Reads one filter file into a default-constructed filter. True when the whole file was read;
// false for a missing or defective file, and then the filter holds partial contents the
// caller discards. Never shows anything. The second form also gives the reason, the message
// of the AppException that ended the reading (empty on success).
bool LoadFilterFile(CFilter& filter, const std::string& path);
bool LoadFilterFile(CFilter& filter, const std::string& path, std::string* message);

// "#" and six hexadecimal digits (either case): red, green, blue. False for anything else,
// a null text included.
bool ParseColorValue(const char* text, ColorValue& colour);
// 1 to 40 characters, each an ASCII letter or digit, '_' or '@'.
bool IsValidFilterID(const char* text);
// 1 to 40 bytes of narrow text.
bool IsValidDisplayName(const char* text);
// The decimal integer at the start of the text: an optional minus sign and the digits up to
// the first other character; 0 when the text does not start that way. Values beyond the
// range of int are held at its ends.
int ParseLeadingInteger(const char* text);
