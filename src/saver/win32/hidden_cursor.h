// The mouse pointer hidden for the length of a run. Windows keeps a display counter: each hide
// is matched by exactly one show, however often the run asks.
#pragma once

#include <windows.h>

namespace lurvane::win32 {

class HiddenCursor {
public:
    HiddenCursor() = default;
    HiddenCursor(const HiddenCursor&) = delete;
    HiddenCursor& operator=(const HiddenCursor&) = delete;
    ~HiddenCursor() { Show(); }

    void Hide() {
        if (hidden_) return;
        ShowCursor(FALSE);
        hidden_ = true;
    }
    void Show() {
        if (!hidden_) return;
        ShowCursor(TRUE);
        hidden_ = false;
    }

private:
    bool hidden_ = false;
};

}  // namespace lurvane::win32
