#pragma once

#include "features/filter_window/filter_window_model.h"
#include "features/filter_window/window_setting.h"
#include "platform/window.h"

class CFilterWnd;

// What a filter window asks of the application that owns it.
class IFilterWindowOwner {
public:
    virtual ~IFilterWindowOwner() = default;
    // The general settings as they are now: taken when the window opens and when it is told
    // that they changed.
    virtual FilterWindowOptions GetFilterWindowOptions() const = 0;
    // A window command for every open window (this one too), as its private message.
    virtual void PostToAllWindows(UINT message, WPARAM value) = 0;
    // Look-alike highlighting was turned on or off in a window: the next window's start.
    virtual void OnHighlightChosen(bool on) = 0;
    // Ctrl+N: a new window from this window's record, one caption further on.
    virtual void OpenTwin(const CWindowSetting& record) = 0;
    // The window is being destroyed, leaving its record.
    virtual void OnWindowDestroyed(const CFilterWnd* window, const CWindowSetting& record) = 0;
    // The pointer and Shift as every window reads them: read once for all windows during a
    // refresh tick. False when the pointer cannot be read.
    virtual bool GetPointer(IntPoint& point) const = 0;
    virtual bool IsShiftDown() const = 0;
};

// A filter window: the screen around the mouse pointer (or a fixed point) through a filter,
// magnified or reduced, with an optional status bar that names the colour under the reference
// pixel. A thin Win32 view over CFilterWindowModel, whose refresh ticks its owner drives for
// every window at once (CWindowRefresh). It owns itself: the object is deleted after its
// window's last message.
class CFilterWnd : public Window<CFilterWnd>, private IFilterWindowHost {
public:
    static constexpr const char* kClassName = "ZezirivFilterWnd";
    static constexpr int kStatusbarId = 1;

    // Creates the window for the record at the placement, showing the manager's enabled filters;
    // null when creation fails (the object is gone then too). The owner and the manager must
    // outlive the window.
    static CFilterWnd* Open(IFilterWindowOwner& owner, const CFilterManager& filters,
                            const CWindowSetting& setting, const IntRect& placement, DWORD exStyle);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

    CWindowSetting GetWindowSetting() const;
    // Puts the filtered (or original) colour of the reference pixel on the clipboard in the
    // user's copy template; nothing when the clipboard cannot be had.
    void CopyColorToClipboard(bool original);
    // The context menu last shown; null before the first.
    HMENU GetContextMenu() const { return m_contextMenu; }
    const CFilterWindowModel& GetModel() const { return m_model; }
    // The owner's refresh drives the model's ticks.
    CFilterWindowModel& GetModel() { return m_model; }

    // Makes status bar creation fail, as an exhausted system would.
    static void SetFailStatusbarForTesting(bool fail);

private:
    CFilterWnd(IFilterWindowOwner& owner, const CFilterManager& filters,
               const CWindowSetting& setting);
    ~CFilterWnd() override;

    bool OnCreate();
    void OnDestroy();
    void OnClose();
    void OnPaint();
    void OnSize(WPARAM type, LPARAM size);

    void OnKeyDown(WPARAM key, LPARAM flags, UINT msg);
    void OnCommand(UINT id);
    void OnLeftButtonDown();
    void OnMouseMove();
    void OnLeftButtonUp();
    void OnLeftDoubleClick();
    void ShowContextMenu(bool atCursor);
    void OpenNewWindow();
    bool IsCursorOutsideWindow() const;

    // A window command (WM_APP_SET_ZOOM ... WM_APP_SET_STATUSBAR) from a key, a menu item or
    // the mouse: applied to this window at once, or (Ctrl) posted to every window as its
    // message, the way another program would send it.
    void Command(UINT command, WPARAM value, bool allWindows);
    // Where every window command ends, the posted message too.
    void ApplyCommand(UINT command, WPARAM value);
    void SetShowStatusbar(bool on);

    bool CreateStatusbar();
    void DestroyStatusbar();
    // The parts for the dpi of the window's monitor (0: ask the system).
    void LayoutStatusbar(int dpi = 0);
    // The window came onto a monitor of another dpi: the bar's font and parts for that dpi,
    // then the rectangle the system suggests.
    void OnDpiChanged(int dpi, const RECT& suggested);
    IntRect GetRestoredWindowRect() const;

    // IFilterWindowHost
    bool IsMinimized() const override;
    bool GetCursorPosition(IntPoint& point) const override;
    PixelSize GetPictureArea() const override;
    bool IsShiftDown() const override;
    void SetStatusText(int part, const std::string& text) override;
    void InvalidatePicture() override;
    void SetTitle(const std::string& title) override;

    IFilterWindowOwner& m_owner;
    const CFilterManager& m_filters;
    FilterWindowOptions m_options;
    CFilterWindowModel m_model;
    CWindowSetting m_setting;
    HWND m_statusbar = nullptr;
    // The bar's font on a monitor whose dpi is not the system's (null: the bar's own font).
    HFONT m_statusbarFont = nullptr;
    HMENU m_contextMenu = nullptr;
    bool m_dragging = false;
    bool m_closeRequested = false;
    // Set once the window exists; until then the object belongs to Open, and a window whose
    // creation failed stores nothing.
    bool m_created = false;
    bool m_trackingMenu = false;
};
