#include "shell/startup_paths.h"
#include "shell/tray_menu_rules.h"

#include <gtest/gtest.h>

TEST(StartupPaths, FilterDirectoriesPrivateBeforeSystemLanguageBeforeGeneral) {
    const std::vector<std::string> expected = {
        "C:\\z\\filter\\private\\1041",
        "C:\\z\\filter\\private",
        "C:\\z\\filter\\system\\1041",
        "C:\\z\\filter\\system",
    };
    EXPECT_EQ(GetFilterDirectories("C:\\z\\", 1041), expected);
}

TEST(TrayMenuRules, GreyingFollowsWhatIsOpen) {
    struct Case {
        const char* name;
        bool general, filter, preview;
        int windows;
        TrayMenuState expected; // desktop, quick, new window, filter setting, general setting
    };
    const Case cases[] = {
        {"nothing open", false, false, false, 0, {true, true, true, true, true}},
        {"general setting open", true, false, false, 0, {false, false, true, false, false}},
        {"filter setting open", false, true, false, 0, {false, false, false, false, false}},
        {"preview active", false, false, true, 0, {false, false, true, false, false}},
        {"one filter window", false, false, false, 1, {true, true, true, false, true}},
        {"windows and general setting", true, false, false, 3, {false, false, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetTrayMenuState(c.general, c.filter, c.preview, c.windows), c.expected);
    }
}
