#pragma once

#include "platform/settings_store.h"

#include <windows.h>

// Primitives over HKEY_CURRENT_USER\Software\zuvadur\Zeziriv; each opens and closes the key.
// A missing key or value, a value of another kind, or a text that does not fit the buffer
// (terminating zero included) gives the default.
void RegReadString(const char* name, char* buffer, DWORD capacity, const char* fallback);
DWORD RegReadDword(const char* name, DWORD fallback);
// Create the key when missing; return the error code of the key's creation or of the write.
LONG RegWriteString(const char* name, const char* text);
LONG RegWriteDword(const char* name, DWORD value);

extern const char* const ZezirivRegistryKey;

class CRegistryStore : public ISettingsStore {
public:
    std::optional<std::string> ReadString(const char* name, std::size_t capacity) override;
    std::optional<std::uint32_t> ReadDword(const char* name) override;
    bool WriteString(const char* name, const std::string& text) override;
    bool WriteDword(const char* name, std::uint32_t value) override;
};
