// The interface languages and their numbered texts. Every text the user reads has a number
// from 1 to 142; the table keeps text n of language L under 1000 x L + n.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "text/text_id.h"

namespace lurvane {

inline constexpr int32_t kGerman = 1;   // the default
inline constexpr int32_t kEnglish = 2;
inline constexpr int32_t kItalian = 3;

inline constexpr int32_t kFirstLanguageText = 1;
inline constexpr int32_t kLastLanguageText = 142;

// The texts in the program's current language. One instance lives in the program's context;
// the dialog's language menu and the stored setting change it.
class Language {
public:
    // German until the stored choice is applied.
    explicit Language(int32_t language = kGerman) : current_(language) {}

    // Makes `language` the current one. 0 and any number without a block in the table make
    // every text empty.
    void SetLanguage(int32_t language) { current_ = language; }
    int32_t GetLanguage() const { return current_; }

    // Text `number` of the current language; the empty text when the table has no such entry.
    // Numbers outside 1..142 are always empty, so they can never reach into another language.
    std::string GetLangString(int32_t number) const;
    std::string GetLangString(TextId id) const { return GetLangString(static_cast<int32_t>(id)); }

private:
    int32_t current_;
};

// The language that a stored setting selects: its numeric value when that is 1, 2 or 3,
// German for an empty value and for anything else.
int32_t LanguageFromSetting(std::string_view stored);

struct LanguageTableEntry {
    int32_t Key;  // 1000 x language + text number
    std::string_view Text;
};

// The whole string table, ordered by key (UTF-8).
std::span<const LanguageTableEntry> LanguageTable();

// The text stored under `key`, if any.
std::optional<std::string_view> FindLanguageText(int32_t key);

}  // namespace lurvane
