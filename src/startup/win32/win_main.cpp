#include <windows.h>

#include "startup/win32/startup.h"
#include "util/win32/module_path.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return lurvane::win32::Main(GetCommandLineW(), lurvane::win32::ModulePath());
}
