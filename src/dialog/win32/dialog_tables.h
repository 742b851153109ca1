// The settings dialog's tables: which control holds each setting, which text each caption
// shows and which control each tooltip belongs to. Loading, OK and a language change are
// loops over them.
#pragma once

#include <array>

#include "dialog/tooltip_texts.h"
#include "resource.h"
#include "settings/settings_model.h"
#include "text/text_id.h"

namespace lurvane::win32 {

// How a control holds its setting.
enum class Holder {
    LanguageMenu,  // the check mark in the language menu
    ScrollBar,
    CheckBox,
    MaximizeOption,  // OptMaxi selected, else OptProp
    NumberBox,
    TextBox,
    Colour,     // the swatch; the model holds the value
    Smoothing,  // the adjuster; the model holds the value
    Path,       // the preview; the model holds the markers
};

struct Binding {
    SettingId Setting;
    int Control;
    Holder Kind;
};

// Every setting and the control that holds it, in the settings' order.
inline constexpr std::array<Binding, kSettingCount> kBindings{{
    {SettingId::Language, IDR_SETTINGS_MENU, Holder::LanguageMenu},
    {SettingId::Framerate, IDC_HSCROLLFRAMERATE, Holder::ScrollBar},
    {SettingId::WaveFreq, IDC_HSCROLLWAVEFREQ, Holder::ScrollBar},
    {SettingId::WaveDirection, IDC_HSCROLLWAVEDIRECTION, Holder::ScrollBar},
    {SettingId::WaveCount, IDC_HSCROLLWAVECOUNT, Holder::ScrollBar},
    {SettingId::WaveAmp, IDC_HSCROLLWAVEAMP, Holder::ScrollBar},
    {SettingId::WaveAsc, IDC_PICADJUST, Holder::Smoothing},
    {SettingId::UseSystemTimer, IDC_CHKUSESYSTEMTIMER, Holder::CheckBox},
    {SettingId::ShowFPS, IDC_CHKSHOWFPS, Holder::CheckBox},
    {SettingId::BackgroundImage, IDC_TXBACKGROUNDIMAGE, Holder::TextBox},
    {SettingId::PathPoints, IDC_PICTURESCROLLABLE, Holder::Path},
    {SettingId::RandomizeBackground, IDC_CHKRANDOMIZEBACKGROUND, Holder::CheckBox},
    {SettingId::MaximizeBackground, IDC_OPTMAXI, Holder::MaximizeOption},
    {SettingId::ColorBackground, IDC_COLBACK, Holder::Colour},
    {SettingId::SizeBackground, IDC_TXSIZE, Holder::NumberBox},
    {SettingId::RestartSec, IDC_TXRESTARTSEC, Holder::NumberBox},
    {SettingId::BackgroundSound, IDC_TXSOUNDFILE, Holder::TextBox},
    {SettingId::LoopSound, IDC_CHKLOOP, Holder::CheckBox},
}};

constexpr bool EverySettingBoundOnce() {
    for (std::size_t i = 0; i < kBindings.size(); ++i)
        if (static_cast<std::size_t>(kBindings[i].Setting) != i) return false;
    return true;
}
static_assert(EverySettingBoundOnce(), "kBindings is indexed by SettingId");

inline const Binding& BindingOf(SettingId id) { return kBindings[static_cast<std::size_t>(id)]; }

inline const Binding* BindingOfControl(int control) {
    for (const Binding& binding : kBindings)
        if (binding.Control == control) return &binding;
    return nullptr;
}

struct Caption {
    int Control;
    TextId Text;
};

// The language-dependent captions; the dialog's title and the tabs are set beside them.
inline constexpr Caption kCaptions[] = {
    {IDC_FRAME4, TextId::BackgroundSettingsFrame},
    {IDC_FRAME5, TextId::WaveEffect},
    {IDC_FRAME3, TextId::BackgroundSettings},
    {IDC_FRAME7, TextId::GeneralSettings},
    {IDC_FRAME10, TextId::BackgroundMusic},
    {IDC_FRAME1, TextId::BackgroundPictureFrame},
    {IDC_LABEL3, TextId::Framerate},
    {IDC_LABEL4, TextId::WaveDirection},
    {IDC_LABEL5, TextId::WaveCount},
    {IDC_LABEL6, TextId::Less},
    {IDC_LABEL7, TextId::More},
    {IDC_LABEL8, TextId::Top},
    {IDC_LABEL9, TextId::Down},
    {IDC_LABEL10, TextId::WaveAmplitude},
    {IDC_LABEL11, TextId::Weaker},
    {IDC_LABEL12, TextId::Stronger},
    {IDC_LABEL13, TextId::WaveFrequency},
    {IDC_LABEL14, TextId::Faster},
    {IDC_LABEL15, TextId::Slower},
    {IDC_LABEL16, TextId::Toolbox},
    {IDC_LABEL17, TextId::WaveSmoothing},
    {IDC_LABEL18, TextId::Paths},
    {IDC_LABEL19, TextId::ChooseAgainAfter},
    {IDC_LABEL20, TextId::Size},
    {IDC_LABEL22, TextId::Seconds},
    {IDC_LABEL23, TextId::SoundFile},
    {IDC_CHKHIDEPATHPOINTS, TextId::HidePathPoints},
    {IDC_CHKSHOWWAVES, TextId::ShowWaves},
    {IDC_CHKSHOWFPS, TextId::ShowFramerate},
    {IDC_CHKRANDOMIZEBACKGROUND, TextId::RandomizeBackground},
    {IDC_OPTMAXI, TextId::Maximized},
    {IDC_OPTPROP, TextId::Proportional},
    {IDC_CMDCHOOSEBACKGROUNDIMAGE, TextId::Find},
    {IDC_COMMAND1, TextId::Info},
    {IDOK, TextId::Ok},
    {IDCANCEL, TextId::Cancel},
    {IDC_CMDLOADPATH, TextId::LoadProfileButton},
    {IDC_CMDSAVEPATH, TextId::SaveProfileButton},
    {IDC_CMDCOLOR, TextId::ChooseBackgroundColour},
    {IDC_CMDBTNFINDSNDFILE, TextId::Find},
};

struct Tip {
    TipControl Tool;
    int Control;
};

// The controls with a tooltip, in the order they are registered.
inline constexpr std::array<Tip, kTipControlCount> kTips{{
    {TipControl::UseSystemTimer, IDC_CHKUSESYSTEMTIMER},
    {TipControl::HidePathPoints, IDC_CHKHIDEPATHPOINTS},
    {TipControl::RandomizeBackground, IDC_CHKRANDOMIZEBACKGROUND},
    {TipControl::WaveDirection, IDC_HSCROLLWAVEDIRECTION},
    {TipControl::WaveCount, IDC_HSCROLLWAVECOUNT},
    {TipControl::WaveFreq, IDC_HSCROLLWAVEFREQ},
    {TipControl::WaveAmp, IDC_HSCROLLWAVEAMP},
    {TipControl::Framerate, IDC_HSCROLLFRAMERATE},
    {TipControl::LoadPath, IDC_CMDLOADPATH},
    {TipControl::SavePath, IDC_CMDSAVEPATH},
    {TipControl::ZoomOutButton, IDC_CMDBTNZOOMDN},
    {TipControl::ZoomInButton, IDC_CMDBTNZOOMUP},
    {TipControl::WavePreview, IDC_PICPREVIEW},
    {TipControl::SmoothingAdjuster, IDC_PICADJUST},
    {TipControl::DeletePath, IDC_CMDDELETEPATH},
    {TipControl::GrabTool, IDC_OPTGRAB},
    {TipControl::ZoomOutTool, IDC_OPTZOOMDN},
    {TipControl::ZoomInTool, IDC_OPTZOOMUP},
    {TipControl::Proportional, IDC_OPTPROP},
    {TipControl::Maximized, IDC_OPTMAXI},
    {TipControl::RestartSec, IDC_TXRESTARTSEC},
    {TipControl::Size, IDC_TXSIZE},
}};

inline constexpr int kLanguageItems[] = {IDM_GERMAN, IDM_ENGLISH, IDM_ITALIAN};

}  // namespace lurvane::win32
