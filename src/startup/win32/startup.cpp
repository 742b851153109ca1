#include "startup/win32/startup.h"

#include <windows.h>

#include <string>

#include "dialog/win32/settings_entry.h"
#include "saver/win32/main_form.h"
#include "startup/command_line.h"
#include "util/trace.h"
#include "util/win32/handles.h"
#include "util/win32/module_path.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

// The platform id read at a full-screen start; 0 in the other modes, as before any start.
DWORD saverPlatformId = 0;
bool saverCursorHidden = false;

void ChangePassword() {
    MainForm form;
    if (!form.Load()) return;
    Module mpr(LoadLibraryW(L"mpr.dll"));
    if (!mpr) return;
    using ChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    auto changePassword = reinterpret_cast<ChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(mpr.get(), "PwdChangePasswordA")));
    if (changePassword != nullptr) changePassword("SCRSAVE", form.Window(), 0, nullptr);
}

}  // namespace

bool IsDllAvailable(const wchar_t* name) {
    if (GetModuleHandleW(name) != nullptr) return true;
    Module module(LoadLibraryW(name));
    return static_cast<bool>(module);
}

bool IsSaverWindowPresent() {
    const bool found = FindWindowW(nullptr, kSaverWindowTitle) != nullptr;
    TraceQuietly(found ? "LurvaneScreenSaver found" : "LurvaneScreenSaver not found");
    return found;
}

bool AnotherSaverIsRunning() {
    IsSaverWindowPresent();
    return IsSaverWindowPresent();
}

void HideSaverCursor() {
    if (saverCursorHidden) return;
    ShowCursor(FALSE);
    saverCursorHidden = true;
}

bool RestoreSystemState() {
    if (saverPlatformId != VER_PLATFORM_WIN32_NT) SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    if (saverCursorHidden) {
        ShowCursor(TRUE);
        saverCursorHidden = false;
    }
    return true;
}

int StartFullScreenSaver(bool startedManually) {
    // Another instance already shows its saver window: this one ends without showing anything.
    if (AnotherSaverIsRunning()) return 0;

    MainForm form;
    if (!form.Load()) return 1;
    form.ShowFullScreen();

    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&version)) saverPlatformId = version.dwPlatformId;
#pragma GCC diagnostic pop
    if (saverPlatformId != VER_PLATFORM_WIN32_NT) SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);

    form.StartScreenSaver(false, startedManually);
    return form.Run();
}

int Main(std::wstring_view fullCommandLine) {
    if (!IsDllAvailable(L"gdiplus.dll")) {
        MessageBoxW(nullptr, L"GDI+ DLL fehlt. Programm wird beendet.", L"Lurvane", MB_OK);
        return 0;
    }
    const std::string commandLine(ArgumentsOf(Narrow(fullCommandLine), Narrow(ModulePath())));
    switch (SelectMode(commandLine)) {
    case SaverMode::FullScreen:
        return StartFullScreenSaver(false);
    case SaverMode::FullScreenManual:
        return StartFullScreenSaver(true);
    case SaverMode::Settings:
        return RunSettingsDialog(ParseWindowHandle(commandLine));
    case SaverMode::ChangePassword:
        ChangePassword();
        return 0;
    case SaverMode::Preview: {
        MainForm form;
        return StartPreview(form, ParseWindowHandle(commandLine));
    }
    case SaverMode::None:
        break;
    }
    return 0;
}

}  // namespace lurvane::win32
