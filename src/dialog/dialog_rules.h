// The settings dialog's small rules that need no window: the number boxes, the live plot's
// timer interval and the smoothing adjuster's geometry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lurvane {

// What a number box shows for the typed text: the decimal text of its numeric value rounded
// to a whole number (halves to even), so "12abc" shows 12 and "abc" 0. A value beyond 32 bits
// shows the nearest 32-bit number rather than failing.
std::string NumberBoxText(std::string_view typed);

// The live plot's timer interval for a frame rate: 1000 / rate milliseconds, halves to even.
// A rate below 1 counts as 1.
uint32_t PreviewInterval(int32_t framerate);

// The smoothing adjuster: a knob `knobWidth` wide that slides along a track `trackWidth` wide
// (pixels). Direction 1 measures the smoothing from the left end, direction 0 from the right.
struct AdjusterTrack {
    int TrackWidth = 0;
    int KnobWidth = 0;
    int Direction = 0;

    // Where the knob stands for a smoothing percentage, kept on the track.
    int KnobLeft(double percent) const;
    // The whole percentage, 1 or more, that a knob standing at `left` means.
    int32_t PercentAt(int left) const;
    // Where a drag puts the knob when the pointer is at `x` inside a knob that stands at
    // `left`: the knob's centre follows the pointer, and the knob stays on the track.
    int DraggedLeft(int x, int left) const;
};

}  // namespace lurvane
