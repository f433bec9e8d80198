#pragma once

#include "engine/hotkeys/hot_key_manager.h"

// The platform's global hot key service; failures are told with IDS_REGISTER_HOTKEY_FAILED.
CHotKeyPlatform& GetWin32HotKeyPlatform();
