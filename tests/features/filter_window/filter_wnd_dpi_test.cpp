// A filter window moved to a monitor of another scale, as the system tells it: the rectangle it
// suggests, status bar parts and font for the new dpi, and a dpi the system got wrong taken as
// the standard.
#include "features/filter_window/filter_window_geometry.h"
#include "features/filter_window/filter_wnd_fixture.h"

#include <cstdlib>

namespace filter_wnd_test {

namespace {

std::vector<int> StatusParts(HWND window) {
    HWND bar = GetDlgItem(window, CFilterWnd::kStatusbarId);
    const auto count = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<std::size_t>(std::max(count, 0)));
    SendMessageA(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

// The height of the status bar's font; that of the system's status font when it has none of
// its own.
int StatusFontHeight(HWND window) {
    HWND bar = GetDlgItem(window, CFilterWnd::kStatusbarId);
    auto font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
    if (font == nullptr) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return std::abs(static_cast<int>(metrics.lfStatusFont.lfHeight));
    }
    LOGFONTA logFont{};
    GetObjectA(font, sizeof(logFont), &logFont);
    return std::abs(static_cast<int>(logFont.lfHeight));
}

} // namespace

TEST_F(FilterWindowTest, MovedToAnotherScaleTakesTheSuggestedRectangleAndMeasuresAgain) {
    CFilterWnd* window = OpenAndWait(Record("swap", 2, true));
    ASSERT_NE(window, nullptr);
    const HWND hwnd = window->GetHwnd();
    const int height96 = StatusFontHeight(hwnd);
    ASSERT_EQ(StatusParts(hwnd), ComputeStatusbarEdges(0, false, 96));

    const struct {
        int dpi;
        RECT suggested;
        int scale; // percent of the 96-dpi font
    } steps[] = {
        {144, {420, 60, 870, 450}, 150},  {192, {430, 70, 1030, 590}, 200},
        {0, {440, 80, 740, 340}, 100},    // nothing from the system: 96
        {9999, {450, 90, 750, 350}, 100}, // absurd: 96
        {96, {400, 40, 700, 300}, 100},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.dpi);
        SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi),
                     reinterpret_cast<LPARAM>(&step.suggested));
        EXPECT_EQ(WindowRectOf(hwnd), (IntRect{step.suggested.left, step.suggested.top,
                                               step.suggested.right, step.suggested.bottom}));
        const int usable = step.dpi == 144 || step.dpi == 192 ? step.dpi : 96;
        EXPECT_EQ(StatusParts(hwnd), ComputeStatusbarEdges(0, false, usable));
        EXPECT_EQ(StatusFontHeight(hwnd), MulDiv(height96, step.scale, 100));
        // The bar still sits at the bottom of the new client area.
        RECT client{};
        RECT bar{};
        GetClientRect(hwnd, &client);
        GetWindowRect(GetDlgItem(hwnd, CFilterWnd::kStatusbarId), &bar);
        POINT bottom{bar.right, bar.bottom};
        ScreenToClient(hwnd, &bottom);
        EXPECT_EQ(bottom.y, client.bottom);
    }
    // The window still shows the filtered screen and names its colour.
    EXPECT_TRUE(PumpUntil([&] { return !StatusText(hwnd, 0).empty(); }, kTimeoutMs));
}

} // namespace filter_wnd_test
