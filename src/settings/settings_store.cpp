#include "settings/settings_store.h"

#include <array>
#include <initializer_list>

#include "text/language.h"
#include "util/text_encoding.h"
#include "util/text_rules.h"

namespace lurvane {
std::string TextFromStoredData(std::string_view data) {
    return std::string(TrimBlanks(Utf8Prefix(StripAfterNul(data), kStoredTextLimit)));
}

std::string FitListForStore(std::string_view text) {
    if (text.find(';') == std::string_view::npos || text.size() < kStoredTextLimit) return std::string(text);
    std::string_view head = text.substr(0, kStoredTextLimit);
    std::size_t lastSeparator = head.rfind(';');
    if (lastSeparator == std::string_view::npos) return std::string(head);
    return std::string(head.substr(0, lastSeparator));
}

std::string StoredDataFromText(std::string_view text) {
    if (text.empty()) return std::string(1, '\0');
    return std::string(text);
}

std::vector<SettingId> LoadSettings(SettingsModel& model, SettingsStore& store) {
    using enum SettingId;
    std::array<std::string, kSettingCount> stored;
    auto read = [&](SettingId id) { stored[static_cast<std::size_t>(id)] = store.Read(std::string(Describe(id).Name)); };
    auto text = [&](SettingId id) -> const std::string& { return stored[static_cast<std::size_t>(id)]; };

    for (SettingId id : {Language, Framerate, WaveFreq, WaveDirection, WaveCount, WaveAmp, WaveAsc, UseSystemTimer,
                         BackgroundImage, MaximizeBackground, ColorBackground, SizeBackground, PathPoints, RestartSec,
                         BackgroundSound, LoopSound})
        read(id);

    std::vector<SettingId> refused;
    auto apply = [&](SettingId id) {
        if (!model.ApplyStoredText(id, text(id))) refused.push_back(id);
    };

    apply(PathPoints);  // an empty list changes nothing
    model.SetNumber(Language, LanguageFromSetting(text(Language)));

    for (SettingId id : {Framerate, WaveFreq, WaveDirection, WaveCount, WaveAmp, WaveAsc, UseSystemTimer,
                         BackgroundImage, MaximizeBackground, ColorBackground, SizeBackground, RestartSec,
                         BackgroundSound, LoopSound})
        if (!text(id).empty()) apply(id);

    // These two are applied even when missing: a box checked in the open dialog and never
    // saved must end up clear again when the stored state is restored.
    for (SettingId id : {ShowFPS, RandomizeBackground}) {
        read(id);
        if (!model.SetNumber(id, NumericValue(text(id)))) refused.push_back(id);
    }
    return refused;
}

bool SaveSettings(const SettingsModel& model, SettingsStore& store) {
    bool allWritten = true;
    for (const SettingInfo& info : kSettingsTable)
        if (!store.Write(std::string(info.Name), model.Text(info.Id))) allWritten = false;
    return allWritten;
}

}  // namespace lurvane
