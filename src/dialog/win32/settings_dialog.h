// The settings dialog (SettingsForm): a view over a SettingsModel. Its two pages, menu and
// buttons come from the dialog templates in res/; one table binds each control to its setting,
// one names each caption's text and one each tooltip's control, so that loading, OK and a
// language change are loops over those tables.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dialog/win32/picture_preview.h"
#include "dialog/win32/preview_tools.h"
#include "dialog/win32/smoothing_adjuster.h"
#include "dialog/win32/tool_tip.h"
#include "dialog/win32/wave_plot_view.h"
#include "dialog/sound_page_rules.h"
#include "imaging/win32/background_music.h"
#include "imaging/win32/program_context.h"
#include "settings/settings_model.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

// What the dialog's about entries reach: the about box and the update page live in a folder
// beside this one, so the program's start hands them over.
struct DialogLinks {
    std::function<void(HWND owner)> ShowAbout;
    std::function<void()> OpenUpdate;
};

// What the sound page reaches: the program's one player, and the tag reader, which lives in
// the media folder beside this one. Without a player the page shows no length and plays nothing.
struct MusicLinks {
    BackgroundMusic* Player = nullptr;
    std::function<std::optional<SongTag>(const std::string& file)> ReadTag;
};

class SettingsDialog {
public:
    SettingsDialog(const ProgramContext& context, DialogLinks links, MusicLinks music = {});
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;
    ~SettingsDialog();

    // Creates and loads the dialog, hidden; false when the window cannot be made.
    bool Create(HWND owner);
    // Shows the dialog modally to `owner` until it closes; true when it closed with OK.
    bool RunModal(HWND owner);

    HWND Window() const { return frame_; }
    // The control with `id` on the frame or either page; null when there is none.
    HWND Control(int id) const;
    HWND Page(int index) const { return pages_[static_cast<std::size_t>(index)]; }
    const SettingsModel& Model() const { return model_; }
    const ToolTip& Tips() const { return tips_; }
    bool Finished() const { return finished_; }
    bool Saved() const { return saved_; }
    int16_t PreviewPhase() const { return previewPhase_; }
    UINT PreviewInterval() const { return previewInterval_; }

    // One tick of the live plot's timer.
    void OnPreviewTimer();
    // One tick of the sound page's timer, which follows a playing preview.
    void OnSoundTimer();

private:
    static INT_PTR CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

    void OnInit();
    bool MakePages();
    bool MakeCustomWindows();
    void Layout();
    void ShowPage(int index);
    void OnCommand(int id, int code);
    void OnScroll(HWND bar, int code);

    // The model's value shown in a control, and a control's value taken into the model.
    void ShowSetting(SettingId id);
    void TakeSetting(SettingId id);
    void ShowAllSettings();

    void ApplyLanguage();
    void UpdateTooltips();
    void SelectLanguage(int32_t language);
    void UpdateEnabledStates();
    void SetPreviewInterval();
    void RenderBackgroundPreview(bool quiet);
    void OnNumberBoxChanged(int id);
    void CommitNumberBox(int id);

    void OnOk();
    void OnCancel();
    void Finish(bool saved);

    void LoadProfile();
    void SaveProfile();
    void ChooseColour();
    void ChoosePicture();
    int Ask(const std::string& text, UINT style) const;

    void ChooseSoundFile();
    void DisplayMP3Info();
    void OnSoundMeasured(uint32_t measurement, int32_t length);
    void OnPlay();
    void StopSoundPreview();
    void ShowPlayCaption();
    void ShowSoundProgress(int32_t length, int32_t position);

    const ProgramContext& context_;
    DialogLinks links_;
    MusicLinks music_;
    SettingsModel model_;
    std::optional<GdiPlusSession> gdiPlus_;
    HWND frame_ = nullptr;
    std::array<HWND, 2> pages_{};
    ToolTip tips_;
    PicturePreview preview_;
    PreviewTools tools_;
    WavePlotView plot_;
    SmoothingAdjuster adjuster_;
    GdiObject swatchBrush_;
    std::array<COLORREF, 16> customColours_{};
    int16_t previewPhase_ = 0;
    UINT previewInterval_ = 0;
    bool rewritingText_ = false;
    // The preview's state lives here and not in the button's caption, which a language
    // change rewrites.
    bool previewingSound_ = false;
    std::string lastDisplayedSoundFile_;
    // The information box shows its file's length once the player has measured it; only the
    // latest measurement counts, and the rest of the box waits here for it.
    uint32_t soundMeasurement_ = 0;
    bool soundIsMp3_ = false;
    std::optional<SongTag> soundTag_;
    bool finished_ = false;
    bool saved_ = false;
};

}  // namespace lurvane::win32
