#include "settings/settings_store.h"

#include <array>
#include <initializer_list>

#include "dialog/language.h"
#include "util/text_rules.h"

namespace lurvane {
namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string_view StripAfterNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string TextFromStoredData(std::string_view data) {
    std::string_view text = StripAfterNul(data);
    if (text.size() > kStoredTextLimit) {
        std::size_t cut = kStoredTextLimit;
        while (cut > 0 && IsUtf8Continuation(text[cut])) --cut;
        text = text.substr(0, cut);
    }
    return std::string(TrimBlanks(text));
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
