#include "engine/hotkeys/hot_key_manager.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "support/test_data.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr HotKeyValue kCtrlF11 = 0x2007A;

// Records what the manager asks of the platform; keys listed in `refuse` fail with `errorCode`.
class CRecordingPlatform : public CHotKeyPlatform {
public:
    bool Register(HotKeyWindow, int id, unsigned modifiers, unsigned key,
                  unsigned long& error) override {
        registered.emplace_back(id, (modifiers << 16) | key);
        for (HotKeyValue refused : refuse) {
            if (refused == ((modifiers << 16) | key)) {
                error = errorCode;
                return false;
            }
        }
        return true;
    }
    void Unregister(HotKeyWindow, int) override {}
    void ReportRegisterFailure(unsigned long error) override { reports.push_back(error); }

    std::vector<HotKeyValue> refuse;
    unsigned long errorCode = 1409;
    std::vector<std::pair<int, HotKeyValue>> registered; // (ID, key)
    std::vector<unsigned long> reports;
};

class HotKeyManagerTest : public ::testing::Test {
protected:
    void SetUp() override { SetHotKeyPlatform(&platform); }
    void TearDown() override { SetHotKeyPlatform(nullptr); }

    // Filters "f0" ... of a manager of this test's own.
    std::vector<CFilter*> Filters(int count) {
        std::vector<CFilter*> filters;
        for (int i = 0; i < count; ++i) {
            filters.push_back(AddColorMap(manager, "f" + std::to_string(i)));
        }
        return filters;
    }

    CFilterManager manager;
    CRecordingPlatform platform;
    HotKeyWindow window = reinterpret_cast<HotKeyWindow>(0x1234);
};

} // namespace

// Control and Control + Alt, the default key and digits, go between the dialogs' controls and
// the stored values end to end.
TEST(HotKeyConversion, ControlWordsAndHotKeyValues) {
    struct Case {
        unsigned controlWord;
        HotKeyValue value;
    };
    const Case cases[] = {
        {0x017A, 0x0004007A}, // Shift + F11
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
    const std::vector<CFilter*> f = Filters(3);
    CHotKeyManager keys;
    keys.SetQuickHotKey(f[0], 0x20041);
    keys.SetQuickHotKey(f[1], 0x20042);
    keys.SetQuickHotKey(f[2], 0x20043);
    keys.SetQuickHotKey(f[0], 0x20041); // unchanged value, still moved
    const auto order = [&] {
        std::vector<CFilter*> filters;
        for (const CQuickKey& key : keys.GetQuickKeys()) {
            filters.push_back(key.GetFilter());
        }
        return filters;
    };
    EXPECT_EQ(order(), (std::vector<CFilter*>{f[1], f[2], f[0]}));

    keys.SetQuickHotKey(f[2], 0);
    keys.SetQuickHotKey(nullptr, 0x20044);
    EXPECT_EQ(order(), (std::vector<CFilter*>{f[1], f[0]}));
    EXPECT_EQ(keys.GetQuickHotKey(f[2]), 0u);
    EXPECT_EQ(keys.GetQuickFilterAt(1), f[0]);
    EXPECT_EQ(keys.GetQuickFilterAt(2), nullptr);
    EXPECT_EQ(keys.GetQuickFilterAt(-1), nullptr);
}

// How many keys OK accepts is the filter setting model's test, with the dialog end to end.
TEST_F(HotKeyManagerTest, ConflictsAreEqualKeysAmongTheQuickAndDesktopKeys) {
    const std::vector<CFilter*> f = Filters(2);
    // The general setting dialog asks only whether the desktop key is a quick key's.
    const struct {
        const char* name;
        HotKeyValue desktop, first, second;
        bool conflict;
        bool desktopConflict;
    } cases[] = {
        {"quick key equals desktop key", kCtrlF11, kCtrlF11, 0x20041, true, true},
        {"later quick key equals desktop key", kCtrlF11, 0x20041, kCtrlF11, true, true},
        {"two equal quick keys", kCtrlF11, 0x20041, 0x20041, true, false},
        {"same key, other modifiers", kCtrlF11, 0x20041, 0x3007A, false, false},
        {"same modifiers, other key", 0x2007B, 0x2007A, 0x20041, false, false},
        {"no desktop key", 0, 0x20041, 0x20042, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHotKeyManager keys;
        keys.SetDesktopHotKey(c.desktop);
        keys.SetQuickHotKey(f[0], c.first);
        keys.SetQuickHotKey(f[1], c.second);
        unsigned message = 0;
        EXPECT_EQ(keys.CheckHotKeyConflict(message), c.conflict);
        EXPECT_EQ(message, c.conflict ? IDS_HOTKEY_CONFLICT : 0u);
        message = 0;
        EXPECT_EQ(keys.CheckDesktopHotKeyConflict(message), c.desktopConflict);
        EXPECT_EQ(message, c.desktopConflict ? IDS_HOTKEY_CONFLICT : 0u);
    }
}

// The desktop key's registration is seen end to end: taken at start, let go while the general
// dialog is open and taken again after it, the new key taken and the old one let go after OK,
// and a key held elsewhere reported once and kept.
TEST_F(HotKeyManagerTest, KeysHeldElsewhereAreKeptAndOnlyTheyAreTriedAgain) {
    const std::vector<CFilter*> f = Filters(2);
    CHotKeyManager keys;
    keys.SetDesktopHotKey(kCtrlF11);
    keys.SetQuickHotKey(f[0], 0x10041);
    keys.SetQuickHotKey(f[1], 0x20042);
    platform.refuse = {kCtrlF11, 0x20042};
    keys.RegisterDesktopHotKey(window);
    keys.RegisterQuickHotKeys(window);
    EXPECT_EQ(platform.reports.size(), 2u);
    EXPECT_EQ(keys.GetDesktopHotKey(), kCtrlF11);
    EXPECT_FALSE(keys.IsDesktopHotKeyRegistered());

    // The other program lets go: the next registration takes the two that failed, and only them.
    platform.refuse.clear();
    platform.registered.clear();
    keys.RegisterDesktopHotKey(window);
    keys.RegisterQuickHotKeys(window);
    EXPECT_EQ(platform.registered,
              (decltype(platform.registered){{100, kCtrlF11}, {121, 0x20042}}));
    EXPECT_TRUE(keys.IsDesktopHotKeyRegistered());
    EXPECT_EQ(platform.reports.size(), 2u);
}

TEST_F(HotKeyManagerTest, QuickKeysRegisterByPositionAndFailuresKeepTheirKeys) {
    const std::vector<CFilter*> f = Filters(3);
    CHotKeyManager keys;
    keys.SetQuickHotKey(f[0], 0x10041);
    keys.SetQuickHotKey(f[1], 0x20042);
    keys.SetQuickHotKey(f[2], 0x40043);
    platform.refuse = {0x20042, 0x40043};
    platform.errorCode = 5;
    EXPECT_TRUE(keys.RegisterQuickHotKeys(window));
    EXPECT_EQ(platform.registered,
              (decltype(platform.registered){{120, 0x10041}, {121, 0x20042}, {122, 0x40043}}));
    EXPECT_EQ(platform.reports, (std::vector<unsigned long>{5, 5}));
    EXPECT_EQ(keys.GetQuickHotKey(f[1]), 0x20042u);
    EXPECT_TRUE(keys.GetQuickKeys()[0].IsRegistered());
    EXPECT_FALSE(keys.GetQuickKeys()[1].IsRegistered());
    // (Letting the keys go and taking them again around the filter dialog is seen end to end.)
}

TEST_F(HotKeyManagerTest, EventsResolveToViewsOfEnabledPositions) {
    const std::vector<CFilter*> f = Filters(12);
    // Enabled order differs from the key order: events name enabled-list positions.
    EnableOnly(manager, {"f5", "f0", "f1", "f2", "f3", "f4", "f6", "f7", "f8", "f9", "f10", "f11"});
    CHotKeyManager keys;
    for (int i = 0; i < 12; ++i) {
        keys.SetQuickHotKey(f[i], 0x20041 + i);
    }
    using A = HotKeyAction;
    const struct {
        int id;
        HotKeyAction expected;
    } cases[] = {
        {100, {A::OpenDesktopView, -1}}, {120, {A::OpenQuickView, 1}}, {125, {A::OpenQuickView, 0}},
        {129, {A::OpenQuickView, 9}},    {130, {A::NoAction, -1}},     {131, {A::NoAction, -1}},
        {119, {A::NoAction, -1}},        {101, {A::NoAction, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(keys.ResolveHotKeyEvent(c.id, manager), c.expected);
    }

    // A quick key whose filter has left the enabled list does nothing.
    EnableOnly(manager, {"f1"});
    EXPECT_EQ(keys.ResolveHotKeyEvent(120, manager), HotKeyAction{});
    EXPECT_EQ(keys.ResolveHotKeyEvent(121, manager), (HotKeyAction{A::OpenQuickView, 0}));
}

TEST_F(HotKeyManagerTest, LoadKeepsEnabledFiltersAndGivesTheListBack) {
    const std::vector<CFilter*> f = Filters(3);
    EnableOnly(manager, {"f0", "f1"});
    const std::vector<CQuickKeyItem> stored = {
        {"F1", 0x20042},                       // IDs match without regard to case
        {"missing", 0x20043},                  // no such filter
        {"f2", 0x20044},                       // not enabled
        {"f0", 0x20045},      {"f1", 0x20046}, // a repeat is kept as it is
    };
    CHotKeyManager keys;
    keys.SetQuickHotKey(f[0], 0x30000); // replaced by the load
    keys.Load(kCtrlF11, stored, manager);
    EXPECT_EQ(keys.GetDesktopHotKey(), kCtrlF11);
    std::vector<std::pair<std::string, HotKeyValue>> items;
    for (const CQuickKeyItem& item : keys.GetQuickKeyItems()) {
        items.emplace_back(item.GetID(), item.GetHotKey());
    }
    EXPECT_EQ(items, (decltype(items){{"f1", 0x20042}, {"f0", 0x20045}, {"f1", 0x20046}}));
}
