// Dots per inch of a window, for scaling what we draw and place ourselves. Systems without
// per-window DPI report the screen's.
#pragma once

#include <windows.h>

namespace lurvane::win32 {

inline constexpr UINT kDefaultDpi = 96;

UINT WindowDpi(HWND window);

// `value` given at 96 DPI, scaled to `dpi` (halves away from zero, as MulDiv does).
inline int ScaleForDpi(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), kDefaultDpi); }

}  // namespace lurvane::win32
