#include "settings/profile.h"

#include <initializer_list>
#include <string>

#include "settings/ini_file.h"
#include "util/text_rules.h"

namespace lurvane {
namespace {

const ProfileEntry& ProfileOf(SettingId id) { return *Describe(id).Profile; }

std::string ReadProfileValue(SettingId id, const std::string& file) {
    const ProfileEntry& entry = ProfileOf(id);
    return ReadINIValue(entry.Section, entry.Key, entry.Default, file);
}

}  // namespace

ProfileLoadResult LoadINI(SettingsModel& model) {
    using enum SettingId;
    const std::string file = model.ProfilePath();
    model.ReplacePath(ReadINIValue(ProfileOf(PathPoints).Section, ProfileOf(PathPoints).Key, "", file));

    for (SettingId id : {WaveDirection, WaveCount, WaveFreq, WaveAmp, WaveAsc, Framerate}) {
        // The smoothing tag takes the decimal text of the number, so "0012" arrives as "12".
        if (!model.SetNumber(id, NumericValue(ReadProfileValue(id, file)))) return {id};
    }
    return {};
}

bool SaveINI(const SettingsModel& model) {
    using enum SettingId;
    const std::string file = model.ProfilePath();
    try {
        for (SettingId id : {PathPoints, WaveDirection, WaveCount, WaveFreq, WaveAmp, WaveAsc, Framerate}) {
            const ProfileEntry& entry = ProfileOf(id);
            WriteINIValue(entry.Section, entry.Key, model.Text(id), file);
        }
    } catch (const IniWriteError&) {
        return false;
    }
    return true;
}

}  // namespace lurvane
