#pragma once

#include "features/filter_window/window_placement.h"
#include "features/filter_window/window_setting.h"

#include <windows.h>

#include <vector>

class CFilterWnd;

// The open filter windows of the process, in the order they were opened, at most 20. Opens and
// places windows, broadcasts to them, and saves and restores all of them through the profile.
class CWindowCollection {
public:
    static constexpr int kMaxWindows = 20;

    // Opens a window for the record, or for the profile's default record when there is none.
    // At the limit, or while the filter setting dialog is open, nothing opens and the answer is
    // still true; false only when the window could not be created.
    bool OpenFilterWindow(const CWindowSetting* setting);
    void PostToAllWindows(UINT msg, WPARAM wParam, LPARAM lParam) const;
    int GetCount() const { return static_cast<int>(m_windows.size()); }
    const std::vector<CFilterWnd*>& GetWindows() const { return m_windows; }

    // With windows open, their records replace the profile's stored list.
    void SaveAllWindowStatus();
    // With a stored list, replaces every open window by the list's windows.
    void RestoreAllWindowStatus();
    // Asks every window to close and forgets them at once.
    void CloseAllWindows();
    // Destroys every window now, each storing its record as a normal close does (at exit).
    void DestroyAllWindows();

    // A window makes its rectangle the next window's origin when it closes or opens a twin.
    CWindowCascade& GetCascade() { return m_cascade; }
    void Remove(const CFilterWnd* window);

private:
    std::vector<CFilterWnd*> m_windows;
    CWindowCascade m_cascade;
};

CWindowCollection& GetWindowCollection();
