#include "app/app_profile.h"
#include "engine/filter/filter_manager.h"

// Beside the profile in the core library on every platform, so that core tests share it.
CFilterManager& GetFilterManager() {
    static CFilterManager manager;
    return manager;
}

void HandEnabledFiltersToManager(const std::vector<std::string>& ids) {
    GetFilterManager().SetEnabledFilters(ids);
}

void TakeEnabledIDsFromManager(std::vector<std::string>& ids) {
    GetFilterManager().GetEnabledIDs(ids);
}

bool IsFilterLoaded(const std::string& id) {
    return GetFilterManager().FindFilter(id) != nullptr;
}
