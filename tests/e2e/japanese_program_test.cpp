// The real zeziriv.exe on a Japanese system (code page 932, language 1041) with the Japanese
// language library and filters laid out as the install tree lays them out: what a Japanese user
// reads in its menus, dialogs, panel, status bar and messages, read through the controls.
#include "e2e_support.h"
#include "japanese_text.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

using namespace e2e;
using japanese_text::J;

namespace {

constexpr DWORD kWaitMs = 15000;

std::vector<std::string> JoinedNames(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8) {
        out.push_back(J(text));
    }
    return out;
}

// The texts of a dialog's labels, buttons and boxes in template order; each fits.
std::vector<std::string> LabelsThatFit(HWND dialog) {
    EXPECT_EQ(LayoutFaults(dialog), std::vector<std::string>{});
    return Labels(dialog);
}

class JapaneseProgramTest : public ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the test prefix must run in a Japanese locale";
        ASSERT_EQ(GetSystemDefaultLangID(), 1041);
        ProgramFixture::SetUp();
        Prepare(0);
        ASSERT_TRUE(tree.CopyFilters(ZEZIRIV_SHIPPED_FILTERS, "filter\\system\\"));
        ASSERT_TRUE(tree.CopyFilters(std::string(ZEZIRIV_SHIPPED_FILTERS) + "/1041",
                                     "filter\\system\\1041\\"));
    }
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
    InstallLanguageLibrary(ZEZIRIV_JA_LIBRARY);
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);

    const std::vector<MenuItem> tray = ReadTrayMenu(program.GetProcessId(), frame);
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
        [&] { return ControlText(window) == japanese_text::FilterName("_normal") + " - Zeziriv"; },
        kWaitMs))
        << ControlText(window);

    const std::vector<MenuItem> context = ReadMenuAfter(
        program.GetProcessId(), [&] { PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(20, 20)); });
    EXPECT_EQ(Texts(context),
              JoinedNames({"フィルター(&F)", "倍率(&Z)", "中心のピクセルに印を付ける(&M)\tM",
                           "似た色を強調(&L)\tH", "位置を固定(&P)\tF", "", "表示(&V)", "",
                           "新しいウィンドウ(&N)\tCtrl+N", "", "閉じる(&C)"}));
    ASSERT_EQ(context.size(), 11u);
    std::vector<std::string> numbered = DefaultFilterNames();
    for (std::size_t i = 0; i < numbered.size(); ++i) {
        numbered[i] += "\t" + std::to_string(i + 1);
    }
    EXPECT_EQ(Texts(context[0].submenu), numbered);
    EXPECT_EQ(Texts(context[6].submenu),
              JoinedNames({"常に手前に表示(&T)", "ステータスバーを表示(&B)"}));
    Exit(program, frame);
}

// Installed below a folder that code page 932 cannot name (a Greek letter with an accent, and
// Japanese ones), the program still takes its language library and its translated filters.
TEST_F(JapaneseProgramTest, BelowAFolderTheCodePageCannotNameTheLibraryAndFiltersAreUsed) {
    InstallLanguageLibrary(ZEZIRIV_JA_LIBRARY);
    const CWideTreeCopy copy(tree, L"\u0396\u03b5\u03b6\u03af\u03c1\u03b9\u03b2 \u8272\u899a");
    ASSERT_TRUE(copy.IsComplete());
    CProgram program(copy.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    const std::vector<MenuItem> tray = ReadTrayMenu(program.GetProcessId(), frame);
    ASSERT_EQ(tray.size(), 15u);
    EXPECT_EQ(tray[0].text, J("デスクトップ表示(&D)"));
    EXPECT_EQ(Texts(tray[3].submenu), DefaultFilterNames());
    Exit(program, frame);
}

// The longest colour name of the Japanese words (very bright, highly saturated, a two-kanji
// hue) in every part of both status bar layouts, whole.
TEST_F(JapaneseProgramTest, StatusBarPartsCarryTheLongestJapaneseColourNameWhole) {
    InstallLanguageLibrary(ZEZIRIV_JA_LIBRARY);
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
        const HWND frame = program.WaitFrame();
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
                shown = ReadStatusBar(bar);
                return shown == c.parts;
            },
            kWaitMs);
        EXPECT_TRUE(whole);
        EXPECT_EQ(shown, c.parts);
        Exit(program, frame);
    }
}

TEST_F(JapaneseProgramTest, DialogsAndThePanelSpeakJapaneseAndEveryLabelFits) {
    InstallLanguageLibrary(ZEZIRIV_JA_LIBRARY);
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);

    HWND dialog =
        OpenDialog(program.GetProcessId(), frame, kAboutCommand, J("バージョン情報").c_str());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(LabelsThatFit(dialog),
              (std::vector<std::string>{"Zeziriv", J("バージョン ") + ZEZIRIV_VERSION_TEXT,
                                        J("色覚シミュレーター: 1型・2型・3型の2色覚の人に"
                                          "見えるように画面を表示します。"),
                                        "OK"}));
    // The icon comes from the program even though the template comes from the library.
    EXPECT_NE(SendMessageA(GetDlgItem(dialog, 1100), STM_GETICON, 0, 0), 0);
    EXPECT_TRUE(CloseDialog(dialog, IDOK));

    dialog =
        OpenDialog(program.GetProcessId(), frame, kGeneralSettingCommand, J("全般の設定").c_str());
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
                                                  "表示モード",
                                                  "すべてのモニターを表示する(&M)",
                                                  "ウィンドウモード",
                                                  "更新間隔(&I):",
                                                  "ミリ秒",
                                                  "色の値の形式(&F):",
                                                  "ウィンドウをタスクバーに表示しない(&B)",
                                                  "ステータスバーに位置と倍率を表示しない(&H)",
                                                  "元の色の情報を表示する(&O)",
                                                  "ぼかし",
                                                  "半径:",
                                                  "似た色",
                                                  "距離(&D):",
                                                  "CIEDE2000",
                                                  "OK",
                                                  "キャンセル"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, 1004), CB_GETCOUNT, CB_GETLBTEXT),
              JoinedNames({"RGB(10進数)", "RGB(16進数)", "HSV", "HSV(カスタム)", "HSV(簡易)"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, 1008), CB_GETCOUNT, CB_GETLBTEXT),
              JoinedNames({"低", "標準", "高"}));
    EXPECT_TRUE(CloseDialog(dialog, IDCANCEL));

    dialog = OpenDialog(program.GetProcessId(), frame, kFilterSettingCommand,
                        J("フィルターの設定").c_str());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(
        LabelsThatFit(dialog),
        JoinedNames({"有効なフィルター(&F):", "上へ(&U)", "下へ(&D)", "< 有効(&E)", "無効(&S) >",
                     "無効なフィルター(&A):", "読み込めないフィルターを削除(&L)...",
                     "ID(&I):", "名前(&N):", "ホットキー(&H):", "OK", "キャンセル"}));
    EXPECT_EQ(ListTexts(GetDlgItem(dialog, 1100)), DefaultFilterNames());
    const std::vector<std::string> disabled = ListTexts(GetDlgItem(dialog, 1101));
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
    EXPECT_EQ(ControlText(GetDlgItem(dialog, 1107)), japanese_text::FilterName("protanopia"));
    EXPECT_TRUE(CloseDialog(dialog, IDCANCEL));

    PostMessageA(frame, WM_COMMAND, kDesktopViewCommand, 0);
    const HWND panel = WaitForWindow(program.GetProcessId(), kPanelClass, kWaitMs);
    ASSERT_NE(panel, nullptr);
    const HWND close = GetDlgItem(panel, kPanelButtonId);
    EXPECT_TRUE(WaitFor([&] { return ControlText(close) == J("閉じる(&C)"); }, kWaitMs))
        << ControlText(close);
    EXPECT_EQ(ListTexts(GetDlgItem(panel, kPanelListId)), DefaultFilterNames());
    EXPECT_EQ(ControlText(GetDlgItem(panel, kPanelHighlightId)), J("似た色を強調"));
    EXPECT_TRUE(CloseDialog(panel, kPanelButtonId));
    Exit(program, frame);
}

namespace {

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
        {"a library of another kind", ZEZIRIV_DRIVER_HOOK, englishMessage, englishItem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [message, desktopItem] = StartWithTheDesktopKeyHeld(c.file);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
        EXPECT_EQ(desktopItem, c.desktopItem);
    }
}
