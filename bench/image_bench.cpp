// The pixel pipeline of a capture beside its baselines, at full-HD and 4K: a memcpy of the same
// frame (the memory-bandwidth floor) and the exact per-pixel model without a colour table (what
// every frame would cost without the lattice index), once as written from its definition and
// once as fast as it goes (exact_model.h).
//
// The machines these run on are shared, so the benchmarks that state a ratio (OpenView,
// FilterSwitch, TableVsExact) time the work and its baselines in turn within every iteration
// and report the median of the per-iteration ratios: a burst of load then slows both sides.
// A loaded machine still starves the pixel loops' second worker more than the single-threaded
// memcpy; ZEZIRIV_BENCH_WORKERS=1 runs every pixel loop on the calling thread, for ratios per
// core.
#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"
#include "engine/image/capture_image.h"
#include "engine/image/look_alike.h"
#include "engine/image/pixel_pipeline.h"
#include "engine/image/pixel_workers.h"
#include "engine/image/synthetic_screen_source.h"
#include "exact_model.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

[[maybe_unused]] const bool g_workersFixed = [] {
    const char* workers = std::getenv("ZEZIRIV_BENCH_WORKERS");
    if (workers == nullptr || std::atoi(workers) <= 0) {
        return false;
    }
    SetPixelWorkersForTesting(std::atoi(workers), 0);
    benchmark::AddCustomContext("pixel_workers", workers);
    return true;
}();

std::size_t StrideOf(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

// A desktop-like screen: flat panels, smooth gradients and photo-like areas (smooth colour
// with per-pixel grain).
std::vector<ColorValue> DesktopFrame(int width, int height) {
    std::mt19937 rng(3);
    std::vector<ColorValue> colors(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ColorValue c;
            const int band = (x / 256 + y / 128) % 4;
            if (band == 0) {
                c = MakeColor(x * 255 / width, y * 255 / height, 128);
            } else if (band == 1) {
                const unsigned grain = rng();
                c = MakeColor((x / 3 + (grain & 15)) & 0xFF, (y / 2 + ((grain >> 4) & 15)) & 0xFF,
                              ((x + y) / 5 + ((grain >> 8) & 15)) & 0xFF);
            } else {
                const unsigned tile = static_cast<unsigned>((x / 64) * 31 + (y / 32) * 17);
                c = MakeColor(tile * 53, tile * 97, tile * 29);
            }
            colors[static_cast<std::size_t>(y) * width + x] = c;
        }
    }
    return colors;
}

std::vector<unsigned char> FramePixels(int width, int height, bool noise) {
    std::vector<unsigned char> pixels(StrideOf(width) * height);
    if (noise) {
        std::mt19937 rng(5);
        for (auto& b : pixels) {
            b = static_cast<unsigned char>(rng());
        }
        return pixels;
    }
    const auto colors = DesktopFrame(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ColorValue c = colors[static_cast<std::size_t>(y) * width + x];
            unsigned char* p = &pixels[y * StrideOf(width) + x * 3];
            p[0] = static_cast<unsigned char>(BlueOf(c));
            p[1] = static_cast<unsigned char>(GreenOf(c));
            p[2] = static_cast<unsigned char>(RedOf(c));
        }
    }
    return pixels;
}

// A protanopia filter (Vienot 1999), so that tables and the exact model compute the same thing.
constexpr double kProtan[3][3] = {
    {0.112383, 0.887617, 0.0}, {0.112383, 0.887617, 0.0}, {0.004006, -0.004006, 1.0}};

double Decode(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

unsigned char Encode(float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    const float e = v <= 0.0031308f ? 12.92f * v : 1.055f * std::pow(v, 1.0f / 2.4f) - 0.055f;
    return static_cast<unsigned char>(std::lround(e * 255.0f));
}

ColorMap ProtanMap() {
    ColorMap map{};
    int next = 0;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                const unsigned char in[3] = {static_cast<unsigned char>(51 * b),
                                             static_cast<unsigned char>(51 * g),
                                             static_cast<unsigned char>(51 * r)};
                unsigned char out[3];
                ExactModelReference(kProtan, in, out);
                map[next++] = MakeColor(out[2], out[1], out[0]);
            }
        }
    }
    return map;
}

void SetFrameCounters(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}

int Width(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}
int Height(const benchmark::State& state) {
    return static_cast<int>(state.range(1));
}

void BM_Memcpy(benchmark::State& state) {
    const auto src = FramePixels(Width(state), Height(state), false);
    std::vector<unsigned char> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, src.size());
}

template <class T>
void RunIndexPass(benchmark::State& state, const std::vector<unsigned char>& pixels,
                  const CImageQuality& quality) {
    const int w = Width(state);
    const int h = Height(state);
    std::vector<T> index(static_cast<std::size_t>(w) * h);
    for (auto _ : state) {
        BuildIndexBuffer(pixels.data(), w, h, StrideOf(w), quality, index.data());
        benchmark::DoNotOptimize(index.data());
        benchmark::ClobberMemory();
    }
}

// Original pixels to index buffer; args: width, height, step.
void BM_IndexPass(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(2)));
    const auto pixels = FramePixels(Width(state), Height(state), false);
    if (quality.IsIndex16Bit()) {
        RunIndexPass<std::uint16_t>(state, pixels, quality);
    } else {
        RunIndexPass<std::uint32_t>(state, pixels, quality);
    }
    SetFrameCounters(state, pixels.size());
}

// ApplyFilter of a captured frame; args: width, height, step, noise (1: every pixel random,
// the worst case for the table's cache footprint).
void BM_ApplyFilter(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(2)));
    const int w = Width(state);
    const int h = Height(state);
    CSyntheticScreenSource screen;
    const auto pixels = FramePixels(w, h, state.range(3) != 0);
    std::vector<ColorValue> colors(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = &pixels[y * StrideOf(w) + x * 3];
            colors[static_cast<std::size_t>(y) * w + x] = MakeColor(p[2], p[1], p[0]);
        }
    }
    screen.SetFrame(w, h, std::move(colors));
    CFilter filter("protan", "protan", ProtanMap());
    filter.BuildTable(quality);
    CCaptureImage image(screen, quality);
    image.Capture(0, 0, w, h);
    for (auto _ : state) {
        image.ApplyFilter(&filter);
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, image.GetImageSize());
}

// args: width, height, radius.
void BM_Blur(benchmark::State& state) {
    const int w = Width(state);
    const int h = Height(state);
    const auto frame = FramePixels(w, h, false);
    auto pixels = frame;
    for (auto _ : state) {
        BlurPixels(pixels.data(), w, h, StrideOf(w), static_cast<int>(state.range(2)));
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, frame.size());
}

// The whole filter path of a new screen copy: index pass, then the table; args as IndexPass.
template <class T>
void RunTablePath(benchmark::State& state, const std::vector<unsigned char>& pixels,
                  const CImageQuality& quality, const ColorValue* table) {
    const int w = Width(state);
    const int h = Height(state);
    std::vector<T> index(static_cast<std::size_t>(w) * h);
    std::vector<unsigned char> display(pixels.size());
    for (auto _ : state) {
        BuildIndexBuffer(pixels.data(), w, h, StrideOf(w), quality, index.data());
        ApplyColorTable(index.data(), table, w, h, StrideOf(w), display.data());
        benchmark::ClobberMemory();
    }
}

void BM_TablePath(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(2)));
    const auto pixels = FramePixels(Width(state), Height(state), false);
    CFilter filter("protan", "protan", ProtanMap());
    filter.BuildTable(quality);
    if (quality.IsIndex16Bit()) {
        RunTablePath<std::uint16_t>(state, pixels, quality, filter.GetTable());
    } else {
        RunTablePath<std::uint32_t>(state, pixels, quality, filter.GetTable());
    }
    SetFrameCounters(state, pixels.size());
}

// Every pixel through the model as written from its definition: decode by table, the 3x3
// matrix in float, and pow for each of the three encodes. Single-threaded.
void BM_ExactModelPow(benchmark::State& state) {
    const int w = Width(state);
    const int h = Height(state);
    const auto pixels = FramePixels(w, h, false);
    std::vector<unsigned char> display(pixels.size());
    float decode[256];
    for (int i = 0; i < 256; ++i) {
        decode[i] = static_cast<float>(Decode(i / 255.0));
    }
    float m[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m[i][j] = static_cast<float>(kProtan[i][j]);
        }
    }
    for (auto _ : state) {
        for (int y = 0; y < h; ++y) {
            const unsigned char* in = &pixels[y * StrideOf(w)];
            unsigned char* out = &display[y * StrideOf(w)];
            for (int x = 0; x < w; ++x, in += 3, out += 3) {
                const float r = decode[in[2]];
                const float g = decode[in[1]];
                const float b = decode[in[0]];
                out[2] = Encode(m[0][0] * r + m[0][1] * g + m[0][2] * b);
                out[1] = Encode(m[1][0] * r + m[1][1] * g + m[1][2] * b);
                out[0] = Encode(m[2][0] * r + m[2][1] * g + m[2][2] * b);
            }
        }
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, pixels.size());
}

// The fastest exact model; args: width, height, noise.
void BM_ExactModel(benchmark::State& state) {
    const int w = Width(state);
    const int h = Height(state);
    const auto pixels = FramePixels(w, h, state.range(2) != 0);
    std::vector<unsigned char> display(pixels.size());
    const CExactModel model(kProtan);
    for (auto _ : state) {
        model.Apply(pixels.data(), w, h, StrideOf(w), display.data());
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, pixels.size());
}

// The buffers of one captured frame: original pixels, index at the quality, display.
struct CapturedFrame {
    CImageQuality quality;
    int width;
    int height;
    std::size_t stride;
    std::vector<unsigned char> original;
    std::vector<std::uint16_t> index16;
    std::vector<std::uint32_t> index32;
    std::vector<unsigned char> display;
    std::vector<unsigned char> copy; // the memcpy baseline's destination

    CapturedFrame(const CImageQuality& q, int w, int h, bool noise)
        : quality(q), width(w), height(h), stride(StrideOf(w)), original(FramePixels(w, h, noise)),
          display(original.size()), copy(original.size()) {
        const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
        if (quality.IsIndex16Bit()) {
            index16.resize(count);
        } else {
            index32.resize(count);
        }
        BuildIndex();
    }
    void BuildIndex() {
        if (!index16.empty()) {
            BuildIndexBuffer(original.data(), width, height, stride, quality, index16.data());
        } else {
            BuildIndexBuffer(original.data(), width, height, stride, quality, index32.data());
        }
    }
    void Apply(const ColorValue* table) {
        if (!index16.empty()) {
            ApplyColorTable(index16.data(), table, width, height, stride, display.data());
        } else {
            ApplyColorTable(index32.data(), table, width, height, stride, display.data());
        }
    }
    void Blur(int radius) { BlurPixels(display.data(), width, height, stride, radius); }
    void Memcpy() {
        std::memcpy(copy.data(), original.data(), original.size());
        benchmark::DoNotOptimize(copy.data());
    }
};

// Runs every step once per iteration, in turn, timing each; the iteration's time is step 0's.
// Returns the median over the iterations of step 0's time divided by each step's.
std::vector<double> RunInterleaved(benchmark::State& state,
                                   const std::vector<std::function<void()>>& steps) {
    std::vector<std::vector<double>> ratios(steps.size());
    std::vector<double> seconds(steps.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            steps[i]();
            benchmark::ClobberMemory();
            seconds[i] =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        state.SetIterationTime(seconds[0]);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            ratios[i].push_back(seconds[0] / seconds[i]);
        }
    }
    std::vector<double> medians;
    for (auto& r : ratios) {
        std::sort(r.begin(), r.end());
        medians.push_back(r.empty() ? 0.0 : r[r.size() / 2]);
    }
    return medians;
}

// Opening a view on a captured frame at the current filter: index pass, table, blur; beside a
// memcpy of the frame. args: width, height, step, blur radius.
void BM_OpenView(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(2)));
    const int radius = static_cast<int>(state.range(3));
    CapturedFrame frame(quality, Width(state), Height(state), false);
    CFilter filter("protan", "protan", ProtanMap());
    filter.BuildTable(quality);
    const auto ratios = RunInterleaved(state, {[&] {
                                                   frame.BuildIndex();
                                                   frame.Apply(filter.GetTable());
                                                   frame.Blur(radius);
                                               },
                                               [&] { frame.Memcpy(); }});
    state.counters["x_memcpy"] = ratios[1];
    SetFrameCounters(state, frame.original.size());
}

// One filter switch on a captured frame: table and blur; beside a memcpy of the frame.
// args: width, height, step, blur radius, noise.
void BM_FilterSwitch(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(2)));
    const int radius = static_cast<int>(state.range(3));
    CapturedFrame frame(quality, Width(state), Height(state), state.range(4) != 0);
    CFilter filter("protan", "protan", ProtanMap());
    filter.BuildTable(quality);
    const auto ratios = RunInterleaved(state, {[&] {
                                                   frame.Apply(filter.GetTable());
                                                   frame.Blur(radius);
                                               },
                                               [&] { frame.Memcpy(); }});
    state.counters["x_memcpy"] = ratios[1];
    SetFrameCounters(state, frame.original.size());
}

// The exact model against the table, both on the pipeline's threads: exact_per_table is how
// many times longer the exact model takes than a filter switch (the table alone), and
// exact_per_capture than a new capture's index pass and table. args: width, height, step,
// noise.
void BM_TableVsExact(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(2)));
    CapturedFrame frame(quality, Width(state), Height(state), state.range(3) != 0);
    CFilter filter("protan", "protan", ProtanMap());
    filter.BuildTable(quality);
    const CExactModel model(kProtan);
    std::vector<unsigned char> exact(frame.original.size());
    const auto ratios =
        RunInterleaved(state, {[&] {
                                   model.Apply(frame.original.data(), frame.width, frame.height,
                                               frame.stride, exact.data());
                               },
                               [&] { frame.Apply(filter.GetTable()); },
                               [&] {
                                   frame.BuildIndex();
                                   frame.Apply(filter.GetTable());
                               },
                               [&] { frame.Memcpy(); }});
    state.counters["exact_per_table"] = ratios[1];
    state.counters["exact_per_capture"] = ratios[2];
    state.counters["exact_x_memcpy"] = ratios[3];
    SetFrameCounters(state, frame.original.size());
}

// The desktop view's look-alike highlight over a snapshot (without a blur the table pass and the
// highlight are one pass) beside a memcpy of the frame:
// x_memcpy with the reference's decisions made (another filter shown of the same pixel,
// the check box), click_x_memcpy for a new reference, whose decisions are made in the pass.
// args: width, height, step, noise.
void BM_HighlightPass(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(2)));
    CapturedFrame frame(quality, Width(state), Height(state), state.range(3) != 0);
    CFilter filter("protan", "protan", ProtanMap());
    filter.BuildTable(quality);
    frame.Apply(filter.GetTable());
    const std::size_t centre =
        static_cast<std::size_t>(frame.height / 2) * frame.width + frame.width / 2;
    const ColorValue reference =
        filter.GetTable()[frame.index16.empty() ? frame.index32[centre] : frame.index16[centre]];
    CLookAlikeMask mask;
    std::size_t alike = 0;
    const auto highlight = [&](CLookAlikeMask& m) {
        m.Prepare(reference, kDefaultLookAlikeDistance, filter.GetTable(), quality.GetTableSize());
        alike = frame.index16.empty()
                    ? ApplyHighlightedTable(frame.index32.data(), m, frame.width, frame.height,
                                            frame.stride, frame.display.data())
                    : ApplyHighlightedTable(frame.index16.data(), m, frame.width, frame.height,
                                            frame.stride, frame.display.data());
        benchmark::DoNotOptimize(alike);
    };
    highlight(mask);
    const auto ratios = RunInterleaved(state, {[&] { highlight(mask); },
                                               [&] {
                                                   CLookAlikeMask fresh;
                                                   highlight(fresh);
                                               },
                                               [&] { frame.Memcpy(); }});
    state.counters["x_memcpy"] = ratios[2];
    state.counters["click_x_memcpy"] = ratios[2] / ratios[1];
    state.counters["alike_pct"] =
        100.0 * static_cast<double>(alike) / (static_cast<double>(frame.width) * frame.height);
    SetFrameCounters(state, frame.original.size());
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({1920, 1080})->Args({3840, 2160});
}
void SizesAndSteps(benchmark::internal::Benchmark* b) {
    for (int step : {7, 18}) {
        b->Args({1920, 1080, step})->Args({3840, 2160, step});
    }
}
void SizesAndRadii(benchmark::internal::Benchmark* b) {
    for (int radius : {1, 3, 5}) {
        b->Args({1920, 1080, radius})->Args({3840, 2160, radius});
    }
}
void ApplyCases(benchmark::internal::Benchmark* b) {
    for (int step : {7, 18}) {
        for (int noise : {0, 1}) {
            b->Args({1920, 1080, step, noise})->Args({3840, 2160, step, noise});
        }
    }
}
void SizesAndNoise(benchmark::internal::Benchmark* b) {
    for (int noise : {0, 1}) {
        b->Args({1920, 1080, noise})->Args({3840, 2160, noise});
    }
}
void OpenCases(benchmark::internal::Benchmark* b) {
    for (int step : {7, 18}) {
        b->Args({1920, 1080, step, 1})->Args({3840, 2160, step, 1});
    }
}
void SwitchCases(benchmark::internal::Benchmark* b) {
    for (int step : {7, 18}) {
        for (int radius : {0, 1}) {
            b->Args({1920, 1080, step, radius, 0})->Args({3840, 2160, step, radius, 0});
        }
        b->Args({1920, 1080, step, 0, 1})->Args({3840, 2160, step, 0, 1});
    }
}

} // namespace

BENCHMARK(BM_Memcpy)->Apply(Sizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IndexPass)->Apply(SizesAndSteps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ApplyFilter)->Apply(ApplyCases)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Blur)->Apply(SizesAndRadii)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TablePath)->Apply(SizesAndSteps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExactModelPow)->Apply(Sizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExactModel)->Apply(SizesAndNoise)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenView)->Apply(OpenCases)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_FilterSwitch)->Apply(SwitchCases)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_HighlightPass)->Apply(ApplyCases)->Unit(benchmark::kMillisecond)->UseManualTime();
// The iteration time is the exact model's, the slowest step's, so that the time limit counts it.
BENCHMARK(BM_TableVsExact)->Apply(ApplyCases)->Unit(benchmark::kMillisecond)->UseManualTime();
