#include "features/filter_window/window_refresh.h"

#include "features/filter_window/filter_window_model.h"
#include "platform/tick_count.h"

#include <algorithm>

CWindowRefresh::CWindowRefresh(IScreenSource& screen) : m_copy(screen) {}

void CWindowRefresh::Add(CFilterWindowModel& window) {
    if (std::find(m_windows.begin(), m_windows.end(), &window) == m_windows.end()) {
        m_windows.push_back(&window);
    }
}

void CWindowRefresh::Remove(const CFilterWindowModel& window) {
    const auto found = std::find(m_windows.begin(), m_windows.end(), &window);
    if (found == m_windows.end()) {
        return;
    }
    if (m_ticking) {
        *found = nullptr;
        return;
    }
    m_windows.erase(found);
    ReleaseWhenEmpty();
}

void CWindowRefresh::ReleaseWhenEmpty() {
    // Without windows the copy's surfaces would only hold platform objects.
    if (m_windows.empty()) {
        m_copy.Release();
    }
}

std::size_t CWindowRefresh::GetCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_windows.begin(), m_windows.end(), [](auto* w) { return w != nullptr; }));
}

void CWindowRefresh::Tick() {
    if (m_ticking) {
        return;
    }
    m_ticking = true;
    const std::uint32_t now = GetTickCount32();
    // Windows that join while the tick runs wait for the next one.
    const std::size_t count = m_windows.size();
    std::vector<bool> due(count, false);
    std::vector<ScreenArea> areas;
    for (std::size_t i = 0; i < count; ++i) {
        if (m_windows[i] != nullptr && m_windows[i]->IsCaptureDue(now)) {
            due[i] = true;
            areas.push_back(m_windows[i]->PrepareCapture());
        }
    }
    bool copied = false;
    if (!areas.empty()) {
        ++m_copies;
        copied = m_copy.TakeAreas(areas);
        if (!copied) {
            ++m_failedCopies;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        CFilterWindowModel* window = m_windows[i];
        if (window == nullptr) {
            continue;
        }
        // A failed copy leaves the window as if it had not been due: its last picture stays.
        const bool captured = due[i] && copied;
        const bool changed = captured && window->TakeCapture(&m_copy, now);
        window->Refresh(captured, changed);
    }
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), nullptr), m_windows.end());
    m_ticking = false;
    ReleaseWhenEmpty();
}
