#include "shell/system_info.h"

#include <gtest/gtest.h>

namespace {

bool DoubleByteLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool SingleByte(unsigned char) {
    return false;
}

TEST(ClassifyOsTest, MapsPlatformAndVersion) {
    const struct {
        std::uint32_t platform, major, minor;
        OsKind kind;
    } cases[] = {
        {0, 3, 1, OsUnknown},      {3, 6, 0, OsUnknown},       {1, 4, 10, OsWin9x},
        {2, 3, 51, OsWinNT4},      {2, 4, 0, OsWinNT4},        {2, 5, 0, OsWin2000},
        {2, 5, 1, OsWinXP},        {2, 5, 2, OsWin2003},       {2, 5, 7, OsWin2003},
        {2, 6, 0, OsVistaOrLater}, {2, 10, 0, OsVistaOrLater},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyOs(c.platform, c.major, c.minor), c.kind)
            << c.platform << ' ' << c.major << '.' << c.minor;
    }
}

TEST(DirectoryOfPathTest, KeepsTheLastBackslash) {
    const struct {
        const char* path;
        const char* directory;
    } cases[] = {
        {"C:\\zeziriv.exe", "C:\\"},
        {"C:\\Program Files\\Zeziriv\\zeziriv.exe", "C:\\Program Files\\Zeziriv\\"},
        {"\\\\server\\share\\z.exe", "\\\\server\\share\\"},
        {"zeziriv.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectoryOfPath(c.path, &SingleByte), c.directory) << c.path;
        EXPECT_EQ(DirectoryOfPath(c.path, &DoubleByteLead), c.directory) << c.path;
    }
}

TEST(DirectoryOfPathTest, TrailByteWithBackslashValueIsNoSeparator) {
    // 0x95 0x5C is one double-byte character whose trail byte equals '\'.
    const std::string path = "C:\\tools\\\x95\x5C\\z.exe";
    EXPECT_EQ(DirectoryOfPath(path, &DoubleByteLead), "C:\\tools\\\x95\x5C\\");
    const std::string inName = "C:\\tools\\a\x95\x5C.exe";
    EXPECT_EQ(DirectoryOfPath(inName, &DoubleByteLead), "C:\\tools\\");
    // Read byte by byte the same path would be cut inside the character.
    EXPECT_EQ(DirectoryOfPath(inName, &SingleByte), "C:\\tools\\a\x95\x5C");
}

} // namespace
