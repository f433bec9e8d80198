#pragma once

#include "engine/hotkeys/hot_key_manager.h"
#include "platform/modal_dialog.h"

// The general setting dialog (template 201): the profile's general settings and the desktop
// hot key, shown from the profile and written back only on OK.
class CGeneralSettingDlg : public ModalDialog<CGeneralSettingDlg> {
public:
    // Refused (false) while the filter setting dialog is open; an open one comes forward
    // (false). On OK the edited keys replace `hotKeys`, go into the profile, and the profile
    // is saved.
    static bool Show(CHotKeyManager& hotKeys);

    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    explicit CGeneralSettingDlg(const CHotKeyManager& hotKeys) : m_hotKeys(hotKeys) {}

    void OnInitDialog();
    void OnOK();

    CHotKeyManager m_hotKeys;
};
