// The two setting dialogs of the real zeziriv.exe and the tray commands that open them, driven
// from outside: control values are set and buttons clicked as a user's tools would, and the
// results are read back from the registry, the registered hot keys and the tray menu.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace e2e;
using win_test::PressKeys;

namespace {

constexpr UINT kGeneralCommand = kGeneralSettingCommand;
constexpr UINT kFilterCommand = kFilterSettingCommand;
constexpr DWORD kDialogTimeoutMs = 10000;
constexpr const char* kSettingsKey = "Software\\zuvadur\\Zeziriv";

// clang-format off
enum GeneralControl : int {
    kDesktopHotKey = 1000, kAdjustHeight, kWaitingTime, kUpdateInterval, kColorFormat,
    kNotInTaskBar, kSimpleStatusbar, kOriginalColor, kImageQuality, kNoSplash, kBlurRadius,
    kLookAlikeDistance = 1020,
    kViewAllMonitors = 1030
};
enum FilterControl : int {
    kEnabledList = 1100, kDisabledList, kUp, kDown, kEnable, kDisable, kFilterID, kFilterName,
    kFilterHotKey, kForgetMissing = 1110
};
// clang-format on

// Hot key control words (key | flags << 8) and the values the program stores for them.
constexpr BYTE kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;
constexpr unsigned ControlWord(UINT key, BYTE flags) {
    return key | (static_cast<unsigned>(flags) << 8);
}
std::string StoredKey(UINT key, UINT modifiers = MOD_CONTROL | MOD_ALT) {
    return std::to_string(key | (modifiers << 16));
}

using Strings = std::vector<std::string>;
// Every value under the program's key, as "name" -> "kind:value".
using Snapshot = std::map<std::string, std::string>;

Snapshot ReadAllSettings() {
    Snapshot values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return values;
    }
    char name[256];
    BYTE data[4096];
    DWORD nameLength = sizeof(name), dataLength = sizeof(data), type = 0;
    for (DWORD i = 0; RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) ==
                      ERROR_SUCCESS;
         ++i, nameLength = sizeof(name), dataLength = sizeof(data)) {
        values[name] = type == REG_DWORD
                           ? "dword:" + std::to_string(*reinterpret_cast<const DWORD*>(data))
                           : "sz:" + std::string(reinterpret_cast<const char*>(data));
    }
    RegCloseKey(key);
    return values;
}

// The values that are new or differ in `after` (the program never deletes one).
Snapshot Changed(const Snapshot& before, const Snapshot& after) {
    Snapshot changed;
    for (const auto& [name, value] : after) {
        if (const auto it = before.find(name); it == before.end() || it->second != value) {
            changed[name] = value;
        }
    }
    return changed;
}

// Lets everyone read the program's key and no one write it, as a policy might.
bool MakeSettingsReadOnly() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    char everyone[] = "EVERYONE";
    EXPLICIT_ACCESSA access{};
    access.grfAccessPermissions = KEY_READ;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    access.Trustee.ptstrName = everyone;
    PACL acl = nullptr;
    bool done = SetEntriesInAclA(1, &access, nullptr, &acl) == ERROR_SUCCESS;
    done = done && SetSecurityInfo(key, SE_REGISTRY_KEY,
                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                   nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
    LocalFree(acl);
    RegCloseKey(key);
    return done;
}

LRESULT SendTo(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL, kDialogTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// The program's visible top-level windows: any view it opens is one.
std::size_t VisibleWindowCount(DWORD processId) {
    return FindWindows(processId, nullptr, nullptr, true).size();
}

// A dialog of the program, worked as a user would: every call returns once the dialog has
// handled it. Setting a control sends no notification, so selections tell the dialog as a
// click would.
class CDialog {
public:
    explicit CDialog(HWND hwnd) : m_hwnd(hwnd) {}
    HWND Hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    LRESULT Send(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendTo(Item(id), msg, wParam, lParam);
    }
    void Notify(int id, WORD code) const {
        SendTo(m_hwnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Click(int id) const { Notify(id, BN_CLICKED); }
    void Check(int id, bool on) const { Send(id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }
    bool IsChecked(int id) const { return Send(id, BM_GETCHECK) == BST_CHECKED; }
    void Choose(int id, int item) const { Send(id, CB_SETCURSEL, static_cast<WPARAM>(item)); }
    int Chosen(int id) const { return static_cast<int>(Send(id, CB_GETCURSEL)); }
    void Type(int id, const char* text) const {
        Choose(id, -1);
        Send(id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    std::string Text(int id) const { return ControlText(Item(id)); }
    void SetHotKey(int id, unsigned word) const { Send(id, HKM_SETHOTKEY, word); }
    unsigned HotKey(int id) const { return static_cast<unsigned>(Send(id, HKM_GETHOTKEY)); }
    bool IsEnabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    void Select(int id, int index) const {
        Send(id, LB_SETCURSEL, static_cast<WPARAM>(index));
        Notify(id, LBN_SELCHANGE);
    }
    void SelectSeveral(int id, const std::vector<int>& indices) const {
        Send(id, LB_SETSEL, FALSE, -1);
        for (int index : indices) {
            Send(id, LB_SETSEL, TRUE, index);
        }
        Notify(id, LBN_SELCHANGE);
    }
    int Selected(int id) const { return static_cast<int>(Send(id, LB_GETCURSEL)); }
    Strings Items(int id) const { return ListTexts(Item(id)); }
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(m_hwnd, nullptr), &info);
        return info.hwndFocus;
    }

private:
    HWND m_hwnd;
};

class SettingDialogsTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Prepare(3);
    }

    // Starts the program; with `settle`, also waits until the frame answers a posted command:
    // by then its keys are registered, and a key tried here cannot be in the way of that.
    HWND Start(CProgram& program, bool settle = false) {
        EXPECT_TRUE(program.IsStarted());
        const HWND frame = program.WaitFrame();
        if (frame != nullptr && settle) {
            const CDialog about = Open(program, frame, kAboutCommand, "About");
            EXPECT_NE(about.Hwnd(), nullptr);
            End(frame, about, IDCANCEL);
        }
        return frame;
    }

    // Opens a dialog through the frame's command; null when it does not appear.
    static CDialog Open(const CProgram& program, HWND frame, UINT command, const char* title) {
        return CDialog(OpenDialog(program.GetProcessId(), frame, command, title, kDialogTimeoutMs));
    }

    // Ends a dialog with OK or Cancel and waits until the frame has finished the command that
    // opened it (keys registered again).
    static void End(HWND frame, const CDialog& dialog, int button) {
        EXPECT_TRUE(CloseDialog(dialog.Hwnd(), button, kDialogTimeoutMs));
        SendTo(frame, WM_NULL);
    }

    // Presses OK where a message is expected and answers it; returns its text.
    static std::string OkExpectingMessage(const CProgram& program, const CDialog& dialog) {
        PressButton(dialog.Hwnd(), IDOK);
        std::vector<std::string> texts;
        WaitFor(
            [&] {
                texts = AnswerMessageBoxesUntil(
                    program, [] { return true; }, 0);
                return !texts.empty();
            },
            kDialogTimeoutMs);
        return texts.empty() ? "" : texts.front();
    }

    static std::vector<MenuItem> ReadTrayMenu(const CProgram& program, HWND frame) {
        return driver::ReadTrayMenu(program.GetProcessId(), frame);
    }

    // The general dialog as the first run's settings open it (the image quality aside).
    static void ExpectFirstRunValues(const CDialog& dialog) {
        EXPECT_EQ(dialog.HotKey(kDesktopHotKey), ControlWord(VK_F11, HOTKEYF_CONTROL));
        EXPECT_TRUE(dialog.IsChecked(kAdjustHeight));
        EXPECT_EQ(dialog.Text(kWaitingTime), "1000");
        EXPECT_EQ(dialog.Chosen(kWaitingTime), 3);
        EXPECT_EQ(dialog.Chosen(kUpdateInterval), 1);
        EXPECT_EQ(dialog.Text(kColorFormat), "RGB(decimal)");
        EXPECT_FALSE(dialog.IsChecked(kOriginalColor));
        EXPECT_TRUE(dialog.IsChecked(kNoSplash));
        EXPECT_FALSE(dialog.IsChecked(kViewAllMonitors));
        EXPECT_EQ(dialog.Chosen(kBlurRadius), 0);
    }
};

} // namespace

TEST_F(SettingDialogsTest, GeneralOkWritesExactlyTheChangedValuesAndTheNextRunReadsThem) {
    WriteSettingDword("ImageQuality", 5);
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);

    CDialog dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    ExpectFirstRunValues(dialog);
    EXPECT_EQ(dialog.Text(kImageQuality), "low") << "5 opens as low";
    EXPECT_EQ(ReadAllSettings().size(), 2u) << "nothing is written while the dialog is open";
    // An untouched OK writes the whole profile; low is stored as 3.
    End(frame, dialog, IDOK);
    const Snapshot before = ReadAllSettings();
    EXPECT_EQ(before.at("ImageQuality"), "dword:3");

    dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    dialog.SetHotKey(kDesktopHotKey, ControlWord(VK_F10, kCtrlAlt));
    dialog.Check(kAdjustHeight, false);
    dialog.Type(kWaitingTime, "750");
    dialog.Type(kUpdateInterval, " 99999999999");
    dialog.Choose(kColorFormat, 1);
    dialog.Check(kNotInTaskBar, true);
    dialog.Check(kViewAllMonitors, true);
    dialog.Choose(kBlurRadius, 2);
    End(frame, dialog, IDOK);
    EXPECT_EQ(Changed(before, ReadAllSettings()),
              (Snapshot{{"DesktopHotKey", "dword:" + StoredKey(VK_F10)},
                        {"DesktopAdjustInitialPanelHeight", "dword:0"},
                        {"QuickWaitingTime", "dword:750"},
                        {"WindowUpdateInterval", "dword:4294967295"},
                        {"WindowColorDisplayFormat", "dword:1"},
                        {"WindowUnvisibleTaskBar", "dword:1"},
                        {"ViewAllMonitors", "dword:1"}}));
    // The new desktop key is the program's now, the old one is free.
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F10));
    EXPECT_FALSE(HotKeyIsTaken(MOD_CONTROL, VK_F11));

    // Reopened: the typed time as text with no item, the radius kept for this run.
    dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    EXPECT_EQ(dialog.Text(kWaitingTime), "750");
    EXPECT_EQ(dialog.Chosen(kWaitingTime), -1);
    EXPECT_EQ(dialog.Chosen(kBlurRadius), 2);
    End(frame, dialog, IDCANCEL);
    Exit(program, frame);

    // The next run reads back what was written; the radius was for that run only.
    CProgram next(tree.GetExe());
    const HWND nextFrame = Start(next);
    ASSERT_NE(nextFrame, nullptr);
    dialog = Open(next, nextFrame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    EXPECT_EQ(dialog.HotKey(kDesktopHotKey), ControlWord(VK_F10, kCtrlAlt));
    EXPECT_FALSE(dialog.IsChecked(kAdjustHeight));
    EXPECT_EQ(dialog.Text(kWaitingTime), "750");
    EXPECT_EQ(dialog.Chosen(kWaitingTime), -1);
    EXPECT_EQ(dialog.Text(kUpdateInterval), "4294967295");
    EXPECT_EQ(dialog.Chosen(kColorFormat), 1);
    EXPECT_TRUE(dialog.IsChecked(kNotInTaskBar));
    EXPECT_TRUE(dialog.IsChecked(kViewAllMonitors));
    EXPECT_EQ(dialog.Chosen(kBlurRadius), 0);
    End(nextFrame, dialog, IDCANCEL);
    Exit(next, nextFrame);
}

TEST_F(SettingDialogsTest, GeneralCancelAfterChangingEveryControlLeavesSettingsAndKeys) {
    WriteSettingString("QuickHotKeys", "protanopia," + StoredKey('1'));
    CProgram program(tree.GetExe());
    const HWND frame = Start(program, true);
    ASSERT_NE(frame, nullptr);
    const Snapshot before = ReadAllSettings();
    ASSERT_TRUE(HotKeyIsTaken(MOD_CONTROL, VK_F11));
    ASSERT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    ASSERT_FALSE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F9));

    CDialog dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    // Only the key this dialog edits is let go while it is open.
    EXPECT_FALSE(HotKeyIsTaken(MOD_CONTROL, VK_F11));
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    dialog.SetHotKey(kDesktopHotKey, ControlWord(VK_F9, kCtrlAlt));
    dialog.Type(kWaitingTime, "99999999999");
    dialog.Type(kUpdateInterval, "-20");
    for (int box : {kAdjustHeight, kNotInTaskBar, kSimpleStatusbar, kOriginalColor, kNoSplash,
                    kViewAllMonitors}) {
        dialog.Check(box, !dialog.IsChecked(box));
    }
    dialog.Choose(kColorFormat, 4);
    dialog.Choose(kImageQuality, 2);
    dialog.Choose(kBlurRadius, 5);
    End(frame, dialog, IDCANCEL);

    EXPECT_EQ(ReadAllSettings(), before);
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL, VK_F11)) << "registered again";
    EXPECT_FALSE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F9)) << "still free";
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));

    dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    ExpectFirstRunValues(dialog);
    EXPECT_EQ(dialog.Chosen(kImageQuality), 1);
    End(frame, dialog, IDCANCEL);
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, FilterDialogEditsTheOrderAndKeysAndOkReachesMenuRegistryAndKeys) {
    tree.AddFilter("zeta", "Zeta");
    tree.AddFilter("alpha", "alpha");
    WriteSettingString("QuickHotKeys", "protanopia," + StoredKey('1'));
    CProgram program(tree.GetExe());
    const HWND frame = Start(program, true);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));

    const CDialog dialog = Open(program, frame, kFilterCommand, "Filter setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    // Only the quick keys are let go while it is open.
    EXPECT_FALSE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL, VK_F11));
    EXPECT_EQ(dialog.Items(kEnabledList),
              (Strings{"normal", "E2E Protan", "E2E Deutan", "E2E Hue GBR"}));
    EXPECT_EQ(dialog.Items(kDisabledList), (Strings{"alpha", "Zeta"}));
    EXPECT_EQ(dialog.Selected(kEnabledList), 0);
    EXPECT_EQ(dialog.Text(kFilterID), "_normal");
    EXPECT_EQ(dialog.Text(kFilterName), "normal");
    EXPECT_FALSE(dialog.IsEnabled(kUp));
    EXPECT_TRUE(dialog.IsEnabled(kDown));
    EXPECT_FALSE(dialog.IsEnabled(kDisable)) << "normal is never disabled";
    EXPECT_FALSE(dialog.IsEnabled(kEnable));

    // A button that becomes unavailable under the keyboard focus hands it on: Up to Down.
    dialog.Select(kEnabledList, 1);
    SendTo(dialog.Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(dialog.Item(kUp)), TRUE);
    ASSERT_EQ(dialog.Focus(), dialog.Item(kUp));
    dialog.Click(kUp);
    EXPECT_EQ(dialog.Items(kEnabledList)[0], "E2E Protan");
    EXPECT_FALSE(dialog.IsEnabled(kUp));
    EXPECT_EQ(dialog.Focus(), dialog.Item(kDown));
    dialog.Click(kDown);
    EXPECT_EQ(dialog.Items(kEnabledList)[1], "E2E Protan");
    EXPECT_EQ(dialog.Focus(), dialog.Item(kDown));

    // Hue GBR up two places.
    dialog.Select(kEnabledList, 3);
    EXPECT_EQ(dialog.Text(kFilterID), "hue_gbr");
    dialog.Click(kUp);
    dialog.Click(kUp);
    EXPECT_EQ(dialog.Items(kEnabledList),
              (Strings{"normal", "E2E Hue GBR", "E2E Protan", "E2E Deutan"}));
    EXPECT_EQ(dialog.Selected(kEnabledList), 1);

    // Deutan, the last, disabled: the selection moves to the new last, Protan, and its key.
    dialog.Select(kEnabledList, 3);
    dialog.Click(kDisable);
    EXPECT_EQ(dialog.Items(kEnabledList), (Strings{"normal", "E2E Hue GBR", "E2E Protan"}));
    EXPECT_EQ(dialog.Selected(kEnabledList), 2);
    EXPECT_EQ(dialog.Text(kFilterName), "E2E Protan");
    EXPECT_EQ(dialog.HotKey(kFilterHotKey), ControlWord('1', kCtrlAlt));
    EXPECT_FALSE(dialog.IsEnabled(kDown));
    EXPECT_EQ(dialog.Items(kDisabledList), (Strings{"alpha", "E2E Deutan", "Zeta"}));

    // Two enabled at once arrive in name order.
    EXPECT_FALSE(dialog.IsEnabled(kEnable));
    dialog.SelectSeveral(kDisabledList, {2, 0});
    EXPECT_TRUE(dialog.IsEnabled(kEnable));
    dialog.Click(kEnable);
    EXPECT_EQ(dialog.Items(kEnabledList),
              (Strings{"normal", "E2E Hue GBR", "E2E Protan", "alpha", "Zeta"}));
    EXPECT_EQ(dialog.Items(kDisabledList), (Strings{"E2E Deutan"}));
    EXPECT_FALSE(dialog.IsEnabled(kEnable)) << "nothing picked any more";

    // A key for Hue GBR; moving away from Protan stored Protan's key again, so it stays first.
    dialog.Select(kEnabledList, 1);
    EXPECT_EQ(dialog.HotKey(kFilterHotKey), 0u);
    dialog.SetHotKey(kFilterHotKey, ControlWord('2', kCtrlAlt));
    EXPECT_EQ(ReadSettingString("EnableFilters"), std::nullopt) << "nothing written before OK";
    End(frame, dialog, IDOK);

    EXPECT_EQ(ReadSettingString("EnableFilters"),
              std::optional<std::string>("_normal,hue_gbr,protanopia,alpha,zeta"));
    EXPECT_EQ(
        ReadSettingString("QuickHotKeys"),
        std::optional<std::string>("protanopia," + StoredKey('1') + ",hue_gbr," + StoredKey('2')));
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, '1'));
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, '2'));
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
    // Eleven filters enabled, the first ten with Control+Alt+1 ... 9, 0.
    std::string enabled = "_normal", keys;
    for (int i = 1; i <= 11; ++i) {
        const std::string id = "f" + std::to_string(i + 10);
        tree.AddFilter(id, "Filter " + std::to_string(i + 10));
        enabled += "," + id;
        if (i <= 10) {
            keys += (keys.empty() ? "" : ",") + id + "," + StoredKey('0' + (i % 10));
        }
    }
    WriteSettingString("EnableFilters", enabled);
    WriteSettingString("QuickHotKeys", keys);
    CProgram program(tree.GetExe());
    const HWND frame = Start(program, true);
    ASSERT_NE(frame, nullptr);
    const Snapshot before = ReadAllSettings();

    const CDialog dialog = Open(program, frame, kFilterCommand, "Filter setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    ASSERT_EQ(dialog.Items(kEnabledList).size(), 12u);
    dialog.Select(kEnabledList, 11);
    dialog.SetHotKey(kFilterHotKey, ControlWord(VK_F5, kCtrlAlt));
    EXPECT_EQ(OkExpectingMessage(program, dialog), "Error: Hotkey limit exceeded. (MAX: 10)");
    ASSERT_TRUE(IsWindowVisible(dialog.Hwnd()));

    // Ten again, but the first filter takes the desktop key, then another filter's.
    dialog.SetHotKey(kFilterHotKey, 0);
    dialog.Select(kEnabledList, 1);
    EXPECT_EQ(dialog.HotKey(kFilterHotKey), ControlWord('1', kCtrlAlt));
    for (unsigned taken : {ControlWord(VK_F11, HOTKEYF_CONTROL), ControlWord('2', kCtrlAlt)}) {
        dialog.SetHotKey(kFilterHotKey, taken);
        EXPECT_EQ(OkExpectingMessage(program, dialog), "Error: Hotkey conflict.") << taken;
        ASSERT_TRUE(IsWindowVisible(dialog.Hwnd()));
    }

    End(frame, dialog, IDCANCEL);
    EXPECT_EQ(ReadAllSettings(), before);
    for (char digit = '0'; digit <= '9'; ++digit) {
        EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, static_cast<UINT>(digit))) << digit;
    }
    EXPECT_FALSE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, VK_F5));
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, GeneralOkRefusesADesktopKeyThatAQuickKeyHasAndStaysOpen) {
    WriteSettingString("QuickHotKeys", "protanopia," + StoredKey('P'));
    WriteSettingDword("DesktopHotKey", MOD_CONTROL << 16 | VK_F11);
    CProgram program(tree.GetExe());
    const HWND frame = Start(program, true);
    ASSERT_NE(frame, nullptr);
    const Snapshot before = ReadAllSettings();

    const CDialog dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    dialog.SetHotKey(kDesktopHotKey, ControlWord('P', kCtrlAlt));
    dialog.Type(kWaitingTime, "750");
    EXPECT_EQ(OkExpectingMessage(program, dialog), "Error: Hotkey conflict.");
    ASSERT_TRUE(IsWindowVisible(dialog.Hwnd()));
    EXPECT_EQ(ReadAllSettings(), before);

    // Another key passes, and the rest of what was typed goes with it.
    dialog.SetHotKey(kDesktopHotKey, ControlWord(VK_F10, HOTKEYF_CONTROL));
    End(frame, dialog, IDOK);
    EXPECT_EQ(ReadSettingDword("DesktopHotKey"), std::optional<DWORD>(MOD_CONTROL << 16 | VK_F10));
    EXPECT_EQ(ReadSettingDword("QuickWaitingTime"), std::optional<DWORD>(750));
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL, VK_F10));
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, 'P'));
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, GeneralOkRefusesADistanceOutOfRangeAndGoesBackToIt) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program, true);
    ASSERT_NE(frame, nullptr);
    const Snapshot before = ReadAllSettings();

    const CDialog dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    EXPECT_EQ(dialog.Text(kLookAlikeDistance), "3.0");
    dialog.Type(kWaitingTime, "750");
    for (const char* typed : {"", "abc", "0.05", "100.1", "-2", "1e1", "2,5"}) {
        dialog.Send(kLookAlikeDistance, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        EXPECT_EQ(OkExpectingMessage(program, dialog),
                  "Error: The look-alike distance must be a number from 0.1 to 100.")
            << typed;
        ASSERT_TRUE(IsWindowVisible(dialog.Hwnd())) << typed;
        EXPECT_TRUE(WaitFor([&] { return dialog.Focus() == dialog.Item(kLookAlikeDistance); },
                            kDialogTimeoutMs))
            << typed;
        EXPECT_EQ(ReadAllSettings(), before) << typed;
    }

    // The least distance passes, and the rest of what was typed goes with it.
    dialog.Send(kLookAlikeDistance, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0.1"));
    End(frame, dialog, IDOK);
    EXPECT_EQ(ReadSettingString("LookAlikeDistance"), std::optional<std::string>("0.1"));
    EXPECT_EQ(ReadSettingDword("QuickWaitingTime"), std::optional<DWORD>(750));
    Exit(program, frame);
}

// The registry refuses the program's writes: OK of a setting dialog says which values could not
// be stored and leaves the dialog open; Exit says so once more and still ends the program.
TEST_F(SettingDialogsTest, ASaveTheRegistryRefusesIsReportedTheDialogStaysOpenAndExitEnds) {
    WriteSettingDword("QuickWaitingTime", 1000);
    ASSERT_TRUE(MakeSettingsReadOnly());
    CProgram program(tree.GetExe());
    const HWND frame = Start(program, true);
    ASSERT_NE(frame, nullptr);
    const CDialog dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    dialog.Type(kWaitingTime, "750");
    const std::string message = OkExpectingMessage(program, dialog);
    EXPECT_EQ(message.rfind("These settings could not be stored in the registry", 0), 0u)
        << message;
    EXPECT_NE(message.find("QuickWaitingTime"), std::string::npos) << message;
    ASSERT_TRUE(IsWindowVisible(dialog.Hwnd()));
    End(frame, dialog, IDCANCEL);

    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    const std::vector<std::string> atExit = AnswerMessageBoxesUntil(
        program, [&] { return !program.IsRunning(); }, kStartTimeoutMs);
    ASSERT_EQ(atExit.size(), 1u);
    EXPECT_EQ(atExit[0].rfind("These settings could not be stored in the registry", 0), 0u);
    EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
    EXPECT_EQ(ReadSettingDword("QuickWaitingTime"), std::optional<DWORD>(1000));
}

// A desktop key another program held at the start is shown as the user's, and taken once the
// other program lets go and a setting dialog is confirmed.
TEST_F(SettingDialogsTest, ADesktopKeyHeldAtTheStartIsShownAndTakenAfterOk) {
    CProgram program(tree.GetExe());
    HWND frame = nullptr;
    {
        const CHeldHotKey held(MOD_CONTROL, VK_F11);
        ASSERT_TRUE(held.IsHeld());
        EXPECT_EQ(AnswerStartMessages(program, 1, frame).size(), 1u);
        ASSERT_NE(frame, nullptr);
    }
    const CDialog dialog = Open(program, frame, kFilterCommand, "Filter setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    End(frame, dialog, IDOK);
    EXPECT_TRUE(HotKeyIsTaken(MOD_CONTROL, VK_F11));
    const CDialog general = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(general.Hwnd(), nullptr);
    EXPECT_EQ(general.HotKey(kDesktopHotKey), ControlWord(VK_F11, HOTKEYF_CONTROL));
    End(frame, general, IDCANCEL);
    Exit(program, frame);
    EXPECT_EQ(ReadSettingDword("DesktopHotKey"), std::optional<DWORD>(MOD_CONTROL << 16 | VK_F11));
}

// A private filter that does not load at one start keeps its place in the enabled list and its
// quick key, through the filter dialog's OK too, and is back in its place when it loads again;
// forgotten in the dialog, it is gone from both.
TEST_F(SettingDialogsTest, AFilterThatDidNotLoadKeepsItsPlaceAndKeyUntilForgotten) {
    tree.AddFilter("mine", "My filter", "filter\\private\\");
    const std::string enabled = "_normal,mine,protanopia,deutanopia";
    const std::string keys = "mine," + StoredKey('M') + ",protanopia," + StoredKey('P');
    WriteSettingString("EnableFilters", enabled);
    WriteSettingString("QuickHotKeys", keys);
    const std::string file = tree.GetDir() + "filter\\private\\mine.xml";
    const std::string away = file + ".away";
    const Strings all = {"normal", "My filter", "E2E Protan", "E2E Deutan"};
    const Strings without = {"normal", "E2E Protan", "E2E Deutan"};

    const auto run = [&](const Strings& offered, bool keyTaken,
                         const std::function<void(const CProgram&, HWND)>& also) {
        CProgram program(tree.GetExe());
        const HWND frame = Start(program, true);
        ASSERT_NE(frame, nullptr);
        const std::vector<MenuItem> tray = ReadTrayMenu(program, frame);
        ASSERT_GT(tray.size(), 3u);
        EXPECT_EQ(Texts(tray[3].submenu), offered);
        EXPECT_EQ(HotKeyIsTaken(MOD_CONTROL | MOD_ALT, 'M'), keyTaken);
        also(program, frame);
        Exit(program, frame);
    };
    const auto confirmFilterDialog = [&](const CProgram& program, HWND frame) {
        const CDialog dialog = Open(program, frame, kFilterCommand, "Filter setting");
        ASSERT_NE(dialog.Hwnd(), nullptr);
        EXPECT_EQ(dialog.Items(kEnabledList), without);
        EXPECT_TRUE(dialog.IsEnabled(kForgetMissing));
        End(frame, dialog, IDOK);
    };

    run(all, true, [](const CProgram&, HWND) {});
    ASSERT_TRUE(MoveFileA(file.c_str(), away.c_str()));
    run(without, false, confirmFilterDialog);
    EXPECT_EQ(ReadSettingString("EnableFilters"), enabled);
    EXPECT_EQ(ReadSettingString("QuickHotKeys"), keys);
    ASSERT_TRUE(MoveFileA(away.c_str(), file.c_str()));
    run(all, true, [](const CProgram&, HWND) {});
    EXPECT_EQ(ReadSettingString("EnableFilters"), enabled);
    EXPECT_EQ(ReadSettingString("QuickHotKeys"), keys);

    // Forgotten: asked first, then gone from both lists at OK.
    ASSERT_TRUE(MoveFileA(file.c_str(), away.c_str()));
    run(without, false, [&](const CProgram& program, HWND frame) {
        const CDialog dialog = Open(program, frame, kFilterCommand, "Filter setting");
        ASSERT_NE(dialog.Hwnd(), nullptr);
        PressButton(dialog.Hwnd(), kForgetMissing);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor(
            [&] {
                const auto boxes =
                    FindWindows(program.GetProcessId(), kDialogClass, "Zeziriv", true);
                box = boxes.empty() ? nullptr : boxes[0];
                return box != nullptr && !GetStaticTexts(box).empty();
            },
            kDialogTimeoutMs));
        EXPECT_NE(GetStaticTexts(box).find("\nmine\n"), std::string::npos) << GetStaticTexts(box);
        ASSERT_TRUE(CloseDialog(box, IDYES));
        EXPECT_FALSE(dialog.IsEnabled(kForgetMissing));
        End(frame, dialog, IDOK);
    });
    EXPECT_EQ(ReadSettingString("EnableFilters"),
              std::optional<std::string>("_normal,protanopia,deutanopia"));
    EXPECT_EQ(ReadSettingString("QuickHotKeys"),
              std::optional<std::string>("protanopia," + StoredKey('P')));
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
        {kGeneralCommand, "Setting", kFilterCommand, "Filter setting", false},
        {kFilterCommand, "Filter setting", kGeneralCommand, "Setting", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const CDialog dialog = Open(program, frame, c.command, c.title);
        ASSERT_NE(dialog.Hwnd(), nullptr);
        // The same command again brings it forward; the other dialog is refused.
        SendTo(frame, WM_COMMAND, c.command);
        SendTo(frame, WM_COMMAND, c.otherCommand);
        EXPECT_EQ(FindWindows(program.GetProcessId(), kDialogClass, c.title).size(), 1u);
        EXPECT_TRUE(FindWindows(program.GetProcessId(), kDialogClass, c.otherTitle).empty());

        const std::vector<MenuItem> menu = ReadTrayMenu(program, frame);
        ASSERT_EQ(menu.size(), 15u);
        // Desktop view, Quick view, Filter setting, General setting; About and Exit stay.
        for (std::size_t i : {0u, 3u, 9u, 10u}) {
            EXPECT_TRUE(menu[i].grayed) << menu[i].text;
        }
        EXPECT_EQ(menu[1].grayed, c.openNewWindowGreyed) << menu[1].text;
        EXPECT_FALSE(menu[12].grayed || menu[14].grayed);

        End(frame, dialog, IDCANCEL);
        const std::vector<MenuItem> after = ReadTrayMenu(program, frame);
        ASSERT_EQ(after.size(), 15u);
        for (std::size_t i : {0u, 1u, 3u, 9u, 10u}) {
            EXPECT_FALSE(after[i].grayed) << after[i].text;
        }
    }
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, ExitWhileADialogIsOpenEndsTheProgramAndSavesTheProfile) {
    for (const auto& [command, title] :
         {std::pair{kGeneralCommand, "Setting"}, std::pair{kFilterCommand, "Filter setting"}}) {
        SCOPED_TRACE(title);
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        CProgram program(tree.GetExe());
        const HWND frame = Start(program);
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(Open(program, frame, command, title).Hwnd(), nullptr);
        PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
        EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
        // Saved at the end, with the keys as they were before the dialog.
        EXPECT_EQ(ReadSettingDword("DesktopHotKey"), std::optional<DWORD>(131194));
        EXPECT_EQ(ReadSettingString("EnableFilters"),
                  std::optional<std::string>("_normal,protanopia,deutanopia,hue_gbr"));
    }
}

TEST_F(SettingDialogsTest, OpenRequestsThatNameNoEnabledFilterOrComeDuringADialogDoNothing) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);
    const auto visibleWindows = [&] { return VisibleWindowCount(program.GetProcessId()); };
    // Requests are handled in order: once a command posted after them has opened the About
    // box (twice, for the delayed ones that post themselves again), they are done.
    const auto handled = [&] {
        for (int round = 0; round < 2; ++round) {
            const CDialog about = Open(program, frame, kAboutCommand, "About");
            EXPECT_NE(about.Hwnd(), nullptr);
            End(frame, about, IDCANCEL);
        }
    };
    // Four filters are enabled: positions 4 and beyond, and negative ones, name none.
    for (const int position : {4, 99, -1}) {
        for (const LPARAM delay : {0, 50}) {
            PostMessageA(frame, WM_APP_OPEN_QUICK, static_cast<WPARAM>(position), delay);
        }
        PostMessageA(frame, WM_COMMAND, 33500 + position, 0);
    }
    handled();
    EXPECT_EQ(visibleWindows(), 0u);

    // While a setting dialog is open the views refuse to open, delayed or not.
    const CDialog dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    for (const LPARAM delay : {0, 50}) {
        PostMessageA(frame, WM_APP_OPEN_DESKTOP, 0, delay);
        PostMessageA(frame, WM_APP_OPEN_QUICK, 0, delay);
    }
    handled();
    EXPECT_EQ(visibleWindows(), 1u) << "only the dialog";
    End(frame, dialog, IDCANCEL);
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, ANewDesktopKeyOpensTheDesktopViewAndTheOldOneNoLongerDoes) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program, true);
    ASSERT_NE(frame, nullptr);
    const auto viewShown = [&](DWORD timeoutMs) {
        return WaitFor([&] { return VisibleWindowCount(program.GetProcessId()) > 0; }, timeoutMs);
    };
    PostMessageA(frame, WM_APP_OPEN_DESKTOP, 0, 0);
    ASSERT_TRUE(viewShown(kDialogTimeoutMs));
    for (HWND view : FindWindows(program.GetProcessId(), nullptr, nullptr, true)) {
        PostMessageA(view, WM_CLOSE, 0, 0);
    }
    ASSERT_TRUE(
        WaitFor([&] { return VisibleWindowCount(program.GetProcessId()) == 0; }, kDialogTimeoutMs));

    const CDialog dialog = Open(program, frame, kGeneralCommand, "Setting");
    ASSERT_NE(dialog.Hwnd(), nullptr);
    dialog.SetHotKey(kDesktopHotKey, ControlWord(VK_F10, kCtrlAlt));
    End(frame, dialog, IDOK);
    PressKeys({VK_CONTROL, VK_F11});
    // Nothing to poll for: the view must stay away.
    EXPECT_FALSE(viewShown(1500)) << "the old key still opens the view";
    PressKeys({VK_CONTROL, VK_MENU, VK_F10});
    EXPECT_TRUE(viewShown(kDialogTimeoutMs)) << "the new key does not open the view";
    Exit(program, frame);
}

TEST_F(SettingDialogsTest, FilterSettingDoesNothingWhileAFilterWindowIsOpen) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);
    PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
    ASSERT_TRUE(
        WaitFor([&] { return VisibleWindowCount(program.GetProcessId()) > 0; }, kDialogTimeoutMs));
    const std::vector<MenuItem> menu = ReadTrayMenu(program, frame);
    ASSERT_EQ(menu.size(), 15u);
    EXPECT_TRUE(menu[9].grayed) << menu[9].text;
    // Sent directly, the command does nothing either.
    SendTo(frame, WM_COMMAND, kFilterCommand);
    EXPECT_TRUE(FindWindows(program.GetProcessId(), kDialogClass, "Filter setting").empty());

    PostMessageA(frame, WM_COMMAND, kCloseAllCommand, 0);
    ASSERT_TRUE(
        WaitFor([&] { return VisibleWindowCount(program.GetProcessId()) == 0; }, kDialogTimeoutMs));
    const CDialog dialog = Open(program, frame, kFilterCommand, "Filter setting");
    EXPECT_NE(dialog.Hwnd(), nullptr) << "with the windows closed it opens";
    End(frame, dialog, IDCANCEL);
    Exit(program, frame);
}

namespace {

// Sets the resolution that programs started from now on take, and puts the old one back.
class CScreenResolution {
public:
    explicit CScreenResolution(DWORD dpi) {
        DWORD size = sizeof(m_old);
        m_hadOld = RegGetValueA(HKEY_CURRENT_USER, kKey, "LogPixels", RRF_RT_REG_DWORD, nullptr,
                                &m_old, &size) == ERROR_SUCCESS;
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    }
    ~CScreenResolution() {
        if (m_hadOld) {
            RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "LogPixels", REG_DWORD, &m_old, sizeof(m_old));
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "LogPixels");
        }
    }

private:
    static constexpr const char* kKey = "Control Panel\\Desktop";
    DWORD m_old = 0;
    bool m_hadOld = false;
};

} // namespace

TEST_F(SettingDialogsTest, EveryLabelFitsAtOneHundredAndOneHundredFiftyPercent) {
    std::map<std::string, int> widthAt96;
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const CScreenResolution resolution(static_cast<DWORD>(dpi));
        CProgram program(tree.GetExe());
        const HWND frame = Start(program);
        ASSERT_NE(frame, nullptr);
        for (const auto& [command, title] :
             {std::pair{kGeneralCommand, "Setting"}, std::pair{kFilterCommand, "Filter setting"},
              std::pair{kAboutCommand, "About"}}) {
            const CDialog dialog = Open(program, frame, command, title);
            ASSERT_NE(dialog.Hwnd(), nullptr) << title;
            EXPECT_EQ(LayoutFaults(dialog.Hwnd(), dpi), Strings{}) << title;
            // The program did take the resolution: its dialogs grew with the font.
            const int width = MeasureDialog(dialog.Hwnd()).clientWidth;
            if (dpi == 96) {
                widthAt96[title] = width;
            } else {
                EXPECT_GT(width, widthAt96[title] * 13 / 10) << title;
            }
            End(frame, dialog, IDCANCEL);
        }
        Exit(program, frame);
    }
}
