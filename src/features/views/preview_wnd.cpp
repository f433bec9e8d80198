#include "features/views/preview_wnd.h"

#include "engine/filter/filter_manager.h"
#include "features/app_messages.h"
#include "platform/monitor_layout.h"
#include "platform/resource_modules.h"
#include "platform/utilities.h"
#include "resource.h"

namespace {

constexpr DWORD kPreviewStyle = WS_POPUP | WS_VISIBLE;
// Topmost, and a tool window so that it gets no taskbar button.
constexpr DWORD kPreviewExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

int ScreenBitsPerPixel() {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    if (dc == nullptr) {
        return 0;
    }
    const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    ReleaseDC(desktop, dc);
    return bits;
}

} // namespace

CPreviewWnd::CPreviewWnd(IScreenSource& source, const CFilterManager& filters, IPreviewOwner& owner)
    : m_filters(filters), m_owner(owner), m_image(source, filters.GetImageQuality()),
      m_state(filters) {}

CPreviewWnd::~CPreviewWnd() {
    Destroy();
}

bool CPreviewWnd::CanShowFilteredColours() {
    return ScreenBitsPerPixel() > 8;
}

bool CPreviewWnd::Open(PreviewMode mode, int index, const PreviewOptions& options) {
    if (GetHwnd() != nullptr ||
        (mode == PREVIEW_QUICK && (index < 0 || index >= m_filters.GetEnabledCount()))) {
        return false;
    }
    const HINSTANCE instance = GetExecutableModule();
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEZIRIV));
    if (!RegisterWindowClass(instance, kClassName, icon, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                             CS_DBLCLKS)) {
        return false;
    }
    m_mode = mode;
    m_initialIndex = mode == PREVIEW_QUICK ? index : 0;
    m_highlight = false;
    m_hasReference = false;
    // The filters may have been built again since the last view, in the same memory.
    m_lookAlikes.Forget();
    m_shownFilter = nullptr;
    m_options = options;
    // Covers exactly the captured rectangle, since painting copies the image at the window's
    // own coordinates.
    m_viewRect = ViewRectNow();
    m_recapturePending = false;
    m_refocusAfterRecapture = false;
    if (CreateWindowObject(kPreviewExStyle, kClassName, "Zeziriv", kPreviewStyle, m_viewRect.left,
                           m_viewRect.top, m_viewRect.right - m_viewRect.left,
                           m_viewRect.bottom - m_viewRect.top, nullptr, instance) == nullptr) {
        return false;
    }
    return mode == PREVIEW_QUICK || BringPanelForward();
}

IntRect CPreviewWnd::ViewRectNow() const {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) {
        cursor = {0, 0};
    }
    const IntRect rect = ComputeViewRect(GetSystemMonitorLayout(), IntPoint{cursor.x, cursor.y},
                                         m_options.allMonitors);
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return rect;
}

void CPreviewWnd::OnDisplayChange() {
    // The monitor the view stood on may be gone or of another size: the view moves to the
    // monitor nearest where it stood (or around every monitor), hidden with its panel until
    // that is copied (so the copy holds neither), rather than show the old picture at the wrong
    // place. The panel comes onto the view's monitor.
    const MonitorLayout layout = GetSystemMonitorLayout();
    const MonitorInfo* nearest = NearestMonitor(layout, m_viewRect);
    const IntRect rect = m_options.allMonitors ? VirtualScreen(layout)
                         : nearest != nullptr  ? nearest->rect
                                               : IntRect{};
    m_viewRect = rect.right > rect.left && rect.bottom > rect.top ? rect : ViewRectNow();
    // Hiding takes the keyboard away; it comes back with the picture.
    const HWND foreground = GetForegroundWindow();
    m_refocusAfterRecapture =
        foreground != nullptr && (foreground == GetHwnd() || foreground == m_panel.GetHwnd());
    ShowWindow(GetHwnd(), SW_HIDE);
    if (HWND panel = m_panel.GetHwnd()) {
        ShowWindow(panel, SW_HIDE);
    }
    SetWindowPos(GetHwnd(), nullptr, m_viewRect.left, m_viewRect.top,
                 m_viewRect.right - m_viewRect.left, m_viewRect.bottom - m_viewRect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_recapturePending = true;
    if (HWND panel = m_panel.GetHwnd()) {
        RECT rc{};
        if (GetWindowRect(panel, &rc)) {
            const IntRect stored{rc.left, rc.top, rc.right, rc.bottom};
            const IntRect fitted = FitPanelRect(
                stored, ComputePanelMonitor(layout, m_viewRect, m_options.allMonitors, stored));
            SetWindowPos(panel, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                         fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CPreviewWnd::RecaptureAfterDisplayChange() {
    // A tick after the view was hidden, the windows below have drawn themselves again.
    m_recapturePending = false;
    if (!m_image.Capture(m_viewRect.left, m_viewRect.top, m_viewRect.right - m_viewRect.left,
                         m_viewRect.bottom - m_viewRect.top)) {
        m_image.Release();
    }
    // The clicked pixel was a pixel of the picture before the monitors changed.
    m_hasReference = false;
    m_highlight = false;
    m_panel.SetHighlightChecked(false);
    PreviewStep again;
    again.show = true;
    again.filter = m_shownFilter;
    Perform(again, false);
    ShowWindow(GetHwnd(), SW_SHOWNA);
    RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
    if (HWND panel = m_panel.GetHwnd()) {
        SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    if (m_refocusAfterRecapture) {
        m_refocusAfterRecapture = false;
        if (m_mode == PREVIEW_DESKTOP) {
            BringPanelForward();
        } else {
            ForceForeground(GetHwnd());
        }
    }
}

bool CPreviewWnd::BringPanelForward() {
    // Not while the panel is still being made (a message box of its creation runs a loop).
    if (!m_panel.IsReady()) {
        return false;
    }
    ForceForeground(m_panel.GetHwnd());
    return true;
}

void CPreviewWnd::Destroy() {
    if (GetHwnd() != nullptr) {
        DestroyWindow(GetHwnd());
    }
}

bool CPreviewWnd::OnCreate() {
    // The screen is copied before the window first shows, so the view never sees itself.
    if (!m_image.Capture(m_viewRect.left, m_viewRect.top, m_viewRect.right - m_viewRect.left,
                         m_viewRect.bottom - m_viewRect.top)) {
        // No copy of this screen: the view shows an empty image rather than an older screen
        // kept from a previous opening.
        m_image.Release();
    }
    Perform(m_state.Begin(m_mode, m_initialIndex), false);
    if (m_mode == PREVIEW_DESKTOP &&
        !m_panel.Create(GetHwnd(), m_filters, m_options.panelRect,
                        ComputePanelMonitor(GetSystemMonitorLayout(), m_viewRect,
                                            m_options.allMonitors, m_options.panelRect),
                        m_options.fitPanelHeight,
                        [this](const IntRect& rect) { m_owner.StorePanelRect(rect); })) {
        return false;
    }
    m_timer = SetTimer(GetHwnd(), kTimerId, kTimerPeriod, nullptr);
    return true;
}

void CPreviewWnd::OnDestroy() {
    if (m_timer != 0) {
        KillTimer(GetHwnd(), kTimerId);
        m_timer = 0;
    }
    // Owned windows would go with the owner anyway; the panel goes first, explicitly, so its
    // rectangle is stored whatever order the platform chooses.
    m_panel.Destroy();
}

void CPreviewWnd::OnFinalMessage() {
    m_owner.OnPreviewClosed();
}

void CPreviewWnd::Perform(const PreviewStep& step, bool redraw) {
    if (step.show) {
        m_shownFilter = step.filter;
        ShowPicture();
        if (redraw) {
            Redraw();
        }
    }
    if (step.close && GetHwnd() != nullptr) {
        PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
    }
}

void CPreviewWnd::ShowPicture() {
    m_image.ApplyFilter(m_shownFilter);
    if (m_shownFilter != nullptr) {
        m_image.Blur(m_options.blurRadius);
    }
    if (m_highlight && m_hasReference) {
        const double distance = IsValidLookAlikeDistance(m_options.lookAlikeDistance)
                                    ? m_options.lookAlikeDistance
                                    : kDefaultLookAlikeDistance;
        m_image.HighlightLookAlikes(m_shownFilter, m_referencePoint.x, m_referencePoint.y, distance,
                                    m_lookAlikes);
    }
}

void CPreviewWnd::Redraw() {
    if (GetHwnd() != nullptr) {
        RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
    }
}

void CPreviewWnd::OnLeftButtonDown(LPARAM point) {
    if (m_mode != PREVIEW_DESKTOP || m_state.IsClosing()) {
        return;
    }
    // The window covers the snapshot from its top-left corner: client and image coordinates
    // are the same.
    m_referencePoint = {static_cast<int>(static_cast<short>(LOWORD(point))),
                        static_cast<int>(static_cast<short>(HIWORD(point)))};
    m_hasReference = true;
    m_panel.SetHighlightChecked(true);
    SetHighlight(true);
}

void CPreviewWnd::SetHighlight(bool on) {
    m_highlight = on;
    ShowPicture();
    Redraw();
}

void CPreviewWnd::CloseByProgram() {
    m_state.DecideClose();
    PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
}

void CPreviewWnd::OnClose() {
    // A close the program decided arrives with the flag set and ends the window; any other
    // (the platform's close keys, the panel) goes once more round the queue first.
    if (!m_state.IsClosing()) {
        CloseByProgram();
        return;
    }
    DestroyWindow(GetHwnd());
}

void CPreviewWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetHwnd(), &ps);
    if (dc != nullptr) {
        const RECT& damaged = ps.rcPaint;
        const int width = damaged.right - damaged.left;
        const int height = damaged.bottom - damaged.top;
        HDC image = m_image.GetSurface();
        if (image != nullptr) {
            BitBlt(dc, damaged.left, damaged.top, width, height, image, damaged.left, damaged.top,
                   SRCCOPY);
        } else {
            FillRect(dc, &damaged, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    }
    EndPaint(GetHwnd(), &ps);
}

LRESULT CPreviewWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            CloseByProgram();
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        CloseByProgram();
        return 0;
    case WM_MOUSEACTIVATE:
        if (m_mode == PREVIEW_DESKTOP) {
            // The image is only a backdrop: a click on it hands the focus to the panel.
            if (HWND panel = m_panel.GetHwnd()) {
                ForceForeground(panel);
            }
            return MA_NOACTIVATE;
        }
        return MA_ACTIVATE;
    case WM_SETFOCUS:
    case WM_IME_SETCONTEXT:
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        if (wParam == kTimerId) {
            if (m_recapturePending) {
                RecaptureAfterDisplayChange();
            }
            Perform(m_state.Tick(m_options.quickWaitingTime), true);
        }
        return 0;
    case WM_DPICHANGED:
        // The view covers its monitor in physical pixels whatever the monitor's scale: the
        // rectangle the system suggests for the new scale is not taken.
        return 0;
    case WM_DISPLAYCHANGE:
        OnDisplayChange();
        break;
    case WM_APP_SELECT_FILTER:
        Perform(m_state.Select(static_cast<int>(wParam)), true);
        return 0;
    case WM_APP_SET_HIGHLIGHT:
        SetHighlight(wParam != 0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}
