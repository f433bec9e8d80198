#include "features/filter_window/window_collection.h"

#include "app/app_profile.h"
#include "features/app_messages.h"
#include "features/dialogs/setting_dialog_requests.h"
#include "features/filter_window/filter_window_requests.h"
#include "features/filter_window/filter_wnd.h"
#include "platform/resource_modules.h"

#include <algorithm>

CWindowCollection& GetWindowCollection() {
    static CWindowCollection collection;
    return collection;
}

bool CWindowCollection::OpenFilterWindow(const CWindowSetting* setting) {
    if (GetCount() >= kMaxWindows || IsFilterSettingDialogOpen()) {
        return true;
    }
    const CAppProfile& profile = GetAppProfile();
    const CWindowSetting record = setting != nullptr ? *setting : profile.GetWindowSetting();
    const bool fromGiven = setting != nullptr;

    DWORD exStyle = 0;
    if (profile.IsWindowUnvisibleTaskBar()) {
        exStyle |= WS_EX_TOOLWINDOW;
    }
    if (record.Topmost) {
        exStyle |= WS_EX_TOPMOST;
    }
    const IntRect placement =
        m_cascade.Place(record.WindowRect, fromGiven, GetSystemMetrics(SM_CYCAPTION),
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    CFilterWnd* window =
        CFilterWnd::Open(GetExecutableModule(), record, fromGiven, placement, exStyle);
    if (window == nullptr) {
        return false;
    }
    m_windows.push_back(window);
    return true;
}

void CWindowCollection::PostToAllWindows(UINT msg, WPARAM wParam, LPARAM lParam) const {
    for (const CFilterWnd* window : m_windows) {
        PostMessageA(window->GetHwnd(), msg, wParam, lParam);
    }
}

void CWindowCollection::SaveAllWindowStatus() {
    if (m_windows.empty()) {
        return;
    }
    std::vector<CWindowSetting> records;
    for (const CFilterWnd* window : m_windows) {
        records.push_back(window->GetWindowSetting());
    }
    GetAppProfile().SetMultiWindowSettings(records);
}

void CWindowCollection::RestoreAllWindowStatus() {
    // A copy: opening windows must not read a list that something else may change.
    const std::vector<CWindowSetting> records = GetAppProfile().GetMultiWindowSettings();
    if (records.empty()) {
        return;
    }
    for (CFilterWnd* window : m_windows) {
        window->SetKeepNoSetting();
    }
    CloseAllWindows();
    for (const CWindowSetting& record : records) {
        OpenFilterWindow(&record);
    }
}

void CWindowCollection::CloseAllWindows() {
    PostToAllWindows(WM_CLOSE, 0, 0);
    m_windows.clear();
}

void CWindowCollection::DestroyAllWindows() {
    // Each destruction removes its window from the list.
    while (!m_windows.empty()) {
        const std::size_t before = m_windows.size();
        DestroyWindow(m_windows.front()->GetHwnd());
        if (m_windows.size() == before) {
            m_windows.erase(m_windows.begin());
        }
    }
}

void CWindowCollection::Remove(const CFilterWnd* window) {
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), window), m_windows.end());
}

// What the tray menu asks of the collection.
int GetFilterWindowCount() {
    return GetWindowCollection().GetCount();
}
void OpenDefaultFilterWindow() {
    GetWindowCollection().OpenFilterWindow(nullptr);
}
void SaveAllWindowStatus() {
    GetWindowCollection().SaveAllWindowStatus();
}
void RestoreAllWindowStatus() {
    GetWindowCollection().RestoreAllWindowStatus();
}
void CloseAllFilterWindows() {
    GetWindowCollection().PostToAllWindows(WM_CLOSE, 0, 0);
}
void NotifyFilterWindowsSettingsChanged() {
    GetWindowCollection().PostToAllWindows(WM_APP_SETTINGS_CHANGED, 0, 0);
}
void DestroyAllFilterWindows() {
    GetWindowCollection().DestroyAllWindows();
}
void StoreFilterWindowRecords() {
    const std::vector<CFilterWnd*>& windows = GetWindowCollection().GetWindows();
    // Destroyed in list order, the last window's record would be the one that stays.
    if (!windows.empty()) {
        GetAppProfile().SetWindowSetting(windows.back()->GetWindowSetting());
    }
}
