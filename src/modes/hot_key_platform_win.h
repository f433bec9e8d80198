#pragma once

#include "modes/hot_key_manager.h"

// The platform's global hot key service; failures are told with string 41000.
CHotKeyPlatform& GetWin32HotKeyPlatform();
