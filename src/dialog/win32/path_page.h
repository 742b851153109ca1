// The settings dialog's path page: the background preview with its path editor, tools, zoom
// and scroll bars, the wave sliders, the live wave plot and the smoothing adjuster.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dialog/win32/page_host.h"
#include "dialog/win32/picture_preview.h"
#include "dialog/win32/preview_tools.h"
#include "dialog/win32/smoothing_adjuster.h"
#include "dialog/win32/wave_plot_view.h"
#include "program/win32/program_context.h"
#include "settings/settings_model.h"

namespace lurvane::win32 {

class PathPage {
public:
    PathPage(PageHost& host, SettingsModel& model, const ProgramContext& context);
    PathPage(const PathPage&) = delete;
    PathPage& operator=(const PathPage&) = delete;

    // Puts the preview, the adjuster and the plot into their slots on `page` and gives the
    // sliders their ranges; false when a window cannot be made.
    bool Create(HWND page);
    // Places the page's own windows after the page took its size at `dpi`.
    void Layout(UINT dpi);

    // False when the control is not one of this page's.
    bool OnCommand(int id, int code);
    bool OnScroll(HWND bar, int code);

    void ShowZoom() { tools_.ShowZoom(); }
    // Names the path editor's parts and fits the slider labels to their texts.
    void ApplyLanguage();
    // Undo and redo keys pressed anywhere in the dialog but in a text box.
    bool OnUndoKey(UINT key) { return tools_.OnKey(key); }
    // The path changed from `before` to the model's, in one step that can be undone.
    void RecordPathEdit(const PathMarkers& before) { tools_.Record(before); }
    void ShowSmoothing();
    void Render(bool quiet);

    // The live plot's and the live waves' pace follows the frame rate.
    void SetPreviewInterval();
    // Runs the plot and the waves, or lets them rest with no timer at all.
    void RunPreview(bool run);
    void OnPreviewTimer();
    int16_t PreviewPhase() const { return previewPhase_; }
    UINT PreviewInterval() const { return previewInterval_; }

private:
    void AlignSliderLabels();

    PageHost& host_;
    SettingsModel& model_;
    const ProgramContext& context_;
    HWND page_ = nullptr;
    PicturePreview preview_;
    PreviewTools tools_;
    WavePlotView plot_;
    SmoothingAdjuster adjuster_;
    int16_t previewPhase_ = 0;
    UINT previewInterval_ = 0;
    bool previewRunning_ = false;
};

}  // namespace lurvane::win32
