// The live wave plot's pictures, kept. The plot's phase counter cycles over the wave period, so
// one set of wave settings has only as many pictures as the period has steps; drawing the
// anti-aliased curve again on every tick costs far more than putting a kept picture back.
// A picture is kept as each column's run of pixels from its first to its last one that differs
// from the background: the curve is thin, so a picture costs a small part of the surface. The
// store holds at most a fixed number of bytes; a picture beyond it is simply drawn each time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "imaging/surface.h"
#include "waves/wave_table.h"

namespace lurvane {

// What all the pictures of one store share: every wave setting but the phase, the surface's
// size, its background pixel and the scaling the curve is drawn at.
struct PlotLook {
    WaveParams Shape;  // its Counter is not part of the look
    int Width = 0;
    int Height = 0;
    uint32_t Background = 0;
    uint32_t Dpi = 0;
    friend bool operator==(const PlotLook&, const PlotLook&) = default;
};

// Surface pixels from (Left, Top) up to but not including (Right, Bottom).
struct PixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Empty() const { return Left >= Right || Top >= Bottom; }
};

class PlotPictures {
public:
    explicit PlotPictures(std::size_t byteLimit) : byteLimit_(byteLimit) {}

    // Forgets every picture unless they were kept for `look`.
    void Use(PlotLook look);
    // When the picture of `phase` is kept and `surface` still shows the picture last kept or
    // shown: puts it there and returns the part of the surface that changed. Otherwise nothing
    // happens: draw the picture in full and hand it to Keep.
    std::optional<PixelRect> Show(int phase, SurfaceView surface);
    // `surface` shows the picture of `phase`, drawn in full for the look in use; it is kept
    // while the store has room for it.
    void Keep(int phase, SurfaceView surface);

    std::size_t Bytes() const { return bytes_; }

private:
    struct Run {
        int Top = 0;
        int Count = 0;
    };
    struct Picture {
        std::vector<Run> Columns;
        std::vector<uint32_t> Pixels;  // the runs' pixels, column after column
        std::size_t Bytes() const { return Columns.size() * sizeof(Run) + Pixels.size() * sizeof(uint32_t); }
    };

    bool Shows(SurfaceView surface) const;
    void Forget() { shownOn_ = {}; }

    std::size_t byteLimit_;
    std::size_t bytes_ = 0;
    std::optional<PlotLook> look_;
    std::unordered_map<int, Picture> kept_;
    // The runs the surface shows now, and which surface that is.
    std::vector<Run> shown_;
    SurfaceView shownOn_;
};

}  // namespace lurvane
