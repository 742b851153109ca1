#include "settings/profile.h"

#include <array>
#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "util/text_rules.h"

namespace lurvane {
namespace {

const ProfileEntry& ProfileOf(SettingId id) { return *Describe(id).Profile; }

// In the order a profile is applied.
constexpr std::array<SettingId, 7> kProfileOrder{SettingId::PathPoints, SettingId::WaveDirection,
                                                 SettingId::WaveCount,  SettingId::WaveFreq,
                                                 SettingId::WaveAmp,    SettingId::WaveAsc,
                                                 SettingId::Framerate};

}  // namespace

ProfileLoadResult LoadINI(SettingsModel& model) {
    std::array<IniKey, kProfileOrder.size()> keys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const ProfileEntry& entry = ProfileOf(kProfileOrder[i]);
        keys[i] = {entry.Section, entry.Key, entry.Default};
    }
    const std::vector<std::string> values = ReadINIValues(model.ProfilePath(), keys);

    model.ReplacePath(values[0]);  // a profile without a path leaves marker 0 alone
    for (std::size_t i = 1; i < keys.size(); ++i) {
        // The smoothing tag takes the decimal text of the number, so "0012" arrives as "12".
        if (!model.SetNumber(kProfileOrder[i], NumericValue(values[i]))) return {kProfileOrder[i]};
    }
    return {};
}

bool SaveINI(const SettingsModel& model) {
    std::array<std::string, kProfileOrder.size()> texts;
    std::array<IniValue, kProfileOrder.size()> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const ProfileEntry& entry = ProfileOf(kProfileOrder[i]);
        texts[i] = model.Text(kProfileOrder[i]);
        values[i] = {entry.Section, entry.Key, texts[i]};
    }
    try {
        WriteINIValues(model.ProfilePath(), values);
    } catch (const IniWriteError&) {
        return false;
    }
    return true;
}

}  // namespace lurvane
