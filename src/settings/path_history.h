// The path editor's undo and redo: each finished edit (a whole drag, an added or removed point,
// a reset, one keyboard move, a loaded profile) is one step that keeps the path before and
// after it. The markers are kept at the zoom of the edit and scaled to the zoom of the undo, so
// zooming in between neither breaks a step nor counts as one.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "settings/path_markers.h"

namespace lurvane {

class PathHistory {
public:
    // Enough for a long session; the oldest steps go first, so memory stays bounded.
    static constexpr std::size_t kMaxSteps = 200;

    // An edit at `zoom` turned `before` into `after`. An edit that changed nothing is no step;
    // any other drops the steps that could be redone.
    void Record(const PathMarkers& before, const PathMarkers& after, double zoom);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The path as it was before the last step, at `zoom`; nothing when there is no step.
    std::optional<PathMarkers> Undo(double zoom);
    // The path as it was after the step last undone, at `zoom`; nothing when there is none.
    std::optional<PathMarkers> Redo(double zoom);

private:
    struct Step {
        PathMarkers Before;
        PathMarkers After;
        double Zoom;
    };
    std::deque<Step> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
};

}  // namespace lurvane
