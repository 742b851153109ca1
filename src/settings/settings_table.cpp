#include "settings/settings_table.h"

#include "util/text_rules.h"

namespace lurvane {
namespace {

constexpr bool RowsFollowTheIds() {
    for (std::size_t i = 0; i < kSettingsTable.size(); ++i)
        if (static_cast<std::size_t>(kSettingsTable[i].Id) != i) return false;
    return true;
}
static_assert(RowsFollowTheIds(), "Describe() indexes the table by SettingId");

}  // namespace

std::optional<SettingId> FindSetting(std::string_view name) {
    const std::string wanted = LowerAscii(name);
    for (const SettingInfo& info : kSettingsTable)
        if (LowerAscii(info.Name) == wanted) return info.Id;
    return std::nullopt;
}

}  // namespace lurvane
