#pragma once

#include <cstdint>

// A packed colour, 0x00BBGGRR: red in bits 0-7, green in 8-15, blue in 16-23.
using ColorValue = std::uint32_t;

constexpr ColorValue MakeColor(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned RedOf(ColorValue c) {
    return c & 0xFFu;
}
constexpr unsigned GreenOf(ColorValue c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned BlueOf(ColorValue c) {
    return (c >> 16) & 0xFFu;
}
