// The byte-level rules of ID3v2 frame texts: the four encodings and the length a text is shown at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lurvane {

// The first string of `bytes` in the frame's text encoding (0 Latin-1, 1 UTF-16 with a
// byte-order mark, 2 UTF-16BE, 3 UTF-8), up to its terminator, as UTF-8 without a byte-order
// mark. `rest`, when given, receives the bytes behind the terminator (empty when there is
// none). An unknown encoding gives the empty text and no rest.
std::string DecodeID3Text(std::uint8_t encoding, std::string_view bytes, std::string_view* rest = nullptr);

// The width of the encoding's terminator: two zero bytes for UTF-16, one otherwise.
std::size_t ID3TerminatorWidth(std::uint8_t encoding);

// A text is shown with at most this many characters; a longer one is cut to that length,
// its last character being "…".
inline constexpr std::size_t kID3TextCharacters = 256;

// Enough bytes of a frame for one character more than that in any encoding (up to four bytes
// each), behind a byte-order mark: decoding only these gives the same cut text as decoding all.
inline constexpr std::size_t kID3TextBytes = 4 * (kID3TextCharacters + 1) + 4;

// The UTF-8 text cut to the display length.
std::string CutID3Text(std::string utf8);

}  // namespace lurvane
