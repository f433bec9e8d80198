#pragma once

#include "features/filter_window/filter_window_model.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// Records what the filter window logic does to its window.
class RecordingHost : public IFilterWindowHost {
public:
    bool IsMinimized() const override { return minimized; }
    bool GetCursorPosition(IntPoint& point) const override {
        point = cursor;
        return cursorReadable;
    }
    PixelSize GetPictureArea() const override { return area; }
    bool IsShiftDown() const override { return shift; }
    void SetStatusText(int part, const std::string& text) override {
        parts[part] = text;
        writes.push_back(part);
    }
    void InvalidatePicture() override {
        ++invalidations;
        if (onInvalidate) {
            onInvalidate();
        }
    }
    void SetTitle(const std::string& text) override { title = text; }

    bool minimized = false;
    IntPoint cursor{100, 60};
    bool cursorReadable = true;
    PixelSize area{40, 30};
    bool shift = false;
    std::function<void()> onInvalidate;

    std::map<int, std::string> parts;
    std::vector<int> writes;
    int invalidations = 0;
    std::string title;
};
