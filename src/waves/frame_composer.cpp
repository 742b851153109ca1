#include "waves/frame_composer.h"

#include <algorithm>
#include <cstring>

namespace lurvane {
namespace {

// Where the mask's part lands on the visible surface and which of its rows and columns show.
struct Placement {
    int64_t Ox = 0, Oy = 0;  // where pixel (0, 0) of the part lands
    int64_t FirstRow = 0, EndRow = 0, FirstColumn = 0, EndColumn = 0;
};

Placement Place(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, int originX, int originY) {
    const AreaPart& part = mask.Part();
    Placement at;
    // 64-bit so that no origin, however far off, can overflow the clipping sums.
    at.Ox = int64_t{originX} + part.Left;
    at.Oy = int64_t{originY} + part.Top;
    at.FirstRow = std::max<int64_t>(0, -at.Oy);
    at.EndRow = std::min<int64_t>(mask.Height(), visible.Height - at.Oy);
    at.FirstColumn = std::max<int64_t>(0, -at.Ox);
    at.EndColumn = std::min<int64_t>(waveBuffer.Width, visible.Width - at.Ox);
    return at;
}

// The wave-buffer row that row y of the part shows, or kOffScreenRow.
int32_t SourceRow(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, int64_t y) {
    const int64_t areaRow = mask.Part().Top + y;
    int64_t source = areaRow < kWaveTableSize ? rows[static_cast<size_t>(areaRow)] : areaRow;
    source = std::clamp<int64_t>(source, 0, mask.AreaHeight() - 1) - mask.Part().Top;
    return source >= 0 && source < waveBuffer.Height ? static_cast<int32_t>(source) : kOffScreenRow;
}

// Copies `count` pixels in blocks of 64 bytes through registers rather than with one memcpy:
// for copies of a few kilobytes the C library's memcpy takes the processor's string move, which
// on the AMD machine measured here ran at a third of its speed whenever source and destination
// were not equally aligned, and here they mostly are not (the wave buffer is narrower than the
// screen, and a row's shift moves the source). The blocks keep their speed at any alignment.
struct FourPixels {
    uint32_t Pixel[4];  // one vector register
};

void CopyPixels(uint32_t* to, const uint32_t* from, size_t count) {
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        // All four loads before the stores, each block whole, so that the compiler keeps them
        // in registers (an array of 64 bytes it also wrote to the stack).
        FourPixels a, b, c, d;
        std::memcpy(&a, from + i, sizeof a);
        std::memcpy(&b, from + i + 4, sizeof b);
        std::memcpy(&c, from + i + 8, sizeof c);
        std::memcpy(&d, from + i + 12, sizeof d);
        std::memcpy(to + i, &a, sizeof a);
        std::memcpy(to + i + 4, &b, sizeof b);
        std::memcpy(to + i + 8, &c, sizeof c);
        std::memcpy(to + i + 12, &d, sizeof d);
    }
    std::memcpy(to + i, from + i, (count - i) * sizeof(uint32_t));
}

// Visible columns First to End - 1; empty when First >= End.
struct Columns {
    int64_t First = 0, End = 0;
};

// The visible columns of a run, clipped to the wave buffer and the visible surface.
Columns VisibleColumns(const RowSpan& span, const Placement& at) {
    return {std::max<int64_t>(span.X0, at.FirstColumn) + at.Ox, std::min<int64_t>(span.X1, at.EndColumn) + at.Ox};
}

// Copies the runs of row y from wave-buffer row `source`; returns the visible columns from the
// first to the last pixel written.
Columns ComposeRow(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, const Placement& at, int64_t y,
                   int32_t source) {
    const uint32_t* from = source != kOffScreenRow ? waveBuffer.Row(source) : nullptr;
    uint32_t* to = visible.Row(static_cast<int>(y + at.Oy));
    Columns wrote{0, 0};
    for (const RowSpan& span : mask.Row(static_cast<int>(y))) {
        const Columns run = VisibleColumns(span, at);
        if (run.First >= run.End) continue;
        const size_t count = static_cast<size_t>(run.End - run.First);
        if (from != nullptr) CopyPixels(to + run.First, from + (run.First - at.Ox), count);
        else std::fill(to + run.First, to + run.End, kOffScreenPixel);
        if (wrote.First >= wrote.End) wrote.First = run.First;
        wrote.End = run.End;
    }
    return wrote;
}

// The visible columns of row y's runs, from the first pixel to the last.
Columns RunColumns(const PathMask& mask, const Placement& at, int64_t y) {
    Columns columns{0, 0};
    for (const RowSpan& span : mask.Row(static_cast<int>(y))) {
        const Columns run = VisibleColumns(span, at);
        if (run.First >= run.End) continue;
        if (columns.First >= columns.End) columns.First = run.First;
        columns.End = run.End;
    }
    return columns;
}

}  // namespace

void ComposeFrame(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                  int originX, int originY) {
    if (waveBuffer.Empty() || visible.Empty()) return;
    const Placement at = Place(mask, waveBuffer, visible, originX, originY);
    for (int64_t y = at.FirstRow; y < at.EndRow; ++y)
        ComposeRow(mask, waveBuffer, visible, at, y, SourceRow(mask, rows, waveBuffer, y));
}

void FillAroundRuns(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, SurfaceView slice,
                    int originX, int originY, int top, std::span<const RowBand> bands) {
    if (waveBuffer.Empty() || visible.Empty() || slice.Empty()) return;
    const Placement at = Place(mask, waveBuffer, visible, originX, originY);
    for (const RowBand& band : bands) {
        const int64_t left = std::max(band.Left, 0), right = std::min({band.Right, visible.Width, slice.Width});
        const int end = std::min({band.Bottom, top + slice.Height, visible.Height});
        for (int row = std::max({band.Top, top, 0}); row < end; ++row) {
            const uint32_t* from = visible.Row(row);
            uint32_t* to = slice.Row(row - top);
            auto fill = [&](int64_t x0, int64_t x1) {
                if (x0 < x1) CopyPixels(to + x0, from + x0, static_cast<size_t>(x1 - x0));
            };
            int64_t x = left;
            const int64_t y = row - at.Oy;
            if (y >= 0 && y < mask.Height())
                for (const RowSpan& span : mask.Row(static_cast<int>(y))) {
                    const Columns run = VisibleColumns(span, at);
                    if (run.First >= run.End) continue;
                    fill(x, std::min(run.First, right));
                    x = std::max(x, run.End);
                }
            fill(x, right);
        }
    }
}

void ComposeShownRows(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, int originX, int originY,
                      std::span<const int32_t> shown) {
    if (waveBuffer.Empty() || visible.Empty()) return;
    const Placement at = Place(mask, waveBuffer, visible, originX, originY);
    const int64_t end = std::min<int64_t>(at.EndRow, static_cast<int64_t>(shown.size()));
    for (int64_t y = at.FirstRow; y < end; ++y) {
        const int32_t source = shown[static_cast<size_t>(y)];
        if (source == kOffScreenRow || (source >= 0 && source < waveBuffer.Height))
            ComposeRow(mask, waveBuffer, visible, at, y, source);
    }
}

void PlacedRuns(const PathMask& mask, SurfaceView waveBuffer, SurfaceView visible, int originX, int originY,
                std::vector<RowBand>& runs) {
    runs.clear();
    if (waveBuffer.Empty() || visible.Empty()) return;
    const Placement at = Place(mask, waveBuffer, visible, originX, originY);
    for (int64_t y = at.FirstRow; y < at.EndRow; ++y) {
        const int row = static_cast<int>(y + at.Oy);
        for (const RowSpan& span : mask.Row(static_cast<int>(y))) {
            const Columns run = VisibleColumns(span, at);
            if (run.First < run.End)
                runs.push_back({row, row + 1, static_cast<int>(run.First), static_cast<int>(run.End)});
        }
    }
}

bool TakeShiftedRows(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                     int originX, int originY, std::span<int32_t> shown, std::vector<ShiftedRows>& blocks) {
    blocks.clear();
    if (waveBuffer.Empty() || visible.Empty()) return false;
    const Placement at = Place(mask, waveBuffer, visible, originX, originY);
    const int64_t end = std::min<int64_t>(at.EndRow, static_cast<int64_t>(shown.size()));
    bool leftOver = false;
    for (int64_t y = at.FirstRow; y < end; ++y) {
        const int32_t source = SourceRow(mask, rows, waveBuffer, y);
        if (shown[static_cast<size_t>(y)] == source) continue;
        if (source == kOffScreenRow) {
            leftOver = true;
            continue;
        }
        shown[static_cast<size_t>(y)] = source;
        const Columns runs = RunColumns(mask, at, y);
        if (runs.First >= runs.End) continue;
        const int row = static_cast<int>(y + at.Oy);
        const int left = static_cast<int>(runs.First), right = static_cast<int>(runs.End);
        if (!blocks.empty()) {
            ShiftedRows& last = blocks.back();
            if (last.Target.Bottom == row && last.SourceTop + (row - last.Target.Top) == source) {
                const int newLeft = std::min(last.Target.Left, left);
                last.SourceLeft -= last.Target.Left - newLeft;
                last.Target = {last.Target.Top, row + 1, newLeft, std::max(last.Target.Right, right)};
                continue;
            }
        }
        blocks.push_back({{row, row + 1, left, right}, static_cast<int>(left - at.Ox), source});
    }
    return leftOver;
}

void ComposeChangedRows(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                        int originX, int originY, std::span<int32_t> shown, int mergeGap,
                        std::vector<RowBand>& bands, PartRows only) {
    bands.clear();
    if (waveBuffer.Empty() || visible.Empty()) return;
    const Placement at = Place(mask, waveBuffer, visible, originX, originY);
    const int64_t first = std::max(at.FirstRow, only.First), end = std::min(at.EndRow, only.End);
    for (int64_t y = first; y < end; ++y) {
        const int32_t source = SourceRow(mask, rows, waveBuffer, y);
        const bool remembered = static_cast<size_t>(y) < shown.size();
        if (remembered && shown[static_cast<size_t>(y)] == source) continue;
        if (remembered) shown[static_cast<size_t>(y)] = source;
        const Columns wrote = ComposeRow(mask, waveBuffer, visible, at, y, source);
        if (wrote.First >= wrote.End) continue;
        const int row = static_cast<int>(y + at.Oy);
        const int left = static_cast<int>(wrote.First), right = static_cast<int>(wrote.End);
        if (!bands.empty() && row - bands.back().Bottom <= mergeGap) {
            RowBand& band = bands.back();
            band = {band.Top, row + 1, std::min(band.Left, left), std::max(band.Right, right)};
        } else {
            bands.push_back({row, row + 1, left, right});
        }
    }
}

}  // namespace lurvane
