#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Drives the real zeziriv.exe from outside, as a user's tools would see it: its windows, menus,
// dialogs and controls, and the registry it writes. The end-to-end tests and the programs that
// pose the program for pictures and load measurements share it.
namespace driver {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;

// The program's commands and messages, numbered as its menus and language libraries number them.
constexpr UINT kAboutCommand = 33000;
constexpr UINT kGeneralSettingCommand = 33001;
constexpr UINT kFilterSettingCommand = 33002;
constexpr UINT kExitCommand = 33003;
constexpr UINT kDesktopViewCommand = 33004;
constexpr UINT kOpenNewWindowCommand = 33006;
constexpr UINT kSaveAllCommand = 33007;
constexpr UINT kRestoreAllCommand = 33008;
constexpr UINT kCloseAllCommand = 33009;
constexpr UINT kMarkCenterCommand = 33140;
constexpr UINT kQuickViewCommandBase = 33500; // plus the position in the enabled list
constexpr UINT WM_APP_TRAY_NOTIFY = 0x8001;   // wParam the icon, lParam the mouse message
constexpr UINT WM_APP_OPEN_DESKTOP = 0x8004;
constexpr UINT WM_APP_OPEN_QUICK = 0x8005; // wParam the position, lParam the delay
constexpr UINT kTrayIconId = 100;

constexpr const char* kFrameClass = "ZezirivMainFrame";
constexpr const char* kSplashClass = "ZezirivSplashWnd";
constexpr const char* kFilterWindowClass = "ZezirivFilterWnd";
constexpr const char* kPreviewClass = "ZezirivPreviewWnd";
constexpr const char* kPanelClass = "ZezirivOperateWnd";
constexpr const char* kDialogClass = "#32770";
constexpr const char* kMenuClass = "#32768";
constexpr int kPanelListId = 1050;
constexpr int kPanelButtonId = 1051;
constexpr int kPanelHighlightId = 1052;

// Polls until `condition` holds or `timeoutMs` passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// A Wine view of a host path given at build time ("/work/x" → "Z:\work\x").
std::string HostPath(const std::string& path);
bool PathExists(const std::string& path);
// Removes a folder with everything in it.
void RemoveTree(const std::string& dir);

// A scratch copy of the install tree: the program, filter\system with test filters.
class CInstallTree {
public:
    CInstallTree();
    ~CInstallTree();
    const std::string& GetDir() const { return m_dir; }
    std::string GetExe() const { return m_dir + "zeziriv.exe"; }
    // Writes an identity colour-map filter file into a folder of the tree (one level below an
    // existing one).
    void AddFilter(const std::string& id, const std::string& displayName,
                   const std::string& folder = "filter\\system\\");
    void CopyFileInto(const std::string& source, const std::string& relativeTarget);
    // Copies every filter file of a host folder into a folder of the tree ("filter\system\").
    bool CopyFilters(const std::string& sourceDir, const std::string& relativeTarget);

private:
    std::string m_dir; // ends in a backslash
};

// One run of a program, started in its own folder; ended when it outlives this object.
class CProgram {
public:
    explicit CProgram(const std::string& exe, const std::string& arguments = "");
    // By its wide path, for a program in a folder the code page cannot name.
    explicit CProgram(const std::wstring& exe);
    ~CProgram();
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;
    bool IsStarted() const { return m_process.hProcess != nullptr; }
    DWORD GetProcessId() const { return m_process.dwProcessId; }
    // The exit code, or nothing when the process still runs after the timeout.
    std::optional<DWORD> WaitExit(DWORD timeoutMs = kExitTimeoutMs);
    bool IsRunning() const;
    // The program's hidden frame window, once it exists.
    HWND WaitFrame(DWORD timeoutMs = kStartTimeoutMs) const;

private:
    PROCESS_INFORMATION m_process{};
};

// Top-level windows of the process with that class (any when null) and, when given, that
// title; `visible` leaves out the hidden ones.
std::vector<HWND> FindWindows(DWORD processId, const char* className, const char* title = nullptr,
                              bool visible = false);
HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs,
                   const char* title = nullptr);
// A dialog (any when the title is null), once it is shown: dialogs show themselves once their
// controls are filled.
HWND WaitForDialog(DWORD processId, const char* title, DWORD timeoutMs = kStartTimeoutMs);
// Posts the command to the frame and waits for the dialog it opens.
HWND OpenDialog(DWORD processId, HWND frame, UINT command, const char* title,
                DWORD timeoutMs = kStartTimeoutMs);
// Presses a button of a dialog (a message box's OK is IDOK).
void PressButton(HWND dialog, int id);
// Presses the button and waits until the dialog is gone.
bool CloseDialog(HWND dialog, int button, DWORD timeoutMs = kStartTimeoutMs);

// A control's text, asked of the control itself: another process's GetWindowText reads only
// the caption the system keeps, which an edit control's text is not.
std::string ControlText(HWND control);
// The items of another process's list or combo box (by its count and text messages); those
// texts cross processes in their wide form only.
std::vector<std::string> ListTexts(HWND list, UINT countMessage = LB_GETCOUNT,
                                   UINT textMessage = LB_GETTEXT);

// An item of an open popup menu of the program, read inside its process.
struct MenuItem {
    std::string text;
    unsigned id = 0;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuItem> submenu;
};
std::vector<std::string> Texts(const std::vector<MenuItem>& items);
// The visible popup menu window of the process, or null.
HWND FindOpenMenu(DWORD processId);
// The items of the menu shown by that menu window; empty when it cannot be read.
std::vector<MenuItem> ReadOpenMenu(HWND menuWindow);
// Closes the open menu as the Escape key does.
void CloseOpenMenu(DWORD processId);
// Does what opens a menu, reads it and closes it again.
std::vector<MenuItem> ReadMenuAfter(DWORD processId, const std::function<void()>& open);
std::vector<MenuItem> ReadTrayMenu(DWORD processId, HWND frame);

// Sends the hook library's registered message to a window of the program and returns the text
// the hook answers with from inside the program's process (see program_hook.cpp).
std::string AskInsideProgram(HWND window, const char* message);
// The texts of a status bar's parts.
std::vector<std::string> ReadStatusBar(HWND statusBar);
// GDI objects and USER objects (windows and menus) of the program that owns the window, and its
// private memory.
struct GuiObjects {
    unsigned long gdi = 0;
    unsigned long user = 0;
    unsigned long long privateBytes = 0;
};
std::optional<GuiObjects> CountGuiObjects(HWND programWindow);

// A dialog's controls as the program lays them out, measured inside it in physical pixels:
// each control's place in the dialog's client area, and its text in the control's own font on
// one line and wrapped at the control's client width (0 when it has no text).
struct ControlMeasure {
    int id = 0;
    std::string className;
    LONG style = 0;
    RECT place{};
    int clientWidth = 0;
    int clientHeight = 0;
    int textWidth = 0;
    int textHeight = 0;
    int wrappedHeight = 0;
    std::string text;
};
struct DialogMeasure {
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<ControlMeasure> controls;
};
DialogMeasure MeasureDialog(HWND dialog);

// Values under HKCU\Software\zuvadur\Zeziriv, and of any key.
void ClearSettings();
bool SettingsKeyExists();
std::optional<DWORD> ReadSettingDword(const char* name);
std::optional<std::string> ReadSettingString(const char* name);
void WriteSettingDword(const char* name, DWORD value);
void WriteSettingString(const char* name, const std::string& value);
std::optional<DWORD> ReadRegistryDword(HKEY root, const char* key, const char* name);
std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* name);

} // namespace driver
