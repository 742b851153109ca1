#include "settings/path_markers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "util/text_rules.h"

namespace lurvane {
namespace {

constexpr double kHalf = PathMarkers::kMarkerSize / 2.0;
constexpr int kMaxListElements = 1000;

bool FitsInt16(double value) {
    double rounded = std::nearbyint(value);
    return rounded >= std::numeric_limits<int16_t>::min() && rounded <= std::numeric_limits<int16_t>::max();
}

// Saturating, so that a marker pushed out of range still gives a readable list.
int16_t ClampToInt16(float value) {
    double rounded = std::nearbyint(static_cast<double>(value));
    if (!(rounded >= std::numeric_limits<int16_t>::min())) return std::numeric_limits<int16_t>::min();
    if (rounded > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(rounded);
}

}  // namespace

MarkerCentre PathMarkers::Centre(std::size_t index) const {
    const MarkerPosition& marker = markers_.at(index);
    return {marker.Left + kHalf, marker.Top + kHalf};
}

bool PathMarkers::Move(std::size_t index, float left, float top) {
    if (index >= markers_.size()) return false;
    markers_[index] = {left, top};
    return true;
}

bool PathMarkers::DragTo(std::size_t index, double x, double y, double width, double height) {
    if (index >= markers_.size()) return false;
    const auto keptOn = [](double pointer, double extent) {
        return static_cast<float>(std::nearbyint(std::clamp(pointer - kHalf, -kHalf, extent - kHalf)));
    };
    markers_[index] = {keptOn(x, width), keptOn(y, height)};
    return true;
}

bool PathMarkers::MoveBy(std::size_t index, double dx, double dy, double width, double height) {
    if (index >= markers_.size()) return false;
    const MarkerCentre centre = Centre(index);
    return DragTo(index, centre.X + dx, centre.Y + dy, width, height);
}

bool PathMarkers::AddPointAfter(std::size_t index) {
    if (index + 1 >= markers_.size()) return false;
    const MarkerCentre from = Centre(index), to = Centre(index + 1);
    return AddPointOnSegment(static_cast<float>((from.X + to.X) / 2), static_cast<float>((from.Y + to.Y) / 2));
}

void PathMarkers::AddPathPoint(float x, float y) { markers_.push_back({x, y}); }

bool PathMarkers::InsertPathPoint(std::size_t index, float x, float y) {
    if (index > markers_.size()) return false;
    markers_.insert(markers_.begin() + static_cast<std::ptrdiff_t>(index),
                    {static_cast<float>(x - kHalf), static_cast<float>(y - kHalf)});
    return true;
}

bool PathMarkers::RemovePathPoint(std::size_t index) {
    if (index >= markers_.size() || markers_.size() == 1) return false;
    markers_.erase(markers_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void PathMarkers::ClearPathPoints() { markers_.resize(1); }

void PathMarkers::ScalePathPoints(double factorX, double factorY) {
    for (MarkerPosition& marker : markers_) {
        marker.Left = static_cast<float>((marker.Left + kHalf) * factorX - kHalf);
        marker.Top = static_cast<float>((marker.Top + kHalf) * factorY - kHalf);
    }
}

bool PathMarkers::AddPointOnSegment(float px, float py) {
    for (std::size_t i = 1; i < markers_.size(); ++i) {
        MarkerCentre a = Centre(i - 1);
        MarkerCentre b = Centre(i);
        double ax = std::nearbyint(a.X), ay = std::nearbyint(a.Y);
        double bx = std::nearbyint(b.X), by = std::nearbyint(b.Y);
        double minX = std::fmin(ax, bx), maxX = std::fmax(ax, bx);
        double minY = std::fmin(ay, by), maxY = std::fmax(ay, by);
        if (minX < px && px < maxX && minY < py && py < maxY) return InsertPathPoint(i, px, py);
    }
    return false;
}

bool PathMarkers::RemovePointKeepingThree(std::size_t index) {
    if (markers_.size() == 3) return false;
    return RemovePathPoint(index);
}

void PathMarkers::ResetToThreePoints() {
    if (markers_.size() > 3) markers_.resize(3);
}

std::string GetPathPointsText(const PathMarkers& markers) {
    std::string text;
    for (const MarkerPosition& marker : markers.Positions()) {
        if (!text.empty()) text += ';';
        text += std::to_string(ClampToInt16(marker.Left));
        text += ',';
        text += std::to_string(ClampToInt16(marker.Top));
    }
    return text;
}

bool SetPathPointsFromText(PathMarkers& markers, std::string_view text) {
    bool firstPlaced = false;
    // One walk along the ";"-separated elements; the position after the last one ends it.
    std::size_t start = 0;
    for (int n = 1; n <= kMaxListElements && start < text.size(); ++n) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string_view element = text.substr(start, end - start);
        start = end + 1;
        if (element.empty()) continue;
        double x = NumericValue(ParseComma(element, 1));
        double y = NumericValue(ParseComma(element, 2));
        if (!FitsInt16(x) || !FitsInt16(y)) continue;
        if (n == 1) firstPlaced = markers.Move(0, static_cast<float>(x), static_cast<float>(y));
        else markers.AddPathPoint(static_cast<float>(x), static_cast<float>(y));
    }
    return firstPlaced;
}

}  // namespace lurvane
