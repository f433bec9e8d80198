#pragma once

#include "features/filter_window/window_setting.h"
#include "platform/monitor_layout.h"

// Where filter windows open. Windows opened one after another without a stored record cascade
// down and right by one caption height from the last placement; a window closed, or used for a
// new twin, becomes the origin the next one opens at.
class CWindowCascade {
public:
    // A record without a rectangle opens here.
    static constexpr IntRect kDefaultRect{0, 0, 200, 200};

    // The rectangle for a window of the record, moved onto a monitor's work area
    // (FitOnMonitors). The result becomes the cascade origin; a placement without a given
    // record turns cascading on.
    IntRect Place(const IntRect& recordRect, bool fromGivenSetting, int captionHeight,
                  const MonitorLayout& layout);
    // The same on one screen of screenWidth x screenHeight.
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

// The rectangle moved onto the work area of the monitor nearest to it (NearestMonitor: the one
// with most of it, or the closest): a size larger than the work area is cut to it (a size
// without area becomes the default's), and a side that leaves the work area brings the window
// to its left or top edge. So a window on a monitor stays there, and one whose monitor has gone
// comes whole onto the monitor it lies nearest to. With exactly one monitor its whole rectangle
// stands for the work area, as the screen always did. An empty layout leaves the rectangle.
IntRect FitOnMonitors(const IntRect& rect, const MonitorLayout& layout);
