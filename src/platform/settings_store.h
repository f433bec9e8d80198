#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The per-user key-value store under "Software\zuvadur\Zeziriv": text and 32-bit number values.
// Reads give nothing for a missing value, a value of the other kind, or a text that does not
// fit the capacity (in characters, terminating zero included); the caller then uses its default.
// Writes say whether the value was stored.

// The program reads every text value with this capacity: a longer text never comes back.
constexpr std::size_t kSettingsTextCapacity = 4096;

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual std::optional<std::string> ReadString(const char* name, std::size_t capacity) = 0;
    virtual std::optional<std::uint32_t> ReadDword(const char* name) = 0;
    virtual bool WriteString(const char* name, const std::string& text) = 0;
    virtual bool WriteDword(const char* name, std::uint32_t value) = 0;
};

// The process's store: the registry on Windows, an in-memory store elsewhere.
ISettingsStore& GetSettingsStore();
