#include "platform/codepage.h"

#include <climits>
#include <new>

std::wstring NarrowToWide(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string WideToNarrow(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

namespace {
BSTR AllocateOrThrow(const wchar_t* text, std::size_t length) {
    if (length > UINT_MAX) {
        throw std::bad_alloc();
    }
    BSTR str = ::SysAllocStringLen(text, static_cast<UINT>(length));
    if (!str) {
        throw std::bad_alloc();
    }
    return str;
}
} // namespace

CBStr::CBStr(std::string_view text) {
    if (!text.empty()) {
        const std::wstring wide = NarrowToWide(text);
        m_str = AllocateOrThrow(wide.data(), wide.size());
    }
}

CBStr::CBStr(std::wstring_view text) {
    if (!text.empty()) {
        m_str = AllocateOrThrow(text.data(), text.size());
    }
}

CBStr::CBStr(const CBStr& other) {
    if (other.m_str) {
        m_str = AllocateOrThrow(other.m_str, other.Length());
    }
}

CBStr& CBStr::operator=(const CBStr& other) {
    if (this != &other) {
        CBStr copy(other);
        std::swap(m_str, copy.m_str);
    }
    return *this;
}

CBStr& CBStr::operator=(CBStr&& other) noexcept {
    if (this != &other) {
        ::SysFreeString(m_str);
        m_str = other.m_str;
        other.m_str = nullptr;
    }
    return *this;
}

CBStr::~CBStr() {
    ::SysFreeString(m_str);
}

BSTR* CBStr::Receive() {
    ::SysFreeString(m_str);
    m_str = nullptr;
    return &m_str;
}

std::string CBStr::ToNarrow() const {
    return m_str ? WideToNarrow(std::wstring_view(m_str, Length())) : std::string();
}
