#include "features/filter_window/copy_color_format.h"

namespace {

// Writes value (0..255) in the base, right-aligned in at least `width` characters.
void AppendComponent(std::string& out, unsigned value, char base, bool zeroPad, int width) {
    static constexpr char kLower[] = "0123456789abcdef";
    static constexpr char kUpper[] = "0123456789ABCDEF";
    const unsigned radix = base == 'd' ? 10 : 16;
    const char* digits = base == 'X' ? kUpper : kLower;
    char text[8];
    int length = 0;
    do {
        text[length++] = digits[value % radix];
        value /= radix;
    } while (value != 0);
    for (int pad = length; pad < width; ++pad) {
        out += zeroPad ? '0' : ' ';
    }
    while (length > 0) {
        out += text[--length];
    }
}

int ComponentShift(char letter) {
    switch (letter) {
    case 'r':
    case 'R':
        return 0;
    case 'g':
    case 'G':
        return 8;
    case 'b':
    case 'B':
        return 16;
    default:
        return -1;
    }
}

} // namespace

std::string FormatCopyColor(std::string_view format, ColorValue colour) {
    std::string out;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // A directive: each part optional, the component letter required.
        std::size_t j = i + 1;
        bool zeroPad = false;
        int width = 0;
        char base = 'd';
        if (j < format.size() && format[j] == '0') {
            zeroPad = true;
            ++j;
        }
        if (j < format.size() && format[j] >= '1' && format[j] <= '9') {
            width = format[j] - '0';
            ++j;
        }
        if (j < format.size() && (format[j] == 'd' || format[j] == 'x' || format[j] == 'X')) {
            base = format[j];
            ++j;
        }
        const int shift = j < format.size() ? ComponentShift(format[j]) : -1;
        if (shift < 0) {
            out += '%';
            ++i;
            continue;
        }
        AppendComponent(out, (colour >> shift) & 0xFFu, base, zeroPad, width);
        i = j + 1;
    }
    return out;
}
