#include "app/app_profile.h"

#include "engine/image/look_alike.h"

#include <algorithm>
#include <cstdio>
#include <variant>

namespace {
constexpr std::uint32_t DefaultDesktopHotKey = 131194; // Control + F11
constexpr const char* DefaultPanelPosition = "0,0,200,200";
constexpr const char* DefaultCopyColorFormat = "#%02XR%02XG%02XB";

std::string MultiWindowValueName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "MultiWindowSetting_%02d", static_cast<int>(index));
    return name;
}
} // namespace

// The values that are a single number, flag or plain text: one row each gives the name, the
// kind, the default and the field, and drives both Load and Save.
struct ProfileValueTable {
    enum class Kind { Flag, Number, Text };
    using Field =
        std::variant<bool CAppProfile::*, std::uint32_t CAppProfile::*, std::string CAppProfile::*>;

    struct Row {
        const char* name;
        Kind kind;
        std::uint32_t defaultNumber; // a flag is on only when the stored number is exactly 1
        const char* defaultText;
        std::uint32_t limit; // numbers of this or above take the default; 0: any number
        bool saved;          // some values are only ever set outside the program
        Field field;
    };

    static const std::vector<Row>& Rows() {
        using P = CAppProfile;
        static const std::vector<Row> rows = {
            {"NoSplash", Kind::Flag, 0xFFFFFFFF, nullptr, 0, true, &P::m_noSplash},
            {"DesktopHotKey", Kind::Number, DefaultDesktopHotKey, nullptr, 0, true,
             &P::m_desktopHotKey},
            {"DesktopAdjustInitialPanelHeight", Kind::Flag, 1, nullptr, 0, true,
             &P::m_adjustInitialPanelHeight},
            {"QuickWaitingTime", Kind::Number, 1000, nullptr, 0, true, &P::m_quickWaitingTime},
            {"WindowUpdateInterval", Kind::Number, 100, nullptr, 0, true,
             &P::m_windowUpdateInterval},
            {"WindowColorDisplayFormat", Kind::Number, 0, nullptr, P::ColorDisplayFormatCount, true,
             &P::m_windowColorDisplayFormat},
            {"WindowUnvisibleTaskBar", Kind::Flag, 0, nullptr, 0, true,
             &P::m_windowUnvisibleTaskBar},
            {"WindowSimpleStatusbarInfo", Kind::Flag, 0, nullptr, 0, true,
             &P::m_windowSimpleStatusbarInfo},
            {"WindowShowOriginalColorInfo", Kind::Flag, 0, nullptr, 0, true,
             &P::m_windowShowOriginalColorInfo},
            {"WindowLeftTopOrigin", Kind::Flag, 0, nullptr, 0, false, &P::m_windowLeftTopOrigin},
            {"CopyColorFormat", Kind::Text, 0, DefaultCopyColorFormat, 0, false,
             &P::m_copyColorFormat},
            {"ImageQuality", Kind::Number, 0, nullptr, P::ImageQualityCount, true,
             &P::m_imageQuality},
            {"LookAlikeDistance", Kind::Text, 0, "3.0", 0, true, &P::m_lookAlikeDistanceText},
            {"WindowHighlightLookAlikes", Kind::Flag, 0, nullptr, 0, true,
             &P::m_windowHighlightLookAlikes},
            {"ViewAllMonitors", Kind::Flag, 0, nullptr, 0, true, &P::m_viewAllMonitors},
        };
        return rows;
    }

    static void Load(CAppProfile& profile, ISettingsStore& store, const Row& row) {
        switch (row.kind) {
        case Kind::Flag: {
            const std::uint32_t value = store.ReadDword(row.name).value_or(row.defaultNumber);
            profile.*std::get<bool CAppProfile::*>(row.field) = value == 1;
            break;
        }
        case Kind::Number: {
            std::uint32_t value = store.ReadDword(row.name).value_or(row.defaultNumber);
            if (row.limit != 0 && value >= row.limit) {
                value = row.defaultNumber;
            }
            profile.*std::get<std::uint32_t CAppProfile::*>(row.field) = value;
            break;
        }
        case Kind::Text:
            profile.*std::get<std::string CAppProfile::*>(row.field) =
                store.ReadString(row.name, kSettingsTextCapacity).value_or(row.defaultText);
            break;
        }
    }

    // True when written (or never written).
    static bool Save(const CAppProfile& profile, ISettingsStore& store, const Row& row) {
        if (!row.saved) {
            return true;
        }
        switch (row.kind) {
        case Kind::Flag:
            return store.WriteDword(row.name,
                                    profile.*std::get<bool CAppProfile::*>(row.field) ? 1 : 0);
        case Kind::Number:
            return store.WriteDword(row.name,
                                    profile.*std::get<std::uint32_t CAppProfile::*>(row.field));
        case Kind::Text:
            return store.WriteString(row.name,
                                     profile.*std::get<std::string CAppProfile::*>(row.field));
        }
        return true;
    }
};

void CAppProfile::Load(ISettingsStore& store) {
    const auto readText = [&store](const char* name, const char* fallback) {
        return store.ReadString(name, kSettingsTextCapacity).value_or(fallback);
    };

    if (!ParsePanelPosition(readText("DesktopPanelPosition", DefaultPanelPosition),
                            m_desktopPanelRect)) {
        m_desktopPanelRect = IntRect{0, 0, 200, 200};
    }
    m_quickKeyItems = ParseQuickHotKeys(readText("QuickHotKeys", ""));
    const std::string enabledText = readText("EnableFilters", "");
    m_enabledFilters = ParseEnabledFilterList(enabledText);
    HandEnabledFiltersToManager(m_enabledFilters);
    // Only a list the user stored is kept whole: of the default list, what is there is used.
    m_missingFilters.clear();
    for (const std::string& id :
         enabledText.empty() ? std::vector<std::string>{} : m_enabledFilters) {
        if (!IsFilterLoaded(id) && !ContainsID(m_missingFilters, id)) {
            m_missingFilters.push_back(id);
        }
    }

    for (const auto& row : ProfileValueTable::Rows()) {
        ProfileValueTable::Load(*this, store, row);
    }
    m_lookAlikeDistance = ParseLookAlikeDistance(m_lookAlikeDistanceText);

    ParseSetting(readText("WindowSetting", ""), m_windowSetting);

    const std::size_t count = std::min<std::size_t>(
        store.ReadDword("MultiWindowSettingNum").value_or(0), MaxMultiWindowSettings);
    m_multiWindowSettings.clear();
    for (std::size_t i = 1; i <= count; ++i) {
        CWindowSetting setting;
        if (!ParseSetting(readText(MultiWindowValueName(i).c_str(), ""), setting)) {
            break;
        }
        m_multiWindowSettings.push_back(setting);
    }
}

void CAppProfile::SetLookAlikeDistance(double distance) {
    if (IsValidLookAlikeDistance(distance)) {
        m_lookAlikeDistance = distance;
    }
}

void CAppProfile::SetHotKeys(const CHotKeyManager& hotKeys) {
    m_desktopHotKey = hotKeys.GetDesktopHotKey();
    m_quickKeyItems =
        KeepMissingQuickKeys(m_quickKeyItems, hotKeys.GetQuickKeyItems(), m_missingFilters);
}

void CAppProfile::SetMissingFilters(const std::vector<std::string>& ids) {
    std::vector<std::string> gone;
    for (const std::string& id : m_missingFilters) {
        if (!ContainsID(ids, id)) {
            gone.push_back(id);
        }
    }
    const auto forgotten = [&gone](const std::string& id) { return ContainsID(gone, id); };
    std::erase_if(m_missingFilters, forgotten);
    std::erase_if(m_enabledFilters, forgotten);
    std::erase_if(m_quickKeyItems,
                  [&forgotten](const CQuickKeyItem& item) { return forgotten(item.GetID()); });
}

bool CAppProfile::Save(ISettingsStore& store) {
    std::vector<std::string> enabled;
    TakeEnabledIDsFromManager(enabled);
    m_enabledFilters = KeepMissingIDs(m_enabledFilters, enabled, m_missingFilters);

    m_saveFailures.clear();
    const auto check = [this](bool written, const std::string& name) {
        if (!written) {
            m_saveFailures.push_back(name);
        }
    };
    check(store.WriteString("DesktopPanelPosition", FormatPanelPosition(m_desktopPanelRect)),
          "DesktopPanelPosition");
    check(store.WriteString("QuickHotKeys", FormatQuickHotKeys(m_quickKeyItems)), "QuickHotKeys");
    check(store.WriteString("EnableFilters", FormatEnabledFilterList(m_enabledFilters)),
          "EnableFilters");

    m_lookAlikeDistanceText = FormatLookAlikeDistance(m_lookAlikeDistance);
    for (const auto& row : ProfileValueTable::Rows()) {
        check(ProfileValueTable::Save(*this, store, row), row.name);
    }

    check(store.WriteString("WindowSetting", FormatSetting(m_windowSetting)), "WindowSetting");
    const std::size_t count = std::min(m_multiWindowSettings.size(), MaxMultiWindowSettings);
    check(store.WriteDword("MultiWindowSettingNum", static_cast<std::uint32_t>(count)),
          "MultiWindowSettingNum");
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string name = MultiWindowValueName(i);
        check(store.WriteString(name.c_str(), FormatSetting(m_multiWindowSettings[i - 1])), name);
    }
    return m_saveFailures.empty();
}
