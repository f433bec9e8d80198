#pragma once

// Small Win32 helpers every part of the program uses. All text is 8-bit text in the system
// code page, but for paths, which are UTF-8 (platform/path_util.h). Everything runs on the
// user-interface thread; the cached values are computed on first use without locking.

#include "platform/geometry.h"
#include "platform/path_util.h"

#include <windows.h>

#include <functional>
#include <string>

// A platform rectangle as the portable code holds it.
inline IntRect ToIntRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The running executable's path, and its directory with its trailing backslash (cached).
std::string GetExecutablePath();
std::string GetExeDirectory();
bool FileExists(const char* path);      // an existing entry that is not a directory
bool DirectoryExists(const char* path); // an existing directory

// The language resource library, first source of strings, menus and dialog templates; null
// for none. Icons and bitmaps always come from the executable.
void SetResourceModule(HMODULE module);
HMODULE GetResourceModule();

// The high half of the file's product version (major << 16 | minor), 0xFFFFFFFF when the file
// has no readable version resource.
DWORD GetProductVersionMS(const char* path);

// From the resource module, then the executable. A missing string is reported to the user and
// leaves an empty text.
bool LoadResString(UINT id, char* buffer, int capacity);
std::string LoadResString(UINT id);

// Message boxes captioned "Zeziriv" with no owner; the text is cut at 511 characters.
int ShowMessage(UINT style, const char* format, ...);
int ShowResourceMessage(UINT style, UINT id, ...);
// The same, owned by a window (a dialog): the owner stays disabled while the box is up, so its
// buttons cannot be pressed again under it.
int ShowOwnedMessage(HWND owner, UINT style, const char* format, ...);
int ShowOwnedResourceMessage(HWND owner, UINT style, UINT id, ...);

// Replaces the message box with the given function (tests record instead of blocking); an
// empty function restores the real one.
using MessageBoxHook = std::function<int(const char* text, const char* caption, UINT style)>;
void SetMessageBoxHookForTesting(MessageBoxHook hook);

// Opened with `owner` as the clipboard's owner, as the system asks of a program that places
// data on it.
bool CopyTextToClipboard(HWND owner, const char* text);
bool ForceForeground(HWND window);
