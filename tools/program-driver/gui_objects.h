#pragma once

#include <windows.h>

// GDI objects and USER objects (windows and menus) of the calling process. The platform's
// counters where they count; Wine answers 0 to GetGuiResources, so there the handle tables are
// probed instead: Wine accepts a handle without its generation bits, so every index of the
// 16-bit tables can be asked once.
struct ProcessGuiObjects {
    unsigned long gdi = 0;
    unsigned long user = 0;
    friend bool operator==(const ProcessGuiObjects&, const ProcessGuiObjects&) = default;
};

inline ProcessGuiObjects CountProcessGuiObjects() {
    ProcessGuiObjects counts{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                             GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi != 0 && counts.user != 0) {
        return counts;
    }
    counts = {};
    const DWORD self = GetCurrentProcessId();
    for (ULONG_PTR index = 0x10; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) {
            ++counts.gdi;
        }
    }
    // USER handles are even numbers from 0x20; an odd number names the same entry.
    for (ULONG_PTR index = 0x20; index <= 0xFFFF; index += 2) {
        const HWND window = reinterpret_cast<HWND>(index);
        DWORD owner = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &owner) != 0 && owner == self) {
            ++counts.user;
        }
        if (IsMenu(reinterpret_cast<HMENU>(index))) {
            ++counts.user;
        }
    }
    return counts;
}
