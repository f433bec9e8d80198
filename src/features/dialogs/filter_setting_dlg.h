#pragma once

#include "features/dialogs/filter_setting_model.h"
#include "platform/modal_dialog.h"

#include <functional>

// The filter setting dialog (template 203): which filters are enabled, in which order, and
// their quick hot keys. A view over CFilterSettingModel; nothing is applied before a valid OK.
class CFilterSettingDlg : public ModalDialog<CFilterSettingDlg> {
public:
    // Stores what a valid OK applied (the manager's enabled list is the edited one by then):
    // the edited keys and the missing IDs still kept. False, the failure reported with the
    // dialog as the box's owner, keeps the dialog open and the manager's list as it was.
    using Commit = std::function<bool(const CHotKeyManager& hotKeys,
                                      const std::vector<std::string>& missing, HWND dialog)>;

    // Runs the dialog modally; true on OK, after which the manager's enabled list is the
    // edited one, `hotKeys` holds the edited keys and `missing` the stored IDs that did not
    // load and were not forgotten.
    static bool Run(CFilterManager& filters, CHotKeyManager& hotKeys,
                    std::vector<std::string>& missing, const Commit& commit);

    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    CFilterSettingDlg(CFilterManager& filters, const CHotKeyManager& hotKeys,
                      std::vector<std::string> missing, const Commit& commit);

    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnOK();
    void OnForgetMissing();
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
    const Commit& m_commit;
};
