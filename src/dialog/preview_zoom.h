// The zoomed background preview: the picture box is the zoom factor times the viewport and
// slides under it as two scroll bars say. Every size and place here is in twips along one
// axis; the same rules serve both.
#pragma once

#include <string>
#include <string_view>

namespace lurvane {

// The scroll bars run from 0 to twice the zoom factor, and do not scroll at all at zoom 1
// (nor at a zoom that is not a number).
int PreviewScrollMaximum(double zoom);

// "2.5x": the zoom factor in the user's decimal sign.
std::string ZoomLabel(double zoom, std::string_view decimalSign);

// Where the preview's edge stands in the viewport (0 or negative) for a scroll value: value 0
// shows the start of the picture, the maximum its end.
double PreviewOffset(int value, int maximum, double previewSize, double viewportSize);

// The grab tool: the picture follows the pointer one scroll step at a time.
struct GrabAxis {
    double PreviewSize = 0;
    double ViewportSize = 0;
    int Maximum = 0;

    // The pointer distance that makes one scroll step, in whole twips.
    double Step() const;
    // The scroll value after the pointer moved to `pointer` since `grab`; a step taken moves
    // `grab` to the pointer. Moving right shows more of the picture's left part. Always within
    // 0..Maximum, whatever `value` was.
    int Dragged(double pointer, double& grab, int value) const;
};

// The scroll value that a click with the zoom-in tool at `grab` (twips of the preview before
// the zoom) gives after zooming from `oldZoom` to `zoom`, for the new preview size. Always
// within 0..maximum: a preview without a positive size, and any input that gives no number,
// give 0 (the picture's start).
int ZoomInScrollValue(double zoom, double oldZoom, double grab, double previewSize, int maximum);

// The same for the zoom-out tool; the click's place is not scaled by the zoom ratio.
int ZoomOutScrollValue(double grab, double previewSize, int maximum);

}  // namespace lurvane
