#include "dialog/dialog_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "util/text_rules.h"

namespace lurvane {

std::string NumberBoxText(std::string_view typed) {
    constexpr double kLowest = std::numeric_limits<int32_t>::min();
    constexpr double kHighest = std::numeric_limits<int32_t>::max();
    const double value = NumericValue(typed);
    if (std::isnan(value)) return "0";
    return std::to_string(RoundToInt32(std::clamp(value, kLowest, kHighest)));
}

uint32_t PreviewInterval(int32_t framerate) {
    return static_cast<uint32_t>(RoundToInt32(1000.0 / std::max(framerate, 1)));
}

int AdjusterTrack::KnobLeft(double percent) const {
    const double fromStart = TrackWidth / 100.0 * percent;
    const double left = Direction == 1 ? fromStart : TrackWidth - KnobWidth - fromStart;
    const double highest = std::max(TrackWidth - KnobWidth, 0);
    if (std::isnan(left)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(left, 0.0, highest)));
}

int32_t AdjusterTrack::PercentAt(int left) const {
    if (TrackWidth <= 0) return 1;
    const double fromStart = Direction == 1 ? left : TrackWidth - left - KnobWidth;
    // The +1 keeps the value at 1 or more: the wave table divides by it.
    return std::max<int32_t>(1, static_cast<int32_t>(std::floor(100.0 / TrackWidth * fromStart + 1)));
}

int AdjusterTrack::DraggedLeft(int x, int left) const {
    const double wanted = std::nearbyint(x - KnobWidth / 2.0 + left);
    return static_cast<int>(std::clamp(wanted, 0.0, static_cast<double>(std::max(TrackWidth - KnobWidth, 0))));
}

}  // namespace lurvane
