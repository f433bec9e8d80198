#pragma once

#include <windows.h>

// Where the program's user-interface resources come from: the language library first, the
// executable as the fallback (icons and bitmaps always from the executable).

// The executable's module (the running process's, also where no application module is set).
HINSTANCE GetExecutableModule();
// The module whose template the program uses for a dialog: the language library when it holds
// one, otherwise the executable.
HINSTANCE GetDialogTemplateModule(int templateId);
// A menu from the language library, or the executable's when the library lacks it; null when
// neither has it. The caller destroys it.
HMENU LoadResourceMenu(int menuId);
