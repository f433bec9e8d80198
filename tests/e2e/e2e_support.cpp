#include "e2e_support.h"

#include <fstream>

namespace e2e {

std::string GetStaticTexts(HWND dialog) {
    std::string texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof(className));
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof(text));
        if (lstrcmpiA(className, "Static") == 0 && text[0] != '\0') {
            texts += texts.empty() ? "" : "\n";
            texts += text;
        }
    }
    return texts;
}

std::vector<std::string> AnswerMessageBoxesUntil(const CProgram& program,
                                                 const std::function<bool()>& done,
                                                 DWORD timeoutMs) {
    std::vector<std::string> texts;
    WaitFor(
        [&] {
            for (HWND box : FindWindows(program.GetProcessId(), kDialogClass, "Zeziriv")) {
                const std::string text = GetStaticTexts(box);
                if (!IsWindowVisible(box) || text.empty()) {
                    continue; // not ready yet: read it on the next round
                }
                texts.push_back(text);
                PressButton(box, IDOK);
                WaitFor([&] { return !IsWindow(box); }, 5000);
            }
            return done();
        },
        timeoutMs);
    return texts;
}

std::vector<std::string> AnswerStartMessages(const CProgram& program, std::size_t expected,
                                             HWND& frame) {
    const DWORD process = program.GetProcessId();
    std::vector<std::string> texts = AnswerMessageBoxesUntil(
        program,
        [&] {
            return FindWindows(process, kDialogClass, "Zeziriv").empty() &&
                   WaitForWindow(process, kFrameClass, 0) != nullptr;
        },
        kStartTimeoutMs);
    const auto answerFor = [&](DWORD ms) {
        const auto more = AnswerMessageBoxesUntil(
            program, [] { return false; }, ms);
        texts.insert(texts.end(), more.begin(), more.end());
        return !more.empty();
    };
    while (texts.size() < expected && answerFor(2000)) {
    }
    answerFor(1500); // any further message would follow at once
    frame = WaitForWindow(process, kFrameClass, 0);
    return texts;
}

namespace {
bool IsLabel(const ControlMeasure& c) {
    return !c.text.empty() && (c.className == "Button" ||
                               (c.className == "Static" && (c.style & SS_TYPEMASK) != SS_ICON));
}
} // namespace

std::vector<std::string> LayoutFaults(HWND dialog, int dpi) {
    const DialogMeasure measure = MeasureDialog(dialog);
    std::vector<std::string> faults;
    if (measure.controls.empty()) {
        faults.push_back("no control could be measured");
    }
    const RECT area{0, 0, measure.clientWidth, measure.clientHeight};
    std::vector<const ControlMeasure*> solid;
    for (const ControlMeasure& c : measure.controls) {
        const std::string name = c.className + " \"" + c.text + "\" (" + std::to_string(c.id) + ")";
        const LONG type = c.style & BS_TYPEMASK;
        const bool button = c.className == "Button";
        RECT inside{};
        if (!IntersectRect(&inside, &c.place, &area) || !EqualRect(&inside, &c.place)) {
            faults.push_back(name + " reaches outside the dialog");
        }
        if (!button || type != BS_GROUPBOX) {
            for (const ControlMeasure* other : solid) {
                if (IntersectRect(&inside, &c.place, &other->place)) {
                    faults.push_back(name + " overlaps control " + std::to_string(other->id));
                }
            }
            solid.push_back(&c);
        }
        if (!IsLabel(c)) {
            continue;
        }
        // What the control draws beside its text: the gap of a group box's label, the box of a
        // check box, a push button's edges.
        const int beside = !button                                            ? 0
                           : type == BS_GROUPBOX                              ? 12
                           : (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) ? 17
                                                                              : 8;
        const int need = c.textWidth + MulDiv(beside, dpi, 96);
        // Left-aligned static texts wrap; everything else is one line.
        const bool wraps = !button && (c.style & SS_TYPEMASK) == SS_LEFT;
        if (wraps && c.wrappedHeight > c.clientHeight) {
            faults.push_back(name + " wraps to " + std::to_string(c.wrappedHeight) + " pixels of " +
                             std::to_string(c.clientHeight));
        } else if ((!wraps || c.clientHeight < 2 * c.textHeight) && need > c.clientWidth) {
            faults.push_back(name + " needs " + std::to_string(need) + " pixels of " +
                             std::to_string(c.clientWidth));
        } else if (c.textHeight > c.clientHeight) {
            faults.push_back(name + " is cut at the bottom");
        }
    }
    return faults;
}

std::vector<std::string> Labels(HWND dialog) {
    std::vector<std::string> labels;
    for (const ControlMeasure& c : MeasureDialog(dialog).controls) {
        if (IsLabel(c)) {
            labels.push_back(c.text);
        }
    }
    return labels;
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

bool HotKeyIsTaken(UINT modifiers, UINT key) {
    return !CHeldHotKey(modifiers, key).IsHeld();
}

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

void ProgramFixture::Prepare(int count) {
    WriteSettingDword("NoSplash", 1);
    const char* filters[][2] = {
        {"protanopia", "E2E Protan"}, {"deutanopia", "E2E Deutan"}, {"hue_gbr", "E2E Hue GBR"}};
    for (int i = 0; i < count; ++i) {
        tree.AddFilter(filters[i][0], filters[i][1]);
    }
}

void ProgramFixture::InstallLanguageLibrary(const std::string& library) {
    tree.CopyFileInto(library,
                      "resource\\" + std::to_string(GetSystemDefaultLangID()) + "\\ttres.dll");
}

std::pair<std::string, std::string>
ProgramFixture::StartWithTheDesktopKeyHeld(const std::string& library, bool splash) {
    ClearSettings();
    WriteSettingDword("NoSplash", splash ? 0 : 1);
    const CHeldHotKey held(MOD_CONTROL, VK_F11);
    EXPECT_TRUE(held.IsHeld());
    if (!library.empty()) {
        InstallLanguageLibrary(library);
    }
    CProgram program(tree.GetExe());
    HWND frame = nullptr;
    const std::vector<std::string> texts = AnswerStartMessages(program, 1, frame);
    EXPECT_NE(frame, nullptr);
    EXPECT_EQ(texts.size(), 1u) << (texts.empty() ? "" : texts.back());
    std::vector<MenuItem> tray;
    if (frame != nullptr) {
        tray = ReadTrayMenu(program.GetProcessId(), frame);
        Exit(program, frame);
    }
    return {texts.empty() ? "" : texts[0], tray.empty() ? "" : tray[0].text};
}

namespace {

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wide;
}

bool CopyFolder(const std::wstring& from, const std::wstring& to) {
    if (!CreateDirectoryW(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((from + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        ok = ok && ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                        ? CopyFolder(from + name + L"\\", to + name + L"\\")
                        : CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) != FALSE);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return ok;
}

void RemoveFolder(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(dir + name + L"\\");
            } else {
                DeleteFileW((dir + name).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

CWideTreeCopy::CWideTreeCopy(const CInstallTree& tree, const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_dir = std::wstring(temp) + name + L"\\";
    RemoveFolder(m_dir);
    m_complete = CopyFolder(Widen(tree.GetDir()), m_dir);
}

CWideTreeCopy::~CWideTreeCopy() {
    RemoveFolder(m_dir);
}

void Exit(CProgram& program, HWND frame) {
    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
}

} // namespace e2e
