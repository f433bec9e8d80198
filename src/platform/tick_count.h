#pragma once

#include <cstdint>
#include <functional>

// The system's millisecond tick count, wrapping at 2^32 like the platform's. Everything that
// measures time (sequence playback, refresh intervals, waiting times) reads it here, so tests
// can drive time without sleeping.
std::uint32_t GetTickCount32();

// Replaces the tick source; an empty function restores the system clock.
void SetTickSourceForTesting(std::function<std::uint32_t()> source);
