#include "features/filter_window/filter_wnd.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/gdi_screen_source.h"
#include "features/app_messages.h"
#include "features/filter_window/copy_color_format.h"
#include "features/filter_window/filter_window_commands.h"
#include "platform/monitor_layout.h"
#include "platform/resource_modules.h"
#include "platform/utilities.h"
#include "resource.h"

#include <commctrl.h>

namespace {

bool g_failStatusbarForTesting = false;

// The style of every filter window: pop-up with caption, system menu, sizing border and
// minimise box, visible.
constexpr DWORD kFilterWindowStyle =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

// Position of the submenus in the context menu's popup.
constexpr int kFilterSubmenu = 0;
constexpr int kZoomSubmenu = 1;
constexpr int kMarkItem = 2;
constexpr int kHighlightItem = 3;
constexpr int kFixItem = 4;
constexpr int kViewSubmenu = 6;

// For mouse and menu commands Ctrl counts as it is now; for keys, as it was with the key.
bool IsCtrlDownNow() {
    return GetAsyncKeyState(VK_CONTROL) < 0;
}

void CheckItem(HMENU menu, UINT item, bool checked) {
    CheckMenuItem(menu, item, MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

void CFilterWnd::SetFailStatusbarForTesting(bool fail) {
    g_failStatusbarForTesting = fail;
}

CFilterWnd::CFilterWnd(IFilterWindowOwner& owner, const CFilterManager& filters,
                       const CWindowSetting& setting)
    : m_owner(owner), m_filters(filters), m_options(owner.GetFilterWindowOptions()),
      m_model(*this, GetGdiScreenSource(), filters, m_options), m_setting(setting) {}

CFilterWnd::~CFilterWnd() {
    // The bar that used it went with the window.
    if (m_statusbarFont != nullptr) {
        DeleteObject(m_statusbarFont);
    }
}

CFilterWnd* CFilterWnd::Open(IFilterWindowOwner& owner, const CFilterManager& filters,
                             const CWindowSetting& setting, const IntRect& placement,
                             DWORD exStyle) {
    const HINSTANCE instance = GetExecutableModule();
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEZIRIV));
    if (!RegisterWindowClass(instance, kClassName, icon, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                             CS_DBLCLKS)) {
        return nullptr;
    }
    auto* window = new CFilterWnd(owner, filters, setting);
    const HWND hwnd = window->CreateWindowObject(
        exStyle, kClassName, "Zeziriv", kFilterWindowStyle, placement.left, placement.top,
        placement.right - placement.left, placement.bottom - placement.top, nullptr, instance);
    if (hwnd == nullptr) {
        // Until it exists the object is this function's: a failed creation's last message did
        // not delete it.
        delete window;
        return nullptr;
    }
    window->m_created = true;
    return window;
}

void CFilterWnd::OnFinalMessage() {
    if (m_created) {
        delete this;
    }
}

bool CFilterWnd::OnCreate() {
    // On a monitor of another dpi than the system's the bar's own font is made for that dpi
    // (none is made at the system's).
    m_statusbarFont = CreateStatusFontForDpi(GetWindowDpi(GetHwnd()));
    m_model.Load(m_setting);
    if (m_model.IsShowStatusbar() && !CreateStatusbar()) {
        return false;
    }
    m_model.Start();
    m_closeRequested = false;
    return true;
}

void CFilterWnd::OnClose() {
    // The first request only lets the messages already queued be handled first.
    if (!m_closeRequested) {
        m_closeRequested = true;
        PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
        return;
    }
    DestroyWindow(GetHwnd());
}

void CFilterWnd::OnDestroy() {
    if (m_trackingMenu) {
        // Destroyed from inside its own menu's loop: the menu ends, and the code that showed
        // it destroys it once the loop has returned.
        EndMenu();
    } else if (m_contextMenu != nullptr) {
        DestroyMenu(m_contextMenu);
    }
    m_contextMenu = nullptr;
    if (m_created) {
        m_owner.OnWindowDestroyed(this, GetWindowSetting());
    }
}

bool CFilterWnd::CreateStatusbar() {
    if (m_statusbar != nullptr) {
        return true;
    }
    if (g_failStatusbarForTesting) {
        return false;
    }
    m_statusbar = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, GetHwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusbarId)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(GetHwnd(), GWLP_HINSTANCE)), nullptr);
    if (m_statusbar == nullptr) {
        return false;
    }
    if (m_statusbarFont != nullptr) {
        SendMessageA(m_statusbar, WM_SETFONT, reinterpret_cast<WPARAM>(m_statusbarFont), FALSE);
    }
    // The bar places itself at the bottom when it sees its parent's size.
    SendMessageA(m_statusbar, WM_SIZE, 0, 0);
    LayoutStatusbar();
    return true;
}

void CFilterWnd::DestroyStatusbar() {
    if (m_statusbar != nullptr) {
        DestroyWindow(m_statusbar);
        m_statusbar = nullptr;
    }
}

void CFilterWnd::LayoutStatusbar(int dpi) {
    if (m_statusbar == nullptr) {
        return;
    }
    const std::vector<int> edges =
        m_model.GetStatusbarEdges(dpi > 0 ? UsableDpi(dpi) : GetWindowDpi(GetHwnd()));
    SendMessageA(m_statusbar, SB_SETPARTS, static_cast<WPARAM>(edges.size()),
                 reinterpret_cast<LPARAM>(edges.data()));
    m_model.ResetShownValues();
}

void CFilterWnd::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi = UsableDpi(dpi);
    // Measured before the window moves, so the size message it brings lays out the new bar.
    HFONT font = CreateStatusFontForDpi(dpi);
    if (m_statusbar != nullptr) {
        SendMessageA(m_statusbar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (m_statusbarFont != nullptr) {
        DeleteObject(m_statusbarFont);
    }
    m_statusbarFont = font;
    LayoutStatusbar(dpi);
    SetWindowPos(GetHwnd(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_statusbar != nullptr) {
        SendMessageA(m_statusbar, WM_SIZE, 0, 0);
    }
    m_model.RequestRecapture();
}

void CFilterWnd::OnSize(WPARAM type, LPARAM size) {
    if (m_model.IsShowStatusbar() && m_statusbar != nullptr) {
        SendMessageA(m_statusbar, WM_SIZE, type, size);
    }
    m_model.RequestRecapture();
}

void CFilterWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetHwnd(), &ps);
    if (dc == nullptr) {
        return;
    }
    const CCaptureImage& image = m_model.GetCaptureImage();
    if (!IsIconic(GetHwnd())) {
        const PixelSize area = GetPictureArea();
        IntersectClipRect(dc, 0, 0, area.width, area.height);
        if (image.IsEmpty()) {
            // Nothing captured yet (or the last capture failed at a new size): black rather
            // than whatever the screen held there.
            const RECT all{0, 0, area.width, area.height};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        } else {
            const int zoom = m_model.GetZoom();
            const StretchPlan plan = ComputeStretch(image.GetWidth(), image.GetHeight(), zoom);
            SetStretchBltMode(dc, plan.averaged ? HALFTONE : BLACKONWHITE);
            if (plan.averaged) {
                SetBrushOrgEx(dc, 0, 0, nullptr);
            }
            StretchBlt(dc, 0, 0, plan.width, plan.height, image.GetSurface(), 0, 0,
                       image.GetWidth(), image.GetHeight(), SRCCOPY);
            if (const auto mark =
                    ComputeCenterMark(image.GetWidth(), image.GetHeight(), zoom,
                                      m_model.IsMarkCenter(), m_model.IsLeftTopOrigin())) {
                HPEN pen = CreatePen(PS_SOLID, 1, kCenterMarkColor);
                if (pen != nullptr) {
                    HGDIOBJ oldPen = SelectObject(dc, pen);
                    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
                    Rectangle(dc, mark->outline.left, mark->outline.top, mark->outline.right,
                              mark->outline.bottom);
                    for (const IntPoint& corner : mark->corners) {
                        SetPixel(dc, corner.x, corner.y, kCenterMarkCornerColor);
                    }
                    SelectObject(dc, oldBrush);
                    SelectObject(dc, oldPen);
                    DeleteObject(pen);
                }
            }
        }
    }
    EndPaint(GetHwnd(), &ps);
}

void CFilterWnd::Command(UINT command, WPARAM value, bool allWindows) {
    if (allWindows) {
        m_owner.PostToAllWindows(command, value);
    } else {
        ApplyCommand(command, value);
    }
}

void CFilterWnd::ApplyCommand(UINT command, WPARAM value) {
    switch (command) {
    case WM_APP_SET_ZOOM:
        m_model.SetZoom(static_cast<int>(static_cast<INT_PTR>(value)));
        return;
    case WM_APP_SET_MARK:
        m_model.SetMarkCenter(value != 0);
        return;
    case WM_APP_SET_TOPMOST:
        m_model.SetTopmostFlag(value != 0);
        SetWindowPos(GetHwnd(), value != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    case WM_APP_SET_FIX:
        m_model.SetFixPosition(value != 0);
        return;
    case WM_APP_SET_STATUSBAR:
        SetShowStatusbar(value != 0);
        return;
    case WM_APP_SET_HIGHLIGHT:
        m_model.SetHighlight(value != 0);
        m_owner.OnHighlightChosen(value != 0);
        return;
    default:
        return;
    }
}

void CFilterWnd::SetShowStatusbar(bool on) {
    if (on) {
        m_model.SetShowStatusbarFlag(CreateStatusbar());
    } else {
        DestroyStatusbar();
        m_model.SetShowStatusbarFlag(false);
    }
    m_model.RequestRecapture();
}

IntRect CFilterWnd::GetRestoredWindowRect() const {
    RECT rect{};
    if (IsIconic(GetHwnd())) {
        // A minimised window stands far off the screen; its record keeps where it will return.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(GetHwnd(), &placement)) {
            rect = placement.rcNormalPosition;
            // Workspace coordinates for windows in the task bar: they count from the corner of
            // the work area of the window's monitor, less that monitor's own corner.
            if ((GetWindowLongPtrA(GetHwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0) {
                MONITORINFO info{};
                info.cbSize = sizeof(info);
                if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
                    OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left,
                               info.rcWork.top - info.rcMonitor.top);
                }
            }
            return ToIntRect(rect);
        }
    }
    GetWindowRect(GetHwnd(), &rect);
    return ToIntRect(rect);
}

CWindowSetting CFilterWnd::GetWindowSetting() const {
    return m_model.GetWindowSetting(GetRestoredWindowRect());
}

void CFilterWnd::CopyColorToClipboard(bool original) {
    const ColorValue colour = original ? m_model.GetOriginalColor() : m_model.GetFilteredColor();
    const std::string text = FormatCopyColor(m_options.copyColorFormat, colour);
    CopyTextToClipboard(GetHwnd(), text.c_str());
}

void CFilterWnd::OnKeyDown(WPARAM key, LPARAM flags, UINT msg) {
    // GetKeyState answers for the moment this key message was made, not for now.
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const FilterWindowCommand command =
        MapFilterWindowKey(static_cast<unsigned>(key), ctrl, shift, m_model.GetZoom(),
                           m_model.GetSelectedIndex(), m_filters.GetEnabledCount());
    switch (command.action) {
    case FilterWindowAction::NotHandled:
        DefaultHandling(msg, key, flags);
        return;
    case FilterWindowAction::None:
        return;
    case FilterWindowAction::MoveCursor: {
        POINT cursor{};
        if (GetCursorPos(&cursor)) {
            SetCursorPos(cursor.x + command.dx, cursor.y + command.dy);
        }
        return;
    }
    case FilterWindowAction::CopyColor:
        CopyColorToClipboard(command.original);
        return;
    case FilterWindowAction::ToggleFix:
        Command(WM_APP_SET_FIX, m_model.IsFixPosition() ? 0 : 1, command.allWindows);
        return;
    case FilterWindowAction::ToggleMark:
        Command(WM_APP_SET_MARK, m_model.IsMarkCenter() ? 0 : 1, command.allWindows);
        return;
    case FilterWindowAction::ToggleHighlight:
        Command(WM_APP_SET_HIGHLIGHT, m_model.IsHighlight() ? 0 : 1, command.allWindows);
        return;
    case FilterWindowAction::NewWindow:
        OpenNewWindow();
        return;
    case FilterWindowAction::SetZoom:
        Command(WM_APP_SET_ZOOM, static_cast<WPARAM>(static_cast<INT_PTR>(command.zoom)),
                command.allWindows);
        return;
    case FilterWindowAction::ContextMenu:
        ShowContextMenu(false);
        return;
    case FilterWindowAction::SelectFilter:
        m_model.ReselectFilter(command.filterIndex);
        return;
    }
}

void CFilterWnd::OnCommand(UINT id) {
    const bool ctrl = IsCtrlDownNow();
    if (id >= ID_ZOOM_BASE + 0 && id <= ID_ZOOM_BASE + CWindowSetting::MaxZoom) {
        Command(WM_APP_SET_ZOOM, id - ID_ZOOM_BASE, ctrl);
        return;
    }
    if (id >= ID_FILTER_BASE && id <= ID_FILTER_LAST) {
        m_model.SelectFilter(static_cast<int>(id) - ID_FILTER_BASE);
        return;
    }
    // The flag commands: this window's negation, to this window or to every window.
    struct Toggle {
        UINT command;
        UINT message;
        bool current;
    };
    const Toggle toggles[] = {
        {ID_MARK_CENTER, WM_APP_SET_MARK, m_model.IsMarkCenter()},
        {ID_HIGHLIGHT_LOOK_ALIKES, WM_APP_SET_HIGHLIGHT, m_model.IsHighlight()},
        {ID_VIEW_TOPMOST, WM_APP_SET_TOPMOST, m_model.IsTopmost()},
        {ID_FIX_POSITION, WM_APP_SET_FIX, m_model.IsFixPosition()},
        {ID_VIEW_STATUSBAR, WM_APP_SET_STATUSBAR, m_model.IsShowStatusbar()},
    };
    for (const Toggle& toggle : toggles) {
        if (id != toggle.command) {
            continue;
        }
        Command(toggle.message, toggle.current ? 0 : 1, ctrl);
        return;
    }
    if (id == ID_NEW_WINDOW) {
        OpenNewWindow();
    } else if (id == ID_CLOSE_WINDOW) {
        PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
    }
}

void CFilterWnd::OpenNewWindow() {
    m_owner.OpenTwin(GetWindowSetting());
}

bool CFilterWnd::IsCursorOutsideWindow() const {
    POINT cursor{};
    RECT window{};
    if (!GetCursorPos(&cursor) || !GetWindowRect(GetHwnd(), &window)) {
        return false;
    }
    return PtInRect(&window, cursor) == FALSE;
}

void CFilterWnd::OnLeftButtonDown() {
    SetCapture(GetHwnd());
    m_dragging = true;
}

void CFilterWnd::OnMouseMove() {
    // Dragging out of the window lets the picture follow the cursor again until the release.
    if (m_dragging && m_model.IsFixPosition() && IsCursorOutsideWindow()) {
        ApplyCommand(WM_APP_SET_FIX, 0);
    }
}

void CFilterWnd::OnLeftButtonUp() {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    ReleaseCapture();
    if (!IsCursorOutsideWindow()) {
        return;
    }
    Command(WM_APP_SET_FIX, 1, IsCtrlDownNow());
}

void CFilterWnd::OnLeftDoubleClick() {
    Command(WM_APP_SET_STATUSBAR, m_model.IsShowStatusbar() ? 0 : 1, IsCtrlDownNow());
}

void CFilterWnd::ShowContextMenu(bool atCursor) {
    HMENU menu = nullptr;
    if (HMODULE language = GetResourceModule()) {
        menu = LoadMenuA(language, MAKEINTRESOURCEA(IDR_FILTER_WND_MENU));
    }
    if (menu == nullptr) {
        menu = LoadMenuA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(GetHwnd(), GWLP_HINSTANCE)),
                         MAKEINTRESOURCEA(IDR_FILTER_WND_MENU));
    }
    if (menu == nullptr) {
        return;
    }
    if (m_contextMenu != nullptr) {
        DestroyMenu(m_contextMenu);
    }
    m_contextMenu = menu;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup == nullptr) {
        return;
    }
    HMENU filters = GetSubMenu(popup, kFilterSubmenu);
    HMENU zooms = GetSubMenu(popup, kZoomSubmenu);
    HMENU view = GetSubMenu(popup, kViewSubmenu);
    if (filters != nullptr) {
        DeleteMenu(filters, 0, MF_BYPOSITION);
        const CFilterManager& manager = m_filters;
        const int selected = m_model.GetSelectedIndex();
        for (int i = 0; i < manager.GetEnabledCount() && ID_FILTER_BASE + i <= ID_FILTER_LAST;
             ++i) {
            const CFilter* filter = manager.GetEnabledFilter(i);
            if (filter == nullptr) {
                continue;
            }
            const std::string text = filter->GetDisplayName() + FilterMenuHint(i);
            InsertMenuA(filters, static_cast<UINT>(i),
                        MF_BYPOSITION | MF_STRING | (i == selected ? MF_CHECKED : MF_UNCHECKED),
                        static_cast<UINT_PTR>(ID_FILTER_BASE + i), text.c_str());
        }
    }
    const int zoomPosition = ZoomMenuPosition(m_model.GetZoom());
    if (zooms != nullptr && zoomPosition >= 0) {
        CheckItem(zooms, static_cast<UINT>(zoomPosition), true);
    }
    CheckItem(popup, kMarkItem, m_model.IsMarkCenter());
    CheckItem(popup, kHighlightItem, m_model.IsHighlight());
    CheckItem(popup, kFixItem, m_model.IsFixPosition());
    if (view != nullptr) {
        CheckItem(view, 0, m_model.IsTopmost());
        CheckItem(view, 1, m_model.IsShowStatusbar());
    }

    POINT at{0, 0};
    if (!atCursor || !GetCursorPos(&at)) {
        at = {0, 0};
        ClientToScreen(GetHwnd(), &at);
    }
    const HWND hwnd = GetHwnd();
    SetForegroundWindow(hwnd);
    m_trackingMenu = true;
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd, nullptr);
    // The menu's loop dispatches messages: the window, and this object with it, may be gone
    // now. Only the handles are used from here on.
    if (!IsWindow(hwnd)) {
        DestroyMenu(menu);
        return;
    }
    m_trackingMenu = false;
    // Lets the menu close when the user clicks elsewhere.
    PostMessageA(hwnd, WM_NULL, 0, 0);
}

bool CFilterWnd::IsMinimized() const {
    return IsIconic(GetHwnd()) != FALSE;
}

bool CFilterWnd::GetCursorPosition(IntPoint& point) const {
    return m_owner.GetPointer(point);
}

PixelSize CFilterWnd::GetPictureArea() const {
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    int statusbarTop = 0;
    if (m_statusbar != nullptr) {
        RECT bar{};
        GetWindowRect(m_statusbar, &bar);
        POINT top{bar.left, bar.top};
        ScreenToClient(GetHwnd(), &top);
        statusbarTop = top.y;
    }
    return ComputePictureArea(client.right, client.bottom, m_statusbar != nullptr, statusbarTop);
}

bool CFilterWnd::IsShiftDown() const {
    return m_owner.IsShiftDown();
}

void CFilterWnd::SetStatusText(int part, const std::string& text) {
    if (m_statusbar != nullptr) {
        SendMessageA(m_statusbar, SB_SETTEXTA, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void CFilterWnd::InvalidatePicture() {
    const PixelSize area = GetPictureArea();
    const RECT rect{0, 0, area.width, area.height};
    InvalidateRect(GetHwnd(), &rect, FALSE);
}

void CFilterWnd::SetTitle(const std::string& title) {
    SetWindowTextA(GetHwnd(), title.c_str());
}

LRESULT CFilterWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        // The picture covers the whole picture area; erasing first would only flicker.
        return 1;
    case WM_SIZE:
        OnSize(wParam, lParam);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETFOCUS:
    case WM_IME_SETCONTEXT:
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKeyDown(wParam, lParam, msg);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the drag is over without a release here.
        if (reinterpret_cast<HWND>(lParam) != GetHwnd()) {
            m_dragging = false;
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLeftDoubleClick();
        return 0;
    case WM_RBUTTONUP:
        ShowContextMenu(true);
        return 0;
    case WM_CONTEXTMENU:
        // Shown on the key and button messages themselves, not a second time here.
        return 0;
    case WM_APP_SET_ZOOM:
    case WM_APP_SET_MARK:
    case WM_APP_SET_TOPMOST:
    case WM_APP_SET_FIX:
    case WM_APP_SET_STATUSBAR:
    case WM_APP_SET_HIGHLIGHT:
        ApplyCommand(msg, wParam);
        return 0;
    case WM_APP_SETTINGS_CHANGED:
        m_options = m_owner.GetFilterWindowOptions();
        LayoutStatusbar();
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}
