#pragma once

#include "app/profile_values.h"
#include "engine/hotkeys/hot_key_manager.h"
#include "features/filter_window/window_setting.h"
#include "platform/settings_store.h"

#include <cstdint>
#include <string>
#include <vector>

class CFilterManager;

// Every user setting, in memory. Loaded once at start-up and saved at shutdown, at the end of
// the log-on session and on every OK of a setting dialog. Bounded setters ignore values out of
// range rather than clamping them.
class CAppProfile {
public:
    static constexpr std::uint32_t ColorDisplayFormatCount = 5;
    static constexpr std::uint32_t ImageQualityCount = 19;
    static constexpr std::uint32_t BlurRadiusCount = 7;
    static constexpr std::size_t MaxMultiWindowSettings = 20;

    CAppProfile() = default;
    CAppProfile(const CAppProfile&) = default;
    CAppProfile& operator=(const CAppProfile&) = default;
    virtual ~CAppProfile() = default;

    // On the process's store (the registry on Windows).
    void Load();
    bool Save();
    // Every value missing, of the wrong kind, too long or malformed takes its default.
    void Load(ISettingsStore& store);
    // Writes every value, also after one failed; false when any write failed, with the names
    // of those values in GetSaveFailures().
    bool Save(ISettingsStore& store);
    const std::vector<std::string>& GetSaveFailures() const { return m_saveFailures; }

    const IntRect& GetDesktopPanelRect() const { return m_desktopPanelRect; }
    void SetDesktopPanelRect(const IntRect& rect) { m_desktopPanelRect = rect; }
    bool IsNoSplash() const { return m_noSplash; }
    void SetNoSplash(bool on) { m_noSplash = on; }
    const std::vector<CQuickKeyItem>& GetQuickKeyItems() const { return m_quickKeyItems; }
    void SetQuickKeyItems(const std::vector<CQuickKeyItem>& items) { m_quickKeyItems = items; }
    std::uint32_t GetDesktopHotKey() const { return m_desktopHotKey; }
    void SetDesktopHotKey(std::uint32_t hotKey) { m_desktopHotKey = hotKey; }
    // The manager's desktop key and quick keys (into memory, not into the store); the quick
    // keys of filters that did not load at this start stay where they were.
    void SetHotKeys(const CHotKeyManager& hotKeys);
    bool IsAdjustInitialPanelHeight() const { return m_adjustInitialPanelHeight; }
    void SetAdjustInitialPanelHeight(bool on) { m_adjustInitialPanelHeight = on; }
    std::uint32_t GetQuickWaitingTime() const { return m_quickWaitingTime; }
    void SetQuickWaitingTime(std::uint32_t ms) { m_quickWaitingTime = ms; }
    const std::vector<std::string>& GetEnabledFilters() const { return m_enabledFilters; }
    void SetEnabledFilters(const std::vector<std::string>& ids) { m_enabledFilters = ids; }
    // The stored enabled IDs whose filters did not load at this start. Their places in the
    // enabled list and their quick keys are written back by every save until the user forgets
    // them; IDs left out of `ids` are forgotten, with their quick keys.
    const std::vector<std::string>& GetMissingFilters() const { return m_missingFilters; }
    void SetMissingFilters(const std::vector<std::string>& ids);
    std::uint32_t GetWindowUpdateInterval() const { return m_windowUpdateInterval; }
    void SetWindowUpdateInterval(std::uint32_t ms) { m_windowUpdateInterval = ms; }
    std::uint32_t GetWindowColorDisplayFormat() const {
        return m_windowColorDisplayFormat < ColorDisplayFormatCount ? m_windowColorDisplayFormat
                                                                    : 0;
    }
    void SetWindowColorDisplayFormat(std::uint32_t format) {
        if (format < ColorDisplayFormatCount) {
            m_windowColorDisplayFormat = format;
        }
    }
    bool IsWindowUnvisibleTaskBar() const { return m_windowUnvisibleTaskBar; }
    void SetWindowUnvisibleTaskBar(bool on) { m_windowUnvisibleTaskBar = on; }
    bool IsWindowSimpleStatusbarInfo() const { return m_windowSimpleStatusbarInfo; }
    void SetWindowSimpleStatusbarInfo(bool on) { m_windowSimpleStatusbarInfo = on; }
    bool IsWindowShowOriginalColorInfo() const { return m_windowShowOriginalColorInfo; }
    void SetWindowShowOriginalColorInfo(bool on) { m_windowShowOriginalColorInfo = on; }
    bool IsWindowLeftTopOrigin() const { return m_windowLeftTopOrigin; }
    void SetWindowLeftTopOrigin(bool on) { m_windowLeftTopOrigin = on; }
    const CWindowSetting& GetWindowSetting() const { return m_windowSetting; }
    void SetWindowSetting(const CWindowSetting& setting) { m_windowSetting = setting; }
    const std::vector<CWindowSetting>& GetMultiWindowSettings() const {
        return m_multiWindowSettings;
    }
    void SetMultiWindowSettings(const std::vector<CWindowSetting>& settings) {
        m_multiWindowSettings = settings;
    }
    const std::string& GetCopyColorFormat() const { return m_copyColorFormat; }
    void SetCopyColorFormat(const std::string& format) { m_copyColorFormat = format; }
    std::uint32_t GetImageQuality() const { return m_imageQuality; }
    void SetImageQuality(std::uint32_t quality) {
        if (quality < ImageQualityCount) {
            m_imageQuality = quality;
        }
    }
    // The quick and desktop views cover every monitor rather than the one under the pointer.
    bool IsViewAllMonitors() const { return m_viewAllMonitors; }
    void SetViewAllMonitors(bool on) { m_viewAllMonitors = on; }
    std::uint32_t GetBlurRadius() const { return m_blurRadius; }
    void SetBlurRadius(std::uint32_t radius) {
        if (radius < BlurRadiusCount) {
            m_blurRadius = radius;
        }
    }

    double GetLookAlikeDistance() const { return m_lookAlikeDistance; }
    // Distances outside 0.1..100 are ignored.
    void SetLookAlikeDistance(double distance);
    // The last choice of look-alike highlighting, which new filter windows start with.
    bool IsWindowHighlightLookAlikes() const { return m_windowHighlightLookAlikes; }
    void SetWindowHighlightLookAlikes(bool on) { m_windowHighlightLookAlikes = on; }

private:
    friend struct ProfileValueTable;

    IntRect m_desktopPanelRect;
    bool m_noSplash = false;
    std::vector<CQuickKeyItem> m_quickKeyItems;
    std::uint32_t m_desktopHotKey = 0;
    bool m_adjustInitialPanelHeight = true;
    std::uint32_t m_quickWaitingTime = 1000;
    std::vector<std::string> m_enabledFilters;
    std::uint32_t m_windowUpdateInterval = 100;
    std::uint32_t m_windowColorDisplayFormat = 0;
    bool m_windowUnvisibleTaskBar = false;
    bool m_windowSimpleStatusbarInfo = false;
    bool m_windowShowOriginalColorInfo = false;
    bool m_windowLeftTopOrigin = false;
    bool m_viewAllMonitors = false;
    CWindowSetting m_windowSetting;
    std::vector<CWindowSetting> m_multiWindowSettings;
    std::string m_copyColorFormat;
    std::uint32_t m_imageQuality = 0;
    std::uint32_t m_blurRadius = 0;
    double m_lookAlikeDistance = 3.0;
    std::string m_lookAlikeDistanceText; // as stored; read into m_lookAlikeDistance
    bool m_windowHighlightLookAlikes = false;
    std::vector<std::string> m_missingFilters;
    std::vector<std::string> m_saveFailures;
};

CAppProfile& GetAppProfile();
// The process's filters. Only the application reaches them this way; everything below is
// handed them.
CFilterManager& GetFilterManager();

// The enabled list crosses to the filter manager here and nowhere else: on load the profile's
// IDs go to the manager (which drops unknown ones and makes sure "_normal" is there), on save
// the manager's current list replaces the profile's.
void HandEnabledFiltersToManager(const std::vector<std::string>& ids);
void TakeEnabledIDsFromManager(std::vector<std::string>& ids);
// Whether the manager loaded a filter of that ID at this start.
bool IsFilterLoaded(const std::string& id);
