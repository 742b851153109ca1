#include "util/win32/scroll_bar.h"

#include <algorithm>

namespace lurvane::win32 {

std::optional<int> RequestedScrollValue(HWND bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    int value = info.nPos;
    switch (code) {
    case SB_LINEUP:  // also SB_LINELEFT
    case SB_PAGEUP:
        --value;
        break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        ++value;
        break;
    case SB_TOP:
        value = info.nMin;
        break;
    case SB_BOTTOM:
        value = info.nMax;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        value = info.nTrackPos;
        break;
    default:
        return std::nullopt;
    }
    return std::clamp(value, info.nMin, info.nMax);
}

}  // namespace lurvane::win32
