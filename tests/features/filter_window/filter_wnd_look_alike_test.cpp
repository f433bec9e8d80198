// Look-alike highlighting in real filter windows under Wine, through each shipped dichromacy:
// colours that the filter merges although they are far apart, found by search over its table,
// and colours that stay apart, on the screen; what the window shows is read back and checked
// pixel by pixel against the rule.
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/look_alike.h"
#include "features/app_messages.h"
#include "features/filter_window/filter_wnd_fixture.h"

#include <objbase.h>

#include <string>
#include <vector>

namespace filter_wnd_test {

namespace {

using win_test::KeyInput;
using win_test::PressKeys;
using win_test::SendInputs;

const char* const kDichromacies[] = {"protanopia", "deutanopia", "tritanoptia"};

// A reference, a colour the filter shows alike although it differs in ordinary vision as much
// as any such pair of the search, and one that stays apart.
struct LookAlikeColours {
    ColorValue reference = 0;
    ColorValue alike = 0;
    ColorValue apart = 0;
    double deltaBefore = 0;
};

LookAlikeColours FindCollapsingPair(const CFilter& filter) {
    // Eight levels a channel: 512 colours, every pair of them compared.
    std::vector<ColorValue> colours;
    for (int r = 0; r < 8; ++r)
        for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 8; ++b)
                colours.push_back(MakeColor(r * 255 / 7, g * 255 / 7, b * 255 / 7));
    std::vector<Lab> before;
    for (const ColorValue c : colours) {
        before.push_back(LabFromColor(c));
    }
    LookAlikeColours best;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const ColorValue reference = filter.Transform(colours[i]);
        for (std::size_t j = i + 1; j < colours.size(); ++j) {
            if (!IsLookAlike(reference, filter.Transform(colours[j]), kDefaultLookAlikeDistance)) {
                continue;
            }
            const double delta = Ciede2000(before[i], before[j]);
            if (delta > best.deltaBefore) {
                best = {colours[i], colours[j], 0, delta};
            }
        }
    }
    const ColorValue reference = filter.Transform(best.reference);
    for (const ColorValue c : colours) {
        if (Ciede2000(LabFromColor(reference), LabFromColor(filter.Transform(c))) > 30) {
            best.apart = c;
            break;
        }
    }
    return best;
}

class LookAlikeWindowTest : public FilterWindowTest {
protected:
    static void SetUpTestSuite() {
        FilterWindowTest::SetUpTestSuite();
        CFilterManager& m = GetFilterManager();
        if (m.FindFilter(kDichromacies[0]) == nullptr) {
            // The reader's MSXML wants COM on the calling thread.
            const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            m.LoadFilterDirectory(ZEZIRIV_FILTER_DATA_DIR);
            if (SUCCEEDED(com)) {
                CoUninitialize();
            }
        }
        for (const char* id : kDichromacies) {
            CFilter* filter = m.FindFilter(id);
            ASSERT_NE(filter, nullptr) << id;
            ASSERT_TRUE(filter->BuildTable(m.GetImageQuality()));
        }
    }
    void SetUp() override {
        FilterWindowTest::SetUp();
        CFilterManager& m = GetFilterManager();
        m.GetEnabledList() = {m.FindFilter("protanopia"), m.FindFilter("deutanopia"),
                              m.FindFilter("tritanoptia"), m.FindFilter("_normal")};
    }
    void TearDown() override {
        SendInputs({KeyInput(VK_CONTROL, true)});
        s_pattern->SetColours(PatternColours());
        s_pattern->WaitShown();
        FilterWindowTest::TearDown();
    }

    // The pattern's cells: the reference under the cursor and every fourth cell, the alike and
    // the apart colour, and a grey.
    void ShowColours(const LookAlikeColours& colours) {
        std::vector<ColorValue> cells;
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const ColorValue choices[] = {colours.reference, colours.alike, colours.apart,
                                              0x808080};
                cells.push_back(choices[(column + row) % 4]);
            }
        }
        cells[5 * kColumns + 6] = colours.reference; // the cell under kCursor
        s_pattern->SetColours(cells);
        ASSERT_TRUE(s_pattern->WaitShown());
    }

    // Until the window's picture (zoom 1, no mark) is the filter's, highlighted or not, of what
    // the screen holds; `alike` and `dimmed` count the two kinds of pixels when highlighted.
    bool ExpectPicture(CFilterWnd* window, const CFilter& filter, bool highlighted,
                       int* alike = nullptr, int* dimmed = nullptr) {
        const CCaptureImage& image = window->GetModel().GetCaptureImage();
        const int w = image.GetWidth();
        const int h = image.GetHeight();
        const int x0 = kCursor.x - (w - 1) / 2;
        const int y0 = kCursor.y - (h - 1) / 2;
        const CScreenPixels screen = CScreenPixels::Read(x0, y0, w, h);
        const ColorValue reference = filter.Transform(screen.At((w - 1) / 2, (h - 1) / 2));
        int wrong = 0;
        const bool shown = WaitForPixels(window->GetHwnd(), [&](const CScreenPixels& pixels) {
            wrong = 0;
            int same = 0;
            int faded = 0;
            for (int y = 0; y < h && y < pixels.GetHeight(); ++y) {
                for (int x = 0; x < w && x < pixels.GetWidth(); ++x) {
                    const ColorValue c = filter.Transform(screen.At(x, y));
                    const bool isAlike =
                        !highlighted || IsLookAlike(reference, c, kDefaultLookAlikeDistance);
                    same += isAlike;
                    faded += !isAlike;
                    wrong += pixels.At(x, y) != (isAlike ? c : DimColor(c));
                }
            }
            if (alike != nullptr) {
                *alike = same;
                *dimmed = faded;
            }
            return wrong == 0;
        });
        EXPECT_TRUE(shown) << wrong << " pixels differ, highlighted " << highlighted;
        return shown;
    }
};

} // namespace

TEST_F(LookAlikeWindowTest, EachDichromacyKeepsItsLookAlikesAndDimsTheRestExactly) {
    for (const char* id : kDichromacies) {
        SCOPED_TRACE(id);
        const CFilter& filter = *GetFilterManager().FindFilter(id);
        const LookAlikeColours colours = FindCollapsingPair(filter);
        // Far apart in ordinary vision, alike through the filter; the third stays apart.
        EXPECT_GT(colours.deltaBefore, 20);
        ASSERT_NE(colours.apart, colours.reference);
        ShowColours(colours);

        CFilterWnd* window = OpenAndWait(Record(id, 1, false));
        ASSERT_NE(window, nullptr);
        const HWND hwnd = window->GetHwnd();
        ASSERT_TRUE(ExpectPicture(window, filter, false));

        PostMessageA(hwnd, WM_APP_SET_HIGHLIGHT, 1, 0);
        int alike = 0;
        int dimmed = 0;
        ASSERT_TRUE(ExpectPicture(window, filter, true, &alike, &dimmed));
        // The reference cells and the alike cells (a quarter of the pattern each) keep their
        // colours; the apart ones do not.
        EXPECT_GE(alike, 2 * (kColumns * kRows / 4) * kCell * kCell - kCell * kCell);
        EXPECT_GT(dimmed, 0);
        const std::string status = StatusText(hwnd, 3);
        EXPECT_EQ(status.rfind("Look-alikes ", 0), 0u) << status;
        EXPECT_EQ(status.back(), '%') << status;

        // Off again: every pixel as the filter shows it.
        PostMessageA(hwnd, WM_APP_SET_HIGHLIGHT, 0, 0);
        EXPECT_TRUE(ExpectPicture(window, filter, false));
        EXPECT_EQ(StatusText(hwnd, 3), "");
        GetWindowCollection().DestroyAllWindows();
        ASSERT_TRUE(PumpUntil([] { return FilterWindowsOnScreen().empty(); }, kTimeoutMs));
    }
}

// H in one window, Ctrl+H in every window (this window's negation), as the user presses them;
// the last choice is what the next window starts with.
TEST_F(LookAlikeWindowTest, HTogglesOneWindowAndCtrlHEveryWindow) {
    const CFilter& filter = *GetFilterManager().FindFilter("deutanopia");
    ShowColours(FindCollapsingPair(filter));
    std::vector<CFilterWnd*> windows;
    for (int i = 0; i < 2; ++i) {
        CWindowSetting record = Record("deutanopia", 1, false);
        // Side by side, so that each one's picture can be read from the screen.
        record.WindowRect.left += 320 * i;
        record.WindowRect.right += 320 * i;
        windows.push_back(OpenAndWait(record));
        ASSERT_NE(windows.back(), nullptr);
    }
    const HWND first = windows[0]->GetHwnd();
    SetForegroundWindow(first);
    SetFocus(first);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == first; }, 5000));

    PressKeys({'H'});
    ASSERT_TRUE(PumpUntil([&] { return windows[0]->GetModel().IsHighlight(); }, 5000));
    EXPECT_FALSE(windows[1]->GetModel().IsHighlight());
    EXPECT_TRUE(ExpectPicture(windows[0], filter, true));
    EXPECT_TRUE(ExpectPicture(windows[1], filter, false));

    // Ctrl+H: the first window's negation (off) for both, then on for both.
    PressKeys({VK_CONTROL, 'H'});
    ASSERT_TRUE(PumpUntil([&] { return !windows[0]->GetModel().IsHighlight(); }, 5000));
    EXPECT_FALSE(windows[1]->GetModel().IsHighlight());
    PressKeys({VK_CONTROL, 'H'});
    ASSERT_TRUE(PumpUntil(
        [&] {
            return windows[0]->GetModel().IsHighlight() && windows[1]->GetModel().IsHighlight();
        },
        5000));
    EXPECT_TRUE(ExpectPicture(windows[1], filter, true));
    EXPECT_TRUE(GetAppProfile().IsWindowHighlightLookAlikes());
}

} // namespace filter_wnd_test
