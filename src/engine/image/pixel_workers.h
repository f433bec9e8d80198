#pragma once

#include <cstddef>
#include <functional>

// Splits the rows of a large frame between the processor's cores. A frame is split only where
// each worker gets enough pixels for its thread's start-up to pay; small windows stay on the
// calling thread.

constexpr int kMaxRowBands = 8;

// How many bands a frame of `pixels` pixels and `height` rows is split into (1..kMaxRowBands).
int PixelWorkerCount(std::size_t pixels, int height);

// The first row of band `band` of `bands` over `height` rows (band == bands gives height).
int RowBandStart(int band, int bands, int height);

// Runs body(band, y0, y1) for `bands` (1..kMaxRowBands) consecutive bands of the rows
// 0..height - 1, the first on the calling thread and the others on threads of their own, and
// returns when all are done. A thread that cannot be started leaves its band to the calling
// thread. The body must not throw.
void RunRowBands(int bands, int height, const std::function<void(int, int, int)>& body);

// Tests fix the worker count and the pixels a worker needs at least; 0, 0 restores the defaults.
void SetPixelWorkersForTesting(int workers, std::size_t minPixelsPerWorker);
