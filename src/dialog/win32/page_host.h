// What a page of the settings dialog reaches in the frame that holds it: the controls of both
// pages, the binding loops over the settings table, and the other pages' shared effects.
#pragma once

#include <windows.h>

#include <string>

#include "settings/settings_model.h"

namespace lurvane::win32 {

// The timers the pages run on the frame window.
inline constexpr UINT_PTR kPreviewTimer = 1;
inline constexpr UINT_PTR kSoundTimer = 2;
// Posted to the frame window by the player's thread with a measurement's number and the
// length it found.
inline constexpr UINT kSoundMeasured = WM_APP + 1;
// Posted to the frame window by the tag's reading thread with the reading's number.
inline constexpr UINT kSoundTagRead = WM_APP + 2;

class PageHost {
public:
    // The dialog's top window, which owns message boxes and timers.
    virtual HWND Window() const = 0;
    // The control with `id` on the frame or either page; null when there is none.
    virtual HWND Control(int id) const = 0;
    // The model's value shown in its control, and a control's value taken into the model.
    virtual void ShowSetting(SettingId id) = 0;
    virtual void TakeSetting(SettingId id) = 0;
    virtual void UpdateEnabledStates() = 0;
    // A profile went into the model: every control shows it and the plot takes its pace.
    virtual void ShowLoadedProfile() = 0;
    // The path changed from `before` to the model's, in one step that can be undone.
    virtual void RecordPathEdit(const PathMarkers& before) = 0;
    // Redraws the picture and the path; with `quiet` false an unreadable picture is reported.
    virtual void RenderPreview(bool quiet) = 0;
    // Sets a text box's text without its change handling taking it for typing.
    virtual void RewriteText(HWND box, const std::string& text) = 0;
    virtual bool RewritingText() const = 0;
    virtual int Ask(const std::string& text, UINT style) const = 0;

protected:
    PageHost() = default;
    PageHost(const PageHost&) = default;
    PageHost& operator=(const PageHost&) = default;
    ~PageHost() = default;
};

}  // namespace lurvane::win32
