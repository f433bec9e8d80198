#pragma once

#include "shell/window.h"

// The About box: dialog 200, at most one at a time.
class CAboutDlg : public Dialog<CAboutDlg> {
public:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
};

// Opens the About box modally, or brings the open one forward.
void ShowAbout();
// Closes an open About box as if its OK button were pressed.
void CloseAbout();
bool IsAboutOpen();
HWND GetAboutWindow();

// Centres a dialog over its owner when that is visible and not minimised, otherwise over the
// work area, and keeps it inside the work area.
void CenterDialogWindow(HWND dialog);
