#include "platform/path_util.h"

#include <gtest/gtest.h>

namespace {

bool DoubleByteLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool SingleByte(unsigned char) {
    return false;
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
