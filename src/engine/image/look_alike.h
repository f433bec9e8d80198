#pragma once

#include "engine/filter/color.h"
#include "engine/image/color_difference.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Look-alikes: the colours of a filtered picture that the filter's vision cannot tell from a
// reference colour. A colour is a look-alike when its CIEDE2000 difference from the reference
// is at most the distance; every other pixel is dimmed, so the look-alikes stand out in their
// own colours while shapes stay readable.

constexpr double kDefaultLookAlikeDistance = 3.0;
// Black and white are about 100 apart: beyond that the question is no longer which colours
// look alike.
constexpr double kMaxLookAlikeDistance = 100.0;

// Below a tenth only the colour itself is alike.
constexpr double kMinLookAlikeDistance = 0.1;

// Whether a stored distance can be used: a number from the minimum to the maximum.
bool IsValidLookAlikeDistance(double distance);

// The dimming rule: one part the colour and three parts a grey of 96 plus half the colour's
// lightness, where lightness = (77 R + 150 G + 29 B + 128) / 256 rounded down, and each channel
// = (channel + 3 * grey + 2) / 4 rounded down. Black becomes 72, white 231: everything lies
// between them in the order of its lightness, faded, with a quarter of its colour.
ColorValue DimColor(ColorValue color);

// Whether `color` is a look-alike of `reference` at `distance`, computed afresh.
bool IsLookAlike(ColorValue reference, ColorValue color, double distance);

// The decisions of one reference and distance, each made once: per entry of the colour table
// the picture was filtered through (one byte per entry; the table has a bounded number), or,
// for a picture whose filtered colours are not table entries (the identity shows the original
// pixels), per colour in a small cache. Preparing for another reference, distance or table
// forgets them.
class CLookAlikeMask {
public:
    // `table` may be null: decisions per colour only.
    void Prepare(ColorValue reference, double distance, const ColorValue* table,
                 std::size_t tableSize);

    ColorValue GetReference() const { return m_reference; }
    double GetDistance() const { return m_distance; }

    // Every entry must be below the table size given to Prepare.
    bool IsEntryLookAlike(std::uint32_t entry) {
        const std::uint8_t decided = m_entries[entry];
        return decided != kUnknown ? decided == kAlike : DecideEntry(entry);
    }
    bool IsColorLookAlike(ColorValue color);

    // Decides every entry that `index` uses, so that the decisions can then be read from
    // several threads at once.
    void DecideEntries(const std::uint16_t* index, std::size_t count);
    void DecideEntries(const std::uint32_t* index, std::size_t count);
    // The decisions by entry: 1 for a look-alike, 2 for another colour, 0 not yet decided.
    const std::uint8_t* GetEntryDecisions() const { return m_entries.data(); }

    static constexpr std::uint8_t kUnknown = 0;
    static constexpr std::uint8_t kAlike = 1;
    static constexpr std::uint8_t kOther = 2;

private:
    bool Decide(ColorValue color) const;
    bool DecideEntry(std::uint32_t entry);
    template <class T> void DecideEntriesOf(const T* index, std::size_t count);

    static constexpr std::size_t kColorCacheSize = 4096;
    static constexpr ColorValue kNoColor = 0xFFFFFFFFu;

    bool m_prepared = false;
    ColorValue m_reference = 0;
    double m_distance = kDefaultLookAlikeDistance;
    Lab m_referenceLab;
    double m_referenceLightness = 0;
    const ColorValue* m_table = nullptr;
    std::vector<std::uint8_t> m_entries;
    std::vector<ColorValue> m_cacheColors;
    std::vector<std::uint8_t> m_cacheDecisions;
};

// The highlight pass over filtered (and perhaps blurred) pixels: every pixel whose table entry
// in `index` is not a look-alike is dimmed by DimColor; look-alikes keep their pixels. Returns
// the number of look-alike pixels. Layout as in pixel_pipeline.h.
std::size_t HighlightLookAlikes(const std::uint16_t* index, CLookAlikeMask& mask, int width,
                                int height, std::size_t stride, unsigned char* pixels);
std::size_t HighlightLookAlikes(const std::uint32_t* index, CLookAlikeMask& mask, int width,
                                int height, std::size_t stride, unsigned char* pixels);
// The same deciding by the colours of `filtered` (laid out as `pixels`, and possibly the same
// buffer) instead of table entries.
std::size_t HighlightLookAlikesByColor(const unsigned char* filtered, CLookAlikeMask& mask,
                                       int width, int height, std::size_t stride,
                                       unsigned char* pixels);

// The share of look-alike pixels in whole percent, rounded down, except that some look-alikes
// never show as 0 and anything short of all never as 100.
int LookAlikePercent(std::size_t lookAlikes, std::size_t pixels);
