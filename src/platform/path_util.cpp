#include "platform/path_util.h"

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
