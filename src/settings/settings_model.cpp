#include "settings/settings_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "util/text_rules.h"

namespace lurvane {
namespace {

bool InRange(const SettingInfo& info, double value) { return value >= info.Minimum && value <= info.Maximum; }

// The whole number nearest to `value` (halves to even), a bound when it lies beyond one.
int32_t ClampedWhole(double value, int32_t minimum, int32_t maximum) {
    if (std::isnan(value)) return minimum;
    return RoundToInt32(std::clamp(value, static_cast<double>(minimum), static_cast<double>(maximum)));
}

}  // namespace

bool IsValidColour(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    return bits <= 0x00FFFFFFu || (bits & 0xFFFFFF00u) == 0x80000000u;
}

SettingsModel::SettingsModel() {
    for (const SettingInfo& info : kSettingsTable)
        if (!SetText(info.Id, info.Default))
            throw std::logic_error("settings table default refused: " + std::string(info.Name));
}

int32_t SettingsModel::Number(SettingId id) const {
    switch (Describe(id).Kind) {
    case SettingKind::Text:
    case SettingKind::PathList:
        throw std::invalid_argument("setting holds no number: " + std::string(Describe(id).Name));
    case SettingKind::SmoothingTag:
        return ClampedWhole(SmoothingPercent(), Describe(id).Minimum, Describe(id).Maximum);
    default:
        return SlotOf(id).Number;
    }
}

double SettingsModel::SmoothingPercent() const { return NumericValue(SlotOf(SettingId::WaveAsc).Text); }

bool SettingsModel::SetWholeNumber(SettingId id, double value, bool checkRange) {
    const SettingInfo& info = Describe(id);
    try {
        int32_t whole = info.Kind == SettingKind::Slider || info.Kind == SettingKind::Language ? RoundToInt16(value)
                                                                                             : RoundToInt32(value);
        if (checkRange && !InRange(info, whole)) return false;
        SlotOf(id).Number = whole;
        return true;
    } catch (const RangeError&) {
        return false;
    }
}

void SettingsModel::SetClamped(SettingId id, double value, int32_t minimum, int32_t maximum) {
    SlotOf(id).Number = ClampedWhole(value, minimum, maximum);
}

bool SettingsModel::SetNumber(SettingId id, double value) {
    const SettingInfo& info = Describe(id);
    switch (info.Kind) {
    case SettingKind::Language:
    case SettingKind::Slider:
    case SettingKind::NumberBox:
        return SetWholeNumber(id, value, true);
    case SettingKind::CheckBox:
        SlotOf(id).Number = std::nearbyint(value) != 0 ? 1 : 0;
        return true;
    case SettingKind::DisplayChoice:
        SlotOf(id).Number = value != 0 ? 1 : 0;
        return true;
    case SettingKind::Colour:
        try {
            int32_t colour = RoundToInt32(value);
            if (!IsValidColour(colour)) return false;
            SlotOf(id).Number = colour;
            return true;
        } catch (const RangeError&) {
            return false;
        }
    case SettingKind::SmoothingTag:
        return SetText(id, NumberText(value));
    case SettingKind::Text:
    case SettingKind::PathList:
        return false;
    }
    return false;
}

std::string SettingsModel::Text(SettingId id) const {
    switch (Describe(id).Kind) {
    case SettingKind::Text:
    case SettingKind::SmoothingTag:
        return SlotOf(id).Text;
    case SettingKind::PathList:
        return GetPathPointsText(PathAtZoomOne());
    default:
        return std::to_string(SlotOf(id).Number);
    }
}

bool SettingsModel::SetText(SettingId id, std::string_view text) {
    const SettingInfo& info = Describe(id);
    switch (info.Kind) {
    case SettingKind::Text:
        if (text.find('\0') != std::string_view::npos) return false;
        SlotOf(id).Text = text;
        return true;
    case SettingKind::SmoothingTag: {
        const double value = NumericValue(text);
        const int32_t whole = ClampedWhole(value, info.Minimum, info.Maximum);
        // A text that already names a usable number is kept as it was written ("0012").
        SlotOf(id).Text = std::nearbyint(value) == whole ? std::string(text) : std::to_string(whole);
        return true;
    }
    case SettingKind::NumberBox:
        return SetWholeNumber(id, NumericValue(text), false);
    case SettingKind::PathList:
        if (!text.empty()) ReplacePath(text);
        return true;
    default:
        return SetNumber(id, NumericValue(text));
    }
}

bool SettingsModel::ApplyStoredText(SettingId id, std::string_view text) {
    const SettingInfo& info = Describe(id);
    if (info.Kind != SettingKind::Slider && info.Kind != SettingKind::NumberBox) return SetText(id, text);
    if (info.OutOfRange == StoredOutOfRange::Keep) SetClamped(id, NumericValue(text), INT32_MIN, INT32_MAX);
    else SetClamped(id, NumericValue(text), info.Minimum, info.Maximum);
    return true;
}

void SettingsModel::CommitNumberBox(SettingId id) {
    const SettingInfo& info = Describe(id);
    if (info.Kind != SettingKind::NumberBox) return;
    Slot& slot = SlotOf(id);
    slot.Number = std::clamp(slot.Number, info.Minimum, info.Maximum);
}

void SettingsModel::ReplacePath(std::string_view zoomOneText) {
    PathMarkers fresh;
    bool firstPlaced = SetPathPointsFromText(fresh, zoomOneText);
    if (zoom_ != 1) fresh.ScalePathPoints(zoom_, zoom_);
    if (!firstPlaced) fresh.Move(0, path_.At(0).Left, path_.At(0).Top);
    path_ = std::move(fresh);
}

PathMarkers SettingsModel::PathAtZoomOne() const {
    PathMarkers atOne = path_;
    if (zoom_ != 1) atOne.ScalePathPoints(1 / zoom_, 1 / zoom_);
    return atOne;
}

bool SettingsModel::ZoomTo(double zoom) {
    if (zoom < kMinZoom || zoom > kMaxZoom) return false;
    path_.ScalePathPoints(zoom / zoom_, zoom / zoom_);
    zoom_ = zoom;
    return true;
}

}  // namespace lurvane
