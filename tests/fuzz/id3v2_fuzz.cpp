// libFuzzer target for the ID3v2 tag reader, built and run by scripts/fuzz-id3 under
// AddressSanitizer and UBSan: any bytes must give a result without a crash, a hang or a read
// outside them, and every text must come out as valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "media/id3v2_tag_reader.h"
#include "util/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lurvane;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ID3v2TagInfo info;
    if (!ReadID3v2Tag(MemoryByteSource(bytes), info)) return 0;
    for (const std::string* text : {&info.TagVersion, &info.EncodedBy, &info.UserUrl, &info.RightsNotice, &info.OrigArtist,
                                    &info.Composer, &info.Genre, &info.Comment, &info.Year, &info.Album, &info.Artist,
                                    &info.Title, &info.TagLanguage, &info.MediaType, &info.Publisher,
                                    &info.EncoderSettings})
        if (Utf16ToUtf8(Utf8ToUtf16(*text)) != *text) __builtin_trap();
    if (info.TagSize < 0 || info.SkippedFrames < 0 || info.PlayCounter < 0) __builtin_trap();
    return 0;
}
