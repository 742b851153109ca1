#include <windows.h>

#include "startup/win32/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return lurvane::win32::Main(GetCommandLineW()); }
