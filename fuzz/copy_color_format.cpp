// The copy template is typed by the user into the registry: any text must expand without a
// crash or an overrun, and every component must come out as the C library would print it with
// the same (checked) conversion.
#include "features/filter_window/copy_color_format.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// An independent reading of the template: the conversion is assembled only from characters
// already checked against the grammar, so the C library sees one of a few fixed forms.
std::string Expected(std::string_view f, ColorValue colour) {
    std::string out;
    for (std::size_t i = 0; i < f.size();) {
        if (f[i] != '%') {
            out += f[i++];
            continue;
        }
        if (f.substr(i, 2) == "%%") {
            out += '%';
            i += 2;
            continue;
        }
        std::string conversion = "%";
        std::size_t j = i + 1;
        if (j < f.size() && f[j] == '0') {
            conversion += f[j++];
        }
        if (j < f.size() && f[j] >= '1' && f[j] <= '9') {
            conversion += f[j++];
        }
        char base = 'd';
        if (j < f.size() && std::strchr("dxX", f[j]) != nullptr && f[j] != '\0') {
            base = f[j++];
        }
        conversion += base;
        const char* component = j < f.size() ? std::strchr("rRgGbB", f[j]) : nullptr;
        if (component == nullptr || f[j] == '\0') {
            out += '%';
            ++i;
            continue;
        }
        const int shift = (f[j] == 'r' || f[j] == 'R') ? 0 : (f[j] == 'g' || f[j] == 'G') ? 8 : 16;
        char text[32];
        std::snprintf(text, sizeof(text), conversion.c_str(),
                      static_cast<unsigned>((colour >> shift) & 0xFF));
        out += text;
        i = j + 1;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const ColorValue colour = MakeColor(data[0], data[1], data[2]);
    const std::string_view format(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::string text = FormatCopyColor(format, colour);
    if (text != Expected(format, colour) || text.size() > 9 * format.size()) {
        std::abort();
    }
    return 0;
}
