#include "settings/path_history.h"

namespace lurvane {
namespace {

PathMarkers AtZoom(PathMarkers markers, double from, double to) {
    if (from != to) markers.ScalePathPoints(to / from, to / from);
    return markers;
}

}  // namespace

void PathHistory::Record(const PathMarkers& before, const PathMarkers& after, double zoom) {
    if (before.Positions() == after.Positions()) return;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back({before, after, zoom});
    if (steps_.size() > kMaxSteps) steps_.pop_front();
    done_ = steps_.size();
}

std::optional<PathMarkers> PathHistory::Undo(double zoom) {
    if (!CanUndo()) return std::nullopt;
    const Step& step = steps_[--done_];
    return AtZoom(step.Before, step.Zoom, zoom);
}

std::optional<PathMarkers> PathHistory::Redo(double zoom) {
    if (!CanRedo()) return std::nullopt;
    const Step& step = steps_[done_++];
    return AtZoom(step.After, step.Zoom, zoom);
}

}  // namespace lurvane
