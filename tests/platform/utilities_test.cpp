#include "platform/utilities.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
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

std::string ExePath() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

TEST(UtilitiesTest, ExeDirectoryAndFileTests) {
    const std::string directory = GetExeDirectory();
    const std::string exe = ExePath();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '\\');
    EXPECT_EQ(exe.compare(0, directory.size(), directory), 0);
    EXPECT_EQ(exe.find('\\', directory.size()), std::string::npos);

    EXPECT_TRUE(FileExists(exe.c_str()));
    EXPECT_FALSE(DirectoryExists(exe.c_str()));
    EXPECT_TRUE(DirectoryExists(directory.c_str()));
    EXPECT_FALSE(FileExists(directory.c_str()));
    const std::string missing = directory + "no such entry";
    EXPECT_FALSE(FileExists(missing.c_str()));
    EXPECT_FALSE(DirectoryExists(missing.c_str()));
}

TEST(UtilitiesTest, ProductVersionFromTheVersionResource) {
    EXPECT_EQ(GetProductVersionMS(ExePath().c_str()), 0x00010002u);

    const std::string plain = GetExeDirectory() + "utilities_test_plain.txt";
    std::ofstream(plain) << "no version resource here\n";
    EXPECT_EQ(GetProductVersionMS(plain.c_str()), 0xFFFFFFFFu);
    ::DeleteFileA(plain.c_str());
    EXPECT_EQ(GetProductVersionMS(plain.c_str()), 0xFFFFFFFFu);
}

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

TEST(UtilitiesTest, MessagesAreCaptionedAndCut) {
    MessageRecorder recorder(IDCANCEL);
    EXPECT_EQ(ShowMessage(MB_OKCANCEL | MB_ICONWARNING, "%s=%d", "x", 5), IDCANCEL);
    EXPECT_EQ(ShowResourceMessage(MB_OK, 102, 7, "seven"), IDCANCEL);
    const std::string longText(700, 'm');
    ShowMessage(MB_OK, "%s", longText.c_str());
    ASSERT_EQ(recorder.shown.size(), 3u);
    EXPECT_EQ(recorder.shown[0].text, "x=5");
    EXPECT_EQ(recorder.shown[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
    EXPECT_EQ(recorder.shown[1].text, "value 7 of seven");
    EXPECT_EQ(recorder.shown[2].text, std::string(511, 'm'));
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
