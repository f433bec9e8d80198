#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Tells whether a byte starts a two-byte character in the text's code page. Text here is 8-bit
// text in the system code page; a trail byte may carry the value of an ASCII character.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The system code page's predicate on Windows; natively every byte is a character of its own.
LeadBytePredicate SystemLeadBytePredicate();

// Removes leading and trailing white space (blank, tab, CR, LF, VT, FF). Walks character by
// character, so the trail byte of a two-byte character is never taken for white space.
void TrimSpaces(std::string& text);
void TrimSpaces(std::string& text, LeadBytePredicate isLeadByte);
std::string TrimmedCopy(std::string_view text);

// Shortens the text to at most maxBytes bytes without splitting a two-byte character: a lead
// byte whose trail byte would fall beyond the limit goes too.
void TruncateText(std::string& text, std::size_t maxBytes, LeadBytePredicate isLeadByte);
void TruncateText(std::string& text, std::size_t maxBytes);

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads one signed 32-bit decimal number the way the C "%d" conversion does: leading white
// space, an optional sign, then at least one digit. On success the view is advanced past the
// digits. Unlike the C library, a number outside the 32-bit range is a failure, not undefined.
bool ScanInt32(std::string_view& text, std::int32_t& value);

// Consumes one expected character; no white space is skipped.
bool ScanLiteral(std::string_view& text, char expected);

// Reads an unsigned number in C notation (decimal, "0x" hexadecimal, leading-0 octal) after an
// optional sign, as strtoul does with base 0, for a 32-bit unsigned long: a negative number is
// negated modulo 2^32, an overflow gives 0xFFFFFFFF, no digits give 0. Trailing text is ignored.
std::uint32_t ParseCUnsigned(std::string_view text);

// Two's-complement 32-bit sum and difference; stored rectangles come from outside, so
// left + width must not be undefined behaviour when it does not fit.
inline std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t WrappingSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
