#include "media/id3v2_text.h"

#include "util/text_encoding.h"

namespace lurvane {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// Position of the first terminator: one zero byte, or two on an even offset for UTF-16.
std::size_t TerminatorAt(std::string_view bytes, std::size_t width) {
    if (width == 1) return bytes.find('\0');
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i;
    return std::string_view::npos;
}

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');  // an odd last byte is dropped
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Utf16ToUtf8(units);
}

}  // namespace

std::string DecodeID3Text(std::uint8_t encoding, std::string_view bytes, std::string_view* rest) {
    if (rest) *rest = {};
    if (encoding > 3) return {};
    const std::size_t width = ID3TerminatorWidth(encoding);
    const std::size_t end = TerminatorAt(bytes, width);
    if (rest && end != std::string_view::npos) *rest = bytes.substr(end + width);
    const std::string_view text = bytes.substr(0, end);

    std::string utf8;
    switch (encoding) {
    case 0: return Latin1ToUtf8(text);
    // Without a byte-order mark UTF-16 reads as little-endian, the order Windows taggers write.
    case 1: utf8 = Utf16BytesToUtf8(text, text.starts_with("\xFE\xFF")); break;
    case 2: utf8 = Utf16BytesToUtf8(text, true); break;
    default: utf8 = Utf16ToUtf8(Utf8ToUtf16(text)); break;  // malformed sequences become U+FFFD
    }
    if (utf8.starts_with(kUtf8ByteOrderMark)) utf8.erase(0, kUtf8ByteOrderMark.size());
    return utf8;
}

std::size_t ID3TerminatorWidth(std::uint8_t encoding) { return encoding == 1 || encoding == 2 ? 2 : 1; }

std::string CutID3Text(std::string utf8) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;  // inside a character
        if (++characters == kID3TextCharacters) {
            // Cut only when a further character follows this one.
            std::size_t next = i + 1;
            while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
            if (next < utf8.size()) {
                utf8.resize(i);
                utf8 += kEllipsis;
            }
            break;
        }
    }
    return utf8;
}

}  // namespace lurvane
