#include "settings/settings_model.h"

#include <algorithm>
#include <stdexcept>

#include "util/text_rules.h"

namespace lurvane {
namespace {

bool InRange(const SettingInfo& info, double value) { return value >= info.Minimum && value <= info.Maximum; }

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
        return RoundToInt32(SmoothingPercent());  // the tag was checked to fit when it was taken
    default:
        return SlotOf(id).Number;
    }
}

double SettingsModel::SmoothingPercent() const { return NumericValue(SlotOf(SettingId::WaveAsc).Text); }

bool SettingsModel::SetWholeNumber(SettingId id, double value, bool checkRange) {
    const SettingInfo& info = Describe(id);
    try {
        int32_t whole = info.Kind == SettingKind::Slider || info.Kind == SettingKind::CheckBox ||
                                info.Kind == SettingKind::Language
                            ? RoundToInt16(value)
                            : RoundToInt32(value);
        if (checkRange && !InRange(info, whole)) return false;
        SlotOf(id).Number = whole;
        return true;
    } catch (const RangeError&) {
        return false;
    }
}

bool SettingsModel::SetNumber(SettingId id, double value) {
    const SettingInfo& info = Describe(id);
    switch (info.Kind) {
    case SettingKind::Language:
    case SettingKind::Slider:
    case SettingKind::CheckBox:
    case SettingKind::NumberBox:
        return SetWholeNumber(id, value, true);
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
    case SettingKind::SmoothingTag:
        try {
            if (!InRange(info, RoundToInt32(NumericValue(text)))) return false;
        } catch (const RangeError&) {
            return false;
        }
        SlotOf(id).Text = text;
        return true;
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
    if (Describe(id).Kind == SettingKind::NumberBox) return SetNumber(id, NumericValue(text));
    return SetText(id, text);
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
