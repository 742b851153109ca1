// The in-memory home of every setting: what the settings dialog's controls hold, with their
// ranges. The store and the profile file load into it and save from it, the dialog is a view
// over it, and the saver's snapshot is taken from it.
//
// A refused value (outside the holding control's range, or not fitting the control's number
// type) leaves the old value in place; every setter says whether it took the value. Values
// read from the settings store are not refused for their range but brought into it
// (ApplyStoredText), so that a stored setting never silently turns into the default.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/path_markers.h"
#include "settings/settings_table.h"

namespace lurvane {

class SettingsModel {
public:
    static constexpr double kMinZoom = 1;
    static constexpr double kMaxZoom = 4;
    static constexpr double kZoomStep = 0.5;

    SettingsModel();  // the values a freshly created dialog holds

    // The value of a numeric setting: sliders, check boxes (0 or 1), the language, the display
    // choice (1 stretched, 0 proportional), the colour as a signed 32-bit number, the number
    // boxes, and the smoothing tag's numeric value rounded to a whole number. Texts and the
    // path raise std::invalid_argument.
    int32_t Number(SettingId id) const;

    // Offers a number to a numeric setting. It is rounded (halves to even) to the control's
    // number type; sliders, the language, the colour and the number boxes refuse a value
    // outside their range. Any value that does not round to 0 checks a check box and selects
    // the stretched display. The smoothing tag becomes the decimal text of the value, or "1"
    // when the value is below 1 (see SetText). Texts and the path refuse numbers.
    bool SetNumber(SettingId id, double value);

    // The value in the form the store holds it. The path is given at zoom
    // factor 1, whatever the preview's zoom.
    std::string Text(SettingId id) const;

    // Offers a text, the way the dialog's controls take typed or stored text:
    // - paths: taken as they are (a text holding a NUL is refused);
    // - the smoothing tag: kept unchanged when its numeric value is a whole number from 1 up
    //   (after rounding); a text whose value is below 1 (or holds no number) becomes "1", one
    //   beyond 32 bits the largest 32-bit number. It is never refused;
    // - the number boxes: replaced at once by the whole number it starts with (no range yet,
    //   that comes with CommitNumberBox); a number too large for 32 bits is refused;
    // - the path: replaces the markers by the list (zoom-1 coordinates, scaled to the zoom);
    //   an empty list leaves the path alone;
    // - numeric settings: the text's numeric value goes through SetNumber.
    bool SetText(SettingId id, std::string_view text);

    // Applies a text read from the settings store (Load settings). Like SetText, except that
    // the numeric value of a slider or a number box outside its range is clamped to the range
    // at once; a number box whose stored value is kept (RestartSec) takes any whole number,
    // clamped to 32 bits only.
    bool ApplyStoredText(SettingId id, std::string_view text);

    // Focus loss of a number box: a value below the range becomes the lower bound, one above
    // it the upper bound.
    void CommitNumberBox(SettingId id);

    bool IsChecked(SettingId id) const { return Number(id) != 0; }
    uint32_t BackgroundColour() const { return static_cast<uint32_t>(Number(SettingId::ColorBackground)); }
    double SmoothingPercent() const;  // numeric value of the smoothing tag

    // The profile that belongs to the current picture (the hidden profile path box).
    const std::string& ProfilePath() const { return profilePath_; }
    void SetProfilePath(std::string path) { profilePath_ = std::move(path); }

    // The path markers, in twips of the preview at the current zoom factor.
    PathMarkers& Path() { return path_; }
    const PathMarkers& Path() const { return path_; }
    // Replaces the path by a path point list in zoom-1 coordinates, scaled to the current zoom.
    // Marker 0 keeps its place unless the list's first element moves it; an empty list leaves
    // marker 0 alone.
    void ReplacePath(std::string_view zoomOneText);
    // The markers as they lie at zoom factor 1.
    PathMarkers PathAtZoomOne() const;

    // The preview's zoom, 1 to 4 in steps of one half. Zooming scales the markers with the
    // preview; false (and no scaling) when the zoom is already at its end.
    double ZoomFactor() const { return zoom_; }
    bool ZoomIn() { return ZoomTo(zoom_ + kZoomStep); }
    bool ZoomOut() { return ZoomTo(zoom_ - kZoomStep); }

private:
    struct Slot {
        int32_t Number = 0;
        std::string Text;
    };
    Slot& SlotOf(SettingId id) { return slots_[static_cast<std::size_t>(id)]; }
    const Slot& SlotOf(SettingId id) const { return slots_[static_cast<std::size_t>(id)]; }
    bool SetWholeNumber(SettingId id, double value, bool checkRange);
    void SetClamped(SettingId id, double value, int32_t minimum, int32_t maximum);
    bool ZoomTo(double zoom);

    std::array<Slot, kSettingCount> slots_;
    PathMarkers path_;
    std::string profilePath_;
    double zoom_ = 1;
};

// True for a colour the background swatch can hold: 0x00BBGGRR or a system colour index with
// the top bit set (0x800000nn).
bool IsValidColour(int32_t value);

}  // namespace lurvane
