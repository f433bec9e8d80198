// The process's profile and store. Compiled into the Win32 library on Windows (the registry)
// and into the core elsewhere (memory), so that core tests never pull in the registry.

#include "app/app_profile.h"

#ifdef _WIN32
#include "platform/registry_store.h"
#else
#include "platform/memory_settings_store.h"
#endif

ISettingsStore& GetSettingsStore() {
#ifdef _WIN32
    static CRegistryStore store;
#else
    static CMemorySettingsStore store;
#endif
    return store;
}

CAppProfile& GetAppProfile() {
    static CAppProfile profile;
    return profile;
}

void CAppProfile::Load() {
    Load(GetSettingsStore());
}

bool CAppProfile::Save() {
    return Save(GetSettingsStore());
}
