#include "app/app_state.h"

#include <gtest/gtest.h>

#include <vector>

TEST(AppState, WhatMayOpenFollowsWhatIsOpen) {
    constexpr OpenAnswer O = OpenAnswer::Open;
    constexpr OpenAnswer F = OpenAnswer::BringForward;
    constexpr OpenAnswer R = OpenAnswer::Refuse;
    struct Case {
        const char* name;
        std::vector<AppPart> open;
        int windows;
        // About, general setting, filter setting, desktop view, quick view, filter window
        OpenAnswer answers[6];
        TrayMenuState tray; // desktop, quick, new window, filter setting, general setting
    };
    const Case cases[] = {
        {"nothing", {}, 0, {O, O, O, O, O, O}, {true, true, true, true, true}},
        {"About box", {AppPart::AboutBox}, 0, {F, O, O, O, O, O}, {true, true, true, true, true}},
        {"general setting",
         {AppPart::GeneralSetting},
         0,
         {O, F, R, R, R, O},
         {false, false, true, false, false}},
        {"filter setting",
         {AppPart::FilterSetting},
         0,
         {O, R, F, R, R, R},
         {false, false, false, false, false}},
        {"desktop view",
         {AppPart::DesktopView},
         0,
         {O, O, R, F, R, O},
         {false, false, true, false, false}},
        {"quick view",
         {AppPart::QuickView},
         0,
         {O, O, R, R, R, O},
         {false, false, true, false, false}},
        {"one window", {}, 1, {O, O, R, O, O, O}, {true, true, true, false, true}},
        {"twenty windows", {}, 20, {O, O, R, O, O, R}, {true, true, true, false, true}},
        {"desktop view and general setting",
         {AppPart::DesktopView, AppPart::GeneralSetting},
         3,
         {O, F, R, R, R, O},
         {false, false, true, false, false}},
    };
    const AppPart parts[] = {AppPart::AboutBox,    AppPart::GeneralSetting, AppPart::FilterSetting,
                             AppPart::DesktopView, AppPart::QuickView,      AppPart::FilterWindow};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAppState state;
        for (AppPart part : c.open) {
            state.SetOpen(part, true);
        }
        state.SetFilterWindowCount(c.windows);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(state.Ask(parts[i]), c.answers[i]) << i;
        }
        EXPECT_EQ(state.GetTrayMenuState(), c.tray);
    }
}
