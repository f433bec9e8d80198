#include "features/views/filter_panel.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "features/app_messages.h"
#include "platform/monitor_layout.h"
#include "platform/resource_modules.h"
#include "platform/utilities.h"
#include "resource.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr DWORD kPanelStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheckStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;

// The font unit: the default GUI font's height, from its text metrics when the font leaves
// the height to the mapper.
int FontUnitOf(HFONT font) {
    LOGFONTA logFont{};
    if (GetObjectA(font, sizeof(logFont), &logFont) == sizeof(logFont) && logFont.lfHeight != 0) {
        return std::abs(static_cast<int>(logFont.lfHeight));
    }
    int height = 0;
    if (HDC dc = GetDC(nullptr)) {
        HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRICA metrics{};
        if (GetTextMetricsA(dc, &metrics)) {
            height = metrics.tmHeight;
        }
        SelectObject(dc, previous);
        ReleaseDC(nullptr, dc);
    }
    return height > 0 ? height : 8;
}

} // namespace

CFilterPanel::~CFilterPanel() {
    Destroy();
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
}

HFONT CFilterPanel::SetFontForDpi(int dpi) {
    HFONT made = CreateGuiFontForDpi(dpi);
    HFONT font = made != nullptr ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    m_fontUnit = FontUnitOf(font);
    for (HWND window : {GetHwnd(), m_list, m_check, m_button}) {
        if (window != nullptr) {
            SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    // Released only once nothing uses it any more.
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
    m_font = made;
    return font;
}

bool CFilterPanel::Create(HWND owner, const CFilterManager& filters, const IntRect& storedRect,
                          const IntRect& monitor, bool fitHeight, RectStore store) {
    m_layoutEnabled = false;
    m_filters = &filters;
    m_fitHeight = fitHeight;
    m_store = std::move(store);
    const HINSTANCE instance = GetExecutableModule();
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEZIRIV));
    if (!RegisterWindowClass(instance, kClassName, icon, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                             0)) {
        return false;
    }
    const IntRect rect = FitPanelRect(storedRect, monitor);
    return CreateWindowObject(0, kClassName, "Zeziriv", kPanelStyle, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, owner,
                              instance) != nullptr;
}

void CFilterPanel::Destroy() {
    if (GetHwnd() != nullptr) {
        DestroyWindow(GetHwnd());
    }
}

bool CFilterPanel::OnCreate() {
    if (!CreateControls()) {
        return false;
    }
    FillList();
    FitHeight();
    m_loop = GetAppModule().GetMessageLoop();
    if (m_loop != nullptr) {
        m_loop->AddMessageFilter(this);
    }
    m_layoutEnabled = true;
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    Layout(client.right, client.bottom);
    return true;
}

bool CFilterPanel::CreateControls() {
    const HINSTANCE instance = GetExecutableModule();
    m_list =
        CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", kListStyle, 0, 0, 0, 0, GetHwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
    if (m_list == nullptr) {
        const auto error = static_cast<int>(GetLastError());
        ShowResourceMessage(MB_ICONERROR | MB_OK, IDS_CREATE_WINDOW_FAILED, error);
        return false;
    }
    // Made between the list and the button: the tab order follows.
    char text[512] = {};
    LoadResString(IDS_PANEL_HIGHLIGHT, text, static_cast<int>(sizeof(text)));
    m_check =
        CreateWindowExA(0, "BUTTON", text, kCheckStyle, 0, 0, 0, 0, GetHwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheckId)), instance, nullptr);
    if (m_check == nullptr) {
        const auto error = static_cast<int>(GetLastError());
        ShowResourceMessage(MB_ICONERROR | MB_OK, IDS_CREATE_WINDOW_FAILED, error);
        return false;
    }

    LoadResString(IDS_CLOSE, text, static_cast<int>(sizeof(text)));
    m_button = CreateWindowExA(0, "BUTTON", text, kButtonStyle, 0, 0, 0, 0, GetHwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), instance,
                               nullptr);
    if (m_button == nullptr) {
        const auto error = static_cast<int>(GetLastError());
        ShowResourceMessage(MB_ICONERROR | MB_OK, IDS_CREATE_WINDOW_FAILED, error);
        return false;
    }
    // The panel and its controls in the font of the panel's monitor.
    SetFontForDpi(GetWindowDpi(GetHwnd()));
    return true;
}

void CFilterPanel::FillList() {
    const int count = m_filters->GetEnabledCount();
    for (int i = 0; i < count; ++i) {
        const CFilter* filter = m_filters->GetEnabledFilter(i);
        const char* name = filter != nullptr ? filter->GetDisplayName().c_str() : "";
        // Unsorted, so item k stands for enabled position k.
        const LRESULT item = SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (item >= 0) {
            SendMessageA(m_list, LB_SETITEMDATA, static_cast<WPARAM>(item),
                         reinterpret_cast<LPARAM>(filter));
        }
    }
    SendMessageA(m_list, LB_SETCURSEL, 0, 0);
}

void CFilterPanel::MeasureHeights(int dpi) {
    RECT window{};
    RECT client{};
    GetWindowRect(GetHwnd(), &window);
    GetClientRect(GetHwnd(), &client);
    m_metrics.fontUnit = m_fontUnit;
    m_metrics.itemHeight = static_cast<int>(SendMessageA(m_list, LB_GETITEMHEIGHT, 0, 0));
    m_metrics.edge = SystemMetricForDpi(SM_CXEDGE, dpi);
    // Measured rather than summed from frame and caption metrics: a themed frame carries
    // padding those leave out, and the list would lose part of its last item.
    m_metrics.nonClientHeight = (window.bottom - window.top) - (client.bottom - client.top);
}

void CFilterPanel::OnDpiChanged(int dpi, const RECT& suggested) {
    // The font, the list's items, the frame and so the minimum height are measured for the new
    // dpi before the panel moves, so the one move it makes is to a size that holds them and the
    // size message it brings lays the controls out in their new sizes.
    dpi = UsableDpi(dpi);
    SetFontForDpi(dpi);
    int height = suggested.bottom - suggested.top;
    if (m_layoutEnabled) {
        MeasureHeights(dpi);
        const int frame = FrameHeightForDpi(GetHwnd(), dpi);
        if (frame >= 0) {
            m_metrics.nonClientHeight = frame;
        }
        height = std::max(height, PanelMinimumHeight(m_metrics));
    }
    SetWindowPos(GetHwnd(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_layoutEnabled) {
        // The frame as the system drew it, where it could not tell beforehand.
        MeasureHeights(dpi);
        RECT client{};
        GetClientRect(GetHwnd(), &client);
        Layout(client.right, client.bottom);
    }
}

void CFilterPanel::FitHeight() {
    MeasureHeights(GetWindowDpi(GetHwnd()));
    RECT window{};
    GetWindowRect(GetHwnd(), &window);
    const int height = PanelInitialHeight(m_metrics, m_filters->GetEnabledCount(),
                                          window.bottom - window.top, m_fitHeight);
    if (height != window.bottom - window.top) {
        MoveWindow(GetHwnd(), window.left, window.top, window.right - window.left, height, FALSE);
    }
}

void CFilterPanel::Layout(int clientWidth, int clientHeight) {
    const PanelLayout layout = LayoutPanel(m_fontUnit, clientWidth, clientHeight);
    MoveWindow(m_list, layout.list.left, layout.list.top, layout.list.right - layout.list.left,
               layout.list.bottom - layout.list.top, TRUE);
    MoveWindow(m_check, layout.check.left, layout.check.top, layout.check.right - layout.check.left,
               layout.check.bottom - layout.check.top, TRUE);
    MoveWindow(m_button, layout.button.left, layout.button.top,
               layout.button.right - layout.button.left, layout.button.bottom - layout.button.top,
               TRUE);
}

void CFilterPanel::OnDestroy() {
    if (m_loop != nullptr) {
        m_loop->RemoveMessageFilter(this);
        m_loop = nullptr;
    }
    StoreRect();
    m_layoutEnabled = false;
    m_list = nullptr;
    m_button = nullptr;
    m_check = nullptr;
}

void CFilterPanel::SetHighlightChecked(bool on) {
    if (m_check != nullptr) {
        SendMessageA(m_check, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void CFilterPanel::StoreRect() {
    // A panel whose creation failed never showed a rectangle of the user's: the stored one
    // stays as it was.
    RECT rc{};
    if (m_layoutEnabled && m_store && GetWindowRect(GetHwnd(), &rc)) {
        m_store(IntRect{rc.left, rc.top, rc.right, rc.bottom});
    }
}

void CFilterPanel::PostCloseToOwner() {
    if (HWND owner = GetWindow(GetHwnd(), GW_OWNER)) {
        PostMessageA(owner, WM_CLOSE, 0, 0);
    }
}

void CFilterPanel::OnCommand(int id, int code) {
    switch (id) {
    case IDOK:
        // Enter has no default action here.
        return;
    case IDCANCEL:
        PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
        return;
    case kButtonId:
        if (code == BN_CLICKED) {
            PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
        }
        return;
    case kCheckId:
        if (code == BN_CLICKED) {
            const bool on = SendMessageA(m_check, BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (HWND owner = GetWindow(GetHwnd(), GW_OWNER)) {
                PostMessageA(owner, WM_APP_SET_HIGHLIGHT, on ? 1 : 0, 0);
            }
        }
        return;
    case kListId:
        if (code == LBN_SELCHANGE) {
            const LRESULT selected = SendMessageA(m_list, LB_GETCURSEL, 0, 0);
            HWND owner = GetWindow(GetHwnd(), GW_OWNER);
            if (selected != LB_ERR && owner != nullptr) {
                PostMessageA(owner, WM_APP_SELECT_FILTER, static_cast<WPARAM>(selected), 0);
            }
        }
        return;
    default:
        return;
    }
}

void CFilterPanel::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetHwnd(), &ps);
    if (dc != nullptr) {
        RECT client{};
        GetClientRect(GetHwnd(), &client);
        HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
        if (face != nullptr) {
            FillRect(dc, &client, face);
            DeleteObject(face);
        }
    }
    EndPaint(GetHwnd(), &ps);
}

void CFilterPanel::SelectFromDigit(int item) {
    const auto count = static_cast<int>(SendMessageA(m_list, LB_GETCOUNT, 0, 0));
    const auto selected = static_cast<int>(SendMessageA(m_list, LB_GETCURSEL, 0, 0));
    const int pick = DigitKeySelection(item, count, selected);
    if (pick < 0) {
        return;
    }
    SendMessageA(m_list, LB_SETCURSEL, static_cast<WPARAM>(pick), 0);
    if (HWND owner = GetWindow(GetHwnd(), GW_OWNER)) {
        PostMessageA(owner, WM_APP_SELECT_FILTER, static_cast<WPARAM>(pick), 0);
    }
}

bool CFilterPanel::PreTranslateMessage(MSG* msg) {
    HWND panel = GetHwnd();
    if (panel == nullptr || msg == nullptr || msg->hwnd == nullptr) {
        return false;
    }
    const bool mine = msg->hwnd == panel || GetAncestor(msg->hwnd, GA_PARENT) == panel;
    if (mine && msg->message == WM_KEYDOWN) {
        const int item = DigitKeyItem(static_cast<unsigned>(msg->wParam));
        if (item >= 0) {
            // Claimed before the dialog keys see it, so the list box's own type-ahead never
            // picks a different item for the same key.
            SelectFromDigit(item);
            return true;
        }
    }
    return IsDialogMessageA(panel, msg) != FALSE;
}

LRESULT CFilterPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_CLOSE:
        // The panel lives as long as its view: the owner decides and takes the panel with it.
        PostCloseToOwner();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            SendMessageA(GetHwnd(), WM_APP_CLOSE_PANEL, 0, 0);
            return 0;
        }
        break;
    case WM_APP_CLOSE_PANEL:
        PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_SETFOCUS:
        if (m_list != nullptr) {
            SetFocus(m_list);
        }
        return 0;
    case WM_IME_SETCONTEXT:
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETMINMAXINFO:
        if (m_layoutEnabled) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.y = PanelMinimumHeight(m_metrics);
            return 0;
        }
        break;
    case WM_SIZE:
        if (m_layoutEnabled) {
            Layout(LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}
