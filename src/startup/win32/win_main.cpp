#include <windows.h>

#include <string>

#include "startup/win32/startup.h"

namespace {

// This program's own file, however long its path.
std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return lurvane::win32::Main(GetCommandLineW(), ProgramPath());
}
