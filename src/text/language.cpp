#include "text/language.h"

#include "util/text_rules.h"

#include <algorithm>
#include <limits>

namespace lurvane {
std::string Language::GetLangString(int32_t number) const {
    if (number < kFirstLanguageText || number > kLastLanguageText) return {};
    // Computed wide so that an absurd language number cannot overflow the key.
    const int64_t key = int64_t{1000} * current_ + number;
    if (key < std::numeric_limits<int32_t>::min() || key > std::numeric_limits<int32_t>::max()) return {};
    const auto text = FindLanguageText(static_cast<int32_t>(key));
    return text ? std::string(*text) : std::string();
}

int32_t LanguageFromSetting(std::string_view stored) {
    const double value = NumericValue(stored);
    if (value == kEnglish) return kEnglish;
    if (value == kItalian) return kItalian;
    return kGerman;
}

std::optional<std::string_view> FindLanguageText(int32_t key) {
    const auto table = LanguageTable();
    const auto found = std::lower_bound(table.begin(), table.end(), key,
                                        [](const LanguageTableEntry& entry, int32_t k) { return entry.Key < k; });
    if (found == table.end() || found->Key != key) return std::nullopt;
    return found->Text;
}

}  // namespace lurvane
