#include "features/dialogs/filter_setting_dlg.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "platform/utilities.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

struct FocusControl {
    FilterSettingFocus focus;
    int id;
};
constexpr FocusControl kFocusControls[] = {
    {FilterSettingFocus::Up, IDC_FILTER_UP},
    {FilterSettingFocus::Down, IDC_FILTER_DOWN},
    {FilterSettingFocus::Disable, IDC_FILTER_DISABLE},
    {FilterSettingFocus::Enable, IDC_FILTER_ENABLE},
    {FilterSettingFocus::DisabledList, IDC_DISABLED_FILTERS},
};

// Inserts the filter's display name at `at` (-1: at the end), the filter as the item's data.
void InsertListItem(HWND list, int at, CFilter* filter) {
    const LRESULT index = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(at),
                                       reinterpret_cast<LPARAM>(filter->GetDisplayName().c_str()));
    if (index >= 0) {
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(filter));
    }
}

// The filter of an item; null for an item without one.
CFilter* ListItemFilter(HWND list, int index) {
    const LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<CFilter*>(data);
}

// Lets the list scroll sideways to a display name wider than itself.
void FitHorizontalExtent(HWND list) {
    HDC dc = GetDC(list);
    if (dc == nullptr) {
        return;
    }
    const HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const CFilter* filter = ListItemFilter(list, i);
        SIZE size{};
        if (filter != nullptr &&
            GetTextExtentPoint32A(dc, filter->GetDisplayName().c_str(),
                                  static_cast<int>(filter->GetDisplayName().size()), &size)) {
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    SelectObject(dc, oldFont);
    ReleaseDC(list, dc);
    // The item text starts a couple of pixels in from the edge.
    SendMessageA(list, LB_SETHORIZONTALEXTENT,
                 static_cast<WPARAM>(widest + 2 * GetSystemMetrics(SM_CXEDGE)), 0);
}

// The order in which the user's locale sorts texts, as a sorted list box would.
bool DisplayNameBeforeInLocale(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

} // namespace

CFilterSettingDlg::CFilterSettingDlg(CFilterManager& filters, const CHotKeyManager& hotKeys,
                                     std::vector<std::string> missing, const Commit& commit)
    : m_filters(filters), m_model(filters, hotKeys, &DisplayNameBeforeInLocale, std::move(missing)),
      m_commit(commit) {}

bool CFilterSettingDlg::Run(CFilterManager& filters, CHotKeyManager& hotKeys,
                            std::vector<std::string>& missing, const Commit& commit) {
    CFilterSettingDlg dialog(filters, hotKeys, missing, commit);
    if (dialog.RunModal(IDD_FILTER_SETTING) != IDOK) {
        return false;
    }
    hotKeys = dialog.m_model.GetHotKeys();
    missing = dialog.m_model.GetMissing();
    return true;
}

void CFilterSettingDlg::OnInitDialog() {
    OnOpened();
    EnableWindow(GetDlgItem(GetHwnd(), IDC_FORGET_MISSING), !m_model.GetMissing().empty());
    ShowModel(true);
}

void CFilterSettingDlg::OnForgetMissing() {
    std::string list;
    for (const std::string& id : m_model.GetMissing()) {
        list += (list.empty() ? "" : "\n") + id;
    }
    if (list.empty() ||
        ShowOwnedResourceMessage(GetHwnd(), MB_YESNO | MB_ICONQUESTION, IDS_FORGET_MISSING_FILTERS,
                                 list.c_str()) != IDYES) {
        return;
    }
    m_model.ForgetMissing();
    const HWND button = GetDlgItem(GetHwnd(), IDC_FORGET_MISSING);
    if (GetFocus() == button) {
        SendMessageA(GetHwnd(), WM_NEXTDLGCTL, 0, FALSE);
    }
    EnableWindow(button, FALSE);
}

void CFilterSettingDlg::TakeHotKey() {
    m_model.SetHotKeyWord(static_cast<unsigned>(
        SendDlgItemMessageA(GetHwnd(), IDC_FILTER_HOTKEY, HKM_GETHOTKEY, 0, 0) & 0xFFFF));
}

void CFilterSettingDlg::FillLists() {
    const HWND enabled = GetDlgItem(GetHwnd(), IDC_ENABLED_FILTERS);
    const HWND disabled = GetDlgItem(GetHwnd(), IDC_DISABLED_FILTERS);
    SendMessageA(enabled, WM_SETREDRAW, FALSE, 0);
    SendMessageA(disabled, WM_SETREDRAW, FALSE, 0);
    SendMessageA(enabled, LB_RESETCONTENT, 0, 0);
    for (CFilter* filter : m_model.GetEnabled()) {
        InsertListItem(enabled, -1, filter);
    }
    SendMessageA(disabled, LB_RESETCONTENT, 0, 0);
    for (CFilter* filter : m_model.GetDisabled()) {
        InsertListItem(disabled, -1, filter);
    }
    FitHorizontalExtent(enabled);
    FitHorizontalExtent(disabled);
    SendMessageA(enabled, WM_SETREDRAW, TRUE, 0);
    SendMessageA(disabled, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(enabled, nullptr, TRUE);
    InvalidateRect(disabled, nullptr, TRUE);
}

void CFilterSettingDlg::ShowButtons() {
    const HWND dialog = GetHwnd();
    const FilterSettingButtons buttons = m_model.GetButtons();
    // Disabling the focused button would strand the keyboard focus on it.
    const HWND focused = GetFocus();
    const FocusControl* from = nullptr;
    for (const FocusControl& control : kFocusControls) {
        if (control.focus != FilterSettingFocus::DisabledList &&
            GetDlgItem(dialog, control.id) == focused) {
            from = &control;
        }
    }
    if (from != nullptr) {
        const FilterSettingFocus to =
            CFilterSettingModel::MoveFocusOffUnavailable(from->focus, buttons);
        for (const FocusControl& control : kFocusControls) {
            if (control.focus == to && control.id != from->id) {
                SendMessageA(dialog, WM_NEXTDLGCTL,
                             reinterpret_cast<WPARAM>(GetDlgItem(dialog, control.id)), TRUE);
            }
        }
    }
    EnableWindow(GetDlgItem(dialog, IDC_FILTER_UP), buttons.up);
    EnableWindow(GetDlgItem(dialog, IDC_FILTER_DOWN), buttons.down);
    EnableWindow(GetDlgItem(dialog, IDC_FILTER_DISABLE), buttons.disable);
    EnableWindow(GetDlgItem(dialog, IDC_FILTER_ENABLE), buttons.enable);
}

void CFilterSettingDlg::ShowModel(bool refill) {
    const HWND dialog = GetHwnd();
    if (refill) {
        FillLists();
    }
    SendDlgItemMessageA(dialog, IDC_ENABLED_FILTERS, LB_SETCURSEL,
                        static_cast<WPARAM>(m_model.GetSelection()), 0);
    ShowButtons();
    SetDlgItemTextA(dialog, IDC_FILTER_ID, m_model.GetSelectedID().c_str());
    SetDlgItemTextA(dialog, IDC_FILTER_NAME, m_model.GetSelectedName().c_str());
    SendDlgItemMessageA(dialog, IDC_FILTER_HOTKEY, HKM_SETHOTKEY, m_model.GetHotKeyWord(), 0);
}

void CFilterSettingDlg::MoveEnabledItem(int from, int to) {
    // Only the moved item changes: a refill would also drop the disabled list's selection.
    if (from == to || from < 0 || to < 0) {
        return;
    }
    const HWND list = GetDlgItem(GetHwnd(), IDC_ENABLED_FILTERS);
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(from), 0);
    InsertListItem(list, to, m_model.GetEnabled()[static_cast<std::size_t>(to)]);
}

std::vector<CFilter*> CFilterSettingDlg::ReadDisabledSelection() const {
    const HWND list = GetDlgItem(GetHwnd(), IDC_DISABLED_FILTERS);
    std::vector<CFilter*> selected;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        CFilter* filter = ListItemFilter(list, i);
        if (filter != nullptr && SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
            selected.push_back(filter);
        }
    }
    return selected;
}

void CFilterSettingDlg::OnOK() {
    TakeHotKey();
    unsigned message = 0;
    if (!m_model.Confirm(message)) {
        ShowOwnedResourceMessage(GetHwnd(), MB_OK, message);
        return;
    }
    const std::vector<CFilter*> before = m_filters.GetEnabledList();
    m_model.ApplyEnabledList(m_filters);
    if (m_commit && !m_commit(m_model.GetHotKeys(), m_model.GetMissing(), GetHwnd())) {
        m_filters.GetEnabledList() = before;
        return;
    }
    EndDialogWith(IDOK);
}

void CFilterSettingDlg::OnCommand(int id, int code) {
    switch (id) {
    case IDC_ENABLED_FILTERS:
        if (code == LBN_SELCHANGE) {
            TakeHotKey();
            m_model.SelectEnabled(static_cast<int>(
                SendDlgItemMessageA(GetHwnd(), IDC_ENABLED_FILTERS, LB_GETCURSEL, 0, 0)));
            ShowModel(false);
        }
        return;
    case IDC_DISABLED_FILTERS:
        if (code == LBN_SELCHANGE) {
            TakeHotKey();
            m_model.SelectDisabled(ReadDisabledSelection());
            ShowModel(false);
        }
        return;
    case IDC_FILTER_UP:
    case IDC_FILTER_DOWN: {
        TakeHotKey();
        const int from = m_model.GetSelection();
        if (id == IDC_FILTER_UP) {
            m_model.MoveUp();
        } else {
            m_model.MoveDown();
        }
        MoveEnabledItem(from, m_model.GetSelection());
        ShowModel(false);
        return;
    }
    case IDC_FILTER_ENABLE:
        TakeHotKey();
        m_model.Enable();
        ShowModel(true);
        return;
    case IDC_FILTER_DISABLE:
        TakeHotKey();
        m_model.Disable();
        ShowModel(true);
        return;
    case IDC_FORGET_MISSING:
        OnForgetMissing();
        return;
    case IDOK:
        OnOK();
        return;
    case IDCANCEL:
        EndDialogWith(IDCANCEL);
        return;
    default:
        return;
    }
}

INT_PTR CFilterSettingDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}
