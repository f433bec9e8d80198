#include "platform/language_library.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace {

void Put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}
void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    Put16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

constexpr std::size_t kPe = 0x80;
constexpr std::size_t kOptional = kPe + 24;

// The headers of a small 64-bit DLL as the linker lays one out: code at 0x400, resources at
// 0x600, 0x800 bytes in all. `pe32` lays out the 32-bit optional header instead.
std::string LibraryHead(bool pe32 = false) {
    std::string bytes(0x400, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Put32(bytes, 0x3C, kPe);
    bytes.replace(kPe, 4, std::string("PE\0\0", 4));
    Put16(bytes, kPe + 4, pe32 ? 0x14C : 0x8664);
    Put16(bytes, kPe + 6, 2);                   // sections
    Put16(bytes, kPe + 20, pe32 ? 0xE0 : 0xF0); // optional header size
    Put16(bytes, kPe + 22, 0x2022);             // DLL, executable image
    Put16(bytes, kOptional, pe32 ? 0x10B : 0x20B);
    const std::size_t directories = kOptional + (pe32 ? 96 : 112);
    Put32(bytes, directories - 4, 16);
    Put32(bytes, directories + 16, 0x2000); // resources
    Put32(bytes, directories + 20, 0x180);
    const std::size_t table = kOptional + (pe32 ? 0xE0 : 0xF0);
    const std::uint32_t sections[2][3] = {{0x1000, 0x200, 0x400}, {0x2000, 0x200, 0x600}};
    for (std::size_t i = 0; i < 2; ++i) {
        Put32(bytes, table + 40 * i + 12, sections[i][0]);
        Put32(bytes, table + 40 * i + 16, sections[i][1]);
        Put32(bytes, table + 40 * i + 20, sections[i][2]);
    }
    return bytes;
}

constexpr std::uint64_t kWholeSize = 0x800;

// A library one byte short, cut in half, a program or not a program at all is refused end to
// end; here the headers' other ways of being wrong.
TEST(LanguageLibraryFile, OnlyAWholeLibraryWithItsResourcesInsideIsUsed) {
    const std::size_t table = kOptional + 0xF0;
    struct Case {
        const char* name;
        std::function<void(std::string&)> change;
        std::uint64_t fileSize;
        bool used;
    };
    const Case cases[] = {
        {"a whole library", [](std::string&) {}, kWholeSize, true},
        {"a whole 32-bit library", [](std::string& b) { b = LibraryHead(true); }, kWholeSize, true},
        {"only its headers", [](std::string&) {}, 0x400, false},
        {"headers longer than the file", [](std::string&) {}, 0x3FF, false},
        {"no MZ", [](std::string& b) { b[0] = 'X'; }, kWholeSize, false},
        {"no PE signature", [](std::string& b) { b[kPe + 2] = 'X'; }, kWholeSize, false},
        {"PE header past the head", [](std::string& b) { Put32(b, 0x3C, 0x3FE); }, kWholeSize,
         false},
        {"PE header at the top of the range", [](std::string& b) { Put32(b, 0x3C, 0xFFFFFFFF); },
         kWholeSize, false},
        {"no sections", [](std::string& b) { Put16(b, kPe + 6, 0); }, kWholeSize, false},
        {"unknown optional header", [](std::string& b) { Put16(b, kOptional, 0x107); }, kWholeSize,
         false},
        {"no resources", [](std::string& b) { Put32(b, kOptional + 112 + 20, 0); }, kWholeSize,
         false},
        {"too few directories", [](std::string& b) { Put32(b, kOptional + 108, 2); }, kWholeSize,
         false},
        {"resources outside every section",
         [](std::string& b) { Put32(b, kOptional + 112 + 16, 0x5000); }, kWholeSize, false},
        {"resources running past their section",
         [](std::string& b) { Put32(b, kOptional + 112 + 20, 0x201); }, kWholeSize, false},
        {"section table past the head", [](std::string& b) { Put16(b, kPe + 6, 30); }, kWholeSize,
         false},
        {"a section with no data anywhere",
         [table](std::string& b) { Put32(b, table + 16, 0), Put32(b, table + 20, 0x7FFFFFFF); },
         kWholeSize, true},
        {"a section's data far past the end",
         [table](std::string& b) { Put32(b, table + 20, 0xFFFFFFFF); }, kWholeSize, false},
    };
    for (const Case& c : cases) {
        std::string head = LibraryHead();
        c.change(head);
        EXPECT_EQ(IsCompleteResourceLibrary(head, c.fileSize), c.used) << c.name;
    }
}

TEST(LanguageLibraryFile, ShortAndEmptyHeadsAreNotLibraries) {
    for (std::size_t length : {0u, 1u, 2u, 0x3Fu, 0x84u, 0x100u}) {
        EXPECT_FALSE(IsCompleteResourceLibrary(LibraryHead().substr(0, length), kWholeSize))
            << length;
    }
}

} // namespace
