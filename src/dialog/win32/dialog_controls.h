// Small helpers the settings dialog's frame and pages share for reading and placing controls.
#pragma once

#include <windows.h>

#include <string>

namespace lurvane::win32 {

std::string WindowText(HWND window);
// Does nothing for a null window, so that a missing control costs nothing.
void SetText(HWND window, const std::string& text);
// The place of a control in its parent's client pixels.
RECT PlaceOf(HWND control);
// The position of a scroll bar control.
int ScrollValue(HWND bar);

}  // namespace lurvane::win32
