#include "engine/image/color_info.h"
#include "engine/image/color_name_resources.h"
#include "platform/utilities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The test executable carries no string resources: every word is reported missing once and
// left empty, and the names are still built.
TEST(ColorNameResources, MissingStringsLeaveWordsEmptyAndAreReported) {
    std::vector<std::string> messages;
    SetMessageBoxHookForTesting([&](const char* text, const char*, UINT) {
        messages.emplace_back(text);
        return IDOK;
    });
    LoadColorNameWordsFromResources();
    SetMessageBoxHookForTesting({});

    ASSERT_EQ(messages.size(), kLastColorNameWord - kFirstColorNameWord + 1);
    EXPECT_NE(messages.front().find("ID=41100"), std::string::npos) << messages.front();
    EXPECT_NE(messages.back().find("ID=41132"), std::string::npos) << messages.back();
    for (unsigned id = kFirstColorNameWord; id <= kLastColorNameWord; ++id) {
        EXPECT_EQ(GetColorNameWord(id), "") << id;
    }
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(255, 0, 0)), false), "[ R ] ");
    ResetColorNameWords();
}

} // namespace
