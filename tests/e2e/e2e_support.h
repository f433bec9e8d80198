#pragma once

// What the end-to-end tests add to the driver: a scratch install tree and clean settings for
// every test, the program's messages answered, hot keys held as another program would hold
// them. Keys are pressed and messages pumped with the Windows test support.
#include "program_driver.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace e2e {

using namespace driver;

// The texts of a dialog's static controls, joined by new lines.
std::string GetStaticTexts(HWND dialog);
// Answers every message box of the program captioned "Zeziriv" until `done` holds; returns
// their texts.
std::vector<std::string> AnswerMessageBoxesUntil(const CProgram& program,
                                                 const std::function<bool()>& done,
                                                 DWORD timeoutMs);
// Answers the message boxes of the program's start-up and returns their texts once the frame is
// there, `expected` have come and no other followed for a while.
std::vector<std::string> AnswerStartMessages(const CProgram& program, std::size_t expected,
                                             HWND& frame);

// Whether another program would be refused the key. Only asked while the program is not about
// to register keys: a key held here for that moment would be refused to the program.
bool HotKeyIsTaken(UINT modifiers, UINT key);
// A file of these bytes in the temporary folder; its path.
std::string WriteScratchFile(const std::string& name, const std::string& bytes);

// What does not fit in a dialog of the program at `dpi`: a label, button or box whose text its
// control cannot show in the control's own font (measured inside the program), a control
// reaching outside the dialog, two controls other than group boxes overlapping.
std::vector<std::string> LayoutFaults(HWND dialog, int dpi = 96);
// The texts of a dialog's labels, buttons and boxes in template order.
std::vector<std::string> Labels(HWND dialog);

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

// A copy of an install tree in a folder of the temporary folder with a wide name (one the
// system's code page may not be able to write); removed with the object.
class CWideTreeCopy {
public:
    CWideTreeCopy(const CInstallTree& tree, const std::wstring& name);
    ~CWideTreeCopy();
    const std::wstring& GetDir() const { return m_dir; }
    std::wstring GetExe() const { return m_dir + L"zeziriv.exe"; }
    bool IsComplete() const { return m_complete; }

private:
    std::wstring m_dir; // ends in a backslash
    bool m_complete = false;
};

// Ends the program through its Exit command and expects it to end well.
void Exit(CProgram& program, HWND frame);

// Settings cleared before and after every test, and a scratch install tree.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }
    // Settings cleared but for the splash switched off, and the first `count` of the test
    // filters E2E Protan, E2E Deutan and E2E Hue GBR.
    void Prepare(int count);
    // A language library for the system's language.
    void InstallLanguageLibrary(const std::string& library);
    // Starts the program on cleared settings with the desktop hot key held elsewhere, so that
    // its start shows exactly one message, and `library` ("" for none) as the system language's
    // library; answers the message, reads the tray menu's first item and ends the program.
    std::pair<std::string, std::string> StartWithTheDesktopKeyHeld(const std::string& library,
                                                                   bool splash = false);

    CInstallTree tree;
};

} // namespace e2e
