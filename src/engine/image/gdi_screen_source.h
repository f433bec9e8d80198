#pragma once

#include "engine/image/screen_source.h"

// The screen through GDI: each surface is a 24-bit top-down DIB section selected into a memory
// DC compatible with the display, filled by BitBlt from the "DISPLAY" DC.
class CGdiScreenSource : public IScreenSource {
public:
    std::unique_ptr<IPixelSurface> CreateSurface(int width, int height) override;
    // The virtual screen.
    IntRect GetScreenBounds() const override;
    // GdiFlush on Windows 2000 and later (batched GDI calls would otherwise still be pending
    // when the DIB's bits are read).
    void Flush() override;
};

// The one source every capture image of the program uses.
IScreenSource& GetGdiScreenSource();
