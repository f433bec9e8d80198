// The refresh of several windows from one tick over a synthetic screen: who is due, one copy a
// tick, and nothing redone when nothing changed.
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/synthetic_screen_source.h"
#include "features/filter_window/filter_window_model.h"
#include "features/filter_window/recording_host.h"
#include "features/filter_window/window_refresh.h"
#include "support/manual_clock.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every lattice colour to the grey of its mean: a projection, as the dichromacy filters are.
ColorMap GreyMap() {
    ColorMap map{};
    int next = 0;
    for (unsigned r = 0; r < 6; ++r) {
        for (unsigned g = 0; g < 6; ++g) {
            for (unsigned b = 0; b < 6; ++b) {
                const unsigned grey = 51 * (r + g + b) / 3;
                map[next++] = MakeColor(grey, grey, grey);
            }
        }
    }
    return map;
}

// A window: its host, its own options and its model.
struct TestWindow {
    RecordingHost host;
    FilterWindowOptions options;
    std::unique_ptr<CFilterWindowModel> model;
};

class WindowRefreshTest : public ::testing::Test {
protected:
    WindowRefreshTest() {
        EXPECT_TRUE(AddColorMap(m, "swap", SwapRedBlueMap())->BuildTable(m.GetImageQuality()));
        EXPECT_TRUE(AddColorMap(m, "grey", GreyMap())->BuildTable(m.GetImageQuality()));
        AddSequence(m, "seq", {{"swap", 300}, {"_normal", 200}});
        EnableOnly(m, {"_normal", "swap", "seq", "grey"});
        screen.SetFrame(256, 256, CoordinateFrame(256, 256));
    }

    TestWindow& Open(const char* filter, IntPoint cursor, std::uint32_t interval = 100) {
        auto window = std::make_unique<TestWindow>();
        window->host.cursor = cursor;
        window->options.updateInterval = interval;
        window->model =
            std::make_unique<CFilterWindowModel>(window->host, screen, m, window->options);
        CWindowSetting setting;
        setting.FilterID = filter;
        setting.Zoom = 1;
        setting.MarkCenter = true;
        window->model->Load(setting);
        window->model->Start();
        refresh.Add(*window->model);
        windows.push_back(std::move(window));
        return *windows.back();
    }
    void Close(TestWindow& window) {
        refresh.Remove(*window.model);
        window.model.reset();
    }

    CFilterManager m;
    ManualClock clock{0xFFFFFF00u};
    CSyntheticScreenSource screen;
    CWindowRefresh refresh{screen};
    std::vector<std::unique_ptr<TestWindow>> windows;
};

TEST_F(WindowRefreshTest, EachWindowByItsOwnIntervalAcrossTheWrapWithOneCopyATick) {
    // Overlapping areas: one copy serves every due window.
    TestWindow& a = Open("swap", {100, 60}, 100);
    TestWindow& b = Open("grey", {110, 70}, 150);
    TestWindow& c = Open("_normal", {120, 60}, 250);
    TestWindow& minimised = Open("swap", {100, 60}, 50);
    minimised.host.minimized = true;
    std::map<const TestWindow*, std::vector<int>> captured;
    std::vector<int> copyTicks;
    for (int tick = 1; tick <= 12; ++tick) {
        clock.Advance(50);
        std::map<const TestWindow*, std::uint32_t> before;
        for (const auto& w : windows) {
            before[w.get()] = w->model->GetLastCaptureTime();
        }
        const int copies = screen.GetCopyCount();
        refresh.Tick();
        for (const auto& w : windows) {
            if (w->model->GetLastCaptureTime() != before[w.get()]) {
                captured[w.get()].push_back(tick);
            }
        }
        EXPECT_LE(screen.GetCopyCount() - copies, 1) << tick;
        if (screen.GetCopyCount() != copies) {
            copyTicks.push_back(tick);
        }
    }
    EXPECT_EQ(captured[&a], (std::vector<int>{2, 4, 6, 8, 10, 12}));
    EXPECT_EQ(captured[&b], (std::vector<int>{3, 6, 9, 12}));
    EXPECT_EQ(captured[&c], (std::vector<int>{5, 10}));
    EXPECT_TRUE(captured[&minimised].empty());
    EXPECT_EQ(copyTicks, (std::vector<int>{2, 3, 4, 5, 6, 8, 9, 10, 12}));
    EXPECT_EQ(refresh.GetCopyCount(), 9);
}

// After a settled tick, one change at a time: what must be redone is, and nothing else is.
TEST_F(WindowRefreshTest, OnlyNewPixelsFilterPlaybackStepOrShiftAreRedone) {
    struct Case {
        const char* what;
        const char* filter;
        std::function<void(TestWindow&)> change;
        bool picture;              // repainted (table, blur, painting, status bar)
        bool status;               // the status bar's texts written
        bool highlighting = false; // look-alikes highlighted from the start
    };
    const Case cases[] = {
        {"nothing", "swap", [](TestWindow&) {}, false, false},
        {"one pixel in the area", "swap",
         [this](TestWindow&) { screen.SetPixel(90, 50, 0x010203); }, true, false},
        {"the reference pixel", "swap", [this](TestWindow&) { screen.SetPixel(100, 60, 0x010203); },
         true, true},
        {"one pixel just outside the area", "swap",
         [this](TestWindow&) { screen.SetPixel(79, 50, 0x010203); }, false, false},
        {"the filter gone from the enabled list", "swap",
         [this](TestWindow&) {
             EnableOnly(m, {"_normal", "grey"});
         },
         true, true},
        {"Shift", "swap", [](TestWindow& w) { w.host.shift = true; }, false, true},
        {"a playback step", "seq", [this](TestWindow&) { clock.Advance(100); }, true, true},
        {"a playback step not yet", "seq", [](TestWindow&) {}, false, false},
        {"the blur radius", "swap", [](TestWindow& w) { w.options.blurRadius = 1; }, true, false},
        {"the mark", "swap", [](TestWindow& w) { w.model->SetMarkCenter(false); }, true, true},
        {"highlighting on", "grey", [](TestWindow& w) { w.model->SetHighlight(true); }, true, true},
        {"highlighting off", "grey", [](TestWindow& w) { w.model->SetHighlight(false); }, true,
         true, true},
        {"nothing, highlighting", "grey", [](TestWindow&) {}, false, false, true},
        {"Shift, highlighting", "grey", [](TestWindow& w) { w.host.shift = true; }, false, true,
         true},
        {"the distance, highlighting", "grey",
         [](TestWindow& w) { w.options.lookAlikeDistance = 40; }, true, true, true},
        {"the distance, not highlighting", "grey",
         [](TestWindow& w) { w.options.lookAlikeDistance = 40; }, false, false},
        {"the reference pixel, highlighting", "grey",
         [this](TestWindow&) { screen.SetPixel(100, 60, 0xFFFFFF); }, true, true, true},
        {"minimised", "swap",
         [this](TestWindow& w) {
             w.host.minimized = true;
             screen.SetPixel(100, 60, 0x010203);
         },
         false, false},
    };
    for (const Case& c : cases) {
        screen.SetFrame(256, 256, CoordinateFrame(256, 256));
        EnableOnly(m, {"_normal", "swap", "seq", "grey"});
        TestWindow& w = Open(c.filter, {100, 60});
        w.model->SetHighlight(c.highlighting);
        clock.Advance(100);
        refresh.Tick();
        const int invalidations = w.host.invalidations;
        const std::size_t writes = w.host.writes.size();
        c.change(w);
        clock.Advance(100);
        refresh.Tick();
        EXPECT_EQ(w.host.invalidations != invalidations, c.picture) << c.what;
        EXPECT_EQ(w.host.writes.size() != writes, c.status) << c.what;
        Close(w);
    }
}

TEST_F(WindowRefreshTest, WindowsJoiningAndClosingDuringATick) {
    TestWindow& first = Open("swap", {100, 60});
    TestWindow& second = Open("swap", {100, 60});
    TestWindow* joined = nullptr;
    // Painting the first window closes the second and opens another, as a handler might.
    first.host.onInvalidate = [&] {
        if (joined == nullptr) {
            Close(second);
            joined = &Open("grey", {100, 60});
        }
    };
    screen.SetPixel(100, 60, 0x010203);
    clock.Advance(100);
    refresh.Tick();
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(second.host.invalidations, 1) << "only its first picture";
    const std::uint32_t joinedAt = joined->model->GetLastCaptureTime();
    EXPECT_EQ(refresh.GetCount(), 2u);

    screen.SetPixel(100, 60, 0x040506);
    clock.Advance(100);
    refresh.Tick();
    EXPECT_NE(joined->model->GetLastCaptureTime(), joinedAt) << "it takes part from the next tick";
    EXPECT_EQ(joined->host.invalidations, 2);
}

// Windows that show themselves or each other, with their pictures put back on the screen as
// the system does. Through a projection the loop settles and nothing more is redone: within two
// captures when a window shows exactly itself, after about a picture's width of ticks when what it
// shows is one pixel off (the outside comes in a pixel a tick). Through a filter that is its own
// inverse a window showing itself alternates at every capture, as a camera filming its screen.
TEST_F(WindowRefreshTest, WindowsShowingThemselvesSettleThroughProjections) {
    struct Case {
        const char* filter;
        bool pair; // two windows, each showing the other; else one showing itself
        int offset;
        int settledBy; // the last tick that repaints; 0: never settles
    };
    for (const Case& c : {Case{"grey", false, 0, 2}, Case{"grey", false, 1, 45},
                          Case{"grey", true, 1, 45}, Case{"swap", false, 0, 0}}) {
        screen.SetFrame(256, 256, CoordinateFrame(256, 256));
        // A 40 x 30 capture around (x, 45) starts at (x - 19, 31).
        TestWindow& left = Open(c.filter, {150, 45});
        TestWindow& right = Open(c.filter, {50, 45});
        const auto putBack = [&](TestWindow& w, int x0) {
            const CCaptureImage& image = w.model->GetCaptureImage();
            for (int y = 0; y < image.GetHeight(); ++y) {
                for (int x = 0; x < image.GetWidth(); ++x) {
                    const unsigned char* p =
                        image.GetDisplayPixels() + y * image.GetStride() + x * 3;
                    screen.SetPixel(x0 + x, 31 + y, MakeColor(p[2], p[1], p[0]));
                }
            }
        };
        int lastRepaint = 0;
        for (int tick = 1; tick <= 60; ++tick) {
            putBack(left, (c.pair ? 31 : 131) + c.offset);
            putBack(right, (c.pair ? 131 : 31) + c.offset);
            const int before = left.host.invalidations + right.host.invalidations;
            clock.Advance(100);
            refresh.Tick();
            if (left.host.invalidations + right.host.invalidations != before) {
                lastRepaint = tick;
            }
        }
        if (c.settledBy == 0) {
            EXPECT_EQ(lastRepaint, 60) << c.filter << " alternates";
        } else {
            EXPECT_LE(lastRepaint, c.settledBy)
                << c.filter << " settled, pair " << c.pair << ", offset " << c.offset;
        }
        Close(left);
        Close(right);
    }
}

} // namespace
