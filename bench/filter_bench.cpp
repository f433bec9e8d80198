// Colour-table construction beside the cost of merely filling the same number of bytes.
#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

ColorMap SampleMap() {
    std::mt19937 rng(1);
    ColorMap map{};
    for (auto& c : map) {
        c = rng() & 0xFFFFFFu;
    }
    return map;
}

void BM_BuildTable(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(0)));
    const ColorMap map = SampleMap();
    std::vector<ColorValue> table(quality.GetTableSize());
    for (auto _ : state) {
        FillColorTable(map, quality, table.data());
        benchmark::DoNotOptimize(table.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(table.size() * sizeof(ColorValue)));
}

// The floor: writing the same bytes with memset.
void BM_FillSameBytes(benchmark::State& state) {
    std::vector<ColorValue> table(CImageQuality(static_cast<int>(state.range(0))).GetTableSize());
    unsigned char value = 0;
    for (auto _ : state) {
        std::memset(table.data(), ++value, table.size() * sizeof(ColorValue));
        benchmark::DoNotOptimize(table.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(table.size() * sizeof(ColorValue)));
}

// BuildTable itself, allocation included.
void BM_BuildTableWithAllocation(benchmark::State& state) {
    const CImageQuality quality(static_cast<int>(state.range(0)));
    CFilter filter("bench", "bench", SampleMap());
    for (auto _ : state) {
        filter.FreeTable();
        benchmark::DoNotOptimize(filter.BuildTable(quality));
    }
}

} // namespace

BENCHMARK(BM_BuildTable)->Arg(7)->Arg(12)->Arg(18);
BENCHMARK(BM_FillSameBytes)->Arg(7)->Arg(12)->Arg(18);
BENCHMARK(BM_BuildTableWithAllocation)->Arg(7)->Arg(12)->Arg(18);
