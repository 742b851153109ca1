#include "media/id3v2_tag_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "util/text_encoding.h"

namespace lurvane {

void PrintTo(const ID3v2TagInfo& t, std::ostream* os) {
    *os << "{TagVersion=" << t.TagVersion << " TagSize=" << t.TagSize << " ExtendedHeader=" << t.ExtendedHeader
        << " PlayCounter=" << t.PlayCounter << " Track=" << t.Track << " EncodedBy=" << t.EncodedBy
        << " UserUrl=" << t.UserUrl << " RightsNotice=" << t.RightsNotice << " OrigArtist=" << t.OrigArtist
        << " Composer=" << t.Composer << " Genre=" << t.Genre << " Comment=" << t.Comment << " Year=" << t.Year
        << " Album=" << t.Album << " Artist=" << t.Artist << " Title=" << t.Title << " TagLanguage=" << t.TagLanguage
        << " LengthMs=" << t.LengthMs << " MediaType=" << t.MediaType << " Publisher=" << t.Publisher
        << " EncoderSettings=" << t.EncoderSettings << " SkippedFrames=" << t.SkippedFrames << "}";
}

namespace {

using namespace std::string_literals;
using testing::TempFolder;

// Junk in front of a tag, holding "ID3" markers that cannot head a tag: version 5, revision
// 0xFF, a size byte with its top bit set.
const std::string kLeadingJunk = "RIFF\x10\0\0\0ID3\x05\0\0\0\0\0\0 ID3\x03\xFF\0\0\0\0\0 ID3\x04\0\0\0\0\x80\0 junk"s;

std::u16string Utf16(const std::u32string& text) {
    std::u16string units;
    for (const char32_t c : text)
        units += c < 0x10000 ? std::u16string(1, static_cast<char16_t>(c))
                             : std::u16string{static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
                                              static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
    return units;
}

std::string Utf8(const std::u32string& text) { return Utf16ToUtf8(Utf16(text)); }

// The text as the sound page shows it: 256 characters at most, the last one "…" when cut.
std::string ShownText(const std::u32string& text) {
    return text.size() <= 256 ? Utf8(text) : Utf8(text.substr(0, 255)) + "…";
}

// ---- Tags written by mutagen ----

struct ToolCase {
    const char* Name;
    int Version;
    int Encoding;
    int Padding;
    int PictureBytes;  // 0: no picture
    bool LeadingJunk;
    ID3v2TagInfo Fields;  // what the tool writes; empty texts and zero numbers are left out
    std::string Title;    // when not empty, written instead of Fields.Title, which is what is read
    bool PlainSizes = false;  // 2.4 frame sizes rewritten as plain numbers
};

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? "'\\''"s : std::string(1, c);
    return quoted + "'";
}

std::vector<std::string> FrameArguments(const ToolCase& c) {
    const ID3v2TagInfo& f = c.Fields;
    std::vector<std::string> args = {"TXXX=Mood|calm"};  // a frame the reader does not know
    const std::pair<const char*, const std::string*> texts[] = {
        {"TENC", &f.EncodedBy}, {"TCOP", &f.RightsNotice}, {"TOPE", &f.OrigArtist}, {"TCOM", &f.Composer},
        {"TCON", &f.Genre},     {"TALB", &f.Album},        {"TPE1", &f.Artist},     {"TIT2", &f.Title},
        {"TLAN", &f.TagLanguage}, {"TMED", &f.MediaType},  {"TPUB", &f.Publisher},  {"TSSE", &f.EncoderSettings},
        {"TDRC", &f.Year}};  // mutagen writes the year as TYER into 2.3 tags
    for (const auto& [id, text] : texts)
        if (!text->empty()) args.push_back(id + "="s + (text == &f.Title && !c.Title.empty() ? c.Title : *text));
    if (!f.Comment.empty()) args.push_back("COMM=Notes|" + f.Comment);
    if (!f.UserUrl.empty()) args.push_back("WXXX=Home|" + f.UserUrl);
    if (f.Track) args.push_back("TRCK=" + std::to_string(f.Track) + "/12");
    if (f.LengthMs) args.push_back("TLEN=" + std::to_string(f.LengthMs));
    if (f.PlayCounter) args.push_back("PCNT=" + std::to_string(f.PlayCounter));
    if (c.PictureBytes) args.push_back("APIC=" + std::to_string(c.PictureBytes));
    return args;
}

// Writes the tag in front of `path`'s contents; returns the tag size mutagen reads back, -1 on failure.
int WriteWithMutagen(const std::string& path, const ToolCase& c) {
    std::string command = "/usr/bin/python3 " LURVANE_SOURCE_DIR "/tests/media/write_id3_tag.py " + ShellQuoted(path) +
                          " " + std::to_string(c.Version) + (c.PlainSizes ? "plain " : " ") +
                          std::to_string(c.Encoding) + " " +
                          std::to_string(c.Padding);
    for (const std::string& arg : FrameArguments(c)) command += " " + ShellQuoted(arg);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    int size = -1;
    if (std::fscanf(pipe, "%d", &size) != 1) size = -1;
    return pclose(pipe) == 0 ? size : -1;
}

bool MutagenInstalled() {
    return std::system("/usr/bin/python3 -c 'import mutagen' >/dev/null 2>&1") == 0;
}

ID3v2TagInfo EveryField(const std::string& flavour) {
    ID3v2TagInfo f;
    f.PlayCounter = 4242;
    f.Track = 3;
    f.EncodedBy = "Enc " + flavour;
    f.UserUrl = "http://example.test/waves";
    f.RightsNotice = "(c) " + flavour;
    f.OrigArtist = "Orig " + flavour;
    f.Composer = "Comp " + flavour;
    f.Genre = "Ambient";
    f.Comment = "Calm " + flavour;
    f.Year = "2019";
    f.Album = "Album " + flavour;
    f.Artist = "Artist " + flavour;
    f.Title = "Title " + flavour;
    f.TagLanguage = "deu";
    f.LengthMs = 215000;
    f.MediaType = "DIG";
    f.Publisher = "Pub " + flavour;
    f.EncoderSettings = "LAME " + flavour;
    return f;
}

TEST(ID3v2TagReader, ReadsBackExactlyWhatAnIndependentTaggerWrote) {
    if (!MutagenInstalled()) GTEST_SKIP() << "python3-mutagen is missing (scripts/setup installs it)";
    const ID3v2TagInfo latin = EveryField("Café Übersee ß");
    const ID3v2TagInfo unicode = EveryField("Wellen 波浪 🌊");
    ID3v2TagInfo titleOnly;
    titleOnly.Title = "Nur Titel";
    titleOnly.Artist = "Künstler";
    // mutagen puts the title first: at 300 characters its frame is too long to read the same
    // as a sync-safe and as a plain size.
    std::u32string longTitle;
    while (longTitle.size() < 300) longTitle += U"Wellen 波浪 🌊 ";
    longTitle.resize(300);
    ID3v2TagInfo longFirst = unicode;
    longFirst.Title = ShownText(longTitle);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
    const ToolCase cases[] = {
        {"2.3 Latin-1 with a picture", 3, 0, 0, 40000, false, latin},
        {"2.3 UTF-16 with padding behind junk", 3, 1, 1000, 0, true, unicode},
        {"2.4 UTF-16 with a picture and padding", 4, 1, 33, 40000, false, unicode},
        {"2.4 UTF-16BE behind junk", 4, 2, 0, 0, true, unicode},
        {"2.4 UTF-8 with a picture and padding", 4, 3, 500, 5000, false, unicode},
        {"2.4 Latin-1, two fields only", 4, 0, 7, 0, false, titleOnly},
        {"2.4 UTF-8 with plain frame sizes and a long title", 4, 3, 20, 0, false, longFirst, Utf8(longTitle), true},
    };
#pragma GCC diagnostic pop
    TempFolder folder;
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = folder.Path("song.mp3");
        TempFolder::Write(path, "\xFF\xFB\x90\x64" + std::string(4000, '\x55'));  // audio frames follow the tag
        const int tagSize = WriteWithMutagen(path, c);
        ASSERT_GT(tagSize, 0);
        if (c.LeadingJunk) TempFolder::Write(path, kLeadingJunk + TempFolder::Read(path));

        ID3v2TagInfo want = c.Fields;
        want.TagVersion = std::to_string(c.Version) + ".0";
        want.TagSize = tagSize;
        want.SkippedFrames = 1 + (c.PictureBytes ? 1 : 0) + c.Padding / 10;  // TXXX, APIC, each 10 bytes of padding
        ID3v2TagInfo got;
        EXPECT_TRUE(ReadID3v2Tag(path, got));
        EXPECT_EQ(got, want);
    }
}

// ---- Tags built byte by byte, for what the tools do not write ----

std::string BigEndian(uint32_t value, int width) {
    std::string bytes;
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes;
}

std::string SyncSafe(uint32_t value) {
    std::string bytes;
    for (int shift = 21; shift >= 0; shift -= 7) bytes += static_cast<char>((value >> shift) & 0x7F);
    return bytes;
}

std::string Frame(int version, const std::string& id, const std::string& body, uint16_t flags = 0) {
    const auto size = static_cast<uint32_t>(body.size());
    if (version == 2) return id + BigEndian(size, 3) + body;
    return id + (version == 4 ? SyncSafe(size) : BigEndian(size, 4)) + BigEndian(flags, 2) + body;
}

std::string Tag(int version, uint8_t flags, const std::string& area) {
    return "ID3"s + static_cast<char>(version) + '\0' + static_cast<char>(flags) +
           SyncSafe(static_cast<uint32_t>(area.size())) + area;
}

std::string Unsynchronised(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (bytes[i] == '\xFF' && (i + 1 == bytes.size() || static_cast<unsigned char>(bytes[i + 1]) >= 0xE0 ||
                                   bytes[i + 1] == '\0'))
            out += '\0';
    }
    return out;
}

std::string Latin1(const std::string& text) { return "\0"s + text; }

struct BuiltCase {
    std::string Name;
    std::string Bytes;
    bool Found;
    ID3v2TagInfo Want;
};

// A case whose bytes are one whole tag, followed by `after`.
BuiltCase WholeTag(std::string name, const std::string& tag, ID3v2TagInfo want, const std::string& after = {}) {
    want.TagSize = static_cast<int32_t>(tag.size() - 10);
    return {std::move(name), tag + after, true, std::move(want)};
}

// The expected records name only the fields a case fills; the rest keep their defaults.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
std::vector<BuiltCase> BuiltCases() {
    std::vector<BuiltCase> cases;

    // 2.2: three-letter identifiers; fields with no 2.2 identifier stay empty.
    cases.push_back(WholeTag(
        "2.2 frames, behind a large picture",
        Tag(2, 0,
            Frame(2, "PIC", "\0JPG\x03\0"s + std::string(40000, '\xAB')) + Frame(2, "TT2", Latin1("Mond")) +
                Frame(2, "TP1", "\x01\xFE\xFF\0L\0u\0n\0a"s) + Frame(2, "TAL", Latin1("Nacht")) +
                Frame(2, "TYE", Latin1("1987")) + Frame(2, "TRK", Latin1("7/9")) +
                Frame(2, "COM", "\0engKurz\0Langer Text"s) + Frame(2, "TCO", Latin1("Jazz")) +
                Frame(2, "TEN", Latin1("Enc")) + Frame(2, "TCR", Latin1("Copy")) + Frame(2, "TOA", Latin1("Orig")) +
                Frame(2, "TCM", Latin1("Comp")) + Frame(2, "TLA", Latin1("ger")) + Frame(2, "TMT", Latin1("CD")) +
                Frame(2, "TSS", Latin1("Set")) + Frame(2, "TLE", Latin1("1000")) + Frame(2, "TPB", Latin1("Pub")) +
                Frame(2, "WXX", "\0d\0http://x"s) + std::string(12, '\0')),
        {.TagVersion = "2.0", .Track = 7, .EncodedBy = "Enc", .RightsNotice = "Copy", .OrigArtist = "Orig",
         .Composer = "Comp", .Genre = "Jazz", .Comment = "Langer Text", .Year = "1987", .Album = "Nacht",
         .Artist = "Luna", .Title = "Mond", .TagLanguage = "ger", .MediaType = "CD", .EncoderSettings = "Set",
         .SkippedFrames = 4 + 2}));  // PIC, TLE, TPB, WXX and two padding headers
    cases.push_back(WholeTag("2.2 compressed tag: no frame is read", Tag(2, 0x40, Frame(2, "TT2", Latin1("Mond"))),
                             {.TagVersion = "2.0"}));

    // 2.3: the whole tag unsynchronised, the extended header counted without its size bytes.
    cases.push_back(WholeTag(
        "2.3 unsynchronised tag with an extended header",
        Tag(3, 0xC0,
            Unsynchronised("\0\0\0\x06\0\0\xFF\xFF\xFF\xFF"s + Frame(3, "TIT2", Latin1("\xFF\xE0\xFF")) +
                           Frame(3, "TPE1", Latin1("\xFF")) + Frame(3, "TALB", Latin1("Alb\xFF\0"s)))),
        {.TagVersion = "3.0", .ExtendedHeader = true, .Album = "Albÿ", .Artist = "ÿ", .Title = "ÿàÿ"}));

    // 2.3 texts: byte orders, marks, terminators, odd lengths, numbers and encodings.
    cases.push_back(WholeTag(
        "2.3 text encodings and numbers",
        Tag(3, 0,
            Frame(3, "TIT2", "\x01\xFE\xFF\0W\0e\0l\0l\0e\0\0\0X"s) + Frame(3, "TPE1", "\x01S\0e\0e\0"s) +
                Frame(3, "TALB", "\x01\xFF\xFE" "A\0B\0C"s) + Frame(3, "TCON", Latin1("Rock\0Pop"s)) +
                Frame(3, "TCOM", "\x03\xEF\xBB\xBF" "K\xC3\xB6nig\xFF"s) + Frame(3, "TENC", Latin1("first")) +
                Frame(3, "TENC", "\x09" "second"s) + Frame(3, "TRCK", Latin1("99999999999")) +
                Frame(3, "TLEN", Latin1(" 215 000ms")) + Frame(3, "PCNT", "\0\0\0\0\x2A"s) +
                Frame(3, "COMM", "\x01" "eng\xFF\xFE" "d\0\0\0\xFE\xFF\0T\0x\0t"s) +
                Frame(3, "WXXX", "\x01\xFF\xFE" "d\0\0\0http://w\0junk"s) + Frame(3, "TYER", ""s) +
                Frame(3, "TDRC", Latin1("2019"))),
        {.TagVersion = "3.0", .PlayCounter = 42, .UserUrl = "http://w", .Composer = "König\xEF\xBF\xBD",
         .Genre = "Rock", .Comment = "Txt", .Album = "AB", .Artist = "See", .Title = "Welle", .LengthMs = 215000,
         .SkippedFrames = 1}));  // TDRC is no 2.3 frame
    cases.push_back(WholeTag("2.3 compressed, encrypted and grouped frames",
                             Tag(3, 0,
                                 Frame(3, "TIT2", "\0\0\0\x10x\x9C"s, 0x0080) + Frame(3, "TPE1", "\x80" "abc"s, 0x0040) +
                                     Frame(3, "TALB", "\x07" + Latin1("Gruppe"), 0x0020) +
                                     Frame(3, "PCNT", "\x01\0\0\0\0"s)),
                             {.TagVersion = "3.0", .Album = "Gruppe", .SkippedFrames = 2}));

    // 2.4: sync-safe frame sizes, frames unsynchronised one by one, the extended header counted
    // with its size bytes, the year from the recording time.
    cases.push_back(WholeTag(
        "2.4 frame flags, sizes and the recording time",
        Tag(4, 0x40,
            SyncSafe(12) + "\x01\x20"s + std::string(6, '\x7F') + Frame(4, "PRIV", std::string(300, '\x11')) +
                Frame(4, "TPE1", SyncSafe(4) + Unsynchronised(Latin1("\xFF\xE0\xFF")), 0x0003) +
                Frame(4, "TALB", "\x05" + Latin1("Gruppe"), 0x0040) +
                Frame(4, "TPE1", SyncSafe(9) + "packed", 0x0009) + Frame(4, "TCOM", "\x80" "secret"s, 0x0004) +
                Frame(4, "TDRC", "\x03" "2021-05-03T10:00"s) + Frame(4, "TIT2", Latin1("Sp\xE4ter"))),
        {.TagVersion = "4.0", .ExtendedHeader = true, .Year = "2021", .Album = "Gruppe", .Artist = "ÿàÿ",
         .Title = "Später", .SkippedFrames = 3}));  // PRIV, the packed and the encrypted frame
    cases.push_back(WholeTag("2.4 unsynchronised by the header flag; the year frame wins over the recording time",
                             Tag(4, 0x80,
                                 Frame(4, "TYER", Latin1("1999")) + Frame(4, "TDRC", Latin1("2019")) +
                                     Frame(4, "TIT2", Unsynchronised(Latin1("\xFF\xF0")))),
                             {.TagVersion = "4.0", .Year = "1999", .Title = "ÿð"}));

    // Some taggers write 2.4 frame sizes as plain numbers (the 2.3 frame layout): a size read
    // sync-safe that leads into a body is read again as a plain one.
    cases.push_back(WholeTag("2.4 plain frame sizes behind a picture",
                             Tag(4, 0,
                                 Frame(3, "APIC", std::string(300, '\x22')) +
                                     Frame(3, "TIT2", Latin1(std::string(130, 'T'))) +
                                     Frame(3, "TPE1", Latin1("Plain")) + Frame(4, "TALB", Latin1("Safe"))),
                             {.TagVersion = "4.0", .Album = "Safe", .Artist = "Plain", .Title = std::string(130, 'T'),
                              .SkippedFrames = 1}));

    // Bounds: padding ends the walk whatever follows it, a footer ends it, a frame running past
    // the tag is cut, a tag running past the file is read as far as the file goes.
    cases.push_back(WholeTag("padding ends the walk",
                             Tag(3, 0, Frame(3, "TIT2", Latin1("A")) + std::string(20, '\0') + Frame(3, "TPE1", Latin1("B"))),
                             {.TagVersion = "3.0", .Title = "A", .SkippedFrames = 3}));  // 20 + 12 bytes behind the title
    cases.push_back(WholeTag("a footer ends the walk",
                             Tag(4, 0, Frame(4, "TIT2", Latin1("A")) + "3DI\x04\0\0\0\0\0\0"s + Frame(4, "TPE1", Latin1("B"))),
                             {.TagVersion = "4.0", .Title = "A"}));
    {
        std::string tag = Tag(3, 0, Frame(3, "TPE1", Latin1("Artist")) + Frame(3, "TIT2", Latin1("Title")));
        tag[tag.size() - 12] = '\x7F';  // the title's size runs past the tag, into the audio
        cases.push_back(WholeTag("a frame cut at the end of the tag", tag,
                                 {.TagVersion = "3.0", .Artist = "Artist", .Title = "Title"}, "TPE1\x10 audio"));
    }
    {
        std::string tag = Tag(3, 0, Frame(3, "TIT2", Latin1("Title")) + Frame(3, "TALB", Latin1("Album")));
        tag[9] = '\x7F';  // declared larger than the file
        cases.push_back({"a tag running past the end of the file", "junk" + tag.substr(0, tag.size() - 2), true,
                         {.TagVersion = "3.0", .TagSize = 127, .Album = "Alb", .Title = "Title"}});
    }
    cases.push_back({"a file ending inside the header", "junkID3\x03\x01\x80"s, true, {.TagVersion = "3.1"}});
    cases.push_back({"a file ending before the version", "junkID3", false, {}});
    cases.push_back({"only markers that cannot head a tag", kLeadingJunk, false, {}});
    return cases;
}
#pragma GCC diagnostic pop

TEST(ID3v2TagReader, BuiltTagsCoverVersionsFlagsEncodingsAndBounds) {
    for (const BuiltCase& c : BuiltCases()) {
        SCOPED_TRACE(c.Name);
        ID3v2TagInfo got;
        EXPECT_EQ(ReadID3v2Tag(MemoryByteSource(c.Bytes), got), c.Found);
        if (c.Found) {
            EXPECT_EQ(got, c.Want);
        }
    }
}

// Random characters of every length class (up to 600), Latin-1 ones only when asked; never
// U+0000 or a byte-order mark.
std::u32string RandomText(std::mt19937& random, bool latin1) {
    std::u32string text(random() % 601, U' ');
    for (char32_t& c : text) {
        const char32_t ranges[][2] = {{0x20, 0x7F}, {0xA0, 0x100}, {0x100, 0xD800}, {0x10000, 0x110000}};
        const auto& range = ranges[random() % (latin1 ? 2 : 4)];
        c = static_cast<char32_t>(range[0] + random() % (range[1] - range[0]));
    }
    return text;
}

// The text in an ID3 encoding: 0 Latin-1, 1 UTF-16 behind either byte-order mark, 2 UTF-16BE, 3 UTF-8.
std::string Encoded(const std::u32string& text, int encoding, bool bigEndianMark) {
    if (encoding == 0) return std::string(text.begin(), text.end());
    if (encoding == 3) return Utf8(text);
    const bool bigEndian = encoding == 2 || bigEndianMark;
    std::string bytes = encoding == 1 ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (const char16_t unit : Utf16(text))
        bytes += bigEndian ? BigEndian(unit, 2) : std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

// Random texts in every encoding, behind a picture of about one read buffer, in plain and
// unsynchronised tags: the reader gives what a decoder of the whole text cut to the shown
// length would.
TEST(ID3v2TagReader, TextsOfAnyLengthAreReadCutToTheShownLength) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 100; ++round) {
        const int version = 3 + static_cast<int>(random() % 2);
        const int encoding = static_cast<int>(random() % (version == 3 ? 2 : 4));
        const bool unsynchronised = random() % 2;
        const bool bigEndianMark = random() % 2;
        const std::u32string title = RandomText(random, encoding == 0);
        const std::u32string comment = RandomText(random, encoding == 0);
        const std::string terminator(encoding == 1 || encoding == 2 ? 2 : 1, '\0');
        const std::string encodingByte(1, static_cast<char>(encoding));
        std::string picture(64 * 1024 - 300 + random() % 600, '\0');
        for (char& c : picture) c = "\0\xFF\xE0" "A"[random() % 4];

        const std::pair<std::string, std::string> frames[] = {
            {"APIC", picture},
            {"TIT2", encodingByte + Encoded(title, encoding, bigEndianMark) + (random() % 2 ? terminator : "")},
            {"COMM", encodingByte + "eng" + Encoded(RandomText(random, encoding == 0), encoding, bigEndianMark) +
                         terminator + Encoded(comment, encoding, bigEndianMark)},
            {"TPE1", Latin1("Artist")}};
        std::string area;
        for (const auto& [id, body] : frames)
            area += version == 4 && unsynchronised ? Frame(4, id, Unsynchronised(body), 0x0002) : Frame(version, id, body);
        const std::string tag =
            version == 3 && unsynchronised ? Tag(3, 0x80, Unsynchronised(area)) : Tag(version, 0, area);

        SCOPED_TRACE(::testing::Message() << "round " << round << ", version " << version << ", encoding " << encoding
                                        << (unsynchronised ? ", unsynchronised" : ""));
        ID3v2TagInfo got;
        ASSERT_TRUE(ReadID3v2Tag(MemoryByteSource(tag), got));
        EXPECT_EQ(got.Title, ShownText(title));
        EXPECT_EQ(got.Comment, ShownText(comment));
        EXPECT_EQ(got.Artist, "Artist");
        EXPECT_EQ(got.SkippedFrames, 1);
    }
}

TEST(ID3v2TagReader, OnlyFilesNamedMp3AreRead) {
    TempFolder folder;
    const std::string tag = Tag(3, 0, Frame(3, "TIT2", Latin1("Title")));
    for (const char* name : {"a.MP3", "b.Mp3", "ü ß.mp3", "c.wav", "d.wma", "e.mp3.bak", "mp3"})
        TempFolder::Write(folder.Path(name), tag);
    TempFolder::MakeFolder(folder.Path("folder.mp3"));
    for (const char* name : {"a.MP3", "b.Mp3", "ü ß.mp3"}) {
        ID3v2TagInfo got;
        EXPECT_TRUE(ReadID3v2Tag(folder.Path(name), got)) << name;
        EXPECT_EQ(got.Title, "Title") << name;
    }
    for (const char* name : {"c.wav", "d.wma", "e.mp3.bak", "mp3", "missing.mp3", "folder.mp3"}) {
        ID3v2TagInfo got;
        EXPECT_FALSE(ReadID3v2Tag(folder.Path(name), got)) << name;
    }
    ID3v2TagInfo got;
    EXPECT_FALSE(ReadID3v2Tag(std::string(), got));
    // A reading that is asked to stop finds nothing more, as if the file ended.
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(ReadID3v2Tag(folder.Path("a.MP3"), got, stop.get_token()));
    EXPECT_EQ(got.Title, "");
}

// A source of any size that holds the given pieces and zeros elsewhere, and records what is asked of it.
class SparseSource final : public ByteSource {
public:
    explicit SparseSource(uint64_t size) : size_(size) {}
    void Place(uint64_t offset, std::string bytes) { pieces_[offset] = std::move(bytes); }
    uint64_t Size() const override { return size_; }
    std::string Read(uint64_t offset, std::size_t count) const override {
        EXPECT_LE(offset + count, size_) << "read past the end";
        bytesRead += count;
        largestRead = std::max<uint64_t>(largestRead, count);
        std::string out(count, '\0');
        for (const auto& [at, piece] : pieces_) {
            const uint64_t from = std::max(at, offset);
            const uint64_t to = std::min(at + piece.size(), offset + count);
            if (from < to) piece.copy(&out[from - offset], to - from, from - at);
        }
        return out;
    }
    mutable uint64_t bytesRead = 0;
    mutable uint64_t largestRead = 0;

private:
    uint64_t size_;
    std::map<uint64_t, std::string> pieces_;
};

// A tag is found wherever it starts, and costs reads of a few buffers whatever it holds.
TEST(ID3v2TagReader, ATagIsFoundAnywhereAndOnlyWhatIsUsedIsRead) {
    const uint64_t fileSize = 600'000'000;
    const std::string tag = Tag(4, 0, Frame(4, "APIC", std::string(300'000, '\x22')) + Frame(4, "TIT2", Latin1("Far")));
    const uint64_t seam = 16 * kID3v2SearchChunk;  // between two pieces of the search
    for (const uint64_t at : {seam - 10, seam - 3, seam - 1, seam, uint64_t{3} << 19}) {  // the last behind 1.5 MiB
        SCOPED_TRACE(at);
        SparseSource source(fileSize);
        source.Place(0, kLeadingJunk);
        source.Place(seam / 2 - 2, "ID3\x05");  // a marker across an earlier seam that heads no tag
        source.Place(at, tag);
        ID3v2TagInfo got;
        EXPECT_TRUE(ReadID3v2Tag(source, got));
        EXPECT_EQ(got.Title, "Far");
        EXPECT_LE(source.bytesRead, at + 4 * kID3v2SearchChunk) << "the picture is passed, not read";
        EXPECT_LE(source.largestRead, kID3v2SearchChunk + 9);
    }

    // The largest tag a header can state: a picture of 250 MB, the title, then padding.
    SparseSource largest(fileSize);
    const uint32_t picture = 250'000'000;
    largest.Place(0, "ID3\x04\0\0\x7F\x7F\x7F\x7F" "APIC"s + SyncSafe(picture) + "\0\0"s);
    largest.Place(20 + picture, Frame(4, "TIT2", Latin1("Largest")));
    ID3v2TagInfo got;
    EXPECT_TRUE(ReadID3v2Tag(largest, got));
    EXPECT_EQ(got.Title, "Largest");
    EXPECT_LE(largest.bytesRead, 4 * kID3v2SearchChunk);
    EXPECT_LE(largest.largestRead, kID3v2SearchChunk + 9);

    SparseSource claimsTooMuch(5000);  // a header claiming the largest size, near the end of the file
    claimsTooMuch.Place(4000, "ID3\x04\0\0\x7F\x7F\x7F\x7F"s + Frame(4, "TIT2", Latin1("Last")));
    ID3v2TagInfo last;
    EXPECT_TRUE(ReadID3v2Tag(claimsTooMuch, last));
    EXPECT_EQ(last.Title, "Last");
    EXPECT_EQ(last.TagSize, 0x0FFFFFFF);
}

}  // namespace
}  // namespace lurvane
