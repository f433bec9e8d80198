#pragma once

#include <windows.h>

#include <string>

// The one file the program writes: a line for each exception that a window or dialog procedure
// (or the main loop) caught and could only drop, so that a fault the user saw leaves a trace.
// It lives in %LOCALAPPDATA%\Zeziriv\zeziriv.log and never grows past kExceptionLogLimit bytes:
// a full log starts over. Writing it never throws, and a log that cannot be written is skipped.
constexpr unsigned long kExceptionLogLimit = 32 * 1024;

// Call inside a catch block: the exception being handled, the window and the message it came
// with (null and 0 when there is none).
void LogCurrentException(HWND window, UINT message) noexcept;

// The log's path; an empty path stands for the usual one. Tests point it into their own folder.
std::wstring GetExceptionLogPath();
void SetExceptionLogPathForTesting(const std::wstring& path);
