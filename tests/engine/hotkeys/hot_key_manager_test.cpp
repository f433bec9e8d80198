#include "engine/hotkeys/hot_key_manager.h"

#include "app/app_profile.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr HotKeyValue kCtrlF11 = 0x2007A;

// Records what the manager asks of the platform; keys listed in `refuse` fail with `errorCode`.
class CRecordingPlatform : public CHotKeyPlatform {
public:
    struct Call {
        bool registering;
        int id;
        unsigned modifiers;
        unsigned key;
        bool operator==(const Call&) const = default;
    };

    bool Register(HotKeyWindow, int id, unsigned modifiers, unsigned key,
                  unsigned long& error) override {
        calls.push_back({true, id, modifiers, key});
        for (HotKeyValue refused : refuse) {
            if (refused == ((modifiers << 16) | key)) {
                error = errorCode;
                return false;
            }
        }
        return true;
    }
    void Unregister(HotKeyWindow, int id) override { calls.push_back({false, id, 0, 0}); }
    void ReportRegisterFailure(unsigned long error) override { reports.push_back(error); }

    std::vector<HotKeyValue> refuse;
    unsigned long errorCode = 1409;
    std::vector<Call> calls;
    std::vector<unsigned long> reports;
};

// Filters live in the process-wide manager for the whole test run; each test enables its own.
CFilter* TestFilter(const std::string& id) {
    CFilterManager& manager = GetFilterManager();
    if (CFilter* existing = manager.FindFilter(id)) {
        return existing;
    }
    ColorMap colors{};
    manager.AddFilter(std::make_unique<CFilter>(id, "display " + id, colors));
    return manager.FindFilter(id);
}

void EnableOnly(const std::vector<CFilter*>& filters) {
    CFilterManager& manager = GetFilterManager();
    manager.GetEnabledList().clear();
    for (CFilter* filter : filters) {
        manager.AppendEnabled(filter);
    }
}

class HotKeyManagerTest : public ::testing::Test {
protected:
    void SetUp() override { SetHotKeyPlatform(&platform); }
    void TearDown() override { SetHotKeyPlatform(nullptr); }

    CRecordingPlatform platform;
    HotKeyWindow window = reinterpret_cast<HotKeyWindow>(0x1234);
};

} // namespace

TEST(HotKeyConversion, ControlWordsAndHotKeyValues) {
    struct Case {
        unsigned controlWord;
        HotKeyValue value;
    };
    const Case cases[] = {
        {0x0641, 0x00030041}, // Control + Alt + A
        {0x017A, 0x0004007A}, // Shift + F11
        {0x027A, kCtrlF11},   // the default desktop hot key
        {0x0841, 0x00080041}, // extended flag ↔ Windows-key modifier
        {0x0F20, 0x000F0020}, // all four
        {0x0000, 0x00000000},
        // On an extended key the flag names the key, it is no modifier.
        {0x0A26, 0x00020026}, // Control + Up
        {0x0D2E, 0x0005002E}, // Alt + Shift + Delete
        {0x0821, 0x00000021}, // Page Up
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.controlWord);
        EXPECT_EQ(HotKeyFromControlWord(c.controlWord), c.value);
        EXPECT_EQ(ControlWordFromHotKey(c.value), c.controlWord);
    }
    // Unknown flag bits are dropped in both directions.
    EXPECT_EQ(HotKeyFromControlWord(0x3041), 0x41u);
    EXPECT_EQ(ControlWordFromHotKey(0x00110041), 0x0441u);
    // Typed without the flag (as from the keypad), an extended key reads the same.
    EXPECT_EQ(HotKeyFromControlWord(0x0226), 0x00020026u);
    // The Windows key cannot be shown on an extended key, so it is not kept there.
    EXPECT_EQ(ControlWordFromHotKey(0x000A0026), 0x0A26u);
    // Only the low byte of a key reaches the control.
    EXPECT_EQ(ControlWordFromHotKey(0x00020141), 0x0241u);
}

TEST_F(HotKeyManagerTest, SettingAKeyMovesItsEntryToTheEndAndZeroRemovesIt) {
    CFilter* a = TestFilter("hk_move_a");
    CFilter* b = TestFilter("hk_move_b");
    CFilter* c = TestFilter("hk_move_c");
    CHotKeyManager keys;
    keys.SetQuickHotKey(a, 0x20041);
    keys.SetQuickHotKey(b, 0x20042);
    keys.SetQuickHotKey(c, 0x20043);
    keys.SetQuickHotKey(a, 0x20041); // unchanged value, still moved
    ASSERT_EQ(keys.GetQuickKeys().size(), 3u);
    EXPECT_EQ(keys.GetQuickFilterAt(0), b);
    EXPECT_EQ(keys.GetQuickFilterAt(1), c);
    EXPECT_EQ(keys.GetQuickFilterAt(2), a);

    keys.SetQuickHotKey(c, 0);
    keys.SetQuickHotKey(nullptr, 0x20044);
    ASSERT_EQ(keys.GetQuickKeys().size(), 2u);
    EXPECT_EQ(keys.GetQuickFilterAt(1), a);
    EXPECT_EQ(keys.GetQuickHotKey(c), 0u);
    EXPECT_EQ(keys.GetQuickFilterAt(2), nullptr);
    EXPECT_EQ(keys.GetQuickFilterAt(-1), nullptr);
}

TEST_F(HotKeyManagerTest, LimitAndConflictChecks) {
    std::vector<CFilter*> filters;
    for (int i = 0; i < 11; ++i) {
        filters.push_back(TestFilter("hk_limit_" + std::to_string(i)));
    }
    CHotKeyManager keys;
    keys.SetDesktopHotKey(kCtrlF11);
    for (int i = 0; i < 10; ++i) {
        keys.SetQuickHotKey(filters[i], 0x20030 + i);
    }
    std::string error;
    EXPECT_FALSE(keys.CheckHotKeyLimit(error));
    EXPECT_FALSE(keys.CheckHotKeyConflict(error));
    EXPECT_EQ(error, "");

    // The eleventh entry repeats a key: both rules break, and the limit has its own text.
    keys.SetQuickHotKey(filters[10], 0x20030);
    EXPECT_TRUE(keys.CheckHotKeyLimit(error));
    EXPECT_EQ(error, "Error: Hotkey limit exceeded. (MAX: 10)");
    EXPECT_TRUE(keys.CheckHotKeyConflict(error));
    EXPECT_EQ(error, "Error: Hotkey conflict.");

    struct Case {
        const char* name;
        HotKeyValue desktop, first, second;
        bool conflict;
    };
    const Case cases[] = {
        {"quick key equals desktop key", kCtrlF11, kCtrlF11, 0x20041, true},
        {"two equal quick keys", kCtrlF11, 0x20041, 0x20041, true},
        {"same key, other modifiers", kCtrlF11, 0x20041, 0x30041, false},
        {"same modifiers, other key", 0x2007B, 0x2007A, 0x20041, false},
        {"no desktop key", 0, 0x20041, 0x20042, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHotKeyManager pair;
        pair.SetDesktopHotKey(c.desktop);
        pair.SetQuickHotKey(filters[0], c.first);
        pair.SetQuickHotKey(filters[1], c.second);
        error.clear();
        EXPECT_EQ(pair.CheckHotKeyConflict(error), c.conflict);
        EXPECT_EQ(error, c.conflict ? "Error: Hotkey conflict." : "");
    }
}

TEST_F(HotKeyManagerTest, DesktopKeyRegistrationAndItsFailure) {
    CHotKeyManager keys;
    keys.RegisterDesktopHotKey(window); // no key: nothing asked
    EXPECT_TRUE(platform.calls.empty());

    keys.SetDesktopHotKey(kCtrlF11);
    EXPECT_TRUE(keys.RegisterDesktopHotKey(window));
    EXPECT_TRUE(keys.IsDesktopHotKeyRegistered());
    keys.UnregisterDesktopHotKey(window);
    keys.UnregisterDesktopHotKey(window); // already unregistered: not asked again
    using Call = CRecordingPlatform::Call;
    EXPECT_EQ(platform.calls, (std::vector<Call>{{true, 100, 2, 0x7A}, {false, 100, 0, 0}}));
    EXPECT_TRUE(platform.reports.empty());

    // Held by another program: one report with the platform's code, and the key is gone.
    platform.calls.clear();
    platform.refuse = {kCtrlF11};
    EXPECT_TRUE(keys.RegisterDesktopHotKey(window));
    EXPECT_FALSE(keys.IsDesktopHotKeyRegistered());
    EXPECT_EQ(keys.GetDesktopHotKey(), 0u);
    EXPECT_EQ(platform.reports, (std::vector<unsigned long>{1409}));
    keys.UnregisterDesktopHotKey(window);
    keys.RegisterDesktopHotKey(window);
    EXPECT_EQ(platform.calls.size(), 1u);
}

TEST_F(HotKeyManagerTest, QuickKeysRegisterByPositionAndFailuresKeepTheirKeys) {
    CFilter* a = TestFilter("hk_reg_a");
    CFilter* b = TestFilter("hk_reg_b");
    CFilter* c = TestFilter("hk_reg_c");
    CHotKeyManager keys;
    keys.SetQuickHotKey(a, 0x10041);
    keys.SetQuickHotKey(b, 0x20042);
    keys.SetQuickHotKey(c, 0x40043);
    platform.refuse = {0x20042, 0x40043};
    platform.errorCode = 5;
    EXPECT_TRUE(keys.RegisterQuickHotKeys(window));
    EXPECT_EQ(platform.reports, (std::vector<unsigned long>{5, 5}));
    EXPECT_EQ(keys.GetQuickHotKey(b), 0x20042u);
    EXPECT_TRUE(keys.GetQuickKeys()[0].IsRegistered());
    EXPECT_FALSE(keys.GetQuickKeys()[1].IsRegistered());

    platform.calls.clear();
    keys.UnregisterQuickHotKeys(window);
    using Call = CRecordingPlatform::Call;
    EXPECT_EQ(platform.calls, (std::vector<Call>{{false, 120, 0, 0}}));
    for (const CQuickKey& key : keys.GetQuickKeys()) {
        EXPECT_FALSE(key.IsRegistered());
    }

    // A copy carries the registration state along.
    keys.RegisterQuickHotKeys(window);
    const CHotKeyManager copy = keys;
    EXPECT_TRUE(copy.GetQuickKeys()[0].IsRegistered());
}

TEST_F(HotKeyManagerTest, EventsResolveToViewsOfEnabledPositions) {
    std::vector<CFilter*> filters;
    for (int i = 0; i < 12; ++i) {
        filters.push_back(TestFilter("hk_event_" + std::to_string(i)));
    }
    // Enabled order differs from the key order: events name enabled-list positions.
    EnableOnly({filters[5], filters[0], filters[1], filters[2], filters[3], filters[4], filters[6],
                filters[7], filters[8], filters[9], filters[10], filters[11]});
    CHotKeyManager keys;
    for (int i = 0; i < 12; ++i) {
        keys.SetQuickHotKey(filters[i], 0x20041 + i);
    }
    using A = HotKeyAction;
    struct Case {
        int id;
        HotKeyAction expected;
    };
    const Case cases[] = {
        {100, {A::OpenDesktopView, -1}}, {120, {A::OpenQuickView, 1}}, {125, {A::OpenQuickView, 0}},
        {129, {A::OpenQuickView, 9}},    {130, {A::NoAction, -1}},     {131, {A::NoAction, -1}},
        {119, {A::NoAction, -1}},        {101, {A::NoAction, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(keys.ResolveHotKeyEvent(c.id, GetFilterManager()), c.expected);
    }

    // A quick key whose filter has left the enabled list does nothing.
    EnableOnly({filters[1]});
    EXPECT_EQ(keys.ResolveHotKeyEvent(120, GetFilterManager()), HotKeyAction{});
    EXPECT_EQ(keys.ResolveHotKeyEvent(121, GetFilterManager()),
              (HotKeyAction{A::OpenQuickView, 0}));
}

TEST_F(HotKeyManagerTest, LoadKeepsEnabledFiltersAndGivesTheListBack) {
    CFilter* a = TestFilter("hk_load_a");
    CFilter* b = TestFilter("hk_load_b");
    CFilter* disabled = TestFilter("hk_load_disabled");
    (void)disabled;
    EnableOnly({a, b});

    const std::vector<CQuickKeyItem> stored = {
        {"HK_LOAD_B", 0x20042},       // IDs match without regard to case
        {"hk_load_missing", 0x20043}, // no such filter
        {"hk_load_disabled", 0x20044}, {"hk_load_a", 0x20045},
        {"hk_load_b", 0x20046}, // a repeat is kept as it is
    };
    CHotKeyManager keys;
    keys.SetQuickHotKey(a, 0x30000); // replaced by the load
    keys.Load(kCtrlF11, stored, GetFilterManager());
    EXPECT_EQ(keys.GetDesktopHotKey(), kCtrlF11);
    ASSERT_EQ(keys.GetQuickKeys().size(), 3u);
    EXPECT_EQ(keys.GetQuickFilterAt(0), b);
    EXPECT_EQ(keys.GetQuickFilterAt(1), a);
    EXPECT_EQ(keys.GetQuickFilterAt(2), b);

    const std::vector<CQuickKeyItem> items = keys.GetQuickKeyItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].GetID(), "hk_load_b");
    EXPECT_EQ(items[0].GetHotKey(), 0x20042u);
    EXPECT_EQ(items[1].GetID(), "hk_load_a");
    EXPECT_EQ(items[2].GetHotKey(), 0x20046u);
}
