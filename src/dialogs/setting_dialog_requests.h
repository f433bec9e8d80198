#pragma once

// The two setting dialogs as the tray menu, the views and the filter windows reach them.

class CHotKeyManager;

bool IsGeneralSettingDialogOpen();
bool IsFilterSettingDialogOpen();
// Each runs its dialog modally on the given copy of the hot key manager; true on OK, after
// which the copy holds the edited keys and the profile has been saved.
bool ShowGeneralSettingDialog(CHotKeyManager& hotKeys);
bool ShowFilterSettingDialog(CHotKeyManager& hotKeys);
