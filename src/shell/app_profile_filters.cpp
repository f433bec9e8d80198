#include "shell/app_profile.h"

#include <utility>

namespace {
EnabledFiltersBridge& Bridge() {
    static EnabledFiltersBridge bridge;
    return bridge;
}
} // namespace

void SetEnabledFiltersBridge(EnabledFiltersBridge bridge) {
    Bridge() = std::move(bridge);
}

void HandEnabledFiltersToManager(const std::vector<std::string>& ids) {
    if (Bridge().hand) {
        Bridge().hand(ids);
    }
}

bool TakeEnabledIDsFromManager(std::vector<std::string>& ids) {
    if (!Bridge().take) {
        return false;
    }
    ids = Bridge().take();
    return true;
}
