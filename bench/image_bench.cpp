// The pixel pipeline of a capture beside its baselines, at full-HD and 4K: a memcpy of the same
// frame (the memory-bandwidth floor) and an exact per-pixel simulation without a colour table
// (what every frame would cost without the lattice index).
#include "filter/filter.h"
#include "filter/image_quality.h"
#include "image/capture_image.h"
#include "image/pixel_pipeline.h"
#include "image/synthetic_screen_source.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

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

// A protanopia filter (Vienot 1999), so that tables and the exact path compute the same thing.
constexpr float kProtan[3][3] = {
    {0.112383f, 0.887617f, 0.0f}, {0.112383f, 0.887617f, 0.0f}, {0.004006f, -0.004006f, 1.0f}};

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
                const float in[3] = {static_cast<float>(Decode(r * 51 / 255.0)),
                                     static_cast<float>(Decode(g * 51 / 255.0)),
                                     static_cast<float>(Decode(b * 51 / 255.0))};
                unsigned out[3];
                for (int i = 0; i < 3; ++i) {
                    out[i] = Encode(kProtan[i][0] * in[0] + kProtan[i][1] * in[1] +
                                    kProtan[i][2] * in[2]);
                }
                map[next++] = MakeColor(out[0], out[1], out[2]);
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
void RunIndexPass(benchmark::State& state, const std::vector<unsigned char>& pixels) {
    const int w = Width(state);
    const int h = Height(state);
    std::vector<T> index(static_cast<std::size_t>(w) * h);
    for (auto _ : state) {
        BuildIndexBuffer(pixels.data(), w, h, StrideOf(w), index.data());
        benchmark::DoNotOptimize(index.data());
        benchmark::ClobberMemory();
    }
}

// Original pixels to index buffer; args: width, height, step.
void BM_IndexPass(benchmark::State& state) {
    SetImageQuality(static_cast<int>(state.range(2)));
    const auto pixels = FramePixels(Width(state), Height(state), false);
    if (IsIndex16Bit()) {
        RunIndexPass<std::uint16_t>(state, pixels);
    } else {
        RunIndexPass<std::uint32_t>(state, pixels);
    }
    SetFrameCounters(state, pixels.size());
    SetImageQuality(0);
}

// ApplyFilter of a captured frame; args: width, height, step, noise (1: every pixel random,
// the worst case for the table's cache footprint).
void BM_ApplyFilter(benchmark::State& state) {
    SetImageQuality(static_cast<int>(state.range(2)));
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
    filter.BuildTable();
    CCaptureImage image(screen);
    image.Capture(0, 0, w, h);
    for (auto _ : state) {
        image.ApplyFilter(&filter);
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, image.GetImageSize());
    SetImageQuality(0);
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
                  const ColorValue* table) {
    const int w = Width(state);
    const int h = Height(state);
    std::vector<T> index(static_cast<std::size_t>(w) * h);
    std::vector<unsigned char> display(pixels.size());
    for (auto _ : state) {
        BuildIndexBuffer(pixels.data(), w, h, StrideOf(w), index.data());
        ApplyColorTable(index.data(), table, w, h, StrideOf(w), display.data());
        benchmark::ClobberMemory();
    }
}

void BM_TablePath(benchmark::State& state) {
    SetImageQuality(static_cast<int>(state.range(2)));
    const auto pixels = FramePixels(Width(state), Height(state), false);
    CFilter filter("protan", "protan", ProtanMap());
    filter.BuildTable();
    if (IsIndex16Bit()) {
        RunTablePath<std::uint16_t>(state, pixels, filter.GetTable());
    } else {
        RunTablePath<std::uint32_t>(state, pixels, filter.GetTable());
    }
    SetFrameCounters(state, pixels.size());
    SetImageQuality(0);
}

// Every pixel through the model: decode by table, the 3x3 matrix in float, encode.
void BM_ExactSimulation(benchmark::State& state) {
    const int w = Width(state);
    const int h = Height(state);
    const auto pixels = FramePixels(w, h, false);
    std::vector<unsigned char> display(pixels.size());
    float decode[256];
    for (int i = 0; i < 256; ++i) {
        decode[i] = static_cast<float>(Decode(i / 255.0));
    }
    for (auto _ : state) {
        for (int y = 0; y < h; ++y) {
            const unsigned char* in = &pixels[y * StrideOf(w)];
            unsigned char* out = &display[y * StrideOf(w)];
            for (int x = 0; x < w; ++x, in += 3, out += 3) {
                const float r = decode[in[2]];
                const float g = decode[in[1]];
                const float b = decode[in[0]];
                out[2] = Encode(kProtan[0][0] * r + kProtan[0][1] * g + kProtan[0][2] * b);
                out[1] = Encode(kProtan[1][0] * r + kProtan[1][1] * g + kProtan[1][2] * b);
                out[0] = Encode(kProtan[2][0] * r + kProtan[2][1] * g + kProtan[2][2] * b);
            }
        }
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, pixels.size());
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

} // namespace

BENCHMARK(BM_Memcpy)->Apply(Sizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IndexPass)->Apply(SizesAndSteps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ApplyFilter)->Apply(ApplyCases)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Blur)->Apply(SizesAndRadii)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TablePath)->Apply(SizesAndSteps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExactSimulation)->Apply(Sizes)->Unit(benchmark::kMillisecond)->UseRealTime();
