#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// windows.h maps GetMessage to GetMessageA/W; this class keeps its own accessor name, and
// Win32 code calls the message-loop function by its explicit name.
#ifdef GetMessage
#undef GetMessage
#endif

// A failure reported by the XML document component: its 32-bit status code and its text.
struct XmlComponentError {
    std::uint32_t status = 0x80004005u; // E_FAIL when the component gave nothing better
    std::string text;
};

// The filter reader's one exception type. Every defect of a filter file, and every foreign
// failure met while reading one, becomes an AppException, so one handler at the reader's
// boundary turns them all into "not loaded".
class AppException {
public:
    static constexpr int kDefault = 1;
    static constexpr int kBadFilter = 6;
    static constexpr int kComponentFailure = 10;
    static constexpr int kStdException = 11;
    static constexpr std::size_t kMaxMessage = 4096;

    AppException() = default;
    // "error: %s(%d): %d: %s", or "error: %d: %s" without a source file.
    AppException(int code, const char* message, const char* sourceFile, int line);
    explicit AppException(const XmlComponentError& error);
    explicit AppException(const std::exception& error);
    AppException(const AppException&) = default;
    AppException& operator=(const AppException&) = default;
    virtual ~AppException() = default;

    const char* GetMessage() const { return m_message.c_str(); }
    int GetCode() const { return m_code; }
    const XmlComponentError& GetComponentError() const { return m_componentError; }
    const std::string& GetStdExceptionText() const { return m_stdExceptionText; }

private:
    void SetMessage(const char* format, ...);

    int m_code = kDefault;
    std::string m_message;
    XmlComponentError m_componentError;
    std::string m_stdExceptionText;
};

[[noreturn]] void ThrowAppException(const char* message, const char* sourceFile, int line);
[[noreturn]] void ThrowFromComError(const XmlComponentError& error);
[[noreturn]] void ThrowFromStdException(const std::exception& error);
