// Stand-ins for the views and dialogs that the tray menu and the hot keys lead to, so that the
// program runs before they exist: nothing is open, nothing opens. Each definition goes away
// when its feature lands.
#include "dialogs/setting_dialog_requests.h"
#include "window/filter_window_requests.h"

int GetFilterWindowCount() {
    return 0;
}
void OpenDefaultFilterWindow() {}
void SaveAllWindowStatus() {}
void RestoreAllWindowStatus() {}
void CloseAllFilterWindows() {}
void NotifyFilterWindowsSettingsChanged() {}

bool IsGeneralSettingDialogOpen() {
    return false;
}
bool IsFilterSettingDialogOpen() {
    return false;
}
bool ShowGeneralSettingDialog(CHotKeyManager&) {
    return false;
}
bool ShowFilterSettingDialog(CHotKeyManager&) {
    return false;
}
