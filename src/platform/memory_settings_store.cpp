#include "platform/memory_settings_store.h"

std::optional<std::string> CMemorySettingsStore::ReadString(const char* name,
                                                            std::size_t capacity) {
    const auto it = m_values.find(name);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    const auto* text = std::get_if<std::string>(&it->second);
    if (!text) {
        return std::nullopt;
    }
    // Like a zero-terminated registry text: it ends at the first zero.
    std::string value(text->c_str());
    if (value.size() + 1 > capacity) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint32_t> CMemorySettingsStore::ReadDword(const char* name) {
    const auto it = m_values.find(name);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    if (const auto* number = std::get_if<std::uint32_t>(&it->second)) {
        return *number;
    }
    return std::nullopt;
}

bool CMemorySettingsStore::WriteString(const char* name, const std::string& text) {
    m_values[name] = text;
    return true;
}

bool CMemorySettingsStore::WriteDword(const char* name, std::uint32_t value) {
    m_values[name] = value;
    return true;
}
