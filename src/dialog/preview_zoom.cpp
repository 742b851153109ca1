#include "dialog/preview_zoom.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "util/text_rules.h"

namespace lurvane {
namespace {

// The whole number nearest `value` within 0..maximum; not a number gives 0, so that no input
// reaches a conversion that the language leaves undefined.
int WholeWithin(double value, int maximum) {
    if (std::isnan(value) || maximum <= 0) return 0;
    return static_cast<int>(std::clamp(std::nearbyint(value), 0.0, static_cast<double>(maximum)));
}

// The scroll value that shows the place `grab` of a preview `previewSize` long; a preview
// without a size has nothing to keep in view and shows its start.
int ScrollValueAt(double grab, double previewSize, int maximum) {
    if (!(previewSize > 0) || !std::isfinite(previewSize)) return 0;
    return WholeWithin(grab / (previewSize / maximum), maximum);
}

}  // namespace

int PreviewScrollMaximum(double zoom) {
    return zoom <= 1 ? 0 : WholeWithin(zoom * 2, std::numeric_limits<int>::max());
}

std::string ZoomLabel(double zoom, std::string_view decimalSign) {
    std::string text = NumberText(zoom);
    if (const std::size_t point = text.find('.'); point != std::string::npos) text.replace(point, 1, decimalSign);
    return text + "x";
}

double PreviewOffset(int value, int maximum, double previewSize, double viewportSize) {
    if (maximum <= 0) return 0;
    return -static_cast<double>(value) * (previewSize - viewportSize) / maximum;
}

double GrabAxis::Step() const {
    return Maximum <= 0 ? 0 : std::nearbyint((PreviewSize - ViewportSize) / Maximum);
}

int GrabAxis::Dragged(double pointer, double& grab, int value) const {
    const int last = std::max(Maximum, 0);
    value = std::clamp(value, 0, last);  // so that a step can neither overflow nor leave the bar
    const double step = Step();
    if (pointer - grab > step) {
        grab = pointer;
        return std::max(value - 1, 0);
    }
    if (pointer - grab < -step) {
        grab = pointer;
        return std::min(value + 1, last);
    }
    return value;
}

int ZoomInScrollValue(double zoom, double oldZoom, double grab, double previewSize, int maximum) {
    if (maximum <= 0) return 0;
    return ScrollValueAt(zoom / oldZoom * grab, previewSize, maximum);
}

int ZoomOutScrollValue(double grab, double previewSize, int maximum) {
    if (maximum <= 1) return 0;
    return ScrollValueAt(grab, previewSize, maximum);
}

}  // namespace lurvane
