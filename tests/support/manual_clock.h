#pragma once

#include "platform/tick_count.h"

#include <cstdint>

// Drives the program's tick counter by hand for as long as it lives. Starts just below the
// 32-bit wrap by default, so every test that advances it also crosses the wrap.
class ManualClock {
public:
    explicit ManualClock(std::uint32_t start = 0xFFFFF000u) : m_start(start), m_now(start) {
        SetTickSourceForTesting([this] { return m_now; });
    }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    ~ManualClock() { SetTickSourceForTesting({}); }

    void Advance(std::uint32_t ms) { m_now += ms; }
    std::uint32_t Now() const { return m_now; }
    // Milliseconds since the clock was made.
    std::uint32_t Elapsed() const { return m_now - m_start; }

private:
    std::uint32_t m_start;
    std::uint32_t m_now;
};
