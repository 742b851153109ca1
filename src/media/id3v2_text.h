// The byte-level rules of ID3v2 frame bodies: text in its four encodings and the undoing of
// unsynchronisation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lurvane {

// The first string of `bytes` in the frame's text encoding (0 Latin-1, 1 UTF-16 with a
// byte-order mark, 2 UTF-16BE, 3 UTF-8), up to its terminator, as UTF-8 without a byte-order
// mark. `rest`, when given, receives the bytes behind the terminator (empty when there is
// none). An unknown encoding gives the empty text and no rest.
std::string DecodeID3Text(std::uint8_t encoding, std::string_view bytes, std::string_view* rest = nullptr);

// The bytes with every 0x00 that follows a 0xFF removed.
std::string UndoUnsynchronisation(std::string_view bytes);

}  // namespace lurvane
