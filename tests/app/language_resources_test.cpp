// Every language library built here is complete: each string, menu and dialog of the program
// exists in it with the same shape (identifiers, printf conversions, accelerators, controls)
// and it carries the program's product version. A new English text without its translation
// fails here.
#include "platform/utilities.h"
#include "program_driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> LanguageLibraries() {
    std::vector<std::string> paths;
    std::istringstream all(ZEZIRIV_LANGUAGE_LIBRARIES);
    for (std::string path; std::getline(all, path, '|');) {
        paths.push_back(driver::HostPath(path));
    }
    return paths;
}

// The integer resource names of one type.
std::set<unsigned> ResourceIds(HMODULE module, LPCSTR type) {
    std::set<unsigned> ids;
    EnumResourceNamesA(
        module, type,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR context) -> BOOL {
            if (IS_INTRESOURCE(name)) {
                reinterpret_cast<std::set<unsigned>*>(context)->insert(
                    static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
            }
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// Every non-empty string of the module by ID, read from the string bundles themselves (so a
// string missing from a library cannot be mistaken for a fallback to the executable).
std::map<unsigned, std::wstring> Strings(HMODULE module) {
    std::map<unsigned, std::wstring> strings;
    for (unsigned bundle : ResourceIds(module, MAKEINTRESOURCEA(6))) {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(bundle), MAKEINTRESOURCEA(6));
        HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
        const auto* data = static_cast<const WCHAR*>(loaded ? LockResource(loaded) : nullptr);
        if (data == nullptr) {
            continue;
        }
        const WCHAR* end = data + SizeofResource(module, found) / sizeof(WCHAR);
        for (unsigned i = 0; i < 16 && data < end; ++i) {
            const unsigned length = *data++;
            if (length > 0 && data + length <= end) {
                strings[(bundle - 1) * 16 + i] = std::wstring(data, length);
            }
            data += length;
        }
    }
    return strings;
}

// The printf conversions of a format, in order ("%d", "%s", ...); "%%" is no conversion.
std::vector<std::wstring> Conversions(const std::wstring& text) {
    static const std::wregex conversion(LR"(%%|%[-+ #0-9.*hlLzjt]*[^-+ #0-9.*hlLzjt%])");
    std::vector<std::wstring> out;
    for (std::wsregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it) {
        if (it->str() != L"%%") {
            out.push_back(it->str());
        }
    }
    return out;
}

std::wstring HintOf(const std::wstring& text) {
    const std::size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab);
}

// The ampersands that mark an accelerator: "&&" is a literal one.
std::ptrdiff_t Accelerators(std::wstring text) {
    for (std::size_t at; (at = text.find(L"&&")) != std::wstring::npos;) {
        text.erase(at, 2);
    }
    return std::count(text.begin(), text.end(), L'&');
}

void CompareMenus(HMENU english, HMENU translated, const std::string& where,
                  std::vector<std::string>& problems) {
    const int count = GetMenuItemCount(english);
    if (GetMenuItemCount(translated) != count) {
        problems.push_back(where + ": " + std::to_string(GetMenuItemCount(translated)) +
                           " items instead of " + std::to_string(count));
        return;
    }
    for (int i = 0; i < count; ++i) {
        auto read = [&](HMENU menu, std::wstring& text) {
            WCHAR buffer[256] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = buffer;
            info.cch = 256;
            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
            text = buffer;
            return info;
        };
        std::wstring englishText;
        std::wstring translatedText;
        const MENUITEMINFOW e = read(english, englishText);
        const MENUITEMINFOW t = read(translated, translatedText);
        const std::string item = where + " item " + std::to_string(i);
        // A popup item's ID is its submenu's handle: only commands are compared by ID.
        if ((e.hSubMenu == nullptr) != (t.hSubMenu == nullptr) ||
            (e.hSubMenu == nullptr && e.wID != t.wID) ||
            (e.fType & MFT_SEPARATOR) != (t.fType & MFT_SEPARATOR)) {
            problems.push_back(item + ": another command, kind or submenu");
            continue;
        }
        if (Accelerators(englishText) != Accelerators(translatedText)) {
            problems.push_back(item + ": accelerator missing or doubled");
        }
        if (HintOf(englishText) != HintOf(translatedText)) {
            problems.push_back(item + ": key hint after the tab differs");
        }
        if (e.hSubMenu != nullptr) {
            CompareMenus(e.hSubMenu, t.hSubMenu, item, problems);
        }
    }
}

// The controls a dialog template makes, in order: ID, class and style.
struct Control {
    int id;
    std::string className;
    LONG style;
    bool operator==(const Control&) const = default;
};

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::vector<Control> ControlsOf(HMODULE module, unsigned dialogId, bool& created) {
    std::vector<Control> controls;
    HWND dialog =
        CreateDialogParamA(module, MAKEINTRESOURCEA(dialogId), nullptr, &QuietDialogProc, 0);
    created = dialog != nullptr;
    for (HWND child = dialog ? GetWindow(dialog, GW_CHILD) : nullptr; child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof(className));
        controls.push_back({GetDlgCtrlID(child), className,
                            GetWindowLongA(child, GWL_STYLE) & ~static_cast<LONG>(WS_VISIBLE)});
    }
    if (dialog != nullptr) {
        DestroyWindow(dialog);
    }
    return controls;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

// What the library lacks or has in another shape than the executable.
std::vector<std::string> CompareWithProgram(const std::string& libraryPath) {
    std::vector<std::string> problems;
    const std::string exePath = driver::HostPath(ZEZIRIV_EXE);
    HMODULE exe = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE library = LoadLibraryExA(libraryPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (exe == nullptr || library == nullptr) {
        return {"cannot load " + (exe == nullptr ? exePath : libraryPath)};
    }
    if (GetProductVersionMS(libraryPath.c_str()) != GetProductVersionMS(exePath.c_str())) {
        problems.push_back("product version differs from the program's");
    }

    const std::map<unsigned, std::wstring> english = Strings(exe);
    const std::map<unsigned, std::wstring> translated = Strings(library);
    for (const auto& [id, text] : english) {
        const auto it = translated.find(id);
        if (it == translated.end()) {
            problems.push_back("string " + std::to_string(id) + " missing (\"" + Narrow(text) +
                               "\")");
        } else if (Conversions(it->second) != Conversions(text)) {
            problems.push_back("string " + std::to_string(id) + ": other printf conversions");
        }
    }
    for (const auto& [id, text] : translated) {
        if (english.count(id) == 0) {
            problems.push_back("string " + std::to_string(id) + " unknown to the program");
        }
    }

    const std::set<unsigned> menus = ResourceIds(exe, MAKEINTRESOURCEA(4));
    for (unsigned id : menus) {
        HMENU e = LoadMenuA(exe, MAKEINTRESOURCEA(id));
        HMENU t = LoadMenuA(library, MAKEINTRESOURCEA(id));
        if (t == nullptr) {
            problems.push_back("menu " + std::to_string(id) + " missing");
        } else {
            CompareMenus(e, t, "menu " + std::to_string(id), problems);
            DestroyMenu(t);
        }
        DestroyMenu(e);
    }

    for (unsigned id : ResourceIds(exe, MAKEINTRESOURCEA(5))) {
        if (FindResourceA(library, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)) == nullptr) {
            problems.push_back("dialog " + std::to_string(id) + " missing");
            continue;
        }
        bool englishCreated = false;
        bool translatedCreated = false;
        const std::vector<Control> e = ControlsOf(exe, id, englishCreated);
        const std::vector<Control> t = ControlsOf(library, id, translatedCreated);
        if (!translatedCreated) {
            problems.push_back("dialog " + std::to_string(id) + " cannot be created");
        } else if (e != t) {
            problems.push_back("dialog " + std::to_string(id) + ": other controls");
        }
    }
    FreeLibrary(library);
    FreeLibrary(exe);
    return problems;
}

class LanguageResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return out;
}

TEST_F(LanguageResourcesTest, EveryLibraryHasEveryStringMenuAndDialogOfTheProgram) {
    const std::vector<std::string> libraries = LanguageLibraries();
    ASSERT_FALSE(libraries.empty());
    for (const std::string& library : libraries) {
        const std::vector<std::string> problems = CompareWithProgram(library);
        EXPECT_TRUE(problems.empty()) << library << ":\n" << Joined(problems);
    }
}

// The comparison finds what a partial library lacks: the test library translates a few texts
// only, has the menus and setting dialogs, and leaves out the About box and the other strings.
TEST_F(LanguageResourcesTest, APartialLibraryIsReportedItemByItem) {
    const std::vector<std::string> problems =
        CompareWithProgram(driver::HostPath(ZEZIRIV_PARTIAL_LIBRARY));
    const std::string all = "\n" + Joined(problems);
    for (const char* expected :
         {"\nstring 100 missing (\"Zeziriv\")\n", "\nstring 41100 missing (\" bright\")\n",
          "\ndialog 200 missing\n"}) {
        EXPECT_NE(all.find(expected), std::string::npos) << expected << " not in:\n" << all;
    }
    for (const char* present : {"\nstring 41000 ", "\nmenu ", "\ndialog 201", "\ndialog 203"}) {
        EXPECT_EQ(all.find(present), std::string::npos) << present << " in:\n" << all;
    }
}

} // namespace
