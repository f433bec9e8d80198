// Poses the real zeziriv.exe for the user guide's pictures (scripts/screenshots):
//   screenshot_driver WORKDIR FILTERDIR
//   screenshot_driver WORKDIR FILTERDIR LIBRARY LANGUAGE_FILTERDIR
// The second form runs the program with a language library (and its filter folder) for the
// system language, and takes the translated tray menu and setting dialogs, named NAME-LANGID.
// It shows a fixed colourful picture over the whole screen, starts the program from a scratch
// tree with the shipped filters of FILTERDIR, and brings up one window after another: a filter
// window, the tray menu, the quick view, the desktop view with its panel and both setting
// dialogs. Before each picture it checks, the way a screen reader would, that the window shows
// what it should, saves a GDI copy of the window's rectangle as WORKDIR\NAME.bmp and asks the
// script for the picture by writing WORKDIR\request.txt ("NAME X Y WIDTH HEIGHT"); the script
// takes it with ImageMagick, compares it with the copy and deletes the request.
// The exit code is 0 when every window was posed and checked.
#include "program_driver.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace driver;

namespace {

constexpr DWORD kWaitMs = 20000;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Check(bool condition, const std::string& what) {
    if (!condition) {
        throw Failure(what);
    }
}

// ---- The picture: colour tiles over the hue circle above, a bar chart below. ----------------

COLORREF HueColor(int hue, double saturation, double value) {
    const double h = (hue % 360) / 60.0;
    const int sector = static_cast<int>(h);
    const double f = h - sector;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * f);
    const double t = value * (1 - saturation * (1 - f));
    double r = 0, g = 0, b = 0;
    switch (sector) {
    case 0:
        r = value, g = t, b = p;
        break;
    case 1:
        r = q, g = value, b = p;
        break;
    case 2:
        r = p, g = value, b = t;
        break;
    case 3:
        r = p, g = q, b = value;
        break;
    case 4:
        r = t, g = p, b = value;
        break;
    default:
        r = value, g = p, b = q;
        break;
    }
    return RGB(static_cast<int>(r * 255 + 0.5), static_cast<int>(g * 255 + 0.5),
               static_cast<int>(b * 255 + 0.5));
}

// A palette of ten colours that people with ordinary colour vision tell apart easily.
constexpr COLORREF kBars[] = {RGB(0x1f, 0x77, 0xb4), RGB(0xff, 0x7f, 0x0e), RGB(0x2c, 0xa0, 0x2c),
                              RGB(0xd6, 0x27, 0x28), RGB(0x94, 0x67, 0xbd), RGB(0x8c, 0x56, 0x4b),
                              RGB(0xe3, 0x77, 0xc2), RGB(0x7f, 0x7f, 0x7f), RGB(0xbc, 0xbd, 0x22),
                              RGB(0x17, 0xbe, 0xcf)};
constexpr int kBarHeights[] = {300, 240, 340, 330, 180, 120, 260, 90, 210, 280};

struct PictureLayout {
    int width = 0, height = 0;
    int chartTop = 0; // the chart's white area starts here
    int baseline = 0; // bottom of the bars
    int barLeft = 0, barWidth = 0, barGap = 0;
    RECT Bar(int i) const {
        const int left = barLeft + i * (barWidth + barGap);
        return {left, baseline - kBarHeights[i], left + barWidth, baseline};
    }
};

PictureLayout Layout(int width, int height) {
    PictureLayout layout;
    layout.width = width;
    layout.height = height;
    layout.chartTop = height / 2;
    layout.baseline = height - 60;
    layout.barWidth = width / 16;
    layout.barGap = width / 48;
    layout.barLeft = (width - 10 * layout.barWidth - 9 * layout.barGap) / 2;
    return layout;
}

void DrawPicture(HDC dc, const PictureLayout& layout) {
    // Tiles: hue along x in 36 columns, saturation and value along y in 8 rows.
    const int columns = 36, rows = 8;
    for (int row = 0; row < rows; ++row) {
        const double saturation = row < 4 ? 0.4 + 0.2 * row : 1.0;
        const double value = row < 4 ? 1.0 : 1.0 - 0.18 * (row - 3);
        for (int column = 0; column < columns; ++column) {
            const RECT tile{column * layout.width / columns, row * layout.chartTop / rows,
                            (column + 1) * layout.width / columns,
                            (row + 1) * layout.chartTop / rows};
            HBRUSH brush = CreateSolidBrush(HueColor(column * 10, saturation, value));
            FillRect(dc, &tile, brush);
            DeleteObject(brush);
        }
    }
    const RECT chart{0, layout.chartTop, layout.width, layout.height};
    FillRect(dc, &chart, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HFONT font = CreateFontA(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(40, 40, 40));
    const char* title = "Sales by region: ten series in ten colours";
    TextOutA(dc, layout.barLeft, layout.chartTop + 16, title, lstrlenA(title));
    for (int i = 0; i < 10; ++i) {
        const RECT bar = layout.Bar(i);
        HBRUSH brush = CreateSolidBrush(kBars[i]);
        FillRect(dc, &bar, brush);
        DeleteObject(brush);
        const char label[2] = {static_cast<char>('A' + i), 0};
        TextOutA(dc, bar.left + layout.barWidth / 2 - 6, layout.baseline + 12, label, 1);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        DrawPicture(dc, Layout(client.right, client.bottom));
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (msg == WM_ERASEBKGND) {
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The picture window lives on a thread of its own, so it repaints while the driver waits.
HWND ShowPicture() {
    HWND window = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread([&window, ready] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &PictureProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "ZezirivShotPicture";
        RegisterClassA(&wc);
        HWND created =
            CreateWindowExA(0, "ZezirivShotPicture", "Sample picture", WS_POPUP | WS_VISIBLE, 0, 0,
                            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
        window = created;
        SetEvent(ready);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageA(&msg);
        }
    }).detach();
    WaitForSingleObject(ready, kWaitMs);
    CloseHandle(ready);
    return window;
}

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return color;
}

// ---- Pictures ------------------------------------------------------------------------------

class CShots {
public:
    explicit CShots(std::string dir) : m_dir(std::move(dir)) {}

    // Saves the GDI copy of `area`, asks the script for the picture and waits until it is taken.
    void Take(const std::string& name, RECT area) {
        area.left = std::max(area.left, 0L);
        area.top = std::max(area.top, 0L);
        area.right = std::min<LONG>(area.right, GetSystemMetrics(SM_CXSCREEN));
        area.bottom = std::min<LONG>(area.bottom, GetSystemMetrics(SM_CYSCREEN));
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        Check(width > 0 && height > 0, name + ": empty rectangle");
        SaveBitmap(m_dir + name + ".bmp", area);
        const std::string request = m_dir + "request.txt";
        const std::string partial = request + ".part";
        FILE* file = std::fopen(partial.c_str(), "wb");
        Check(file != nullptr, "cannot write " + partial);
        std::fprintf(file, "%s %ld %ld %d %d\n", name.c_str(), area.left, area.top, width, height);
        std::fclose(file);
        MoveFileExA(partial.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING);
        Check(
            WaitFor([&] { return GetFileAttributesA(request.c_str()) == INVALID_FILE_ATTRIBUTES; },
                    60000),
            name + ": the picture was not taken");
        std::printf("posed %s (%dx%d)\n", name.c_str(), width, height);
        std::fflush(stdout);
    }

private:
    static void SaveBitmap(const std::string& path, RECT area) {
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height; // bottom-up, as a BMP file keeps its rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        Check(bitmap != nullptr, "cannot make a bitmap");
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        const DWORD stride = (width * 3 + 3) & ~3u;
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
        header.bfSize = header.bfOffBits + stride * height;
        info.bmiHeader.biSizeImage = stride * height;
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file != nullptr) {
            std::fwrite(&header, sizeof(header), 1, file);
            std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, file);
            std::fwrite(bits, 1, stride * height, file);
            std::fclose(file);
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        Check(file != nullptr, "cannot write " + path);
    }

    std::string m_dir;
};

RECT Grow(RECT r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT FullScreen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<HWND> VisibleMenus(DWORD process) {
    return FindWindows(process, kMenuClass, nullptr, true);
}

void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Takes the tray menu that was just asked for, with its Quick view submenu open, once `check`
// accepts its items; returns them.
template <class Check_>
std::vector<MenuItem> TakeTrayMenu(CShots& shots, DWORD process, const std::string& name,
                                   const Check_& check) {
    Check(WaitFor([&] { return VisibleMenus(process).size() == 1; }, kWaitMs), "no tray menu");
    const HWND menu = VisibleMenus(process)[0];
    const std::vector<MenuItem> items = ReadOpenMenu(menu);
    Check(check(items), name + ": the tray menu has " + std::to_string(items.size()) +
                            " items, not the expected ones");
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) {
        PostKey(menu, key);
    }
    Check(WaitFor([&] { return VisibleMenus(process).size() == 2; }, kWaitMs),
          "the Quick view submenu did not open");
    RECT menus = WindowRect(menu);
    for (HWND open : VisibleMenus(process)) {
        const RECT r = WindowRect(open);
        UnionRect(&menus, &menus, &r);
    }
    Sleep(200);
    shots.Take(name, Grow(menus, 24));
    PostKey(menu, VK_ESCAPE);
    PostKey(menu, VK_ESCAPE);
    Check(WaitFor([&] { return VisibleMenus(process).empty(); }, kWaitMs), "the menu stayed");
    return items;
}

void Pose(CShots& shots, const PictureLayout& layout, const std::string& filterDir) {
    CInstallTree tree;
    Check(tree.CopyFilters(filterDir, "filter\\system\\"), "no filters in " + filterDir);

    // Between the red and the green bar: what a protan cannot tell apart.
    const RECT red = layout.Bar(3);
    const POINT spot{red.left + 10, red.bottom - 60};
    const int windowWidth = 420, windowHeight = 300;
    const POINT windowAt{spot.x - windowWidth - 60, layout.chartTop - 120};
    ClearSettings();
    // The quick view stays until the picture is taken; the general setting dialog puts the
    // waiting time back before its own picture.
    WriteSettingDword("QuickWaitingTime", 600000);
    WriteSettingString("WindowSetting", "4,1,0,0,0,0,1," + std::to_string(windowAt.x) + "," +
                                            std::to_string(windowAt.y) + "," +
                                            std::to_string(windowWidth) + "," +
                                            std::to_string(windowHeight) + ",protanopia");
    WriteSettingString("DesktopPanelPosition", "960,90,300,200");

    CProgram program(tree.GetExe());
    Check(program.IsStarted(), "zeziriv.exe did not start");
    const DWORD process = program.GetProcessId();
    const HWND frame = WaitForWindow(process, kFrameClass, kWaitMs);
    Check(frame != nullptr, "no frame");
    Check(WaitFor([&] { return FindWindows(process, kSplashClass).empty(); }, kWaitMs),
          "the splash stayed");
    // Wine's stand-in for the notification area would cover a corner of the full-screen views.
    const HWND wineTray = FindWindowA(nullptr, "Wine System Tray");
    if (wineTray != nullptr) {
        ShowWindow(wineTray, SW_HIDE);
    }

    // A filter window over the chart, its status bar naming the colour under the pointer.
    SetCursorPos(spot.x, spot.y);
    PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
    const HWND window = WaitForWindow(process, kFilterWindowClass, kWaitMs);
    Check(window != nullptr, "no filter window");
    const HWND bar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    Check(bar != nullptr, "the filter window has no status bar");
    std::string colour, place, zoom, name;
    Check(WaitFor(
              [&] {
                  SetCursorPos(spot.x, spot.y);
                  const std::vector<std::string> parts = ReadStatusBar(bar);
                  if (parts.size() != 4) {
                      return false;
                  }
                  colour = parts[0];
                  place = parts[1];
                  zoom = parts[2];
                  name = parts[3];
                  return place == std::to_string(spot.x) + ", " + std::to_string(spot.y) &&
                         !colour.empty() && !name.empty();
              },
              kWaitMs),
          "status bar: '" + colour + "' '" + place + "' '" + zoom + "' '" + name + "'");
    Check(zoom == "x4", "zoom part " + zoom);
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    Check(std::string(title).find("Protanopia") == 0, std::string("title ") + title);
    // Let the status bar and the picture settle on one refresh.
    Sleep(300);
    RECT around = WindowRect(window);
    UnionRect(&around, &around, &red);
    around.bottom = std::min<LONG>(around.bottom, layout.baseline + 40);
    around.top = std::max<LONG>(around.top, layout.chartTop - 200);
    shots.Take("filter-window", Grow(around, 16));

    // H: the look-alikes of the colour under the pointer keep their colours, the rest fades.
    PostKey(window, 'H');
    Check(WaitFor(
              [&] {
                  const std::vector<std::string> parts = ReadStatusBar(bar);
                  return parts.size() == 4 && parts[3].find("Look-alikes ") != std::string::npos;
              },
              kWaitMs),
          "the status bar does not tell the look-alikes");
    Sleep(300);
    shots.Take("filter-window-look-alikes", Grow(around, 16));
    PostKey(window, 'H');
    PostMessageA(frame, WM_COMMAND, kCloseAllCommand, 0);
    Check(WaitFor([&] { return FindWindows(process, kFilterWindowClass).empty(); }, kWaitMs),
          "the filter window did not close");

    // The tray menu with its Quick view submenu open.
    const POINT menuAt{layout.width / 2 - 120, 140};
    SetCursorPos(menuAt.x, menuAt.y);
    PostMessageA(frame, WM_APP_TRAY_NOTIFY, 100, WM_RBUTTONUP);
    const std::vector<MenuItem> items =
        TakeTrayMenu(shots, process, "tray-menu", [](const auto& items) {
            return items.size() == 15 && items[0].text == "&Desktop view" &&
                   items[14].text == "&Exit";
        });
    std::vector<std::string> enabled;
    for (const MenuItem& filter : items[3].submenu) {
        enabled.push_back(filter.text);
    }
    Check(enabled.size() == 6 && enabled[0] == "normal",
          "Quick view lists " + std::to_string(enabled.size()));

    // The quick view of the second enabled filter (protanopia): the red bar changes.
    const POINT inRed{(red.left + red.right) / 2, red.bottom - 20};
    const COLORREF original = ScreenPixel(inRed);
    PostMessageA(frame, WM_COMMAND, kQuickViewCommandBase + 1, 0);
    const HWND quick = WaitForWindow(process, kPreviewClass, kWaitMs);
    Check(quick != nullptr, "no quick view");
    Check(WaitFor([&] { return ScreenPixel(inRed) != original; }, kWaitMs),
          "the quick view does not show the filtered picture");
    const RECT quickRect = WindowRect(quick);
    const RECT screen = FullScreen();
    Check(EqualRect(&quickRect, &screen), "the quick view does not cover the screen");
    Sleep(200);
    shots.Take("quick-view", FullScreen());
    PostKey(quick, VK_ESCAPE);
    Check(WaitFor([&] { return FindWindows(process, kPreviewClass).empty(); }, kWaitMs),
          "the quick view stayed");
    Check(WaitFor([&] { return ScreenPixel(inRed) == original; }, kWaitMs),
          "the picture did not come back");

    // The desktop view with its panel, deuteranopia picked by its digit.
    PostMessageA(frame, WM_COMMAND, kDesktopViewCommand, 0);
    const HWND panel = WaitForWindow(process, kPanelClass, kWaitMs);
    Check(panel != nullptr, "no panel");
    const HWND list = GetDlgItem(panel, kPanelListId);
    Check(WaitFor([&] { return ListTexts(list) == enabled; }, kWaitMs),
          "the panel does not list the enabled filters");
    PostKey(list, '3');
    Check(WaitFor(
              [&] {
                  return SendMessageA(list, LB_GETCURSEL, 0, 0) == 2 &&
                         ScreenPixel(inRed) != original;
              },
              kWaitMs),
          "the desktop view did not switch to the third filter");
    Sleep(300);
    shots.Take("desktop-view", FullScreen());

    // A click on the red bar: its look-alikes under deuteranopia, the green bar among them.
    const HWND desktop = WaitForWindow(process, kPreviewClass, kWaitMs);
    const COLORREF unhighlighted = ScreenPixel(inRed);
    const POINT background{layout.width / 2, 30};
    const COLORREF plainBackground = ScreenPixel(background);
    PostMessageA(desktop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inRed.x, inRed.y));
    PostMessageA(desktop, WM_LBUTTONUP, 0, MAKELPARAM(inRed.x, inRed.y));
    const HWND highlight = GetDlgItem(panel, kPanelHighlightId);
    Check(WaitFor(
              [&] {
                  return SendMessageA(highlight, BM_GETCHECK, 0, 0) == BST_CHECKED &&
                         ScreenPixel(background) != plainBackground;
              },
              kWaitMs),
          "the desktop view did not highlight the look-alikes of the clicked pixel");
    Check(ScreenPixel(inRed) == unhighlighted, "the clicked colour changed");
    Sleep(300);
    shots.Take("desktop-view-look-alikes", FullScreen());
    PressButton(panel, kPanelButtonId);
    Check(WaitFor([&] { return FindWindows(process, kPreviewClass).empty(); }, kWaitMs),
          "the desktop view stayed");

    // The two setting dialogs, as they open; the quick waiting time back at its 1000 ms.
    HWND general = OpenDialog(process, frame, kGeneralSettingCommand, "Setting", kWaitMs);
    Check(general != nullptr, "no general setting dialog");
    SendMessageA(GetDlgItem(general, 1002), CB_SETCURSEL, 3, 0);
    Check(CloseDialog(general, IDOK, kWaitMs), "the dialog stayed");
    general = OpenDialog(process, frame, kGeneralSettingCommand, "Setting", kWaitMs);
    Check(general != nullptr, "no general setting dialog");
    const std::string waiting = ControlText(GetDlgItem(general, 1002));
    Check(waiting == "1000", "waiting time " + waiting);
    Check(SendMessageA(GetDlgItem(general, 1004), CB_GETCOUNT, 0, 0) == 5 &&
              SendMessageA(GetDlgItem(general, 1002), CB_GETCOUNT, 0, 0) == 6,
          "the general setting dialog's lists are not filled");
    Sleep(300);
    shots.Take("general-setting", WindowRect(general));
    Check(CloseDialog(general, IDCANCEL, kWaitMs), "the dialog stayed");

    const HWND filters =
        OpenDialog(process, frame, kFilterSettingCommand, "Filter setting", kWaitMs);
    Check(filters != nullptr, "no filter setting dialog");
    Check(ListTexts(GetDlgItem(filters, 1100)) == enabled,
          "the filter setting dialog does not list the enabled filters");
    Check(SendMessageA(GetDlgItem(filters, 1101), LB_GETCOUNT, 0, 0) >= 1,
          "no disabled filters listed");
    Sleep(300);
    shots.Take("filter-setting", WindowRect(filters));
    Check(CloseDialog(filters, IDCANCEL, kWaitMs), "the dialog stayed");

    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    Check(program.WaitExit() == std::optional<DWORD>(0), "zeziriv.exe did not exit");
    if (wineTray != nullptr) {
        ShowWindow(wineTray, SW_SHOWNA);
    }
    ClearSettings();
}

// The first top-level item texts of a menu of the library, as it holds them.
std::vector<std::string> LibraryMenuTexts(const std::string& library, int menuId) {
    std::vector<std::string> texts;
    HMODULE module = LoadLibraryExA(HostPath(library).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "cannot load " + library);
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(menuId));
    Check(menu != nullptr, library + " has no menu " + std::to_string(menuId));
    HMENU popup = GetSubMenu(menu, 0);
    for (int i = 0; popup != nullptr && i < GetMenuItemCount(popup); ++i) {
        char text[256] = {};
        GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    DestroyMenu(menu);
    FreeLibrary(module);
    return texts;
}

void PoseTranslated(CShots& shots, const PictureLayout& layout, const std::string& filterDir,
                    const std::string& library, const std::string& languageFilterDir) {
    const std::string language = std::to_string(GetSystemDefaultLangID());
    CInstallTree tree;
    const struct {
        const std::string& from;
        std::string to;
    } folders[] = {{filterDir, "filter\\system\\"},
                   {languageFilterDir, "filter\\system\\" + language + "\\"}};
    for (const auto& folder : folders) {
        Check(tree.CopyFilters(folder.from, folder.to), "no filters in " + folder.from);
    }
    tree.CopyFileInto(library, "resource\\" + language + "\\ttres.dll");
    const std::vector<std::string> expected = LibraryMenuTexts(library, 400);
    ClearSettings();

    CProgram program(tree.GetExe());
    Check(program.IsStarted(), "zeziriv.exe did not start");
    const DWORD process = program.GetProcessId();
    const HWND frame = WaitForWindow(process, kFrameClass, kWaitMs);
    Check(frame != nullptr, "no frame");
    Check(WaitFor([&] { return FindWindows(process, kSplashClass).empty(); }, kWaitMs),
          "the splash stayed");

    // The tray menu in the library's words, its Quick view submenu open.
    SetCursorPos(layout.width / 2 - 120, 140);
    PostMessageA(frame, WM_APP_TRAY_NOTIFY, 100, WM_RBUTTONUP);
    TakeTrayMenu(shots, process, "tray-menu-" + language, [&](const auto& items) {
        return items.size() == expected.size() && items[0].text == expected[0] &&
               items[14].text == expected[14];
    });

    // Both setting dialogs as they open.
    const struct {
        UINT command;
        const char* name;
        int control; // a list the dialog fills as it opens
        UINT countMessage;
    } dialogs[] = {{kGeneralSettingCommand, "general-setting-", 1004, CB_GETCOUNT},
                   {kFilterSettingCommand, "filter-setting-", 1100, LB_GETCOUNT}};
    for (const auto& d : dialogs) {
        const HWND dialog = OpenDialog(process, frame, d.command, nullptr, kWaitMs);
        Check(dialog != nullptr, std::string("no dialog for ") + d.name);
        Check(WaitFor(
                  [&] {
                      return SendMessageA(GetDlgItem(dialog, d.control), d.countMessage, 0, 0) > 0;
                  },
                  kWaitMs),
              std::string(d.name) + "its lists are not filled");
        Sleep(300);
        shots.Take(d.name + language, WindowRect(dialog));
        PressButton(dialog, IDCANCEL);
        Check(WaitFor([&] { return !IsWindow(dialog); }, kWaitMs), "the dialog stayed");
    }

    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    Check(program.WaitExit() == std::optional<DWORD>(0), "zeziriv.exe did not exit");
    ClearSettings();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr,
                     "usage: screenshot_driver WORKDIR FILTERDIR [LIBRARY LANGUAGE_FILTERDIR]\n");
        return 2;
    }
    std::string dir = HostPath(argv[1]);
    if (dir.back() != '\\') {
        dir += '\\';
    }
    const HWND picture = ShowPicture();
    if (picture == nullptr) {
        std::fprintf(stderr, "cannot show the picture\n");
        return 1;
    }
    RECT client{};
    GetClientRect(picture, &client);
    const PictureLayout layout = Layout(client.right, client.bottom);
    // The picture is on the screen once its chart's first bar is.
    const RECT first = layout.Bar(0);
    if (!WaitFor(
            [&] {
                return ScreenPixel({first.left + 4, first.bottom - 4}) == kBars[0];
            },
            kWaitMs)) {
        std::fprintf(stderr, "the picture did not appear\n");
        return 1;
    }
    CShots shots(dir);
    try {
        if (argc == 5) {
            PoseTranslated(shots, layout, argv[2], argv[3], argv[4]);
        } else {
            Pose(shots, layout, argv[2]);
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "screenshot_driver: %s\n", failure.what());
        return 1;
    }
    return 0;
}
