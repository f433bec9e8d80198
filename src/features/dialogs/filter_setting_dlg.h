#pragma once

#include "features/dialogs/filter_setting_model.h"
#include "platform/modal_dialog.h"

// The filter setting dialog (template 203): which filters are enabled, in which order, and
// their quick hot keys. A view over CFilterSettingModel; nothing is applied before a valid OK.
class CFilterSettingDlg : public ModalDialog<CFilterSettingDlg> {
public:
    // Runs the dialog modally; true on OK, after which the manager's enabled list is the
    // edited one and `hotKeys` holds the edited keys.
    static bool Run(CFilterManager& filters, CHotKeyManager& hotKeys);

    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    CFilterSettingDlg(CFilterManager& filters, const CHotKeyManager& hotKeys);

    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnOK();
    // Everything the user may have changed since the last look: the hot key control's word.
    void TakeHotKey();
    // Shows the model: the lists when `refill`, then buttons, focus, fields and hot key.
    void ShowModel(bool refill);
    void FillLists();
    void MoveEnabledItem(int from, int to);
    void ShowButtons();
    std::vector<CFilter*> ReadDisabledSelection() const;

    CFilterManager& m_filters;
    CFilterSettingModel m_model;
};
