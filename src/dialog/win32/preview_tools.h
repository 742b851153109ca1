// The path editor and the tools around the background preview: dragging markers, adding and
// removing points through their menus, the reset button and the hide box; the same edits from
// the keyboard, and undo and redo of every path edit; the zoom buttons, the zoom and grab
// tools with their pointers, and the preview's scroll bars.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>

#include "dialog/win32/picture_preview.h"
#include "settings/path_history.h"
#include "settings/settings_model.h"
#include "text/language.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

class PreviewTools {
public:
    // `render` redraws the picture and the path; with `quiet` false an unreadable picture
    // is reported.
    PreviewTools(SettingsModel& model, PicturePreview& preview, const Language& texts,
                 std::function<void(bool quiet)> render);

    // Takes the controls of the page that holds the preview and shows the zoom factor 1.
    void Attach(HWND page);
    // Shows the model's zoom: label, buttons and scroll bars, then places and draws the preview.
    void ShowZoom();

    // False when the control is not one of the tools'.
    bool OnCommand(int id, int code);
    bool OnScroll(HWND bar, int code);
    void OnPointer(const PreviewPointer& pointer);
    // A key pressed in the preview; 0 when the preview got the focus. Page Down and Page Up
    // select the next and previous point, the arrows move it by a pixel (with Shift by ten),
    // Delete removes it, Insert adds a point after it; Ctrl+Z undoes, Ctrl+Y or Ctrl+Shift+Z
    // redoes. False for a key that is none of these.
    bool OnKey(UINT key);
    // Makes the change from `before` to the model's path one step that can be undone.
    void Record(const PathMarkers& before);

private:
    enum class Tool { None, Grab, ZoomIn, ZoomOut };
    // The label, the scroll bars' range and the zoom buttons.
    void ShowZoomControls();
    void PlacePreview();
    void SelectTool(int id);
    void ClickWithTool();
    void DragWithGrabTool(double x, double y);
    void AddPoint();
    void RemovePoint();
    void ResetPath();
    void Select(std::size_t marker);
    void MoveSelected(int right, int down);
    void AddPointAfterSelected();
    void ShowHistoryStep(const std::optional<PathMarkers>& path);
    // Shows a one-item pop-up menu at the pointer; true when the item was chosen.
    bool ChooseFromMenu(TextId item) const;
    void Inform(const std::string& text) const;
    HWND Item(int id) const { return GetDlgItem(page_, id); }
    int ScrollValue(int id) const;

    SettingsModel& model_;
    PicturePreview& preview_;
    const Language& texts_;
    std::function<void(bool quiet)> render_;
    HWND page_ = nullptr;
    Tool tool_ = Tool::None;
    Cursor zoomInPointer_;
    Cursor zoomOutPointer_;
    std::size_t selectedMarker_ = 0;
    PathHistory history_;
    // The path as a drag of a marker found it.
    std::optional<PathMarkers> dragStart_;
    double grabX_ = 0;
    double grabY_ = 0;
    double popupX_ = 0;
    double popupY_ = 0;
    bool leftPressedOnPicture_ = false;
};

}  // namespace lurvane::win32
