#pragma once

#include <array>

// What the program has open, and the rules about what may open while it is. The one place that
// knows: the tray menu, the main frame's commands and hot keys, the window collection and the
// views all ask here, and nothing else keeps such a flag.

// What opens and closes under the rules. The setting dialogs and the views are open from before
// their window exists until after it is gone, so that a request arriving in between (from a
// message box's or a dialog's own loop) finds them.
enum class AppPart {
    AboutBox,
    GeneralSetting,
    FilterSetting,
    DesktopView,
    QuickView,
    FilterWindow
};

// What a request to open a part gets.
enum class OpenAnswer { Open, BringForward, Refuse };

// Which tray menu items are offered. Restore, Save, Close all window, About and Exit always are.
struct TrayMenuState {
    bool desktopView = true;
    bool quickView = true;
    bool openNewWindow = true;
    bool filterSetting = true;
    bool generalSetting = true;

    bool operator==(const TrayMenuState&) const = default;
};

class CAppState {
public:
    static constexpr int kMaxFilterWindows = 20;

    // The About box, a setting dialog or a view opened or closed. (Filter windows are counted.)
    void SetOpen(AppPart part, bool open);
    bool IsOpen(AppPart part) const {
        return part == AppPart::FilterWindow ? m_filterWindows > 0
                                             : m_open[static_cast<std::size_t>(part)];
    }
    void SetFilterWindowCount(int count) { m_filterWindows = count; }
    int GetFilterWindowCount() const { return m_filterWindows; }

    // Set once the program has begun to end (Exit, or the end of the log-on session), never
    // cleared: hot keys are not registered again after it.
    void SetEnding() { m_ending = true; }
    bool IsEnding() const { return m_ending; }

    // May this open now? An About box, setting dialog or desktop view already open comes
    // forward instead.
    OpenAnswer Ask(AppPart part) const;
    TrayMenuState GetTrayMenuState() const;

    bool IsSettingOpen() const {
        return IsOpen(AppPart::GeneralSetting) || IsOpen(AppPart::FilterSetting);
    }
    bool IsViewOpen() const { return IsOpen(AppPart::DesktopView) || IsOpen(AppPart::QuickView); }

private:
    std::array<bool, 5> m_open{}; // by part, the filter windows aside
    int m_filterWindows = 0;
    bool m_ending = false;
};

// The process's state.
CAppState& GetAppState();

// Marks a part open for the guard's life.
class CScopedOpen {
public:
    CScopedOpen(CAppState& state, AppPart part) : m_state(state), m_part(part) {
        m_state.SetOpen(m_part, true);
    }
    ~CScopedOpen() { m_state.SetOpen(m_part, false); }
    CScopedOpen(const CScopedOpen&) = delete;
    CScopedOpen& operator=(const CScopedOpen&) = delete;

private:
    CAppState& m_state;
    AppPart m_part;
};
