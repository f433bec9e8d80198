#include "app/main_frame.h"

#include "app/about_dlg.h"
#include "app/app_profile.h"
#include "app/app_state.h"
#include "app/general_setting_profile.h"
#include "app/preview_owner.h"
#include "app/window_collection.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/hotkeys/hot_key_platform_win.h"
#include "features/dialogs/filter_setting_dlg.h"
#include "features/dialogs/general_setting_dlg.h"
#include "platform/resource_modules.h"
#include "platform/utilities.h"
#include "resource.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kQuickViewMenuPosition = 3;
constexpr int kMenuDelayMilliseconds = 50;
// At log-on the shell may not take icons yet; the icon is offered again every two seconds for
// five minutes, and whenever the shell announces itself.
constexpr UINT_PTR kTrayRetryTimer = 1;
constexpr UINT kTrayRetryMilliseconds = 2000;
constexpr int kTrayRetries = 150;

// Quick view submenu items carry ID_FILTER_BASE + the enabled-list position; -1 for any other
// command.
int QuickViewPositionFromCommand(unsigned command) {
    if (command < ID_FILTER_BASE || command > ID_FILTER_LAST) {
        return -1;
    }
    return static_cast<int>(command - ID_FILTER_BASE);
}

} // namespace

bool SaveProfileReportingFailure(HWND owner) {
    CAppProfile& profile = GetAppProfile();
    if (profile.Save()) {
        return true;
    }
    std::string names;
    for (const std::string& name : profile.GetSaveFailures()) {
        names += (names.empty() ? "" : ", ") + name;
    }
    ShowOwnedResourceMessage(owner, MB_OK | MB_ICONWARNING, IDS_SAVE_FAILED, names.c_str());
    return false;
}

CMainFrame::~CMainFrame() {
    if (GetHwnd() != nullptr) {
        DestroyWindow(GetHwnd());
    }
}

bool CMainFrame::Create(HINSTANCE instance) {
    m_instance = instance;
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEZIRIV));
    if (!RegisterWindowClass(instance, kClassName, icon, nullptr,
                             reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
        return false;
    }
    const std::string title = LoadResString(IDS_PRODUCT_NAME);
    return CreateWindowObject(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kClassName, title.c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              instance) != nullptr;
}

bool CMainFrame::OnCreate() {
    SetHotKeyPlatform(&GetWin32HotKeyPlatform());
    const CAppProfile& profile = GetAppProfile();
    m_hotKeys.Load(profile.GetDesktopHotKey(), profile.GetQuickKeyItems(), GetFilterManager());
    m_hotKeysLoaded = true;
    ShowTrayIcon();
    m_taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    m_trayMenu = LoadResourceMenu(IDR_TRAY_MENU);
    m_hotKeys.RegisterDesktopHotKey(GetHwnd());
    m_hotKeys.RegisterQuickHotKeys(GetHwnd());
    return true;
}

void CMainFrame::OnDestroy() {
    // Quit is posted whatever happens below: a loop that outlived the frame would keep the
    // instance mutex and never save the profile.
    struct QuitWhenDone {
        ~QuitWhenDone() { PostQuitMessage(0); }
    } quit;
    m_hotKeys.UnregisterDesktopHotKey(GetHwnd());
    m_hotKeys.UnregisterQuickHotKeys(GetHwnd());
    KillTimer(GetHwnd(), kTrayRetryTimer);
    RemoveTrayIcon();
    if (m_trayMenu != nullptr) {
        DestroyMenu(m_trayMenu);
        m_trayMenu = nullptr;
    }
    // A frame whose creation failed before its keys were loaded must not overwrite the
    // profile's keys with an empty list.
    if (m_hotKeysLoaded) {
        GetAppProfile().SetHotKeys(m_hotKeys);
    }
}

bool CMainFrame::AddTrayIcon() {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = GetHwnd();
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = WM_APP_TRAY_NOTIFY;
    if (m_trayIcon == nullptr) {
        m_trayIcon = static_cast<HICON>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_TRAY),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    }
    data.hIcon = m_trayIcon;
    std::strncpy(data.szTip, "Zeziriv", sizeof(data.szTip) - 1);
    // An icon the shell already shows is refused a second add; it only needs to be current.
    return Shell_NotifyIconA(NIM_ADD, &data) != FALSE ||
           Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void CMainFrame::ShowTrayIcon() {
    if (AddTrayIcon()) {
        KillTimer(GetHwnd(), kTrayRetryTimer);
        m_trayRetriesLeft = 0;
        return;
    }
    if (m_trayRetriesLeft == 0) {
        m_trayRetriesLeft = kTrayRetries;
        SetTimer(GetHwnd(), kTrayRetryTimer, kTrayRetryMilliseconds, nullptr);
    }
}

void CMainFrame::OnTrayRetryTimer() {
    if (AddTrayIcon() || --m_trayRetriesLeft <= 0) {
        KillTimer(GetHwnd(), kTrayRetryTimer);
        m_trayRetriesLeft = 0;
    }
}

void CMainFrame::RemoveTrayIcon() {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = GetHwnd();
    data.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    if (m_trayIcon != nullptr) {
        DestroyIcon(m_trayIcon);
        m_trayIcon = nullptr;
    }
}

void CMainFrame::RebuildQuickViewMenu(HMENU quickMenu) {
    for (int i = GetMenuItemCount(quickMenu) - 1; i >= 0; --i) {
        DeleteMenu(quickMenu, static_cast<UINT>(i), MF_BYPOSITION);
    }
    CFilterManager& filters = GetFilterManager();
    const int count = filters.GetEnabledCount();
    for (int i = 0; i < count && ID_FILTER_BASE + i <= ID_FILTER_LAST; ++i) {
        const CFilter* filter = filters.GetEnabledFilter(i);
        if (filter == nullptr) {
            continue;
        }
        AppendMenuA(quickMenu, MF_STRING, static_cast<UINT_PTR>(ID_FILTER_BASE + i),
                    filter->GetDisplayName().c_str());
    }
}

void CMainFrame::ShowTrayMenu() {
    ForceForeground(GetHwnd());
    POINT cursor{};
    GetCursorPos(&cursor);
    HMENU popup = m_trayMenu != nullptr ? GetSubMenu(m_trayMenu, 0) : nullptr;
    if (popup == nullptr) {
        return;
    }
    HMENU quickMenu = GetSubMenu(popup, kQuickViewMenuPosition);
    if (quickMenu != nullptr) {
        RebuildQuickViewMenu(quickMenu);
    }

    const TrayMenuState state = GetAppState().GetTrayMenuState();
    auto enable = [popup](UINT item, bool on, UINT how) {
        EnableMenuItem(popup, item, how | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(ID_DESKTOP_VIEW, state.desktopView, MF_BYCOMMAND);
    enable(ID_OPEN_NEW_WINDOW, state.openNewWindow, MF_BYCOMMAND);
    enable(kQuickViewMenuPosition, state.quickView, MF_BYPOSITION);
    enable(ID_FILTER_SETTING, state.filterSetting, MF_BYCOMMAND);
    enable(ID_GENERAL_SETTING, state.generalSetting, MF_BYCOMMAND);

    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x, cursor.y, 0, GetHwnd(), nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageA(GetHwnd(), WM_NULL, 0, 0);
}

void CMainFrame::OnTrayNotify(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP || mouseMessage == WM_RBUTTONUP) {
        ShowTrayMenu();
    }
}

void CMainFrame::OnHotKey(int id) {
    const HotKeyAction action = m_hotKeys.ResolveHotKeyEvent(id, GetFilterManager());
    switch (action.kind) {
    case HotKeyAction::OpenDesktopView:
        OpenPreview(PREVIEW_DESKTOP, 0);
        break;
    case HotKeyAction::OpenQuickView:
        OpenPreview(PREVIEW_QUICK, action.position);
        break;
    case HotKeyAction::NoAction:
        break;
    }
}

void CMainFrame::OnOpenDesktop(int delay) {
    if (delay >= 1) {
        // Gives the tray menu time to vanish from the screen before it is captured.
        Sleep(static_cast<DWORD>(delay));
        PostMessageA(GetHwnd(), WM_APP_OPEN_DESKTOP, 0, 0);
        return;
    }
    OpenPreview(PREVIEW_DESKTOP, 0);
}

void CMainFrame::OnOpenQuick(int position, int delay) {
    if (delay >= 1) {
        Sleep(static_cast<DWORD>(delay));
        PostMessageA(GetHwnd(), WM_APP_OPEN_QUICK, static_cast<WPARAM>(position), 0);
        return;
    }
    if (position >= 0 && position < GetFilterManager().GetEnabledCount()) {
        OpenPreview(PREVIEW_QUICK, position);
    }
}

template <class RunDialog>
void CMainFrame::RunSettingDialog(AppPart part, void (*bringForward)(), bool desktopKey,
                                  RunDialog run) {
    CAppState& state = GetAppState();
    const OpenAnswer answer = state.Ask(part);
    if (answer != OpenAnswer::Open) {
        if (answer == OpenAnswer::BringForward) {
            bringForward();
        }
        return;
    }
    // The keys the dialog edits are not delivered while it runs.
    if (desktopKey) {
        m_hotKeys.UnregisterDesktopHotKey(GetHwnd());
    } else {
        m_hotKeys.UnregisterQuickHotKeys(GetHwnd());
    }
    bool accepted = false;
    {
        const CScopedOpen open(state, part);
        accepted = run();
    }
    // Exit may have come while the dialog ran: then the frame is gone or going.
    if (state.IsEnding() || GetHwnd() == nullptr) {
        return;
    }
    // A confirmed dialog also tries again the keys another program held before.
    if (desktopKey || accepted) {
        m_hotKeys.RegisterDesktopHotKey(GetHwnd());
    }
    if (!desktopKey || accepted) {
        m_hotKeys.RegisterQuickHotKeys(GetHwnd());
    }
}

void CMainFrame::OnGeneralSetting() {
    RunSettingDialog(AppPart::GeneralSetting, &CGeneralSettingDlg::BringForward, true, [this] {
        CAppProfile& profile = GetAppProfile();
        GeneralSettingControls controls = LoadGeneralSettingControls(profile, m_hotKeys);
        const auto commit = [this, &profile](const GeneralSettingControls& edited, HWND dialog) {
            const CAppProfile before = profile;
            CHotKeyManager hotKeys = m_hotKeys;
            StoreGeneralSettingControls(edited, profile, hotKeys);
            profile.SetHotKeys(hotKeys);
            if (!SaveProfileReportingFailure(dialog)) {
                profile = before;
                return false;
            }
            m_hotKeys = hotKeys;
            return true;
        };
        if (!CGeneralSettingDlg::Run(controls, m_hotKeys, commit)) {
            return false;
        }
        GetWindowCollection().PostToAllWindows(WM_APP_SETTINGS_CHANGED, 0);
        ApplySettingsToPreview();
        return true;
    });
}

void CMainFrame::OnFilterSetting() {
    RunSettingDialog(AppPart::FilterSetting, &CFilterSettingDlg::BringForward, false, [this] {
        CFilterManager& filters = GetFilterManager();
        CAppProfile& profile = GetAppProfile();
        CHotKeyManager edited = m_hotKeys;
        std::vector<std::string> missing = profile.GetMissingFilters();
        const auto commit = [&profile](const CHotKeyManager& hotKeys,
                                       const std::vector<std::string>& stillMissing, HWND dialog) {
            const CAppProfile before = profile;
            profile.SetMissingFilters(stillMissing);
            profile.SetHotKeys(hotKeys);
            if (!SaveProfileReportingFailure(dialog)) {
                profile = before;
                return false;
            }
            return true;
        };
        if (!CFilterSettingDlg::Run(filters, edited, missing, commit)) {
            return false;
        }
        m_hotKeys = edited;
        filters.PrepareTables();
        return true;
    });
}

void CMainFrame::OnCommand(UINT id) {
    switch (id) {
    case ID_APP_ABOUT:
        CAboutDlg::Show();
        return;
    case ID_GENERAL_SETTING:
        OnGeneralSetting();
        return;
    case ID_FILTER_SETTING:
        OnFilterSetting();
        return;
    case ID_APP_EXIT:
        GetAppState().SetEnding();
        PostMessageA(GetHwnd(), WM_CLOSE, 0, 0);
        return;
    case ID_DESKTOP_VIEW:
        PostMessageA(GetHwnd(), WM_APP_OPEN_DESKTOP, 0, kMenuDelayMilliseconds);
        return;
    case ID_OPEN_NEW_WINDOW:
        GetWindowCollection().OpenFilterWindow(nullptr);
        return;
    case ID_SAVE_ALL_WINDOW_STATUS:
        GetWindowCollection().SaveAllWindowStatus();
        return;
    case ID_RESTORE_ALL_WINDOW_STATUS:
        GetWindowCollection().RestoreAllWindowStatus();
        return;
    case ID_CLOSE_ALL_WINDOW:
        GetWindowCollection().CloseAllWindows();
        return;
    default:
        break;
    }
    const int position = QuickViewPositionFromCommand(id);
    if (position >= 0 && position < GetFilterManager().GetEnabledCount()) {
        PostMessageA(GetHwnd(), WM_APP_OPEN_QUICK, static_cast<WPARAM>(position),
                     kMenuDelayMilliseconds);
    }
}

LRESULT CMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_CLOSE:
        DestroyWindow(GetHwnd());
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_ENDSESSION:
        // Sent whether or not the ending goes ahead; the settings must survive if it does.
        // Nothing is destroyed here: this may arrive inside a menu's or a box's own loop.
        GetWindowCollection().StoreLastRecord();
        GetPreviewWnd().StorePanelRect();
        // No box here: the session may be ending, and a box could hold the ending up. A failure
        // is reported by the save at Exit if the program outlives the notice.
        GetAppProfile().Save();
        GetAppState().SetEnding();
        return 0;
    case WM_HOTKEY:
        OnHotKey(static_cast<int>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kTrayRetryTimer) {
            OnTrayRetryTimer();
            return 0;
        }
        break;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_APP_TRAY_NOTIFY:
        OnTrayNotify(static_cast<UINT>(lParam));
        return 0;
    case WM_APP_OPEN_DESKTOP:
        OnOpenDesktop(static_cast<int>(lParam));
        return 0;
    case WM_APP_OPEN_QUICK:
        OnOpenQuick(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    default:
        break;
    }
    if (m_taskbarCreatedMessage != 0 && msg == m_taskbarCreatedMessage) {
        ShowTrayIcon();
        return 0;
    }
    return DefaultHandling(msg, wParam, lParam);
}
