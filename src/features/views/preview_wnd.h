#pragma once

#include "engine/image/capture_image.h"
#include "engine/image/look_alike.h"
#include "features/views/filter_panel.h"
#include "features/views/preview_state.h"
#include "platform/geometry.h"
#include "platform/window.h"

#include <cstdint>

// The general settings a view reads, as the application hands them over at each opening and
// when they change.
struct PreviewOptions {
    std::uint32_t quickWaitingTime = 1000; // milliseconds
    int blurRadius = 0;                    // 0: none
    bool fitPanelHeight = true;            // the panel's list fits the enabled filters
    IntRect panelRect = kDefaultPanelRect; // where the panel opens
    double lookAlikeDistance = kDefaultLookAlikeDistance; // CIEDE2000
    bool allMonitors = false; // every monitor, not only the one under the pointer
};

// What a view tells the application that owns it.
class IPreviewOwner {
public:
    virtual ~IPreviewOwner() = default;
    // Where the user left the desktop view's panel, as it closes (or now, on request).
    virtual void StorePanelRect(const IntRect& rect) = 0;
    // The view's window is gone (or never came).
    virtual void OnPreviewClosed() = 0;
};

// The full-screen snapshot of quick and desktop mode: a topmost borderless window over the
// monitor under the pointer (or one window spanning every monitor) showing the screen as it was
// when the view opened, through a filter. One object serves every opening of the run; its
// capture buffers are kept between openings.
class CPreviewWnd : public Window<CPreviewWnd> {
public:
    static constexpr const char* kClassName = "ZezirivPreviewWnd";
    static constexpr UINT_PTR kTimerId = 100;
    static constexpr UINT kTimerPeriod = 100;

    // The source, the filters and the owner must outlive the window object.
    CPreviewWnd(IScreenSource& source, const CFilterManager& filters, IPreviewOwner& owner);
    ~CPreviewWnd();

    // A palette display cannot show the filtered colours.
    static bool CanShowFilteredColours();

    // Creates the view with the enabled filter at `index` (quick) or the panel (desktop).
    // False when it cannot: the window is open already, the index names no enabled filter, or
    // the window or the panel cannot be created.
    bool Open(PreviewMode mode, int index, const PreviewOptions& options);
    // The desktop view's panel to the foreground; false without one.
    bool BringPanelForward();
    void SetOptions(const PreviewOptions& options) { m_options = options; }
    // Hands the panel's rectangle to the owner, if the panel is up.
    void StorePanelRect() { m_panel.StoreRect(); }
    // Ends the view at once, without the round through the message queue (program end).
    void Destroy();

    // The desktop view's panel window, or null.
    HWND GetPanelWindow() const { return m_panel.GetHwnd(); }
    // The screen rectangle the open view covers.
    const IntRect& GetViewRect() const { return m_viewRect; }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

private:
    bool OnCreate();
    void OnDestroy();
    void OnPaint();
    void OnClose();
    void Perform(const PreviewStep& step, bool redraw);
    // The snapshot through the filter shown, blurred, and with look-alikes highlighted while
    // that is on and a pixel was clicked.
    void ShowPicture();
    void Redraw();
    // Desktop view: the clicked pixel's filtered colour becomes the reference.
    void OnLeftButtonDown(LPARAM point);
    void SetHighlight(bool on);
    void CloseByProgram();
    IntRect ViewRectNow() const;
    void OnDisplayChange();
    void RecaptureAfterDisplayChange();

    const CFilterManager& m_filters;
    IPreviewOwner& m_owner;
    CCaptureImage m_image;
    PreviewOptions m_options;
    IntRect m_viewRect;
    // Set while the view is hidden after the monitors changed, until its new rectangle is
    // copied on the next tick.
    bool m_recapturePending = false;
    // The view or its panel had the keyboard when they were hidden for that copy.
    bool m_refocusAfterRecapture = false;
    // What the picture was last filtered through (null: unfiltered).
    const CFilter* m_shownFilter = nullptr;
    int m_initialIndex = 0;
    CFilterPanel m_panel;
    UINT_PTR m_timer = 0;
    CPreviewState m_state;
    PreviewMode m_mode = PREVIEW_DESKTOP;
    bool m_highlight = false;
    bool m_hasReference = false;
    IntPoint m_referencePoint;
    CLookAlikeMask m_lookAlikes;
};
