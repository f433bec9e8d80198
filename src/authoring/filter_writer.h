#pragma once

#include "engine/filter/filter.h"

#include <string>
#include <vector>

// Filter file text in the format the reader accepts: root ZezirivFilter Version "1.0", a
// Profile, and either the 216 colours of a ColorMap or the members of a FilterList. IDs,
// display names and comments are written as given (XML-escaped); the caller keeps them valid.

struct FilterMember {
    std::string id;
    int timeout = 0;
};

// comment: optional lines placed in an XML comment before the root element.
std::string WriteColorMapFilter(const std::string& id, const std::string& displayName,
                                const ColorMap& colors, const std::vector<std::string>& comment);

std::string WriteReferenceFilter(const std::string& id, const std::string& displayName, int repeat,
                                 const std::vector<FilterMember>& members,
                                 const std::vector<std::string>& comment);
