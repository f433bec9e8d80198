#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Drives the real zeziriv.exe from outside, as a user's tools would see it: its windows, the
// message boxes it shows, the registry it writes.
namespace e2e {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;

// Polls until `condition` holds or `timeoutMs` passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// A Wine view of a host path given at build time ("/work/x" → "Z:\work\x").
std::string HostPath(const std::string& path);

// A scratch copy of the install tree: the program, filter\system with test filters.
class CInstallTree {
public:
    CInstallTree();
    ~CInstallTree();
    const std::string& GetDir() const { return m_dir; }
    std::string GetExe() const { return m_dir + "zeziriv.exe"; }
    // Writes an identity colour-map filter file into filter\system.
    void AddFilter(const std::string& id, const std::string& displayName);
    void CopyFileInto(const std::string& source, const std::string& relativeTarget);

private:
    std::string m_dir; // ends in a backslash
};

// One run of the program.
class CProgram {
public:
    explicit CProgram(const std::string& exe);
    ~CProgram();
    bool IsStarted() const { return m_process.hProcess != nullptr; }
    DWORD GetProcessId() const { return m_process.dwProcessId; }
    // The exit code, or nothing when the process still runs after the timeout.
    std::optional<DWORD> WaitExit(DWORD timeoutMs = kExitTimeoutMs);
    bool IsRunning() const;

private:
    PROCESS_INFORMATION m_process{};
};

// Top-level windows of the process with that class (and, when given, that title).
std::vector<HWND> FindWindows(DWORD processId, const char* className, const char* title = nullptr);
HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs,
                   const char* title = nullptr);

constexpr const char* kFrameClass = "ZezirivMainFrame";
constexpr const char* kSplashClass = "ZezirivSplashWnd";
constexpr const char* kDialogClass = "#32770";
constexpr const char* kMenuClass = "#32768";

// The texts of a dialog's static controls, joined by new lines.
std::string GetStaticTexts(HWND dialog);
// Presses a button of a dialog (a message box's OK is IDOK).
void PressButton(HWND dialog, int id);

// An item of an open popup menu of the program, read inside its process.
struct MenuItem {
    std::string text;
    unsigned id = 0;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuItem> submenu;
};
// The visible popup menu window of the process, or null.
HWND FindOpenMenu(DWORD processId);
// The items of the menu shown by that menu window; empty when it cannot be read.
std::vector<MenuItem> ReadOpenMenu(HWND menuWindow);
// GDI objects and USER objects (windows and menus) of the program that owns the window, counted
// inside its process.
struct GuiObjects {
    unsigned long gdi = 0;
    unsigned long user = 0;
};
std::optional<GuiObjects> CountGuiObjects(HWND programWindow);
// A dialog control's text measured inside the program in the control's own font, in pixels:
// on one line, and wrapped at the control's client width.
struct ControlMeasure {
    int id = 0;
    std::string className;
    LONG style = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    int textWidth = 0;
    int textHeight = 0;
    int wrappedHeight = 0;
    std::string text;
};
std::vector<ControlMeasure> MeasureControls(HWND dialog);
// The texts of a status bar's parts, read inside the program's process.
std::vector<std::string> ReadStatusBar(HWND statusBar);
// Closes the open menu as the Escape key does.
void CloseOpenMenu(DWORD processId);

// Holds a global hot key, as another program would, for as long as it lives.
class CHeldHotKey {
public:
    CHeldHotKey(UINT modifiers, UINT key);
    ~CHeldHotKey();
    bool IsHeld() const { return m_held; }

private:
    HWND m_window = nullptr;
    bool m_held = false;
};

// Settings under HKCU\Software\zuvadur\Zeziriv.
void ClearSettings();
bool SettingsKeyExists();
std::optional<DWORD> ReadSettingDword(const char* name);
std::optional<std::string> ReadSettingString(const char* name);
void WriteSettingDword(const char* name, DWORD value);

} // namespace e2e
