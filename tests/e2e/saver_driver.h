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

void PressKey(WORD virtualKey);
void ClickMouse();
void MoveMouseTo(int x, int y);

// Sets or clears an environment variable that started savers inherit.
void SetInheritedVariable(const wchar_t* name, const wchar_t* value);

std::wstring TempFilePath(const wchar_t* name);

// Stored settings of the saver, as the settings dialog leaves them.
void ClearStoredSettings();
void StoreSetting(const wchar_t* name, const std::wstring& text);

// Writes a 24-bit BMP of the given size whose pixel (x, y) is colour(x, y) (0x00RRGGBB).
template <typename Colour>
bool WriteBmp(const std::wstring& path, int width, int height, Colour colour);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::wstring DocumentsFolder();

// Text of the first child window of `parent` with the given class, empty when there is none.
std::wstring ChildText(HWND parent, const wchar_t* className);
std::string ReadFileBytes(const std::wstring& path);

// A copy of a rectangle of the screen as 32-bit pixels.
struct ScreenShot {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x] & 0xFFFFFF; }
};
ScreenShot CaptureScreen(const RECT& rect);

template <typename Colour>
bool WriteBmp(const std::wstring& path, int width, int height, Colour colour) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::string bytes(54 + static_cast<size_t>(rowBytes) * height, '\0');
    auto put32 = [&bytes](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            const size_t at = 54 + static_cast<size_t>(height - 1 - y) * rowBytes + static_cast<size_t>(x) * 3;
            bytes[at] = static_cast<char>(c & 0xFF);
            bytes[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            bytes[at + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
    return WriteBytes(path, bytes);
}

}  // namespace e2e
