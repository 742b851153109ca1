#include "dialog/tooltip_texts.h"

#include <initializer_list>
#include <string_view>

namespace lurvane {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

std::string ToolTipText(const Language& texts, TipControl control) {
    using enum TextId;
    auto join = [&texts](std::initializer_list<TextId> ids) {
        std::string text;
        for (TextId id : ids) {
            if (id != *ids.begin()) text += kLineBreak;
            text += texts.GetLangString(id);
        }
        return text;
    };
    switch (control) {
    case TipControl::UseSystemTimer:
        // The one tip that has no translation: it reads the same in every language.
        return "Bei Verwendung des Systemtimers kann die eingestellte Framerate u.U.\r\n"
               "nicht genau erreicht werden. Der Vorteil ist jedoch, da\xC3\x9F je nach \r\n"
               "Anzahl der Schneeflocken mehr oder weniger CPU-Zeit f\xC3\xBCr andere\r\n"
               "Programme \xC3\xBC" "brigbleibt.";
    case TipControl::HidePathPoints: return join({TipHidePathPoints1, TipHidePathPoints2});
    case TipControl::RandomizeBackground: return join({TipRandomize1, TipRandomize2});
    case TipControl::WaveDirection: return join({TipWaveDirection1, TipWaveDirection2});
    case TipControl::WaveCount: return join({TipWaveCount});
    case TipControl::WaveFreq: return join({TipWaveFrequency1, TipWaveFrequency2});
    case TipControl::WaveAmp: return join({TipWaveAmplitude});
    case TipControl::Framerate: return join({TipFramerate1, TipFramerate2, TipFramerate3});
    case TipControl::LoadPath: return join({TipLoadProfile, TipProfileContents1, TipProfileContents2});
    case TipControl::SavePath: return join({TipSaveProfile, TipProfileContents1, TipProfileContents2});
    case TipControl::ZoomOutButton: return join({TipZoomOut1, TipZoomOut2});
    case TipControl::ZoomInButton: return join({TipZoomIn1, TipZoomIn2});
    case TipControl::WavePreview: return join({TipWavePreview});
    case TipControl::SmoothingAdjuster: return join({TipSmoothing1, TipSmoothing2});
    case TipControl::DeletePath: return join({TipResetPath1, TipResetPath2, TipResetPath3});
    case TipControl::GrabTool: return join({TipGrab1, TipGrab2});
    // The zoom tools' texts are numbered the other way round from their names.
    case TipControl::ZoomOutTool: return join({TipZoomInTool1, TipZoomInTool2});
    case TipControl::ZoomInTool: return join({TipZoomOutTool1, TipZoomOutTool2});
    case TipControl::Proportional: return join({TipProportional});
    case TipControl::Maximized: return join({TipMaximized});
    case TipControl::RestartSec: return join({TipRestart1, TipRestart2});
    case TipControl::Size: return join({TipSize1, TipSize2, TipSize3});
    }
    return {};
}

}  // namespace lurvane
