#include "media/id3v2_tag_reader.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "media/id3v2_text.h"
#include "util/text_encoding.h"
#include "util/text_rules.h"

namespace lurvane {
namespace {

constexpr std::size_t kTagHeaderSize = 10;
constexpr std::uint8_t kUnsynchronised = 0x80;
constexpr std::uint8_t kExtendedHeader = 0x40;  // in 2.2 the same bit marks a compressed tag
constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

std::uint8_t Byte(std::string_view bytes, std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); }

std::uint32_t BigEndian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

std::uint32_t SyncSafe(std::string_view bytes) {
    std::uint32_t value = 0;
    for (char c : bytes) value = (value << 7) | (static_cast<unsigned char>(c) & 0x7Fu);
    return value;
}

struct TagHeader {
    std::uint8_t Major = 0;
    std::uint8_t Revision = 0;
    std::uint8_t Flags = 0;
    std::uint32_t Size = 0;
};

// The header behind an "ID3" marker when it can be one: audio data holds stray "ID3" bytes.
// Bytes missing at the end of the file read as 0, so such a file still names its version.
std::optional<TagHeader> TagHeaderAt(std::string_view bytes) {
    if (bytes.size() < 4) return std::nullopt;
    std::string header(bytes.substr(0, kTagHeaderSize));
    header.resize(kTagHeaderSize, '\0');
    const std::string_view size = std::string_view(header).substr(6);
    if (Byte(header, 3) < 2 || Byte(header, 3) > 4 || Byte(header, 4) == 0xFF) return std::nullopt;
    if (std::any_of(size.begin(), size.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return std::nullopt;
    return TagHeader{Byte(header, 3), Byte(header, 4), Byte(header, 5), SyncSafe(size)};
}

struct FoundTag {
    std::uint64_t Start = 0;
    TagHeader Header;
};

// The first "ID3" marker in the file that heads a possible tag. Each piece overlaps the next by
// a header less one byte, so a header across two pieces is seen whole.
std::optional<FoundTag> FindTag(const ByteSource& source) {
    const std::uint64_t size = source.Size();
    const std::size_t pieceSize = kID3v2SearchChunk + kTagHeaderSize - 1;
    for (std::uint64_t offset = 0; offset < size; offset += kID3v2SearchChunk) {
        const std::string piece =
            source.Read(offset, static_cast<std::size_t>(std::min<std::uint64_t>(pieceSize, size - offset)));
        const bool last = piece.size() < pieceSize;
        const std::string_view bytes = piece;
        for (std::size_t at = bytes.find("ID3"); at != std::string_view::npos && (last || at < kID3v2SearchChunk);
             at = bytes.find("ID3", at + 1))
            if (const std::optional<TagHeader> header = TagHeaderAt(bytes.substr(at)))
                return FoundTag{offset + at, *header};
        if (last) break;
    }
    return std::nullopt;
}

// The tag's frame area read front to back. Where the tag is unsynchronised, each 0x00 behind
// a 0xFF is dropped as the bytes come: 2.2 and 2.3 unsynchronise the whole area, 2.4 each
// frame body on its own.
class TagBytes {
public:
    TagBytes(const ByteSource& source, std::uint64_t begin, std::uint64_t end) : cursor_(source, begin), end_(end) {}

    std::uint64_t Position() const { return cursor_.Position(); }
    std::uint64_t End() const { return end_; }

    void Unsynchronise(bool on) {
        unsynchronised_ = on;
        afterFF_ = false;
    }

    void MoveTo(std::uint64_t position) {
        cursor_.MoveTo(std::min(position, end_));
        afterFF_ = false;
    }

    // The next byte before `limit`; none there.
    std::optional<std::uint8_t> Next(std::uint64_t limit) {
        limit = std::min(limit, end_);
        while (cursor_.Position() < limit) {
            const std::optional<std::uint8_t> byte = cursor_.Next();
            if (!byte) return std::nullopt;
            if (afterFF_ && *byte == 0) {
                afterFF_ = false;
                continue;
            }
            afterFF_ = unsynchronised_ && *byte == 0xFF;
            return byte;
        }
        return std::nullopt;
    }

    // Whether the next byte is a zero (padding, in a frame identifier's place).
    bool AtZero() {
        if (afterFF_ && cursor_.Position() < end_ && cursor_.Current() == 0) {
            cursor_.Next();  // the 0x00 that unsynchronisation put behind a 0xFF
            afterFF_ = false;
        }
        return cursor_.Position() < end_ && cursor_.Current() == 0;
    }

    // Passes up to `count` bytes before `limit`, as Next counts them; returns how many it passed.
    std::uint64_t Skip(std::uint64_t count, std::uint64_t limit) {
        if (!unsynchronised_) {
            const std::uint64_t from = Position();
            const std::uint64_t room = std::min(limit, end_) > from ? std::min(limit, end_) - from : 0;
            const std::uint64_t step = std::min(count, room);
            cursor_.MoveTo(from + step);
            return step;
        }
        // Byte by byte, but straight from the buffer: a whole unsynchronised tag may pass here.
        std::uint64_t passed = 0;
        while (passed < count) {
            const std::uint64_t from = Position();
            const std::uint64_t stop = std::min(limit, end_);
            if (from >= stop) break;
            std::string_view buffered = cursor_.Buffered();
            buffered = buffered.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(buffered.size(), stop - from)));
            if (buffered.empty()) break;
            std::size_t used = 0;
            for (; used < buffered.size() && passed < count; ++used) {
                const auto byte = static_cast<std::uint8_t>(buffered[used]);
                if (afterFF_ && byte == 0) {
                    afterFF_ = false;
                    continue;
                }
                afterFF_ = byte == 0xFF;
                ++passed;
            }
            cursor_.MoveTo(from + used);
        }
        return passed;
    }

    // Up to `count` bytes from `offset`, as they lie in the file, without moving.
    std::string Peek(std::uint64_t offset, std::size_t count) const {
        if (offset >= end_) return {};
        return cursor_.Peek(offset, static_cast<std::size_t>(std::min<std::uint64_t>(count, end_ - offset)));
    }

private:
    ByteCursor cursor_;
    std::uint64_t end_;
    bool unsynchronised_ = false;
    bool afterFF_ = false;
};

// One frame body: at most `size` bytes as the walk counts them, and none at or past `limit`.
class FrameBody {
public:
    FrameBody(TagBytes& bytes, std::uint64_t size, std::uint64_t limit) : bytes_(bytes), left_(size), limit_(limit) {}

    std::optional<std::uint8_t> Next() {
        if (left_ == 0) return std::nullopt;
        const std::optional<std::uint8_t> byte = bytes_.Next(limit_);
        left_ = byte ? left_ - 1 : 0;
        return byte;
    }

    void Skip(std::uint64_t count) {
        const std::uint64_t passed = bytes_.Skip(std::min(count, left_), limit_);
        left_ = passed < std::min(count, left_) ? 0 : left_ - passed;
    }
    void SkipRest() { Skip(left_); }

    std::string Take(std::size_t count) {
        std::string bytes;
        while (bytes.size() < count) {
            const std::optional<std::uint8_t> byte = Next();
            if (!byte) break;
            bytes.push_back(static_cast<char>(*byte));
        }
        return bytes;
    }

    // Passes the first terminator of the encoding (for UTF-16 on an even offset from here);
    // false when the body holds none.
    bool SkipPastTerminator(std::uint8_t encoding) {
        const bool wide = ID3TerminatorWidth(encoding) == 2;
        for (;;) {
            const std::optional<std::uint8_t> first = Next();
            if (!first) return false;
            if (!wide) {
                if (*first == 0) return true;
                continue;
            }
            const std::optional<std::uint8_t> second = Next();
            if (!second) return false;
            if (*first == 0 && *second == 0) return true;
        }
    }

private:
    TagBytes& bytes_;
    std::uint64_t left_;
    std::uint64_t limit_;
};

// The first text of the body, behind its encoding byte; only as much of it is decoded as can
// be shown.
std::string TextAfterEncoding(std::uint8_t encoding, FrameBody& body) {
    return CutID3Text(DecodeID3Text(encoding, body.Take(kID3TextBytes)));
}

std::string Text(FrameBody& body) {
    const std::optional<std::uint8_t> encoding = body.Next();
    return encoding ? TextAfterEncoding(*encoding, body) : std::string();
}

int32_t Number(FrameBody& body) { return Int32ValueOrZero(Text(body)); }

// Encoding, language, description, then the comment itself.
std::string CommentText(FrameBody& body) {
    const std::optional<std::uint8_t> encoding = body.Next();
    if (!encoding || *encoding > 3 || body.Take(3).size() < 3 || !body.SkipPastTerminator(*encoding)) return {};
    return TextAfterEncoding(*encoding, body);
}

// Encoding, description, then the address, which is always Latin-1.
std::string UrlText(FrameBody& body) {
    const std::optional<std::uint8_t> encoding = body.Next();
    if (!encoding || *encoding > 3 || !body.SkipPastTerminator(*encoding)) return {};
    return TextAfterEncoding(0, body);
}

// A big-endian counter of four or more bytes; one beyond 32 bits gives 0.
int32_t Counter(FrameBody& body) {
    std::optional<std::uint8_t> byte;
    do byte = body.Next();
    while (byte == 0);
    std::uint32_t value = 0;
    for (int count = 0; byte; byte = body.Next(), ++count) {
        if (count == 4) return 0;
        value = (value << 8) | *byte;
    }
    return value <= 0x7FFFFFFFu ? static_cast<int32_t>(value) : 0;
}

using Fill = void (*)(ID3v2TagInfo&, FrameBody& body);

struct FrameField {
    std::string_view Id;    // 2.3 and 2.4
    std::string_view Id22;  // empty: not read from 2.2 tags
    Fill Store;
};

constexpr FrameField kFrameFields[] = {
    {"PCNT", "", [](ID3v2TagInfo& t, FrameBody& b) { t.PlayCounter = Counter(b); }},
    {"TRCK", "TRK", [](ID3v2TagInfo& t, FrameBody& b) { t.Track = Number(b); }},
    {"TENC", "TEN", [](ID3v2TagInfo& t, FrameBody& b) { t.EncodedBy = Text(b); }},
    {"WXXX", "", [](ID3v2TagInfo& t, FrameBody& b) { t.UserUrl = UrlText(b); }},
    {"TCOP", "TCR", [](ID3v2TagInfo& t, FrameBody& b) { t.RightsNotice = Text(b); }},
    {"TOPE", "TOA", [](ID3v2TagInfo& t, FrameBody& b) { t.OrigArtist = Text(b); }},
    {"TCOM", "TCM", [](ID3v2TagInfo& t, FrameBody& b) { t.Composer = Text(b); }},
    {"TCON", "TCO", [](ID3v2TagInfo& t, FrameBody& b) { t.Genre = Text(b); }},
    {"COMM", "COM", [](ID3v2TagInfo& t, FrameBody& b) { t.Comment = CommentText(b); }},
    {"TYER", "TYE", [](ID3v2TagInfo& t, FrameBody& b) { t.Year = Text(b); }},
    {"TALB", "TAL", [](ID3v2TagInfo& t, FrameBody& b) { t.Album = Text(b); }},
    {"TPE1", "TP1", [](ID3v2TagInfo& t, FrameBody& b) { t.Artist = Text(b); }},
    {"TIT2", "TT2", [](ID3v2TagInfo& t, FrameBody& b) { t.Title = Text(b); }},
    {"TLAN", "TLA", [](ID3v2TagInfo& t, FrameBody& b) { t.TagLanguage = Text(b); }},
    {"TLEN", "", [](ID3v2TagInfo& t, FrameBody& b) { t.LengthMs = Number(b); }},
    {"TMED", "TMT", [](ID3v2TagInfo& t, FrameBody& b) { t.MediaType = Text(b); }},
    {"TPUB", "", [](ID3v2TagInfo& t, FrameBody& b) { t.Publisher = Text(b); }},
    {"TSSE", "TSS", [](ID3v2TagInfo& t, FrameBody& b) { t.EncoderSettings = Text(b); }},
};

const FrameField* FindField(std::string_view id, std::uint8_t major) {
    for (const FrameField& field : kFrameFields)
        if ((major == 2 ? field.Id22 : field.Id) == id) return &field;
    return nullptr;
}

bool IsFrameIdCharacter(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Whether a frame ending at `offset` leaves the walk where it can go on: at the end of the
// area, in padding, at a footer or at a frame identifier.
bool LandsOnFrame(const TagBytes& bytes, std::uint64_t offset) {
    if (offset >= bytes.End()) return offset == bytes.End();
    const std::string id = bytes.Peek(offset, 4);
    if (id.empty() || id[0] == '\0' || id.starts_with("3DI")) return true;
    return id.size() == 4 && std::all_of(id.begin(), id.end(), IsFrameIdCharacter);
}

// A 2.4 frame size is sync-safe, but some taggers write plain numbers there; those are taken
// when the size cannot be sync-safe (a byte with its top bit set), or when only they lead on
// to the next frame.
std::uint32_t FrameSize24(const TagBytes& bytes, std::string_view sizeBytes, std::uint64_t bodyStart) {
    const std::uint32_t syncSafe = SyncSafe(sizeBytes);
    const std::uint32_t plain = BigEndian(sizeBytes);
    if ((plain & 0x80808080u) != 0) return plain;
    if (plain == syncSafe || LandsOnFrame(bytes, bodyStart + syncSafe)) return syncSafe;
    return LandsOnFrame(bytes, bodyStart + plain) ? plain : syncSafe;
}

// Moves to the frame's content, past the bytes that 2.3 and 2.4 frame flags put before it;
// false for compressed or encrypted frames, which are not read.
bool EnterContent(const TagHeader& tag, std::uint8_t formatFlags, TagBytes& bytes, FrameBody& body, std::uint64_t bodyStart,
                  std::uint64_t bodyEnd) {
    if (tag.Major == 3) {
        if (formatFlags & 0xC0) return false;
        if (formatFlags & 0x20) body.Skip(1);  // group identifier
    } else if (tag.Major == 4) {
        if (formatFlags & 0x0C) return false;
        std::uint64_t skipped = 0;
        if (formatFlags & 0x40) skipped += 1;  // group identifier
        if (formatFlags & 0x01) skipped += 4;  // data length indicator
        bytes.MoveTo(std::min(bodyStart + skipped, bodyEnd));
        bytes.Unsynchronise((formatFlags & 0x02) || (tag.Flags & kUnsynchronised));
    }
    return true;
}

void WalkFrames(TagBytes& bytes, const TagHeader& tag, ID3v2TagInfo& info) {
    const bool v22 = tag.Major == 2;
    const std::size_t idSize = v22 ? 3 : 4;
    const std::size_t headerSize = v22 ? 6 : 10;
    bool metYear = false;
    std::optional<std::string> recordingYear;
    info.SkippedFrames = 0;
    for (;;) {
        if (bytes.AtZero()) {
            // Padding: nothing follows. It counts as frames of empty headers, without being walked.
            const std::uint64_t left = (bytes.End() - bytes.Position()) / headerSize;
            info.SkippedFrames = static_cast<int32_t>(std::min<std::uint64_t>(left + info.SkippedFrames, 0x7FFFFFFF));
            break;
        }
        FrameBody headerBytes(bytes, headerSize, kNoLimit);
        const std::string header = headerBytes.Take(headerSize);
        if (header.size() < headerSize) break;
        const std::string_view id = std::string_view(header).substr(0, idSize);
        if (id.starts_with("3DI")) break;  // a footer
        const std::string_view sizeBytes = std::string_view(header).substr(idSize, v22 ? 3 : 4);
        const std::uint64_t bodyStart = bytes.Position();
        const std::uint32_t size = tag.Major == 4 ? FrameSize24(bytes, sizeBytes, bodyStart) : BigEndian(sizeBytes);
        const std::uint8_t formatFlags = v22 ? 0 : Byte(header, 9);
        // 2.4 counts a frame's size as it lies in the file, the others after unsynchronisation.
        const std::uint64_t bodyEnd = tag.Major == 4 ? std::min(bodyStart + size, bytes.End()) : kNoLimit;
        FrameBody body(bytes, tag.Major == 4 ? kNoLimit : size, bodyEnd);

        const FrameField* field = FindField(id, tag.Major);
        const bool recordingTime = tag.Major == 4 && id == "TDRC";
        if (!(field || recordingTime) || !EnterContent(tag, formatFlags, bytes, body, bodyStart, bodyEnd)) {
            ++info.SkippedFrames;
        } else if (recordingTime) {
            recordingYear = std::string(Utf8Prefix(Text(body), 4));
        } else {
            field->Store(info, body);
            metYear = metYear || field->Id == "TYER";
        }
        if (tag.Major == 4) {
            bytes.Unsynchronise(false);
            bytes.MoveTo(bodyEnd);
        } else {
            body.SkipRest();
        }
    }
    // 2.4 replaced the year frame by the recording time, whose text starts with the year.
    if (recordingYear && !metYear) info.Year = *recordingYear;
}

// Passes the extended header; 2.3 counts its size without the four size bytes, 2.4 with them.
void SkipExtendedHeader(TagBytes& bytes, const TagHeader& tag) {
    const std::uint64_t start = bytes.Position();
    FrameBody sizeBytes(bytes, 4, kNoLimit);
    const std::string size = sizeBytes.Take(4);
    if (tag.Major == 3) {
        FrameBody(bytes, BigEndian(size), kNoLimit).SkipRest();
    } else {
        bytes.MoveTo(start + SyncSafe(size));
    }
}

}  // namespace

bool ReadID3v2Tag(const ByteSource& source, ID3v2TagInfo& info) {
    try {
        const std::optional<FoundTag> found = FindTag(source);
        if (!found) return false;
        const TagHeader& tag = found->Header;
        info.TagVersion = std::to_string(tag.Major) + "." + std::to_string(tag.Revision);
        info.TagSize = static_cast<int32_t>(tag.Size);

        const std::uint64_t areaStart = found->Start + kTagHeaderSize;
        TagBytes bytes(source, areaStart, std::max(areaStart, std::min(areaStart + tag.Size, source.Size())));
        bytes.Unsynchronise(tag.Major < 4 && (tag.Flags & kUnsynchronised));
        if (tag.Flags & kExtendedHeader) {
            // A compressed 2.2 tag: no compression scheme was ever defined for it.
            if (tag.Major == 2) {
                info.SkippedFrames = 0;
                return true;
            }
            info.ExtendedHeader = true;
            SkipExtendedHeader(bytes, tag);
        }
        WalkFrames(bytes, tag, info);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ReadID3v2Tag(const std::string& fileName, ID3v2TagInfo& info, std::stop_token stop) {
    const std::string_view name = fileName;
    if (name.size() < 4 || !EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".mp3")) return false;
    return ReadID3v2Tag(FileByteSource(fileName, std::move(stop)), info);
}

}  // namespace lurvane
