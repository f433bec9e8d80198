#pragma once

#include "features/filter_window/filter_window_model.h"
#include "features/filter_window/window_setting.h"
#include "platform/window.h"

// A filter window: the screen around the mouse pointer (or a fixed point) through a filter,
// magnified or reduced, with an optional status bar that names the colour under the reference
// pixel. A thin Win32 view over CFilterWindowModel. It owns itself: the object is deleted after
// its window's last message.
class CFilterWnd : public Window<CFilterWnd>, private IFilterWindowHost {
public:
    static constexpr const char* kClassName = "ZezirivFilterWnd";
    static constexpr UINT_PTR kRefreshTimerId = 100;
    static constexpr UINT kRefreshMilliseconds = 50;
    static constexpr int kStatusbarId = 1;

    // Creates the window for the record at the placement; null when creation fails (the object
    // is gone then too).
    static CFilterWnd* Open(HINSTANCE instance, const CWindowSetting& setting,
                            bool fromGivenSetting, const IntRect& placement, DWORD exStyle);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

    // The operations behind the window's commands; each also arrives as a private message.
    void SetZoom(int zoom);
    void SetMarkCenter(bool on);
    void SetTopmost(bool on);
    void SetFixPosition(bool on);
    void SetShowStatusbar(bool on);
    void SelectFilter(int index);
    CWindowSetting GetWindowSetting() const;
    // Puts the filtered (or original) colour of the reference pixel on the clipboard in the
    // user's copy template; nothing when the clipboard cannot be had.
    void CopyColorToClipboard(bool original);
    // The context menu last shown; null before the first.
    HMENU GetContextMenu() const { return m_contextMenu; }

    // Restore replaces every window: its destruction then stores nothing and leaves the
    // collection alone.
    void SetKeepNoSetting() { m_keepNoSetting = true; }
    bool IsFromGivenSetting() const { return m_fromGivenSetting; }
    const CFilterWindowModel& GetModel() const { return m_model; }

    // Makes status bar creation fail, as an exhausted system would.
    static void SetFailStatusbarForTesting(bool fail);

private:
    CFilterWnd(const CWindowSetting& setting, bool fromGivenSetting);
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
    void SelectFilterByKey(int index);
    bool IsCursorOutsideWindow() const;

    bool CreateStatusbar();
    void DestroyStatusbar();
    void LayoutStatusbar();
    IntRect GetRestoredWindowRect() const;

    // IFilterWindowHost
    bool IsMinimized() const override;
    bool GetCursorPosition(IntPoint& point) const override;
    PixelSize GetPictureArea() const override;
    bool IsShiftDown() const override;
    void SetStatusText(int part, const std::string& text) override;
    void InvalidatePicture() override;
    void SetTitle(const std::string& title) override;

    FilterWindowOptions m_options;
    CFilterWindowModel m_model;
    CWindowSetting m_setting;
    bool m_fromGivenSetting = false;
    HWND m_statusbar = nullptr;
    HMENU m_contextMenu = nullptr;
    bool m_dragging = false;
    UINT_PTR m_timer = 0;
    bool m_closeRequested = false;
    bool m_keepNoSetting = false;
    // Set once the window exists; until then the object belongs to Open, and a window whose
    // creation failed stores nothing.
    bool m_created = false;
    bool m_trackingMenu = false;
};
