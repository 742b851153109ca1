// UTF-8 <-> UTF-16 without the platform: for UTF-16 profile files, for handing UTF-8 file
// names to the wide-character file functions and for every text the Win32 shell passes on.
// Malformed input never fails: each bad sequence becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace lurvane {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace lurvane
