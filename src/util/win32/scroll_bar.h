// Scroll bar controls that move one step at a time.
#pragma once

#include <windows.h>

#include <optional>

namespace lurvane::win32 {

// The value that a scroll bar control's notification `code` asks for: one step for a line or a
// page, an end, or the thumb's place, kept within the bar's range. Nothing for a code that
// asks for no value, such as the end of a scroll.
std::optional<int> RequestedScrollValue(HWND bar, int code);

}  // namespace lurvane::win32
