#pragma once

#include "authoring/picture.h"
#include "engine/filter/color.h"
#include "engine/filter/image_quality.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CFilter;

// Simulates filters on a picture the way CCaptureImage does on a screen copy, through the same
// pixel loops: every pixel's lattice index once, then per filter one table read per pixel and
// the blur. For the same pixels, filter, image quality and blur radius the result is byte for
// byte what a view of the program shows.
class CPictureSimulation {
public:
    // Indexes the picture at the quality. The picture must outlive the simulation and keep its
    // pixels.
    CPictureSimulation(const CPicture& original, const CImageQuality& quality);

    // False when the index buffer could not be allocated.
    bool IsReady() const { return m_index16 != nullptr || m_index32 != nullptr; }

    // Writes the picture through the filter into `out` (sized like the original, alpha copied
    // unchanged): the original pixels for the identity, a filter without a table, or a table
    // of another image quality than the indices; otherwise the table entry of every pixel.
    // Then the binomial blur of `blurRadius` (0 or outside 1..5: none). False when memory runs
    // out.
    bool Apply(const CFilter& filter, int blurRadius, CPicture& out) const;

    // The filter window's look-alike highlighting over `out`, as Apply made it for the filter:
    // the reference is `color` as the filter shows it, and every pixel whose filtered colour
    // is not within `distance` of it is dimmed. Returns the number of look-alike pixels.
    std::size_t HighlightLookAlikes(const CFilter& filter, ColorValue color, double distance,
                                    CPicture& out) const;

private:
    // The filter's table when the picture is shown through it; null when it shows the
    // original pixels.
    const ColorValue* TableOf(const CFilter& filter) const;

    const CPicture& m_original;
    std::unique_ptr<std::uint16_t[]> m_index16;
    std::unique_ptr<std::uint32_t[]> m_index32;
    CImageQuality m_quality;
};
