#include "features/dialogs/filter_setting_model.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "features/dialogs/general_setting_values.h"
#include "resource.h"

#include <algorithm>
#include <array>

namespace {

unsigned char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

bool Contains(const std::vector<CFilter*>& list, const CFilter* filter) {
    return std::find(list.begin(), list.end(), filter) != list.end();
}

} // namespace

bool DisplayNameBeforeIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char l, char r) { return FoldCase(l) < FoldCase(r); });
}

CFilterSettingModel::CFilterSettingModel(const CFilterManager& filters,
                                         const CHotKeyManager& hotKeys, DisplayNameOrder order,
                                         std::vector<std::string> missing)
    : m_filters(filters), m_order(order), m_enabled(filters.GetEnabledList()), m_hotKeys(hotKeys),
      m_missing(std::move(missing)) {
    Refresh(true);
}

CFilter* CFilterSettingModel::GetSelectedFilter() const {
    if (m_selection < 0 || m_selection >= static_cast<int>(m_enabled.size())) {
        return nullptr;
    }
    return m_enabled[static_cast<std::size_t>(m_selection)];
}

std::string CFilterSettingModel::GetSelectedID() const {
    const CFilter* filter = GetSelectedFilter();
    return filter != nullptr ? filter->GetID() : std::string();
}

std::string CFilterSettingModel::GetSelectedName() const {
    const CFilter* filter = GetSelectedFilter();
    return filter != nullptr ? filter->GetDisplayName() : std::string();
}

FilterSettingButtons CFilterSettingModel::GetButtons() const {
    FilterSettingButtons buttons;
    const CFilter* selected = GetSelectedFilter();
    const int count = static_cast<int>(m_enabled.size());
    if (selected != nullptr) {
        buttons.up = m_selection > 0;
        buttons.down = m_selection < count - 1;
        buttons.disable = !selected->IsIdentity();
        buttons.enable = !m_disabledSelection.empty();
    } else {
        // Offered whenever some filter is not enabled, though with nothing picked in the
        // disabled list it has nothing to do.
        buttons.enable = m_filters.GetFilterCount() - count >= 1;
    }
    return buttons;
}

FilterSettingFocus
CFilterSettingModel::MoveFocusOffUnavailable(FilterSettingFocus focus,
                                             const FilterSettingButtons& buttons) {
    constexpr std::array<FilterSettingFocus, 5> chain = {
        FilterSettingFocus::Up, FilterSettingFocus::Down, FilterSettingFocus::Disable,
        FilterSettingFocus::Enable, FilterSettingFocus::DisabledList};
    const auto available = [&buttons](FilterSettingFocus f) {
        switch (f) {
        case FilterSettingFocus::Up:
            return buttons.up;
        case FilterSettingFocus::Down:
            return buttons.down;
        case FilterSettingFocus::Disable:
            return buttons.disable;
        case FilterSettingFocus::Enable:
            return buttons.enable;
        case FilterSettingFocus::DisabledList:
            return true;
        }
        return true;
    };
    auto it = std::find(chain.begin(), chain.end(), focus);
    while (!available(*it)) {
        ++it;
    }
    return *it;
}

void CFilterSettingModel::SelectEnabled(int index) {
    m_selection = index >= 0 && index < static_cast<int>(m_enabled.size()) ? index : -1;
    Refresh(false);
}

void CFilterSettingModel::SelectDisabled(const std::vector<CFilter*>& selected) {
    m_disabledSelection.clear();
    for (CFilter* filter : m_disabled) {
        if (Contains(selected, filter)) {
            m_disabledSelection.push_back(filter);
        }
    }
    Refresh(false);
}

void CFilterSettingModel::MoveUp() {
    if (GetSelectedFilter() == nullptr || m_selection == 0) {
        return;
    }
    const auto at = static_cast<std::size_t>(m_selection);
    std::swap(m_enabled[at], m_enabled[at - 1]);
    --m_selection;
    Refresh(false);
}

void CFilterSettingModel::MoveDown() {
    if (GetSelectedFilter() == nullptr || m_selection + 1 >= static_cast<int>(m_enabled.size())) {
        return;
    }
    const auto at = static_cast<std::size_t>(m_selection);
    std::swap(m_enabled[at], m_enabled[at + 1]);
    ++m_selection;
    Refresh(false);
}

void CFilterSettingModel::Enable() {
    if (m_disabledSelection.empty()) {
        return;
    }
    m_enabled.insert(m_enabled.end(), m_disabledSelection.begin(), m_disabledSelection.end());
    Refresh(true);
}

void CFilterSettingModel::Disable() {
    CFilter* selected = GetSelectedFilter();
    // The identity filter is always enabled: every view can fall back on it.
    if (selected == nullptr || selected->IsIdentity()) {
        return;
    }
    m_hotKeys.SetQuickHotKey(selected, 0);
    m_enabled.erase(m_enabled.begin() + m_selection);
    m_hotKeyWord = 0;
    Refresh(true);
}

bool CFilterSettingModel::Confirm(unsigned& message) {
    if (m_bound != nullptr) {
        m_hotKeys.SetQuickHotKeyFromControl(m_bound, m_hotKeyWord);
    }
    if (m_hotKeys.CheckHotKeyLimit(message) || m_hotKeys.CheckHotKeyConflict(message)) {
        return false;
    }
    // The list is stored as its IDs with a comma between two and read back through a buffer of
    // fixed size; a longer list would come back as the default list at the next start.
    std::size_t length = 0; // each ID and the comma or terminating zero after it
    for (const CFilter* filter : m_enabled) {
        length += filter->GetID().size() + 1;
    }
    for (const std::string& id : m_missing) {
        length += id.size() + 1;
    }
    if (length > kSettingsTextCapacity) {
        message = IDS_TOO_MANY_FILTERS;
        return false;
    }
    return true;
}

void CFilterSettingModel::ApplyEnabledList(CFilterManager& filters) const {
    filters.GetEnabledList() = m_enabled;
}

void CFilterSettingModel::RebuildDisabled() {
    m_disabled.clear();
    for (CFilter* filter : m_filters.GetAllFilters()) {
        if (!filter->IsVisible()) {
            continue;
        }
        const bool enabled =
            std::any_of(m_enabled.begin(), m_enabled.end(), [filter](const CFilter* e) {
                return EqualsIgnoreCase(e->GetID(), filter->GetID());
            });
        if (!enabled) {
            m_disabled.push_back(filter);
        }
    }
    std::stable_sort(m_disabled.begin(), m_disabled.end(),
                     [this](const CFilter* a, const CFilter* b) {
                         return m_order(a->GetDisplayName(), b->GetDisplayName());
                     });
    m_disabledSelection.clear();
}

void CFilterSettingModel::Refresh(bool refill) {
    if (refill) {
        const int count = static_cast<int>(m_enabled.size());
        m_selection = count == 0 ? -1 : std::clamp(m_selection, 0, count - 1);
        RebuildDisabled();
    }
    // The key in the control belongs to the filter it was loaded for, and is stored for it on
    // every refresh, which moves that filter's quick key to the end of the list.
    if (m_bound != nullptr) {
        m_hotKeys.SetQuickHotKeyFromControl(m_bound, m_hotKeyWord);
    }
    CFilter* selected = GetSelectedFilter();
    if (selected != m_bound) {
        m_hotKeyWord = HotKeyControlWord(m_hotKeys.GetQuickHotKeyForControl(selected));
        m_bound = selected;
    }
}
