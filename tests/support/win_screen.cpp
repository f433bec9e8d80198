#include "support/win_screen.h"

#include <iterator>
#include <utility>

namespace win_test {

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs,
               const std::function<bool(MSG&)>& preTranslate) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!preTranslate || !preTranslate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

constexpr UINT kFlushMarker = WM_APP + 0x3F0;
bool g_markerSeen = false;

LRESULT CALLBACK MarkerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kFlushMarker) {
        g_markerSeen = true;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A key nobody uses, as the marker at the end of the input queue.
constexpr WORD kMarkerKey = VK_F24;

LRESULT CALLBACK WatchMarkerKey(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_KEYUP &&
        msg->wParam == kMarkerKey) {
        g_markerSeen = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

bool FlushPostedMessages(DWORD timeoutMs) {
    static const HWND marker = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &MarkerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZezirivTestFlushMarker";
        RegisterClassA(&wc);
        return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    }();
    g_markerSeen = false;
    PostMessageA(marker, kFlushMarker, 0, 0);
    return PumpUntil([] { return g_markerSeen; }, timeoutMs);
}

bool FlushInput(DWORD timeoutMs) {
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &WatchMarkerKey, nullptr, GetCurrentThreadId());
    g_markerSeen = false;
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = kMarkerKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    const bool seen = PumpUntil([] { return g_markerSeen; }, timeoutMs);
    UnhookWindowsHookEx(hook);
    // What the input caused may have posted more.
    return seen && FlushPostedMessages(timeoutMs);
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT ButtonInput(DWORD mouseFlags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = mouseFlags;
    return input;
}

void SendInputs(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        inputs.push_back(KeyInput(key));
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        inputs.push_back(KeyInput(*key, true));
    }
    SendInputs(inputs);
}

void Click(int x, int y, int times) {
    SetCursorPos(x, y);
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i) {
        inputs.push_back(ButtonInput(MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(ButtonInput(MOUSEEVENTF_LEFTUP));
    }
    SendInputs(inputs);
}

CScreenPixels CScreenPixels::Read(int x, int y, int width, int height) {
    CScreenPixels result;
    if (width <= 0 || height <= 0) {
        return result;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        result.m_width = width;
        result.m_height = height;
        result.m_pixels.resize(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < result.m_pixels.size(); ++i) {
            // DIB pixels are 0x00RRGGBB; packed colours 0x00BBGGRR.
            const std::uint32_t v = p[i];
            result.m_pixels[i] = MakeColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        }
        SelectObject(memory, old);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return result;
}

CScreenPixels CScreenPixels::ReadClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return Read(origin.x, origin.y, client.right, client.bottom);
}

CPatternWindow::CPatternWindow(int x, int y, int columns, int rows, int cellSize,
                               std::vector<ColorValue> colours)
    : m_x(x), m_y(y), m_columns(columns), m_rows(rows), m_cell(cellSize),
      m_colours(std::move(colours)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CPatternWindow::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZezirivTestPattern";
    RegisterClassA(&wc); // a second registration fails harmlessly
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName,
                             "", WS_POPUP, x, y, columns * cellSize, rows * cellSize, nullptr,
                             nullptr, wc.hInstance, this);
    if (m_hwnd != nullptr) {
        ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(m_hwnd);
    }
}

CPatternWindow::~CPatternWindow() {
    if (m_hwnd != nullptr) {
        DestroyWindow(m_hwnd);
    }
}

LRESULT CALLBACK CPatternWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    const auto* self =
        reinterpret_cast<const CPatternWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_PAINT && self != nullptr) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        self->Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) {
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void CPatternWindow::Paint(HDC dc) const {
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns; ++column) {
            const ColorValue c = m_colours[static_cast<std::size_t>(row) * m_columns + column];
            HBRUSH brush = CreateSolidBrush(c); // COLORREF has the same layout
            const RECT cell{column * m_cell, row * m_cell, (column + 1) * m_cell,
                            (row + 1) * m_cell};
            FillRect(dc, &cell, brush);
            DeleteObject(brush);
        }
    }
    GdiFlush();
}

void CPatternWindow::SetColours(std::vector<ColorValue> colours) {
    m_colours = std::move(colours);
    InvalidateRect(m_hwnd, nullptr, FALSE);
    UpdateWindow(m_hwnd);
}

ColorValue CPatternWindow::ColourAt(int screenX, int screenY) const {
    const int column = (screenX - m_x) / m_cell;
    const int row = (screenY - m_y) / m_cell;
    return m_colours[static_cast<std::size_t>(row) * m_columns + column];
}

bool CPatternWindow::WaitShown(DWORD timeoutMs) const {
    return PumpUntil(
        [this] {
            for (int row = 0; row < m_rows; ++row) {
                for (int column = 0; column < m_columns; ++column) {
                    const int x = m_x + column * m_cell + m_cell / 2;
                    const int y = m_y + row * m_cell + m_cell / 2;
                    if (CScreenPixels::Read(x, y, 1, 1).At(0, 0) != ColourAt(x, y)) {
                        return false;
                    }
                }
            }
            return true;
        },
        timeoutMs);
}

} // namespace win_test
