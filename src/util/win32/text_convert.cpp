#include "util/win32/text_convert.h"

#include "util/text_encoding.h"

namespace lurvane::win32 {

// wchar_t is a UTF-16 unit on Windows, so the portable conversion serves the wide API as it is.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Widen(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(std::wstring_view utf16) {
    return Utf16ToUtf8(std::u16string(utf16.begin(), utf16.end()));
}

}  // namespace lurvane::win32
