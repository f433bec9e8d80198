#include "engine/hotkeys/hot_key_platform_win.h"

#include "platform/utilities.h"
#include "resource.h"

#include <windows.h>

namespace {

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
        ShowResourceMessage(MB_OK, IDS_REGISTER_HOTKEY_FAILED, static_cast<int>(error));
    }
};

} // namespace

CHotKeyPlatform& GetWin32HotKeyPlatform() {
    static CWin32HotKeyPlatform platform;
    return platform;
}
