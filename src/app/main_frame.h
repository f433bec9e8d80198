#pragma once

#include "app/app_state.h"
#include "engine/hotkeys/hot_key_manager.h"
#include "features/app_messages.h"
#include "platform/window.h"

// Saves the profile; a failure is told in one box (owned by `owner`, which may be null) that
// names the values that could not be stored. False then.
bool SaveProfileReportingFailure(HWND owner);

// The hidden top-level window that owns the tray icon and its menu, receives the global hot
// keys and turns commands into actions.
class CMainFrame : public Window<CMainFrame> {
public:
    static constexpr const char* kClassName = "ZezirivMainFrame";
    static constexpr UINT kTrayIconId = 100;

    CMainFrame() = default;
    ~CMainFrame();

    // Creates the (never shown) window; false when that fails.
    bool Create(HINSTANCE instance);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool OnCreate();
    void OnDestroy();
    void OnCommand(UINT id);
    void OnHotKey(int id);
    void OnTrayNotify(UINT mouseMessage);
    void OnOpenDesktop(int delay);
    void OnOpenQuick(int position, int delay);

    bool AddTrayIcon();
    // Adds the icon, or tries again on a timer for a while when the shell does not take it.
    void ShowTrayIcon();
    void OnTrayRetryTimer();
    void RemoveTrayIcon();
    void ShowTrayMenu();
    void RebuildQuickViewMenu(HMENU quickMenu);

    void OnGeneralSetting();
    void OnFilterSetting();
    // A setting dialog under the application state's rule, with the hot keys it edits (the
    // desktop key or the quick keys) unregistered while it runs.
    template <class RunDialog>
    void RunSettingDialog(AppPart part, void (*bringForward)(), bool desktopKey, RunDialog run);

    HINSTANCE m_instance = nullptr;
    HMENU m_trayMenu = nullptr;
    HICON m_trayIcon = nullptr;
    UINT m_taskbarCreatedMessage = 0;
    CHotKeyManager m_hotKeys;
    bool m_hotKeysLoaded = false;
    int m_trayRetriesLeft = 0;
};
