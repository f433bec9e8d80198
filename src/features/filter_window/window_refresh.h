#pragma once

#include "engine/image/screen_copy.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CFilterWindowModel;

// The refresh of every open filter window from one timer: on each tick the windows that are due
// (each by its own update interval, or because it asked for a capture; minimised windows take
// no part) say which screen area they need, one copy of the screen covers them all, and each
// window takes its part and redoes only what changed since its last paint. Windows between
// their captures only step a reference filter's playback.
class CWindowRefresh {
public:
    // How often the owner calls Tick: often enough for a recapture asked for to follow at
    // once, and for a reference filter's steps.
    static constexpr unsigned kTickMilliseconds = 50;

    // The source must outlive the refresh.
    explicit CWindowRefresh(IScreenSource& screen);
    CWindowRefresh(const CWindowRefresh&) = delete;
    CWindowRefresh& operator=(const CWindowRefresh&) = delete;

    // A window joins from the next tick on; one that leaves during a tick (closed by something
    // the tick caused) takes no further part in it. The model must stay alive while it is in.
    // When the last one leaves, the copy's surfaces go too.
    void Add(CFilterWindowModel& window);
    void Remove(const CFilterWindowModel& window);
    std::size_t GetCount() const;

    // One tick at the tick count's now.
    void Tick();
    // Copies taken for the due windows, and those that failed, since the refresh was made.
    int GetCopyCount() const { return m_copies; }
    int GetFailedCopyCount() const { return m_failedCopies; }

private:
    void ReleaseWhenEmpty();

    CScreenCopy m_copy;
    // Left null by a window that leaves during a tick, and dropped after it.
    std::vector<CFilterWindowModel*> m_windows;
    bool m_ticking = false;
    int m_copies = 0;
    int m_failedCopies = 0;
};
