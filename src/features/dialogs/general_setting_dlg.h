#pragma once

#include "engine/hotkeys/hot_key_manager.h"
#include "features/dialogs/general_setting_values.h"
#include "platform/modal_dialog.h"

#include <functional>

// The general setting dialog (template 201): the general settings and the desktop hot key.
class CGeneralSettingDlg : public ModalDialog<CGeneralSettingDlg> {
public:
    // Stores the values of an OK; false, the failure reported with the dialog as the box's
    // owner, keeps the dialog open.
    using Commit = std::function<bool(const GeneralSettingControls& controls, HWND dialog)>;

    // Runs the dialog modally over the controls' values; true on OK, the values then as the
    // user left them. OK refuses a desktop key that one of `hotKeys`' quick keys has.
    static bool Run(GeneralSettingControls& controls, const CHotKeyManager& hotKeys,
                    const Commit& commit);

    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    CGeneralSettingDlg(const GeneralSettingControls& controls, const CHotKeyManager& hotKeys,
                       const Commit& commit)
        : m_controls(controls), m_hotKeys(hotKeys), m_commit(commit) {}

    void OnInitDialog();
    void OnOK();

    GeneralSettingControls m_controls;
    const CHotKeyManager& m_hotKeys;
    const Commit& m_commit;
};
