#pragma once

// Which tray menu items are offered, from what is open at the moment the menu is shown.
// Restore, Save, Close all window, About and Exit are always enabled.
struct TrayMenuState {
    bool desktopView = true;
    bool quickView = true;
    bool openNewWindow = true;
    bool filterSetting = true;
    bool generalSetting = true;

    bool operator==(const TrayMenuState&) const = default;
};

TrayMenuState GetTrayMenuState(bool generalSettingOpen, bool filterSettingOpen, bool previewActive,
                               int filterWindowCount);

// Quick view submenu items carry ID_FILTER_BASE + the enabled-list position; -1 for any other
// command.
int QuickViewPositionFromCommand(unsigned command);
