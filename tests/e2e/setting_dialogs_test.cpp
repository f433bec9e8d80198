// The two setting dialogs of the real zeziriv.exe and the tray commands that open them, driven
// from outside: control values are set and buttons clicked as a user's tools would, and the
// results are read back from the registry, the registered hot keys and the tray menu.
#include "e2e_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr UINT kGeneralSettingCommand = 33001;
constexpr UINT kFilterSettingCommand = 33002;
constexpr UINT kExitCommand = 33003;
constexpr UINT kAboutCommand = 33000;
constexpr UINT WM_APP_TRAY_NOTIFY = 0x8001;
constexpr UINT WM_APP_OPEN_DESKTOP = 0x8004;
constexpr UINT WM_APP_OPEN_QUICK = 0x8005;
constexpr DWORD kDialogTimeoutMs = 10000;

// Controls of the general setting dialog.
constexpr int kDesktopHotKey = 1000;
constexpr int kAdjustHeight = 1001;
constexpr int kWaitingTime = 1002;
constexpr int kUpdateInterval = 1003;
constexpr int kColorFormat = 1004;
constexpr int kNotInTaskBar = 1005;
constexpr int kSimpleStatusbar = 1006;
constexpr int kOriginalColor = 1007;
constexpr int kImageQuality = 1008;
constexpr int kNoSplash = 1009;
constexpr int kBlurRadius = 1010;
// Controls of the filter setting dialog.
constexpr int kEnabledList = 1100;
constexpr int kDisabledList = 1101;
constexpr int kUp = 1102;
constexpr int kDown = 1103;
constexpr int kEnable = 1104;
constexpr int kDisable = 1105;
constexpr int kFilterID = 1106;
constexpr int kFilterName = 1107;
constexpr int kFilterHotKey = 1108;

// Hot key control words (key | flags << 8) and the values the program stores for them.
constexpr unsigned ControlWord(UINT key, BYTE flags) {
    return key | (static_cast<unsigned>(flags) << 8);
}
constexpr BYTE kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;
constexpr DWORD StoredKey(UINT key, UINT modifiers) {
    return key | (modifiers << 16);
}

// Every value under the program's key, as "name" → "kind:value".
using Snapshot = std::map<std::string, std::string>;

Snapshot ReadAllSettings() {
    Snapshot values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\zuvadur\\Zeziriv", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return values;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof(name);
        BYTE data[4096];
        DWORD dataLength = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS) {
            break;
        }
        if (type == REG_DWORD) {
            values[name] = "dword:" + std::to_string(*reinterpret_cast<const DWORD*>(data));
        } else {
            values[name] = "sz:" + std::string(reinterpret_cast<const char*>(data));
        }
    }
    RegCloseKey(key);
    return values;
}

// The values that differ between two snapshots, with their new values.
Snapshot Changed(const Snapshot& before, const Snapshot& after) {
    Snapshot changed;
    for (const auto& [name, value] : after) {
        const auto it = before.find(name);
        if (it == before.end() || it->second != value) {
            changed[name] = value;
        }
    }
    for (const auto& [name, value] : before) {
        if (after.count(name) == 0) {
            changed[name] = "(deleted)";
        }
    }
    return changed;
}

void WriteSettingString(const char* name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\zuvadur\\Zeziriv", 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
}

// Whether another program would be refused the key because someone holds it. Only asked
// when the program is not about to register keys: a key held here for that moment would be
// refused to the program.
bool KeyIsTaken(UINT modifiers, UINT key) {
    const CHeldHotKey held(modifiers, key);
    return !held.IsHeld();
}

// Messages a user's action sends to a dialog; they return once the dialog has handled them.
LRESULT SendToDialog(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(dialog, msg, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}
LRESULT SendToControl(HWND dialog, int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendToDialog(GetDlgItem(dialog, id), msg, wParam, lParam);
}

void Click(HWND dialog, int id) {
    SendToDialog(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
void TypeComboText(HWND dialog, int id, const char* text) {
    SendToControl(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(-1));
    SendToControl(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
void SetCheck(HWND dialog, int id, bool on) {
    SendToControl(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}
bool IsChecked(HWND dialog, int id) {
    return SendToControl(dialog, id, BM_GETCHECK) == BST_CHECKED;
}
int ComboSelection(HWND dialog, int id) {
    return static_cast<int>(SendToControl(dialog, id, CB_GETCURSEL));
}
unsigned HotKeyWord(HWND dialog, int id) {
    return static_cast<unsigned>(SendToControl(dialog, id, HKM_GETHOTKEY) & 0xFFFF);
}
std::string ControlText(HWND dialog, int id) {
    char text[1024] = {};
    SendToControl(dialog, id, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}
bool IsEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// A click in a list selects and tells the dialog.
void SelectListItem(HWND dialog, int id, int index) {
    SendToControl(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index));
    SendToDialog(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
void SelectListItems(HWND dialog, int id, const std::vector<int>& indices) {
    SendToControl(dialog, id, LB_SETSEL, FALSE, -1);
    for (int index : indices) {
        SendToControl(dialog, id, LB_SETSEL, TRUE, index);
    }
    SendToDialog(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
std::vector<std::string> ListTexts(HWND dialog, int id) {
    std::vector<std::string> texts;
    const auto count = static_cast<int>(SendToControl(dialog, id, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        // Wine hands list texts to another process in their wide form only.
        wchar_t text[256] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(GetDlgItem(dialog, id), LB_GETTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
        char narrow[256] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
        texts.push_back(narrow);
    }
    return texts;
}
HWND FocusedWindow(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}
int ListSelection(HWND dialog, int id) {
    return static_cast<int>(SendToControl(dialog, id, LB_GETCURSEL));
}

using Strings = std::vector<std::string>;

class SettingDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        tree.AddFilter("protanopia", "E2E Protan");
        tree.AddFilter("deutanopia", "E2E Deutan");
        tree.AddFilter("hue_gbr", "E2E Hue GBR");
    }
    void TearDown() override { ClearSettings(); }

    HWND Start(CProgram& program) {
        EXPECT_TRUE(program.IsStarted());
        return WaitForWindow(program.GetProcessId(), kFrameClass, kStartTimeoutMs);
    }

    // Also waits until the frame runs its message loop (a posted command is answered): by then
    // its keys are registered, and a key tried here can no longer be in the way of that.
    HWND StartAndSettle(CProgram& program) {
        const HWND frame = Start(program);
        if (frame != nullptr) {
            const HWND about = OpenDialog(program, frame, kAboutCommand, "About");
            EXPECT_NE(about, nullptr);
            if (about != nullptr) {
                EndDialog(frame, about, IDCANCEL);
            }
        }
        return frame;
    }

    // Opens a dialog through the frame's command and waits until it is shown, initialised.
    static HWND OpenDialog(const CProgram& program, HWND frame, UINT command, const char* title) {
        PostMessageA(frame, WM_COMMAND, command, 0);
        return WaitForDialog(program, title);
    }
    static HWND WaitForDialog(const CProgram& program, const char* title) {
        HWND dialog = nullptr;
        WaitFor(
            [&] {
                for (HWND hwnd : FindWindows(program.GetProcessId(), kDialogClass, title)) {
                    if (IsWindowVisible(hwnd)) {
                        dialog = hwnd;
                        return true;
                    }
                }
                return false;
            },
            kDialogTimeoutMs);
        return dialog;
    }

    // Ends a dialog with OK or Cancel and waits until the frame has finished the command that
    // opened it (keys registered again).
    static void EndDialog(HWND frame, HWND dialog, int button) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kDialogTimeoutMs));
        DWORD_PTR result = 0;
        SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, kDialogTimeoutMs, &result);
    }

    // Presses OK where a message is expected: returns its text once answered; the dialog
    // stays open.
    static std::string OkExpectingMessage(const CProgram& program, HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        HWND box = nullptr;
        std::string text;
        WaitFor(
            [&] {
                for (HWND hwnd : FindWindows(program.GetProcessId(), kDialogClass, "Zeziriv")) {
                    text = GetStaticTexts(hwnd);
                    if (IsWindowVisible(hwnd) && !text.empty()) {
                        box = hwnd;
                        return true;
                    }
                }
                return false;
            },
            kDialogTimeoutMs);
        if (box != nullptr) {
            PressButton(box, IDOK);
            WaitFor([&] { return !IsWindow(box); }, kDialogTimeoutMs);
        }
        return text;
    }

    static void Exit(CProgram& program, HWND frame) {
        PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
        EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
    }

    // The texts and grey states of the tray menu's items, and of its Quick view submenu.
    static std::vector<MenuItem> ReadTrayMenu(const CProgram& program, HWND frame) {
        PostMessageA(frame, WM_APP_TRAY_NOTIFY, 100, WM_RBUTTONUP);
        HWND menu = nullptr;
        WaitFor([&] { return (menu = FindOpenMenu(program.GetProcessId())) != nullptr; },
                kDialogTimeoutMs);
        std::vector<MenuItem> items =
            menu != nullptr ? ReadOpenMenu(menu) : std::vector<MenuItem>{};
        CloseOpenMenu(program.GetProcessId());
        return items;
    }

    CInstallTree tree;
};

} // namespace

TEST_F(SettingDialogsTest, GeneralOkWritesExactlyTheChangedValuesAndTheNextRunReadsThem) {
    WriteSettingDword("ImageQuality", 5);
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);

    HWND dialog = OpenDialog(program, frame, kGeneralSettingCommand, "Setting");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(HotKeyWord(dialog, kDesktopHotKey), ControlWord(VK_F11, HOTKEYF_CONTROL));
    EXPECT_TRUE(IsChecked(dialog, kAdjustHeight));
    EXPECT_EQ(ControlText(dialog, kWaitingTime), "1000");
    EXPECT_EQ(ComboSelection(dialog, kWaitingTime), 3);
    EXPECT_EQ(ComboSelection(dialog, kUpdateInterval), 1);
    EXPECT_EQ(ControlText(dialog, kColorFormat), "RGB(decimal)");
    EXPECT_EQ(ControlText(dialog, kImageQuality), "low") << "5 opens as low";
    EXPECT_TRUE(IsChecked(dialog, kNoSplash));
    EXPECT_EQ(ComboSelection(dialog, kBlurRadius), 0);
    EXPECT_EQ(ReadAllSettings().size(), 2u) << "nothing is written while the dialog is open";
    // An untouched OK writes the whole profile; low is stored as 3.
    EndDialog(frame, dialog, IDOK);
    const Snapshot before = ReadAllSettings();
    EXPECT_EQ(before.at("ImageQuality"), "dword:3");
    EXPECT_EQ(before.at("QuickWaitingTime"), "dword:1000");

    dialog = OpenDialog(program, frame, kGeneralSettingCommand, "Setting");
    ASSERT_NE(dialog, nullptr);
    SendToControl(dialog, kDesktopHotKey, HKM_SETHOTKEY, ControlWord(VK_F10, kCtrlAlt));
    SetCheck(dialog, kAdjustHeight, false);
    TypeComboText(dialog, kWaitingTime, "750");
    TypeComboText(dialog, kUpdateInterval, " 99999999999");
    SendToControl(dialog, kColorFormat, CB_SETCURSEL, 1);
    SetCheck(dialog, kNotInTaskBar, true);
    SendToControl(dialog, kBlurRadius, CB_SETCURSEL, 2);
    EndDialog(frame, dialog, IDOK);
    EXPECT_EQ(Changed(before, ReadAllSettings()),
              (Snapshot{
                  {"DesktopHotKey", "dword:" + std::to_string(StoredKey(VK_F10, 3))},
                  {"DesktopAdjustInitialPanelHeight", "dword:0"},
                  {"QuickWaitingTime", "dword:750"},
                  {"WindowUpdateInterval", "dword:4294967295"},
                  {"WindowColorDisplayFormat", "dword:1"},
                  {"WindowUnvisibleTaskBar", "dword:1"},
              }));
    // The new desktop key is the program's now, the old one is free.
    EXPECT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F10));
    EXPECT_FALSE(KeyIsTaken(MOD_CONTROL, VK_F11));

    // Reopened in the same run: the typed time as text with no item, the radius kept.
    dialog = OpenDialog(program, frame, kGeneralSettingCommand, "Setting");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog, kWaitingTime), "750");
    EXPECT_EQ(ComboSelection(dialog, kWaitingTime), -1);
    EXPECT_EQ(ComboSelection(dialog, kBlurRadius), 2);
    EndDialog(frame, dialog, IDCANCEL);
    Exit(program, frame);

    // The next run reads back what was written; the radius was for that run only.
    CProgram next(tree.GetExe());
    const HWND nextFrame = Start(next);
    ASSERT_NE(nextFrame, nullptr);
    dialog = OpenDialog(next, nextFrame, kGeneralSettingCommand, "Setting");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(HotKeyWord(dialog, kDesktopHotKey), ControlWord(VK_F10, kCtrlAlt));
    EXPECT_FALSE(IsChecked(dialog, kAdjustHeight));
    EXPECT_EQ(ControlText(dialog, kWaitingTime), "750");
    EXPECT_EQ(ComboSelection(dialog, kWaitingTime), -1);
    EXPECT_EQ(ControlText(dialog, kUpdateInterval), "4294967295");
    EXPECT_EQ(ComboSelection(dialog, kColorFormat), 1);
    EXPECT_TRUE(IsChecked(dialog, kNotInTaskBar));
    EXPECT_EQ(ComboSelection(dialog, kBlurRadius), 0);
    EndDialog(nextFrame, dialog, IDCANCEL);
    Exit(next, nextFrame);
}

TEST_F(SettingDialogsTest, GeneralCancelAfterChangingEveryControlLeavesSettingsAndKeys) {
    WriteSettingString("QuickHotKeys", "protanopia," + std::to_string(StoredKey('1', 3)));
    CProgram program(tree.GetExe());
    const HWND frame = StartAndSettle(program);
    ASSERT_NE(frame, nullptr);
    const Snapshot before = ReadAllSettings();
    ASSERT_TRUE(KeyIsTaken(MOD_CONTROL, VK_F11));
    ASSERT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    ASSERT_FALSE(KeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F9));

    HWND dialog = OpenDialog(program, frame, kGeneralSettingCommand, "Setting");
    ASSERT_NE(dialog, nullptr);
    // Only the key this dialog edits is let go while it is open.
    EXPECT_FALSE(KeyIsTaken(MOD_CONTROL, VK_F11));
    EXPECT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    SendToControl(dialog, kDesktopHotKey, HKM_SETHOTKEY, ControlWord(VK_F9, kCtrlAlt));
    SetCheck(dialog, kAdjustHeight, false);
    TypeComboText(dialog, kWaitingTime, "99999999999");
    TypeComboText(dialog, kUpdateInterval, "-20");
    SendToControl(dialog, kColorFormat, CB_SETCURSEL, 4);
    SetCheck(dialog, kNotInTaskBar, true);
    SetCheck(dialog, kSimpleStatusbar, true);
    SetCheck(dialog, kOriginalColor, true);
    SendToControl(dialog, kImageQuality, CB_SETCURSEL, 2);
    SetCheck(dialog, kNoSplash, false);
    SendToControl(dialog, kBlurRadius, CB_SETCURSEL, 5);
    EndDialog(frame, dialog, IDCANCEL);

    EXPECT_EQ(ReadAllSettings(), before);
    EXPECT_TRUE(KeyIsTaken(MOD_CONTROL, VK_F11)) << "registered again";
    EXPECT_FALSE(KeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F9)) << "still free";
    EXPECT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));

    dialog = OpenDialog(program, frame, kGeneralSettingCommand, "Setting");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(HotKeyWord(dialog, kDesktopHotKey), ControlWord(VK_F11, HOTKEYF_CONTROL));
    EXPECT_EQ(ControlText(dialog, kWaitingTime), "1000");
    EXPECT_EQ(ComboSelection(dialog, kColorFormat), 0);
    EXPECT_FALSE(IsChecked(dialog, kOriginalColor));
    EXPECT_EQ(ComboSelection(dialog, kImageQuality), 1);
    EXPECT_EQ(ComboSelection(dialog, kBlurRadius), 0);
    EndDialog(frame, dialog, IDCANCEL);
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, FilterDialogEditsTheOrderAndKeysAndOkReachesMenuRegistryAndKeys) {
    tree.AddFilter("zeta", "Zeta");
    tree.AddFilter("alpha", "alpha");
    WriteSettingString("QuickHotKeys", "protanopia," + std::to_string(StoredKey('1', 3)));
    CProgram program(tree.GetExe());
    const HWND frame = StartAndSettle(program);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));

    const HWND dialog = OpenDialog(program, frame, kFilterSettingCommand, "Filter setting");
    ASSERT_NE(dialog, nullptr);
    // Only the quick keys are let go while it is open.
    EXPECT_FALSE(KeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    EXPECT_TRUE(KeyIsTaken(MOD_CONTROL, VK_F11));

    EXPECT_EQ(ListTexts(dialog, kEnabledList),
              (Strings{"normal", "E2E Protan", "E2E Deutan", "E2E Hue GBR"}));
    EXPECT_EQ(ListTexts(dialog, kDisabledList), (Strings{"alpha", "Zeta"}));
    EXPECT_EQ(ListSelection(dialog, kEnabledList), 0);
    EXPECT_EQ(ControlText(dialog, kFilterID), "_normal");
    EXPECT_EQ(ControlText(dialog, kFilterName), "normal");
    EXPECT_FALSE(IsEnabled(dialog, kUp));
    EXPECT_TRUE(IsEnabled(dialog, kDown));
    EXPECT_FALSE(IsEnabled(dialog, kDisable)) << "normal is never disabled";
    EXPECT_FALSE(IsEnabled(dialog, kEnable));

    // A button that becomes unavailable under the keyboard focus hands it on: Up to Down.
    SelectListItem(dialog, kEnabledList, 1);
    SendToDialog(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kUp)), TRUE);
    ASSERT_EQ(FocusedWindow(dialog), GetDlgItem(dialog, kUp));
    Click(dialog, kUp);
    EXPECT_EQ(ListTexts(dialog, kEnabledList)[0], "E2E Protan");
    EXPECT_FALSE(IsEnabled(dialog, kUp));
    EXPECT_EQ(FocusedWindow(dialog), GetDlgItem(dialog, kDown));
    Click(dialog, kDown);
    EXPECT_EQ(ListTexts(dialog, kEnabledList)[1], "E2E Protan");
    EXPECT_EQ(FocusedWindow(dialog), GetDlgItem(dialog, kDown));

    // Hue GBR up two places.
    SelectListItem(dialog, kEnabledList, 3);
    EXPECT_EQ(ControlText(dialog, kFilterID), "hue_gbr");
    Click(dialog, kUp);
    Click(dialog, kUp);
    EXPECT_EQ(ListTexts(dialog, kEnabledList),
              (Strings{"normal", "E2E Hue GBR", "E2E Protan", "E2E Deutan"}));
    EXPECT_EQ(ListSelection(dialog, kEnabledList), 1);

    // Deutan, the last, disabled: the selection moves to the new last, Protan, and its key.
    SelectListItem(dialog, kEnabledList, 3);
    Click(dialog, kDisable);
    EXPECT_EQ(ListTexts(dialog, kEnabledList), (Strings{"normal", "E2E Hue GBR", "E2E Protan"}));
    EXPECT_EQ(ListSelection(dialog, kEnabledList), 2);
    EXPECT_EQ(ControlText(dialog, kFilterName), "E2E Protan");
    EXPECT_EQ(HotKeyWord(dialog, kFilterHotKey), ControlWord('1', kCtrlAlt));
    EXPECT_FALSE(IsEnabled(dialog, kDown));
    EXPECT_EQ(ListTexts(dialog, kDisabledList), (Strings{"alpha", "E2E Deutan", "Zeta"}));

    // Two enabled at once arrive in name order.
    EXPECT_FALSE(IsEnabled(dialog, kEnable));
    SelectListItems(dialog, kDisabledList, {2, 0});
    EXPECT_TRUE(IsEnabled(dialog, kEnable));
    Click(dialog, kEnable);
    EXPECT_EQ(ListTexts(dialog, kEnabledList),
              (Strings{"normal", "E2E Hue GBR", "E2E Protan", "alpha", "Zeta"}));
    EXPECT_EQ(ListTexts(dialog, kDisabledList), (Strings{"E2E Deutan"}));
    EXPECT_FALSE(IsEnabled(dialog, kEnable)) << "nothing picked any more";

    // A key for Hue GBR; the move away from Protan stored Protan's key again, last.
    SelectListItem(dialog, kEnabledList, 1);
    EXPECT_EQ(HotKeyWord(dialog, kFilterHotKey), 0u);
    SendToControl(dialog, kFilterHotKey, HKM_SETHOTKEY, ControlWord('2', kCtrlAlt));
    EXPECT_EQ(ReadSettingString("EnableFilters"), std::nullopt) << "nothing written before OK";
    EndDialog(frame, dialog, IDOK);

    EXPECT_EQ(ReadSettingString("EnableFilters"),
              std::optional<std::string>("_normal,hue_gbr,protanopia,alpha,zeta"));
    EXPECT_EQ(ReadSettingString("QuickHotKeys"),
              std::optional<std::string>("protanopia," + std::to_string(StoredKey('1', 3)) +
                                         ",hue_gbr," + std::to_string(StoredKey('2', 3))));
    EXPECT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    EXPECT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, '2'));

    const std::vector<MenuItem> menu = ReadTrayMenu(program, frame);
    ASSERT_GT(menu.size(), 3u);
    Strings quick;
    for (const MenuItem& item : menu[3].submenu) {
        quick.push_back(item.text);
    }
    EXPECT_EQ(quick, (Strings{"normal", "E2E Hue GBR", "E2E Protan", "alpha", "Zeta"}));
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, FilterDialogShowsTheLimitAndConflictMessagesAndStaysOpen) {
    std::string enabled = "_normal";
    std::string keys;
    for (int i = 1; i <= 11; ++i) {
        const std::string id = "f" + std::to_string(i + 10);
        tree.AddFilter(id, "Filter " + std::to_string(i + 10));
        enabled += "," + id;
        if (i <= 10) {
            keys +=
                (keys.empty() ? "" : ",") + id + "," + std::to_string(StoredKey('0' + (i % 10), 3));
        }
    }
    WriteSettingString("EnableFilters", enabled);
    WriteSettingString("QuickHotKeys", keys);
    CProgram program(tree.GetExe());
    const HWND frame = StartAndSettle(program);
    ASSERT_NE(frame, nullptr);
    const Snapshot before = ReadAllSettings();

    const HWND dialog = OpenDialog(program, frame, kFilterSettingCommand, "Filter setting");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(ListTexts(dialog, kEnabledList).size(), 12u);
    // An eleventh key.
    SelectListItem(dialog, kEnabledList, 11);
    SendToControl(dialog, kFilterHotKey, HKM_SETHOTKEY, ControlWord(VK_F5, kCtrlAlt));
    EXPECT_EQ(OkExpectingMessage(program, dialog), "Error: Hotkey limit exceeded. (MAX: 10)");
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));

    // Ten again, but the first filter takes the desktop key.
    SendToControl(dialog, kFilterHotKey, HKM_SETHOTKEY, 0);
    SelectListItem(dialog, kEnabledList, 1);
    EXPECT_EQ(HotKeyWord(dialog, kFilterHotKey), ControlWord('1', kCtrlAlt));
    SendToControl(dialog, kFilterHotKey, HKM_SETHOTKEY, ControlWord(VK_F11, HOTKEYF_CONTROL));
    EXPECT_EQ(OkExpectingMessage(program, dialog), "Error: Hotkey conflict.");
    ASSERT_TRUE(IsWindow(dialog));

    // Or the key of another filter.
    SendToControl(dialog, kFilterHotKey, HKM_SETHOTKEY, ControlWord('2', kCtrlAlt));
    EXPECT_EQ(OkExpectingMessage(program, dialog), "Error: Hotkey conflict.");
    ASSERT_TRUE(IsWindow(dialog));

    EndDialog(frame, dialog, IDCANCEL);
    EXPECT_EQ(ReadAllSettings(), before);
    for (char digit = '0'; digit <= '9'; ++digit) {
        EXPECT_TRUE(KeyIsTaken(MOD_CONTROL | MOD_ALT, static_cast<UINT>(digit))) << digit;
    }
    EXPECT_FALSE(KeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F5));
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, OneDialogAtATimeAndTheTrayMenuGreysWhatItRefuses) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);

    const struct {
        UINT command;
        const char* title;
        UINT otherCommand;
        const char* otherTitle;
        bool openNewWindowGreyed;
    } cases[] = {
        {kGeneralSettingCommand, "Setting", kFilterSettingCommand, "Filter setting", false},
        {kFilterSettingCommand, "Filter setting", kGeneralSettingCommand, "Setting", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const HWND dialog = OpenDialog(program, frame, c.command, c.title);
        ASSERT_NE(dialog, nullptr);
        // The same command again brings it forward; the other dialog is refused.
        DWORD_PTR result = 0;
        for (UINT command : {c.command, c.otherCommand}) {
            ASSERT_TRUE(SendMessageTimeoutA(frame, WM_COMMAND, command, 0, SMTO_NORMAL,
                                            kDialogTimeoutMs, &result));
        }
        EXPECT_EQ(FindWindows(program.GetProcessId(), kDialogClass, c.title).size(), 1u);
        EXPECT_TRUE(FindWindows(program.GetProcessId(), kDialogClass, c.otherTitle).empty());

        const std::vector<MenuItem> menu = ReadTrayMenu(program, frame);
        ASSERT_EQ(menu.size(), 15u);
        EXPECT_TRUE(menu[0].grayed) << "Desktop view";
        EXPECT_EQ(menu[1].grayed, c.openNewWindowGreyed) << "Open new window";
        EXPECT_TRUE(menu[3].grayed) << "Quick view";
        EXPECT_TRUE(menu[9].grayed) << "Filter setting";
        EXPECT_TRUE(menu[10].grayed) << "General setting";
        EXPECT_FALSE(menu[12].grayed) << "About";
        EXPECT_FALSE(menu[14].grayed) << "Exit";

        EndDialog(frame, dialog, IDCANCEL);
        const std::vector<MenuItem> after = ReadTrayMenu(program, frame);
        ASSERT_EQ(after.size(), 15u);
        for (std::size_t i : {0u, 1u, 3u, 9u, 10u}) {
            EXPECT_FALSE(after[i].grayed) << after[i].text;
        }
    }
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, ExitWhileADialogIsOpenEndsTheProgramAndSavesTheProfile) {
    for (const auto& [command, title] : {std::pair{kGeneralSettingCommand, "Setting"},
                                         std::pair{kFilterSettingCommand, "Filter setting"}}) {
        SCOPED_TRACE(title);
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        CProgram program(tree.GetExe());
        const HWND frame = Start(program);
        ASSERT_NE(frame, nullptr);
        const HWND dialog = OpenDialog(program, frame, command, title);
        ASSERT_NE(dialog, nullptr);
        PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
        EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
        // Saved at the end, with the keys as they were before the dialog.
        EXPECT_EQ(ReadSettingDword("DesktopHotKey"), std::optional<DWORD>(131194));
        EXPECT_EQ(ReadSettingString("EnableFilters"),
                  std::optional<std::string>("_normal,protanopia,deutanopia,hue_gbr"));
    }
}

TEST_F(SettingDialogsTest, OpenRequestsForPositionsNoLongerInTheListDoNothing) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);
    const auto visibleWindows = [&] {
        std::size_t count = 0;
        for (const char* cls : {kDialogClass, kMenuClass}) {
            for (HWND hwnd : FindWindows(program.GetProcessId(), cls)) {
                count += IsWindowVisible(hwnd) ? 1 : 0;
            }
        }
        return count;
    };
    const auto sync = [&] {
        DWORD_PTR result = 0;
        // The delayed request re-posts itself after its wait; two rounds see it through.
        for (int round = 0; round < 2; ++round) {
            SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, kDialogTimeoutMs, &result);
            Sleep(0);
        }
    };
    // Four filters are enabled: positions 4 and beyond, and negative ones, name none.
    for (const int position : {4, 99, -1}) {
        for (const LPARAM delay : {0, 50}) {
            PostMessageA(frame, WM_APP_OPEN_QUICK, static_cast<WPARAM>(position), delay);
        }
        PostMessageA(frame, WM_COMMAND, 33500 + position, 0);
    }
    sync();
    EXPECT_EQ(visibleWindows(), 0u);
    EXPECT_TRUE(program.IsRunning());

    // While a setting dialog is open the views refuse to open, delayed or not.
    const HWND dialog = OpenDialog(program, frame, kGeneralSettingCommand, "Setting");
    ASSERT_NE(dialog, nullptr);
    for (const LPARAM delay : {0, 50}) {
        PostMessageA(frame, WM_APP_OPEN_DESKTOP, 0, delay);
        PostMessageA(frame, WM_APP_OPEN_QUICK, 0, delay);
    }
    sync();
    EXPECT_EQ(visibleWindows(), 1u) << "only the dialog";
    EndDialog(frame, dialog, IDCANCEL);
    Exit(program, frame);
}

namespace {

std::string LanguageLibraryPath() {
    return "resource\\" + std::to_string(GetSystemDefaultLangID()) + "\\ttres.dll";
}

} // namespace

TEST_F(SettingDialogsTest, DialogsComeFromTheLanguageLibraryOrTheProgram) {
    tree.CopyFileInto(ZEZIRIV_E2E_LANG_SAME, LanguageLibraryPath());
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);
    for (const auto& [command, title] : {std::pair{kGeneralSettingCommand, "LANG Setting"},
                                         std::pair{kFilterSettingCommand, "LANG Filter setting"},
                                         // The library has no About box: the program's is used.
                                         std::pair{kAboutCommand, "About"}}) {
        const HWND dialog = OpenDialog(program, frame, command, title);
        ASSERT_NE(dialog, nullptr) << title;
        EndDialog(frame, dialog, IDCANCEL);
    }
    Exit(program, frame);
}

namespace {

// Sets the resolution that programs started from now on take, and puts the old one back.
class CScreenResolution {
public:
    explicit CScreenResolution(DWORD dpi) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            &m_key, nullptr) != ERROR_SUCCESS) {
            m_key = nullptr;
            return;
        }
        DWORD size = sizeof(m_old);
        m_hadOld = RegQueryValueExA(m_key, "LogPixels", nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(&m_old), &size) == ERROR_SUCCESS;
        RegSetValueExA(m_key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof(dpi));
    }
    ~CScreenResolution() {
        if (m_key == nullptr) {
            return;
        }
        if (m_hadOld) {
            RegSetValueExA(m_key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_old),
                           sizeof(m_old));
        } else {
            RegDeleteValueA(m_key, "LogPixels");
        }
        RegCloseKey(m_key);
    }

private:
    static constexpr const char* kKey = "Control Panel\\Desktop";
    HKEY m_key = nullptr;
    DWORD m_old = 0;
    bool m_hadOld = false;
};

// Reads other programs' windows in physical pixels, whatever their resolution.
class CPhysicalPixels {
public:
    CPhysicalPixels() {
        using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
        m_set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
        if (m_set != nullptr) {
            m_old = m_set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
        }
    }
    ~CPhysicalPixels() {
        if (m_set != nullptr && m_old != nullptr) {
            m_set(m_old);
        }
    }

private:
    DPI_AWARENESS_CONTEXT(WINAPI* m_set)(DPI_AWARENESS_CONTEXT) = nullptr;
    DPI_AWARENESS_CONTEXT m_old = nullptr;
};

std::string WithoutMnemonics(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

// Every text of the dialog fits its control in the dialog font at `dpi`, every control lies
// inside the dialog, and no two controls other than group boxes overlap. Returns the faults.
std::vector<std::string> LayoutFaults(HWND dialog, int dpi) {
    std::vector<std::string> faults;
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(8, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "MS Shell Dlg");
    HFONT font = CreateFontIndirectA(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };

    RECT client{};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    struct Placed {
        std::string name;
        RECT rect;
    };
    std::vector<Placed> solid;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof(className));
        char raw[512] = {};
        SendToDialog(child, WM_GETTEXT, sizeof(raw), reinterpret_cast<LPARAM>(raw));
        const std::string text = WithoutMnemonics(raw);
        RECT rc{};
        GetWindowRect(child, &rc);
        const std::string name = std::string(className) + " \"" + text + "\"";
        if (rc.left < client.left || rc.top < client.top || rc.right > client.right ||
            rc.bottom > client.bottom) {
            faults.push_back(name + " reaches outside the dialog");
        }
        const auto style = static_cast<UINT>(GetWindowLongA(child, GWL_STYLE));
        const bool button = lstrcmpiA(className, "Button") == 0;
        const bool groupBox = button && (style & BS_TYPEMASK) == BS_GROUPBOX;
        if (!groupBox) {
            solid.push_back({name, rc});
        }
        if (text.empty() || !(button || lstrcmpiA(className, "Static") == 0)) {
            continue;
        }
        const bool wraps = !button && (style & SS_TYPEMASK) == SS_LEFT;
        RECT need{0, 0, wraps ? rc.right - rc.left : 0, 0};
        DrawTextA(dc, text.c_str(), -1, &need,
                  DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        int room = rc.right - rc.left;
        const UINT type = style & BS_TYPEMASK;
        if (groupBox) {
            room -= scaled(16);
        } else if (button && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) {
            room -= scaled(18); // the box and the gap after it
        } else if (button) {
            room -= scaled(8);
        }
        if (need.right > room) {
            faults.push_back(name + " needs " + std::to_string(need.right) + " pixels, has " +
                             std::to_string(room));
        }
        if (!groupBox && need.bottom > rc.bottom - rc.top) {
            faults.push_back(name + " is cut at the bottom");
        }
    }
    for (std::size_t i = 0; i < solid.size(); ++i) {
        for (std::size_t j = i + 1; j < solid.size(); ++j) {
            RECT overlap{};
            if (IntersectRect(&overlap, &solid[i].rect, &solid[j].rect)) {
                faults.push_back(solid[i].name + " overlaps " + solid[j].name);
            }
        }
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    DeleteObject(font);
    return faults;
}

} // namespace

TEST_F(SettingDialogsTest, EveryLabelFitsAtOneHundredAndOneHundredFiftyPercent) {
    std::map<std::string, int> widthAt96;
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const CScreenResolution resolution(static_cast<DWORD>(dpi));
        CProgram program(tree.GetExe());
        const HWND frame = Start(program);
        ASSERT_NE(frame, nullptr);
        for (const auto& [command, title] : {std::pair{kGeneralSettingCommand, "Setting"},
                                             std::pair{kFilterSettingCommand, "Filter setting"},
                                             std::pair{kAboutCommand, "About"}}) {
            const HWND dialog = OpenDialog(program, frame, command, title);
            ASSERT_NE(dialog, nullptr) << title;
            {
                const CPhysicalPixels physical;
                EXPECT_EQ(LayoutFaults(dialog, dpi), Strings{}) << title;
                RECT rc{};
                GetWindowRect(dialog, &rc);
                if (dpi == 96) {
                    widthAt96[title] = rc.right - rc.left;
                } else {
                    // The program did take the resolution: its dialogs grew with the font.
                    EXPECT_GT(rc.right - rc.left, widthAt96[title] * 13 / 10) << title;
                }
            }
            EndDialog(frame, dialog, IDCANCEL);
        }
        Exit(program, frame);
    }
}
