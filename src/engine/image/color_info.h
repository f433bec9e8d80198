#pragma once

#include "engine/filter/color.h"
#include "resource.h"

#include <functional>
#include <string>

// Hue (degrees 0..359), saturation and value (0.0..1.0) of one packed colour.
class CHSV {
public:
    explicit CHSV(ColorValue colour);
    CHSV(const CHSV&) = default;
    CHSV& operator=(const CHSV&) = default;
    virtual ~CHSV() = default;

    int GetHue() const { return m_hue; }
    double GetSaturation() const { return m_saturation; }
    double GetValue() const { return m_value; }

private:
    int m_hue = 0;
    double m_saturation = 0.0;
    double m_value = 0.0;
};

// The colour display formats a filter window's status bar offers; stored numbers of 5 or more
// read as 0.
enum ColorDisplayFormat : int {
    kFormatRgbDecimal = 0,
    kFormatRgbHex = 1,
    kFormatHsv = 2,
    kFormatHsvCustom = 3,
    kFormatHsvSimple = 4,
};

// "r:g:b" in decimal, or "RR:GG:BB" in hexadecimal.
std::string RgbText(ColorValue colour, bool hexadecimal);
// "hue, S, V" (or "-, S, V" without a hue); custom names the nearest primary or secondary hue
// and the signed distance to it, e.g. "Y-15, 1.00, 1.00".
std::string HsvText(const CHSV& hsv, bool custom);
// The hue bracket followed by saturation and value in tenths: "[ R ]  10 10".
std::string HsvSimpleText(ColorValue colour);
// One of 24 six-character hue sectors, or "[ - ] " for colours too grey or dark to have one.
std::string HueBracketText(const CHSV& hsv);
// Words such as " bright clear red", after the hue bracket unless omitted.
std::string ColorNameText(const CHSV& hsv, bool omitBracket);
// The value text of a display format, as the status bar shows it.
std::string ColorValueText(ColorValue colour, int format);

// A number with two decimals, rounded from its 17 significant digits, ties going up (0.125
// gives "0.13", where printf's "%.2f" would give "0.12").
std::string FormatTwoDecimals(double value);

// The colour-name words, string resources kFirstColorNameWord ... kLastColorNameWord: the nine
// brightness, saturation and grey words, then the 24 hue names (one per 15 degrees).
constexpr unsigned kFirstColorNameWord = IDS_COLOR_WORD_FIRST;
constexpr unsigned kLastColorNameWord = IDS_COLOR_WORD_LAST;

// Replaces every word with what load gives for its ID; a word whose load fails becomes empty.
void LoadColorNameWords(const std::function<bool(unsigned id, std::string& text)>& load);
// Back to the built-in English words.
void ResetColorNameWords();
const std::string& GetColorNameWord(unsigned id);
