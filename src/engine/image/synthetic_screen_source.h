#pragma once

#include "engine/filter/color.h"
#include "engine/image/screen_source.h"

#include <vector>

// A screen made of a stored frame, for tests and benchmarks away from a display. The screen's
// top-left corner is (0, 0).
class CSyntheticScreenSource : public IScreenSource {
public:
    // The screen as packed colours, row by row; colors holds width * height entries.
    void SetFrame(int width, int height, std::vector<ColorValue> colors);
    int GetScreenWidth() const { return m_width; }
    int GetScreenHeight() const { return m_height; }

    // Makes the next CreateSurface calls fail, as an exhausted platform would.
    void SetFailSurfaces(bool fail) { m_failSurfaces = fail; }
    // Makes the next screen copies fail, as a locked desktop or a lost display would.
    void SetFailCopies(bool fail) { m_failCopies = fail; }
    // Sets one pixel of the frame, inside it.
    void SetPixel(int x, int y, ColorValue color);
    int GetSurfacesCreated() const { return m_surfacesCreated; }
    int GetFlushCount() const { return m_flushes; }
    // Copies asked of surfaces, and the pixels they asked for, since the frame was made.
    int GetCopyCount() const { return m_copies; }
    long long GetCopiedPixels() const { return m_copiedPixels; }

    std::unique_ptr<IPixelSurface> CreateSurface(int width, int height) override;
    IntRect GetScreenBounds() const override { return {0, 0, m_width, m_height}; }
    void Flush() override { ++m_flushes; }

private:
    friend class CSyntheticSurface;

    int m_width = 0;
    int m_height = 0;
    // Blue, green, red bytes of each pixel, rows without padding.
    std::vector<unsigned char> m_pixels;
    bool m_failSurfaces = false;
    bool m_failCopies = false;
    int m_surfacesCreated = 0;
    int m_flushes = 0;
    int m_copies = 0;
    long long m_copiedPixels = 0;
};
