// Message loops for tests that own windows on their own thread.
#pragma once

#include <windows.h>

#include <string>

#include "util/win32/text_convert.h"

namespace support {

// Runs the messages that wait now.
inline void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Runs messages for about `milliseconds`, at least once.
inline void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        PumpMessages();
        Sleep(10);
    } while (GetTickCount64() < end);
}

// Pumps until `done` holds; false when it still does not after `milliseconds`.
template <typename Condition>
bool PumpUntil(Condition done, DWORD milliseconds) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; !done(); PumpFor(10))
        if (GetTickCount64() > end) return false;
    return true;
}

// A window's text as UTF-8.
inline std::string TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return lurvane::win32::Narrow(text);
}

}  // namespace support
