#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePageTest, AsciiRoundTrips) {
    for (const char* text : {"", "ZezirivFilter", "filter\\system\\a b.xml"}) {
        const std::wstring wide = NarrowToWide(text);
        EXPECT_EQ(wide.size(), std::string(text).size());
        EXPECT_EQ(WideToNarrow(wide), text);
    }
    EXPECT_EQ(NarrowToWide("Version"), L"Version");
}

TEST(CBStrTest, OwnsOneStringOrNone) {
    CBStr empty;
    EXPECT_EQ(empty.Get(), nullptr);
    EXPECT_EQ(empty.ToNarrow(), "");
    EXPECT_EQ(CBStr(std::string_view()).Get(), nullptr);

    CBStr name("ColorMap");
    ASSERT_NE(name.Get(), nullptr);
    EXPECT_EQ(name.Length(), 8u);
    EXPECT_EQ(std::wstring(name.Get()), L"ColorMap");

    CBStr copy(name);
    EXPECT_NE(copy.Get(), name.Get());
    EXPECT_EQ(copy.ToNarrow(), "ColorMap");

    CBStr moved(std::move(copy));
    EXPECT_EQ(copy.Get(), nullptr);
    EXPECT_EQ(moved.ToNarrow(), "ColorMap");

    copy = moved;
    moved = CBStr(std::wstring_view(L"Entry"));
    EXPECT_EQ(copy.ToNarrow(), "ColorMap");
    EXPECT_EQ(moved.ToNarrow(), "Entry");

    *moved.Receive() = ::SysAllocString(L"out");
    EXPECT_EQ(moved.ToNarrow(), "out");
}

} // namespace
