#include "app/app_profile.h"
#include "engine/filter/filter_manager.h"

void HandEnabledFiltersToManager(const std::vector<std::string>& ids) {
    GetFilterManager().SetEnabledFilters(ids);
}

void TakeEnabledIDsFromManager(std::vector<std::string>& ids) {
    GetFilterManager().GetEnabledIDs(ids);
}
