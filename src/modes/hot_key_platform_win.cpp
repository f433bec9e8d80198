#include "modes/hot_key_platform_win.h"

#include "shell/utilities.h"

#include <windows.h>

namespace {

constexpr UINT kRegisterHotKeyFailedString = 41000;

class CWin32HotKeyPlatform : public CHotKeyPlatform {
public:
    bool Register(HotKeyWindow window, int id, unsigned modifiers, unsigned key,
                  unsigned long& error) override {
        if (RegisterHotKey(static_cast<HWND>(window), id, modifiers, key)) {
            error = 0;
            return true;
        }
        error = GetLastError();
        return false;
    }

    void Unregister(HotKeyWindow window, int id) override {
        UnregisterHotKey(static_cast<HWND>(window), id);
    }

    void ReportRegisterFailure(unsigned long error) override {
        ShowResourceMessage(MB_OK, kRegisterHotKeyFailedString, static_cast<int>(error));
    }
};

} // namespace

CHotKeyPlatform& GetWin32HotKeyPlatform() {
    static CWin32HotKeyPlatform platform;
    return platform;
}
