#include "app/startup_paths.h"
#include "app/tray_menu_rules.h"
#include "features/dialogs/display_names.h"

#include <gtest/gtest.h>

#include <map>

TEST(StartupPaths, LanguageLibraryLiesInTheLanguageSubdirectoryOfResource) {
    EXPECT_EQ(FormatLanguageLibraryPath("C:\\Program Files\\Zeziriv\\", 1041),
              "C:\\Program Files\\Zeziriv\\resource\\1041\\ttres.dll");
    EXPECT_EQ(FormatLanguageLibraryPath("D:\\", 1033), "D:\\resource\\1033\\ttres.dll");
}

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

TEST(TrayMenuRules, QuickViewCommandsMapToEnabledPositions) {
    EXPECT_EQ(QuickViewPositionFromCommand(33500), 0);
    EXPECT_EQ(QuickViewPositionFromCommand(33507), 7);
    EXPECT_EQ(QuickViewPositionFromCommand(33999), 499);
    EXPECT_EQ(QuickViewPositionFromCommand(33499), -1);
    EXPECT_EQ(QuickViewPositionFromCommand(34000), -1);
    EXPECT_EQ(QuickViewPositionFromCommand(33003), -1);
}

TEST(DialogDisplayNames, LoadedFromTheirStringsAndMissingOnesStayEmpty) {
    const std::map<unsigned, std::string> strings = {
        {40020, "RGB(decimal)"}, {40021, "RGB(hexadecimal)"},
        {40022, "HSV"},          {40024, "HSV(simple)"},
        {40040, "low"},          {40041, "normal"},
        {40042, "high"},
    };
    std::vector<unsigned> asked;
    LoadDialogDisplayNames([&](unsigned id, std::string& text) {
        asked.push_back(id);
        auto it = strings.find(id);
        if (it == strings.end()) {
            text = "stale";
            return false;
        }
        text = it->second;
        return true;
    });
    EXPECT_EQ(asked,
              (std::vector<unsigned>{40020, 40021, 40022, 40023, 40024, 40040, 40041, 40042}));
    EXPECT_EQ(GetColorFormatName(1), "RGB(hexadecimal)");
    EXPECT_EQ(GetColorFormatName(3), "");
    EXPECT_EQ(GetColorFormatName(5), "");
    EXPECT_EQ(GetColorFormatName(-1), "");
    EXPECT_EQ(GetImageQualityName(2), "high");
    EXPECT_EQ(GetImageQualityName(3), "");
}
