#pragma once

// Conversions between the system code page and UTF-16 at the edges where text meets a wide
// interface (the XML document object). Windows only.

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>

std::wstring NarrowToWide(std::string_view text);
std::string WideToNarrow(std::wstring_view text);

// Owns one automation string (BSTR); none while empty. Allocation failure raises
// std::bad_alloc, like every other allocation.
class CBStr {
public:
    CBStr() = default;
    explicit CBStr(std::string_view text);
    explicit CBStr(std::wstring_view text);
    CBStr(const CBStr& other);
    CBStr& operator=(const CBStr& other);
    CBStr(CBStr&& other) noexcept : m_str(other.m_str) { other.m_str = nullptr; }
    CBStr& operator=(CBStr&& other) noexcept;
    virtual ~CBStr();

    BSTR Get() const { return m_str; }
    // For out-parameters: frees the current string and hands out the slot.
    BSTR* Receive();
    std::string ToNarrow() const;
    UINT Length() const { return m_str ? ::SysStringLen(m_str) : 0; }

private:
    BSTR m_str = nullptr;
};
