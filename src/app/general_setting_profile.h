#pragma once

// The general setting dialog's values from the profile and back.

#include "features/dialogs/general_setting_values.h"

class CAppProfile;
class CHotKeyManager;

// The controls as the dialog opens over the profile and the hot key manager's desktop key.
GeneralSettingControls LoadGeneralSettingControls(const CAppProfile& profile,
                                                  const CHotKeyManager& hotKeys);
// OK: the controls go into the profile and the manager's desktop key. The number combos are
// read from their texts (an item's text when one is selected).
void StoreGeneralSettingControls(const GeneralSettingControls& controls, CAppProfile& profile,
                                 CHotKeyManager& hotKeys);
