#include "platform/utilities.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct ShownMessage {
    std::string text;
    std::string caption;
    UINT style;
};

// Records message boxes instead of showing them.
class MessageRecorder {
public:
    explicit MessageRecorder(int button = IDOK) {
        SetMessageBoxHookForTesting(
            [this, button](const char* text, const char* caption, UINT style) {
                shown.push_back({text, caption, style});
                return button;
            });
    }
    ~MessageRecorder() { SetMessageBoxHookForTesting({}); }
    std::vector<ShownMessage> shown;
};

// Where the program finds its filters and language library, and which library version it takes,
// are seen end to end (the portable zip's filters beside it; libraries of another version, of
// another kind, cut short or not a program at all).

TEST(UtilitiesTest, ResourceStrings) {
    MessageRecorder recorder;
    char buffer[64];
    EXPECT_TRUE(LoadResString(101, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "plain text");
    EXPECT_EQ(LoadResString(102), "value %d of %s");

    // Cut to the buffer.
    EXPECT_TRUE(LoadResString(101, buffer, 6));
    EXPECT_STREQ(buffer, "plain");

    std::strcpy(buffer, "stale");
    EXPECT_FALSE(LoadResString(9999, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "error occured. [resource missing, ID=9999]");
    EXPECT_EQ(recorder.shown[0].caption, "Zeziriv");
    EXPECT_EQ(recorder.shown[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

// The cut at 511 bytes is the Japanese text test's, between two characters.
TEST(UtilitiesTest, MessagesAreCaptioned) {
    MessageRecorder recorder(IDCANCEL);
    EXPECT_EQ(ShowMessage(MB_OKCANCEL | MB_ICONWARNING, "%s=%d", "x", 5), IDCANCEL);
    EXPECT_EQ(ShowResourceMessage(MB_OK, 102, 7, "seven"), IDCANCEL);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text, "x=5");
    EXPECT_EQ(recorder.shown[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
    EXPECT_EQ(recorder.shown[1].text, "value 7 of seven");
    for (const auto& shown : recorder.shown) {
        EXPECT_EQ(shown.caption, "Zeziriv");
    }
}

TEST(UtilitiesTest, MissingResourceMessageShowsOnlyTheError) {
    MessageRecorder recorder(IDCANCEL);
    EXPECT_EQ(ShowResourceMessage(MB_YESNO, 9998, 1), IDOK);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "error occured. [resource missing, ID=9998]");
}

TEST(UtilitiesTest, ForceForeground) {
    EXPECT_FALSE(ForceForeground(nullptr));
    const HWND window = ::CreateWindowExA(0, "STATIC", "foreground", WS_POPUP | WS_VISIBLE, 0, 0,
                                          50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ForceForeground(window));
    EXPECT_EQ(::GetForegroundWindow(), window);
    ::DestroyWindow(window);
    EXPECT_FALSE(ForceForeground(window));
}

} // namespace
