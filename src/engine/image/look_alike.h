#pragma once

#include "engine/filter/color.h"
#include "engine/image/color_difference.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
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
// A distance as it is typed and stored: plain decimal digits with at most one point ("3",
// "2.5"), from the minimum to the maximum; false, with `distance` untouched, for anything else.
bool ReadLookAlikeDistance(std::string_view text, double& distance);

// The dimming rule: one part the colour and three parts a grey of 96 plus half the colour's
// lightness, where lightness = (77 R + 150 G + 29 B + 128) / 256 rounded down, and each channel
// = (channel + 3 * grey + 2) / 4 rounded down. Black becomes 72, white 231: everything lies
// between them in the order of its lightness, faded, with a quarter of its colour.
ColorValue DimColor(ColorValue color);

// Whether `color` is a look-alike of `reference` at `distance`, computed afresh.
bool IsLookAlike(ColorValue reference, ColorValue color, double distance);

// The decisions of one reference and distance, each made once: per entry of the colour table
// the picture was filtered through (the table has a bounded number), kept with the colour the
// entry is shown in; or, for a picture whose filtered colours are not table entries (the
// identity shows the original pixels), per colour in a small cache. Preparing for another
// reference, distance or table forgets them.
class CLookAlikeMask {
public:
    static constexpr std::uint32_t kAlikeBit = 1u << 24;

    // `table` may be null: decisions per colour only.
    void Prepare(ColorValue reference, double distance, const ColorValue* table,
                 std::size_t tableSize);

    // The table given to Prepare was built again where it stands (another filter or quality
    // took its memory): the next Prepare decides afresh whatever it is given.
    void Forget() { m_prepared = false; }

    ColorValue GetReference() const { return m_reference; }
    double GetDistance() const { return m_distance; }

    // How the entry is shown: its table colour with kAlikeBit for a look-alike, its dimming
    // otherwise (bits 25 and up are the mask's own). Every entry must be below the table size
    // given to Prepare. Several threads may ask at once: an entry decided twice is decided the
    // same.
    std::uint32_t ShownEntry(std::uint32_t entry) {
        const std::uint32_t v =
            std::atomic_ref<std::uint32_t>(m_entries[entry]).load(std::memory_order_relaxed);
        return (v >> kGenerationShift) == m_generation ? v : DecideEntry(entry);
    }
    bool IsEntryLookAlike(std::uint32_t entry) { return (ShownEntry(entry) & kAlikeBit) != 0; }
    // The entries as a colour table (ApplyColorTable reads bits 0-23 only), to apply once every
    // entry a picture uses is decided: the others hold anything.
    const ColorValue* GetShownTable() const { return m_entries.data(); }
    bool IsColorLookAlike(ColorValue color);
    // The entries as ShownEntry keeps them, and the generation a decided entry carries in bits
    // 25 and up; for a vector loop that reads many at once while no thread decides.
    const std::uint32_t* GetEntries() const { return m_entries.data(); }
    std::uint32_t GetGeneration() const { return m_generation; }

private:
    // The whole difference, for a colour the lightness bound leaves in.
    bool IsNear(ColorValue color) const;
    std::uint32_t DecideEntry(std::uint32_t entry);

    // Entries carry the generation of the decisions they belong to: another reference is one
    // increment, not a clearing of every entry.
    static constexpr int kGenerationShift = 25;
    static constexpr std::uint32_t kLastGeneration = 127;
    // Decisions by the whole difference per colour, which entries share too: a filter sends
    // many entries to one colour.
    static constexpr int kColorCacheBits = 13;
    static constexpr std::size_t kColorCacheSize = std::size_t{1} << kColorCacheBits;

    bool m_prepared = false;
    ColorValue m_reference = 0;
    double m_distance = kDefaultLookAlikeDistance;
    Lab m_referenceLab;
    // Relative luminances outside which a colour's lightness alone rules it out.
    double m_lowY = 0;
    double m_highY = 0;
    const ColorValue* m_table = nullptr;
    std::uint32_t m_generation = 0;
    std::vector<std::uint32_t> m_entries;
    // A slot is a colour in bits 0-23, kAlikeBit and the generation, as an entry is.
    std::vector<std::uint32_t> m_colorCache = std::vector<std::uint32_t>(kColorCacheSize);
};

// The table pass and the highlight in one: every pixel becomes its entry's table colour when
// that is a look-alike of the mask's reference and the dimming of it otherwise, as
// ApplyColorTable followed by HighlightLookAlikes would make it. Returns the number of
// look-alike pixels. Layout as in pixel_pipeline.h.
std::size_t ApplyHighlightedTable(const std::uint16_t* index, CLookAlikeMask& mask, int width,
                                  int height, std::size_t stride, unsigned char* pixels);
std::size_t ApplyHighlightedTable(const std::uint32_t* index, CLookAlikeMask& mask, int width,
                                  int height, std::size_t stride, unsigned char* pixels);
// The highlight pass over filtered pixels that are no longer table colours (blurred): every
// pixel whose table entry in `index` is not a look-alike is dimmed by DimColor; look-alikes keep
// their pixels. Returns the number of look-alike pixels.
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
