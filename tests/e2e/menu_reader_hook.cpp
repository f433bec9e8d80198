// A hook library that the test driver places into zeziriv.exe to read an open popup menu
// there: menus cannot be read from another process. The driver sends the registered message
// "ZezirivE2EReadMenu" to the menu window with its own window in wParam; the hook answers with
// WM_COPYDATA: one line per item, "depth\ttext\tid\tgrayed".
#include <windows.h>

#include <string>

namespace {

void DescribeMenu(HMENU menu, int depth, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            text[0] = '\0';
        }
        out += std::to_string(depth) + "\t" + text;
        out += "\t" + std::to_string(info.wID) + "\t" + ((info.fState & MFS_GRAYED) ? "1" : "0") +
               "\n";
        if (info.hSubMenu != nullptr) {
            DescribeMenu(info.hSubMenu, depth + 1, out);
        }
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ReadMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT readMenu = RegisterWindowMessageA("ZezirivE2EReadMenu");
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == readMenu) {
            std::string description;
            const auto menu = reinterpret_cast<HMENU>(SendMessageA(call->hwnd, MN_GETHMENU, 0, 0));
            if (menu != nullptr) {
                DescribeMenu(menu, 0, description);
            }
            COPYDATASTRUCT data{};
            data.dwData = 1;
            data.cbData = static_cast<DWORD>(description.size());
            data.lpData = description.data();
            SendMessageA(reinterpret_cast<HWND>(call->wParam), WM_COPYDATA,
                         reinterpret_cast<WPARAM>(call->hwnd), reinterpret_cast<LPARAM>(&data));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
