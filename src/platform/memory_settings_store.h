#pragma once

#include "platform/settings_store.h"

#include <map>
#include <variant>

// Keeps values in memory, with the registry's kinds, so that the profile logic can be tested
// (and run) without one.
class CMemorySettingsStore : public ISettingsStore {
public:
    using Value = std::variant<std::string, std::uint32_t>;

    std::optional<std::string> ReadString(const char* name, std::size_t capacity) override;
    std::optional<std::uint32_t> ReadDword(const char* name) override;
    bool WriteString(const char* name, const std::string& text) override;
    bool WriteDword(const char* name, std::uint32_t value) override;

    const std::map<std::string, Value>& Values() const { return m_values; }
    bool Has(const std::string& name) const { return m_values.count(name) != 0; }
    void Clear() { m_values.clear(); }

private:
    std::map<std::string, Value> m_values;
};
