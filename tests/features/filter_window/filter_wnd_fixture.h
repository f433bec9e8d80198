#pragma once

// The shared set-up of the filter window tests under Wine: a pattern of known colours on the
// screen, the cursor over it, test filters in the manager, and helpers that read what a user
// sees.
#include "app/app_profile.h"
#include "app/window_collection.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "features/filter_window/filter_wnd.h"
#include "support/test_data.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace filter_wnd_test {

using win_test::CPatternWindow;
using win_test::CScreenPixels;
using win_test::PumpUntil;

constexpr DWORD kTimeoutMs = 15000;

// Channels of 0 and 255 only: averaging never makes the mark's greys out of them.
constexpr ColorValue kPalette[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                                   0xFF00FF, 0xFFFF00, 0xFFFFFF, 0x000000};
constexpr int kPatternX = 40;
constexpr int kPatternY = 40;
constexpr int kColumns = 12;
constexpr int kRows = 9;
constexpr int kCell = 20;
// A yellow cell, which the swap filter turns cyan.
constexpr POINT kCursor{kPatternX + 125, kPatternY + 105};

inline std::vector<ColorValue> PatternColours() {
    std::vector<ColorValue> colours;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            colours.push_back(kPalette[(column * 3 + row * 5) % 8]);
        }
    }
    return colours;
}

inline std::vector<HWND> FilterWindowsOnScreen() {
    std::vector<HWND> found;
    for (HWND w = FindWindowExA(nullptr, nullptr, CFilterWnd::kClassName, nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, CFilterWnd::kClassName, nullptr)) {
        found.push_back(w);
    }
    return found;
}

inline std::string StatusText(HWND window, int part) {
    HWND bar = GetDlgItem(window, CFilterWnd::kStatusbarId);
    if (bar == nullptr) {
        return "<no status bar>";
    }
    const LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0);
    std::string text(LOWORD(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    return text;
}

inline std::string Title(HWND window) {
    char title[600] = {};
    GetWindowTextA(window, title, sizeof(title));
    return title;
}

inline IntRect WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

class FilterWindowTest : public ::testing::Test {
public:
    static CPatternWindow* s_pattern;

protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        CFilterManager& m = GetFilterManager();
        if (m.FindFilter("swap") == nullptr) {
            ASSERT_TRUE(
                AddColorMap(m, "swap", SwapRedBlueMap(), "Swap")->BuildTable(m.GetImageQuality()));
            AddSequence(m, "seq", {{"swap", 150}, {"_normal", 150}}, 0, "Blink");
        }
        s_pattern =
            new CPatternWindow(kPatternX, kPatternY, kColumns, kRows, kCell, PatternColours());
        ASSERT_TRUE(s_pattern->WaitShown());
    }
    static void TearDownTestSuite() {
        delete s_pattern;
        s_pattern = nullptr;
    }

    void SetUp() override {
        CFilterManager& m = GetFilterManager();
        m.GetEnabledList() = {m.FindFilter("swap"), m.FindFilter("_normal"), m.FindFilter("seq")};
        CAppProfile& profile = GetAppProfile();
        profile = CAppProfile();
        GetWindowCollection().GetCascade().SetOrigin({}, false);
        SetCursorPos(kCursor.x, kCursor.y);
    }
    void TearDown() override {
        CFilterWnd::SetFailStatusbarForTesting(false);
        GetWindowCollection().DestroyAllWindows();
        EXPECT_TRUE(PumpUntil([] { return FilterWindowsOnScreen().empty(); }, kTimeoutMs));
    }

    // A window right of the pattern, so it never captures itself.
    static CWindowSetting Record(const char* filter, int zoom, bool mark) {
        CWindowSetting s;
        s.FilterID = filter;
        s.Zoom = zoom;
        s.MarkCenter = mark;
        s.WindowRect = {400, 40, 700, 300};
        return s;
    }

    CFilterWnd* OpenAndWait(const CWindowSetting& record) {
        CWindowCollection& windows = GetWindowCollection();
        const int before = windows.GetCount();
        EXPECT_TRUE(windows.OpenFilterWindow(&record));
        if (windows.GetCount() != before + 1) {
            return nullptr;
        }
        CFilterWnd* window = windows.GetWindows().back();
        // Shown once the window has captured the pattern and painted it.
        const ColorValue expected = s_pattern->ColourAt(kCursor.x, kCursor.y);
        EXPECT_TRUE(PumpUntil([&] { return window->GetModel().GetOriginalColor() == expected; },
                              kTimeoutMs));
        return window;
    }

    // Polls the window's client pixels until `check` accepts them.
    static bool WaitForPixels(HWND window, const std::function<bool(const CScreenPixels&)>& check) {
        return PumpUntil([&] { return check(CScreenPixels::ReadClient(window)); }, kTimeoutMs);
    }
};

} // namespace filter_wnd_test
