#include "util/win32/system_clock.h"

#include <windows.h>

namespace lurvane::win32 {

double SystemClock::SecondsSinceMidnight() const {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return time.wHour * 3600.0 + time.wMinute * 60.0 + time.wSecond + time.wMilliseconds / 1000.0;
}

}  // namespace lurvane::win32
