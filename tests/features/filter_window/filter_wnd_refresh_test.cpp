// Several real filter windows refreshed together under Wine: what each shows, read back from the
// screen, when the screen changes, when the shared copy fails, and what reaches the status bar.
#include "features/filter_window/filter_wnd_fixture.h"
#include "support/manual_clock.h"
#include "support/refusing_screen.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace filter_wnd_test {

namespace {

bool InPattern(int x, int y) {
    return x >= kPatternX && x < kPatternX + kColumns * kCell && y >= kPatternY &&
           y < kPatternY + kRows * kCell;
}

bool InAnyOther(const std::vector<CFilterWnd*>& windows, const CFilterWnd* self, int x, int y) {
    for (const CFilterWnd* w : windows) {
        const IntRect r = WindowRectOf(w->GetHwnd());
        if (w != self && x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return true;
        }
    }
    return false;
}

// The pattern under another palette: every cell a different colour than before.
std::vector<ColorValue> ShiftedPattern() {
    std::vector<ColorValue> colours = PatternColours();
    for (ColorValue& c : colours) {
        c = kPalette[(std::find(std::begin(kPalette), std::end(kPalette), c) - kPalette + 1) % 8];
    }
    return colours;
}

class FilterWindowRefreshTest : public FilterWindowTest {
protected:
    void TearDown() override {
        FilterWindowTest::TearDown();
        GetWindowCollection().SetScreenSourceForTesting(nullptr);
        if (changed) {
            s_pattern->SetColours(PatternColours());
            EXPECT_TRUE(s_pattern->WaitShown());
        }
    }

    // Windows of every kind side by side and overlapping: magnified with and without the mark,
    // following the pointer and fixed, two overlapping each other.
    std::vector<CFilterWnd*> OpenSeveral() {
        std::vector<CFilterWnd*> windows;
        struct Spec {
            const char* filter;
            int zoom;
            bool mark;
            IntRect rect;
            bool fixed;
        };
        for (const Spec& s : {Spec{"swap", 4, false, {400, 40, 700, 300}, false},
                              Spec{"swap", 6, true, {600, 200, 900, 460}, false},
                              Spec{"_normal", 2, true, {400, 500, 640, 700}, true},
                              Spec{"swap", 1, true, {640, 500, 880, 700}, false}}) {
            CWindowSetting record = Record(s.filter, s.zoom, s.mark);
            record.WindowRect = s.rect;
            record.SetFixedPoint(s.fixed, {kPatternX + 60, kPatternY + 50});
            windows.push_back(GetWindowCollection().OpenFilterWindow(&record)
                                  ? GetWindowCollection().GetWindows().back()
                                  : nullptr);
        }
        return windows;
    }

    // What the window must show at a client pixel, or nothing where the screen under it is not
    // the pattern or another window lies over it.
    static std::optional<ColorValue> Expected(const std::vector<CFilterWnd*>& windows,
                                              const CFilterWnd* window, int x, int y) {
        const CFilterWindowModel& model = window->GetModel();
        const CCaptureImage& image = model.GetCaptureImage();
        const int z = model.GetZoom();
        const IntPoint ref = model.GetReferencePoint();
        const int w = image.GetWidth();
        const int h = image.GetHeight();
        POINT screen{x, y};
        ClientToScreen(window->GetHwnd(), &screen);
        if (InAnyOther(windows, window, screen.x, screen.y)) {
            return std::nullopt;
        }
        if (const auto mark = ComputeCenterMark(w, h, z, model.IsMarkCenter(), false)) {
            const IntRect& o = mark->outline;
            const bool inside = x >= o.left && x < o.right && y >= o.top && y < o.bottom;
            const bool edge = x == o.left || x == o.right - 1 || y == o.top || y == o.bottom - 1;
            if (inside && edge) {
                for (const IntPoint& corner : mark->corners) {
                    if (corner == IntPoint{x, y}) {
                        return kCenterMarkCornerColor;
                    }
                }
                return kCenterMarkColor;
            }
        }
        const int sx = ref.x - (w - 1) / 2 + x / z;
        const int sy = ref.y - (h - 1) / 2 + y / z;
        if (!InPattern(sx, sy)) {
            return std::nullopt;
        }
        const CFilter* filter = model.GetFilterStatus().GetSelectedFilter();
        return filter->Transform(s_pattern->ColourAt(sx, sy));
    }

    // Every window shows exactly its part of the pattern through its filter, with its mark.
    static bool ShowExactly(const std::vector<CFilterWnd*>& windows, std::string& wrong) {
        for (const CFilterWnd* window : windows) {
            const CScreenPixels pixels = CScreenPixels::ReadClient(window->GetHwnd());
            RECT bar{};
            GetWindowRect(GetDlgItem(window->GetHwnd(), CFilterWnd::kStatusbarId), &bar);
            POINT barTop{bar.left, bar.top};
            ScreenToClient(window->GetHwnd(), &barTop);
            for (int y = 0; y < barTop.y; ++y) {
                for (int x = 0; x < pixels.GetWidth(); ++x) {
                    const auto expected = Expected(windows, window, x, y);
                    if (expected && pixels.At(x, y) != *expected) {
                        wrong = Title(window->GetHwnd()) + " zoom " +
                                std::to_string(window->GetModel().GetZoom()) + " at " +
                                std::to_string(x) + "," + std::to_string(y);
                        return false;
                    }
                }
            }
        }
        return true;
    }

    bool changed = false;
};

} // namespace

TEST_F(FilterWindowRefreshTest, SeveralWindowsEachShowExactlyTheirPartAndFollowAChange) {
    const std::vector<CFilterWnd*> windows = OpenSeveral();
    for (CFilterWnd* w : windows) {
        ASSERT_NE(w, nullptr);
    }
    std::string wrong;
    EXPECT_TRUE(PumpUntil([&] { return ShowExactly(windows, wrong); }, kTimeoutMs)) << wrong;

    // One interval after the pattern changed, every window has taken the new one.
    ManualClock clock(GetTickCount());
    changed = true;
    s_pattern->SetColours(ShiftedPattern());
    ASSERT_TRUE(s_pattern->WaitShown());
    clock.Advance(GetAppProfile().GetWindowUpdateInterval());
    GetWindowCollection().RefreshTick();
    for (CFilterWnd* w : windows) {
        const IntPoint ref = w->GetModel().GetReferencePoint();
        EXPECT_EQ(w->GetModel().GetOriginalColor(), s_pattern->ColourAt(ref.x, ref.y))
            << Title(w->GetHwnd());
    }
    EXPECT_TRUE(PumpUntil([&] { return ShowExactly(windows, wrong); }, kTimeoutMs)) << wrong;
}

TEST_F(FilterWindowRefreshTest, FailedSharedCopyKeepsEveryPictureAndIsRetriedNextTick) {
    win_test::CRefusingScreenSource source;
    GetWindowCollection().SetScreenSourceForTesting(&source);
    std::vector<CFilterWnd*> windows = OpenSeveral();
    windows.resize(2);
    std::string wrong;
    ASSERT_TRUE(PumpUntil([&] { return ShowExactly(windows, wrong); }, kTimeoutMs)) << wrong;
    const ColorValue before = windows[0]->GetModel().GetOriginalColor();

    // The middle of the first window's picture: its reference pixel's block.
    const HWND first = windows[0]->GetHwnd();
    const auto middle = [&] {
        RECT client{};
        GetClientRect(first, &client);
        const CCaptureImage& image = windows[0]->GetModel().GetCaptureImage();
        POINT at{(image.GetWidth() - 1) / 2 * 4 + 1, (image.GetHeight() - 1) / 2 * 4 + 1};
        ClientToScreen(first, &at);
        return CScreenPixels::Read(at.x, at.y, 1, 1).At(0, 0);
    };
    const ColorValue shown = middle();

    ManualClock clock(GetTickCount());
    source.refuse = true;
    changed = true;
    s_pattern->SetColours(ShiftedPattern());
    ASSERT_TRUE(s_pattern->WaitShown());
    clock.Advance(1000);
    GetWindowCollection().RefreshTick();
    for (CFilterWnd* w : windows) {
        UpdateWindow(w->GetHwnd());
    }
    ASSERT_TRUE(win_test::FlushPostedMessages());
    EXPECT_EQ(windows[0]->GetModel().GetOriginalColor(), before);
    EXPECT_EQ(middle(), shown) << "the last picture stays";
    EXPECT_GE(GetWindowCollection().GetRefresh().GetFailedCopyCount(), 1);

    source.refuse = false;
    clock.Advance(CWindowRefresh::kTickMilliseconds);
    GetWindowCollection().RefreshTick();
    EXPECT_NE(windows[0]->GetModel().GetOriginalColor(), before);
    EXPECT_TRUE(PumpUntil([&] { return ShowExactly(windows, wrong); }, kTimeoutMs)) << wrong;
}

namespace {

// Parts written to status bars, counted by watching the messages they are sent.
std::map<HWND, std::vector<int>> g_statusWrites;

LRESULT CALLBACK WatchStatusWrites(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == SB_SETTEXTA) {
        g_statusWrites[message->hwnd].push_back(static_cast<int>(LOBYTE(message->wParam)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(FilterWindowRefreshTest, StatusBarIsWrittenExactlyWhenColourOrPointChanges) {
    CFilterWnd* window = OpenAndWait(Record("swap", 4, true));
    ASSERT_NE(window, nullptr);
    const HWND bar = GetDlgItem(window->GetHwnd(), CFilterWnd::kStatusbarId);
    ManualClock clock(GetTickCount());
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, &WatchStatusWrites, nullptr, GetCurrentThreadId());
    const auto tick = [&](POINT cursor) {
        g_statusWrites.clear();
        SetCursorPos(cursor.x, cursor.y);
        clock.Advance(GetAppProfile().GetWindowUpdateInterval());
        GetWindowCollection().RefreshTick();
        return g_statusWrites[bar];
    };
    tick(kCursor); // settles what the opening asked for
    EXPECT_EQ(tick(kCursor), std::vector<int>{}) << "nothing changed";
    const std::vector<int> pointOnly = tick({kCursor.x + 1, kCursor.y});
    EXPECT_EQ(pointOnly, std::vector<int>{1}) << "the same cell: only the point";
    EXPECT_EQ(StatusText(window->GetHwnd(), 1),
              std::to_string(kCursor.x + 1) + ", " + std::to_string(kCursor.y));
    const std::vector<int> colour = tick({kCursor.x + kCell, kCursor.y});
    EXPECT_EQ(colour, (std::vector<int>{0, 1, 3})) << "another cell: colour, point and name";
    UnhookWindowsHookEx(hook);
}

} // namespace filter_wnd_test
