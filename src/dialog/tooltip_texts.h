// What the settings dialog's tooltips say: the 22 controls that carry one, in the order they
// are registered, and the lines each tip is made of.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "text/language.h"

namespace lurvane {

enum class TipControl {
    UseSystemTimer,
    HidePathPoints,
    RandomizeBackground,
    WaveDirection,
    WaveCount,
    WaveFreq,
    WaveAmp,
    Framerate,
    LoadPath,
    SavePath,
    ZoomOutButton,
    ZoomInButton,
    WavePreview,
    SmoothingAdjuster,
    DeletePath,
    GrabTool,
    ZoomOutTool,
    ZoomInTool,
    Proportional,
    Maximized,
    RestartSec,
    Size,
};

inline constexpr std::size_t kTipControlCount = 22;

// The tip's lines in the current language joined by CR LF, exactly as the texts break them.
// Missing texts give empty lines; a tip whose every text is missing is the empty text, which
// means "no tip".
std::string ToolTipText(const Language& texts, TipControl control);

}  // namespace lurvane
