#include "authoring/filter_writer.h"
#include "authoring/lattice_fit.h"
#include "authoring/shipped_filters.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

unsigned Channel(ColorValue c, int ch) {
    return (c >> (8 * ch)) & 0xFFu;
}

// What the writer writes of the shipped set is the committed data (the regenerate check), read
// back with every ID, name, member and timeout by the shipped filters test and every colour by
// the accuracy test. The shipped names need no escaping, so that is written here.
TEST(FilterWriter, EscapesAttributesAndKeepsCommentsWellFormed) {
    const std::string text =
        WriteColorMapFilter("x", "R&D <\"quoted\">", ColorMap{}, {"a -- b", "ends with -", "---"});
    EXPECT_NE(text.find("DisplayName=\"R&amp;D &lt;&quot;quoted&quot;&gt;\""), std::string::npos);
    const std::size_t open = text.find("<!--");
    const std::size_t close = text.find("-->");
    ASSERT_NE(open, std::string::npos);
    ASSERT_NE(close, std::string::npos);
    const std::string body = text.substr(open + 4, close - open - 4);
    EXPECT_EQ(body.find("--"), std::string::npos) << body;
    EXPECT_NE(body.back(), '-');
}

TEST(Lattices, BaselineOfTheIdentityIsTheNormalFilter) {
    EXPECT_EQ(BaselineLattice(IdentityModel()), CreateNormalFilter()->GetColorMap());
}

// The fitted lattice stays within two codes of the exact (unrounded) model everywhere and keeps
// black and white exactly; the baseline is the model rounded.
TEST(Lattices, FittedStaysNearTheModelAndBaselineIsItRounded) {
    const std::vector<GeneratedLattices> generated = GenerateLattices();
    const std::vector<ShippedFilterSpec>& specs = ShippedColorMapFilters();
    ASSERT_EQ(generated.size(), specs.size());
    for (std::size_t f = 0; f < specs.size(); ++f) {
        const GeneratedLattices& g = generated[f];
        int moved = 0;
        for (int r = 0; r < kLatticeLevels; ++r) {
            for (int gr = 0; gr < kLatticeLevels; ++gr) {
                for (int b = 0; b < kLatticeLevels; ++b) {
                    const auto pos = static_cast<std::size_t>(ColorMapPosition(r, gr, b));
                    const auto exact = SimulateCodes(specs[f].cvd, 51.0 * r, 51.0 * gr, 51.0 * b);
                    for (int ch = 0; ch < 3; ++ch) {
                        const double model = exact[static_cast<std::size_t>(ch)];
                        EXPECT_EQ(Channel(g.baseline[pos], ch),
                                  static_cast<unsigned>(std::lround(model)))
                            << specs[f].id << " at " << pos;
                        EXPECT_LE(std::abs(Channel(g.fitted[pos], ch) - model), 2.0)
                            << specs[f].id << " at " << pos;
                        moved += Channel(g.fitted[pos], ch) != Channel(g.baseline[pos], ch);
                    }
                }
            }
        }
        EXPECT_EQ(g.fitted.front(), g.baseline.front()) << specs[f].id;
        EXPECT_EQ(g.fitted.back(), g.baseline.back()) << specs[f].id;
        EXPECT_GT(moved, 0) << specs[f].id << ": the fit changed nothing";
        EXPECT_EQ(&g.Shipped(), g.shipsFitted ? &g.fitted : &g.baseline);
    }
}

// The length of the UTF-8 text in code page 932, or nothing when a character has no exact
// form there (the Japanese names must reach a Japanese system unchanged).
std::optional<std::size_t> CodePage932Length(const std::string& utf8) {
#ifdef _WIN32
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                               static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        wideLength);
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                           nullptr, 0, nullptr, &lossy);
    if (wideLength <= 0 || length <= 0 || lossy) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(length);
#else
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string in = utf8;
    std::string out(utf8.size() * 2 + 4, '\0');
    char* inText = in.data();
    char* outText = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &inText, &inLeft, &outText, &outLeft);
    iconv_close(converter);
    if (result != 0 || inLeft != 0) { // irreversible conversions count as failures too
        return std::nullopt;
    }
    return out.size() - outLeft;
#endif
}

TEST(ShippedSet, TranslatedNamesFitCodePage932) {
    struct Case {
        const char* utf8;
        std::optional<std::size_t> expected;
    };
    // The converter itself first: kana, kanji and arrows take two bytes, an emoji has no form.
    const Case cases[] = {{"abc", 3}, {"通常の色覚", 10}, {"赤→青", 6}, {"\xF0\x9F\x98\x80", {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(CodePage932Length(c.utf8), c.expected) << c.utf8;
    }
    for (const ShippedLanguage& language : ShippedLanguages()) {
        if (language.languageId != 1041) {
            continue;
        }
        for (const ShippedTranslation& t : language.names) {
            const std::optional<std::size_t> length = CodePage932Length(t.displayName);
            ASSERT_TRUE(length.has_value()) << t.id << ": " << t.displayName;
            EXPECT_GE(*length, 1u);
            EXPECT_LE(*length, 40u) << t.displayName;
        }
    }
}

} // namespace
