// The settings dialog (SettingsForm): a view over a SettingsModel. Its two pages, menu and
// buttons come from the dialog templates in res/. The frame holds the menu, the tabs, the
// buttons and the loops over the binding, caption and tooltip tables; each page's controls are
// handled by their own class: the path page, the general and background settings, the sound.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "dialog/win32/general_page.h"
#include "dialog/win32/page_host.h"
#include "dialog/win32/path_page.h"
#include "dialog/win32/sound_page.h"
#include "dialog/win32/tool_tip.h"
#include "imaging/win32/gdiplus_api.h"
#include "program/win32/program_context.h"
#include "settings/settings_model.h"

namespace lurvane::win32 {

// What the dialog's about entries reach: the about box and the update page live in a folder
// beside this one, so the program's start hands them over.
struct DialogLinks {
    std::function<void(HWND owner)> ShowAbout;
    std::function<void(HWND owner)> OpenUpdate;
};

class SettingsDialog final : private PageHost {
public:
    SettingsDialog(const ProgramContext& context, DialogLinks links, MusicLinks music = {});
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;
    ~SettingsDialog();

    // Creates and loads the dialog, hidden; false when the window cannot be made.
    bool Create(HWND owner);
    // Shows the dialog modally to `owner` until it closes; true when it closed with OK.
    bool RunModal(HWND owner);

    HWND Window() const override { return frame_; }
    // The control with `id` on the frame or either page; null when there is none.
    HWND Control(int id) const override;
    HWND Page(int index) const { return pages_[static_cast<std::size_t>(index)]; }
    const SettingsModel& Model() const { return model_; }
    const ToolTip& Tips() const { return tips_; }
    bool Finished() const { return finished_; }
    bool Saved() const { return saved_; }
    int16_t PreviewPhase() const { return pathPage_.PreviewPhase(); }
    UINT PreviewInterval() const { return pathPage_.PreviewInterval(); }

    // One tick of the live plot's timer.
    void OnPreviewTimer() { pathPage_.OnPreviewTimer(); }
    // One tick of the sound page's timer, which follows a playing preview.
    void OnSoundTimer() { soundPage_.OnSoundTimer(); }

private:
    static INT_PTR CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

    void OnInit();
    bool MakePages();
    void Layout();
    void ShowPage(int index);
    // The live plot and waves run only while the path page can be seen.
    void PacePreview();
    void OnCommand(int id, int code);
    // Ctrl+Z and Ctrl+Y for the path, unless a text box has the focus; true when taken.
    bool OnUndoKey(const MSG& message);

    // What the pages reach.
    void ShowSetting(SettingId id) override;
    void TakeSetting(SettingId id) override;
    void UpdateEnabledStates() override;
    void ShowLoadedProfile() override;
    void RenderPreview(bool quiet) override { pathPage_.Render(quiet); }
    void RecordPathEdit(const PathMarkers& before) override { pathPage_.RecordPathEdit(before); }
    void RewriteText(HWND box, const std::string& text) override;
    bool RewritingText() const override { return rewritingText_; }
    int Ask(const std::string& text, UINT style) const override;

    void ShowAllSettings();
    void ApplyLanguage();
    void UpdateTooltips();
    void SelectLanguage(int32_t language);

    void OnOk();
    void OnCancel();
    void Finish(bool saved);

    const ProgramContext& context_;
    DialogLinks links_;
    SettingsModel model_;
    std::optional<GdiPlusSession> gdiPlus_;
    HWND frame_ = nullptr;
    std::array<HWND, 2> pages_{};
    ToolTip tips_;
    PathPage pathPage_;
    GeneralPage generalPage_;
    SoundPage soundPage_;
    bool rewritingText_ = false;
    bool finished_ = false;
    bool saved_ = false;
};

}  // namespace lurvane::win32
