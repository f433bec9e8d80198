#include "features/dialogs/filter_setting_model.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "support/test_data.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> QuickKeyIDs(const CHotKeyManager& hotKeys) {
    std::vector<std::string> ids;
    for (const CQuickKey& key : hotKeys.GetQuickKeys()) {
        ids.push_back(key.GetFilter()->GetID());
    }
    return ids;
}

int IndexOf(const CFilterSettingModel& model, const char* id) {
    const std::vector<std::string> ids = IDs(model.GetEnabled());
    const auto found = std::find(ids.begin(), ids.end(), id);
    return found == ids.end() ? -1 : static_cast<int>(found - ids.begin());
}

using Strings = std::vector<std::string>;

class FilterSettingModelTest : public ::testing::Test {
protected:
    FilterSettingModelTest() {
        for (const auto& [id, name] : {std::pair{"protanopia", "Protanopia"},
                                       {"deutanopia", "deuteranopia"},
                                       {"tritanoptia", "Tritanopia"},
                                       {"hue_gbr", "Hue GBR"},
                                       {"hue_brg", "hue BRG"},
                                       {"hidden", "Hidden member"},
                                       {"achromatopsia", "Achromatopsia"}}) {
            AddColorMap(filters, id, {}, name);
        }
        filters.FindFilter("hidden")->SetVisible(false);
        EnableOnly(filters, {"_normal", "protanopia", "deutanopia"});
    }
    CFilter* F(const char* id) const { return filters.FindFilter(id); }

    CFilterManager filters;
    CHotKeyManager hotKeys;
};

} // namespace

TEST_F(FilterSettingModelTest, OpensOnTheEnabledListWithTheRestSortedByNameIgnoringCase) {
    CFilterSettingModel model(filters, hotKeys);
    EXPECT_EQ(IDs(model.GetEnabled()), (Strings{"_normal", "protanopia", "deutanopia"}));
    // Invisible filters are never offered; the names sort without regard to case.
    EXPECT_EQ(IDs(model.GetDisabled()),
              (Strings{"achromatopsia", "hue_brg", "hue_gbr", "tritanoptia"}));
    EXPECT_EQ(model.GetSelectedID(), "_normal");
    EXPECT_EQ(model.GetSelectedName(), "normal");
}

TEST_F(FilterSettingModelTest, ButtonsFollowTheSelectionAndTheDisabledListSelection) {
    CFilterSettingModel model(filters, hotKeys);
    const struct {
        int selection;
        bool pickDisabled;
        FilterSettingButtons expected; // up, down, enable, disable
    } cases[] = {
        {0, false, {false, true, false, false}},
        {1, false, {true, true, false, true}},
        {2, false, {true, false, false, true}},
        {0, true, {false, true, true, false}},
        // No selection: only Enable, offered because some filter is not enabled.
        {-1, false, {false, false, true, false}},
        {-1, true, {false, false, true, false}},
    };
    for (const auto& c : cases) {
        model.SelectEnabled(c.selection);
        model.SelectDisabled(c.pickDisabled ? std::vector<CFilter*>{F("hue_gbr")}
                                            : std::vector<CFilter*>{});
        EXPECT_EQ(model.GetButtons(), c.expected)
            << "selection " << c.selection << (c.pickDisabled ? " with" : " without")
            << " a disabled filter picked";
    }
}

// That several picked filters arrive in name order and the pick is emptied is seen end to end.
TEST_F(FilterSettingModelTest, EnableKeepsTheSelectionAndWithNothingPickedDoesNothing) {
    CFilterSettingModel model(filters, hotKeys);
    model.SelectEnabled(1);
    model.SelectDisabled({F("tritanoptia"), F("achromatopsia")});
    model.Enable();
    EXPECT_EQ(IDs(model.GetEnabled()),
              (Strings{"_normal", "protanopia", "deutanopia", "achromatopsia", "tritanoptia"}));
    EXPECT_EQ(model.GetSelection(), 1) << "the selection stays where it was";

    model.SelectEnabled(-1);
    ASSERT_TRUE(model.GetButtons().enable);
    model.Enable();
    EXPECT_EQ(model.GetEnabled().size(), 5u);
    EXPECT_EQ(model.GetSelection(), -1);
    EXPECT_EQ(model.GetSelectedID(), "");
    EXPECT_EQ(model.GetHotKeyWord(), 0u);

    // Even with every visible filter enabled, the invisible one counts as not enabled.
    model.SelectDisabled({F("hue_gbr"), F("hue_brg")});
    model.Enable();
    EXPECT_TRUE(model.GetDisabled().empty());
    model.SelectEnabled(-1);
    EXPECT_TRUE(model.GetButtons().enable);
}

// Up and Down moving the selected filter with the selection, and "normal" offered for neither
// disabling nor moving past the ends, are clicked end to end; the buttons offered at the ends are
// the table above.
TEST_F(FilterSettingModelTest, DisableKeepsThePositionOrMovesToTheNewLast) {
    EnableOnly(filters, {"_normal", "protanopia", "deutanopia", "tritanoptia"});
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
        CFilterSettingModel model(filters, hotKeys);
        model.SelectEnabled(c.selection);
        model.Disable();
        EXPECT_EQ(IDs(model.GetEnabled()), c.remaining) << c.selection;
        EXPECT_EQ(model.GetSelection(), c.selectionAfter) << c.selection;
        EXPECT_EQ(model.GetSelectedID(), c.selectedAfter) << c.selection;
        // The disabled filter is offered again.
        EXPECT_EQ(model.GetDisabled().size(), 4u) << c.selection;
    }
}

// Nothing reaching the settings before OK, Cancel changing nothing and OK writing the working
// list are seen end to end.
TEST_F(FilterSettingModelTest, DisableDropsTheQuickKey) {
    hotKeys.SetQuickHotKey(F("protanopia"), 0x20031);
    hotKeys.SetQuickHotKey(F("deutanopia"), 0x20032);
    CFilterSettingModel model(filters, hotKeys);
    model.SelectEnabled(1);
    EXPECT_EQ(model.GetHotKeyWord(), 0x0231u);
    model.Disable();
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"deutanopia"}));
    EXPECT_EQ(model.GetSelectedID(), "deutanopia");
    EXPECT_EQ(model.GetHotKeyWord(), 0x0232u);
    EXPECT_EQ(QuickKeyIDs(hotKeys), (Strings{"protanopia", "deutanopia"})) << "the caller's keys";
    unsigned error = 0;
    ASSERT_TRUE(model.Confirm(error)) << error;
    model.ApplyEnabledList(filters);
    EXPECT_EQ(IDs(filters.GetEnabledList()), (Strings{"_normal", "deutanopia"}));
}

TEST_F(FilterSettingModelTest, EveryRefreshStoresTheBoundKeyAndMovesItToTheEnd) {
    hotKeys.SetQuickHotKey(F("protanopia"), 0x20031);
    hotKeys.SetQuickHotKey(F("deutanopia"), 0x20032);
    CFilterSettingModel model(filters, hotKeys);
    model.SelectEnabled(IndexOf(model, "protanopia"));
    EXPECT_EQ(model.GetBoundFilter(), F("protanopia"));
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"protanopia", "deutanopia"}));

    // Moving the selection away stores protanopia's key again: it goes last.
    model.SelectEnabled(IndexOf(model, "deutanopia"));
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"deutanopia", "protanopia"}));
    EXPECT_EQ(model.GetBoundFilter(), F("deutanopia"));
    EXPECT_EQ(model.GetHotKeyWord(), 0x0232u);

    // Up, Down and a selection in the other list refresh too, each moving deutanopia last.
    model.MoveUp();
    model.MoveDown();
    model.SelectDisabled({F("hue_gbr")});
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"protanopia", "deutanopia"}));
    unsigned error = 0;
    model.SelectEnabled(IndexOf(model, "protanopia"));
    ASSERT_TRUE(model.Confirm(error)) << error;
    EXPECT_EQ(QuickKeyIDs(model.GetHotKeys()), (Strings{"deutanopia", "protanopia"}));
}

// A key typed for a filter stored for it when the selection moves, and an emptied control
// taking the key away, are seen end to end (the limit message gone once the eleventh key is
// emptied).
TEST_F(FilterSettingModelTest, WithNothingSelectedATypedKeyGoesNowhere) {
    CFilterSettingModel model(filters, hotKeys);
    model.SelectEnabled(-1);
    model.SetHotKeyWord(0x0642);
    model.SelectEnabled(1);
    EXPECT_TRUE(model.GetHotKeys().GetQuickKeys().empty());
    EXPECT_EQ(model.GetHotKeyWord(), 0u);
}

// That the key still in the control counts at OK, for the limit and against the desktop key,
// is seen end to end.
TEST_F(FilterSettingModelTest, OkRefusesElevenKeysBeforeItLooksForConflicts) {
    for (int i = 1; i <= 11; ++i) {
        AddColorMap(filters, "f" + std::to_string(i));
        filters.AppendEnabled(F(("f" + std::to_string(i)).c_str()));
    }
    CFilterSettingModel model(filters, hotKeys);
    // Ten keys, the last two equal: the conflict is found.
    for (int i = 1; i <= 10; ++i) {
        model.SelectEnabled(IndexOf(model, ("f" + std::to_string(i)).c_str()));
        model.SetHotKeyWord(0x0230u + static_cast<unsigned>(i == 10 ? 9 : i));
    }
    unsigned error = 0;
    EXPECT_FALSE(model.Confirm(error));
    EXPECT_EQ(error, unsigned{IDS_HOTKEY_CONFLICT});
    // An eleventh key: the limit is reported first.
    model.SelectEnabled(IndexOf(model, "f11"));
    model.SetHotKeyWord(0x0241);
    EXPECT_FALSE(model.Confirm(error));
    EXPECT_EQ(error, unsigned{IDS_HOTKEY_LIMIT_EXCEEDED});
    // Taking the eleventh away again, and the duplicate, makes OK pass.
    model.SetHotKeyWord(0);
    model.SelectEnabled(IndexOf(model, "f10"));
    model.SetHotKeyWord(0x023A);
    error = 0;
    EXPECT_TRUE(model.Confirm(error)) << error;
    EXPECT_EQ(model.GetHotKeys().GetQuickKeys().size(), 10u);
}

// (Up to Down, Up gone under the focus at the top, is clicked end to end.)
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
        all.push_back(AddColorMap(manager, std::string(37, 'a') + std::to_string(100 + i)));
    }
    manager.AppendEnabled(manager.GetNormalFilter());
    CFilterSettingModel model(manager, CHotKeyManager());
    unsigned error = 0;
    model.SelectDisabled(std::vector<CFilter*>(all.begin(), all.end() - 1));
    model.Enable();
    EXPECT_TRUE(model.Confirm(error)) << error;
    model.SelectDisabled({all.back()});
    model.Enable();
    EXPECT_FALSE(model.Confirm(error));
    EXPECT_EQ(error, unsigned{IDS_TOO_MANY_FILTERS});
    model.SelectEnabled(100);
    model.Disable();
    error = 0;
    EXPECT_TRUE(model.Confirm(error)) << error;

    // Stored IDs that did not load are written back too, so they count until forgotten.
    CFilterSettingModel kept(manager, CHotKeyManager(), &DisplayNameBeforeIgnoringCase,
                             {std::string(40, 'm')});
    kept.SelectDisabled(std::vector<CFilter*>(all.begin(), all.end() - 1));
    kept.Enable();
    EXPECT_FALSE(kept.Confirm(error));
    EXPECT_EQ(kept.GetMissing().size(), 1u);
    kept.ForgetMissing();
    EXPECT_TRUE(kept.Confirm(error)) << error;
}
