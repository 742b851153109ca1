#include "settings/ini_file.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "settings/file_bytes.h"
#include "util/text_encoding.h"
#include "util/text_rules.h"

namespace lurvane {
namespace {

enum class Encoding { Plain, Utf8Bom, Utf16 };

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kNewLine = "\r\n";

// A file's text as UTF-8, without its byte-order mark. A UTF-16 file is decoded into a copy;
// any other text is a view of the bytes read, so a file costs its own size once.
class FileText {
public:
    explicit FileText(std::string bytes) : bytes_(std::move(bytes)) {
        std::string_view all = bytes_;
        if (all.starts_with(kUtf16Bom)) {
            kind_ = Encoding::Utf16;
            decoded_ = DecodeUtf16(all.substr(kUtf16Bom.size()));
            bytes_ = std::string();
            text_ = decoded_;
        } else if (all.starts_with(kUtf8Bom)) {
            kind_ = Encoding::Utf8Bom;
            text_ = all.substr(kUtf8Bom.size());
        } else {
            text_ = all;
        }
    }
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    std::string_view Text() const { return text_; }

    // The text itself, for a caller that changes it in place; Text() is empty afterwards.
    std::string Release() {
        std::string text = kind_ == Encoding::Utf16 ? std::move(decoded_) : std::move(bytes_);
        if (kind_ == Encoding::Utf8Bom) text.erase(0, kUtf8Bom.size());
        text_ = {};
        return text;
    }

    // New text in the file's own encoding.
    std::string Encode(std::string text) const {
        switch (kind_) {
        case Encoding::Utf16: return std::string(kUtf16Bom) + EncodeUtf16(text);
        case Encoding::Utf8Bom: return text.insert(0, kUtf8Bom);
        case Encoding::Plain: break;
        }
        return text;
    }

private:
    static std::string DecodeUtf16(std::string_view bytes) {
        std::u16string units;
        units.reserve(bytes.size() / 2);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        return Utf16ToUtf8(units);
    }
    static std::string EncodeUtf16(std::string_view text) {
        std::string bytes;
        for (char16_t unit : Utf8ToUtf16(text)) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        }
        return bytes;
    }

    Encoding kind_ = Encoding::Plain;
    std::string bytes_;
    std::string decoded_;
    std::string_view text_;
};

struct Line {
    std::size_t Begin = 0;  // offset of the line in the text
    std::string_view Text;
    std::string_view Ending;  // as found: "\r\n", "\r", "\n" or nothing at the end of the text
    std::size_t End() const { return Begin + Text.size() + Ending.size(); }
};

// Hands every line of the text to `visit` in order until it returns false.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    // The next "\r" and the next "\n" are each searched for with a fast single-character
    // search and only once they lie behind, so the walk stays linear whatever the line ends.
    std::size_t feed = text.find('\n'), carriageReturn = text.find('\r');
    std::size_t start = 0;
    while (start < text.size()) {
        if (feed < start) feed = text.find('\n', start);
        if (carriageReturn < start) carriageReturn = text.find('\r', start);
        const std::size_t end = std::min({feed, carriageReturn, text.size()});
        std::size_t next = end;
        if (next < text.size() && text[next++] == '\r' && next < text.size() && text[next] == '\n') ++next;
        if (!visit(Line{start, text.substr(start, end - start), text.substr(end, next - end)})) return;
        start = next;
    }
}

std::string_view TrimSpace(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
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

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string LimitValue(std::string_view value) { return std::string(Utf8Prefix(StripAfterNul(value), kIniValueLimit)); }

bool HoldsLineBreakOrNul(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

void CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
    if (section.empty() || HoldsLineBreakOrNul(section) || section.find(']') != std::string_view::npos)
        throw IniWriteError("section name cannot be written to a profile");
    if (key.empty() || HoldsLineBreakOrNul(key) || key.find('=') != std::string_view::npos || key.front() == ';' ||
        key.front() == '[')
        throw IniWriteError("key name cannot be written to a profile");
    if (HoldsLineBreakOrNul(value)) throw IniWriteError("value cannot be written to a profile");
}

// Where a value of one section and key stands in a text: the first section of that name, and
// in it the first key of that name or else the place after its last non-blank line.
struct KeyPlace {
    bool SectionFound = false;
    std::optional<Line> KeyLine;
    std::optional<Line> LastFilled;  // the last non-blank line of the section, its header at least
    std::optional<Line> LastLine;    // the text's last line
};

KeyPlace FindKeyPlace(std::string_view text, std::string_view section, std::string_view key) {
    KeyPlace place;
    bool inSection = false;
    ForEachLine(text, [&](const Line& line) {
        place.LastLine = line;
        if (auto name = SectionName(line.Text)) {
            if (inSection) {
                inSection = false;
                return false;  // only the first section of the name counts
            }
            inSection = !place.SectionFound && EqualsIgnoringAsciiCase(*name, section);
            if (inSection) {
                place.SectionFound = true;
                place.LastFilled = line;
            }
            return true;
        }
        if (!inSection) return true;
        if (!TrimSpace(line.Text).empty()) place.LastFilled = line;
        auto entry = KeyEntry(line.Text);
        if (entry && EqualsIgnoringAsciiCase(entry->Key, key)) {
            place.KeyLine = line;
            return false;
        }
        return true;
    });
    return place;
}

}  // namespace

std::vector<std::string> ReadINIValues(const std::string& file, std::span<const IniKey> keys) {
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const IniKey& key : keys) values.emplace_back(key.Default);

    FileContents contents = ReadWholeFile(file, kIniFileLimit);
    if (contents.Status != FileReadStatus::Read) return values;
    const FileText fileText(std::move(contents.Bytes));

    // One walk through the file answers every key: each key is looked for in the first
    // section of its name only, and the walk ends once every key is answered.
    enum class State { BeforeSection, InSection, Done };
    std::vector<State> states(keys.size(), State::BeforeSection);
    std::size_t open = keys.size();
    ForEachLine(fileText.Text(), [&](const Line& line) {
        if (auto name = SectionName(line.Text)) {
            for (std::size_t i = 0; i < keys.size(); ++i) {
                if (states[i] == State::InSection) {
                    states[i] = State::Done;
                    --open;
                } else if (states[i] == State::BeforeSection && EqualsIgnoringAsciiCase(*name, TrimSpace(keys[i].Section))) {
                    states[i] = State::InSection;
                }
            }
            return open > 0;
        }
        auto entry = KeyEntry(line.Text);
        if (!entry) return true;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (states[i] != State::InSection || !EqualsIgnoringAsciiCase(entry->Key, TrimSpace(keys[i].Key))) continue;
            values[i] = LimitValue(Unquoted(entry->Value));
            states[i] = State::Done;
            --open;
        }
        return open > 0;
    });
    return values;
}

std::string ReadINIValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                         const std::string& file) {
    const IniKey wanted{section, key, defaultValue};
    return std::move(ReadINIValues(file, std::span(&wanted, 1)).front());
}

namespace {

// Puts one value into the text where the file's rules place it.
void ApplyWrite(std::string& text, std::string_view section, std::string_view key, std::string_view value) {
    section = TrimSpace(section);
    key = TrimSpace(key);
    CheckWritable(section, key, value);
    const KeyPlace place = FindKeyPlace(text, section, key);
    if (place.KeyLine) {
        // The key keeps the spelling it has in the file.
        const Line& line = *place.KeyLine;
        std::string entry(KeyEntry(line.Text)->Key);
        entry.append("=").append(value);
        text.replace(line.Begin, line.Text.size(), entry);
        return;
    }
    // A new key goes after the last non-blank line of its section, a new section to the end.
    const std::optional<Line>& after = place.SectionFound ? place.LastFilled : place.LastLine;
    std::string added;
    if (after && after->Ending.empty()) added.append(kNewLine);
    if (!place.SectionFound) added.append("[").append(section).append("]").append(kNewLine);
    added.append(key).append("=").append(value).append(kNewLine);
    text.insert(after ? after->End() : 0, added);
}

}  // namespace

void WriteINIValues(const std::string& file, std::span<const IniValue> values) {
    FileContents contents = ReadWholeFile(file, kIniFileLimit);
    if (contents.Status == FileReadStatus::Unreadable || contents.Status == FileReadStatus::TooLarge)
        throw IniWriteError("profile cannot be read: " + file);
    FileText fileText(std::move(contents.Bytes));
    std::string text = fileText.Release();
    for (const IniValue& value : values) ApplyWrite(text, value.Section, value.Key, value.Value);
    const std::string bytes = fileText.Encode(std::move(text));
    // A larger file would not be read again, so everything in it would be lost.
    if (bytes.size() > kIniFileLimit) throw IniWriteError("profile would grow past its limit: " + file);
    if (!WriteWholeFile(file, bytes)) throw IniWriteError("profile cannot be written: " + file);
}

void WriteINIValue(std::string_view section, std::string_view key, std::string_view value, const std::string& file) {
    const IniValue wanted{section, key, value};
    WriteINIValues(file, std::span(&wanted, 1));
}

}  // namespace lurvane
