// The wave-smoothing adjuster: a knob (picAdjust) that slides along a track (Picture7). Its
// place stands for the smoothing percentage, measured from the end the waves start at. The
// value changes only while the knob is dragged with the left button, or moved with the arrow
// keys while it has the focus; hovering changes nothing.
#pragma once

#include <windows.h>

#include <functional>

#include "dialog/dialog_rules.h"
#include "dialog/win32/surface_window.h"

namespace lurvane::win32 {

class SmoothingAdjuster;

class SmoothingKnob final : public SurfaceWindow<SmoothingKnob> {
public:
    explicit SmoothingKnob(SmoothingAdjuster& owner) : owner_(owner) {}
    bool Create(HWND track, int id, const RECT& place);
    void Redraw();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    SmoothingAdjuster& owner_;
    bool dragging_ = false;
};

class SmoothingAdjuster final : public SurfaceWindow<SmoothingAdjuster> {
public:
    // Told the new percentage whenever the user moves the knob.
    using Changed = std::function<void(int32_t percent)>;

    explicit SmoothingAdjuster(Changed changed) : changed_(std::move(changed)), knob_(*this) {}

    // The track over `place` with the id `trackId`, the knob inside it with `knobId`.
    bool Create(HWND parent, int trackId, int knobId, const RECT& place);
    // Sizes the track; the knob keeps its width in proportion to the track's height.
    void PlaceTrack(const RECT& place);
    // Puts the knob where `percent` stands for, measured from the end of `direction`.
    void Show(int direction, double percent);

    HWND Knob() const { return knob_.Window(); }
    void Redraw();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleSurfaceMessage(message, wParam, lParam);
    }

private:
    friend class SmoothingKnob;
    AdjusterTrack Geometry() const;
    int KnobLeft() const;
    void MoveKnobTo(int left);  // by the user: reports the new percentage

    Changed changed_;
    SmoothingKnob knob_;
    int direction_ = 0;
    double percent_ = 1;
};

}  // namespace lurvane::win32
