#pragma once

// The Japanese texts the tests expect, written in this source's UTF-8 and compared in code
// page 932, the form in which the program holds and shows them.

#include "authoring/shipped_filters.h"

#include <windows.h>

#include <string>

namespace japanese_text {

inline std::string J(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), size)));
    std::string narrow(wide.size() * 2, '\0');
    narrow.resize(static_cast<std::size_t>(
        WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                            static_cast<int>(narrow.size()), nullptr, nullptr)));
    return narrow;
}

// The Japanese display name the shipped filters give the ID; empty for an unknown ID.
inline std::string FilterName(const std::string& id) {
    for (const ShippedLanguage& language : ShippedLanguages()) {
        for (const ShippedTranslation& t : language.names) {
            if (language.languageId == 1041 && t.id == id) {
                return J(t.displayName);
            }
        }
    }
    return {};
}

} // namespace japanese_text
