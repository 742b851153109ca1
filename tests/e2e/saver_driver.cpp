#include "saver_driver.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace e2e {
namespace {

std::wstring& MutableSaverPath() {
    static std::wstring path;
    return path;
}

void SendOne(INPUT input) { SendInput(1, &input, sizeof input); }

}  // namespace

const std::wstring& SaverPath() { return MutableSaverPath(); }
void SetSaverPath(const std::wstring& path) { MutableSaverPath() = path; }

SaverProcess::SaverProcess(const std::wstring& arguments)
    : SaverProcess(std::wstring(), L"\"" + SaverPath() + L"\" " + arguments) {}

SaverProcess::SaverProcess(const std::wstring& program, const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(program.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

SaverProcess::~SaverProcess() {
    if (process_ == nullptr) return;
    if (Running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool SaverProcess::Running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool SaverProcess::WaitForExit(DWORD milliseconds) const {
    return process_ == nullptr || WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

DWORD SaverProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr) GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<HWND> VisibleSaverWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (IsWindowVisible(window) && std::wstring(title) == L"LurvaneScreenSaver")
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND WaitForSaverWindow(DWORD processId, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        for (HWND window : VisibleSaverWindows()) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId) return window;
        }
        Sleep(20);
    } while (GetTickCount64() < end);
    return nullptr;
}

HWND WaitForSaverReady(DWORD processId, DWORD milliseconds) {
    // The window is shown, hidden for the desktop snapshot and shown again: wait until it has
    // stayed visible for a while.
    const ULONGLONG end = GetTickCount64() + milliseconds;
    ULONGLONG visibleSince = 0;
    while (GetTickCount64() < end) {
        HWND window = WaitForSaverWindow(processId, 50);
        const ULONGLONG now = GetTickCount64();
        if (window == nullptr) visibleSince = 0;
        else if (visibleSince == 0) visibleSince = now;
        else if (now - visibleSince >= 400) return window;
        Sleep(20);
    }
    return nullptr;
}

bool WaitForPointerHidden(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        CURSORINFO cursor{};
        cursor.cbSize = sizeof cursor;
        if (GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) == 0) return true;
        Sleep(20);
    } while (GetTickCount64() < end);
    return false;
}

void ExpectCoversTheScreenOnTop(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

void PressKey(WORD virtualKey) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    SendOne(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    SendOne(input);
}

void PressKeys(std::initializer_list<WORD> virtualKeys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    for (WORD key : virtualKeys) {
        input.ki.wVk = key;
        SendOne(input);
    }
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    for (auto key = std::rbegin(virtualKeys); key != std::rend(virtualKeys); ++key) {
        input.ki.wVk = *key;
        SendOne(input);
    }
}

void ClickMouse() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendOne(input);
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendOne(input);
}

namespace {
// A pointer event at (x, y) of the screen.
INPUT MouseInputAt(int x, int y, DWORD action) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Windows maps back with a truncating x * width / 65536: round up so that it lands on x.
    input.mi.dx = (x * 65536 + width - 1) / width;
    input.mi.dy = (y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | action;
    return input;
}
}  // namespace

void SendMouseButton(DWORD action, POINT at) { SendOne(MouseInputAt(at.x, at.y, action)); }

void MoveMouseTo(int x, int y) { SendOne(MouseInputAt(x, y, 0)); }

void SetInheritedVariable(const wchar_t* name, const wchar_t* value) { SetEnvironmentVariableW(name, value); }

std::wstring TempFilePath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

void ClearStoredSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, support::SettingsSubKey().c_str()); }

void StoreSetting(const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, support::SettingsSubKey().c_str(), name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}


std::wstring DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

std::wstring ChildText(HWND parent, const wchar_t* className) {
    HWND child = FindWindowExW(parent, nullptr, className, nullptr);
    if (child == nullptr) return {};
    wchar_t text[256] = {};
    SendMessageTimeoutW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
    return text;
}


}  // namespace e2e
