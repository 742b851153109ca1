// Reading and writing single values of an INI file, with the behaviour of the Windows profile
// functions on every platform: section and key names match without regard to case, surrounding
// blanks and one pair of enclosing quotes are dropped from a value, the first matching section
// and key count, a value is replaced where it stands, a new key goes to the end of its section,
// a new section to the end of the file, and a missing file is created on write. Files are
// bytes (ANSI or UTF-8, a UTF-8 or UTF-16 byte-order mark is honoured); file names are UTF-8.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lurvane {

// A value is never returned longer than this many bytes.
inline constexpr std::size_t kIniValueLimit = 16382;

// Files larger than this are not read as profiles (and not rewritten).
inline constexpr std::size_t kIniFileLimit = 16 * 1024 * 1024;

// A write that the file system refused, or a name or value that cannot be written into an INI
// line (a line break or NUL anywhere, "]" in a section name, "=" in a key name, an empty name).
class IniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value of `key` in `section` of `file`, or `defaultValue` when the file, the section or
// the key is missing or the file cannot be read. Cut at a NUL and at kIniValueLimit bytes.
std::string ReadINIValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                         const std::string& file);

// Writes the value, creating the file, the section and the key as needed. Raises
// IniWriteError when that fails; the file is then as it was or, if the file system failed
// part way, as far as it got.
void WriteINIValue(std::string_view section, std::string_view key, std::string_view value, const std::string& file);

}  // namespace lurvane
