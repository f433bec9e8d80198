#include "platform/resource_modules.h"

#include "platform/message_loop.h"
#include "platform/utilities.h"

namespace {
// RT_DIALOG in its 8-bit form, whatever the build's character set.
const LPCSTR kDialogResourceType = MAKEINTRESOURCEA(5);
} // namespace

HINSTANCE GetExecutableModule() {
    const HINSTANCE instance = GetAppModule().GetInstance();
    return instance != nullptr ? instance : GetModuleHandleA(nullptr);
}

HINSTANCE GetDialogTemplateModule(int templateId) {
    HMODULE library = GetResourceModule();
    if (library != nullptr &&
        FindResourceA(library, MAKEINTRESOURCEA(templateId), kDialogResourceType) != nullptr) {
        return library;
    }
    return GetExecutableModule();
}

HMENU LoadResourceMenu(int menuId) {
    HMENU menu = nullptr;
    if (HMODULE library = GetResourceModule()) {
        menu = LoadMenuA(library, MAKEINTRESOURCEA(menuId));
    }
    if (menu == nullptr) {
        menu = LoadMenuA(GetExecutableModule(), MAKEINTRESOURCEA(menuId));
    }
    return menu;
}
