// Shows the about box alone, the way the program shows it (with the program's manifest and
// icon), over an in-memory context, for looking at it by hand: about_box_viewer [language].
#include <windows.h>

#include <cwchar>

#include "about/win32/about_box.h"
#include "settings/memory_settings_store.h"
#include "util/win32/system_clock.h"
#include "util/win32/win32_file_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    using namespace lurvane;
    MemorySettingsStore settings;
    const win32::Win32FileSystem files;
    Language texts(commandLine != nullptr && *commandLine != L'\0' ? static_cast<int32_t>(std::wcstol(commandLine, nullptr, 10))
                                                                   : kGerman);
    const win32::SystemClock clock;
    const win32::GdiPlus pictures;
    const win32::ProgramContext context{settings, files, texts, Trace(), clock, pictures};
    HWND owner = CreateWindowExW(0, L"Static", L"Lurvane - settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640,
                                 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    win32::ShowAboutBox(owner, context);
    DestroyWindow(owner);
    return 0;
}
