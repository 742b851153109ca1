#include "settings/ini_file.h"

#include <optional>
#include <vector>

#include "settings/file_bytes.h"
#include "util/text_encoding.h"
#include "util/text_rules.h"

namespace lurvane {
namespace {

enum class Encoding { Plain, Utf8Bom, Utf16 };

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kNewLine = "\r\n";

struct Line {
    std::string Text;
    std::string Ending;  // as found, so untouched lines are written back byte for byte
};

struct Document {
    Encoding Kind = Encoding::Plain;
    std::vector<Line> Lines;
};

std::string_view TrimSpace(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string DecodeUtf16(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return Utf16ToUtf8(units);
}

std::string EncodeUtf16(std::string_view text) {
    std::string bytes;
    for (char16_t unit : Utf8ToUtf16(text)) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

Document Parse(std::string_view bytes) {
    Document document;
    std::string decoded;
    if (bytes.starts_with(kUtf16Bom)) {
        document.Kind = Encoding::Utf16;
        decoded = DecodeUtf16(bytes.substr(kUtf16Bom.size()));
        bytes = decoded;
    } else if (bytes.starts_with(kUtf8Bom)) {
        document.Kind = Encoding::Utf8Bom;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            document.Lines.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        std::size_t next = end + 1;
        if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
        document.Lines.push_back({std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, next - end))});
        start = next;
    }
    return document;
}

std::string Serialize(const Document& document) {
    std::string text;
    for (const Line& line : document.Lines) text += line.Text + line.Ending;
    switch (document.Kind) {
    case Encoding::Utf16: return std::string(kUtf16Bom) + EncodeUtf16(text);
    case Encoding::Utf8Bom: return std::string(kUtf8Bom) + text;
    case Encoding::Plain: break;
    }
    return text;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimSpace(line);
    if (!line.starts_with('[')) return std::nullopt;
    line.remove_prefix(1);
    std::size_t close = line.rfind(']');
    if (close != std::string_view::npos) line = line.substr(0, close);
    return TrimSpace(line);
}

struct Entry {
    std::string_view Key;
    std::string_view Value;
};

std::optional<Entry> KeyEntry(std::string_view line) {
    line = TrimSpace(line);
    if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Entry{TrimSpace(line.substr(0, equals)), TrimSpace(line.substr(equals + 1))};
}

struct SectionSpan {
    std::size_t Header = 0;  // index of the header line
    std::size_t End = 0;     // index of the next header, or the line count
};

std::optional<SectionSpan> FindSection(const Document& document, std::string_view section) {
    for (std::size_t i = 0; i < document.Lines.size(); ++i) {
        auto name = SectionName(document.Lines[i].Text);
        if (!name || !EqualsIgnoringAsciiCase(*name, section)) continue;
        SectionSpan span{i, i + 1};
        while (span.End < document.Lines.size() && !SectionName(document.Lines[span.End].Text)) ++span.End;
        return span;
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const Document& document, const SectionSpan& span, std::string_view key) {
    for (std::size_t i = span.Header + 1; i < span.End; ++i) {
        auto entry = KeyEntry(document.Lines[i].Text);
        if (entry && EqualsIgnoringAsciiCase(entry->Key, key)) return i;
    }
    return std::nullopt;
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string LimitValue(std::string_view value) { return std::string(Utf8Prefix(StripAfterNul(value), kIniValueLimit)); }

bool HoldsLineBreakOrNul(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

void CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
    if (TrimSpace(section).empty() || HoldsLineBreakOrNul(section) || section.find(']') != std::string_view::npos)
        throw IniWriteError("section name cannot be written to a profile");
    if (TrimSpace(key).empty() || HoldsLineBreakOrNul(key) || key.find('=') != std::string_view::npos ||
        TrimSpace(key).front() == ';' || TrimSpace(key).front() == '[')
        throw IniWriteError("key name cannot be written to a profile");
    if (HoldsLineBreakOrNul(value)) throw IniWriteError("value cannot be written to a profile");
}

// Index just after the last non-blank line of a section, where a new key goes.
std::size_t EndOfEntries(const Document& document, const SectionSpan& span) {
    std::size_t end = span.End;
    while (end > span.Header + 1 && TrimSpace(document.Lines[end - 1].Text).empty()) --end;
    return end;
}

void EnsureLastLineEnds(Document& document, std::size_t before) {
    if (before > 0 && document.Lines[before - 1].Ending.empty()) document.Lines[before - 1].Ending = kNewLine;
}

}  // namespace

std::string ReadINIValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                         const std::string& file) {
    FileContents contents = ReadWholeFile(file, kIniFileLimit);
    if (contents.Status != FileReadStatus::Read) return std::string(defaultValue);
    Document document = Parse(contents.Bytes);
    auto span = FindSection(document, section);
    if (!span) return std::string(defaultValue);
    auto line = FindKey(document, *span, key);
    if (!line) return std::string(defaultValue);
    return LimitValue(Unquoted(KeyEntry(document.Lines[*line].Text)->Value));
}

void WriteINIValue(std::string_view section, std::string_view key, std::string_view value, const std::string& file) {
    CheckWritable(section, key, value);
    FileContents contents = ReadWholeFile(file, kIniFileLimit);
    if (contents.Status == FileReadStatus::Unreadable || contents.Status == FileReadStatus::TooLarge)
        throw IniWriteError("profile cannot be read: " + file);
    Document document = Parse(contents.Bytes);

    const std::string trimmedKey(TrimSpace(key));
    if (auto span = FindSection(document, section)) {
        if (auto line = FindKey(document, *span, key)) {
            std::string storedKey(KeyEntry(document.Lines[*line].Text)->Key);
            document.Lines[*line].Text = storedKey + "=" + std::string(value);
        } else {
            std::size_t at = EndOfEntries(document, *span);
            EnsureLastLineEnds(document, at);
            document.Lines.insert(document.Lines.begin() + static_cast<std::ptrdiff_t>(at),
                                  {trimmedKey + "=" + std::string(value), std::string(kNewLine)});
        }
    } else {
        EnsureLastLineEnds(document, document.Lines.size());
        document.Lines.push_back({"[" + std::string(TrimSpace(section)) + "]", std::string(kNewLine)});
        document.Lines.push_back({trimmedKey + "=" + std::string(value), std::string(kNewLine)});
    }
    if (!WriteWholeFile(file, Serialize(document))) throw IniWriteError("profile cannot be written: " + file);
}

}  // namespace lurvane
