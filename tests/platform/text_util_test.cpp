#include "platform/path_util.h"
#include "platform/text_util.h"

#include <gtest/gtest.h>

namespace {

// Shift-JIS-like lead bytes, for the cases where a trail byte looks like ASCII.
bool DoubleByteLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool SingleByte(unsigned char) {
    return false;
}

TEST(TrimSpacesTest, TrimsBothEnds) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"   ", ""},
        {" \t\r\n\v\f", ""},
        {"abc", "abc"},
        {"  a b  c  ", "a b  c"},
        {"\tprotanopia\n", "protanopia"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        TrimSpaces(text, &SingleByte);
        EXPECT_EQ(text, c.out) << '"' << c.in << '"';
    }
}

TEST(TruncateTextTest, NeverSplitsATwoByteCharacter) {
    const struct {
        const char* in;
        std::size_t max;
        const char* out;
    } cases[] = {
        {"abcdef", 3, "abc"},
        {"abc", 3, "abc"},
        {"abc", 10, "abc"},
        {"ab\x81\x40", 3, "ab"},         // the lead byte would lose its trail byte
        {"ab\x81\x40", 4, "ab\x81\x40"}, // the whole character fits
        {"\x81\x40\x81\x40", 3, "\x81\x40"},
        {"a\x81", 2, "a\x81"}, // a final lead byte without trail is one character
        {"abc", 0, ""},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        TruncateText(text, c.max, &DoubleByteLead);
        EXPECT_EQ(text, c.out) << c.in << " to " << c.max;
    }
}

TEST(TrimSpacesTest, KeepsTrailBytesThatLookLikeBlanks) {
    // 0x81 0x20 is one character whose second byte has the value of a blank.
    std::string text = "  a\x81 ";
    TrimSpaces(text, &DoubleByteLead);
    EXPECT_EQ(text, "a\x81 ");

    text = "\x81 ";
    TrimSpaces(text, &DoubleByteLead);
    EXPECT_EQ(text, "\x81 ");

    // A lead byte at the very end has no trail byte and is a character of its own.
    text = " \x81";
    TrimSpaces(text, &DoubleByteLead);
    EXPECT_EQ(text, "\x81");
}

// Fields up to a comma, blanks and signs before a number, the ends of the range and a number
// beyond it are read through the window records' test.
TEST(ScanInt32Test, ReadsLikePercentD) {
    const struct {
        const char* in;
        bool ok;
        std::int32_t value;
        const char* rest;
    } cases[] = {
        {"  -7x", true, -7, "x"},      {"+5", true, 5, ""}, {"2147483648", false, 0, ""},
        {"-2147483649", false, 0, ""}, {"", false, 0, ""},  {"-", false, 0, ""},
        {" ,1", false, 0, ""},
    };
    for (const auto& c : cases) {
        std::string_view text = c.in;
        std::int32_t value = 0;
        ASSERT_EQ(ScanInt32(text, value), c.ok) << c.in;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.in;
            EXPECT_EQ(text, c.rest) << c.in;
        } else {
            EXPECT_EQ(text, c.in) << "a failed scan consumes nothing";
        }
    }
}

// Decimal, hexadecimal, octal, negative and trailing junk are read through the quick key list
// in the profile values' test.
TEST(ParseCUnsignedTest, ReadsCNotation) {
    const struct {
        const char* in;
        std::uint32_t value;
    } cases[] = {
        {"0X2007a", 0x2007A},
        {"09", 0},
        {"0x", 0},
        {"0xg", 0},
        {"", 0},
        {"abc", 0},
        {"-131194", 0u - 131194u},
        {"4294967295", 0xFFFFFFFF},
        {"4294967296", 0xFFFFFFFF},
        {"0x1ffffffff", 0xFFFFFFFF},
        {"-99999999999", 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCUnsigned(c.in), c.value) << c.in;
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
