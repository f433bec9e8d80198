#include "e2e_support.h"

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

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (int up = 0; up < 2; ++up) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = up ? keys.begin()[keys.size() - 1 - i] : keys.begin()[i];
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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

void Exit(CProgram& program, HWND frame) {
    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
}

} // namespace e2e
