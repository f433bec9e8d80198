#include "program_driver.h"

#include <cstdio>
#include <cstdlib>

namespace driver {

namespace {
constexpr const char* kSettingsKey = "Software\\zuvadur\\Zeziriv";
constexpr DWORD kPollMs = 20;
} // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(kPollMs);
    }
}

std::string HostPath(const std::string& path) {
    std::string out = path;
    for (char& c : out) {
        if (c == '/') {
            c = '\\';
        }
    }
    return out.size() > 1 && out[1] == ':' ? out : "Z:" + out;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& dir) {
    const std::string prefix = dir.back() == '\\' ? dir : dir + "\\";
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((prefix + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(prefix + name);
            } else {
                SetFileAttributesA((prefix + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((prefix + name).c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

CInstallTree::CInstallTree() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    char name[64];
    std::snprintf(name, sizeof(name), "zeziriv_e2e_%lu_%d\\", GetCurrentProcessId(), ++counter);
    m_dir = std::string(temp) + name;
    CreateDirectoryA(m_dir.c_str(), nullptr);
    CreateDirectoryA((m_dir + "filter").c_str(), nullptr);
    CreateDirectoryA((m_dir + "filter\\system").c_str(), nullptr);
    const char* exe = std::getenv("ZEZIRIV_E2E_EXE");
    const std::string source = HostPath(exe != nullptr ? exe : ZEZIRIV_EXE);
    if (!CopyFileA(source.c_str(), GetExe().c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s to %s: error %lu\n", source.c_str(), GetExe().c_str(),
                     GetLastError());
    }
}

CInstallTree::~CInstallTree() {
    RemoveTree(m_dir);
}

void CInstallTree::AddFilter(const std::string& id, const std::string& displayName,
                             const std::string& folder) {
    std::string xml = "<?xml version=\"1.0\"?>\n<ZezirivFilter Version=\"1.0\">\n  <Profile ID=\"" +
                      id + "\" DisplayName=\"" + displayName + "\"/>\n  <ColorMap>\n";
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                char line[64];
                std::snprintf(line, sizeof(line), "    <Color RGB=\"#%02x%02x%02x\"/>\n", r * 51,
                              g * 51, b * 51);
                xml += line;
            }
        }
    }
    xml += "  </ColorMap>\n</ZezirivFilter>\n";
    CreateDirectoryA((m_dir + folder).c_str(), nullptr);
    const std::string path = m_dir + folder + id + ".xml";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(xml.data(), 1, xml.size(), file);
        std::fclose(file);
    }
}

void CInstallTree::CopyFileInto(const std::string& source, const std::string& relativeTarget) {
    // Creates the intermediate directories of the target.
    std::size_t start = 0;
    for (std::size_t slash; (slash = relativeTarget.find('\\', start)) != std::string::npos;
         start = slash + 1) {
        CreateDirectoryA((m_dir + relativeTarget.substr(0, slash)).c_str(), nullptr);
    }
    CopyFileA(HostPath(source).c_str(), (m_dir + relativeTarget).c_str(), FALSE);
}

bool CInstallTree::CopyFilters(const std::string& sourceDir, const std::string& relativeTarget) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((HostPath(sourceDir) + "\\*.xml").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        CopyFileInto(sourceDir + "/" + data.cFileName, relativeTarget + data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
}

namespace {

// Wine's server now and then refuses a process start with ERROR_INTERNAL_ERROR while the
// previous test's program is still being torn down; a moment later the same start succeeds.
template <typename Start> bool StartWithRetry(Start start) {
    for (int attempt = 0;; ++attempt) {
        if (start()) {
            return true;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 20) {
            return false;
        }
        Sleep(250);
    }
}

} // namespace

CProgram::CProgram(const std::string& exe, const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    const std::string dir = exe.substr(0, exe.rfind('\\') + 1);
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    const bool started = StartWithRetry([&] {
        return CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              dir.empty() ? nullptr : dir.c_str(), &startup, &m_process);
    });
    if (!started) {
        std::fprintf(stderr, "cannot start %s: error %lu\n", exe.c_str(), GetLastError());
        m_process = {};
    }
}

CProgram::CProgram(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const std::wstring dir = exe.substr(0, exe.rfind(L'\\') + 1);
    std::wstring commandLine = L"\"" + exe + L"\"";
    const bool started = StartWithRetry([&] {
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              dir.empty() ? nullptr : dir.c_str(), &startup, &m_process);
    });
    if (!started) {
        std::fprintf(stderr, "cannot start a program: error %lu\n", GetLastError());
        m_process = {};
    }
}

CProgram::~CProgram() {
    if (m_process.hProcess == nullptr) {
        return;
    }
    if (IsRunning()) {
        TerminateProcess(m_process.hProcess, 99);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

std::optional<DWORD> CProgram::WaitExit(DWORD timeoutMs) {
    if (m_process.hProcess == nullptr ||
        WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

bool CProgram::IsRunning() const {
    return m_process.hProcess != nullptr &&
           WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

HWND CProgram::WaitFrame(DWORD timeoutMs) const {
    return WaitForWindow(GetProcessId(), kFrameClass, timeoutMs);
}

namespace {
struct FindContext {
    DWORD processId;
    const char* className;
    const char* title;
    bool visible;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    auto* context = reinterpret_cast<FindContext*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != context->processId || (context->visible && !IsWindowVisible(hwnd))) {
        return TRUE;
    }
    char className[256] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof(title));
    if ((context->className == nullptr || std::string(className) == context->className) &&
        (context->title == nullptr || std::string(title) == context->title)) {
        context->found.push_back(hwnd);
    }
    return TRUE;
}
} // namespace

std::vector<HWND> FindWindows(DWORD processId, const char* className, const char* title,
                              bool visible) {
    FindContext context{processId, className, title, visible, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

namespace {
HWND WaitForFirst(DWORD processId, const char* className, const char* title, bool visible,
                  DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            const std::vector<HWND> windows = FindWindows(processId, className, title, visible);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}
} // namespace

HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs, const char* title) {
    return WaitForFirst(processId, className, title, false, timeoutMs);
}

HWND WaitForDialog(DWORD processId, const char* title, DWORD timeoutMs) {
    return WaitForFirst(processId, kDialogClass, title, true, timeoutMs);
}

HWND OpenDialog(DWORD processId, HWND frame, UINT command, const char* title, DWORD timeoutMs) {
    PostMessageA(frame, WM_COMMAND, command, 0);
    return WaitForDialog(processId, title, timeoutMs);
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool CloseDialog(HWND dialog, int button, DWORD timeoutMs) {
    PressButton(dialog, button);
    return WaitFor([&] { return !IsWindow(dialog); }, timeoutMs);
}

std::string ControlText(HWND control) {
    char text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 10000, &length);
    return text;
}

std::vector<std::string> ListTexts(HWND list, UINT countMessage, UINT textMessage) {
    std::vector<std::string> texts;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, countMessage, 0, 0, SMTO_NORMAL, 10000, &count);
    for (int i = 0; i < static_cast<int>(count); ++i) {
        wchar_t wide[256] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, textMessage, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, 10000, &length);
        char text[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::string> Texts(const std::vector<MenuItem>& items) {
    std::vector<std::string> texts;
    for (const MenuItem& item : items) {
        texts.push_back(item.text);
    }
    return texts;
}

HWND FindOpenMenu(DWORD processId) {
    const std::vector<HWND> menus = FindWindows(processId, kMenuClass, nullptr, true);
    return menus.empty() ? nullptr : menus.front();
}

void CloseOpenMenu(DWORD processId) {
    if (HWND menu = FindOpenMenu(processId)) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitFor([&] { return FindOpenMenu(processId) == nullptr; }, 5000);
    }
}

std::vector<MenuItem> ReadMenuAfter(DWORD processId, const std::function<void()>& open) {
    open();
    HWND menu = nullptr;
    WaitFor([&] { return (menu = FindOpenMenu(processId)) != nullptr; }, kStartTimeoutMs);
    std::vector<MenuItem> items = menu != nullptr ? ReadOpenMenu(menu) : std::vector<MenuItem>{};
    CloseOpenMenu(processId);
    return items;
}

std::vector<MenuItem> ReadTrayMenu(DWORD processId, HWND frame) {
    return ReadMenuAfter(
        processId, [&] { PostMessageA(frame, WM_APP_TRAY_NOTIFY, kTrayIconId, WM_RBUTTONUP); });
}

namespace {

std::string g_hookAnswer;

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        g_hookAnswer.assign(static_cast<const char*>(data->lpData), data->cbData);
        return TRUE;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The lines of a text, each split at its tabs.
std::vector<std::vector<std::string>> Fields(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::vector<std::string> fields;
        for (std::size_t from = start, tab;; from = tab + 1) {
            tab = text.find('\t', from);
            if (tab == std::string::npos || tab > end) {
                fields.push_back(text.substr(from, end - from));
                break;
            }
            fields.push_back(text.substr(from, tab - from));
        }
        lines.push_back(fields);
    }
    return lines;
}

} // namespace

std::string AskInsideProgram(HWND window, const char* message) {
    static HMODULE hookLibrary = LoadLibraryA(HostPath(ZEZIRIV_DRIVER_HOOK).c_str());
    if (hookLibrary == nullptr) {
        return {};
    }
    auto hookProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(hookLibrary, "ReadMenuHook")));
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &ReceiverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZezirivDriverReceiver";
        return RegisterClassA(&wc) != 0;
    }();
    if (hookProc == nullptr || !registered) {
        return {};
    }
    HWND receiver = CreateWindowExA(0, "ZezirivDriverReceiver", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, hookProc, hookLibrary, thread);
    g_hookAnswer.clear();
    DWORD_PTR result = 0;
    // While this call waits, the answer arrives as a message sent to the receiver.
    SendMessageTimeoutA(window, RegisterWindowMessageA(message), reinterpret_cast<WPARAM>(receiver),
                        0, SMTO_NORMAL, 10000, &result);
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
    }
    DestroyWindow(receiver);
    return g_hookAnswer;
}

std::vector<MenuItem> ReadOpenMenu(HWND menuWindow) {
    // "depth\ttext\tid\tgrayed\tchecked" an item; the text may hold tabs of its own.
    std::vector<MenuItem> items;
    for (std::vector<std::string> fields :
         Fields(AskInsideProgram(menuWindow, "ZezirivDriverReadMenu"))) {
        if (fields.size() < 5) {
            continue;
        }
        MenuItem item;
        item.checked = fields.back() == "1";
        item.grayed = fields[fields.size() - 2] == "1";
        item.id = static_cast<unsigned>(std::stoul(fields[fields.size() - 3]));
        for (std::size_t i = 1; i + 3 < fields.size(); ++i) {
            item.text += (i > 1 ? "\t" : "") + fields[i];
        }
        std::vector<MenuItem>* level = &items;
        for (unsigned long d = std::stoul(fields[0]); d > 0 && !level->empty(); --d) {
            level = &level->back().submenu;
        }
        level->push_back(item);
    }
    return items;
}

std::vector<std::string> ReadStatusBar(HWND statusBar) {
    std::vector<std::string> parts;
    const std::string answer = AskInsideProgram(statusBar, "ZezirivDriverReadStatus");
    for (std::size_t start = 0, end; (end = answer.find('\n', start)) != std::string::npos;
         start = end + 1) {
        parts.push_back(answer.substr(start, end - start));
    }
    return parts;
}

std::optional<GuiObjects> CountGuiObjects(HWND programWindow) {
    const std::string answer = AskInsideProgram(programWindow, "ZezirivDriverCountObjects");
    GuiObjects counts;
    if (std::sscanf(answer.c_str(), "%lu %lu %llu", &counts.gdi, &counts.user,
                    &counts.privateBytes) < 2) {
        return std::nullopt;
    }
    return counts;
}

DialogMeasure MeasureDialog(HWND dialog) {
    DialogMeasure measure;
    const auto lines = Fields(AskInsideProgram(dialog, "ZezirivDriverMeasureControls"));
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const std::vector<std::string>& f = lines[line];
        if (line == 0 && f.size() == 2) {
            measure.clientWidth = std::stoi(f[0]);
            measure.clientHeight = std::stoi(f[1]);
        } else if (f.size() >= 13) {
            ControlMeasure c{
                std::stoi(f[0]),
                f[1],
                static_cast<LONG>(std::stol(f[2])),
                RECT{std::stoi(f[3]), std::stoi(f[4]), std::stoi(f[5]), std::stoi(f[6])},
                std::stoi(f[7]),
                std::stoi(f[8]),
                std::stoi(f[9]),
                std::stoi(f[10]),
                std::stoi(f[11]),
                f[12]};
            for (std::size_t i = 13; i < f.size(); ++i) {
                c.text += "\t" + f[i];
            }
            measure.controls.push_back(c);
        }
    }
    return measure;
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const char* key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* name) {
    char value[4096] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(value);
}

void ClearSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

bool SettingsKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::optional<DWORD> ReadSettingDword(const char* name) {
    return ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, name);
}

std::optional<std::string> ReadSettingString(const char* name) {
    return ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, name);
}

void WriteSettingDword(const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

void WriteSettingString(const char* name, const std::string& value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

} // namespace driver
