#include "platform/exception_log.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

namespace {

std::wstring& PathOverride() {
    static std::wstring path;
    return path;
}

std::string DescribeCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an exception of no standard type";
    }
}

} // namespace

std::wstring GetExceptionLogPath() {
    if (!PathOverride().empty()) {
        return PathOverride();
    }
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    std::wstring path = std::wstring(folder) + L"\\Zeziriv";
    CreateDirectoryW(path.c_str(), nullptr);
    return path + L"\\zeziriv.log";
}

void SetExceptionLogPathForTesting(const std::wstring& path) {
    PathOverride() = path;
}

void LogCurrentException(HWND window, UINT message) noexcept {
    try {
        const std::string what = DescribeCurrentException();
        const std::wstring path = GetExceptionLogPath();
        if (path.empty()) {
            return;
        }
        WIN32_FILE_ATTRIBUTE_DATA info{};
        const bool full = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info) &&
                          (info.nFileSizeHigh != 0 || info.nFileSizeLow >= kExceptionLogLimit);
        const HANDLE file = CreateFileW(
            path.c_str(), full ? GENERIC_WRITE : FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
            full ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return;
        }
        SYSTEMTIME now{};
        GetLocalTime(&now);
        char className[64] = "-";
        if (window != nullptr) {
            GetClassNameA(window, className, sizeof className);
        }
        char line[512];
        const int length = std::snprintf(
            line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u %s message 0x%04X: %.300s\r\n",
            now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, className,
            message, what.c_str());
        DWORD written = 0;
        if (length > 0) {
            WriteFile(file, line,
                      static_cast<DWORD>(std::min<int>(length, static_cast<int>(sizeof line) - 1)),
                      &written, nullptr);
        }
        CloseHandle(file);
    } catch (...) {
        // Nothing more can be done about a fault while telling of one.
    }
}
