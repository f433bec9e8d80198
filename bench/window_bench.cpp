// One refresh of a filter window beside a memcpy of the pixels it shows: the capture from the
// screen source, the lattice index, the colour table, the blur and the status bar texts; and one
// tick of the refresh of many windows over a screen that does not change.
#include "app/app_profile.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/synthetic_screen_source.h"
#include "features/filter_window/filter_window_model.h"
#include "features/filter_window/window_refresh.h"
#include "platform/tick_count.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr PixelSize kPictureArea{400, 300};

// Flat panels, gradients and grain, as a desktop has.
std::vector<ColorValue> DesktopLikeScreen() {
    std::vector<ColorValue> colors(static_cast<std::size_t>(kScreenWidth) * kScreenHeight);
    unsigned grain = 12345;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            grain = grain * 1103515245u + 12345u;
            ColorValue c;
            switch ((x / 160 + y / 90) % 3) {
            case 0:
                c = MakeColor(x * 255 / kScreenWidth, y * 255 / kScreenHeight, 128);
                break;
            case 1:
                c = MakeColor((x / 3 + (grain >> 16)) & 0xFF, (y / 2 + (grain >> 20)) & 0xFF,
                              ((x + y) / 5) & 0xFF);
                break;
            default:
                c = MakeColor(240, 240, 236);
                break;
            }
            colors[static_cast<std::size_t>(y) * kScreenWidth + x] = c;
        }
    }
    return colors;
}

class BenchHost : public IFilterWindowHost {
public:
    bool IsMinimized() const override { return false; }
    bool GetCursorPosition(IntPoint& point) const override {
        point = cursor;
        return true;
    }
    IntPoint cursor{kScreenWidth / 2, kScreenHeight / 2};
    PixelSize GetPictureArea() const override { return kPictureArea; }
    bool IsShiftDown() const override { return false; }
    void SetStatusText(int, const std::string& text) override { benchmark::DoNotOptimize(text); }
    void InvalidatePicture() override {}
    void SetTitle(const std::string&) override {}
};

CFilter* ProtanLikeFilter() {
    CFilterManager& manager = GetFilterManager();
    if (CFilter* existing = manager.FindFilter("bench_protan")) {
        return existing;
    }
    ColorMap map{};
    int next = 0;
    for (unsigned r = 0; r < 6; ++r) {
        for (unsigned g = 0; g < 6; ++g) {
            for (unsigned b = 0; b < 6; ++b) {
                const unsigned mixed = (r * 29 + g * 71) / 20;
                map[next++] = MakeColor(51 * (mixed % 6), 51 * (mixed % 6), 51 * b);
            }
        }
    }
    auto filter = std::make_unique<CFilter>("bench_protan", "Protan", map);
    filter->BuildTable(manager.GetImageQuality());
    CFilter* raw = filter.get();
    manager.AddFilter(std::move(filter));
    return raw;
}

const CFilterManager& BenchFilters() {
    CFilter* filter = ProtanLikeFilter();
    CFilterManager& manager = GetFilterManager();
    manager.GetEnabledList() = {filter, manager.GetNormalFilter()};
    return manager;
}

CWindowSetting BenchSetting(int zoom) {
    CWindowSetting setting;
    setting.FilterID = "bench_protan";
    setting.Zoom = zoom;
    setting.MarkCenter = true;
    return setting;
}

// args: zoom, blur radius. Every iteration is a tick on which a capture is due and the pointer
// has moved one pixel, so everything is redone.
void BM_WindowRefresh(benchmark::State& state) {
    CSyntheticScreenSource screen;
    screen.SetFrame(kScreenWidth, kScreenHeight, DesktopLikeScreen());
    const CFilterManager& manager = BenchFilters();

    std::uint32_t now = 1000;
    SetTickSourceForTesting([&now] { return now; });
    FilterWindowOptions options;
    options.blurRadius = static_cast<int>(state.range(1));
    options.updateInterval = 100;
    BenchHost host;
    CFilterWindowModel model(host, screen, manager, options);
    model.Load(BenchSetting(static_cast<int>(state.range(0))));
    model.Start();
    CWindowRefresh refresh(screen);
    refresh.Add(model);

    int step = 0;
    for (auto _ : state) {
        now += 100;
        host.cursor.x = kScreenWidth / 2 + (++step & 1);
        refresh.Tick();
        benchmark::DoNotOptimize(model.GetFilteredColor());
    }
    SetTickSourceForTesting({});
    const CCaptureImage& image = model.GetCaptureImage();
    state.counters["captured_px"] = image.GetWidth() * image.GetHeight();
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(image.GetImageSize()));
}
BENCHMARK(BM_WindowRefresh)
    ->ArgNames({"zoom", "radius"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({4, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMicrosecond);

// The same refresh as BM_WindowRefresh/1/0 with look-alikes highlighted, beside it in the same
// iterations: x_off is the highlighted refresh's time over the plain one's (the median of the
// iterations' ratios). arg walk: 1, each tick moves the pointer along a row, so the reference
// colour and its decisions are new at most ticks (the worst case); 0, the pointer stays and a
// pixel of the picture changes, so the picture is redone with the decisions made.
void BM_WindowRefreshHighlight(benchmark::State& state) {
    const bool walk = state.range(0) != 0;
    CSyntheticScreenSource screen;
    screen.SetFrame(kScreenWidth, kScreenHeight, DesktopLikeScreen());
    const CFilterManager& manager = BenchFilters();
    std::uint32_t now = 1000;
    SetTickSourceForTesting([&now] { return now; });
    FilterWindowOptions plainOptions;
    plainOptions.updateInterval = 100;
    FilterWindowOptions highlightOptions = plainOptions;
    highlightOptions.highlightLookAlikes = true;
    BenchHost plainHost;
    BenchHost highlightHost;
    CFilterWindowModel plain(plainHost, screen, manager, plainOptions);
    CFilterWindowModel highlighted(highlightHost, screen, manager, highlightOptions);
    CWindowRefresh plainRefresh(screen);
    CWindowRefresh highlightRefresh(screen);
    for (auto* m : {&plain, &highlighted}) {
        m->Load(BenchSetting(1));
        m->Start();
    }
    plainRefresh.Add(plain);
    highlightRefresh.Add(highlighted);

    std::vector<double> ratios;
    int step = 0;
    for (auto _ : state) {
        now += 100;
        ++step;
        if (walk) {
            plainHost.cursor.x = highlightHost.cursor.x = kScreenWidth / 4 + (step * 7) % 900;
        } else {
            screen.SetPixel(kScreenWidth / 2 + 50, kScreenHeight / 2 + 20,
                            (step & 1) != 0 ? 0x102030u : 0x302010u);
        }
        const auto t0 = std::chrono::steady_clock::now();
        plainRefresh.Tick();
        const auto t1 = std::chrono::steady_clock::now();
        highlightRefresh.Tick();
        const auto t2 = std::chrono::steady_clock::now();
        const double off = std::chrono::duration<double>(t1 - t0).count();
        const double on = std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(on);
        ratios.push_back(on / off);
        benchmark::DoNotOptimize(highlighted.GetLookAlikePercent());
    }
    SetTickSourceForTesting({});
    std::sort(ratios.begin(), ratios.end());
    state.counters["x_off"] = ratios.empty() ? 0.0 : ratios[ratios.size() / 2];
    state.counters["alike_pct"] = highlighted.GetLookAlikePercent();
}
BENCHMARK(BM_WindowRefreshHighlight)
    ->ArgName("walk")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// args: windows, spread. One tick on which every window is due over a screen that does not
// change: one copy for all, each window comparing its part with its last capture and redoing
// nothing. Windows follow the same pointer, or (spread) are fixed at points spread over the
// screen, which one copy of most of the screen then covers. Compare with
// BM_WindowRefresh/1/0.
void BM_CollectionTickUnchanged(benchmark::State& state) {
    CSyntheticScreenSource screen;
    screen.SetFrame(kScreenWidth, kScreenHeight, DesktopLikeScreen());
    const CFilterManager& manager = BenchFilters();

    std::uint32_t now = 1000;
    SetTickSourceForTesting([&now] { return now; });
    FilterWindowOptions options;
    options.updateInterval = 100;
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<BenchHost>> hosts;
    std::vector<std::unique_ptr<CFilterWindowModel>> models;
    CWindowRefresh refresh(screen);
    for (int i = 0; i < count; ++i) {
        hosts.push_back(std::make_unique<BenchHost>());
        if (state.range(1) != 0) {
            hosts.back()->cursor = {200 + (i % 5) * 380, 150 + (i / 5) * 250};
        }
        models.push_back(
            std::make_unique<CFilterWindowModel>(*hosts.back(), screen, manager, options));
        models.back()->Load(BenchSetting(1));
        models.back()->Start();
        refresh.Add(*models.back());
    }
    for (auto _ : state) {
        now += 100;
        refresh.Tick();
        benchmark::DoNotOptimize(models.back()->GetFilteredColor());
    }
    SetTickSourceForTesting({});
    state.counters["copies"] = static_cast<double>(screen.GetCopyCount()) /
                               static_cast<double>(state.iterations() + count);
}
BENCHMARK(BM_CollectionTickUnchanged)
    ->ArgNames({"windows", "spread"})
    ->Args({1, 0})
    ->Args({20, 0})
    ->Args({20, 1})
    ->Unit(benchmark::kMicrosecond);

// The floor: copying the 400 x 300 picture area's pixels once.
void BM_WindowMemcpy(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(kPictureArea.width) * 3 *
                              static_cast<std::size_t>(kPictureArea.height);
    std::vector<unsigned char> from(bytes, 7);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WindowMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace
