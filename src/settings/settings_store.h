// Where the settings last between runs: named text values under one key of the current user.
// The Windows registry is the real store (settings/win32/registry_store.h); an in-memory one
// serves the tests (settings/memory_settings_store.h). Both keep the same rules for what is
// written and read back, which live here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_model.h"

namespace lurvane {

inline constexpr std::string_view kSettingsKeyPath = "HKEY_CURRENT_USER\\Software\\Brannick\\Lurvane\\Settings";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text (see TextFromStoredData); empty when the value or the key is missing.
    virtual std::string Read(const std::string& name) = 0;

    // Stores the text (see FitListForStore and StoredDataFromText); false when the key
    // cannot be opened or the value cannot be written.
    virtual bool Write(const std::string& name, const std::string& text) = 0;
};

// A list value longer than this is shortened before it is written, and no value is read back
// longer than this.
inline constexpr std::size_t kStoredTextLimit = 16299;

// What a value's stored data reads as: cut at the first NUL, at most kStoredTextLimit bytes
// (never splitting a UTF-8 character), without leading and trailing spaces.
std::string TextFromStoredData(std::string_view data);

// A text holding ";" that is kStoredTextLimit characters or longer is cut to that many and
// then before the last ";" among them, so a path list always ends with a complete point and
// stays within 16 298 characters. Text without ";" is never shortened.
std::string FitListForStore(std::string_view text);

// The stored form of a text: the text itself, or a single NUL for the empty text.
std::string StoredDataFromText(std::string_view text);

// Applies the stored values to the model, each on its own: a number outside its setting's
// range is brought into it (SettingsModel::ApplyStoredText); a value that is missing or
// refused (a colour that is none) leaves the model's value in place, except that a missing
// "Language" means German and a missing "ShowFPS" or "RandomizeBackground" reads as 0. A
// stored path replaces the model's path. Returns the refused settings.
// The caller hands the language to the language texts and refreshes whatever shows the model.
std::vector<SettingId> LoadSettings(SettingsModel& model, SettingsStore& store);

// Writes all eighteen values in their fixed order, the path at zoom factor 1. True when every
// write succeeded; a failed write does not stop the others.
bool SaveSettings(const SettingsModel& model, SettingsStore& store);

}  // namespace lurvane
