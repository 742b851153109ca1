// Whether a control's text has room in it, measured with the control's own font.
#pragma once

#include <windows.h>

#include <string>

namespace support {

// True when the text, laid out as a static control lays it out (wrapped at the control's width),
// fits its client area.
inline bool TextFitsControl(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    if (text.empty()) return true;
    RECT client{};
    GetClientRect(control, &client);
    RECT needed{0, 0, client.right, 0};
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return needed.right <= client.right && needed.bottom <= client.bottom;
}

}  // namespace support
