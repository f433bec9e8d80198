#include "engine/image/pixel_workers.h"

#include <algorithm>
#include <functional>
#include <thread>

namespace {

// A quarter of a million pixels takes the pixel loops a few hundred microseconds, against tens
// of microseconds to start and join a thread.
constexpr std::size_t kMinPixelsPerWorker = std::size_t{1} << 18;

int g_testWorkers = 0;
std::size_t g_testMinPixels = 0;

int HardwareWorkers() {
    static const int workers = [] {
        const unsigned n = std::thread::hardware_concurrency();
        return n == 0 ? 1 : static_cast<int>(std::min<unsigned>(n, kMaxRowBands));
    }();
    return workers;
}

} // namespace

int PixelWorkerCount(std::size_t pixels, int height) {
    const int workers = g_testWorkers > 0 ? g_testWorkers : HardwareWorkers();
    const std::size_t minPixels = g_testMinPixels > 0 ? g_testMinPixels : kMinPixelsPerWorker;
    const std::size_t bySize = std::max<std::size_t>(1, pixels / minPixels);
    return static_cast<int>(std::min<std::size_t>({static_cast<std::size_t>(workers), bySize,
                                                   static_cast<std::size_t>(std::max(height, 1))}));
}

int RowBandStart(int band, int bands, int height) {
    return static_cast<int>(static_cast<long long>(height) * band / bands);
}

void RunRowBands(int bands, int height, const std::function<void(int, int, int)>& body) {
    bands = std::clamp(bands, 1, kMaxRowBands);
    auto bandStart = [&](int band) { return RowBandStart(band, bands, height); };
    std::thread threads[kMaxRowBands];
    bool started[kMaxRowBands] = {};
    for (int band = 1; band < bands; ++band) {
        try {
            threads[band] =
                std::thread(std::cref(body), band, bandStart(band), bandStart(band + 1));
            started[band] = true;
        } catch (...) {
            // No thread: the band runs below on this one.
        }
    }
    body(0, 0, bandStart(1));
    for (int band = 1; band < bands; ++band) {
        if (started[band]) {
            threads[band].join();
        } else {
            body(band, bandStart(band), bandStart(band + 1));
        }
    }
}

void SetPixelWorkersForTesting(int workers, std::size_t minPixelsPerWorker) {
    g_testWorkers = std::min(workers, kMaxRowBands);
    g_testMinPixels = minPixelsPerWorker;
}
