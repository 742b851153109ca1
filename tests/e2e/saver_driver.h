// Plays the screen-saver host for the end-to-end tests: starts lurvane.scr with a switch,
// finds its windows, sends input, reads the screen and watches the process end.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "support/win32/screen_shot.h"
#include "support/win32/test_files.h"

namespace e2e {

using support::CaptureScreen;
using support::ScreenShot;
using support::WriteBmp;
using support::WriteBytes;

// The saver under test, as a Windows path (set from the command line in main).
const std::wstring& SaverPath();
void SetSaverPath(const std::wstring& path);

class SaverProcess {
public:
    // Starts the saver; `arguments` is the exact text after the program name and its blank.
    explicit SaverProcess(const std::wstring& arguments);
    // Starts `program` with exactly `commandLine`, program name included, as a host writes it.
    SaverProcess(const std::wstring& program, const std::wstring& commandLine);
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;
    ~SaverProcess();  // ends the process if it still runs

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // Waits up to `milliseconds` for the process to end; true when it ended.
    bool WaitForExit(DWORD milliseconds) const;
    // The exit code once ended (STILL_ACTIVE before); a crash shows as an NTSTATUS 0xC...
    DWORD ExitCode() const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Top-level windows titled "LurvaneScreenSaver" that are visible.
std::vector<HWND> VisibleSaverWindows();
// Waits until a visible saver window of the given process exists; nullptr after the timeout.
HWND WaitForSaverWindow(DWORD processId, DWORD milliseconds);

// Waits until the saver window has stayed visible for a while, that is the run has started.
HWND WaitForSaverReady(DWORD processId, DWORD milliseconds);
// Waits until the pointer is hidden, which the saver does once a move may end the run; false
// after the timeout.
bool WaitForPointerHidden(DWORD milliseconds);

// Checks that a full-screen saver window covers the whole screen and stays on top.
void ExpectCoversTheScreenOnTop(HWND window);

void PressKey(WORD virtualKey);
// Presses the keys in order and lets them go in reverse, as for Ctrl+Shift+Z.
void PressKeys(std::initializer_list<WORD> virtualKeys);
void ClickMouse();
// One mouse button action, such as MOUSEEVENTF_RIGHTDOWN, at `at` of the screen: an event that
// carries its place is not misplaced by a pointer that Wine has just put back where it was.
void SendMouseButton(DWORD action, POINT at);
void MoveMouseTo(int x, int y);

// Sets or clears an environment variable that started savers inherit.
void SetInheritedVariable(const wchar_t* name, const wchar_t* value);

std::wstring TempFilePath(const wchar_t* name);

// Stored settings of the saver, as the settings dialog leaves them.
void ClearStoredSettings();
void StoreSetting(const wchar_t* name, const std::wstring& text);

std::wstring DocumentsFolder();

// Text of the first child window of `parent` with the given class, empty when there is none.
std::wstring ChildText(HWND parent, const wchar_t* className);
std::string ReadFileBytes(const std::wstring& path);



}  // namespace e2e
