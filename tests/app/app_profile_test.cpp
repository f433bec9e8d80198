#include "app/app_profile.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "platform/memory_settings_store.h"

#ifdef _WIN32
#include "platform/registry_store.h"
#endif

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct StoreKind {
    const char* name;
    std::function<std::unique_ptr<ISettingsStore>()> make;
};

std::vector<StoreKind> StoreKinds() {
    std::vector<StoreKind> kinds = {
        {"memory", [] { return std::make_unique<CMemorySettingsStore>(); }},
    };
#ifdef _WIN32
    // The real registry of the test prefix, emptied for every test.
    kinds.push_back({"registry", [] {
                         ::RegDeleteTreeA(HKEY_CURRENT_USER, ZezirivRegistryKey);
                         return std::make_unique<CRegistryStore>();
                     }});
#endif
    return kinds;
}

// The enabled list goes through the process's filter manager, as in the program: the default
// list's filters exist, and every load starts from an empty enabled list as start-up does.
void SetEnabledList(const std::vector<std::string>& ids) {
    CFilterManager& manager = GetFilterManager();
    manager.GetEnabledList().clear();
    for (const std::string& id : ids) {
        manager.AppendEnabled(manager.FindFilter(id));
    }
}

class AppProfileTest : public testing::TestWithParam<StoreKind> {
protected:
    static void SetUpTestSuite() {
        CFilterManager& manager = GetFilterManager();
        for (const char* id : {"protanopia", "deutanopia", "tritanoptia", "hue_gbr", "hue_brg"}) {
            if (!manager.FindFilter(id)) {
                manager.AddFilter(std::make_unique<CFilter>(id, id, ColorMap{}));
            }
        }
    }
    void SetUp() override { store = GetParam().make(); }

    CAppProfile Loaded() {
        SetEnabledList({});
        CAppProfile profile;
        profile.Load(*store);
        return profile;
    }

    std::unique_ptr<ISettingsStore> store;
};

// The desktop and quick keys, the panel height fit, the waiting and update times, the colour
// format, the task bar, the splash, the image quality, the enabled list and the saved windows
// are written by one run and read by the next end to end; these are not.
TEST_P(AppProfileTest, SaveThenLoadKeepsEverySavedValue) {
    CAppProfile p;
    p.SetDesktopPanelRect({-20, 30, 180, 430});
    p.SetWindowSimpleStatusbarInfo(true);
    p.SetWindowShowOriginalColorInfo(true);
    CWindowSetting w;
    ASSERT_TRUE(ParseSetting("4,1,0,0,0,0,1,100,120,240,180,protanopia", w));
    p.SetWindowSetting(w);
    ASSERT_TRUE(p.Save(*store));

    const CAppProfile q = Loaded();
    EXPECT_EQ(q.GetDesktopPanelRect(), (IntRect{-20, 30, 180, 430}));
    EXPECT_TRUE(q.IsWindowSimpleStatusbarInfo());
    EXPECT_TRUE(q.IsWindowShowOriginalColorInfo());
    EXPECT_EQ(FormatSetting(q.GetWindowSetting()), FormatSetting(w));
}

// The views' monitor choice and windows left of and above the primary monitor (negative
// coordinates) come back as they were saved; a flag of another number than 1 is off.
TEST_P(AppProfileTest, ViewMonitorsAndWindowsOnOtherMonitorsAreKept) {
    CAppProfile p;
    p.SetViewAllMonitors(true);
    p.SetDesktopPanelRect({-1100, -900, -900, -600});
    std::vector<CWindowSetting> windows(2);
    ASSERT_TRUE(ParseSetting("2,1,0,0,0,0,1,-1200,50,300,250,protanopia", windows[0]));
    ASSERT_TRUE(ParseSetting("3,1,0,0,0,0,1,100,-1300,400,200,hue_gbr", windows[1]));
    p.SetMultiWindowSettings(windows);
    ASSERT_TRUE(p.Save(*store));
    const CAppProfile q = Loaded();
    EXPECT_TRUE(q.IsViewAllMonitors());
    EXPECT_EQ(q.GetDesktopPanelRect(), (IntRect{-1100, -900, -900, -600}));
    ASSERT_EQ(q.GetMultiWindowSettings().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(FormatSetting(q.GetMultiWindowSettings()[i]), FormatSetting(windows[i]));
    }
    store->WriteDword("ViewAllMonitors", 2);
    EXPECT_FALSE(Loaded().IsViewAllMonitors());
}

// That the left-top origin, the copy template and the blur radius are never written is seen end
// to end (the first run writes neither of the first two; the radius is back to none in the next
// run); what the store holds for them survives a save.
TEST_P(AppProfileTest, ValuesNeverWrittenSurviveASave) {
    store->WriteDword("WindowLeftTopOrigin", 1);
    store->WriteString("CopyColorFormat", "R=%d");
    CAppProfile r = Loaded();
    r.Save(*store);
    const CAppProfile s = Loaded();
    EXPECT_TRUE(s.IsWindowLeftTopOrigin());
    EXPECT_EQ(s.GetCopyColorFormat(), "R=%d");
}

TEST_P(AppProfileTest, OutOfRangeAndOffValuesTakeDefaults) {
    store->WriteDword("NoSplash", 2);
    store->WriteDword("DesktopAdjustInitialPanelHeight", 2);
    store->WriteDword("WindowColorDisplayFormat", 7);
    store->WriteDword("ImageQuality", 19);
    store->WriteDword("WindowUnvisibleTaskBar", 0xFFFFFFFF);
    store->WriteString("DesktopPanelPosition", "5,5,5");
    const CAppProfile p = Loaded();
    EXPECT_FALSE(p.IsNoSplash());
    EXPECT_FALSE(p.IsAdjustInitialPanelHeight());
    EXPECT_EQ(p.GetWindowColorDisplayFormat(), 0u);
    EXPECT_EQ(p.GetImageQuality(), 0u);
    EXPECT_FALSE(p.IsWindowUnvisibleTaskBar());
    EXPECT_EQ(p.GetDesktopPanelRect(), (IntRect{0, 0, 200, 200}));
}

TEST_P(AppProfileTest, WrongKindsAndOversizeTextsTakeDefaults) {
    store->WriteString("NoSplash", "1");
    store->WriteString("DesktopHotKey", "5");
    store->WriteDword("DesktopPanelPosition", 5);
    store->WriteDword("EnableFilters", 1);
    store->WriteDword("CopyColorFormat", 1);
    store->WriteString("QuickHotKeys", "a,5," + std::string(4096, 'x'));
    store->WriteString("WindowSetting", "4,1,0,0,0,0,1,100,120,240,180," + std::string(5000, 'y'));
    const CAppProfile p = Loaded();
    EXPECT_FALSE(p.IsNoSplash());
    EXPECT_EQ(p.GetDesktopHotKey(), 131194u);
    EXPECT_EQ(p.GetDesktopPanelRect(), (IntRect{0, 0, 200, 200}));
    EXPECT_EQ(p.GetEnabledFilters().size(), 6u);
    EXPECT_EQ(p.GetCopyColorFormat(), "#%02XR%02XG%02XB");
    EXPECT_TRUE(p.GetQuickKeyItems().empty());
    EXPECT_EQ(p.GetWindowSetting().Zoom, 1);
}

TEST_P(AppProfileTest, TextCapacityCountsTheTerminator) {
    const std::string fits = "_normal," + std::string(4095 - 8, 'a');
    store->WriteString("EnableFilters", fits);
    EXPECT_EQ(Loaded().GetEnabledFilters().size(), 2u);
    store->WriteString("EnableFilters", fits + "b");
    EXPECT_EQ(Loaded().GetEnabledFilters().size(), 6u) << "4096 characters do not fit";
}

// The enabled list read, trimmed and handed to the manager, and the manager's list saved, are
// seen end to end (a list written before a run fills the filter dialog; OK writes the dialog's
// list); its reading is the profile values' test and its unknown IDs the manager's.
TEST_P(AppProfileTest, MultiWindowRecordsStopAtCountAtTheFirstBadOneAndAtTwenty) {
    const std::string record = "2,0,0,0,0,0,1,10,10,100,100,w";
    char name[32];
    for (int i = 1; i <= 25; ++i) {
        std::snprintf(name, sizeof name, "MultiWindowSetting_%02d", i);
        store->WriteString(name, record + std::to_string(i));
    }
    store->WriteDword("MultiWindowSettingNum", 25);
    CAppProfile p = Loaded();
    ASSERT_EQ(p.GetMultiWindowSettings().size(), 20u);
    EXPECT_EQ(p.GetMultiWindowSettings()[19].FilterID, "w20");

    store->WriteString("MultiWindowSetting_03", "2,0,0");
    p = Loaded();
    ASSERT_EQ(p.GetMultiWindowSettings().size(), 2u);
    EXPECT_EQ(p.GetMultiWindowSettings()[1].FilterID, "w2");

    // A shorter save leaves the later records in place, unread; a longer one stops at twenty.
    p.Save(*store);
    EXPECT_EQ(store->ReadDword("MultiWindowSettingNum").value_or(99), 2u);
    EXPECT_EQ(store->ReadString("MultiWindowSetting_21", 4096).value_or("?"), record + "21");
    p.SetMultiWindowSettings(std::vector<CWindowSetting>(23));
    p.Save(*store);
    EXPECT_EQ(store->ReadDword("MultiWindowSettingNum").value_or(0), 20u);
    EXPECT_NE(store->ReadString("MultiWindowSetting_20", 4096).value_or(record), record);
    EXPECT_EQ(store->ReadString("MultiWindowSetting_21", 4096).value_or("?"), record + "21");
}

// A store that refuses the n-th write (counted from 0) and takes all others.
class CRefusingStore : public CMemorySettingsStore {
public:
    explicit CRefusingStore(int refused) : m_refused(refused) {}
    bool WriteString(const char* name, const std::string& text) override {
        return Take(name) && CMemorySettingsStore::WriteString(name, text);
    }
    bool WriteDword(const char* name, std::uint32_t value) override {
        return Take(name) && CMemorySettingsStore::WriteDword(name, value);
    }
    int GetWrites() const { return m_writes; }
    const std::string& GetRefusedName() const { return m_refusedName; }

private:
    bool Take(const char* name) {
        if (m_writes++ == m_refused) {
            m_refusedName = name;
            return false;
        }
        return true;
    }
    int m_refused;
    int m_writes = 0;
    std::string m_refusedName;
};

TEST(AppProfileSaveTest, EachFailedWriteIsNamedAndTheOthersAreStillWritten) {
    CAppProfile profile;
    profile.SetMultiWindowSettings(std::vector<CWindowSetting>(2));
    CRefusingStore counting(-1);
    ASSERT_TRUE(profile.Save(counting));
    EXPECT_TRUE(profile.GetSaveFailures().empty());
    const int writes = counting.GetWrites();
    ASSERT_GE(writes, 16);
    for (int refused = 0; refused < writes; ++refused) {
        CRefusingStore store(refused);
        EXPECT_FALSE(profile.Save(store)) << refused;
        EXPECT_EQ(profile.GetSaveFailures(), std::vector<std::string>{store.GetRefusedName()});
        EXPECT_EQ(store.GetWrites(), writes);
        EXPECT_EQ(store.Values().size(), counting.Values().size() - 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, AppProfileTest, testing::ValuesIn(StoreKinds()),
                         [](const testing::TestParamInfo<StoreKind>& paramInfo) {
                             return std::string(paramInfo.param.name);
                         });

} // namespace

// The look-alike distance and the last highlighting choice go through the store; a distance
// stored as garbage, negative, huge or as a number of the wrong kind reads as the default.
TEST_P(AppProfileTest, LookAlikeDistanceAndHighlightingAreKeptAndBadDistancesAreTheDefault) {
    CAppProfile p;
    p.SetLookAlikeDistance(7.5);
    p.SetLookAlikeDistance(-1); // ignored
    p.SetWindowHighlightLookAlikes(true);
    ASSERT_TRUE(p.Save(*store));
    const CAppProfile q = Loaded();
    EXPECT_EQ(q.GetLookAlikeDistance(), 7.5);
    EXPECT_TRUE(q.IsWindowHighlightLookAlikes());

    for (const char* bad : {"garbage", "-2", "1e9", "100.1", "", " 3", "nan", "inf", "0"}) {
        store->WriteString("LookAlikeDistance", bad);
        EXPECT_EQ(Loaded().GetLookAlikeDistance(), 3.0) << bad;
    }
    store->WriteDword("LookAlikeDistance", 5);
    EXPECT_EQ(Loaded().GetLookAlikeDistance(), 3.0);
}
