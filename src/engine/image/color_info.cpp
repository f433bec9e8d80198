#include "engine/image/color_info.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::size_t kWordCount = kLastColorNameWord - kFirstColorNameWord + 1;

constexpr unsigned kWordBright = kFirstColorNameWord + 0;
constexpr unsigned kWordDark = kFirstColorNameWord + 1;
constexpr unsigned kWordClear = kFirstColorNameWord + 2;
constexpr unsigned kWordLight = kFirstColorNameWord + 3;
constexpr unsigned kWordDull = kFirstColorNameWord + 4;
constexpr unsigned kWordWhite = kFirstColorNameWord + 5;
constexpr unsigned kWordBlack = kFirstColorNameWord + 6;
constexpr unsigned kWordLightGray = kFirstColorNameWord + 7;
constexpr unsigned kWordDarkGray = kFirstColorNameWord + 8;
constexpr unsigned kWordFirstHue = kFirstColorNameWord + 9;

std::array<std::string, kWordCount> DefaultWords() {
    std::array<std::string, kWordCount> words{" bright", " dark",       " clear",
                                              " light",  " dull",       " white",
                                              " black",  " light gray", " dark gray"};
    static constexpr const char* kHues[6] = {" red",  " yellow", " green",
                                             " cyan", " blue",   " magenta"};
    // 15-degree steps; every name spans 60 degrees centred on its hue, red wrapping round.
    for (std::size_t i = 0; i < 24; ++i) {
        words[9 + i] = kHues[((i + 2) / 4) % 6];
    }
    return words;
}

std::array<std::string, kWordCount>& Words() {
    static std::array<std::string, kWordCount> words = DefaultWords();
    return words;
}

constexpr const char* kBrackets[24] = {
    "[ R ] ", "[R>Y] ", "[R=Y] ", "[R<Y] ", "[ Y ] ", "[Y>G] ", "[Y=G] ", "[Y<G] ",
    "[ G ] ", "[G>C] ", "[G=C] ", "[G<C] ", "[ C ] ", "[C>B] ", "[C=B] ", "[C<B] ",
    "[ B ] ", "[B>M] ", "[B=M] ", "[B<M] ", "[ M ] ", "[M>R] ", "[M=R] ", "[M<R] ",
};
constexpr const char* kNoHueBracket = "[ - ] ";

bool HasHue(const CHSV& hsv) {
    return hsv.GetSaturation() >= 0.1 && hsv.GetValue() >= 0.1;
}

} // namespace

CHSV::CHSV(ColorValue colour) {
    const int r = static_cast<int>(RedOf(colour));
    const int g = static_cast<int>(GreenOf(colour));
    const int b = static_cast<int>(BlueOf(colour));
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    const double rf = r / 255.0;
    const double gf = g / 255.0;
    const double bf = b / 255.0;
    const double v = max / 255.0;
    const double d = v - min / 255.0;
    m_value = v;
    m_saturation = max != 0 ? d / v : 0.0;
    if (m_saturation == 0.0) {
        m_hue = 0;
        return;
    }
    const double rc = (v - rf) / d;
    const double gc = (v - gf) / d;
    const double bc = (v - bf) / d;
    double h = 0.0;
    if (r == max) {
        h = g == min ? 5.0 + bc : 1.0 - gc;
    } else if (g == max) {
        h = b == min ? 1.0 + rc : 3.0 - bc;
    } else {
        h = r == min ? 3.0 + gc : 5.0 - rc;
    }
    m_hue = static_cast<int>(h * 60.0);
    if (m_hue >= 360) {
        m_hue -= 360;
    }
}

std::string FormatTwoDecimals(double value) {
    if (!std::isfinite(value)) {
        char buf[32];
        std::snprintf(buf, sizeof(buf), "%.2f", value);
        return buf;
    }
    const bool negative = std::signbit(value) && value != 0.0;
    // Stage one: the 17 significant digits, correctly rounded by the C library.
    char sci[40];
    std::snprintf(sci, sizeof(sci), "%.16e", std::fabs(value));
    std::string digits;
    const char* p = sci;
    for (; *p != '\0' && *p != 'e' && *p != 'E'; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits += *p;
        }
    }
    const int exponent = *p != '\0' ? std::atoi(p + 1) : 0;
    // The digits as a fixed-point number: integer part and at least three decimals.
    std::string integer;
    std::string fraction;
    if (exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() < intDigits) {
            digits.append(intDigits - digits.size(), '0');
        }
        integer = digits.substr(0, intDigits);
        fraction = digits.substr(intDigits);
    } else {
        integer = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    if (fraction.size() < 3) {
        fraction.append(3 - fraction.size(), '0');
    }
    // Stage two: half up at the second decimal.
    std::string kept = integer + fraction.substr(0, 2);
    if (fraction[2] >= '5') {
        std::size_t i = kept.size();
        while (i > 0) {
            --i;
            if (kept[i] == '9') {
                kept[i] = '0';
            } else {
                ++kept[i];
                break;
            }
            if (i == 0) {
                kept.insert(kept.begin(), '1');
            }
        }
    }
    std::string text = negative ? "-" : "";
    text += kept.substr(0, kept.size() - 2);
    text += '.';
    text += kept.substr(kept.size() - 2);
    return text;
}

std::string RgbText(ColorValue colour, bool hexadecimal) {
    char buf[20];
    std::snprintf(buf, sizeof(buf), hexadecimal ? "%02X:%02X:%02X" : "%d:%d:%d",
                  static_cast<int>(RedOf(colour)), static_cast<int>(GreenOf(colour)),
                  static_cast<int>(BlueOf(colour)));
    return buf;
}

std::string HsvText(const CHSV& hsv, bool custom) {
    const std::string sv =
        FormatTwoDecimals(hsv.GetSaturation()) + ", " + FormatTwoDecimals(hsv.GetValue());
    if (hsv.GetSaturation() == 0.0) {
        return "-, " + sv;
    }
    char head[20];
    if (!custom) {
        std::snprintf(head, sizeof(head), "%d, ", hsv.GetHue());
    } else {
        const int h2 = (hsv.GetHue() + 30) % 360;
        const char letter = "RYGCBM"[h2 / 60];
        int offset = h2 % 60 - 30;
        char sign = '+';
        if (offset < 0) {
            sign = '-';
            offset = -offset;
        }
        std::snprintf(head, sizeof(head), "%c%c%d, ", letter, sign, offset);
    }
    return head + sv;
}

std::string HueBracketText(const CHSV& hsv) {
    if (!HasHue(hsv)) {
        return kNoHueBracket;
    }
    return kBrackets[((hsv.GetHue() + 8) % 360) / 15];
}

std::string HsvSimpleText(ColorValue colour) {
    const CHSV hsv(colour);
    char buf[32];
    std::snprintf(buf, sizeof(buf), "%s %d %d", HueBracketText(hsv).c_str(),
                  static_cast<int>(hsv.GetSaturation() * 10.0 + 0.5),
                  static_cast<int>(hsv.GetValue() * 10.0 + 0.5));
    return buf;
}

std::string ColorNameText(const CHSV& hsv, bool omitBracket) {
    std::string text = omitBracket ? std::string() : HueBracketText(hsv);
    const double s = hsv.GetSaturation();
    const double v = hsv.GetValue();
    if (!HasHue(hsv)) {
        if (v < 0.1) {
            text += GetColorNameWord(kWordBlack);
        } else if (v >= 0.99) {
            text += GetColorNameWord(kWordWhite);
        } else if (v >= 0.5) {
            text += GetColorNameWord(kWordLightGray);
        } else {
            text += GetColorNameWord(kWordDarkGray);
        }
        return text;
    }
    if (v >= 0.9) {
        text += GetColorNameWord(kWordBright);
    } else if (v < 0.6) {
        text += GetColorNameWord(kWordDark);
    }
    if (s >= 0.9) {
        text += GetColorNameWord(kWordClear);
    } else if (s < 0.7) {
        text += GetColorNameWord(v >= 0.6 ? kWordLight : kWordDull);
    }
    text += GetColorNameWord(kWordFirstHue + static_cast<unsigned>(hsv.GetHue() / 15));
    return text;
}

std::string ColorValueText(ColorValue colour, int format) {
    switch (format) {
    case kFormatRgbHex:
        return RgbText(colour, true);
    case kFormatHsv:
        return HsvText(CHSV(colour), false);
    case kFormatHsvCustom:
        return HsvText(CHSV(colour), true);
    case kFormatHsvSimple:
        return HsvSimpleText(colour);
    default:
        return RgbText(colour, false);
    }
}

void LoadColorNameWords(const std::function<bool(unsigned id, std::string& text)>& load) {
    auto& words = Words();
    for (unsigned id = kFirstColorNameWord; id <= kLastColorNameWord; ++id) {
        std::string text;
        if (!load || !load(id, text)) {
            text.clear();
        }
        words[id - kFirstColorNameWord] = std::move(text);
    }
}

void ResetColorNameWords() {
    Words() = DefaultWords();
}

const std::string& GetColorNameWord(unsigned id) {
    static const std::string kNone;
    if (id < kFirstColorNameWord || id > kLastColorNameWord) {
        return kNone;
    }
    return Words()[id - kFirstColorNameWord];
}
