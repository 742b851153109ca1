#include "util/text_rules.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace lurvane {
namespace {

char LowerAsciiChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string WithoutBlanks(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (char c : text)
        if (!IsIgnoredBlank(c)) packed.push_back(c);
    return packed;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Reads digits of the given base from text[pos]; returns the value and advances pos.
double ReadRadix(const std::string& text, size_t& pos, int base) {
    double value = 0;
    while (pos < text.size() && DigitValue(text[pos]) < base) {
        value = value * base + DigitValue(text[pos]);
        ++pos;
    }
    return value;
}

// Parses a decimal number (sign, digits, fraction, exponent) at the start of `text`.
// Returns the number of characters used, 0 when there is no number.
size_t ReadDecimal(const std::string& text, double& value) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::string digits;
    size_t mantissaDigits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        digits.push_back(text[pos++]);
        ++mantissaDigits;
    }
    if (pos < text.size() && text[pos] == '.') {
        size_t dot = pos++;
        size_t fractionDigits = 0;
        std::string fraction = ".";
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            fraction.push_back(text[pos++]);
            ++fractionDigits;
        }
        if (fractionDigits == 0 && mantissaDigits == 0) pos = dot;
        else digits += fraction;
        mantissaDigits += fractionDigits;
    }
    if (mantissaDigits == 0) {
        value = 0;
        return 0;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' || text[pos] == 'D')) {
        size_t exponentStart = pos + 1;
        if (exponentStart < text.size() && (text[exponentStart] == '+' || text[exponentStart] == '-')) ++exponentStart;
        size_t exponentEnd = exponentStart;
        while (exponentEnd < text.size() && text[exponentEnd] >= '0' && text[exponentEnd] <= '9') ++exponentEnd;
        if (exponentEnd > exponentStart) {
            digits += 'e';
            digits.append(text, pos + 1, exponentEnd - pos - 1);
            pos = exponentEnd;
        }
    }
    value = std::strtod(digits.c_str(), nullptr);
    if (negative) value = -value;
    return pos;
}

// A hexadecimal or octal number is a 16-bit number when it fits 16 bits and a 32-bit one when
// it fits 32, read in two's complement: "&HFFFF" is -1, "&H8000000F" (the system colour button
// face) -2147483633. Larger ones keep their plain value, which no 32-bit target takes.
double TwosComplement(double value) {
    constexpr double k16 = 65536.0, k32 = 4294967296.0;
    if (value < k16) return value >= k16 / 2 ? value - k16 : value;
    if (value < k32) return value >= k32 / 2 ? value - k32 : value;
    return value;
}

// Parses a number at the start of an already blank-free text; returns characters used.
size_t ReadNumber(const std::string& text, double& value) {
    if (text.size() >= 2 && text[0] == '&') {
        char kind = text[1];
        int base = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
        if (base != 0) {
            size_t pos = 2;
            value = TwosComplement(ReadRadix(text, pos, base));
            return pos > 2 ? pos : 0;
        }
    }
    return ReadDecimal(text, value);
}

template <typename T>
T RoundTo(double value, const char* what) {
    double rounded = std::nearbyint(value);  // the default rounding mode rounds halves to even
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<T>::max())))
        throw RangeError(what);
    return static_cast<T>(rounded);
}

}  // namespace

double NumericValue(std::string_view text) {
    double value = 0;
    ReadNumber(WithoutBlanks(text), value);
    return value;
}

bool IsNumeric(std::string_view text) {
    std::string_view trimmed = text;
    while (!trimmed.empty() && IsIgnoredBlank(trimmed.front())) trimmed.remove_prefix(1);
    while (!trimmed.empty() && IsIgnoredBlank(trimmed.back())) trimmed.remove_suffix(1);
    std::string candidate(trimmed);
    double value = 0;
    size_t used = ReadNumber(candidate, value);
    return used > 0 && used == candidate.size();
}

int16_t RoundToInt16(double value) { return RoundTo<int16_t>(value, "value does not fit 16 bits"); }
int32_t RoundToInt32(double value) { return RoundTo<int32_t>(value, "value does not fit 32 bits"); }
uint8_t RoundToByte(double value) { return RoundTo<uint8_t>(value, "value does not fit 8 bits"); }

int32_t Int32ValueOrZero(std::string_view text) {
    try {
        return RoundToInt32(NumericValue(text));
    } catch (const RangeError&) {
        return 0;
    }
}

std::string ParseSeparatedString(std::string_view text, char separator, int index) {
    if (text.empty() || index < 1) return {};
    int element = 1;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        if (element == index) return std::string(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (end == std::string_view::npos) return {};
        start = end + 1;
        ++element;
    }
}

std::string_view StripAfterNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string LowerAscii(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = LowerAsciiChar(c);
    return lowered;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i])) return false;
    return true;
}

std::string NumberText(double value) {
    if (value == 0) return "0";
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
        return buffer;
    }
    char buffer[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::strtod(buffer, nullptr) == value) break;
    }
    return buffer;
}

}  // namespace lurvane
