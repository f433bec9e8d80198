// `zeziriv-filter simulate` on a 3840 x 2160 PNG beside what it cannot avoid: reading and
// writing the picture. The goal is the whole command within 1.2 times decode + encode.
#include "authoring/picture.h"
#include "authoring/picture_file.h"
#include "authoring/picture_simulation.h"
#include "filter/filter.h"
#include "filter/filter_reader.h"
#include "filter/image_quality.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

// A screenshot of an interface: flat panels with text-like strokes, a gradient header and a
// photo-like area (smooth colour with grain), which is what the PNG encoder works hardest on.
void PaintScreenshot(CPicture& picture) {
    std::mt19937 rng(7);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ColorValue c;
            if (y < 240) {
                c = MakeColor(40 + x * 120 / kWidth, 60, 140 + y / 4);
            } else if (x >= 2400 && y >= 600 && y < 1800) {
                const unsigned grain = rng();
                c = MakeColor((x / 9 + y / 13 + (grain & 7)) & 0xFF,
                              (120 + y / 11 + ((grain >> 3) & 7)) & 0xFF,
                              (200 - x / 23 + ((grain >> 6) & 7)) & 0xFF);
            } else {
                const bool stroke =
                    (y % 24) < 12 && (y % 24) > 2 && ((x * 7 + y / 24 * 13) % 11) < 6;
                const unsigned panel = static_cast<unsigned>((x / 480) * 5 + (y / 360) * 3);
                c = stroke ? MakeColor(30, 30, 30)
                           : MakeColor(230 - panel % 4 * 20, 235 - panel % 3 * 30,
                                       240 - panel % 5 * 15);
            }
            picture.SetColor(x, y, c);
        }
    }
}

struct Files {
    std::string input;
    std::string output;
};

const Files& BenchFiles() {
    static const Files files = [] {
        const auto dir = std::filesystem::temp_directory_path();
        Files f{(dir / "zeziriv_bench_in.png").string(), (dir / "zeziriv_bench_out.png").string()};
        CPicture picture;
        std::string error;
        if (!picture.Allocate(kWidth, kHeight, false)) {
            std::abort();
        }
        PaintScreenshot(picture);
        if (!WritePictureFile(f.input, picture, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return f;
    }();
    return files;
}

// Baseline: the picture read and written again, nothing in between.
void BM_PictureDecodeEncode(benchmark::State& state) {
    const Files& files = BenchFiles();
    std::string error;
    for (auto _ : state) {
        CPicture picture;
        if (!ReadPictureFile(files.input, picture, error) ||
            !WritePictureFile(files.output, picture, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

// The whole command: the filter file, its colour table, the picture read, indexed, filtered,
// blurred (radius in the argument) and written.
void BM_PictureSimulateCommand(benchmark::State& state) {
    const Files& files = BenchFiles();
    const std::string filterPath = std::string(ZEZIRIV_FILTER_DATA_DIR) + "/deutanopia.xml";
    const int blur = static_cast<int>(state.range(0));
    std::string error;
    for (auto _ : state) {
        SetImageQuality(0);
        CFilter filter;
        CPicture picture;
        CPicture simulated;
        if (!LoadFilterFile(filter, filterPath, &error) || !filter.BuildTable() ||
            !ReadPictureFile(files.input, picture, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        const CPictureSimulation simulation(picture);
        if (!simulation.Apply(filter, blur, simulated) ||
            !WritePictureFile(files.output, simulated, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

BENCHMARK(BM_PictureDecodeEncode)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_PictureSimulateCommand)
    ->Arg(0)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);

} // namespace
