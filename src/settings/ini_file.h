// Reading and writing single values of an INI file, with the behaviour of the Windows profile
// functions on every platform: section and key names match without regard to case and to
// surrounding blanks (alike when read and when written), surrounding blanks and one pair of
// enclosing quotes are dropped from a value, the first matching section and key count, a value
// is replaced where it stands, a new key goes to the end of its section, a new section to the
// end of the file, and a missing file is created on write. Files are bytes (ANSI or UTF-8, a
// UTF-8 or UTF-16 byte-order mark is honoured); file names are UTF-8. Reading costs one
// walk through the file and memory of about its size; writing one walk per value and at most
// twice that memory.
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

struct IniKey {
    std::string_view Section;
    std::string_view Key;
    std::string_view Default;
};

// The values of several keys of one file, in the order asked, each as ReadINIValue gives it;
// the file is read and walked once for all of them.
std::vector<std::string> ReadINIValues(const std::string& file, std::span<const IniKey> keys);

// Writes the value, creating the file, the section and the key as needed. Raises
// IniWriteError when that fails; the file is then as it was or, if the file system failed
// part way, as far as it got.
void WriteINIValue(std::string_view section, std::string_view key, std::string_view value, const std::string& file);

struct IniValue {
    std::string_view Section;
    std::string_view Key;
    std::string_view Value;
};

// Writes several values, in order, as one change of the file: each as WriteINIValue would,
// but the file is read, walked and written once. Nothing is written when any value cannot be,
// or when the file would grow past kIniFileLimit (it could not be read again); IniWriteError
// then.
void WriteINIValues(const std::string& file, std::span<const IniValue> values);

}  // namespace lurvane
