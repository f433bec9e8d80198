#pragma once

// The GDI screen, except that copies fail while `refuse` is set: a locked desktop or a lost
// display, for the views' failure tests under Wine.
#include "engine/image/gdi_screen_source.h"

#include <memory>

namespace win_test {

struct CRefusingScreenSource : IScreenSource {
    struct Surface : IPixelSurface {
        std::unique_ptr<IPixelSurface> inner;
        const bool* refuse = nullptr;
        unsigned char* GetPixels() override { return inner->GetPixels(); }
        SurfaceHandle GetHandle() const override { return inner->GetHandle(); }
        bool CopyFromScreen(int x, int y, int width, int height) override {
            return !*refuse && inner->CopyFromScreen(x, y, width, height);
        }
    };
    std::unique_ptr<IPixelSurface> CreateSurface(int width, int height) override {
        auto surface = std::make_unique<Surface>();
        surface->inner = GetGdiScreenSource().CreateSurface(width, height);
        surface->refuse = &refuse;
        return surface->inner ? std::move(surface) : nullptr;
    }
    void Flush() override { GetGdiScreenSource().Flush(); }
    IntRect GetScreenBounds() const override { return GetGdiScreenSource().GetScreenBounds(); }
    bool refuse = false;
};

} // namespace win_test
