#include "platform/tick_count.h"

#include <chrono>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
std::function<std::uint32_t()>& Source() {
    static std::function<std::uint32_t()> source;
    return source;
}
} // namespace

std::uint32_t GetTickCount32() {
    if (const auto& source = Source()) {
        return source();
    }
#ifdef _WIN32
    return static_cast<std::uint32_t>(::GetTickCount());
#else
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}

void SetTickSourceForTesting(std::function<std::uint32_t()> source) {
    Source() = std::move(source);
}
