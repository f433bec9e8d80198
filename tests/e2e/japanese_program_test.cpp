// The real zeziriv.exe on a Japanese system (code page 932, language 1041) with the Japanese
// language library and filters laid out as the install tree lays them out: what a Japanese user
// reads in its menus, dialogs, panel, status bar and messages, read through the controls.
#include "e2e_driver.h"
#include "japanese_text.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

using namespace e2e;
using japanese_text::J;

namespace {

constexpr UINT WM_APP_TRAY_NOTIFY = 0x8001;
enum : UINT { kAboutCommand = 33000, kGeneralCommand, kFilterCommand, kExitCommand };
constexpr UINT kDesktopViewCommand = 33004;
constexpr UINT kOpenNewWindowCommand = 33006;
constexpr UINT kMarkCenterCommand = 33140;
constexpr const char* kFilterWindowClass = "ZezirivFilterWnd";
constexpr const char* kPanelClass = "ZezirivOperateWnd";
constexpr DWORD kWaitMs = 15000;

std::vector<std::string> JoinedNames(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8) {
        out.push_back(J(text));
    }
    return out;
}

std::vector<std::string> Texts(const std::vector<MenuItem>& items) {
    std::vector<std::string> out;
    for (const MenuItem& item : items) {
        out.push_back(item.text);
    }
    return out;
}

// Another process's text that Wine hands over only in its wide form (list and combo items).
std::string FromWide(const wchar_t* wide) {
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}
std::vector<std::string> ListItems(HWND list, UINT countMessage, UINT textMessage) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageW(list, countMessage, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t wide[256] = {};
        SendMessageW(list, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        items.push_back(FromWide(wide));
    }
    return items;
}

// A status bar part of the program's window. The status bar's messages are not carried across
// processes, so the text is read through a buffer inside the program's process.
std::string StatusText(HWND bar, int part) {
    DWORD processId = 0;
    GetWindowThreadProcessId(bar, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return "(cannot open the program)";
    }
    constexpr SIZE_T kSize = 4096;
    void* remote = VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
    std::string text;
    if (remote != nullptr) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(bar, SB_GETTEXTA, static_cast<WPARAM>(part),
                            reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 5000, &result);
        std::vector<char> local(kSize + 1, '\0');
        SIZE_T read = 0;
        ReadProcessMemory(process, remote, local.data(), kSize, &read);
        text = local.data();
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}
int StatusPartCount(HWND bar) {
    return static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
}

// Why a control's text does not fit it, or nothing. The check box and button allowances are
// the platform's box and border sizes with a little air.
std::string Clipping(const ControlMeasure& c) {
    const LONG type = c.style & 0x1F;
    int needWidth = c.textWidth;
    if (c.className == "Button") {
        switch (c.style & BS_TYPEMASK) {
        case BS_GROUPBOX:
            needWidth += 12;
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            needWidth += GetSystemMetrics(SM_CXMENUCHECK) + 4;
            break;
        default:
            needWidth += 8;
            break;
        }
    }
    const bool wraps = c.className == "Static" && type == SS_LEFT;
    const bool oneLine = c.clientHeight < 2 * c.textHeight;
    if (wraps && c.wrappedHeight > c.clientHeight) {
        return "wraps to " + std::to_string(c.wrappedHeight) + " px in " +
               std::to_string(c.clientHeight);
    }
    if ((!wraps || oneLine) && needWidth > c.clientWidth) {
        return "needs " + std::to_string(needWidth) + " px of " + std::to_string(c.clientWidth);
    }
    if (c.textHeight > c.clientHeight) {
        return "text " + std::to_string(c.textHeight) + " px high in " +
               std::to_string(c.clientHeight);
    }
    return {};
}

// The texts of a dialog's labels, buttons and boxes in template order; each is checked to fit.
std::vector<std::string> LabelsThatFit(HWND dialog) {
    std::vector<std::string> labels;
    for (const ControlMeasure& c : MeasureControls(dialog)) {
        const bool picture = c.className == "Static" && (c.style & SS_TYPEMASK) == SS_ICON;
        if ((c.className != "Static" && c.className != "Button") || picture) {
            continue;
        }
        labels.push_back(c.text);
        EXPECT_EQ(Clipping(c), "") << c.text << " (control " << c.id << ")";
    }
    return labels;
}

// Asked of the control itself: another process's GetWindowText reads only the caption the
// system keeps, which an edit control's text is not.
std::string WindowText(HWND window) {
    char text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 5000, &length);
    return text;
}

class JapaneseProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the test prefix must run in a Japanese locale";
        ASSERT_EQ(GetSystemDefaultLangID(), 1041);
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        CopyFolder(ZEZIRIV_SHIPPED_FILTERS, "filter\\system\\");
        CopyFolder(std::string(ZEZIRIV_SHIPPED_FILTERS) + "/1041", "filter\\system\\1041\\");
    }
    void TearDown() override { ClearSettings(); }

    void CopyFolder(const std::string& source, const std::string& target) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((HostPath(source) + "\\*.xml").c_str(), &data);
        ASSERT_NE(find, INVALID_HANDLE_VALUE) << source;
        do {
            tree.CopyFileInto(source + "/" + data.cFileName, target + data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    void InstallLibrary(const std::string& library) {
        tree.CopyFileInto(library, "resource\\1041\\ttres.dll");
    }

    static HWND OpenDialog(const CProgram& program, HWND frame, UINT command, const char* title) {
        PostMessageA(frame, WM_COMMAND, command, 0);
        HWND dialog = nullptr;
        WaitFor(
            [&] {
                for (HWND hwnd : FindWindows(program.GetProcessId(), kDialogClass, title)) {
                    if (IsWindowVisible(hwnd)) {
                        dialog = hwnd;
                    }
                }
                return dialog != nullptr;
            },
            kWaitMs);
        return dialog;
    }
    static void CloseDialog(HWND dialog, int button) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kWaitMs));
    }
    static std::vector<MenuItem> ReadMenuAfter(const CProgram& program,
                                               const std::function<void()>& open) {
        open();
        HWND menu = nullptr;
        WaitFor([&] { return (menu = FindOpenMenu(program.GetProcessId())) != nullptr; }, kWaitMs);
        std::vector<MenuItem> items = menu ? ReadOpenMenu(menu) : std::vector<MenuItem>{};
        CloseOpenMenu(program.GetProcessId());
        return items;
    }
    static std::vector<MenuItem> ReadTrayMenu(const CProgram& program, HWND frame) {
        return ReadMenuAfter(program,
                             [&] { PostMessageA(frame, WM_APP_TRAY_NOTIFY, 100, WM_RBUTTONUP); });
    }
    static void Exit(CProgram& program, HWND frame) {
        PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
        EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
    }

    CInstallTree tree;
};

// The default enabled filters under their Japanese names, as the menus list them.
std::vector<std::string> DefaultFilterNames() {
    std::vector<std::string> names;
    for (const char* id :
         {"_normal", "protanopia", "deutanopia", "tritanoptia", "hue_gbr", "hue_brg"}) {
        names.push_back(japanese_text::FilterName(id));
    }
    return names;
}

} // namespace

TEST_F(JapaneseProgramTest, MenusNameEveryCommandAndFilterInJapanese) {
    InstallLibrary(ZEZIRIV_JA_LIBRARY);
    CProgram program(tree.GetExe());
    const HWND frame = WaitForWindow(program.GetProcessId(), kFrameClass, kStartTimeoutMs);
    ASSERT_NE(frame, nullptr);

    const std::vector<MenuItem> tray = ReadTrayMenu(program, frame);
    EXPECT_EQ(
        Texts(tray),
        JoinedNames({"デスクトップ表示(&D)", "新しいウィンドウを開く(&W)", "", "クイック表示(&Q)",
                     "", "すべてのウィンドウの状態を復元(&R)", "すべてのウィンドウの状態を保存(&S)",
                     "すべてのウィンドウを閉じる(&C)", "", "フィルターの設定(&F)...",
                     "全般の設定(&G)...", "", "バージョン情報(&A)...", "", "終了(&X)"}));
    ASSERT_EQ(tray.size(), 15u);
    EXPECT_EQ(Texts(tray[3].submenu), DefaultFilterNames());

    PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
    const HWND window = WaitForWindow(program.GetProcessId(), kFilterWindowClass, kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitFor(
        [&] { return WindowText(window) == japanese_text::FilterName("_normal") + " - Zeziriv"; },
        kWaitMs))
        << WindowText(window);

    const std::vector<MenuItem> context =
        ReadMenuAfter(program, [&] { PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(20, 20)); });
    EXPECT_EQ(Texts(context),
              JoinedNames({"フィルター(&F)", "倍率(&Z)", "中心のピクセルに印を付ける(&M)\tM",
                           "位置を固定(&P)\tF", "", "表示(&V)", "", "新しいウィンドウ(&N)\tCtrl+N",
                           "", "閉じる(&C)"}));
    ASSERT_EQ(context.size(), 10u);
    std::vector<std::string> numbered = DefaultFilterNames();
    for (std::size_t i = 0; i < numbered.size(); ++i) {
        numbered[i] += "\t" + std::to_string(i + 1);
    }
    EXPECT_EQ(Texts(context[0].submenu), numbered);
    EXPECT_EQ(Texts(context[5].submenu),
              JoinedNames({"常に手前に表示(&T)", "ステータスバーを表示(&B)"}));
    Exit(program, frame);
}

// The longest colour name of the Japanese words (very bright, highly saturated, a two-kanji
// hue) in every part of both status bar layouts, whole.
TEST_F(JapaneseProgramTest, StatusBarPartsCarryTheLongestJapaneseColourNameWhole) {
    InstallLibrary(ZEZIRIV_JA_LIBRARY);
    win_test::CPatternWindow cyan(600, 400, 1, 1, 160, {MakeColor(0, 255, 255)});
    ASSERT_TRUE(cyan.WaitShown());
    const std::string name = J(" 明るい あざやかな 青緑");
    struct Case {
        DWORD format;
        DWORD simple;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {0, 0, {"0:255:255", "680, 480", "x1", "[ C ] " + name}},
        {3, 0, {"C+0, 1.00, 1.00", "680, 480", "x1", "[ C ] " + name}},
        {4, 1, {"[ C ]  10 10", name}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        WriteSettingDword("WindowColorDisplayFormat", c.format);
        WriteSettingDword("WindowSimpleStatusbarInfo", c.simple);
        WriteSettingDword("WindowShowOriginalColorInfo", 1); // the colour as it is on the screen
        SetCursorPos(680, 480);
        CProgram program(tree.GetExe());
        const HWND frame = WaitForWindow(program.GetProcessId(), kFrameClass, kStartTimeoutMs);
        ASSERT_NE(frame, nullptr);
        PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
        const HWND window =
            WaitForWindow(program.GetProcessId(), kFilterWindowClass, kStartTimeoutMs);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_COMMAND, kMarkCenterCommand, 0);
        const HWND bar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
        ASSERT_NE(bar, nullptr);
        std::vector<std::string> shown;
        const bool whole = win_test::PumpUntil(
            [&] {
                shown.clear();
                for (int part = 0; part < StatusPartCount(bar); ++part) {
                    shown.push_back(StatusText(bar, part));
                }
                return shown == c.parts;
            },
            kWaitMs);
        EXPECT_TRUE(whole);
        EXPECT_EQ(shown, c.parts);
        Exit(program, frame);
    }
}

TEST_F(JapaneseProgramTest, DialogsAndThePanelSpeakJapaneseAndEveryLabelFits) {
    InstallLibrary(ZEZIRIV_JA_LIBRARY);
    CProgram program(tree.GetExe());
    const HWND frame = WaitForWindow(program.GetProcessId(), kFrameClass, kStartTimeoutMs);
    ASSERT_NE(frame, nullptr);

    HWND dialog = OpenDialog(program, frame, kAboutCommand, J("バージョン情報").c_str());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(LabelsThatFit(dialog),
              (std::vector<std::string>{"Zeziriv", J("バージョン ") + ZEZIRIV_VERSION_TEXT,
                                        J("色覚シミュレーター: 1型・2型・3型の2色覚の人に"
                                          "見えるように画面を表示します。"),
                                        "OK"}));
    // The icon comes from the program even though the template comes from the library.
    EXPECT_NE(SendMessageA(GetDlgItem(dialog, 1100), STM_GETICON, 0, 0), 0);
    CloseDialog(dialog, IDOK);

    dialog = OpenDialog(program, frame, kGeneralCommand, J("全般の設定").c_str());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(LabelsThatFit(dialog), JoinedNames({"デスクトップモード",
                                                  "ホットキー(&K):",
                                                  "操作パネルの高さを調整する(&A)",
                                                  "クイックモード",
                                                  "表示時間(&T):",
                                                  "ミリ秒",
                                                  "画像",
                                                  "画質(&Q):",
                                                  "(再起動後に有効)",
                                                  "全般",
                                                  "スプラッシュ画面を表示しない(&S)",
                                                  "ウィンドウモード",
                                                  "更新間隔(&I):",
                                                  "ミリ秒",
                                                  "色の値の形式(&F):",
                                                  "ウィンドウをタスクバーに表示しない(&B)",
                                                  "ステータスバーに位置と倍率を表示しない(&H)",
                                                  "元の色の情報を表示する(&O)",
                                                  "ぼかし",
                                                  "半径:",
                                                  "OK",
                                                  "キャンセル"}));
    EXPECT_EQ(ListItems(GetDlgItem(dialog, 1004), CB_GETCOUNT, CB_GETLBTEXT),
              JoinedNames({"RGB(10進数)", "RGB(16進数)", "HSV", "HSV(カスタム)", "HSV(簡易)"}));
    EXPECT_EQ(ListItems(GetDlgItem(dialog, 1008), CB_GETCOUNT, CB_GETLBTEXT),
              JoinedNames({"低", "標準", "高"}));
    CloseDialog(dialog, IDCANCEL);

    dialog = OpenDialog(program, frame, kFilterCommand, J("フィルターの設定").c_str());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(LabelsThatFit(dialog),
              JoinedNames({"有効なフィルター(&F):", "上へ(&U)", "下へ(&D)", "< 有効(&E)",
                           "無効(&S) >", "無効なフィルター(&A):", "ID(&I):", "名前(&N):",
                           "ホットキー(&H):", "OK", "キャンセル"}));
    EXPECT_EQ(ListItems(GetDlgItem(dialog, 1100), LB_GETCOUNT, LB_GETTEXT), DefaultFilterNames());
    const std::vector<std::string> disabled =
        ListItems(GetDlgItem(dialog, 1101), LB_GETCOUNT, LB_GETTEXT);
    EXPECT_EQ(std::set<std::string>(disabled.begin(), disabled.end()),
              (std::set<std::string>{japanese_text::FilterName("protanomaly"),
                                     japanese_text::FilterName("deuteranomaly"),
                                     japanese_text::FilterName("tritanomaly"),
                                     japanese_text::FilterName("achromatopsia"),
                                     japanese_text::FilterName("cycle_dichromacy")}));
    // Choosing a filter shows its name whole in the name box.
    SendMessageA(GetDlgItem(dialog, 1100), LB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1100, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1100)));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 1107)), japanese_text::FilterName("protanopia"));
    CloseDialog(dialog, IDCANCEL);

    PostMessageA(frame, WM_COMMAND, kDesktopViewCommand, 0);
    const HWND panel = WaitForWindow(program.GetProcessId(), kPanelClass, kWaitMs);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(
        WaitFor([&] { return WindowText(GetDlgItem(panel, 1051)) == J("閉じる(&C)"); }, kWaitMs))
        << WindowText(GetDlgItem(panel, 1051));
    EXPECT_EQ(ListItems(GetDlgItem(panel, 1050), LB_GETCOUNT, LB_GETTEXT), DefaultFilterNames());
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1051, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel, 1051)));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(panel); }, kWaitMs));
    Exit(program, frame);
}

namespace {

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(HostPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// Which texts the program takes from what lies in resource\1041: a library of its own version
// wins string by string, anything else is passed over without a word. The desktop hot key is
// held elsewhere, so every start shows exactly one message, in the words of its source.
TEST_F(JapaneseProgramTest, OnlyALibraryOfTheProgramsVersionIsUsedStringByString) {
    const std::string japaneseMessage = J("ホットキーを登録できませんでした。[コード=");
    const std::string englishMessage = "register hotkey failed. [code=";
    const std::string japaneseItem = J("デスクトップ表示(&D)");
    const std::string englishItem = "&Desktop view";
    const std::string library = ReadWholeFile(ZEZIRIV_JA_LIBRARY);
    ASSERT_GT(library.size(), 4096u);
    struct Case {
        const char* name;
        std::string file; // a host path
        const std::string& message;
        const std::string& desktopItem;
    };
    const Case cases[] = {
        {"the library", ZEZIRIV_JA_LIBRARY, japaneseMessage, japaneseItem},
        {"another product version", ZEZIRIV_JA_OTHER_VERSION, englishMessage, englishItem},
        {"one string left out", ZEZIRIV_JA_LACKING_STRING, englishMessage, japaneseItem},
        {"not a program", WriteScratchFile("ja_text.dll", "MZ not a library at all"),
         englishMessage, englishItem},
        {"cut in half", WriteScratchFile("ja_half.dll", library.substr(0, library.size() / 2)),
         englishMessage, englishItem},
        // Its version still reads; its resources end past the end of the file.
        {"one byte short", WriteScratchFile("ja_short.dll", library.substr(0, library.size() - 1)),
         englishMessage, englishItem},
        {"a program", ZEZIRIV_EXE, englishMessage, englishItem},
        {"a library of another kind", ZEZIRIV_E2E_MENU_HOOK, englishMessage, englishItem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        const CHeldHotKey held(MOD_CONTROL, VK_F11);
        ASSERT_TRUE(held.IsHeld());
        InstallLibrary(c.file);
        CProgram program(tree.GetExe());
        std::vector<std::string> messages;
        HWND frame = nullptr;
        // The frame exists once its hot keys are tried, so the message comes before or soon
        // after it; any second message would follow at once.
        auto answer = [&] {
            for (HWND box : FindWindows(program.GetProcessId(), kDialogClass, "Zeziriv")) {
                const std::string text = GetStaticTexts(box);
                if (IsWindowVisible(box) && !text.empty()) {
                    messages.push_back(text);
                    PressButton(box, IDOK);
                    WaitFor([&] { return !IsWindow(box); }, kWaitMs);
                }
            }
            frame = WaitForWindow(program.GetProcessId(), kFrameClass, 0);
            return frame != nullptr && !messages.empty();
        };
        WaitFor(answer, kStartTimeoutMs);
        WaitFor([&] { return answer() && messages.size() > 1; }, 1500);
        ASSERT_NE(frame, nullptr);
        ASSERT_EQ(messages.size(), 1u) << messages.back();
        EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
        const std::vector<MenuItem> tray = ReadTrayMenu(program, frame);
        ASSERT_FALSE(tray.empty());
        EXPECT_EQ(tray[0].text, c.desktopItem);
        Exit(program, frame);
    }
}
