#include "features/dialogs/display_names.h"

#include "resource.h"

#include <array>

namespace {

constexpr unsigned kColorFormatFirst = IDS_FORMAT_RGB_DECIMAL;
constexpr unsigned kImageQualityFirst = IDS_QUALITY_LOW;

std::array<std::string, kColorFormatCount> g_colorFormats;
std::array<std::string, 3> g_imageQualities;

template <std::size_t N>
void LoadRange(std::array<std::string, N>& names, unsigned first,
               const std::function<bool(unsigned, std::string&)>& load) {
    for (std::size_t i = 0; i < N; ++i) {
        std::string text;
        if (!load(first + static_cast<unsigned>(i), text)) {
            text.clear();
        }
        names[i] = std::move(text);
    }
}

template <std::size_t N> const std::string& NameAt(const std::array<std::string, N>& names, int i) {
    static const std::string empty;
    return i >= 0 && static_cast<std::size_t>(i) < N ? names[static_cast<std::size_t>(i)] : empty;
}

} // namespace

void LoadDialogDisplayNames(const std::function<bool(unsigned id, std::string& text)>& load) {
    LoadRange(g_colorFormats, kColorFormatFirst, load);
    LoadRange(g_imageQualities, kImageQualityFirst, load);
}

const std::string& GetColorFormatName(int format) {
    return NameAt(g_colorFormats, format);
}

const std::string& GetImageQualityName(int index) {
    return NameAt(g_imageQualities, index);
}
