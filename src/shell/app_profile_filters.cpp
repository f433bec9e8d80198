#include "filter/filter_manager.h"
#include "shell/app_profile.h"

void HandEnabledFiltersToManager(const std::vector<std::string>& ids) {
    GetFilterManager().SetEnabledFilters(ids);
}

void TakeEnabledIDsFromManager(std::vector<std::string>& ids) {
    GetFilterManager().GetEnabledIDs(ids);
}
