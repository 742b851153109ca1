// Asks Windows to tell the saver window when the display goes off or on and when the session
// is locked or unlocked, for as long as this object lives. Systems without these notices
// simply never send them.
#pragma once

#include <windows.h>

#include <optional>

#include "util/win32/handles.h"

namespace lurvane::win32 {

class RestNotifications {
public:
    explicit RestNotifications(HWND window);
    RestNotifications(const RestNotifications&) = delete;
    RestNotifications& operator=(const RestNotifications&) = delete;
    ~RestNotifications();

private:
    HWND window_;
    HPOWERNOTIFY display_ = nullptr;
    Module sessionLibrary_;
};

// What a window message says about the display or the session: true when the saver may
// draw again, false when it should rest, nothing for any other message.
std::optional<bool> DisplayStateFromPowerMessage(WPARAM wParam, LPARAM lParam);
std::optional<bool> SessionStateFromMessage(WPARAM wParam);

}  // namespace lurvane::win32
