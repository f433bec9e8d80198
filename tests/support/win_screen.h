#pragma once

// Windows test support: a window of known colours on the screen, screen pixels read back, and
// message pumping with bounded waits.

#include "engine/filter/color.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace win_test {

// Dispatches this thread's messages until `condition` holds or `timeoutMs` passes. A message
// `preTranslate` takes is not dispatched, as in a loop with message filters.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs,
               const std::function<bool(MSG&)>& preTranslate = {});

// Returns once every message posted to this thread's windows before the call has been handled
// (posted messages are handled in order). False when that takes longer than the timeout.
bool FlushPostedMessages(DWORD timeoutMs = 10000);
// Returns once all input given to SendInput before the call has been handled by this thread's
// windows: a marker key goes through the same input queue and is watched for.
bool FlushInput(DWORD timeoutMs = 10000);

// Input as the user gives it, through the system's input queue.
INPUT KeyInput(WORD key, bool up = false);
INPUT ButtonInput(DWORD mouseFlags);
void SendInputs(std::vector<INPUT> inputs);
// Presses the keys in order and lets them go in reverse, as fingers press a combination.
void PressKeys(std::initializer_list<WORD> keys);
// `times` clicks of the left button at a screen point.
void Click(int x, int y, int times = 1);

// Screen pixels of a rectangle, row by row, as packed colours (what a user sees).
class CScreenPixels {
public:
    static CScreenPixels Read(int x, int y, int width, int height);
    // The client area of a window.
    static CScreenPixels ReadClient(HWND window);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    ColorValue At(int x, int y) const {
        return m_pixels[static_cast<std::size_t>(y) * m_width + x];
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<ColorValue> m_pixels;
};

// A topmost window without activation, painted as a grid of cells of given colours (row by
// row), for views to capture.
class CPatternWindow {
public:
    CPatternWindow(int x, int y, int columns, int rows, int cellSize,
                   std::vector<ColorValue> colours);
    ~CPatternWindow();
    CPatternWindow(const CPatternWindow&) = delete;
    CPatternWindow& operator=(const CPatternWindow&) = delete;

    HWND GetHwnd() const { return m_hwnd; }
    // Paints new colours (as many as before).
    void SetColours(std::vector<ColorValue> colours);
    // True once the screen shows the pattern (the X server lags the paint).
    bool WaitShown(DWORD timeoutMs = 10000) const;
    // The colour of a screen point inside the pattern.
    ColorValue ColourAt(int screenX, int screenY) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;

    int m_x, m_y, m_columns, m_rows, m_cell;
    std::vector<ColorValue> m_colours;
    HWND m_hwnd = nullptr;
};

} // namespace win_test
