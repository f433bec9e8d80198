// The quick and desktop views as real windows on the test display: the screen they show, read
// back pixel by pixel, and how they answer real keys and clicks.
#include "app/app_profile.h"
#include "app/app_state.h"
#include "app/preview_owner.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/look_alike.h"
#include "features/app_messages.h"
#include "features/views/filter_panel.h"
#include "features/views/preview_wnd.h"
#include "platform/utilities.h"
#include "support/refusing_screen.h"
#include "support/test_data.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using win_test::Click;
using win_test::CScreenPixels;
using win_test::KeyInput;
using win_test::PressKeys;
using win_test::SendInputs;

constexpr int kInvert = 1;
constexpr int kSwap = 2;
constexpr int kSequence = 3;

// Enabled: _normal, Inverted, Swapped, Sequence (Inverted for 1.5 s, then Swapped), and then
// `extra` identity filters.
void EnableFilters(int extra = 0) {
    CFilterManager& m = GetFilterManager();
    if (m.FindFilter("invert") == nullptr) {
        ColorMap inverted = SwapRedBlueMap();
        for (ColorValue& c : inverted) {
            c = MakeColor(255 - BlueOf(c), 255 - GreenOf(c), 255 - RedOf(c));
        }
        AddColorMap(m, "invert", inverted, "Inverted");
        AddColorMap(m, "swap", SwapRedBlueMap(), "Swapped");
        AddSequence(m, "sequence", {{"invert", 1500}, {"swap", 100000000}}, 0, "Sequence");
        for (int i = 0; i < 36; ++i) {
            AddColorMap(m, "extra" + std::to_string(i));
        }
    }
    EnableOnly(m, {"_normal", "invert", "swap", "sequence"});
    for (int i = 0; i < extra; ++i) {
        m.AppendEnabled(m.FindFilter("extra" + std::to_string(i)));
    }
    ASSERT_TRUE(m.PrepareTables());
}

CScreenPixels ReadScreen() {
    return CScreenPixels::Read(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

IntRect WindowRect(HWND window) {
    RECT rc{};
    GetWindowRect(window, &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

// A 16 x 16 grid of 20-pixel cells of colours on and between the lattice points.
std::vector<ColorValue> PatternColours() {
    std::vector<ColorValue> colours;
    for (unsigned cell = 0; cell < 256; ++cell) {
        const unsigned x = cell % 16, y = cell / 16;
        colours.push_back(MakeColor(x * 37 + y * 11, x * 5 + y * 53, x * 91 + y * 29 + 7));
    }
    return colours;
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnableFilters();
        GetAppModule().AddMessageLoop(&loop);
        SetMessageBoxHookForTesting([this](const char* text, const char*, UINT style) {
            messages.push_back(text + std::string(" style=") + std::to_string(style));
            return IDOK;
        });
        CAppProfile& profile = GetAppProfile();
        profile.SetBlurRadius(0);
        profile.SetQuickWaitingTime(600000);
        profile.SetAdjustInitialPanelHeight(true);
        profile.SetDesktopPanelRect(IntRect{0, 0, 200, 200});
        pattern =
            std::make_unique<win_test::CPatternWindow>(420, 300, 16, 16, 20, PatternColours());
        ASSERT_TRUE(pattern->WaitShown());
        before = ReadScreen();
    }

    void TearDown() override {
        GetPreviewWnd().Destroy();
        pattern.reset();
        Pump([] { return true; }, 0);
        SetMessageBoxHookForTesting({});
        GetAppModule().RemoveMessageLoop();
    }

    // The thread's messages through the loop, as the program's loop runs them, until `done`
    // holds or the time is up.
    bool Pump(const std::function<bool()>& done, DWORD timeoutMs) {
        return win_test::PumpUntil(done, timeoutMs,
                                   [this](MSG& msg) { return loop.PreTranslateMessage(&msg); });
    }

    // Until every pixel of the screen outside `skip` is what was there through `shown`: a
    // filter's ID, "" for the copy as it is, "black" for no copy at all.
    // With `reference` set, look-alikes highlighted: every pixel whose filtered colour is not
    // within the default distance of the reference's is dimmed.
    void ExpectScreen(const std::string& shown, const RECT& skip = RECT{},
                      const POINT* reference = nullptr) {
        const CFilter* filter = GetFilterManager().FindFilter(shown);
        const auto through = [&](ColorValue was) {
            return shown == "black" ? 0 : filter ? filter->Transform(was) : was;
        };
        const ColorValue referenceColour =
            reference != nullptr ? through(before.At(reference->x, reference->y)) : 0;
        const auto expectedOf = [&](ColorValue was) {
            const ColorValue c = through(was);
            if (reference == nullptr ||
                IsLookAlike(referenceColour, c, kDefaultLookAlikeDistance)) {
                return c;
            }
            return DimColor(c);
        };
        long wrong = -1;
        const bool seen = Pump(
            [&] {
                const CScreenPixels now = ReadScreen();
                wrong = now.GetWidth() > 0 && now.GetWidth() == before.GetWidth() &&
                                now.GetHeight() == before.GetHeight()
                            ? 0
                            : -1;
                for (int y = 0; wrong >= 0 && y < now.GetHeight(); ++y) {
                    for (int x = 0; x < now.GetWidth(); ++x) {
                        const ColorValue expected = expectedOf(before.At(x, y));
                        wrong += !PtInRect(&skip, POINT{x, y}) && now.At(x, y) != expected;
                    }
                }
                return wrong == 0;
            },
            15000);
        EXPECT_TRUE(seen) << wrong << " pixels are not " << (shown.empty() ? "as before" : shown);
    }

    bool WaitClosed() {
        return Pump([] { return !GetAppState().IsViewOpen() && Preview() == nullptr; }, 20000);
    }

    static HWND Preview() { return GetPreviewWnd().GetHwnd(); }
    static HWND Panel() { return GetPreviewWnd().GetPanelWindow(); }
    static HWND List() { return GetDlgItem(Panel(), CFilterPanel::kListId); }
    static HWND Button() { return GetDlgItem(Panel(), CFilterPanel::kButtonId); }
    static HWND CheckBox() { return GetDlgItem(Panel(), CFilterPanel::kCheckId); }
    static bool IsHighlightChecked() {
        return SendMessageA(CheckBox(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static int Selected() { return static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0)); }
    static int ItemHeight() {
        return static_cast<int>(SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0));
    }
    static int ClientBottom(HWND window) {
        RECT rc{};
        GetClientRect(window, &rc);
        return rc.bottom;
    }

    CMessageLoop loop;
    std::unique_ptr<win_test::CPatternWindow> pattern;
    CScreenPixels before;
    std::vector<std::string> messages;
};

// (A hot key opening it, as the main frame does, is pressed end to end, and the quick view has
// no panel there.)
TEST_F(PreviewTest, QuickViewShowsTheFilteredScreenUntilADoubleClick) {
    ASSERT_TRUE(OpenPreview(PREVIEW_QUICK, kInvert));
    const HWND preview = Preview();
    EXPECT_EQ(WindowRect(preview),
              (IntRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    EXPECT_EQ(GetWindowLongA(preview, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    // Every pixel of the screen is the filter's table entry of what was there.
    ExpectScreen("invert");

    ASSERT_TRUE(Pump([&] { return GetForegroundWindow() == preview; }, 5000));
    Click(60, 60, 1);
    ASSERT_TRUE(win_test::FlushInput());
    // The single click may pair with a next one only within the double-click time.
    const ULONGLONG apart = GetTickCount64() + GetDoubleClickTime() + 200;
    Pump([&] { return GetTickCount64() >= apart; }, GetDoubleClickTime() + 1000);
    EXPECT_TRUE(GetAppState().IsViewOpen());

    Click(60, 60, 2);
    EXPECT_TRUE(WaitClosed());
    ExpectScreen("");
}

TEST_F(PreviewTest, FailedScreenCopyShowsBlackNotTheLastScreenAndClosesAsUsual) {
    win_test::CRefusingScreenSource source;

    struct : IPreviewOwner {
        void StorePanelRect(const IntRect&) override {}
        void OnPreviewClosed() override {}
    } owner;
    CPreviewWnd preview(source, GetFilterManager(), owner);
    PreviewOptions options;
    options.quickWaitingTime = 600000;
    ASSERT_TRUE(preview.Open(PREVIEW_QUICK, kInvert, options));
    ExpectScreen("invert");
    ASSERT_TRUE(Pump([&] { return GetForegroundWindow() == preview.GetHwnd(); }, 5000));
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(Pump([&] { return preview.GetHwnd() == nullptr; }, 20000));

    source.refuse = true;
    options.quickWaitingTime = 800;
    const ULONGLONG opened = GetTickCount64();
    ASSERT_TRUE(preview.Open(PREVIEW_QUICK, kInvert, options));
    ExpectScreen("black");
    ASSERT_TRUE(Pump([&] { return preview.GetHwnd() == nullptr; }, 20000));
    EXPECT_GE(GetTickCount64() - opened, 800u);
}

TEST_F(PreviewTest, DesktopViewPanelPicksFiltersByListAndDigitsAndEscapeEndsTheView) {
    ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
    const HWND preview = Preview();
    const HWND panel = Panel();
    ASSERT_NE(panel, nullptr);
    // Its owner, list and button texts are read end to end.
    const auto font = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(SendMessageA(List(), WM_GETFONT, 0, 0), font);
    EXPECT_EQ(SendMessageA(Button(), WM_GETFONT, 0, 0), font);

    // Above the full-screen image, with the keyboard; the image starts with position 0.
    RECT skip{};
    GetWindowRect(panel, &skip);
    const HWND hit = WindowFromPoint({(skip.left + skip.right) / 2, (skip.top + skip.bottom) / 2});
    EXPECT_TRUE(hit == panel || GetParent(hit) == panel);
    ASSERT_TRUE(Pump([&] { return GetFocus() == List(); }, 5000));
    ExpectScreen("", skip);

    // Digits of both rows and the list's own keys; no tenth filter for "0" and Enter does
    // nothing (the "1" after them shows they were handled).
    const struct {
        std::vector<INPUT> keys;
        int selected;
        const char* shown;
    } steps[] = {
        {{KeyInput('3'), KeyInput('3', true)}, kSwap, "swap"},
        {{KeyInput(VK_NUMPAD2), KeyInput(VK_NUMPAD2, true)}, kInvert, "invert"},
        {{KeyInput('0'), KeyInput('0', true), KeyInput(VK_RETURN), KeyInput(VK_RETURN, true),
          KeyInput('1'), KeyInput('1', true)},
         0,
         ""},
        {{KeyInput(VK_DOWN), KeyInput(VK_DOWN, true)}, kInvert, "invert"},
    };
    for (const auto& step : steps) {
        SendInputs(step.keys);
        ASSERT_TRUE(Pump([&] { return Selected() == step.selected; }, 5000)) << step.shown;
        EXPECT_TRUE(GetAppState().IsViewOpen());
        ExpectScreen(step.shown, skip);
    }

    // A click on the image leaves the keyboard with the panel, and highlights the look-alikes
    // of the clicked pixel's filtered colour; another click moves the reference.
    EXPECT_FALSE(IsHighlightChecked());
    Click(900, 100, 1);
    ASSERT_TRUE(win_test::FlushInput());
    EXPECT_EQ(GetForegroundWindow(), panel);
    ASSERT_TRUE(Pump([] { return IsHighlightChecked(); }, 5000));
    const POINT first{900, 100};
    ExpectScreen("invert", skip, &first);
    // Apart by more than the double-click time and distance, so that it is a click of its own.
    const ULONGLONG apart = GetTickCount64() + GetDoubleClickTime() + 200;
    Pump([&] { return GetTickCount64() >= apart; }, GetDoubleClickTime() + 1000);
    Click(30, 900, 1);
    ASSERT_TRUE(win_test::FlushInput());
    const POINT second{30, 900};
    ExpectScreen("invert", skip, &second);
    EXPECT_TRUE(GetAppState().IsViewOpen());
    // Another filter re-evaluates the same pixel.
    SendMessageA(preview, WM_APP_SELECT_FILTER, kSwap, 0);
    ExpectScreen("swap", skip, &second);
    SendMessageA(preview, WM_APP_SELECT_FILTER, kInvert, 0);
    // The check box, by keyboard from the list, turns it off and on again.
    ASSERT_TRUE(Pump([&] { return GetFocus() == List(); }, 5000));
    PressKeys({VK_TAB});
    ASSERT_TRUE(Pump([&] { return GetFocus() == CheckBox(); }, 5000));
    PressKeys({VK_SPACE});
    ASSERT_TRUE(Pump([] { return !IsHighlightChecked(); }, 5000));
    ExpectScreen("invert", skip);
    PressKeys({VK_SPACE});
    ExpectScreen("invert", skip, &second);
    PressKeys({VK_SPACE});
    ExpectScreen("invert", skip);

    // The sequence: Inverted for a moment, then Swapped. Picked again, it is not restarted:
    // nothing is filtered or repainted.
    PressKeys({'4'});
    ExpectScreen("swap", skip);
    ASSERT_TRUE(Pump([&] { return !GetUpdateRect(preview, nullptr, FALSE); }, 5000));
    SendMessageA(preview, WM_APP_SELECT_FILTER, kSequence, 0);
    EXPECT_FALSE(GetUpdateRect(preview, nullptr, FALSE));
    // Another filter and back starts it again from its first member.
    SendMessageA(preview, WM_APP_SELECT_FILTER, kSwap, 0);
    SendMessageA(preview, WM_APP_SELECT_FILTER, kSequence, 0);
    ExpectScreen("invert", skip);

    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitClosed());
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(GetAppProfile().GetDesktopPanelRect(),
              (IntRect{skip.left, skip.top, skip.right, skip.bottom}));
}

// The arithmetic of the rectangle and the height is the panel geometry test's; here the panel
// window applies it with the screen's size and its list's own item height.
TEST_F(PreviewTest, PanelRectangleIsKeptOnTheScreenAndItsHeightFitsTheList) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    GetAppProfile().SetAdjustInitialPanelHeight(false);
    GetAppProfile().SetDesktopPanelRect(
        IntRect{width + 220, height - 224, width + 520, height + 176});
    ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
    EXPECT_EQ(WindowRect(Panel()), (IntRect{width - 300, height - 400, width, height}));

    // Moved, then closed with its button: reopened where it was left.
    ASSERT_TRUE(SetWindowPos(Panel(), nullptr, 300, 200, 260, 330, SWP_NOZORDER));
    SendMessageA(Button(), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitClosed());
    ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
    EXPECT_EQ(WindowRect(Panel()), (IntRect{300, 200, 560, 530}));

    // Sized below the minimum: one whole item and the button remain.
    ASSERT_TRUE(SetWindowPos(Panel(), nullptr, 0, 0, 160, 1, SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_EQ(ClientBottom(List()), ItemHeight());
    RECT button{};
    GetWindowRect(Button(), &button);
    MapWindowPoints(nullptr, Panel(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_GT(button.bottom, button.top);
    EXPECT_LT(button.bottom, ClientBottom(Panel()));
    PostMessageA(Panel(), WM_CLOSE, 0, 0); // the platform's close of the panel
    ASSERT_TRUE(WaitClosed());

    // With the fit on: position and width kept, the list sized for the filters, 30 at most.
    GetAppProfile().SetAdjustInitialPanelHeight(true);
    for (int extra : {0, 36}) {
        EnableFilters(extra);
        ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
        EXPECT_EQ(WindowRect(Panel()).left, 300);
        EXPECT_EQ(WindowRect(Panel()).top, 200);
        EXPECT_EQ(WindowRect(Panel()).right, 460);
        EXPECT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), 4 + extra);
        EXPECT_EQ(ClientBottom(List()), std::min(4 + extra, 30) * ItemHeight());
        PostMessageA(Preview(), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitClosed());
    }
}

// Fails the creation of every window of one class, as a platform out of resources would.
const char* g_refusedClass = "";
LRESULT CALLBACK RefuseClass(int code, WPARAM wParam, LPARAM lParam) {
    char name[32] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), name, 32) &&
        lstrcmpiA(name, g_refusedClass) == 0) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(PreviewTest, PanelControlThatCannotBeCreatedIsReportedAndNoViewOpens) {
    const IntRect stored{1500, 800, 1800, 1200};
    GetAppProfile().SetDesktopPanelRect(stored);
    for (const char* refused : {"ListBox", "Button"}) {
        messages.clear();
        g_refusedClass = refused;
        HHOOK hook = SetWindowsHookExA(WH_CBT, &RefuseClass, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        EXPECT_FALSE(OpenPreview(PREVIEW_DESKTOP, 0));
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(GetAppState().IsViewOpen());
        EXPECT_EQ(FindWindowA(CPreviewWnd::kClassName, nullptr), nullptr);
        EXPECT_EQ(FindWindowA(CFilterPanel::kClassName, nullptr), nullptr);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind("create window failed. [code=", 0), 0u) << messages[0];
        EXPECT_EQ(messages[0].substr(messages[0].find("] ")), "] style=16");
        EXPECT_EQ(GetAppProfile().GetDesktopPanelRect(), stored);
    }
    // Nothing was left half open.
    ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
    EXPECT_NE(Panel(), nullptr);
}

// The panel moved to a monitor of twice the scale: its font for that scale, the suggested place
// and width, and never less height than one item and the button need there.
TEST_F(PreviewTest, PanelOnAMonitorOfAnotherScaleMeasuresItsFontAndMinimumFirst) {
    ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
    const HWND panel = Panel();
    ASSERT_NE(panel, nullptr);
    const auto fontHeight = [](HWND control) {
        LOGFONTA logFont{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                   sizeof(logFont), &logFont);
        return std::abs(static_cast<int>(logFont.lfHeight));
    };
    const int font96 = fontHeight(List());
    const auto item96 = static_cast<int>(SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0));

    const RECT tiny{300, 200, 700, 230};
    SendMessageA(panel, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&tiny));
    EXPECT_EQ(fontHeight(List()), 2 * font96);
    EXPECT_EQ(fontHeight(Button()), 2 * font96);
    EXPECT_GT(SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0), item96);
    const IntRect moved = WindowRect(panel);
    EXPECT_EQ(moved.left, 300);
    EXPECT_EQ(moved.top, 200);
    EXPECT_EQ(moved.right, 700);
    // One whole item above the button, with the font unit's margins, in the client area.
    RECT list{};
    RECT button{};
    GetWindowRect(List(), &list);
    GetWindowRect(Button(), &button);
    EXPECT_GE(list.bottom - list.top, SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_LE(button.bottom, moved.bottom);

    // Back at the system's scale: the stock font again.
    const RECT back{300, 200, 500, 400};
    SendMessageA(panel, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(SendMessageA(List(), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_EQ(WindowRect(panel), (IntRect{300, 200, 500, 400}));
}

} // namespace
