// Every lasting setting described once: its value name in the store, its kind, the text the
// dialog holds when it is created, the range of the holding control and, for the settings a
// profile carries, the profile's section, key and default. The store, the profile file and the
// dialog all read this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lurvane {

// In the order the settings are saved.
enum class SettingId {
    Language,
    Framerate,
    WaveFreq,
    WaveDirection,
    WaveCount,
    WaveAmp,
    WaveAsc,
    UseSystemTimer,
    ShowFPS,
    BackgroundImage,
    PathPoints,
    RandomizeBackground,
    MaximizeBackground,
    ColorBackground,
    SizeBackground,
    RestartSec,
    BackgroundSound,
    LoopSound,
};

inline constexpr std::size_t kSettingCount = 18;

enum class SettingKind {
    Language,       // 1 German, 2 English, 3 Italian
    Slider,         // a 16-bit scroll bar value within Minimum..Maximum
    SmoothingTag,   // the smoothing adjuster's tag: a text whose numeric value is a whole number from 1 up
    CheckBox,       // 0 or 1; any non-zero number checks it
    Text,           // a path, any text
    PathList,       // the path markers, as path point list text
    DisplayChoice,  // 1 stretched to the screen, 0 proportional
    Colour,         // 0x00BBGGRR, or a system colour index with the top bit set
    NumberBox,      // a text box that holds a whole number, limited to the range on focus loss
};

// What loading a stored number outside the range does.
enum class StoredOutOfRange {
    Clamp,  // the nearer bound is taken
    Keep,   // kept as a whole 32-bit number; the dialog's box limits it when it loses focus
};

struct ProfileEntry {
    std::string_view Section;
    std::string_view Key;
    std::string_view Default;  // used when the profile lacks the key
};

struct SettingInfo {
    SettingId Id;
    std::string_view Name;
    SettingKind Kind;
    std::string_view Default;  // in the form the store holds it
    int32_t Minimum = 0;       // range of the holding control; numbers only
    int32_t Maximum = 0;
    std::optional<ProfileEntry> Profile;
    StoredOutOfRange OutOfRange = StoredOutOfRange::Clamp;
};

// The default colour: the system's button face colour.
inline constexpr uint32_t kButtonFaceColour = 0x8000000F;

inline constexpr std::array<SettingInfo, kSettingCount> kSettingsTable{{
    {SettingId::Language, "Language", SettingKind::Language, "1", 1, 3, std::nullopt},
    {SettingId::Framerate, "Framerate", SettingKind::Slider, "20", 1, 100, ProfileEntry{"Animation", "Framerate", "20"}},
    {SettingId::WaveFreq, "WaveFreq", SettingKind::Slider, "30", 2, 100, ProfileEntry{"Wave", "Freq", "30"}},
    // A profile without a direction means waves from the top, although a fresh dialog starts
    // with waves from the bottom.
    {SettingId::WaveDirection, "WaveDirection", SettingKind::Slider, "0", 0, 1, ProfileEntry{"Wave", "Direction", "1"}},
    {SettingId::WaveCount, "WaveCount", SettingKind::Slider, "6", 0, 32, ProfileEntry{"Wave", "Count", "6"}},
    {SettingId::WaveAmp, "WaveAmp", SettingKind::Slider, "2", 1, 10, ProfileEntry{"Wave", "Amp", "2"}},
    // The adjuster is dragged from 1 to 100 %, but a larger value is kept: it ramps over more
    // than the whole area. The wave table divides by the value, so nothing below 1 is taken.
    {SettingId::WaveAsc, "WaveAsc", SettingKind::SmoothingTag, "1", 1, INT32_MAX, ProfileEntry{"Wave", "Asc", "1"}},
    {SettingId::UseSystemTimer, "UseSystemTimer", SettingKind::CheckBox, "1", 0, 1, std::nullopt},
    {SettingId::ShowFPS, "ShowFPS", SettingKind::CheckBox, "0", 0, 1, std::nullopt},
    {SettingId::BackgroundImage, "BackgroundImage", SettingKind::Text, "", 0, 0, std::nullopt},
    {SettingId::PathPoints, "PathPoints", SettingKind::PathList, "0,0", 0, 0, ProfileEntry{"Path", "Points", ""}},
    {SettingId::RandomizeBackground, "RandomizeBackground", SettingKind::CheckBox, "0", 0, 1, std::nullopt},
    {SettingId::MaximizeBackground, "MaximizeBackground", SettingKind::DisplayChoice, "1", 0, 1, std::nullopt},
    {SettingId::ColorBackground, "ColorBackground", SettingKind::Colour, "-2147483633", 0, 0, std::nullopt},
    {SettingId::SizeBackground, "SizeBackground", SettingKind::NumberBox, "100", 50, 100, std::nullopt},
    // The box takes three digits, but the saver waits for as long as is stored; a negative
    // value, like 0, never restarts.
    {SettingId::RestartSec, "RestartSec", SettingKind::NumberBox, "120", 0, 999, std::nullopt, StoredOutOfRange::Keep},
    {SettingId::BackgroundSound, "BackgroundSound", SettingKind::Text, "", 0, 0, std::nullopt},
    {SettingId::LoopSound, "LoopSound", SettingKind::CheckBox, "1", 0, 1, std::nullopt},
}};

inline constexpr const SettingInfo& Describe(SettingId id) { return kSettingsTable[static_cast<std::size_t>(id)]; }

// The setting stored under `name` (compared without regard to ASCII case), if any.
std::optional<SettingId> FindSetting(std::string_view name);

}  // namespace lurvane
