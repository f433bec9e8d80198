#include "app/app_state.h"
#include "app/startup_paths.h"

#include <gtest/gtest.h>

#include <vector>

TEST(StartupPaths, FilterDirectoriesPrivateBeforeSystemLanguageBeforeGeneral) {
    const std::vector<std::string> expected = {
        "C:\\z\\filter\\private\\1041",
        "C:\\z\\filter\\private",
        "C:\\z\\filter\\system\\1041",
        "C:\\z\\filter\\system",
    };
    EXPECT_EQ(GetFilterDirectories("C:\\z\\", 1041), expected);
}

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
    using P = AppPart;
    constexpr bool Y = true;
    constexpr bool N = false;
    const Case cases[] = {
        // clang-format off
        {"nothing",         {},                  0, {O, O, O, O, O, O}, {Y, Y, Y, Y, Y}},
        {"About box",       {P::AboutBox},       0, {F, O, O, O, O, O}, {Y, Y, Y, Y, Y}},
        {"general setting", {P::GeneralSetting}, 0, {O, F, R, R, R, O}, {N, N, Y, N, N}},
        {"filter setting",  {P::FilterSetting},  0, {O, R, F, R, R, R}, {N, N, N, N, N}},
        {"desktop view",    {P::DesktopView},    0, {O, O, R, F, R, O}, {N, N, Y, N, N}},
        {"quick view",      {P::QuickView},      0, {O, O, R, R, R, O}, {N, N, Y, N, N}},
        {"one window",      {},                  1, {O, O, R, O, O, O}, {Y, Y, Y, N, Y}},
        {"twenty windows",  {},                 20, {O, O, R, O, O, R}, {Y, Y, Y, N, Y}},
        {"desktop view and general setting",
                            {P::DesktopView, P::GeneralSetting},
                                                 3, {O, F, R, R, R, O}, {N, N, Y, N, N}},
        // clang-format on
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
