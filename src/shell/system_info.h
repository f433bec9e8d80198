#pragma once

// The portable halves of the shared utilities: decisions made on values the platform reports,
// kept apart from the calls that fetch them so that every case can be tested.

#include "text/text_util.h"

#include <cstdint>
#include <string>
#include <string_view>

enum OsKind {
    OsUnknown = 0,
    OsWin9x = 1,
    OsWinNT4 = 2,
    OsWin2000 = 3,
    OsWinXP = 4,
    OsWin2003 = 5,
    OsVistaOrLater = 6,
};

// The platform identifiers of the version query.
constexpr std::uint32_t PlatformWin9x = 1; // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t PlatformNT = 2;    // VER_PLATFORM_WIN32_NT

OsKind ClassifyOs(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

// The directory part of a full path: everything after the last backslash removed, the
// backslash kept; empty when there is none. Two-byte characters are skipped whole, so a trail
// byte with the value of a backslash does not count.
std::string DirectoryOfPath(std::string_view path, LeadBytePredicate isLeadByte);
