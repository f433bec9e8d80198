#pragma once

#include "engine/filter/color.h"
#include "engine/image/screen_source.h"

#include <vector>

// A screen made of a stored frame, for tests and benchmarks away from a display. The screen's
// top-left corner is (0, 0) unless moved (a virtual screen with a monitor left of or above the
// primary starts at negative coordinates).
class CSyntheticScreenSource : public IScreenSource {
public:
    // The screen as packed colours, row by row; colors holds width * height entries.
    void SetFrame(int width, int height, std::vector<ColorValue> colors);
    // Where the frame's top-left pixel lies on the screen.
    void SetOrigin(IntPoint origin) { m_origin = origin; }
    // The monitors the frame is shown on; what lies on none of them reads black, as the gaps
    // of a virtual screen do. None: the whole frame is one monitor.
    void SetMonitors(std::vector<IntRect> monitors) { m_monitors = std::move(monitors); }
    int GetScreenWidth() const { return m_width; }
    int GetScreenHeight() const { return m_height; }

    // Makes the next CreateSurface calls fail, as an exhausted platform would.
    void SetFailSurfaces(bool fail) { m_failSurfaces = fail; }
    // Makes the next screen copies fail, as a locked desktop or a lost display would.
    void SetFailCopies(bool fail) { m_failCopies = fail; }
    // Sets the pixel of the frame at that screen point, if the frame has one there.
    void SetPixel(int x, int y, ColorValue color);
    int GetSurfacesCreated() const { return m_surfacesCreated; }
    int GetFlushCount() const { return m_flushes; }
    // Copies asked of surfaces, and the pixels they asked for, since the frame was made.
    int GetCopyCount() const { return m_copies; }
    long long GetCopiedPixels() const { return m_copiedPixels; }

    std::unique_ptr<IPixelSurface> CreateSurface(int width, int height) override;
    IntRect GetScreenBounds() const override {
        return {m_origin.x, m_origin.y, m_origin.x + m_width, m_origin.y + m_height};
    }
    void Flush() override { ++m_flushes; }

private:
    friend class CSyntheticSurface;

    bool IsOnMonitor(int x, int y) const;

    int m_width = 0;
    int m_height = 0;
    IntPoint m_origin;
    std::vector<IntRect> m_monitors;
    // Blue, green, red bytes of each pixel, rows without padding.
    std::vector<unsigned char> m_pixels;
    bool m_failSurfaces = false;
    bool m_failCopies = false;
    int m_surfacesCreated = 0;
    int m_flushes = 0;
    int m_copies = 0;
    long long m_copiedPixels = 0;
};
