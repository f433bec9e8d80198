#include "platform/registry_store.h"

#include <cstring>
#include <vector>

const char* const ZezirivRegistryKey = "Software\\zuvadur\\Zeziriv";

namespace {

// Reads a text value into buffer[0..capacity); false when it is missing, not a text, or does
// not fit with its terminating zero. Registry texts need not be zero-terminated, so the
// terminator is checked rather than trusted. Reads ask for read access only, so settings in a
// key the user may read but not write are still honoured.
bool QueryText(const char* name, char* buffer, DWORD capacity) {
    if (capacity == 0) {
        return false;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, ZezirivRegistryKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD size = capacity;
    const LONG result =
        ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ || size > capacity) {
        return false;
    }
    if (size == capacity && std::memchr(buffer, '\0', size) == nullptr) {
        return false;
    }
    if (size < capacity) {
        buffer[size] = '\0';
    }
    return true;
}

std::optional<DWORD> QueryDword(const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, ZezirivRegistryKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG result =
        ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
        return std::nullopt;
    }
    return value;
}

LONG WriteValue(const char* name, DWORD type, const BYTE* data, DWORD size) {
    HKEY key = nullptr;
    const LONG created =
        ::RegCreateKeyExA(HKEY_CURRENT_USER, ZezirivRegistryKey, 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (created != ERROR_SUCCESS) {
        return created;
    }
    const LONG written = ::RegSetValueExA(key, name, 0, type, data, size);
    ::RegCloseKey(key);
    return written;
}

} // namespace

void RegReadString(const char* name, char* buffer, DWORD capacity, const char* fallback) {
    if (capacity == 0) {
        return;
    }
    if (!QueryText(name, buffer, capacity)) {
        std::strncpy(buffer, fallback ? fallback : "", capacity - 1);
        buffer[capacity - 1] = '\0';
    }
}

DWORD RegReadDword(const char* name, DWORD fallback) {
    return QueryDword(name).value_or(fallback);
}

LONG RegWriteString(const char* name, const char* text) {
    return WriteValue(name, REG_SZ, reinterpret_cast<const BYTE*>(text),
                      static_cast<DWORD>(std::strlen(text) + 1));
}

LONG RegWriteDword(const char* name, DWORD value) {
    return WriteValue(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::optional<std::string> CRegistryStore::ReadString(const char* name, std::size_t capacity) {
    std::vector<char> buffer(capacity + 1, '\0');
    if (!QueryText(name, buffer.data(), static_cast<DWORD>(capacity))) {
        return std::nullopt;
    }
    return std::string(buffer.data());
}

std::optional<std::uint32_t> CRegistryStore::ReadDword(const char* name) {
    return QueryDword(name);
}

bool CRegistryStore::WriteString(const char* name, const std::string& text) {
    return RegWriteString(name, text.c_str()) == ERROR_SUCCESS;
}

bool CRegistryStore::WriteDword(const char* name, std::uint32_t value) {
    return RegWriteDword(name, value) == ERROR_SUCCESS;
}
