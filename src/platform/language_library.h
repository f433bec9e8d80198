#pragma once

#include <cstdint>
#include <string_view>

// Whether a file is a whole resource library: a DLL image whose sections, and the resource
// directory among them, lie inside the file. `head` holds the file's first bytes (its headers
// and section table; kLanguageLibraryHeadSize is enough) and `fileSize` its full length. A copy
// cut short, a program or any other file put where a language library belongs is not used: its
// resources could point past the end of the file.
constexpr std::size_t kLanguageLibraryHeadSize = 4096;
bool IsCompleteResourceLibrary(std::string_view head, std::uint64_t fileSize);
