// Plays the screen-saver host for the end-to-end tests: starts lurvane.scr with a switch,
// finds its windows, sends input, reads the screen and watches the process end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The saver under test, as a Windows path (set from the command line in main).
const std::wstring& SaverPath();
void SetSaverPath(const std::wstring& path);

class SaverProcess {
public:
    // Starts the saver; `arguments` is the exact text after the program name and its blank.
    explicit SaverProcess(const std::wstring& arguments);
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;
    ~SaverProcess();  // ends the process if it still runs

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // Waits up to `milliseconds` for the process to end; true when it ended.
    bool WaitForExit(DWORD milliseconds) const;

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

void PressKey(WORD virtualKey);
void ClickMouse();
void MoveMouseTo(int x, int y);

// Sets or clears an environment variable that started savers inherit.
void SetInheritedVariable(const wchar_t* name, const wchar_t* value);

std::wstring TempFilePath(const wchar_t* name);
std::string ReadFileBytes(const std::wstring& path);

// A copy of a rectangle of the screen as 32-bit pixels.
struct ScreenShot {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x] & 0xFFFFFF; }
};
ScreenShot CaptureScreen(const RECT& rect);

}  // namespace e2e
