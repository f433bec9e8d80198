#include "app/startup_paths.h"
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
