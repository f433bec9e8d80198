// The distribution as a user or an administrator gets it: the installer run silently and with
// its questions, the uninstaller, an upgrade over a running program, and the portable zip.
#include "e2e_support.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace e2e;

namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zeziriv";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kSetupTimeoutMs = 120000;
// Exit codes of the installer.
constexpr DWORD kExitNotClosed = 3;
constexpr DWORD kExitNoRights = 4;
constexpr DWORD kExitNoSpace = 5;
constexpr DWORD kExitNotReplaced = 6;

// A value of the user's (or with `machine`, the machine's) uninstall entry.
std::optional<std::string> Entry(const char* name, bool machine = false) {
    return ReadRegistryString(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kUninstallKey,
                              name);
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir.back() == '\\' ? dir + name : dir + "\\" + name;
}

// Relative path → size of every file below `dir`.
std::map<std::string, ULONGLONG> ListFiles(const std::string& dir) {
    std::map<std::string, ULONGLONG> files;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(dir, missing)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), dir).string()] = entry.file_size();
        }
    }
    return files;
}

void WriteTextFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string ShortcutPath() {
    return Join(ShellFolder(CSIDL_PROGRAMS), "Zeziriv.lnk");
}

// "major.minor.patch" of an executable's product version.
std::string ProductVersion(const std::string& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length)) {
        return {};
    }
    return std::to_string(HIWORD(info->dwProductVersionMS)) + "." +
           std::to_string(LOWORD(info->dwProductVersionMS)) + "." +
           std::to_string(HIWORD(info->dwProductVersionLS));
}

// Marks a file so that a later replacement shows: its time goes back ten years.
constexpr auto kDecade = std::chrono::hours(24 * 3652);
void MarkOld(const std::string& path) {
    fs::last_write_time(path, fs::last_write_time(path) - kDecade);
}

bool IsMarkedOld(const std::string& path) {
    std::error_code missing;
    const auto time = fs::last_write_time(path, missing);
    return !missing && time < fs::file_time_type::clock::now() - kDecade / 2;
}

std::optional<DWORD> RunSetup(const std::string& arguments) {
    return CProgram(HostPath(ZEZIRIV_SETUP), arguments).WaitExit(kSetupTimeoutMs);
}

// Starts the program in `dir`, waits for its frame and ends it through its Exit command.
void StartsAndExits(const std::string& dir) {
    CProgram program(Join(dir, "zeziriv.exe"));
    ASSERT_TRUE(program.IsStarted());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr) << "no frame from " << dir;
    Exit(program, frame);
}

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetInstall();
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        scratch = std::string(temp) + "zeziriv_pkg_" + std::to_string(GetCurrentProcessId()) + "_" +
                  std::to_string(++counter);
        CreateDirectoryA(scratch.c_str(), nullptr);
        dir = Join(scratch, "Zeziriv");
        shipped = ListFiles(HostPath(ZEZIRIV_PORTABLE_DIR));
        ASSERT_FALSE(shipped.empty()) << "the unpacked zip is missing";
    }
    void TearDown() override {
        RemoveTree(scratch);
        ForgetInstall();
        ClearSettings();
    }
    static void ForgetInstall() {
        const std::string location = Entry("InstallLocation").value_or("");
        if (!location.empty() && location.find("zeziriv_pkg_") == std::string::npos) {
            RemoveTree(location); // the default folder, used by one test
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Zeziriv");
            RegCloseKey(run);
        }
        DeleteFileA(ShortcutPath().c_str());
    }

    void ExpectInstalledIn(const std::string& where) {
        for (const auto& [name, size] : shipped) {
            const auto installed = ListFiles(where);
            const auto found = installed.find(name);
            ASSERT_NE(found, installed.end()) << name << " not installed";
            EXPECT_EQ(found->second, size) << name;
        }
        EXPECT_TRUE(PathExists(Join(where, "uninstall.exe")));
        EXPECT_TRUE(PathExists(ShortcutPath()));
    }

    // Runs the installed uninstaller silently; it finishes from a copy of itself.
    void UninstallSilently(const std::string& where) {
        ASSERT_EQ(CProgram(Join(where, "uninstall.exe"), "/S").WaitExit(kSetupTimeoutMs),
                  std::optional<DWORD>(0));
        ASSERT_TRUE(WaitFor(
            [&] { return !PathExists(Join(where, "uninstall.exe")) && !Entry("DisplayName"); },
            kSetupTimeoutMs));
    }

    std::string scratch;
    std::string dir;
    std::map<std::string, ULONGLONG> shipped;
};

TEST_F(PackageTest, SilentInstallRunsAndUninstallRemovesAllButTheUsersFilters) {
    ASSERT_EQ(RunSetup("/S /D=" + dir), std::optional<DWORD>(0));
    ExpectInstalledIn(dir);

    // The Apps & Features entry.
    EXPECT_EQ(Entry("DisplayName"), std::optional<std::string>("Zeziriv"));
    EXPECT_EQ(Entry("DisplayVersion"), std::optional<std::string>(ZEZIRIV_VERSION_TEXT));
    EXPECT_EQ(ProductVersion(Join(dir, "zeziriv.exe")), ZEZIRIV_VERSION_TEXT);
    EXPECT_EQ(Entry("Publisher"), std::optional<std::string>("zuvadur"));
    EXPECT_EQ(Entry("InstallLocation"), std::optional<std::string>(dir));
    EXPECT_EQ(Entry("UninstallString"),
              std::optional<std::string>("\"" + Join(dir, "uninstall.exe") + "\""));
    ULONGLONG bytes = 0;
    for (const auto& file : shipped) {
        bytes += file.second;
    }
    const auto sizeKb = ReadRegistryDword(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize");
    ASSERT_TRUE(sizeKb);
    EXPECT_GE(*sizeKb, bytes / 1024);
    EXPECT_LE(*sizeKb, bytes / 1024 + 1024);
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kRunKey, "Zeziriv"))
        << "start at log-on is off";

    StartsAndExits(dir);

    // The user's own filters, one in a language subfolder, and a settings value.
    CreateDirectoryA(Join(dir, "filter\\private").c_str(), nullptr);
    CreateDirectoryA(Join(dir, "filter\\private\\1041").c_str(), nullptr);
    WriteTextFile(Join(dir, "filter\\private\\mine.xml"), "<ZezirivFilter/>");
    WriteTextFile(Join(dir, "filter\\private\\1041\\mine.xml"), "<ZezirivFilter/>");
    WriteSettingDword("QuickWaitingTime", 777);

    UninstallSilently(dir);
    const auto left = ListFiles(dir);
    EXPECT_EQ(left.size(), 2u);
    EXPECT_TRUE(left.count("filter\\private\\mine.xml"));
    EXPECT_TRUE(left.count("filter\\private\\1041\\mine.xml"));
    EXPECT_FALSE(PathExists(Join(dir, "filter\\system")));
    EXPECT_FALSE(PathExists(ShortcutPath()));
    EXPECT_EQ(ReadSettingDword("QuickWaitingTime"), std::optional<DWORD>(777))
        << "a silent uninstall keeps the settings";

    // Without the user's filters nothing is left at all.
    RemoveTree(Join(dir, "filter\\private"));
    ASSERT_EQ(RunSetup("/S /D=" + dir), std::optional<DWORD>(0));
    UninstallSilently(dir);
    EXPECT_FALSE(PathExists(dir));
}

TEST_F(PackageTest, UpgradeClosesTheRunningProgramAndKeepsSettingsFiltersAndChoices) {
    // No folder given: the user's own programs folder.
    ASSERT_EQ(RunSetup("/S /AUTOSTART"), std::optional<DWORD>(0));
    const std::string defaultDir = Join(ShellFolder(CSIDL_LOCAL_APPDATA), "Programs\\Zeziriv");
    EXPECT_EQ(Entry("InstallLocation"), std::optional<std::string>(defaultDir));
    ExpectInstalledIn(defaultDir);
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kRunKey, "Zeziriv"),
              std::optional<std::string>("\"" + Join(defaultDir, "zeziriv.exe") + "\""));

    WriteSettingDword("QuickWaitingTime", 777);
    CreateDirectoryA(Join(defaultDir, "filter\\private").c_str(), nullptr);
    WriteTextFile(Join(defaultDir, "filter\\private\\mine.xml"), "<ZezirivFilter/>");
    MarkOld(Join(defaultDir, "zeziriv.exe"));
    DeleteFileA(Join(defaultDir, "zeziriv-filter.exe").c_str());

    // The installed program runs; setup asks it to close and goes on.
    CProgram running(Join(defaultDir, "zeziriv.exe"));
    ASSERT_NE(running.WaitFrame(), nullptr);
    ASSERT_EQ(RunSetup("/S"), std::optional<DWORD>(0));
    EXPECT_EQ(running.WaitExit(0), std::optional<DWORD>(0));

    ExpectInstalledIn(defaultDir);
    EXPECT_FALSE(IsMarkedOld(Join(defaultDir, "zeziriv.exe"))) << "the program was replaced";
    EXPECT_EQ(ReadSettingDword("QuickWaitingTime"), std::optional<DWORD>(777));
    EXPECT_TRUE(PathExists(Join(defaultDir, "filter\\private\\mine.xml")));
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kRunKey, "Zeziriv"))
        << "start at log-on kept";
    EXPECT_FALSE(PathExists(Join(defaultDir, "~zeziriv-setup.new")));
    EXPECT_FALSE(PathExists(Join(defaultDir, "~zeziriv-setup.old")));
    StartsAndExits(defaultDir);

    UninstallSilently(defaultDir);
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kRunKey, "Zeziriv"));
    EXPECT_TRUE(PathExists(Join(defaultDir, "filter\\private\\mine.xml")));
}

TEST_F(PackageTest, ForEveryoneTheEntryAndShortcutAreTheMachinesAndTheUninstallerKnowsIt) {
    ASSERT_EQ(RunSetup("/S /ALLUSERS /D=" + dir), std::optional<DWORD>(0));
    EXPECT_FALSE(Entry("DisplayName"));
    const auto quiet = Entry("QuietUninstallString", true);
    ASSERT_EQ(quiet,
              std::optional<std::string>("\"" + Join(dir, "uninstall.exe") + "\" /ALLUSERS /S"));
    const std::string shortcut = Join(ShellFolder(CSIDL_COMMON_PROGRAMS), "Zeziriv.lnk");
    EXPECT_TRUE(PathExists(shortcut));
    EXPECT_FALSE(PathExists(ShortcutPath()));

    ASSERT_EQ(CProgram(Join(dir, "uninstall.exe"), "/ALLUSERS /S").WaitExit(kSetupTimeoutMs),
              std::optional<DWORD>(0));
    EXPECT_TRUE(WaitFor([&] { return !PathExists(dir) && !Entry("DisplayName", true).has_value(); },
                        kSetupTimeoutMs));
    EXPECT_FALSE(PathExists(shortcut));

    // Beside an install for one user, an install for everyone goes to its own folder.
    ASSERT_EQ(RunSetup("/S"), std::optional<DWORD>(0));
    ASSERT_EQ(RunSetup("/S /ALLUSERS"), std::optional<DWORD>(0));
    const std::string forAll = Join(ShellFolder(CSIDL_PROGRAM_FILES), "Zeziriv");
    EXPECT_EQ(Entry("InstallLocation", true), std::optional<std::string>(forAll));
    EXPECT_EQ(
        Entry("InstallLocation"),
        std::optional<std::string>(Join(ShellFolder(CSIDL_LOCAL_APPDATA), "Programs\\Zeziriv")));
    ASSERT_EQ(CProgram(Join(forAll, "uninstall.exe"), "/ALLUSERS /S").WaitExit(kSetupTimeoutMs),
              std::optional<DWORD>(0));
    EXPECT_TRUE(WaitFor([&] { return !PathExists(forAll); }, kSetupTimeoutMs));
}

// The uninstaller of an install for everyone knows it without /ALLUSERS. Without the rights to
// its folder it changes nothing: the test prefix runs as an administrator, so a folder in the
// place of the file the uninstaller tries to write shows that case.
TEST_F(PackageTest, AnInstallForEveryoneIsRemovedWithoutTheFlagAndLeftAloneWithoutRights) {
    ASSERT_EQ(RunSetup("/S /ALLUSERS /D=" + dir), std::optional<DWORD>(0));
    const std::string shortcut = Join(ShellFolder(CSIDL_COMMON_PROGRAMS), "Zeziriv.lnk");
    ASSERT_TRUE(PathExists(shortcut));
    ASSERT_TRUE(Entry("DisplayName", true));

    const std::string probe = Join(dir, "~zeziriv-uninstall.probe");
    ASSERT_TRUE(CreateDirectoryA(probe.c_str(), nullptr));
    EXPECT_EQ(CProgram(Join(dir, "uninstall.exe"), "/S _?=" + dir).WaitExit(kSetupTimeoutMs),
              std::optional<DWORD>(kExitNoRights));
    EXPECT_TRUE(PathExists(Join(dir, "zeziriv.exe")));
    EXPECT_TRUE(Entry("DisplayName", true));
    EXPECT_TRUE(PathExists(shortcut));
    ASSERT_TRUE(RemoveDirectoryA(probe.c_str()));

    ASSERT_EQ(CProgram(Join(dir, "uninstall.exe"), "/S").WaitExit(kSetupTimeoutMs),
              std::optional<DWORD>(0));
    EXPECT_TRUE(
        WaitFor([&] { return !PathExists(dir) && !Entry("DisplayName", true); }, kSetupTimeoutMs));
    EXPECT_FALSE(PathExists(shortcut));
}

TEST_F(PackageTest, UninstallingWithItsPagesAsksAndRemovesTheSettingsOnYes) {
    ASSERT_EQ(RunSetup("/S /D=" + dir), std::optional<DWORD>(0));
    WriteSettingDword("QuickWaitingTime", 777);
    // In place (_?=), so the pages belong to the process started here.
    CProgram uninstall(Join(dir, "uninstall.exe"), "_?=" + dir);
    const auto outer = [&] {
        for (HWND window : FindWindows(uninstall.GetProcessId(), kDialogClass)) {
            if (GetDlgItem(window, IDOK) != nullptr && GetDlgItem(window, IDCANCEL) != nullptr &&
                IsWindowVisible(window)) {
                return window;
            }
        }
        return HWND{};
    };
    HWND pages = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (pages = outer()) != nullptr; }, kSetupTimeoutMs));
    PressButton(pages, IDOK); // "Uninstall" on the confirmation page
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND box : FindWindows(uninstall.GetProcessId(), kDialogClass)) {
                if (IsWindowVisible(box) &&
                    GetStaticTexts(box).find("Remove your Zeziriv settings") != std::string::npos) {
                    question = box;
                    return true;
                }
            }
            return false;
        },
        kSetupTimeoutMs));
    EXPECT_TRUE(SettingsKeyExists()) << "nothing removed before the answer";
    PressButton(question, IDYES);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, kSetupTimeoutMs));
    // The last page's Close: its button takes its text before the page takes a click, so the
    // click is repeated until setup ends.
    std::optional<DWORD> code;
    WaitFor(
        [&] {
            char text[64] = {};
            const HWND close = GetDlgItem(pages, IDOK);
            GetWindowTextA(close, text, sizeof text);
            if (IsWindowEnabled(close) && std::string(text) == "&Close") {
                PressButton(pages, IDOK);
            }
            return (code = uninstall.WaitExit(500)).has_value();
        },
        kSetupTimeoutMs);
    EXPECT_EQ(code, std::optional<DWORD>(0));
    EXPECT_FALSE(SettingsKeyExists());
    EXPECT_FALSE(PathExists(Join(dir, "zeziriv.exe")));
    EXPECT_FALSE(PathExists(ShortcutPath()));
}

// Holds the program's single-instance mutex and a frame that ignores its Exit command, as a
// program stuck in a dialog of its own would.
class CStubbornInstance {
public:
    CStubbornInstance() {
        m_mutex = CreateMutexA(nullptr, FALSE, "singleinstance.mutex.zeziriv.zuvadur");
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kFrameClass;
        RegisterClassA(&wc);
        m_frame = CreateWindowExA(0, kFrameClass, "Zeziriv", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        s_exitCommands = 0;
    }
    ~CStubbornInstance() {
        DestroyWindow(m_frame);
        UnregisterClassA(kFrameClass, GetModuleHandleA(nullptr));
        CloseHandle(m_mutex);
    }
    static int GetExitCommands() { return s_exitCommands; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COMMAND && LOWORD(wParam) == kExitCommand) {
            ++s_exitCommands;
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    static inline int s_exitCommands = 0;
    HANDLE m_mutex = nullptr;
    HWND m_frame = nullptr;
};

TEST_F(PackageTest, AProgramThatWillNotCloseStopsSetupWithAMessageAndChangesNothing) {
    ASSERT_EQ(RunSetup("/S /D=" + dir), std::optional<DWORD>(0));
    MarkOld(Join(dir, "zeziriv.exe"));

    CStubbornInstance stubborn;
    CProgram setup(HostPath(ZEZIRIV_SETUP), "/D=" + dir);
    // Each message box of setup, read and answered with OK.
    const auto answerBox = [&](const std::string& expected) {
        std::string text;
        EXPECT_TRUE(win_test::PumpUntil(
            [&] {
                for (HWND box : FindWindows(setup.GetProcessId(), kDialogClass)) {
                    text = GetStaticTexts(box);
                    if (IsWindowVisible(box) && text.find(expected) != std::string::npos) {
                        PressButton(box, IDOK);
                        return true;
                    }
                }
                return false;
            },
            kSetupTimeoutMs))
            << "no message with \"" << expected << "\"; last text: " << text;
    };
    answerBox("Zeziriv is running");
    answerBox("Zeziriv did not close");
    std::optional<DWORD> code;
    win_test::PumpUntil([&] { return (code = setup.WaitExit(0)).has_value(); }, kSetupTimeoutMs);
    EXPECT_EQ(code, std::optional<DWORD>(kExitNotClosed));
    EXPECT_GE(CStubbornInstance::GetExitCommands(), 1) << "setup asked through Exit";
    EXPECT_TRUE(IsMarkedOld(Join(dir, "zeziriv.exe"))) << "nothing replaced";
}

TEST_F(PackageTest, AFolderThatCannotBeWrittenOrADiskWithoutSpaceChangesNothing) {
    // A folder below a file cannot be made.
    WriteTextFile(Join(scratch, "file"), "x");
    EXPECT_EQ(RunSetup("/S /D=" + Join(scratch, "file\\Zeziriv")),
              std::optional<DWORD>(kExitNoRights));
    EXPECT_FALSE(Entry("DisplayName"));

    // A small disk of its own (a tmpfs the test fixture mounts), filled after a first install.
    const std::string disk = HostPath(ZEZIRIV_SMALL_DISK);
    if (!PathExists(Join(disk, "mounted"))) {
        GTEST_SKIP() << "no small disk: " << disk;
    }
    const std::string onDisk = Join(disk, "Zeziriv");
    RemoveTree(onDisk);
    DeleteFileA(Join(disk, "filler").c_str());
    ASSERT_EQ(RunSetup("/S /D=" + onDisk), std::optional<DWORD>(0));
    MarkOld(Join(onDisk, "zeziriv.exe"));
    ULARGE_INTEGER free{};
    ASSERT_TRUE(GetDiskFreeSpaceExA(disk.c_str(), &free, nullptr, nullptr));
    {
        // Leaves a quarter of a megabyte.
        HANDLE filler = CreateFileA(Join(disk, "filler").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(filler, INVALID_HANDLE_VALUE);
        std::vector<char> block(1 << 16, 'z');
        for (ULONGLONG left = free.QuadPart - (256 << 10); left > 0;) {
            const DWORD chunk = static_cast<DWORD>(std::min<ULONGLONG>(left, block.size()));
            DWORD written = 0;
            if (!WriteFile(filler, block.data(), chunk, &written, nullptr) || written == 0) {
                break;
            }
            left -= written;
        }
        CloseHandle(filler);
    }
    EXPECT_EQ(RunSetup("/S /D=" + onDisk), std::optional<DWORD>(kExitNoSpace));
    EXPECT_TRUE(IsMarkedOld(Join(onDisk, "zeziriv.exe")));
    EXPECT_FALSE(PathExists(Join(onDisk, "~zeziriv-setup.new")));
    StartsAndExits(onDisk);
    DeleteFileA(Join(disk, "filler").c_str());
    UninstallSilently(onDisk);
    EXPECT_FALSE(PathExists(onDisk));
}

TEST_F(PackageTest, AFileInUseStopsTheSwapAndPutsTheEarlierInstallBack) {
    ASSERT_EQ(RunSetup("/S /D=" + dir), std::optional<DWORD>(0));
    MarkOld(Join(dir, "zeziriv.exe"));
    const auto before = ListFiles(dir);
    // Held open without sharing, as a running filter tool would hold it.
    HANDLE held = CreateFileA(Join(dir, "zeziriv-filter.exe").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto code = RunSetup("/S /D=" + dir);
    CloseHandle(held);
    EXPECT_EQ(code, std::optional<DWORD>(kExitNotReplaced));
    EXPECT_EQ(ListFiles(dir), before) << "every file back where it was";
    EXPECT_TRUE(IsMarkedOld(Join(dir, "zeziriv.exe")));
    StartsAndExits(dir);
}

TEST_F(PackageTest, ThePortableZipUnpackedElsewhereStartsWithItsFilters) {
    // The unpacked tree is exactly the install tree: no installer files.
    EXPECT_FALSE(shipped.count("uninstall.exe"));
    EXPECT_TRUE(shipped.count("zeziriv.exe"));
    const std::string portable = HostPath(ZEZIRIV_PORTABLE_DIR);
    CProgram program(Join(portable, "zeziriv.exe"));
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);

    // Its shipped filters are found beside it: the tray menu's Quick view lists the defaults.
    std::vector<std::string> quick;
    for (const MenuItem& item : ReadTrayMenu(program.GetProcessId(), frame)) {
        if (item.text == "&Quick view") {
            quick = Texts(item.submenu);
        }
    }
    ASSERT_EQ(quick.size(), 6u);
    EXPECT_EQ(quick[1], "Protanopia (no red cones)");
    Exit(program, frame);
}

} // namespace
