// The text and number rules every subsystem shares: the numeric value of a text, rounding
// with halves to even and range errors, and the separated-list helpers.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lurvane {

// The number at the start of a text. Blanks, tabs and line feeds are ignored anywhere in it,
// "." is the decimal point whatever the locale, characters after the number are ignored and a
// text without a number gives 0. "&H" and "&O" read hexadecimal and octal as two's complement
// 16-bit numbers up to &HFFFF and 32-bit ones up to &HFFFFFFFF, so "&HFFFF" is -1 and
// "&H8000000F" is -2147483633; leading zeros do not make a number wider.
double NumericValue(std::string_view text);

// True when the whole text, apart from surrounding blanks, is one number.
bool IsNumeric(std::string_view text);

// Raised when a rounded value does not fit its target type.
class RangeError : public std::range_error {
public:
    using std::range_error::range_error;
};

// Nearest integer, halves to the even neighbour; RangeError outside the target's range.
int16_t RoundToInt16(double value);
int32_t RoundToInt32(double value);
uint8_t RoundToByte(double value);

// The numeric value of a text rounded to 32 bits, or 0 when it does not fit: how device replies
// and tag numbers are read, where a failure must not travel.
int32_t Int32ValueOrZero(std::string_view text);

// Element `index` (counting from 1) of the text split at `separator`; the empty text when
// there is no such element, the index is below 1, or the text is empty.
std::string ParseSeparatedString(std::string_view text, char separator, int index);
inline std::string ParseCSV(std::string_view text, int index) { return ParseSeparatedString(text, ';', index); }
inline std::string ParseComma(std::string_view text, int index) { return ParseSeparatedString(text, ',', index); }

// The text up to its first NUL.
std::string_view StripAfterNul(std::string_view text);

// Surrounding blanks removed (spaces only, as the classic Trim does).
std::string_view TrimBlanks(std::string_view text);

// ASCII-only lower case, which is what the command-line switch comparison needs.
std::string LowerAscii(std::string_view text);

// Equality without regard to ASCII case, as extensions, INI names and registry roots compare.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Shortest decimal text of a number: integers without a decimal point.
std::string NumberText(double value);

}  // namespace lurvane
