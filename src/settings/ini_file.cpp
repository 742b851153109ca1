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

// The values of one section as a batch of writes leaves them. A section is the first of its
// name in the text, or one the batch adds at the end.
struct SectionWrites {
    std::string_view Name;
    bool InText = false;
    std::optional<Line> LastFilled;  // in the text: its last non-blank line, its header at least
    struct Key {
        std::string_view Name;       // as spelled in the file, or as first written
        std::optional<Line> InText;  // the first line of the key in the section
        std::string_view Value;      // the last value written
    };
    std::vector<Key> Keys;  // in the order first written
};

// The entry whose name matches `name`, as the file's rules match names: ignoring ASCII case.
template <typename Named>
Named* FindNamed(std::vector<Named>& entries, std::string_view name) {
    for (Named& each : entries)
        if (EqualsIgnoringAsciiCase(each.Name, name)) return &each;
    return nullptr;
}

template <typename Named>
Named& FindOrAdd(std::vector<Named>& entries, std::string_view name) {
    if (Named* found = FindNamed(entries, name)) return *found;
    Named& added = entries.emplace_back();
    added.Name = name;
    return added;
}

// The text with every value written, in order, as if one after the other: a key takes its new
// value in its line (keeping its spelling); a new key goes after the last non-blank line of its
// section, a new section to the end. The text is walked once for all the values, so a large
// file costs its size once rather than once per value.
std::string WriteValues(std::string_view text, std::span<const IniValue> values) {
    std::vector<SectionWrites> sections;
    for (const IniValue& value : values) {
        const std::string_view section = TrimSpace(value.Section), key = TrimSpace(value.Key);
        CheckWritable(section, key, value.Value);
        // A later value of the same key wins.
        FindOrAdd(FindOrAdd(sections, section).Keys, key).Value = value.Value;
    }

    // One walk finds each section's first header, its last non-blank line and its keys' lines.
    SectionWrites* current = nullptr;
    ForEachLine(text, [&](const Line& line) {
        if (auto name = SectionName(line.Text)) {
            current = FindNamed(sections, *name);
            if (current != nullptr && current->InText) current = nullptr;  // only the first counts
            if (current != nullptr) {
                current->InText = true;
                current->LastFilled = line;
            }
            return true;
        }
        if (current == nullptr) return true;
        if (!TrimSpace(line.Text).empty()) current->LastFilled = line;
        if (auto entry = KeyEntry(line.Text)) {
            SectionWrites::Key* key = FindNamed(current->Keys, entry->Key);
            if (key != nullptr && !key->InText) {
                key->InText = line;
                key->Name = entry->Key;
            }
        }
        return true;
    });

    // The changes by their place in the text: a key's line is replaced, a section's new keys go
    // after its last non-blank line.
    struct Change {
        std::size_t At = 0, Replaced = 0;
        std::string Text;
    };
    std::vector<Change> changes;
    auto entryText = [](std::string_view key, std::string_view value) {
        return std::string(key).append("=").append(value);
    };
    for (SectionWrites& writes : sections) {
        if (!writes.InText) continue;
        std::string newKeys;
        for (const SectionWrites::Key& key : writes.Keys) {
            if (key.InText)
                changes.push_back({key.InText->Begin, key.InText->Text.size(), entryText(key.Name, key.Value)});
            else
                newKeys.append(entryText(key.Name, key.Value)).append(kNewLine);
        }
        if (newKeys.empty()) continue;
        if (writes.LastFilled->Ending.empty()) newKeys.insert(0, kNewLine);
        changes.push_back({writes.LastFilled->End(), 0, std::move(newKeys)});
    }
    // At one place a new key's insertion comes before the line that a replacement changes there.
    std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
        return a.At != b.At ? a.At < b.At : a.Replaced < b.Replaced;
    });

    std::string result;
    std::size_t extra = 0;
    for (const Change& change : changes) extra += change.Text.size();
    result.reserve(text.size() + extra + 64 * values.size());
    std::size_t copied = 0;
    for (const Change& change : changes) {
        result.append(text, copied, change.At - copied);
        result.append(change.Text);
        copied = change.At + change.Replaced;
    }
    result.append(text, copied);
    // Sections the text lacks follow at its end, in the order first written.
    for (const SectionWrites& writes : sections) {
        if (writes.InText) continue;
        if (!result.empty() && result.back() != '\n' && result.back() != '\r') result.append(kNewLine);
        result.append("[").append(writes.Name).append("]").append(kNewLine);
        for (const SectionWrites::Key& key : writes.Keys)
            result.append(entryText(key.Name, key.Value)).append(kNewLine);
    }
    return result;
}

}  // namespace

void WriteINIValues(const std::string& file, std::span<const IniValue> values) {
    FileContents contents = ReadWholeFile(file, kIniFileLimit);
    if (contents.Status == FileReadStatus::Unreadable || contents.Status == FileReadStatus::TooLarge)
        throw IniWriteError("profile cannot be read: " + file);
    const FileText fileText(std::move(contents.Bytes));
    const std::string bytes = fileText.Encode(WriteValues(fileText.Text(), values));
    // A larger file would not be read again, so everything in it would be lost.
    if (bytes.size() > kIniFileLimit) throw IniWriteError("profile would grow past its limit: " + file);
    if (!WriteWholeFile(file, bytes)) throw IniWriteError("profile cannot be written: " + file);
}

void WriteINIValue(std::string_view section, std::string_view key, std::string_view value, const std::string& file) {
    const IniValue wanted{section, key, value};
    WriteINIValues(file, std::span(&wanted, 1));
}

}  // namespace lurvane
