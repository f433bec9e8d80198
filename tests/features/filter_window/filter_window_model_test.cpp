#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/color_info.h"
#include "engine/image/look_alike.h"
#include "engine/image/synthetic_screen_source.h"
#include "features/filter_window/filter_window_model.h"
#include "features/filter_window/recording_host.h"
#include "features/filter_window/window_refresh.h"
#include "support/manual_clock.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

class FilterWindowModelTest : public ::testing::Test {
protected:
    FilterWindowModelTest() {
        for (const char* id : {"swap", "Other"}) {
            EXPECT_TRUE(AddColorMap(m, id, SwapRedBlueMap(), std::string("Display ") + id)
                            ->BuildTable(m.GetImageQuality()));
        }
        AddSequence(m, "seq", {{"swap", 300}, {"_normal", 200}}, 0, "Sequence");
        EnableOnly(m, {"_normal", "swap", "seq", "Other"});
        screen.SetFrame(256, 256, CoordinateFrame(256, 256));
        options.updateInterval = 100;
    }

    CFilter* F(const char* id) const { return m.FindFilter(id); }

    // The window's refresh ticks come from a refresh of its own; an earlier window leaves it.
    CFilterWindowModel* Open(const CWindowSetting& setting, bool leftTop = false) {
        options.leftTopOrigin = leftTop;
        if (window) {
            refresh.Remove(*window);
        }
        window = std::make_unique<CFilterWindowModel>(host, screen, m, options);
        window->Load(setting);
        window->Start();
        refresh.Add(*window);
        return window.get();
    }
    void Tick() { refresh.Tick(); }

    static CWindowSetting Record(const char* filter, int zoom, bool mark) {
        CWindowSetting s;
        s.FilterID = filter;
        s.Zoom = zoom;
        s.MarkCenter = mark;
        return s;
    }

    CFilterManager m;
    ManualClock clock{0xFFFFFF00u};
    RecordingHost host;
    CSyntheticScreenSource screen;
    FilterWindowOptions options;
    CWindowRefresh refresh{screen};
    std::unique_ptr<CFilterWindowModel> window;
};

TEST_F(FilterWindowModelTest, RecordsNamingNoEnabledFilterStartOnTheFirstAndZoomsStayInRange) {
    for (const char* id : {"missing", "SWAP", "", "other"}) {
        CFilterWindowModel* model = Open(Record(id, 1, false));
        EXPECT_EQ(model->GetFilterStatus().GetSelectedIndex(), 0) << id;
        EXPECT_EQ(host.title, "normal - Zeziriv") << id;
        EXPECT_EQ(model->GetWindowSetting({}).FilterID, "_normal") << id;
    }
    CFilterWindowModel* exact = Open(Record("Other", 1, false));
    EXPECT_EQ(exact->GetFilterStatus().GetSelectedIndex(), 3);

    // A zoom outside the range, from a record built in code or a command, changes nothing.
    CFilterWindowModel* model = Open(Record("swap", 99, false));
    EXPECT_EQ(model->GetZoom(), 1);
    for (int zoom : {4, 21, -4, 1000, -1000}) {
        model->SetZoom(zoom);
        EXPECT_EQ(model->GetZoom(), 4);
    }
}

TEST_F(FilterWindowModelTest, CapturesOnTheUpdateIntervalAcrossTheTickWrap) {
    CFilterWindowModel* model = Open(Record("swap", 1, true));
    const std::uint32_t started = model->GetLastCaptureTime();
    host.cursor = {150, 90};
    // 50 ms ticks, 100 ms interval: every second tick captures; the clock wraps on the way.
    std::vector<int> capturedAt;
    for (int tick = 1; tick <= 12; ++tick) {
        clock.Advance(50);
        const std::uint32_t before = model->GetLastCaptureTime();
        Tick();
        if (model->GetLastCaptureTime() != before) {
            capturedAt.push_back(tick);
        }
    }
    EXPECT_EQ(capturedAt, (std::vector<int>{2, 4, 6, 8, 10, 12}));
    EXPECT_NE(model->GetLastCaptureTime(), started);
    EXPECT_EQ(model->GetOriginalColor(), MakeColor(150, 90, 7));

    // A recapture request (resize, zoom, status bar) captures at the next tick.
    model->SetZoom(2);
    clock.Advance(1);
    Tick();
    EXPECT_EQ(model->GetLastCaptureTime(), clock.Now());
    EXPECT_EQ(model->GetCaptureImage().GetWidth(), 20);

    // An interval of 0 captures on every tick.
    options.updateInterval = 0;
    clock.Advance(1);
    Tick();
    EXPECT_EQ(model->GetLastCaptureTime(), clock.Now());
}

TEST_F(FilterWindowModelTest, FailedCaptureKeepsThePictureAndRetriesNextTick) {
    CFilterWindowModel* model = Open(Record("swap", 1, true));
    const ColorValue filtered = model->GetFilteredColor();
    const std::uint32_t captured = model->GetLastCaptureTime();
    screen.SetFailCopies(true);
    host.cursor = {10, 10};
    clock.Advance(100);
    const int invalidations = host.invalidations;
    Tick();
    EXPECT_EQ(model->GetLastCaptureTime(), captured);
    EXPECT_EQ(model->GetFilteredColor(), filtered) << "the last picture stays";
    EXPECT_EQ(host.invalidations, invalidations);

    screen.SetFailCopies(false);
    clock.Advance(50);
    Tick();
    EXPECT_EQ(model->GetLastCaptureTime(), clock.Now()) << "retried without waiting again";
    EXPECT_EQ(model->GetOriginalColor(), MakeColor(10, 10, 7));
}

TEST_F(FilterWindowModelTest, StatusBarWritesOnlyWhatChanged) {
    CFilterWindowModel* model = Open(Record("swap", 4, true));
    host.writes.clear();
    clock.Advance(100);
    Tick();
    EXPECT_TRUE(host.writes.empty()) << "same colour, point and zoom";

    host.cursor = {160, 60}; // another colour and another point
    clock.Advance(100);
    Tick();
    EXPECT_EQ(host.writes, (std::vector<int>{0, 1, 3}));

    host.writes.clear();
    model->SetZoom(8);
    clock.Advance(1);
    Tick();
    EXPECT_EQ(host.writes, (std::vector<int>{2}));
    EXPECT_EQ(host.parts[2], "x8");

    // Turning the mark off empties colour, point and name; the zoom part stays.
    host.writes.clear();
    model->SetMarkCenter(false);
    model->UpdateStatusbar();
    EXPECT_EQ(host.writes, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(host.parts, (std::map<int, std::string>{{0, ""}, {1, ""}, {2, "x8"}, {3, ""}}));

    // Minimised or without a status bar nothing is written.
    host.writes.clear();
    model->ResetShownValues();
    host.minimized = true;
    model->UpdateStatusbar();
    host.minimized = false;
    model->SetShowStatusbarFlag(false);
    model->UpdateStatusbar();
    EXPECT_TRUE(host.writes.empty());
}

TEST_F(FilterWindowModelTest, ShiftAndTheProfileChooseOriginalOrFiltered) {
    CFilterWindowModel* model = Open(Record("swap", 1, true));
    const ColorValue original = model->GetOriginalColor();
    const ColorValue filtered = model->GetFilteredColor();
    ASSERT_NE(original, filtered);
    EXPECT_EQ(host.parts[0], ColorValueText(filtered, 0));

    host.shift = true;
    clock.Advance(100);
    Tick();
    EXPECT_EQ(host.parts[0], ColorValueText(original, 0));

    options.showOriginalColorInfo = true;
    clock.Advance(100);
    Tick();
    EXPECT_EQ(host.parts[0], ColorValueText(filtered, 0));
    host.shift = false;
    clock.Advance(100);
    Tick();
    EXPECT_EQ(host.parts[0], ColorValueText(original, 0));
}

TEST_F(FilterWindowModelTest, LeftTopOriginReportsTheFirstPixel) {
    CFilterWindowModel* model = Open(Record("_normal", 4, true), true);
    EXPECT_EQ(model->GetOriginalColor(), MakeColor(100, 60, 7));
    EXPECT_EQ(model->GetCaptureImage().GetTopLeftColor(true), MakeColor(100, 60, 7));
    EXPECT_EQ(host.parts[1], "100, 60");
}

// The picture and the status bar keeping a fixed point while the cursor moves, and following
// the cursor again, are dragged in the window's input test; here the key's point and the record.
TEST_F(FilterWindowModelTest, FixedPointIsTheCursorsAndTheRecordKeepsItOnlyWhileFixed) {
    CWindowSetting fixed = Record("_normal", 1, true);
    fixed.SetFixedPoint(true, {5, 6});
    CFilterWindowModel* model = Open(fixed);
    EXPECT_EQ(model->GetReferencePoint(), (IntPoint{5, 6}));
    model->SetFixPosition(false);
    EXPECT_EQ(model->GetWindowSetting({}).FixedPoint, (IntPoint{0, 0}));
    host.cursor = {30, 40};
    model->SetFixPosition(true);
    EXPECT_EQ(model->GetFixedPoint(), (IntPoint{30, 40}));
}

TEST_F(FilterWindowModelTest, ReferenceFilterLoopsThroughItsMembers) {
    CFilterWindowModel* model = Open(Record("seq", 1, true));
    EXPECT_EQ(host.title, "Sequence - Zeziriv");
    const ColorValue original = model->GetOriginalColor();
    const ColorValue swapped = F("swap")->Transform(original);
    EXPECT_EQ(model->GetFilteredColor(), swapped) << "the first member shows at once";

    // Members of 300 and 200 ms on 50 ms ticks, looping for as long as the window is open; over
    // a still screen only the steps repaint.
    std::vector<ColorValue> shown;
    const int invalidations = host.invalidations;
    for (int tick = 0; tick < 30; ++tick) {
        clock.Advance(50);
        Tick();
        if (shown.empty() || shown.back() != model->GetFilteredColor()) {
            shown.push_back(model->GetFilteredColor());
        }
    }
    EXPECT_EQ(shown, (std::vector<ColorValue>{swapped, original, swapped, original, swapped,
                                              original, swapped}));
    EXPECT_EQ(host.invalidations - invalidations, 6);
    EXPECT_EQ(model->GetWindowSetting({}).FilterID, "seq") << "the record names the sequence";
}

TEST_F(FilterWindowModelTest, MenuSelectionSkipsTheCurrentFilterKeySelectionRestarts) {
    CFilterWindowModel* model = Open(Record("seq", 1, true));
    clock.Advance(300);
    Tick();
    ASSERT_EQ(model->GetFilterStatus().GetShownFilter(), F("_normal"));

    model->SelectFilter(2); // already selected: nothing restarts
    EXPECT_EQ(model->GetFilterStatus().GetShownFilter(), F("_normal"));
    model->ReselectFilter(2); // a key always restarts from the first member
    EXPECT_EQ(model->GetFilterStatus().GetShownFilter(), F("swap"));

    // Positions without a filter are the key table's and the window's menu test's.
    model->ReselectFilter(-1);
    EXPECT_EQ(model->GetFilterStatus().GetShownFilter(), F("swap"));
}

TEST_F(FilterWindowModelTest, MinimisedWindowsNeitherCaptureNorCrash) {
    CFilterWindowModel* model = Open(Record("swap", 1, true));
    host.minimized = true;
    const std::uint32_t captured = model->GetLastCaptureTime();
    for (int tick = 0; tick < 5; ++tick) {
        clock.Advance(100);
        Tick();
    }
    EXPECT_EQ(model->GetLastCaptureTime(), captured);
    host.minimized = false;
    host.area = {0, 0}; // sized down to nothing
    clock.Advance(100);
    Tick();
    EXPECT_TRUE(model->GetCaptureImage().IsEmpty());
    host.area = {1, 1};
    clock.Advance(100);
    Tick();
    EXPECT_EQ(model->GetCaptureImage().GetWidth(), 1);
}

TEST_F(FilterWindowModelTest, RecordReflectsTheWindowState) {
    CWindowSetting s = Record("Other", 6, true);
    s.Topmost = true;
    s.ShowStatusbar = false;
    s.SetFixedPoint(true, {7, 8});
    CFilterWindowModel* model = Open(s);
    const IntRect rect{10, 20, 250, 200};
    const CWindowSetting back = model->GetWindowSetting(rect);
    EXPECT_EQ(FormatSetting(back), "6,1,1,1,7,8,0,10,20,240,180,Other");
}

} // namespace

namespace {

// Every display pixel against the rule, for the filtered colours `filtered` gives each
// original colour; returns the share in percent that the status bar must show.
int ExpectHighlighted(const CCaptureImage& image,
                      const std::function<ColorValue(ColorValue)>& filtered) {
    const int w = image.GetWidth();
    const int h = image.GetHeight();
    auto at = [&](const unsigned char* pixels, int x, int y) {
        const unsigned char* p = pixels + y * image.GetStride() + x * 3;
        return MakeColor(p[2], p[1], p[0]);
    };
    const ColorValue reference = filtered(at(image.GetOriginalPixels(), (w - 1) / 2, (h - 1) / 2));
    std::size_t alike = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const ColorValue c = filtered(at(image.GetOriginalPixels(), x, y));
            const bool isAlike = IsLookAlike(reference, c, kDefaultLookAlikeDistance);
            alike += isAlike;
            EXPECT_EQ(at(image.GetDisplayPixels(), x, y), isAlike ? c : DimColor(c))
                << x << "," << y;
        }
    }
    EXPECT_GT(alike, 0u);
    EXPECT_LT(alike, static_cast<std::size_t>(w) * h);
    return LookAlikePercent(alike, static_cast<std::size_t>(w) * h);
}

} // namespace

// A window that starts with the last choice highlights the look-alikes of its reference pixel,
// tells their share, and takes each member of a reference filter's playback afresh.
TEST_F(FilterWindowModelTest, HighlightingFollowsTheRuleAndEveryPlaybackStep) {
    options.highlightLookAlikes = true;
    options.lookAlikeLabel = "Alike";
    CFilterWindowModel* model = Open(Record("seq", 1, false));
    ASSERT_TRUE(model->IsHighlight());
    const CFilter* swap = F("swap");
    const CImageQuality& quality = m.GetImageQuality();
    const auto throughSwap = [&](ColorValue c) { return swap->GetTable()[quality.ColorIndex(c)]; };
    int percent = ExpectHighlighted(model->GetCaptureImage(), throughSwap);
    EXPECT_EQ(host.parts[3], "Alike " + std::to_string(percent) + "%");

    clock.Advance(300); // the identity's turn: its colours are the original pixels
    Tick();
    percent = ExpectHighlighted(model->GetCaptureImage(), [](ColorValue c) { return c; });
    EXPECT_EQ(host.parts[3], "Alike " + std::to_string(percent) + "%");

    // The mark adds the colour's name before the share; off, the name part is empty again.
    model->SetMarkCenter(true);
    clock.Advance(100);
    Tick();
    EXPECT_NE(host.parts[3].find("  Alike "), std::string::npos) << host.parts[3];
    model->SetHighlight(false);
    model->SetMarkCenter(false);
    clock.Advance(100);
    Tick();
    EXPECT_EQ(host.parts[3], "");
}

// A window sized down to no picture shows none: no share of the last picture stays on its bar.
TEST_F(FilterWindowModelTest, AnEmptyPictureShowsNoLookAlikes) {
    options.highlightLookAlikes = true;
    options.lookAlikeLabel = "Alike";
    Open(Record("swap", 1, false));
    ASSERT_NE(host.parts[3], "Alike 0%");
    host.area = {0, 0};
    clock.Advance(100);
    Tick();
    EXPECT_EQ(host.parts[3], "Alike 0%");
}
