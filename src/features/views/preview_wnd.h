#pragma once

#include "engine/image/capture_image.h"
#include "features/views/filter_panel.h"
#include "features/views/preview_requests.h"
#include "features/views/preview_state.h"
#include "platform/window.h"

// The full-screen snapshot of quick and desktop mode: a topmost borderless window over the
// primary screen showing the screen as it was when the view opened, through a filter. One
// object serves every opening of the run; its capture buffers are kept between openings.
class CPreviewWnd : public Window<CPreviewWnd> {
public:
    static constexpr const char* kClassName = "ZezirivPreviewWnd";
    static constexpr UINT_PTR kTimerId = 100;
    static constexpr UINT kTimerPeriod = 100;

    // The source must outlive the window object.
    explicit CPreviewWnd(IScreenSource& source);
    ~CPreviewWnd();

    // Creates the view unless one is alive (then a desktop request only brings its panel
    // forward). False when nothing was opened or brought forward.
    bool Open(PreviewMode mode, int index);
    // Ends the view at once, without the round through the message queue (program end).
    void Destroy();

    // Also while the window is being created: a message box shown during its creation runs a
    // loop in which a second opening must be refused.
    bool IsAlive() const { return m_alive || m_opening; }
    // The desktop view's panel window, or null.
    HWND GetPanelWindow() const { return m_panel.GetHwnd(); }
    CFilterPanel& GetPanel() { return m_panel; }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

private:
    bool OnCreate();
    void OnDestroy();
    void OnPaint();
    void OnClose();
    void Perform(const PreviewStep& step, bool redraw);
    void CloseByProgram();

    CCaptureImage m_image;
    bool m_alive = false;
    bool m_opening = false;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    int m_initialIndex = 0;
    CFilterPanel m_panel;
    UINT_PTR m_timer = 0;
    CPreviewState m_state;
    PreviewMode m_mode = PREVIEW_DESKTOP;
};

// The run's one preview, over the GDI screen.
CPreviewWnd& GetPreviewWnd();
