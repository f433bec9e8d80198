#include "platform/text_util.h"

#include <cctype>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
bool SystemCodePageLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}
#else
bool NoLeadBytes(unsigned char) {
    return false;
}
#endif

} // namespace

LeadBytePredicate SystemLeadBytePredicate() {
#ifdef _WIN32
    return &SystemCodePageLeadByte;
#else
    return &NoLeadBytes;
#endif
}

void TrimSpaces(std::string& text) {
    TrimSpaces(text, SystemLeadBytePredicate());
}

void TrimSpaces(std::string& text, LeadBytePredicate isLeadByte) {
    std::size_t begin = 0;
    std::size_t end = 0; // one past the last character that is not white space
    bool seenText = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (isLeadByte(byte) && i + 1 < text.size()) {
            length = 2;
        }
        if (length == 2 || !IsBlank(text[i])) {
            if (!seenText) {
                begin = i;
                seenText = true;
            }
            end = i + length;
        }
        i += length;
    }
    if (!seenText) {
        text.clear();
        return;
    }
    text.erase(end);
    text.erase(0, begin);
}

void TruncateText(std::string& text, std::size_t maxBytes, LeadBytePredicate isLeadByte) {
    if (text.size() <= maxBytes) {
        return;
    }
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t length =
            isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + length > maxBytes) {
            break;
        }
        end += length;
    }
    text.erase(end);
}

void TruncateText(std::string& text, std::size_t maxBytes) {
    TruncateText(text, maxBytes, SystemLeadBytePredicate());
}

std::string TrimmedCopy(std::string_view text) {
    std::string copy(text);
    TrimSpaces(copy);
    return copy;
}

namespace {

// Where the digits of a number start: after leading blanks and an optional sign, as the C
// library's number readers skip them.
std::size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

} // namespace

bool ScanInt32(std::string_view& text, std::int32_t& value) {
    bool negative = false;
    std::size_t i = SkipBlanksAndSign(text, negative);
    const std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            return false;
        }
        ++i;
    }
    if (i == digitsStart) {
        return false;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    text.remove_prefix(i);
    return true;
}

bool ScanLiteral(std::string_view& text, char expected) {
    if (text.empty() || text.front() != expected) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

std::uint32_t ParseCUnsigned(std::string_view text) {
    bool negative = false;
    std::size_t i = SkipBlanksAndSign(text, negative);
    unsigned base = 10;
    if (i < text.size() && text[i] == '0') {
        base = 8;
        const bool hexPrefix = i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
        if (hexPrefix && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            base = 16;
            i += 2;
        }
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) {
            break;
        }
        value = value * base + digit;
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu; // keep accumulating bounded; the rest of the digits are read
        }
    }
    if (overflow) {
        return 0xFFFFFFFFu;
    }
    const auto result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}
