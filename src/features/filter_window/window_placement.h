#pragma once

#include "features/filter_window/window_setting.h"

// Where filter windows open. Windows opened one after another without a stored record cascade
// down and right by one caption height from the last placement; a window closed, or used for a
// new twin, becomes the origin the next one opens at.
class CWindowCascade {
public:
    // A record without a rectangle opens here.
    static constexpr IntRect kDefaultRect{0, 0, 200, 200};

    // The rectangle for a window of the record, moved onto a screen of screenWidth x
    // screenHeight: a side that leaves it brings the window to the left or top edge. The result
    // becomes the cascade origin; a placement without a given record turns cascading on.
    IntRect Place(const IntRect& recordRect, bool fromGivenSetting, int captionHeight,
                  int screenWidth, int screenHeight);

    // Where the next window starts: exactly here (a window was closed), or one caption height
    // further (cascade on, for New window).
    void SetOrigin(const IntRect& rect, bool cascade);

    const IntRect& GetOrigin() const { return m_origin; }
    bool IsCascading() const { return m_cascade; }

private:
    IntRect m_origin;
    bool m_cascade = false;
};
