#include "e2e_driver.h"

#include <cstdio>
#include <cstdlib>

namespace e2e {

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
    // SHFileOperation would pull in the shell; the tree is shallow.
    const std::function<void(const std::string&)> removeTree = [&](const std::string& dir) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..") {
                    continue;
                }
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(dir + name + "\\");
                } else {
                    DeleteFileA((dir + name).c_str());
                }
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    };
    removeTree(m_dir);
}

void CInstallTree::AddFilter(const std::string& id, const std::string& displayName) {
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
    const std::string path = m_dir + "filter\\system\\" + id + ".xml";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(xml.data(), 1, xml.size(), file);
        std::fclose(file);
    }
}

void CInstallTree::CopyFileInto(const std::string& source, const std::string& relativeTarget) {
    // Creates the intermediate directories of the target.
    std::string partial = m_dir;
    std::size_t start = 0;
    for (std::size_t slash; (slash = relativeTarget.find('\\', start)) != std::string::npos;
         start = slash + 1) {
        partial = m_dir + relativeTarget.substr(0, slash);
        CreateDirectoryA(partial.c_str(), nullptr);
    }
    CopyFileA(HostPath(source).c_str(), (m_dir + relativeTarget).c_str(), FALSE);
}

CProgram::CProgram(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    const std::string dir = exe.substr(0, exe.rfind('\\') + 1);
    if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &startup, &m_process)) {
        std::fprintf(stderr, "cannot start %s: error %lu\n", exe.c_str(), GetLastError());
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

namespace {
struct FindContext {
    DWORD processId;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    auto* context = reinterpret_cast<FindContext*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != context->processId) {
        return TRUE;
    }
    char className[256] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    if (std::string(className) != context->className) {
        return TRUE;
    }
    if (context->title != nullptr) {
        char title[256] = {};
        GetWindowTextA(hwnd, title, sizeof(title));
        if (std::string(title) != context->title) {
            return TRUE;
        }
    }
    context->found.push_back(hwnd);
    return TRUE;
}
} // namespace

std::vector<HWND> FindWindows(DWORD processId, const char* className, const char* title) {
    FindContext context{processId, className, title, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs, const char* title) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND hwnd : FindWindows(processId, className, title)) {
                found = hwnd;
                return true;
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::string GetStaticTexts(HWND dialog) {
    std::string texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof(className));
        if (lstrcmpiA(className, "Static") != 0) {
            continue;
        }
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof(text));
        if (text[0] != '\0') {
            texts += texts.empty() ? "" : "\n";
            texts += text;
        }
    }
    return texts;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND FindOpenMenu(DWORD processId) {
    for (HWND menu : FindWindows(processId, kMenuClass)) {
        if (IsWindowVisible(menu)) {
            return menu;
        }
    }
    return nullptr;
}

void CloseOpenMenu(DWORD processId) {
    if (HWND menu = FindOpenMenu(processId)) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitFor([&] { return FindOpenMenu(processId) == nullptr; }, 5000);
    }
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

std::vector<MenuItem> ParseMenuDescription(const std::string& text) {
    std::vector<MenuItem> items;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t depthTab = line.find('\t');
        if (depthTab == std::string::npos) {
            continue;
        }
        const std::size_t depth = std::stoul(line.substr(0, depthTab));
        line = line.substr(depthTab + 1);
        const std::size_t checkedTab = line.rfind('\t');
        const std::size_t grayedTab =
            checkedTab == std::string::npos ? checkedTab : line.rfind('\t', checkedTab - 1);
        const std::size_t idTab =
            grayedTab == std::string::npos ? grayedTab : line.rfind('\t', grayedTab - 1);
        if (idTab == std::string::npos) {
            continue;
        }
        MenuItem item;
        item.text = line.substr(0, idTab);
        item.id = static_cast<unsigned>(std::stoul(line.substr(idTab + 1, grayedTab - idTab - 1)));
        item.grayed = line.substr(grayedTab + 1, checkedTab - grayedTab - 1) == "1";
        item.checked = line.substr(checkedTab + 1) == "1";
        std::vector<MenuItem>* level = &items;
        for (std::size_t d = 0; d < depth && !level->empty(); ++d) {
            level = &level->back().submenu;
        }
        level->push_back(item);
    }
    return items;
}

} // namespace

namespace {

// Sends the hook library's registered message to a window of the program and returns the text
// the hook answers with from inside the program's process.
std::string AskInsideProgram(HWND window, const char* message) {
    static HMODULE hookLibrary = LoadLibraryA(HostPath(ZEZIRIV_E2E_MENU_HOOK).c_str());
    if (hookLibrary == nullptr) {
        return {};
    }
    auto hookProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(hookLibrary, "ReadMenuHook")));
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &ReceiverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZezirivE2EReceiver";
        return RegisterClassA(&wc) != 0;
    }();
    if (hookProc == nullptr || !registered) {
        return {};
    }
    HWND receiver = CreateWindowExA(0, "ZezirivE2EReceiver", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
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

} // namespace

std::vector<MenuItem> ReadOpenMenu(HWND menuWindow) {
    return ParseMenuDescription(AskInsideProgram(menuWindow, "ZezirivE2EReadMenu"));
}

std::vector<std::string> ReadStatusBar(HWND statusBar) {
    std::vector<std::string> parts;
    const std::string answer = AskInsideProgram(statusBar, "ZezirivE2EReadStatus");
    for (std::size_t start = 0, end; (end = answer.find('\n', start)) != std::string::npos;
         start = end + 1) {
        parts.push_back(answer.substr(start, end - start));
    }
    return parts;
}

std::optional<GuiObjects> CountGuiObjects(HWND programWindow) {
    const std::string answer = AskInsideProgram(programWindow, "ZezirivE2ECountObjects");
    GuiObjects counts;
    if (std::sscanf(answer.c_str(), "%lu %lu", &counts.gdi, &counts.user) != 2) {
        return std::nullopt;
    }
    return counts;
}

std::vector<ControlMeasure> MeasureControls(HWND dialog) {
    std::vector<ControlMeasure> controls;
    const std::string answer = AskInsideProgram(dialog, "ZezirivE2EMeasureControls");
    std::size_t start = 0;
    for (std::size_t end; (end = answer.find('\n', start)) != std::string::npos; start = end + 1) {
        std::vector<std::string> fields;
        std::size_t from = start;
        for (int i = 0; i < 8; ++i) {
            const std::size_t tab = answer.find('\t', from);
            if (tab == std::string::npos || tab > end) {
                break;
            }
            fields.push_back(answer.substr(from, tab - from));
            from = tab + 1;
        }
        if (fields.size() != 8) {
            continue;
        }
        ControlMeasure c;
        c.id = std::stoi(fields[0]);
        c.className = fields[1];
        c.style = static_cast<LONG>(std::stol(fields[2]));
        c.clientWidth = std::stoi(fields[3]);
        c.clientHeight = std::stoi(fields[4]);
        c.textWidth = std::stoi(fields[5]);
        c.textHeight = std::stoi(fields[6]);
        c.wrappedHeight = std::stoi(fields[7]);
        c.text = answer.substr(from, end - from);
        controls.push_back(c);
    }
    return controls;
}

CHeldHotKey::CHeldHotKey(UINT modifiers, UINT key) {
    m_window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    m_held = m_window != nullptr && RegisterHotKey(m_window, 1, modifiers, key);
}

CHeldHotKey::~CHeldHotKey() {
    if (m_held) {
        UnregisterHotKey(m_window, 1);
    }
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
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
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> ReadSettingString(const char* name) {
    char value[4096] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(value);
}

void WriteSettingDword(const char* name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
        RegCloseKey(key);
    }
}

} // namespace e2e
