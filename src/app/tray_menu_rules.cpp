#include "app/tray_menu_rules.h"

#include "resource.h"

TrayMenuState GetTrayMenuState(bool generalSettingOpen, bool filterSettingOpen, bool previewActive,
                               int filterWindowCount) {
    TrayMenuState state;
    // A modal setting dialog or the full-screen preview owns the hot keys and the filter list.
    if (generalSettingOpen || filterSettingOpen || previewActive) {
        state.desktopView = false;
        state.quickView = false;
        state.filterSetting = false;
        state.generalSetting = false;
    }
    if (filterSettingOpen) {
        state.openNewWindow = false;
    }
    // The enabled list must not change under open filter windows.
    if (filterWindowCount > 0) {
        state.filterSetting = false;
    }
    return state;
}

int QuickViewPositionFromCommand(unsigned command) {
    if (command < ID_FILTER_BASE || command > ID_FILTER_LAST) {
        return -1;
    }
    return static_cast<int>(command - ID_FILTER_BASE);
}
