#include "platform/path_util.h"

#ifdef _WIN32
#include <windows.h>
#endif

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

#ifdef _WIN32
namespace {
// MultiByteToWideChar and back take int lengths.
constexpr std::size_t kMaxPathText = 0x7FFFFFFF;
} // namespace

std::wstring WidePath(std::string_view path) {
    if (path.empty() || path.size() > kMaxPathText) {
        return {};
    }
    const int size = static_cast<int>(path.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, path.data(), size, wide.data(), length);
    return wide;
}

std::string PathFromWide(std::wstring_view path) {
    if (path.empty() || path.size() > kMaxPathText) {
        return {};
    }
    const int size = static_cast<int>(path.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, path.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, path.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::FILE* OpenPathFile(const std::string& path, const char* mode) {
    return ::_wfopen(WidePath(path).c_str(), WidePath(mode).c_str());
}
#else
std::FILE* OpenPathFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}
#endif
