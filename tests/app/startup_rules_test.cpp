#include "app/startup_paths.h"

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
