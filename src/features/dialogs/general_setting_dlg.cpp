#include "features/dialogs/general_setting_dlg.h"

#include "engine/image/look_alike.h"
#include "features/dialogs/display_names.h"
#include "platform/utilities.h"
#include "resource.h"

#include <commctrl.h>

#include <string>

namespace {

template <std::size_t N>
void FillCombo(HWND dialog, int id, const std::array<const char*, N>& items) {
    for (const char* item : items) {
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
}

void FillCombo(HWND dialog, int id, int count, const std::string& (*name)(int)) {
    for (int i = 0; i < count; ++i) {
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name(i).c_str()));
    }
}

void ShowComboText(HWND dialog, int id, const ComboText& combo) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(combo.item), 0);
    if (combo.item < 0) {
        SetDlgItemTextA(dialog, id, combo.text.c_str());
    }
}

ComboText ReadComboText(HWND dialog, int id) {
    char text[kComboTextLimit + 1] = {};
    GetDlgItemTextA(dialog, id, text, static_cast<int>(sizeof(text)));
    ComboText combo;
    combo.item = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
    combo.text = text;
    return combo;
}

int ReadListItem(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

void Check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

} // namespace

bool CGeneralSettingDlg::Run(GeneralSettingControls& controls, const CHotKeyManager& hotKeys,
                             const Commit& commit) {
    CGeneralSettingDlg dialog(controls, hotKeys, commit);
    if (dialog.RunModal(IDD_GENERAL_SETTING) != IDOK) {
        return false;
    }
    controls = dialog.m_controls;
    return true;
}

void CGeneralSettingDlg::OnInitDialog() {
    OnOpened();
    const HWND dialog = GetHwnd();
    FillCombo(dialog, IDC_QUICK_WAITING_TIME, kWaitingTimeItems);
    FillCombo(dialog, IDC_UPDATE_INTERVAL, kUpdateIntervalItems);
    FillCombo(dialog, IDC_COLOR_FORMAT, kColorFormatCount, &GetColorFormatName);
    FillCombo(dialog, IDC_IMAGE_QUALITY, static_cast<int>(kImageQualityValues.size()),
              &GetImageQualityName);
    FillCombo(dialog, IDC_BLUR_RADIUS, kBlurRadiusItems);

    const GeneralSettingControls& c = m_controls;
    SendDlgItemMessageA(dialog, IDC_DESKTOP_HOTKEY, HKM_SETHOTKEY, c.desktopHotKeyWord, 0);
    Check(dialog, IDC_ADJUST_PANEL_HEIGHT, c.adjustInitialPanelHeight);
    ShowComboText(dialog, IDC_QUICK_WAITING_TIME, c.waitingTime);
    ShowComboText(dialog, IDC_UPDATE_INTERVAL, c.updateInterval);
    SendDlgItemMessageA(dialog, IDC_COLOR_FORMAT, CB_SETCURSEL,
                        static_cast<WPARAM>(c.colorFormatItem), 0);
    Check(dialog, IDC_NOT_IN_TASKBAR, c.notInTaskBar);
    Check(dialog, IDC_SIMPLE_STATUSBAR, c.simpleStatusbarInfo);
    Check(dialog, IDC_SHOW_ORIGINAL_COLOR, c.showOriginalColorInfo);
    SendDlgItemMessageA(dialog, IDC_IMAGE_QUALITY, CB_SETCURSEL,
                        static_cast<WPARAM>(c.imageQualityItem), 0);
    Check(dialog, IDC_NO_SPLASH, c.noSplash);
    Check(dialog, IDC_VIEW_ALL_MONITORS, c.viewAllMonitors);
    SendDlgItemMessageA(dialog, IDC_BLUR_RADIUS, CB_SETCURSEL,
                        static_cast<WPARAM>(c.blurRadiusItem), 0);
    SendDlgItemMessageA(dialog, IDC_LOOK_ALIKE_DISTANCE, EM_LIMITTEXT, 12, 0);
    SetDlgItemTextA(dialog, IDC_LOOK_ALIKE_DISTANCE, c.lookAlikeDistance.c_str());
}

void CGeneralSettingDlg::OnOK() {
    const HWND dialog = GetHwnd();
    GeneralSettingControls& c = m_controls;
    c.desktopHotKeyWord = static_cast<unsigned>(
        SendDlgItemMessageA(dialog, IDC_DESKTOP_HOTKEY, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    // The same rule as the filter setting dialog's: a key two ways to open a view would
    // register only once.
    CHotKeyManager edited = m_hotKeys;
    edited.SetDesktopHotKeyFromControl(c.desktopHotKeyWord);
    unsigned message = 0;
    if (edited.CheckDesktopHotKeyConflict(message)) {
        ShowOwnedResourceMessage(dialog, MB_OK, message);
        return;
    }
    char distance[16] = {};
    GetDlgItemTextA(dialog, IDC_LOOK_ALIKE_DISTANCE, distance, sizeof distance);
    double typed = 0;
    if (!ReadLookAlikeDistance(distance, typed)) {
        ShowOwnedResourceMessage(dialog, MB_OK, IDS_LOOK_ALIKE_DISTANCE_RANGE);
        // Back in the box with the text selected, to be typed over.
        const HWND edit = GetDlgItem(dialog, IDC_LOOK_ALIKE_DISTANCE);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return;
    }
    c.adjustInitialPanelHeight = IsChecked(dialog, IDC_ADJUST_PANEL_HEIGHT);
    c.waitingTime = ReadComboText(dialog, IDC_QUICK_WAITING_TIME);
    c.updateInterval = ReadComboText(dialog, IDC_UPDATE_INTERVAL);
    c.colorFormatItem = ReadListItem(dialog, IDC_COLOR_FORMAT);
    c.notInTaskBar = IsChecked(dialog, IDC_NOT_IN_TASKBAR);
    c.simpleStatusbarInfo = IsChecked(dialog, IDC_SIMPLE_STATUSBAR);
    c.showOriginalColorInfo = IsChecked(dialog, IDC_SHOW_ORIGINAL_COLOR);
    c.imageQualityItem = ReadListItem(dialog, IDC_IMAGE_QUALITY);
    c.noSplash = IsChecked(dialog, IDC_NO_SPLASH);
    c.viewAllMonitors = IsChecked(dialog, IDC_VIEW_ALL_MONITORS);
    c.blurRadiusItem = ReadListItem(dialog, IDC_BLUR_RADIUS);
    c.lookAlikeDistance = distance;
    if (m_commit && !m_commit(c, dialog)) {
        return;
    }
    EndDialogWith(IDOK);
}

INT_PTR CGeneralSettingDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            EndDialogWith(IDCANCEL);
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return FALSE;
}
