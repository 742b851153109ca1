// Reads the ID3v2 tag (versions 2.2, 2.3 and 2.4) of an MP3 file into the fields the sound
// page shows. Only reads; never raises: a failure is a false result, 0 or the empty text. Any
// tag costs the same few buffers of memory, and time for the bytes the walk has to pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

#include "media/byte_source.h"

namespace lurvane {

// Texts are UTF-8, cut to the length the sound page shows them at (CutID3Text). The reader
// fills only the fields whose frames it meets, so the caller passes a cleared record; when a
// frame occurs twice, the later one wins.
struct ID3v2TagInfo {
    std::string TagVersion;       // major version and revision, "3.0"
    int32_t TagSize = 0;          // as the header states it, without the 10 header bytes
    bool ExtendedHeader = false;  // set when present, never cleared
    int32_t PlayCounter = 0;
    int32_t Track = 0;
    std::string EncodedBy;
    std::string UserUrl;
    std::string RightsNotice;
    std::string OrigArtist;
    std::string Composer;
    std::string Genre;
    std::string Comment;
    std::string Year;
    std::string Album;
    std::string Artist;
    std::string Title;
    std::string TagLanguage;
    int32_t LengthMs = 0;
    std::string MediaType;
    std::string Publisher;
    std::string EncoderSettings;
    int32_t SkippedFrames = 0;  // frames not read: unknown, compressed or encrypted, and padding

    friend bool operator==(const ID3v2TagInfo&, const ID3v2TagInfo&) = default;
};

// The search for a tag's start reads the file in pieces of this size, however far the tag lies.
inline constexpr std::size_t kID3v2SearchChunk = 64 * 1024;

// True when a tag of major version 2, 3 or 4 was found, even when none of its frames was read.
// Files whose name does not end in ".mp3" (in any case) are not read. A requested `stop` ends
// the reading at its next piece of the file, as if the file ended there.
bool ReadID3v2Tag(const std::string& fileName, ID3v2TagInfo& info, std::stop_token stop = {});
bool ReadID3v2Tag(const ByteSource& source, ID3v2TagInfo& info);

}  // namespace lurvane
