#pragma once

#include "platform/modal_dialog.h"

// The About box: dialog 200, at most one at a time.
class CAboutDlg : public ModalDialog<CAboutDlg> {
public:
    // Opens the box modally, or brings the open one forward.
    static void Show();
    // Closes an open box as if its OK button were pressed.
    static void Close();

    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
};
