#pragma once

#include "authoring/picture.h"

#include <cstddef>
#include <string>
#include <vector>

// Image files for the filter tool: PNG and BMP in, PNG out. libpng does the work natively and
// the platform's imaging component (WIC) on Windows; everything around the codec (limits, file
// handling) is shared.
//
// Accepted: 8-bit RGB and RGBA; grey, palette, lower and 16-bit depths are converted to 8-bit
// RGB, or RGBA when the file has transparency. Every input is hostile: a defect ends in false
// and one message, and no allocation exceeds what the file's own size can justify.

// Decodes a whole file held in memory. The error names what is wrong without the file's name.
bool DecodePicture(const unsigned char* data, std::size_t size, CPicture& picture,
                   std::string& error);

// Encodes the picture as a PNG (8-bit RGB, or RGBA with its alpha plane).
bool EncodePng(const CPicture& picture, std::vector<unsigned char>& png, std::string& error);

// Deflate expands no more than 1032 to 1, and no other stored form packs pixels tighter: a
// file that claims more raw pixel bytes than that of its own size is lying, and is refused
// before the claim costs memory.
constexpr std::uint64_t kMaxExpansion = 1032;
bool IsPlausiblePixelData(std::uint64_t rawBytes, std::size_t fileSize);

// Files larger than this are not read at all.
constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{1} << 30;

// Reads and decodes a file; the error starts with the path.
bool ReadPictureFile(const std::string& path, CPicture& picture, std::string& error);

// Encodes and writes a PNG. The bytes go to a scratch file beside the target, which then
// replaces it: a write that fails half-way leaves neither a partial file nor a changed target.
bool WritePictureFile(const std::string& path, const CPicture& picture, std::string& error);
