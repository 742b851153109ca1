// The per-frame pixel work: the shifted rows of the wave area, only inside the path, straight
// into the visible surface. One pass of span copies replaces "shift every row into a wave
// picture, copy it onto the screen, then put the outside back through a mask".
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/surface.h"
#include "waves/engine_settings.h"
#include "waves/path_mask.h"

namespace lurvane {

// What the wave buffer of the whole area held where the area lay off the screen: nothing was
// ever copied there, so those pixels kept the black of a fresh or cleared surface. A shifted row
// can take its source from there.
inline constexpr uint32_t kOffScreenPixel = 0x00000000;

// For every row y of the mask's part and every run [x0, x1) of that row, copies pixels x0..x1-1
// of the unshifted area row rows[part.Top + y] to the visible surface, where the area's top-left
// corner lies at (originX, originY). `waveBuffer` holds the unshifted pixels of the mask's part
// (its pixel (0, 0) is the part's top-left pixel); area rows it does not hold are off the screen
// and give kOffScreenPixel. Rows past the table (area row > 4000) are not shifted, and a table
// entry outside the area is taken as the nearest row of it. Everything is clipped to both
// surfaces, so any origin and any sizes are safe. Allocates nothing.
void ComposeFrame(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                  int originX, int originY);

// What a row of the mask's part showed when it was last composed: the wave-buffer row it was
// copied from, kOffScreenRow when it was filled with kOffScreenPixel, or kRowNotShown when the
// visible surface no longer holds what it was composed into.
inline constexpr int32_t kOffScreenRow = -1;
inline constexpr int32_t kRowNotShown = -2;

// Rows Top to Bottom - 1 and columns Left to Right - 1 of the visible surface.
struct RowBand {
    int Top = 0, Bottom = 0;
    int Left = 0, Right = 0;
    friend bool operator==(const RowBand&, const RowBand&) = default;
};

// Rows First to End - 1 of the mask's part.
struct PartRows {
    int64_t First = 0, End = INT64_MAX;
};

// ComposeFrame for only the rows of the mask's part in `only` whose source differs from `shown`
// (one entry per row of the mask's part), which it then updates: a row showing the same
// wave-buffer row inside the same runs shows the same pixels again. The visible rows it changed
// go to `bands`, top to bottom, each as wide as the runs it wrote (narrower than the area where
// the path is); two bands separated by at most `mergeGap` unchanged rows become one. With every
// entry kRowNotShown the pixels are exactly ComposeFrame's. The surfaces and the origin must be
// those of the frame `shown` describes, or a slice of its rows: a surface whose row 0 stands for
// visible row `top`, with the origin `top` rows higher. A frame composed a slice of rows at a time
// can show each slice's rows while they are still in the cache.
void ComposeChangedRows(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                        int originX, int originY, std::span<int32_t> shown, int mergeGap,
                        std::vector<RowBand>& bands, PartRows only = {});

// For a slice composed by ComposeChangedRows without merging (`slice`, whose row 0 is visible
// row `top`, and its `bands` in visible rows): copies each band's pixels outside the runs of its
// rows from `visible`, which holds them (it lacks only the runs), so that the whole band can be
// shown from the slice. The other arguments are those of the compose.
void FillAroundRuns(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, SurfaceView slice,
                    int originX, int originY, int top, std::span<const RowBand> bands);

// Visible rows that show consecutive wave-buffer rows: one copy from the wave buffer, from its
// pixel (SourceLeft, SourceTop), clipped to the runs of the path.
struct ShiftedRows {
    RowBand Target;
    int SourceLeft = 0, SourceTop = 0;
    friend bool operator==(const ShiftedRows&, const ShiftedRows&) = default;
};

// The visible pixels of the mask's runs, one band per run of each row, top to bottom.
void PlacedRuns(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, int originX, int originY,
                std::vector<RowBand>& runs);

// ComposeChangedRows without composing, for a host that copies from the wave buffer itself
// through the path's runs: the changed rows whose source lies in the wave buffer go to
// `blocks`, consecutive rows with consecutive sources in one block as wide as their runs, and
// their entries in `shown` are updated. Rows whose source is off the screen are left to
// ComposeChangedRows; returns whether it left any.
bool TakeShiftedRows(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                     int originX, int originY, std::span<int32_t> shown, std::vector<ShiftedRows>& blocks);

// ComposeFrame for the rows of the mask's part whose entry in `shown` is not kRowNotShown, each
// from the wave-buffer row it names: the pixels the screen shows after the frames that `shown`
// describes.
void ComposeShownRows(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, int originX, int originY,
                      std::span<const int32_t> shown);

}  // namespace lurvane
