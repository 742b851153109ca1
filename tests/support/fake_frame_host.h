// The saver window as the frame renderer's tests play it: a driven clock, surfaces in memory
// and a log of what was asked.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "imaging/surface.h"
#include "waves/bounding_box.h"
#include "waves/frame_renderer.h"

namespace lurvane {

// The wave buffer a saver window cuts from `picture`, which fills its screen: the clean pixels of
// the part of `area` on the screen.
inline PixelBuffer WaveBufferOf(const PixelBuffer& picture, const BoundingBox& area) {
    const AreaPart part = OnScreenPart(area, picture.Width(), picture.Height());
    PixelBuffer buffer(part.Width(), part.Height());
    for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x)
            buffer.View().Row(y)[x] = picture.Pixels()[static_cast<size_t>(area.MinY + part.Top + y) *
                                                            static_cast<size_t>(picture.Width()) +
                                                        static_cast<size_t>(area.MinX + part.Left + x)];
    return buffer;
}

// Plays the saver window: a driven clock, surfaces in memory and a log of what was asked.
class FakeHost : public FrameHost {
public:
    FakeHost() : visible(40, 30, 0x00AAAAAA), waveBuffer(10, 10) {
        for (size_t i = 0; i < waveBuffer.Pixels().size(); ++i) waveBuffer.Pixels()[i] = static_cast<uint32_t>(i);
    }

    double Now() override { return now; }
    bool HasParent() override { return hasParent; }
    void SetFpsLabel(bool shown, const std::string& text) override {
        labelVisible = shown;
        if (!text.empty()) captions.push_back(text);
    }
    SurfaceView Visible() override { return visible.View(); }
    SurfaceView WaveBuffer() override { return waveBuffer.View(); }
    void DrawNotice(const std::string& text) override { notices.push_back(text); }
    BoundingBox EraseNoticeStrip() override {
        ++erases;
        return {};
    }
    void Present(std::span<const BoundingBox> dirty) override {
        // The smallest box holding all that was presented.
        lastDirty = {INT16_MAX, INT16_MAX, INT16_MIN, INT16_MIN};
        for (const BoundingBox& box : dirty)
            lastDirty = {std::min(lastDirty.MinX, box.MinX), std::min(lastDirty.MinY, box.MinY),
                         std::max(lastDirty.MaxX, box.MaxX), std::max(lastDirty.MaxY, box.MaxY)};
        if (onPresent) onPresent();
    }

    double now = 1000.0;
    bool hasParent = true;
    PixelBuffer visible, waveBuffer;
    bool labelVisible = false;
    std::vector<std::string> captions, notices;
    int erases = 0;
    BoundingBox lastDirty;
    std::function<void()> onPresent;
};

}  // namespace lurvane
