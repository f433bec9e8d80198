#include "features/dialogs/filter_setting_model.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "features/dialogs/general_setting_values.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr HotKeyValue kCtrlF11 = 0x2007A;
constexpr unsigned kCtrlF11Word = 0x027A; // the same key in the control's flags

// A manager holding "_normal" and the given filters as (ID, display name), in that order;
// invisible filters are marked with a leading '~' in their ID.
class Filters {
public:
    Filters(std::initializer_list<std::pair<const char*, const char*>> filters) {
        for (const auto& [id, name] : filters) {
            std::string realId = id;
            const bool invisible = realId[0] == '~';
            if (invisible) {
                realId.erase(0, 1);
            }
            auto filter = std::make_unique<CFilter>(realId, name, ColorMap{});
            filter->SetVisible(!invisible);
            manager.AddFilter(std::move(filter));
        }
    }
    CFilter* operator[](const char* id) const { return manager.FindFilter(id); }
    void Enable(std::initializer_list<const char*> ids) {
        manager.GetEnabledList().clear();
        for (const char* id : ids) {
            manager.AppendEnabled(manager.FindFilter(id));
        }
    }

    CFilterManager manager;
};

std::vector<std::string> IDs(const std::vector<CFilter*>& filters) {
    std::vector<std::string> ids;
    for (const CFilter* filter : filters) {
        ids.push_back(filter->GetID());
    }
    return ids;
}

std::vector<std::string> QuickKeyIDs(const CHotKeyManager& hotKeys) {
    std::vector<std::string> ids;
    for (const CQuickKey& key : hotKeys.GetQuickKeys()) {
        ids.push_back(key.GetFilter()->GetID());
    }
    return ids;
}

int IndexOf(const CFilterSettingModel& model, const char* id) {
    const auto& list = model.GetEnabled();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i]->GetID() == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

using Strings = std::vector<std::string>;

class FilterSettingModelTest : public ::testing::Test {
protected:
    Filters filters{{"protanopia", "Protanopia"},
                    {"deutanopia", "deuteranopia"},
                    {"tritanoptia", "Tritanopia"},
                    {"hue_gbr", "Hue GBR"},
                    {"hue_brg", "hue BRG"},
                    {"~hidden", "Hidden member"},
                    {"achromatopsia", "Achromatopsia"}};
    CHotKeyManager hotKeys;

    void SetUp() override { filters.Enable({"_normal", "protanopia", "deutanopia"}); }
};

} // namespace

TEST_F(FilterSettingModelTest, OpensOnTheEnabledListWithTheRestSortedByNameIgnoringCase) {
    CFilterSettingModel model(filters.manager, hotKeys);
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"_normal", "protanopia", "deutanopia"}));
    // Invisible filters are never offered; the names sort without regard to case.
    EXPECT_EQ(IDs(model.GetDisabled()),
              (Strings{"achromatopsia", "hue_brg", "hue_gbr", "tritanoptia"}));
    EXPECT_EQ(model.GetSelection(), 0);
    EXPECT_EQ(model.GetSelectedID(), "_normal");
    EXPECT_EQ(model.GetSelectedName(), "normal");
    EXPECT_EQ(model.GetButtons(), (FilterSettingButtons{false, true, false, false}));
}

TEST_F(FilterSettingModelTest, ButtonsFollowTheSelectionAndTheDisabledListSelection) {
    CFilterSettingModel model(filters.manager, hotKeys);
    const struct {
        int selection;
        bool pickDisabled;
        FilterSettingButtons expected; // up, down, enable, disable
    } cases[] = {
        {0, false, {false, true, false, false}},
        {1, false, {true, true, false, true}},
        {2, false, {true, false, false, true}},
        {2, true, {true, false, true, true}},
        {0, true, {false, true, true, false}},
        // No selection: only Enable, offered because some filter is not enabled.
        {-1, false, {false, false, true, false}},
        {-1, true, {false, false, true, false}},
    };
    for (const auto& c : cases) {
        model.SelectEnabled(c.selection);
        model.SelectDisabled(c.pickDisabled ? std::vector<CFilter*>{filters["hue_gbr"]}
                                            : std::vector<CFilter*>{});
        EXPECT_EQ(model.GetButtons(), c.expected)
            << "selection " << c.selection << (c.pickDisabled ? " with" : " without")
            << " a disabled filter picked";
    }
}

TEST_F(FilterSettingModelTest, EnableWithoutAnythingPickedIsOfferedAndDoesNothing) {
    CFilterSettingModel model(filters.manager, hotKeys);
    model.SelectEnabled(-1);
    ASSERT_TRUE(model.GetButtons().enable);
    model.Enable();
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"_normal", "protanopia", "deutanopia"}));
    EXPECT_EQ(model.GetSelection(), -1);
    EXPECT_EQ(model.GetSelectedID(), "");
    EXPECT_EQ(model.GetHotKeyWord(), 0u);

    // Even with every visible filter enabled, the invisible one counts as not enabled.
    filters.Enable({"_normal", "protanopia", "deutanopia", "tritanoptia", "hue_gbr", "hue_brg",
                    "achromatopsia"});
    CFilterSettingModel all(filters.manager, hotKeys);
    EXPECT_TRUE(all.GetDisabled().empty());
    all.SelectEnabled(-1);
    EXPECT_TRUE(all.GetButtons().enable);
}

TEST_F(FilterSettingModelTest, EnablingSeveralAppendsThemInNameOrder) {
    CFilterSettingModel model(filters.manager, hotKeys);
    model.SelectEnabled(1);
    // Picked in any order, they arrive in the order the list shows them.
    model.SelectDisabled({filters["tritanoptia"], filters["achromatopsia"], filters["hue_gbr"],
                          filters["protanopia"]});
    model.Enable();
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"_normal", "protanopia", "deutanopia",
                                                "achromatopsia", "hue_gbr", "tritanoptia"}));
    EXPECT_EQ(IDs(model.GetDisabled()), (Strings{"hue_brg"}));
    EXPECT_TRUE(model.GetDisabledSelection().empty());
    EXPECT_EQ(model.GetSelection(), 1) << "the selection stays where it was";
}

TEST_F(FilterSettingModelTest, NormalMovesUpAndDownButIsNeverDisabled) {
    CFilterSettingModel model(filters.manager, hotKeys);
    for (int step = 0; step < 2; ++step) {
        EXPECT_FALSE(model.GetButtons().disable);
        model.Disable();
        model.MoveDown();
    }
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"protanopia", "deutanopia", "_normal"}));
    EXPECT_EQ(model.GetSelection(), 2);
    model.MoveDown(); // already last
    model.Disable();
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"protanopia", "deutanopia", "_normal"}));
    model.MoveUp();
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"protanopia", "_normal", "deutanopia"}));
    EXPECT_EQ(model.GetSelection(), 1);
    EXPECT_FALSE(model.GetButtons().disable);
    model.SelectEnabled(0);
    model.MoveUp(); // already first
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"protanopia", "_normal", "deutanopia"}));
}

TEST_F(FilterSettingModelTest, DisableKeepsThePositionOrMovesToTheNewLast) {
    filters.Enable({"_normal", "protanopia", "deutanopia", "tritanoptia"});
    const struct {
        int selection;
        Strings remaining;
        int selectionAfter;
        std::string selectedAfter;
    } cases[] = {
        {1, {"_normal", "deutanopia", "tritanoptia"}, 1, "deutanopia"},
        {2, {"_normal", "protanopia", "tritanoptia"}, 2, "tritanoptia"},
        {3, {"_normal", "protanopia", "deutanopia"}, 2, "deutanopia"},
    };
    for (const auto& c : cases) {
        CFilterSettingModel model(filters.manager, hotKeys);
        model.SelectEnabled(c.selection);
        model.Disable();
        EXPECT_EQ(IDs(model.GetEnabled()), c.remaining) << c.selection;
        EXPECT_EQ(model.GetSelection(), c.selectionAfter) << c.selection;
        EXPECT_EQ(model.GetSelectedID(), c.selectedAfter) << c.selection;
        // The disabled filter is offered again.
        EXPECT_EQ(model.GetDisabled().size(), 4u) << c.selection;
    }
}

TEST_F(FilterSettingModelTest, DisableDropsTheQuickKeyButNothingLeavesTheModelBeforeApply) {
    hotKeys.SetDesktopHotKey(kCtrlF11);
    hotKeys.SetQuickHotKey(filters["protanopia"], 0x20031);
    hotKeys.SetQuickHotKey(filters["deutanopia"], 0x20032);
    const CHotKeyManager before = hotKeys;
    CFilterSettingModel model(filters.manager, hotKeys);
    model.SelectEnabled(1);
    EXPECT_EQ(model.GetHotKeyWord(), 0x0231u);
    model.Disable();
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"deutanopia"}));
    EXPECT_EQ(model.GetSelectedID(), "deutanopia");
    EXPECT_EQ(model.GetHotKeyWord(), 0x0232u);

    // Cancel: the dialog is gone and nothing was applied.
    EXPECT_EQ(IDs(filters.manager.GetEnabledList()),
              (Strings{"_normal", "protanopia", "deutanopia"}));
    EXPECT_EQ(QuickKeyIDs(hotKeys), QuickKeyIDs(before));
    EXPECT_EQ(hotKeys.GetQuickHotKey(filters["protanopia"]), 0x20031u);

    // OK: the working list replaces the manager's.
    std::string error;
    ASSERT_TRUE(model.Confirm(error)) << error;
    model.ApplyEnabledList(filters.manager);
    EXPECT_EQ(IDs(filters.manager.GetEnabledList()), (Strings{"_normal", "deutanopia"}));
}

TEST_F(FilterSettingModelTest, EveryRefreshStoresTheBoundKeyAndMovesItToTheEnd) {
    hotKeys.SetQuickHotKey(filters["protanopia"], 0x20031);
    hotKeys.SetQuickHotKey(filters["deutanopia"], 0x20032);
    CFilterSettingModel model(filters.manager, hotKeys);
    model.SelectEnabled(IndexOf(model, "protanopia"));
    EXPECT_EQ(model.GetBoundFilter(), filters["protanopia"]);
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"protanopia", "deutanopia"}));

    // Moving the selection away stores protanopia's key again: it goes last.
    model.SelectEnabled(IndexOf(model, "deutanopia"));
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"deutanopia", "protanopia"}));
    EXPECT_EQ(model.GetBoundFilter(), filters["deutanopia"]);
    EXPECT_EQ(model.GetHotKeyWord(), 0x0232u);

    // Up, Down and a selection in the other list refresh too, each moving deutanopia last.
    model.MoveUp();
    model.MoveDown();
    model.SelectDisabled({filters["hue_gbr"]});
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"protanopia", "deutanopia"}));
    std::string error;
    model.SelectEnabled(IndexOf(model, "protanopia"));
    ASSERT_TRUE(model.Confirm(error)) << error;
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"deutanopia", "protanopia"}));
}

TEST_F(FilterSettingModelTest, TypedKeysBelongToTheFilterTheyWereTypedFor) {
    CFilterSettingModel model(filters.manager, hotKeys);
    model.SelectEnabled(1);
    model.SetHotKeyWord(0x0641); // Control + Alt + A
    model.SelectEnabled(2);
    EXPECT_EQ(model.GetHotKeys().GetQuickHotKey(filters["protanopia"]), 0x30041u);
    EXPECT_EQ(model.GetHotKeyWord(), 0u) << "deutanopia has no key";

    // Emptying the control removes the key once the selection moves.
    model.SelectEnabled(1);
    EXPECT_EQ(model.GetHotKeyWord(), 0x0641u);
    model.SetHotKeyWord(0);
    model.SelectEnabled(0);
    EXPECT_TRUE(model.GetHotKeys().GetQuickKeys().empty());

    // With nothing selected nothing is bound: a typed key goes nowhere.
    model.SelectEnabled(-1);
    model.SetHotKeyWord(0x0642);
    model.SelectEnabled(1);
    EXPECT_TRUE(model.GetHotKeys().GetQuickKeys().empty());
    EXPECT_EQ(model.GetHotKeyWord(), 0u);
}

TEST_F(FilterSettingModelTest, OkRefusesElevenKeysBeforeItLooksForConflicts) {
    Filters many{{"f01", "F01"}, {"f02", "F02"}, {"f03", "F03"}, {"f04", "F04"},
                 {"f05", "F05"}, {"f06", "F06"}, {"f07", "F07"}, {"f08", "F08"},
                 {"f09", "F09"}, {"f10", "F10"}, {"f11", "F11"}};
    many.Enable(
        {"_normal", "f01", "f02", "f03", "f04", "f05", "f06", "f07", "f08", "f09", "f10", "f11"});
    CFilterSettingModel model(many.manager, hotKeys);
    // Ten keys, the last two equal: the conflict is found.
    for (int i = 1; i <= 10; ++i) {
        model.SelectEnabled(i);
        model.SetHotKeyWord(0x0230u + static_cast<unsigned>(i == 10 ? 9 : i));
    }
    std::string error;
    EXPECT_FALSE(model.Confirm(error));
    EXPECT_EQ(error, "Error: Hotkey conflict.");
    // An eleventh key: the limit is reported first.
    model.SelectEnabled(11);
    model.SetHotKeyWord(0x0241);
    error.clear();
    EXPECT_FALSE(model.Confirm(error));
    EXPECT_EQ(error, "Error: Hotkey limit exceeded. (MAX: 10)");
    EXPECT_EQ(model.GetHotKeys().GetQuickKeys().size(), 11u);
    // Taking the eleventh away again, and the duplicate, makes OK pass.
    model.SetHotKeyWord(0);
    model.SelectEnabled(10);
    model.SetHotKeyWord(0x023A);
    error.clear();
    EXPECT_TRUE(model.Confirm(error)) << error;
    EXPECT_EQ(model.GetHotKeys().GetQuickKeys().size(), 10u);
}

// Which keys conflict is the hot key manager's rule; the model's part is that the key still in
// the control counts, because OK stores it first.
TEST_F(FilterSettingModelTest, OkCountsTheKeyStillInTheControl) {
    hotKeys.SetDesktopHotKey(kCtrlF11);
    CFilterSettingModel model(filters.manager, hotKeys);
    model.SelectEnabled(1);
    model.SetHotKeyWord(kCtrlF11Word);
    std::string error;
    EXPECT_FALSE(model.Confirm(error));
    EXPECT_EQ(error, "Error: Hotkey conflict.");
}

TEST(FilterSettingFocus, LeavesAnUnavailableButtonAlongTheChain) {
    using F = FilterSettingFocus;
    const FilterSettingButtons all{true, true, true, true};
    const FilterSettingButtons first{.down = true}; // "_normal" first, nothing picked
    const FilterSettingButtons last{.up = true, .disable = true};
    const FilterSettingButtons none{.enable = true}; // nothing selected
    const FilterSettingButtons nothing{};
    const struct {
        F from;
        FilterSettingButtons buttons;
        F to;
    } cases[] = {
        {F::Up, all, F::Up},
        {F::Up, first, F::Down},
        {F::Down, last, F::Disable},
        {F::Disable, first, F::DisabledList},
        {F::Up, none, F::Enable},
        {F::Down, none, F::Enable},
        {F::Disable, none, F::Enable},
        {F::Enable, last, F::DisabledList},
        {F::Up, nothing, F::DisabledList},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CFilterSettingModel::MoveFocusOffUnavailable(c.from, c.buttons), c.to)
            << static_cast<int>(c.from) << " -> " << static_cast<int>(c.to);
    }
}

TEST(FilterSettingModelLength, OkRefusesAnEnabledListTheProfileCouldNotReadBack) {
    // 40-character IDs: 99 of them and "_normal" fit in 4095 characters, 100 do not.
    CFilterManager manager;
    std::vector<CFilter*> all;
    for (int i = 0; i < 100; ++i) {
        char id[41];
        std::snprintf(id, sizeof(id), "a_filter_with_an_id_of_forty_letters_%03d", i);
        manager.AddFilter(std::make_unique<CFilter>(id, id, ColorMap{}));
        all.push_back(manager.FindFilter(id));
    }
    manager.AppendEnabled(manager.GetNormalFilter());
    CHotKeyManager hotKeys;
    CFilterSettingModel model(manager, hotKeys);
    model.SelectDisabled(std::vector<CFilter*>(all.begin(), all.end() - 1));
    model.Enable();
    std::string error;
    EXPECT_TRUE(model.Confirm(error)) << error;
    model.SelectDisabled({all.back()});
    model.Enable();
    ASSERT_EQ(model.GetEnabled().size(), 101u);
    EXPECT_FALSE(model.Confirm(error));
    EXPECT_EQ(error, kTooManyFiltersMessage);
    model.SelectEnabled(100);
    model.Disable();
    error.clear();
    EXPECT_TRUE(model.Confirm(error)) << error;
}
