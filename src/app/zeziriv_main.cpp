// The program's entry point: decides whether this process is the one that runs, sets up the
// process-wide services, runs the hidden main frame's message loop and tears down in order.
#include "app/app_profile.h"
#include "app/main_frame.h"
#include "app/preview_owner.h"
#include "app/splash_wnd.h"
#include "app/startup_paths.h"
#include "app/window_collection.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/color_name_resources.h"
#include "features/dialogs/display_names.h"
#include "platform/exception_log.h"
#include "platform/language_library.h"
#include "platform/message_loop.h"
#include "platform/utilities.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr const char* kInstanceMutexName = "singleinstance.mutex.zeziriv.zuvadur";

// The headers of a file and whether they describe a whole resource library.
bool IsCompleteResourceLibraryFile(const std::string& path) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size{};
    std::string head(kLanguageLibraryHeadSize, '\0');
    DWORD read = 0;
    const bool ok = GetFileSizeEx(file, &size) &&
                    ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr);
    CloseHandle(file);
    head.resize(read);
    return ok && IsCompleteResourceLibrary(head, static_cast<std::uint64_t>(size.QuadPart));
}

// The language library, when it exists, is whole, loads and is of this program's product
// version.
HMODULE LoadLanguageLibrary(const std::string& exeDirectory, unsigned languageId) {
    const std::string path = FormatLanguageLibraryPath(exeDirectory, languageId);
    if (!FileExists(path.c_str()) || !IsCompleteResourceLibraryFile(path)) {
        return nullptr;
    }
    // The version is compared before loading, and the library is mapped as data only: a
    // stray or foreign DLL never runs code in this process.
    if (GetProductVersionMS(GetExecutablePath().c_str()) != GetProductVersionMS(path.c_str())) {
        return nullptr;
    }
    return LoadLibraryExW(WidePath(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

bool LoadStringForTable(unsigned id, std::string& text) {
    char buffer[512] = {};
    const bool found = LoadResString(id, buffer, static_cast<int>(sizeof(buffer)));
    text = buffer;
    return found;
}

int RunMainFrame(HINSTANCE instance) {
    CMessageLoop loop;
    GetAppModule().AddMessageLoop(&loop);
    if (!GetAppProfile().IsNoSplash()) {
        ShowSplash();
    }
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->Create(instance)) {
        GetAppModule().RemoveMessageLoop();
        return 0;
    }
    const int result = loop.Run();
    // Open filter windows store their records as a close would, and a view still open stores
    // its panel's rectangle, before the profile is saved.
    GetWindowCollection().DestroyAllWindows();
    GetPreviewWnd().Destroy();
    GetAppModule().RemoveMessageLoop();
    frame.reset();
    return result;
}

int RunProgram(HINSTANCE instance) {
    const std::string exeDirectory = GetExeDirectory();

    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex != nullptr) {
            CloseHandle(mutex);
        }
        return 0;
    }

    const unsigned languageId = GetSystemDefaultLangID();
    HMODULE languageLibrary = LoadLanguageLibrary(exeDirectory, languageId);
    SetResourceModule(languageLibrary);

    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    GetAppModule().Init(instance);

    LoadColorNameWordsFromResources();
    LoadDialogDisplayNames(&LoadStringForTable);

    CFilterManager& filters = GetFilterManager();
    for (const std::string& directory : GetFilterDirectories(exeDirectory, languageId)) {
        if (DirectoryExists(directory.c_str())) {
            filters.LoadFilterDirectory(directory);
        }
    }
    CAppProfile& profile = GetAppProfile();
    profile.Load();
    filters.SetImageQuality(CImageQuality(static_cast<int>(profile.GetImageQuality())));
    filters.PrepareTables();

    int result = 0;
    try {
        result = RunMainFrame(instance);
    } catch (...) {
        LogCurrentException(nullptr, 0);
        result = 0;
    }

    SaveProfileReportingFailure(nullptr);
    GetAppModule().Term();
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    SetResourceModule(nullptr);
    if (languageLibrary != nullptr) {
        FreeLibrary(languageLibrary);
    }
    CloseHandle(mutex);
    return result;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return RunProgram(instance);
    } catch (...) {
        return 0;
    }
}
