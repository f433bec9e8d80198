#pragma once

#include "platform/resource_modules.h"
#include "platform/utilities.h"
#include "platform/window.h"

// Centres a dialog over its owner when that is visible and not minimised, otherwise over the
// work area, and keeps it inside the work area.
void CenterDialogWindow(HWND dialog);

// A modal dialog of which at most one of a kind runs (the caller decides whether one may): its
// window while it exists, bringing it forward, its template from the language library with the
// executable's as the fallback, and its placement. T calls OnOpened from WM_INITDIALOG and ends
// with EndDialogWith.
template <class T> class ModalDialog : public Dialog<T> {
public:
    // The running dialog's window; null before WM_INITDIALOG and after its end.
    static HWND GetOpenWindow() { return s_window; }

    static void BringForward() {
        if (s_window != nullptr) {
            ForceForeground(s_window);
        }
    }

protected:
    // Runs the dialog over the active window; the ending button, or -1 when no template could
    // make it.
    INT_PTR RunModal(int templateId) {
        const HINSTANCE module = GetDialogTemplateModule(templateId);
        INT_PTR result = this->DoModal(module, templateId, GetActiveWindow());
        if (result == -1 && module != GetExecutableModule()) {
            // The library's template could not make the dialog: the built-in one can.
            result = this->DoModal(GetExecutableModule(), templateId, GetActiveWindow());
        }
        s_window = nullptr;
        return result;
    }

    void OnOpened() {
        s_window = this->GetHwnd();
        CenterDialogWindow(s_window);
    }

    void EndDialogWith(INT_PTR result) {
        s_window = nullptr;
        Dialog<T>::EndDialogWith(result);
    }

private:
    static inline HWND s_window = nullptr;
};
