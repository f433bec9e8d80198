// Allocation failure of a colour table. The nothrow array forms of operator new are replaced
// in this executable alone, so BuildTable meets a real failed allocation.
#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
bool g_failLargeArrays = false;
constexpr std::size_t kLarge = 100000;
} // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failLargeArrays && size >= kLarge) {
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size) {
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace {

TEST(BuildTable, AllocationFailureLeavesNoTable) {
    const CImageQuality quality(12);
    auto normal = CreateNormalFilter();
    g_failLargeArrays = true;
    EXPECT_FALSE(normal->BuildTable(quality));
    EXPECT_EQ(normal->GetTable(), nullptr);
    EXPECT_EQ(normal->Transform(MakeColor(1, 2, 3)), MakeColor(1, 2, 3));
    g_failLargeArrays = false;
    EXPECT_TRUE(normal->BuildTable(quality));
    ASSERT_NE(normal->GetTable(), nullptr);

    // A copy that cannot get its table is left without one.
    g_failLargeArrays = true;
    const CFilter copy(*normal);
    g_failLargeArrays = false;
    EXPECT_EQ(copy.GetTable(), nullptr);
    EXPECT_EQ(copy.GetID(), "_normal");
}

} // namespace
