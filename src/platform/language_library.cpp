#include "platform/language_library.h"

namespace {

constexpr std::uint16_t kDllFlag = 0x2000;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionSize = 40;
constexpr std::uint32_t kResourceDirectory = 2;

// Little-endian reads that answer false past the end of the bytes.
bool Read16(std::string_view bytes, std::uint64_t at, std::uint16_t& value) {
    if (at + 2 > bytes.size()) {
        return false;
    }
    value = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                       static_cast<unsigned char>(bytes[at + 1]) << 8);
    return true;
}

bool Read32(std::string_view bytes, std::uint64_t at, std::uint32_t& value) {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    if (!Read16(bytes, at, low) || !Read16(bytes, at + 2, high)) {
        return false;
    }
    value = static_cast<std::uint32_t>(low) | static_cast<std::uint32_t>(high) << 16;
    return true;
}

} // namespace

bool IsCompleteResourceLibrary(std::string_view head, std::uint64_t fileSize) {
    if (head.size() > fileSize || head.substr(0, 2) != "MZ") {
        return false;
    }
    std::uint32_t pe = 0;
    if (!Read32(head, 0x3C, pe) || static_cast<std::uint64_t>(pe) + 4 > head.size() ||
        head.substr(pe, 4) != std::string_view("PE\0\0", 4)) {
        return false;
    }
    const std::uint64_t fileHeader = static_cast<std::uint64_t>(pe) + 4;
    std::uint16_t sections = 0;
    std::uint16_t optionalSize = 0;
    std::uint16_t characteristics = 0;
    if (!Read16(head, fileHeader + 2, sections) || !Read16(head, fileHeader + 16, optionalSize) ||
        !Read16(head, fileHeader + 18, characteristics) || !(characteristics & kDllFlag) ||
        sections == 0) {
        return false;
    }
    const std::uint64_t optional = fileHeader + kFileHeaderSize;
    std::uint16_t magic = 0;
    if (!Read16(head, optional, magic) || (magic != kPe32Magic && magic != kPe32PlusMagic)) {
        return false;
    }
    const std::uint64_t directories = optional + (magic == kPe32PlusMagic ? 112 : 96);
    std::uint32_t directoryCount = 0;
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceSize = 0;
    if (!Read32(head, directories - 4, directoryCount) || directoryCount <= kResourceDirectory ||
        directories + 8 * (kResourceDirectory + 1) > optional + optionalSize ||
        !Read32(head, directories + 8 * kResourceDirectory, resourceRva) ||
        !Read32(head, directories + 8 * kResourceDirectory + 4, resourceSize) ||
        resourceSize == 0) {
        return false;
    }
    bool resourcesInside = false;
    const std::uint64_t table = optional + optionalSize;
    for (std::uint16_t i = 0; i < sections; ++i) {
        const std::uint64_t section = table + static_cast<std::uint64_t>(i) * kSectionSize;
        std::uint32_t virtualAddress = 0;
        std::uint32_t rawSize = 0;
        std::uint32_t rawOffset = 0;
        if (!Read32(head, section + 12, virtualAddress) || !Read32(head, section + 16, rawSize) ||
            !Read32(head, section + 20, rawOffset)) {
            return false;
        }
        if (rawSize > 0 && static_cast<std::uint64_t>(rawOffset) + rawSize > fileSize) {
            return false;
        }
        resourcesInside =
            resourcesInside || (resourceRva >= virtualAddress &&
                                static_cast<std::uint64_t>(resourceRva) + resourceSize <=
                                    static_cast<std::uint64_t>(virtualAddress) + rawSize);
    }
    return resourcesInside;
}
