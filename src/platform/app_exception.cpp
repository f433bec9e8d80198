#include "platform/app_exception.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

AppException::AppException(int code, const char* message, const char* sourceFile, int line)
    : m_code(code) {
    const char* text = message ? message : "";
    if (sourceFile) {
        SetMessage("error: %s(%d): %d: %s", sourceFile, line, code, text);
    } else {
        SetMessage("error: %d: %s", code, text);
    }
}

AppException::AppException(const XmlComponentError& error)
    : m_code(kComponentFailure), m_componentError(error) {
    SetMessage("com_error: 0x%08x: %s", static_cast<unsigned>(error.status), error.text.c_str());
}

AppException::AppException(const std::exception& error)
    : m_code(kStdException), m_stdExceptionText(error.what() ? error.what() : "") {
    SetMessage("exception: %s", m_stdExceptionText.c_str());
}

void AppException::SetMessage(const char* format, ...) {
    // Longer texts are cut to kMaxMessage characters and stay terminated.
    char buffer[kMaxMessage + 1];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    m_message.assign(buffer, written < 0 ? 0 : std::min<std::size_t>(written, kMaxMessage));
}

void ThrowAppException(const char* message, const char* sourceFile, int line) {
    throw AppException(AppException::kBadFilter, message, sourceFile, line);
}

void ThrowFromComError(const XmlComponentError& error) {
    throw AppException(error);
}

void ThrowFromStdException(const std::exception& error) {
    throw AppException(error);
}
