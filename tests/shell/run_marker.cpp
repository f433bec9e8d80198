// Started by the utilities test through RunProcess; leaves a marker beside itself so the test
// can see that it ran.
#include <windows.h>

#include <cstring>

int main() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 16) {
        return 1;
    }
    std::strcpy(path + length, ".ran");
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    CloseHandle(file);
    return 0;
}
