#include "app/about_dlg.h"

#include "app/app_state.h"
#include "resource.h"

INT_PTR CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        // Icons come from the executable: a language library's template names the icon but
        // does not carry it.
        if (HICON icon = LoadIconA(GetExecutableModule(), MAKEINTRESOURCEA(IDI_ZEZIRIV))) {
            SendDlgItemMessageA(GetHwnd(), IDC_ABOUT_ICON, STM_SETICON,
                                reinterpret_cast<WPARAM>(icon), 0);
        }
        OnOpened();
        return TRUE;
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            EndDialogWith(id);
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return FALSE;
}

void CAboutDlg::Show() {
    CAppState& state = GetAppState();
    if (state.Ask(AppPart::AboutBox) == OpenAnswer::BringForward) {
        CAboutDlg::BringForward();
        return;
    }
    const CScopedOpen open(state, AppPart::AboutBox);
    CAboutDlg dialog;
    dialog.RunModal(IDD_ABOUT);
}

void CAboutDlg::Close() {
    if (HWND about = CAboutDlg::GetOpenWindow()) {
        PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
    }
}
