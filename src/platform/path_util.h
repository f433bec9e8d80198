#pragma once

// Path text the program takes apart itself, portable so that every case can be tested.

#include "platform/text_util.h"

#include <cstdint>
#include <string>
#include <string_view>

// The directory part of a full path: everything after the last backslash removed, the
// backslash kept; empty when there is none. Two-byte characters are skipped whole, so a trail
// byte with the value of a backslash does not count.
std::string DirectoryOfPath(std::string_view path, LeadBytePredicate isLeadByte);
