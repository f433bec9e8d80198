// Filter windows, views and screen copies on two real monitors: Wine over an X server with two
// heads (scripts/two-monitor-x), a 1024 x 768 primary and a 1280 x 1024 monitor left of it.
#include "app/app_profile.h"
#include "app/app_state.h"
#include "app/preview_owner.h"
#include "app/window_collection.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/capture_image.h"
#include "engine/image/gdi_screen_source.h"
#include "engine/image/screen_copy.h"
#include "features/app_messages.h"
#include "features/filter_window/filter_wnd.h"
#include "platform/message_loop.h"
#include "platform/monitor_layout.h"
#include "platform/utilities.h"
#include "support/test_data.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

namespace {

using win_test::PumpUntil;

constexpr IntRect kPrimary{0, 0, 1024, 768};
constexpr IntRect kLeft{-1280, 0, 0, 1024};
constexpr IntRect kBoth{-1280, 0, 1024, 1024};
constexpr DWORD kTimeoutMs = 15000;

IntRect WindowRect(HWND window) {
    RECT rc{};
    GetWindowRect(window, &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

bool Inside(const IntRect& inner, const IntRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class TwoMonitorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        CFilterManager& m = GetFilterManager();
        if (m.FindFilter("swap") == nullptr) {
            AddColorMap(m, "swap", SwapRedBlueMap(), "Swap");
        }
        EnableOnly(m, {"_normal", "swap"});
        ASSERT_TRUE(m.PrepareTables());
    }

    void SetUp() override {
        GetAppModule().AddMessageLoop(&loop);
        // A message box would wait for a user: it is recorded and fails the test instead.
        SetMessageBoxHookForTesting([this](const char* text, const char*, UINT) {
            messages.push_back(text);
            return IDOK;
        });
        GetAppProfile() = CAppProfile();
        GetWindowCollection().GetCascade().SetOrigin({}, false);
    }
    void TearDown() override {
        GetWindowCollection().DestroyAllWindows();
        GetPreviewWnd().Destroy();
        EXPECT_TRUE(Pump([] { return !GetAppState().IsViewOpen(); }, kTimeoutMs));
        GetAppModule().RemoveMessageLoop();
        SetMessageBoxHookForTesting({});
        EXPECT_TRUE(messages.empty()) << messages.front();
    }

    bool Pump(const std::function<bool()>& done, DWORD timeoutMs) {
        return PumpUntil(done, timeoutMs,
                         [this](MSG& msg) { return loop.PreTranslateMessage(&msg); });
    }

    CMessageLoop loop;
    std::vector<std::string> messages;
};

TEST_F(TwoMonitorTest, TheProgramSeesBothMonitors) {
    const MonitorLayout layout = GetSystemMonitorLayout();
    ASSERT_EQ(layout.monitors.size(), 2u);
    EXPECT_EQ(layout.monitors[0].rect, kPrimary);
    EXPECT_EQ(layout.monitors[1].rect, kLeft);
    EXPECT_EQ(VirtualScreen(layout), kBoth);
    for (const MonitorInfo& monitor : layout.monitors) {
        EXPECT_EQ(monitor.dpi, 96);
    }
}

// Records as Restore all hands them over, on the monitors they were saved on or on one that
// is gone.
TEST_F(TwoMonitorTest, FilterWindowsOpenWholeOnTheMonitorOfTheirRecord) {
    const struct {
        const char* what;
        IntRect record;
        IntRect window;
    } cases[] = {
        {"on the left monitor", {-900, 300, -600, 500}, {-900, 300, -600, 500}},
        {"on the primary", {600, 400, 900, 600}, {600, 400, 900, 600}},
        {"mostly on the left, across its edge", {-100, 700, 200, 900}, {-1280, 700, -980, 900}},
        {"on a monitor right of the primary, gone", {3000, 100, 3300, 300}, {0, 100, 300, 300}},
        {"below the left monitor", {-900, 1100, -600, 1300}, {-900, 0, -600, 200}},
    };
    CWindowCollection& windows = GetWindowCollection();
    for (const auto& c : cases) {
        CWindowSetting record;
        record.FilterID = "swap";
        record.WindowRect = c.record;
        ASSERT_TRUE(windows.OpenFilterWindow(&record)) << c.what;
        ASSERT_FALSE(windows.GetWindows().empty());
        const CFilterWnd* window = windows.GetWindows().back();
        EXPECT_EQ(WindowRect(window->GetHwnd()), c.window) << c.what;
        // The record keeps where the window is, negative coordinates and all.
        EXPECT_EQ(window->GetWindowSetting().WindowRect, c.window) << c.what;
        windows.DestroyAllWindows();
    }
}

TEST_F(TwoMonitorTest, ViewsCoverThePointersMonitorOrBothAndThePanelOpensOnTheViews) {
    const struct {
        bool all;
        POINT pointer;
        IntRect view;
        IntRect panelMonitor;
    } cases[] = {
        {false, {-600, 500}, kLeft, kLeft},
        {false, {500, 300}, kPrimary, kPrimary},
        // Over both with nothing stored: the primary, wherever the pointer is.
        {true, {-600, 500}, kBoth, kPrimary},
        {true, {500, 300}, kBoth, kPrimary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pointer.x);
        SCOPED_TRACE(c.all);
        CAppProfile& profile = GetAppProfile();
        profile.SetViewAllMonitors(c.all);
        // A panel left on the other monitor comes onto the view's (or, over both, stays).
        profile.SetDesktopPanelRect(c.all ? IntRect{} : IntRect{2000, 100, 2200, 300});
        ASSERT_TRUE(SetCursorPos(c.pointer.x, c.pointer.y));
        ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
        ASSERT_TRUE(Pump([] { return GetPreviewWnd().GetPanelWindow() != nullptr; }, kTimeoutMs));
        EXPECT_EQ(WindowRect(GetPreviewWnd().GetHwnd()), c.view);
        EXPECT_EQ(GetPreviewWnd().GetViewRect(), c.view);
        const IntRect panel = WindowRect(GetPreviewWnd().GetPanelWindow());
        EXPECT_TRUE(Inside(panel, c.panelMonitor))
            << panel.left << "," << panel.top << "," << panel.right << "," << panel.bottom;
        GetPreviewWnd().Destroy();
        ASSERT_TRUE(Pump([] { return !GetAppState().IsViewOpen(); }, kTimeoutMs));
    }
}

// A window across the monitors' edge and across the primary's bottom, where no monitor is.
TEST_F(TwoMonitorTest, ScreenCopiesReadBothMonitorsAndBlackWhereNoneIs) {
    std::vector<ColorValue> colours;
    for (int i = 0; i < 4 * 6; ++i) {
        colours.push_back(MakeColor(40 + i * 8, 200 - i * 5, 30 + i * 3));
    }
    win_test::CPatternWindow pattern(-40, 720, 4, 6, 20, colours);
    // Shown once every cell on a monitor is (the X server lags the paint).
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (int y = 730; y < 840; y += 20) {
                for (int x = -30; x < 40; x += 20) {
                    if ((x < 0 || y < kPrimary.bottom) &&
                        win_test::CScreenPixels::Read(x, y, 1, 1).At(0, 0) !=
                            pattern.ColourAt(x, y)) {
                        return false;
                    }
                }
            }
            return true;
        },
        kTimeoutMs));
    const ScreenArea area{-40, 720, 80, 120};
    CScreenCopy copy(GetGdiScreenSource());
    ASSERT_TRUE(copy.TakeAreas({area}));
    EXPECT_EQ(copy.GetScreenBounds(), kBoth);
    CCaptureImage image(GetGdiScreenSource(), GetFilterManager().GetImageQuality());
    ASSERT_EQ(image.CaptureFrom(copy, area.x, area.y, area.width, area.height),
              CaptureResult::Changed);
    int wrong = 0;
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            const int sx = area.x + x;
            const int sy = area.y + y;
            const bool onMonitor = sx < 0 || sy < kPrimary.bottom;
            const ColorValue expected = onMonitor ? pattern.ColourAt(sx, sy) : 0;
            const unsigned char* p =
                image.GetOriginalPixels() + static_cast<std::size_t>(y) * image.GetStride() + x * 3;
            wrong += MakeColor(p[2], p[1], p[0]) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// How many of the 16 cells of the pattern at (-700, 400) the screen does not show through
// `filter`.
int WrongCells(const win_test::CPatternWindow& pattern, const CFilter& filter) {
    int wrong = 0;
    for (int y = 410; y < 480; y += 20) {
        for (int x = -690; x < -620; x += 20) {
            wrong += win_test::CScreenPixels::Read(x, y, 1, 1).At(0, 0) !=
                     filter.Transform(pattern.ColourAt(x, y));
        }
    }
    return wrong;
}

// What a view on the left monitor shows is that monitor, through its filter.
TEST_F(TwoMonitorTest, AViewOnTheLeftMonitorShowsThatMonitorFiltered) {
    std::vector<ColorValue> colours;
    for (int i = 0; i < 16; ++i) {
        colours.push_back(MakeColor(20 + i * 13, 240 - i * 11, 60 + i * 7));
    }
    win_test::CPatternWindow pattern(-700, 400, 4, 4, 20, colours);
    ASSERT_TRUE(pattern.WaitShown());
    GetAppProfile().SetQuickWaitingTime(600000);
    ASSERT_TRUE(SetCursorPos(-600, 300));
    ASSERT_TRUE(OpenPreview(PREVIEW_QUICK, 1));
    const CFilter* swap = GetFilterManager().FindFilter("swap");
    ASSERT_NE(swap, nullptr);
    int wrong = -1;
    const bool shown = Pump(
        [&] {
            wrong = WrongCells(pattern, *swap);
            return wrong == 0;
        },
        kTimeoutMs);
    EXPECT_TRUE(shown) << wrong << " of 16 cells are not filtered";
}

// A display change keeps an open view on the monitor it stood on, whatever the pointer's, with
// its panel; the picture is that monitor's, taken anew, and the panel gets the keyboard back.
TEST_F(TwoMonitorTest, ADisplayChangeKeepsTheViewOnItsMonitorAndTakesItsPictureAgain) {
    std::vector<ColorValue> colours;
    for (int i = 0; i < 16; ++i) {
        colours.push_back(MakeColor(200 - i * 9, 30 + i * 12, 90 + i * 5));
    }
    win_test::CPatternWindow pattern(-700, 400, 4, 4, 20, colours);
    ASSERT_TRUE(pattern.WaitShown());
    GetAppProfile().SetDesktopPanelRect(IntRect{-400, 100, -200, 300});
    ASSERT_TRUE(SetCursorPos(-600, 300));
    ASSERT_TRUE(OpenPreview(PREVIEW_DESKTOP, 0));
    ASSERT_TRUE(Pump([] { return GetPreviewWnd().GetPanelWindow() != nullptr; }, kTimeoutMs));
    ASSERT_EQ(GetPreviewWnd().GetViewRect(), kLeft);
    const HWND panel = GetPreviewWnd().GetPanelWindow();
    ASSERT_TRUE(Pump([&] { return GetForegroundWindow() == panel; }, kTimeoutMs));
    // The desktop view shows its first filter: the identity, then the swap once picked.
    PostMessageA(GetPreviewWnd().GetHwnd(), WM_APP_SELECT_FILTER, 1, 0);

    ASSERT_TRUE(SetCursorPos(500, 300));
    SendMessageA(GetPreviewWnd().GetHwnd(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    EXPECT_EQ(GetPreviewWnd().GetViewRect(), kLeft);
    EXPECT_TRUE(Inside(WindowRect(panel), kLeft));
    const CFilter* swap = GetFilterManager().FindFilter("swap");
    int wrong = -1;
    const bool shown = Pump(
        [&] {
            if (WindowRect(GetPreviewWnd().GetHwnd()) != kLeft ||
                !IsWindowVisible(GetPreviewWnd().GetHwnd()) || !IsWindowVisible(panel)) {
                return false;
            }
            wrong = WrongCells(pattern, *swap);
            return wrong == 0;
        },
        kTimeoutMs);
    EXPECT_TRUE(shown) << wrong << " of 16 cells are not filtered";
    EXPECT_TRUE(Pump([&] { return GetForegroundWindow() == panel; }, kTimeoutMs));
}

} // namespace
