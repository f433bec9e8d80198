#pragma once

#include "features/filter_window/filter_wnd.h"
#include "features/filter_window/window_placement.h"
#include "features/filter_window/window_refresh.h"
#include "features/filter_window/window_setting.h"

#include <windows.h>

#include <memory>
#include <vector>

// The open filter windows of the process, in the order they were opened, and their owner:
// opens and places windows, broadcasts to them, refreshes all of them from one timer and one
// screen copy a tick, keeps their records in the profile and their number in the application
// state.
class CWindowCollection : public IFilterWindowOwner {
public:
    // Opens a window for the record, or for the profile's default record when there is none.
    // When the application state refuses (the limit, the filter setting dialog), nothing opens
    // and the answer is still true; false only when the window could not be created.
    bool OpenFilterWindow(const CWindowSetting* setting);
    int GetCount() const { return static_cast<int>(m_windows.size()); }
    const std::vector<CFilterWnd*>& GetWindows() const { return m_windows; }

    // Asks every window to close; each leaves the collection when it is destroyed.
    void CloseAllWindows();
    // With windows open, their records replace the profile's stored list.
    void SaveAllWindowStatus();
    // With a stored list, replaces every open window by the list's windows.
    void RestoreAllWindowStatus();
    // Destroys every window now, each storing its record as a normal close does (at exit).
    void DestroyAllWindows();
    // Stores in the profile what destroying every window would store, leaving them open (the
    // end of the log-on session, which may be cancelled).
    void StoreLastRecord();

    // Where the next window goes; tests start each case from a fresh cascade.
    CWindowCascade& GetCascade() { return m_cascade; }

    // One refresh tick of every listed window, as the timer gives it.
    void RefreshTick();
    const CWindowRefresh& GetRefresh() { return Refresh(); }
    // Where the shared screen copies come from (GDI unless a test says otherwise); only while
    // no window is open.
    void SetScreenSourceForTesting(IScreenSource* source);

    // IFilterWindowOwner
    FilterWindowOptions GetFilterWindowOptions() const override;
    void PostToAllWindows(UINT message, WPARAM value) override;
    void OnHighlightChosen(bool on) override;
    void OpenTwin(const CWindowSetting& record) override;
    void OnWindowDestroyed(const CFilterWnd* window, const CWindowSetting& record) override;
    bool GetPointer(IntPoint& point) const override;
    bool IsShiftDown() const override;

private:
    // The application state counts the windows with the list.
    void ReportCountToState();
    CWindowRefresh& Refresh();
    // The timer runs while a window is refreshed.
    void UpdateTimer();

    std::vector<CFilterWnd*> m_windows;
    CWindowCascade m_cascade;
    IScreenSource* m_screenForTesting = nullptr;
    std::unique_ptr<CWindowRefresh> m_refresh;
    UINT_PTR m_timer = 0;
    // Read once at the start of a refresh tick, for every window's part of it.
    struct TickInput {
        bool valid = false;
        bool pointerRead = false;
        IntPoint pointer;
        bool shift = false;
    } m_tickInput;
};

CWindowCollection& GetWindowCollection();
