// `zeziriv-filter simulate` on a 3840 x 2160 PNG beside what it cannot avoid: reading and
// writing the picture. The goal is the whole command within 1.2 times decode + encode.
#include "authoring/picture.h"
#include "authoring/picture_file.h"
#include "authoring/picture_simulation.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"
#include "engine/filter/image_quality.h"

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
    // The command's output picture, for the baseline that writes what the command writes.
    CPicture simulated;
};

const char* const kFilterFile = "/deutanopia.xml";

// Reads the filter and builds its table at the default quality: what the command does first.
bool LoadFilter(CFilter& filter, std::string& error) {
    return LoadFilterFile(filter, std::string(ZEZIRIV_FILTER_DATA_DIR) + kFilterFile, &error) &&
           filter.BuildTable(CImageQuality());
}

const Files& BenchFiles() {
    static const Files files = [] {
        const auto dir = std::filesystem::temp_directory_path();
        Files f{(dir / "zeziriv_bench_in.png").string(), (dir / "zeziriv_bench_out.png").string(),
                CPicture()};
        CPicture picture;
        CFilter filter;
        std::string error;
        if (!picture.Allocate(kWidth, kHeight, false)) {
            std::abort();
        }
        PaintScreenshot(picture);
        if (!WritePictureFile(f.input, picture, error) || !LoadFilter(filter, error) ||
            !CPictureSimulation(picture, CImageQuality()).Apply(filter, 0, f.simulated)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return f;
    }();
    return files;
}

// Baselines: the picture read and written again, nothing in between (argument 0); the picture
// read and the command's output picture written, the input and output the command cannot avoid
// (argument 1). The encoder's time depends on what it compresses, and a simulated picture is
// not the original.
void BM_PictureDecodeEncode(benchmark::State& state) {
    const Files& files = BenchFiles();
    const bool writeSimulated = state.range(0) != 0;
    std::string error;
    for (auto _ : state) {
        CPicture picture;
        if (!ReadPictureFile(files.input, picture, error) ||
            !WritePictureFile(files.output, writeSimulated ? files.simulated : picture, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

// The whole command: the filter file, its colour table, the picture read, indexed, filtered,
// blurred (radius in the argument) and written.
void BM_PictureSimulateCommand(benchmark::State& state) {
    const Files& files = BenchFiles();
    const int blur = static_cast<int>(state.range(0));
    std::string error;
    for (auto _ : state) {
        CFilter filter;
        CPicture picture;
        CPicture simulated;
        if (!LoadFilter(filter, error) || !ReadPictureFile(files.input, picture, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        const CPictureSimulation simulation(picture, CImageQuality());
        if (!simulation.Apply(filter, blur, simulated) ||
            !WritePictureFile(files.output, simulated, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

// About a second per run on a shared machine: the median of five runs of three seconds each,
// in real time and in the CPU time of the whole process (worker threads included), which other
// load on the machine disturbs less.
BENCHMARK(BM_PictureDecodeEncode)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->MinTime(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PictureSimulateCommand)
    ->Arg(0)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->MinTime(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
