#pragma once

// The two setting dialogs as the tray menu, the views and the filter windows reach them.

class CHotKeyManager;

// Set for a dialog's whole modal run. The views refuse to open while either is set, new filter
// windows while the filter setting dialog is.
bool IsGeneralSettingDialogOpen();
bool IsFilterSettingDialogOpen();
// Each runs its dialog modally on the given copy of the hot key manager; true on OK, after
// which the copy holds the edited keys and the profile has been saved. False, with nothing
// run, when the dialog is refused or already open (then it is brought forward).
bool ShowGeneralSettingDialog(CHotKeyManager& hotKeys);
bool ShowFilterSettingDialog(CHotKeyManager& hotKeys);
