// Finds and reads the settings dialog of a saver process started with "/c".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "resource.h"
#include "saver_driver.h"

namespace e2e {

inline constexpr DWORD kStartTimeout = 15000;

// Lets this thread's windows answer, as a host that owns the dialog must.
inline void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// The dialog of the saver process, found by its title once it is visible.
inline HWND WaitForDialog(DWORD processId, const wchar_t* title) {
    for (ULONGLONG end = GetTickCount64() + kStartTimeout; GetTickCount64() < end; Sleep(50)) {
        PumpMessages();
        HWND window = FindWindowW(L"#32770", title);
        DWORD owner = 0;
        if (window != nullptr) GetWindowThreadProcessId(window, &owner);
        if (window != nullptr && owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// A control of the dialog or of its visible page (of any page when asked).
inline HWND ControlOf(HWND dialog, int id, bool anyPage = false) {
    struct Search {
        int Id;
        bool AnyPage;
        HWND Found;
    } search{id, anyPage, nullptr};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) != wanted->Id || !(wanted->AnyPage || IsWindowVisible(GetParent(child)))) return TRUE;
            wanted->Found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

// The whole text, however long.
inline std::wstring WholeTextOf(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return text.c_str();
}

inline void Settle() {
    Sleep(100);
    PumpMessages();
}

// Waits up to five seconds for what the saver is to show; true when it came.
template <typename Condition>
bool WaitUntil(Condition condition) {
    for (ULONGLONG end = GetTickCount64() + 5000; GetTickCount64() < end; Sleep(30))
        if (condition()) return true;
    return condition();
}

inline RECT PlaceOf(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return place;
}

// Puts the pointer at `at` and waits until the system has it there, twice in a row: on a busy
// machine Wine sometimes puts the pointer back where it was a moment after it reported the move.
inline void PointAt(POINT at) {
    const auto there = [at] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == at.x && now.y == at.y;
    };
    for (int attempt = 0; attempt < 5; ++attempt) {
        MoveMouseTo(at.x, at.y);
        Settle();
        if (!there()) continue;
        Settle();
        if (there()) return;
    }
}

inline POINT ScreenCentre(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return {place.left + (place.right - place.left) / 2, place.top + (place.bottom - place.top) / 2};
}

inline POINT ViewportOrigin(HWND preview) {
    POINT origin{0, 0};
    ClientToScreen(preview, &origin);
    return origin;
}

// Presses the left button at `from`, moves the pointer by (dx, dy) in a few steps and lets go.
inline void Drag(POINT from, int dx, int dy) {
    PointAt(from);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN, from);
    Settle();
    const POINT to{from.x + dx, from.y + dy};
    for (int step = 1; step <= 4; ++step) PointAt(POINT{from.x + dx * step / 4, from.y + dy * step / 4});
    SendMouseButton(MOUSEEVENTF_LEFTUP, to);
    Settle();
}

inline void ClickAt(POINT at, bool right) {
    PointAt(at);
    SendMouseButton(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, at);
    SendMouseButton(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, at);
    Settle();
}

// The settings dialog of a saver started with "/c", in front and ready for the pointer: its
// first trip and first click into the new window can go unnoticed, so both go to the zoom
// label, where they do nothing. Null when it never showed.
inline HWND OpenSettingsDialog(const SaverProcess& saver) {
    HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - settings");
    if (dialog == nullptr) return nullptr;
    SetForegroundWindow(dialog);
    WaitUntil([dialog] { return GetForegroundWindow() == dialog; });
    ClickAt(ScreenCentre(ControlOf(dialog, IDC_LABELZOOMFACTOR)), false);
    Sleep(300);
    return dialog;
}

// Does `act` until `done` holds, at most three times, waiting two seconds after each: the first
// input into a new window is sometimes lost.
template <typename Act, typename Condition>
bool RetryUntil(Act act, Condition done) {
    for (int attempt = 0; attempt < 3 && !done(); ++attempt) {
        act();
        for (ULONGLONG end = GetTickCount64() + 2000; !done() && GetTickCount64() < end;) Sleep(30);
    }
    return done();
}

// The stored value as its raw REG_SZ data, or nothing when it is missing.
inline std::optional<std::wstring> StoredData(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, support::SettingsSubKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::wstring> data;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::wstring bytes(size / sizeof(wchar_t), L'\0');
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        data = bytes;
    }
    RegCloseKey(key);
    return data;
}

}  // namespace e2e
