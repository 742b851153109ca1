#include "media/id3v2_tag_reader.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>

#include "media/id3v2_text.h"
#include "util/text_encoding.h"
#include "util/text_rules.h"

namespace lurvane {
namespace {

constexpr std::size_t kTagHeaderSize = 10;
constexpr std::uint8_t kUnsynchronised = 0x80;
constexpr std::uint8_t kExtendedHeader = 0x40;  // in 2.2 the same bit marks a compressed tag

std::uint8_t Byte(std::string_view bytes, std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); }

std::string_view Drop(std::string_view bytes, std::uint64_t count) {
    return bytes.substr(static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes.size())));
}

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
    std::size_t Start = 0;
    TagHeader Header;
};

// The first "ID3" marker within the search span that heads a possible tag.
std::optional<FoundTag> FindTag(std::string_view head) {
    for (std::size_t start = head.find("ID3"); start < kID3v2SearchSpan; start = head.find("ID3", start + 1))
        if (const std::optional<TagHeader> header = TagHeaderAt(head.substr(start))) return FoundTag{start, *header};
    return std::nullopt;
}

std::string Text(std::string_view body) {
    return body.empty() ? std::string() : DecodeID3Text(Byte(body, 0), body.substr(1));
}

int32_t Number(std::string_view body) { return Int32ValueOrZero(Text(body)); }

// Encoding, language, description, then the comment itself.
std::string CommentText(std::string_view body) {
    if (body.size() < 4) return {};
    std::string_view text;
    DecodeID3Text(Byte(body, 0), body.substr(4), &text);
    return DecodeID3Text(Byte(body, 0), text);
}

// Encoding, description, then the address, which is always Latin-1.
std::string UrlText(std::string_view body) {
    if (body.empty()) return {};
    std::string_view url;
    DecodeID3Text(Byte(body, 0), body.substr(1), &url);
    return DecodeID3Text(0, url);
}

// A big-endian counter of four or more bytes; one beyond 32 bits gives 0.
int32_t Counter(std::string_view body) {
    while (!body.empty() && body.front() == '\0') body.remove_prefix(1);
    const std::uint32_t value = body.size() <= 4 ? BigEndian(body) : 0;
    return value <= 0x7FFFFFFFu ? static_cast<int32_t>(value) : 0;
}

using Fill = void (*)(ID3v2TagInfo&, std::string_view body);

struct FrameField {
    std::string_view Id;    // 2.3 and 2.4
    std::string_view Id22;  // empty: not read from 2.2 tags
    Fill Store;
};

constexpr FrameField kFrameFields[] = {
    {"PCNT", "", [](ID3v2TagInfo& t, std::string_view b) { t.PlayCounter = Counter(b); }},
    {"TRCK", "TRK", [](ID3v2TagInfo& t, std::string_view b) { t.Track = Number(b); }},
    {"TENC", "TEN", [](ID3v2TagInfo& t, std::string_view b) { t.EncodedBy = Text(b); }},
    {"WXXX", "", [](ID3v2TagInfo& t, std::string_view b) { t.UserUrl = UrlText(b); }},
    {"TCOP", "TCR", [](ID3v2TagInfo& t, std::string_view b) { t.RightsNotice = Text(b); }},
    {"TOPE", "TOA", [](ID3v2TagInfo& t, std::string_view b) { t.OrigArtist = Text(b); }},
    {"TCOM", "TCM", [](ID3v2TagInfo& t, std::string_view b) { t.Composer = Text(b); }},
    {"TCON", "TCO", [](ID3v2TagInfo& t, std::string_view b) { t.Genre = Text(b); }},
    {"COMM", "COM", [](ID3v2TagInfo& t, std::string_view b) { t.Comment = CommentText(b); }},
    {"TYER", "TYE", [](ID3v2TagInfo& t, std::string_view b) { t.Year = Text(b); }},
    {"TALB", "TAL", [](ID3v2TagInfo& t, std::string_view b) { t.Album = Text(b); }},
    {"TPE1", "TP1", [](ID3v2TagInfo& t, std::string_view b) { t.Artist = Text(b); }},
    {"TIT2", "TT2", [](ID3v2TagInfo& t, std::string_view b) { t.Title = Text(b); }},
    {"TLAN", "TLA", [](ID3v2TagInfo& t, std::string_view b) { t.TagLanguage = Text(b); }},
    {"TLEN", "", [](ID3v2TagInfo& t, std::string_view b) { t.LengthMs = Number(b); }},
    {"TMED", "TMT", [](ID3v2TagInfo& t, std::string_view b) { t.MediaType = Text(b); }},
    {"TPUB", "", [](ID3v2TagInfo& t, std::string_view b) { t.Publisher = Text(b); }},
    {"TSSE", "TSS", [](ID3v2TagInfo& t, std::string_view b) { t.EncoderSettings = Text(b); }},
};

const FrameField* FindField(std::string_view id, std::uint8_t major) {
    for (const FrameField& field : kFrameFields)
        if ((major == 2 ? field.Id22 : field.Id) == id) return &field;
    return nullptr;
}

// The frame's content without the bytes that 2.3 and 2.4 frame flags put before it, with
// unsynchronisation undone; none for compressed or encrypted frames, which are not read.
std::optional<std::string> FrameContent(const TagHeader& tag, std::uint8_t formatFlags, std::string_view body) {
    if (tag.Major == 3) {
        if (formatFlags & 0xC0) return std::nullopt;
        if (formatFlags & 0x20) body = Drop(body, 1);  // group identifier
        return std::string(body);
    }
    if (tag.Major == 4) {
        if (formatFlags & 0x0C) return std::nullopt;
        if (formatFlags & 0x40) body = Drop(body, 1);  // group identifier
        if (formatFlags & 0x01) body = Drop(body, 4);  // data length indicator
        if ((formatFlags & 0x02) || (tag.Flags & kUnsynchronised)) return UndoUnsynchronisation(body);
    }
    return std::string(body);
}

void WalkFrames(std::string_view frames, const TagHeader& tag, ID3v2TagInfo& info) {
    const bool v22 = tag.Major == 2;
    const std::size_t idSize = v22 ? 3 : 4;
    const std::size_t headerSize = v22 ? 6 : 10;
    bool metYear = false;
    std::optional<std::string> recordingYear;
    info.SkippedFrames = 0;
    while (frames.size() >= headerSize) {
        const std::string_view id = frames.substr(0, idSize);
        if (id.starts_with("3DI")) break;  // a footer
        const std::string_view sizeBytes = frames.substr(idSize, v22 ? 3 : 4);
        const std::uint32_t size = tag.Major == 4 ? SyncSafe(sizeBytes) : BigEndian(sizeBytes);
        const std::uint8_t formatFlags = v22 ? 0 : Byte(frames, 9);
        frames = Drop(frames, headerSize);
        const std::string_view body = frames.substr(0, std::min<std::size_t>(size, frames.size()));
        frames = Drop(frames, body.size());

        const FrameField* field = FindField(id, tag.Major);
        const bool recordingTime = tag.Major == 4 && id == "TDRC";
        const std::optional<std::string> content =
            field || recordingTime ? FrameContent(tag, formatFlags, body) : std::nullopt;
        if (!content) {
            ++info.SkippedFrames;
        } else if (recordingTime) {
            recordingYear = std::string(Utf8Prefix(Text(*content), 4));
        } else {
            field->Store(info, *content);
            metYear = metYear || field->Id == "TYER";
        }
    }
    // 2.4 replaced the year frame by the recording time, whose text starts with the year.
    if (recordingYear && !metYear) info.Year = *recordingYear;
}

}  // namespace

bool ReadID3v2Tag(const ByteSource& source, ID3v2TagInfo& info) {
    try {
        const std::uint64_t fileSize = source.Size();
        const std::string head =
            source.Read(0, static_cast<std::size_t>(std::min(fileSize, kID3v2SearchSpan + kTagHeaderSize - 1)));
        const std::optional<FoundTag> found = FindTag(head);
        if (!found) return false;
        const TagHeader& tag = found->Header;
        info.TagVersion = std::to_string(tag.Major) + "." + std::to_string(tag.Revision);
        info.TagSize = static_cast<int32_t>(tag.Size);

        const std::uint64_t areaStart = found->Start + kTagHeaderSize;
        const auto areaSize =
            static_cast<std::size_t>(areaStart < fileSize ? std::min<std::uint64_t>(tag.Size, fileSize - areaStart) : 0);
        std::string area = areaStart + areaSize <= head.size() ? head.substr(found->Start + kTagHeaderSize, areaSize)
                                                                : source.Read(areaStart, areaSize);
        // 2.2 and 2.3 unsynchronise the whole tag, 2.4 each frame on its own.
        if (tag.Major < 4 && (tag.Flags & kUnsynchronised)) area = UndoUnsynchronisation(area);
        std::string_view frames = area;
        if (tag.Flags & kExtendedHeader) {
            if (tag.Major == 2) {
                frames = {};  // a compressed 2.2 tag: no compression scheme was ever defined for it
            } else {
                info.ExtendedHeader = true;
                const std::string_view size = frames.substr(0, std::min<std::size_t>(4, frames.size()));
                // 2.3 counts the size bytes out, 2.4 counts them in.
                frames = Drop(frames, tag.Major == 3 ? 4 + std::uint64_t{BigEndian(size)} : SyncSafe(size));
            }
        }
        WalkFrames(frames, tag, info);
        return true;
    } catch (const std::bad_alloc&) {
        return false;  // a tag too large for the memory left is read as no tag
    }
}

bool ReadID3v2Tag(const std::string& fileName, ID3v2TagInfo& info) {
    const std::string_view name = fileName;
    if (name.size() < 4 || !EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".mp3")) return false;
    return ReadID3v2Tag(FileByteSource(fileName), info);
}

}  // namespace lurvane
