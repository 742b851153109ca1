// The path as the dialog holds it: square markers on the background preview, in twips of the
// preview, in path order. Marker 0 always exists; a marker stands for its centre.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lurvane {

// The background preview at zoom factor 1, which stands for the whole displayed picture.
inline constexpr double kPreviewWidthTwips = 4995;
inline constexpr double kPreviewHeightTwips = 3735;

struct MarkerPosition {
    float Left = 0;  // twips, single precision as the preview keeps them
    float Top = 0;
    friend bool operator==(const MarkerPosition&, const MarkerPosition&) = default;
};

struct MarkerCentre {
    double X = 0;
    double Y = 0;
};

class PathMarkers {
public:
    static constexpr float kMarkerSize = 195;  // width and height of every marker, twips

    PathMarkers() : markers_(1) {}  // marker 0 at the preview's top-left corner

    std::size_t Count() const { return markers_.size(); }
    const std::vector<MarkerPosition>& Positions() const { return markers_; }
    MarkerPosition At(std::size_t index) const { return markers_.at(index); }
    MarkerCentre Centre(std::size_t index) const;

    // Puts the top-left corner of an existing marker at (left, top); false for a bad index.
    bool Move(std::size_t index, float left, float top);

    // A drag with the pointer at (x, y), twips of a preview `width` x `height`: the marker's
    // centre jumps under the pointer, its corner rounded to whole twips (halves to even), and
    // the centre stays on the preview. The place depends only on the pointer, so many small
    // moves never drift. False for a bad index.
    bool DragTo(std::size_t index, double x, double y, double width, double height);

    // A keyboard move by (dx, dy) twips: where a drag of the marker's centre to there puts it,
    // so its corner keeps whole twips and its centre stays on the preview. False for a bad index.
    bool MoveBy(std::size_t index, double dx, double dy, double width, double height);

    // Appends a marker whose top-left corner is at (x, y).
    void AddPathPoint(float x, float y);

    // Inserts a point centred at (x, y) so that it gets `index` (0 to Count()); the markers
    // from there on move one place along. False, and nothing changed, for a larger index.
    bool InsertPathPoint(std::size_t index, float x, float y);

    // Removes the point at `index`; the later points move one place down. False, and nothing
    // changed, for an index past the end or when only marker 0 is left.
    bool RemovePathPoint(std::size_t index);

    // Removes every marker but marker 0, which keeps its place.
    void ClearPathPoints();

    // Scales every marker centre about the preview's origin; no rounding.
    void ScalePathPoints(double factorX, double factorY);

    // The "Add point" rule for a right-click at (px, py): the point goes onto the first
    // segment, in path order, between consecutive markers whose centres (rounded to whole
    // twips) span a rectangle that holds the click strictly inside. The closing segment from
    // the last marker back to marker 0 is never offered. False when no segment qualifies.
    bool AddPointOnSegment(float px, float py);

    // The Insert key on marker `index`: the "Add point" rule for a click in the middle of the
    // segment from that marker to the next. The last marker has no such segment, as the closing
    // one is never offered. False when no point was added.
    bool AddPointAfter(std::size_t index);

    // The "Remove point" rule: a path of exactly three points keeps them all. False when the
    // point was not removed (three points, or no such point).
    bool RemovePointKeepingThree(std::size_t index);

    // The reset button: a path of more than three points keeps only its first three.
    void ResetToThreePoints();

private:
    std::vector<MarkerPosition> markers_;
};

// The path point list text: "x,y" per marker (its top-left corner, rounded to whole numbers
// with halves to even) joined by ";". A coordinate beyond the 16-bit range is written as the
// nearest 16-bit number, so the text can always be read back.
std::string GetPathPointsText(const PathMarkers& markers);

// Applies a path point list text: element 1 moves marker 0, every later non-empty element
// appends a marker; empty elements are skipped, so a text starting with ";" leaves marker 0 in
// place. At most 1000 elements are read. An element whose coordinates do not fit 16 bits is
// skipped. The existing markers are not removed. True when marker 0 was moved.
bool SetPathPointsFromText(PathMarkers& markers, std::string_view text);

}  // namespace lurvane
