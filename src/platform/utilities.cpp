#include "platform/utilities.h"

#include "platform/text_util.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr const char* MessageCaption = "Zeziriv";
constexpr int MessageCapacity = 512;

HMODULE g_resourceModule = nullptr;

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

int ShowText(HWND owner, UINT style, const char* text) {
    if (const auto& hook = Hook()) {
        return hook(text, MessageCaption, style);
    }
    return ::MessageBoxA(owner, text, MessageCaption, style);
}

int ShowFormatted(HWND owner, UINT style, const char* format, va_list args) {
    // Formatted with room to spare and then cut at a character boundary: the formatter's own
    // cut could keep the lead byte of a double-byte character and drop its trail byte.
    char formatted[MessageCapacity * 4] = {};
    std::vsnprintf(formatted, sizeof formatted, format, args);
    std::string text = formatted;
    TruncateText(text, MessageCapacity - 1);
    return ShowText(owner, style, text.c_str());
}

DWORD GetFileAttributesOrInvalid(const char* path) {
    return path ? ::GetFileAttributesW(WidePath(path).c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool NoLeadBytes(unsigned char) {
    return false;
}

} // namespace

std::string GetExecutablePath() {
    std::vector<wchar_t> path(MAX_PATH);
    while (true) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < path.size()) {
            return PathFromWide(std::wstring_view(path.data(), length));
        }
        path.resize(path.size() * 2);
    }
}

std::string GetExeDirectory() {
    // UTF-8 has no byte of a backslash's value inside a character.
    static const std::string directory = DirectoryOfPath(GetExecutablePath(), &NoLeadBytes);
    return directory;
}

bool FileExists(const char* path) {
    const DWORD attributes = GetFileAttributesOrInvalid(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const char* path) {
    const DWORD attributes = GetFileAttributesOrInvalid(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetResourceModule(HMODULE module) {
    g_resourceModule = module;
}

HMODULE GetResourceModule() {
    return g_resourceModule;
}

DWORD GetProductVersionMS(const char* path) {
    constexpr DWORD none = 0xFFFFFFFF;
    if (!path) {
        return none;
    }
    const std::wstring widePath = WidePath(path);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(widePath.c_str(), &handle);
    if (size == 0) {
        return none;
    }
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(widePath.c_str(), 0, size, data.data())) {
        return none;
    }
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return none;
    }
    return info->dwProductVersionMS;
}

bool LoadResString(UINT id, char* buffer, int capacity) {
    if (!buffer || capacity <= 0) {
        return false;
    }
    buffer[0] = '\0';
    if (g_resourceModule && ::LoadStringA(g_resourceModule, id, buffer, capacity) > 0) {
        return true;
    }
    if (::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, capacity) > 0) {
        return true;
    }
    buffer[0] = '\0';
    ShowMessage(MB_OK | MB_ICONERROR, "error occured. [resource missing, ID=%d]",
                static_cast<int>(id));
    return false;
}

std::string LoadResString(UINT id) {
    char buffer[1024];
    LoadResString(id, buffer, sizeof buffer);
    return buffer;
}

int ShowMessage(UINT style, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int button = ShowFormatted(nullptr, style, format, args);
    va_end(args);
    return button;
}

int ShowOwnedMessage(HWND owner, UINT style, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int button = ShowFormatted(owner, style, format, args);
    va_end(args);
    return button;
}

int ShowResourceMessage(UINT style, UINT id, ...) {
    char format[1024];
    if (!LoadResString(id, format, sizeof format)) {
        return IDOK;
    }
    va_list args;
    va_start(args, id);
    const int button = ShowFormatted(nullptr, style, format, args);
    va_end(args);
    return button;
}

int ShowOwnedResourceMessage(HWND owner, UINT style, UINT id, ...) {
    char format[1024];
    if (!LoadResString(id, format, sizeof format)) {
        return IDOK;
    }
    va_list args;
    va_start(args, id);
    const int button = ShowFormatted(owner, style, format, args);
    va_end(args);
    return button;
}

void SetMessageBoxHookForTesting(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

bool CopyTextToClipboard(HWND owner, const char* text) {
    if (!text || !::OpenClipboard(owner)) {
        return false;
    }
    bool placed = false;
    if (::EmptyClipboard()) {
        const std::size_t size = std::strlen(text) + 1;
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size)) {
            if (void* target = ::GlobalLock(memory)) {
                std::memcpy(target, text, size);
                ::GlobalUnlock(memory);
                placed = ::SetClipboardData(CF_TEXT, memory) != nullptr;
            }
            if (!placed) {
                ::GlobalFree(memory);
            }
        }
    }
    ::CloseClipboard();
    return placed;
}

bool ForceForeground(HWND window) {
    if (!::IsWindow(window)) {
        return false;
    }
    const HWND foreground = ::GetForegroundWindow();
    DWORD foregroundProcess = 0;
    const DWORD foregroundThread =
        foreground ? ::GetWindowThreadProcessId(foreground, &foregroundProcess) : 0;
    if (!foreground || foregroundProcess == ::GetCurrentProcessId()) {
        return ::SetForegroundWindow(window) != FALSE;
    }
    // Another process owns the foreground: borrow its input state for the call.
    const DWORD windowThread = ::GetWindowThreadProcessId(window, nullptr);
    const bool attached = windowThread != foregroundThread &&
                          ::AttachThreadInput(windowThread, foregroundThread, TRUE) != FALSE;
    const bool done = ::SetForegroundWindow(window) != FALSE;
    if (attached) {
        ::AttachThreadInput(windowThread, foregroundThread, FALSE);
    }
    return done;
}
