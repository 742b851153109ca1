// UTF-8 <-> UTF-16 without the platform: for UTF-16 profile files, for handing UTF-8 file
// names to the wide-character file functions and for every text the Win32 shell passes on.
// Malformed input never fails: each bad sequence becomes U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lurvane {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
std::u32string Utf8ToUtf32(std::string_view utf8);
// Every byte is the code point of the same number (ISO-8859-1).
std::string Latin1ToUtf8(std::string_view latin1);

// The longest start of a UTF-8 text that is at most `maxBytes` long and ends at the end of a
// character.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t maxBytes);

}  // namespace lurvane
