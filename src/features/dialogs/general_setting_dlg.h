#pragma once

#include "features/dialogs/general_setting_values.h"
#include "platform/modal_dialog.h"

// The general setting dialog (template 201): the general settings and the desktop hot key.
class CGeneralSettingDlg : public ModalDialog<CGeneralSettingDlg> {
public:
    // Runs the dialog modally over the controls' values; true on OK, the values then as the
    // user left them.
    static bool Run(GeneralSettingControls& controls);

    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    explicit CGeneralSettingDlg(const GeneralSettingControls& controls) : m_controls(controls) {}

    void OnInitDialog();
    void OnOK();

    GeneralSettingControls m_controls;
};
