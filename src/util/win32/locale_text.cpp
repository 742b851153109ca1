#include "util/win32/locale_text.h"

#include <windows.h>

#include "util/win32/text_convert.h"

namespace lurvane::win32 {

std::string UserDecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return ".";
    return Narrow(separator);
}

}  // namespace lurvane::win32
