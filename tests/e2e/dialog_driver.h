// Finds and reads the settings dialog of a saver process started with "/c".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

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
