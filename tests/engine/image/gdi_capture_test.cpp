// Screen copies through GDI of a window painted with known colours.
#include "engine/filter/filter.h"
#include "engine/image/capture_image.h"
#include "engine/image/gdi_screen_source.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

constexpr int kLeft = 120;
constexpr int kTop = 90;
constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr COLORREF kLeftColour = RGB(200, 30, 40);
constexpr COLORREF kRightColour = RGB(30, 60, 90);

bool g_painted = false;

// Left half kLeftColour, right half kRightColour.
LRESULT CALLBACK PaintProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT left{0, 0, kWidth / 2, kHeight};
        RECT right{kWidth / 2, 0, kWidth, kHeight};
        HBRUSH a = CreateSolidBrush(kLeftColour);
        HBRUSH b = CreateSolidBrush(kRightColour);
        FillRect(dc, &left, a);
        FillRect(dc, &right, b);
        DeleteObject(a);
        DeleteObject(b);
        EndPaint(hwnd, &ps);
        GdiFlush();
        g_painted = true;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

class GdiCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PaintProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZezirivCaptureTestWindow";
        RegisterClassA(&wc);
        g_painted = false;
        window =
            CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, kLeft,
                            kTop, kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        // The X server shows the window asynchronously: wait for the paint, then a little more
        // for it to reach the screen, with a bound.
        const DWORD start = GetTickCount();
        while (!g_painted && GetTickCount() - start < 5000) {
            PumpFor(20);
        }
        PumpFor(300);
    }
    void TearDown() override {
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }

    // Polls until the window's colours are on the screen (the X server may lag the paint).
    bool CaptureWhenShown(CCaptureImage& image, int x, int y, int width, int height) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (!image.Capture(x, y, width, height)) {
                return false;
            }
            if (image.GetTopLeftColor(true) == kLeftColour) {
                return true;
            }
            PumpFor(100);
        }
        return true;
    }

    HWND window = nullptr;
};

TEST_F(GdiCaptureTest, CapturesWindowColoursAtItsScreenPosition) {
    CCaptureImage image(GetGdiScreenSource());
    ASSERT_TRUE(CaptureWhenShown(image, kLeft, kTop, kWidth, kHeight));
    ASSERT_NE(image.GetSurface(), nullptr);
    EXPECT_EQ(image.GetTopLeftColor(true), kLeftColour);
    EXPECT_EQ(image.GetCenterColor(true), kLeftColour); // column 31 of 0..63
    const unsigned char* p =
        image.GetOriginalPixels() + (kHeight - 1) * image.GetStride() + (kWidth - 1) * 3;
    EXPECT_EQ(MakeColor(p[2], p[1], p[0]), kRightColour);

    // The display pixels are a DIB section selected into the surface: GDI sees the same bits.
    auto normal = CreateNormalFilter();
    image.ApplyFilter(normal.get());
    EXPECT_EQ(GetPixel(image.GetSurface(), kWidth - 1, 0), kRightColour);
}

TEST_F(GdiCaptureTest, RectanglePartlyOffScreenReadsBlackThere) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    CCaptureImage image(GetGdiScreenSource());
    ASSERT_TRUE(image.Capture(screenWidth - 4, 0, 12, 2));
    for (int x = 4; x < 12; ++x) {
        const unsigned char* p = image.GetOriginalPixels() + x * 3;
        EXPECT_EQ(MakeColor(p[2], p[1], p[0]), 0u) << x;
    }
    // Off the top and left edges of the screen; the part on the screen is still copied.
    ASSERT_TRUE(image.Capture(-6, -3, kLeft + 8, kTop + 6));
    EXPECT_EQ(image.GetTopLeftColor(true), 0u);
    const unsigned char* inside =
        image.GetOriginalPixels() + (kTop + 4) * image.GetStride() + (kLeft + 7) * 3;
    EXPECT_EQ(MakeColor(inside[2], inside[1], inside[0]), kLeftColour);
}

TEST_F(GdiCaptureTest, SameSizeCapturesReuseTheSurface) {
    CCaptureImage image(GetGdiScreenSource());
    ASSERT_TRUE(CaptureWhenShown(image, kLeft, kTop, kWidth, kHeight));
    const SurfaceHandle surface = image.GetSurface();
    const unsigned char* display = image.GetDisplayPixels();
    ASSERT_TRUE(image.Capture(kLeft + kWidth / 2, kTop, kWidth, kHeight));
    EXPECT_EQ(image.GetSurface(), surface);
    EXPECT_EQ(image.GetDisplayPixels(), display);
    EXPECT_EQ(image.GetTopLeftColor(true), kRightColour);
}

} // namespace
