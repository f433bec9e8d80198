#pragma once

#include "engine/filter/filter_status.h"

#include <cstdint>

class CFilter;
class CFilterManager;

enum PreviewMode { PREVIEW_DESKTOP = 0, PREVIEW_QUICK = 1 };

// What the preview window has to do after one step of its state.
struct PreviewStep {
    // Filter the capture anew: through `filter`, or show it unfiltered when that is null.
    bool show = false;
    const CFilter* filter = nullptr;
    // Close the view (a close has been decided; the window posts its close request).
    bool close = false;
};

// The logic of the full-screen preview apart from its window: which filter it shows, the
// playback of a reference filter, the quick mode's waiting time and the decision to close.
// Time comes from the tick seam (platform/tick_count.h), so it runs without a window or a clock.
class CPreviewState {
public:
    // The manager's enabled list is what the view picks from; it must outlive the state.
    explicit CPreviewState(const CFilterManager& filters) : m_filters(filters), m_status(filters) {}

    // Starts a view on a fresh capture: quick mode plays a reference filter a limited number
    // of times and then waits, desktop mode plays it without end. The step shows the filter at
    // `initialIndex` of the enabled list (quick) or at 0 (desktop).
    PreviewStep Begin(PreviewMode mode, int initialIndex);

    // The 100 ms timer. `waitingTime` is the quick waiting time in milliseconds, read by the
    // caller each time; the difference to the start of the waiting is taken modulo 2^32, so
    // the wrap of the tick counter does not matter.
    PreviewStep Tick(std::uint32_t waitingTime);

    // The panel picked a position of the enabled list: nothing happens for the position shown
    // already or one the list does not have.
    PreviewStep Select(int position);

    // A close decided by the program itself (Escape, double click, the panel).
    void DecideClose() { m_closing = true; }
    bool IsClosing() const { return m_closing; }

    PreviewMode GetMode() const { return m_mode; }
    bool IsWaiting() const { return m_waiting; }
    std::uint32_t GetWaitingStart() const { return m_waitingStart; }
    int GetSelectedIndex() const { return m_status.GetSelectedIndex(); }

private:
    PreviewStep Show(const CFilter* filter);
    void StartWaiting();
    bool IsQuick() const { return m_mode == PREVIEW_QUICK; }

    const CFilterManager& m_filters;
    CFilterStatus m_status;
    PreviewMode m_mode = PREVIEW_DESKTOP;
    bool m_closing = false;
    bool m_waiting = false;
    std::uint32_t m_waitingStart = 0;
};
