#include "shell/system_info.h"

OsKind ClassifyOs(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) {
    if (platformId == PlatformWin9x) {
        return OsWin9x;
    }
    if (platformId != PlatformNT) {
        return OsUnknown;
    }
    if (major < 5) {
        return OsWinNT4;
    }
    if (major == 5) {
        return minor == 0 ? OsWin2000 : minor == 1 ? OsWinXP : OsWin2003;
    }
    return OsVistaOrLater;
}

std::string DirectoryOfPath(std::string_view path, LeadBytePredicate isLeadByte) {
    std::size_t end = 0; // one past the last separator
    for (std::size_t i = 0; i < path.size();) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (isLeadByte(byte) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (path[i] == '\\') {
            end = i + 1;
        }
        ++i;
    }
    return std::string(path.substr(0, end));
}
