#include "dialog/preview_zoom.h"

#include <algorithm>
#include <cmath>

#include "util/text_rules.h"

namespace lurvane {

int PreviewScrollMaximum(double zoom) { return zoom <= 1 ? 0 : static_cast<int>(std::lround(zoom * 2)); }

std::string ZoomLabel(double zoom, std::string_view decimalSign) {
    std::string text = NumberText(zoom);
    if (const std::size_t point = text.find('.'); point != std::string::npos) text.replace(point, 1, decimalSign);
    return text + "x";
}

double PreviewOffset(int value, int maximum, double previewSize, double viewportSize) {
    if (maximum <= 0) return 0;
    return -value * (previewSize - viewportSize) / maximum;
}

double GrabAxis::Step() const {
    return Maximum <= 0 ? 0 : std::nearbyint((PreviewSize - ViewportSize) / Maximum);
}

int GrabAxis::Dragged(double pointer, double& grab, int value) const {
    const double step = Step();
    if (pointer - grab > step) {
        grab = pointer;
        return std::max(value - 1, 0);
    }
    if (pointer - grab < -step) {
        grab = pointer;
        return std::min(value + 1, Maximum);
    }
    return value;
}

int ZoomInScrollValue(double zoom, double oldZoom, double grab, double previewSize, int maximum) {
    if (maximum <= 0) return 0;
    const double value = std::nearbyint(zoom / oldZoom * grab / (previewSize / maximum));
    return static_cast<int>(std::clamp(value, 0.0, static_cast<double>(maximum)));
}

int ZoomOutScrollValue(double grab, double previewSize, int maximum) {
    if (maximum <= 1) return 0;
    const double value = std::nearbyint(grab / (previewSize / maximum));
    return static_cast<int>(std::clamp(value, 0.0, static_cast<double>(maximum)));
}

}  // namespace lurvane
