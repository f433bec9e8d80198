#pragma once

// Path text the program takes apart itself, portable so that every case can be tested.

#include "platform/text_util.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// The directory part of a full path: everything after the last backslash removed, the
// backslash kept; empty when there is none. Two-byte characters are skipped whole, so a trail
// byte with the value of a backslash does not count.
std::string DirectoryOfPath(std::string_view path, LeadBytePredicate isLeadByte);

// Paths are UTF-8 text inside the program, whatever the system's code page, so that a folder
// named in any script (a user name under %LOCALAPPDATA%, say) can be reached. On Windows they
// go to the file system in their wide form; these two are the one place where they change form.
#ifdef _WIN32
std::wstring WidePath(std::string_view path);
std::string PathFromWide(std::wstring_view path);
#endif

// fopen by a UTF-8 path (through its wide form on Windows); null when it cannot be opened.
std::FILE* OpenPathFile(const std::string& path, const char* mode);
