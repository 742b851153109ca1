// The system's open, save and colour dialogs, modal to an owner window.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lurvane::win32 {

// The shell folder view's own commands, sent to the file list once the dialog shows it.
inline constexpr uint32_t kThumbnailView = 28717;
inline constexpr uint32_t kListView = 28715;

struct FileDialogRequest {
    bool Save = false;
    std::string Title;
    std::string Filter;            // see FilterText in util/common_dialog_rules.h
    std::string DefaultExtension;  // without ".", may be empty
    uint32_t ViewCommand = kListView;
};

// Shows the dialog starting in the folder of `path` with its file name preselected (left out
// when it is too long for the system), and writes the confirmed path back into `path`. False,
// and `path` unchanged, when the user cancels or the dialog fails.
bool ShowFileDialog(HWND owner, const FileDialogRequest& request, std::string& path);

// The colour chooser, starting on `initial` (0x00BBGGRR) with `customColours` as its 16
// custom colours, which keep what the user changes there. Nothing when the user cancels.
std::optional<COLORREF> ChooseColorDialog(HWND owner, COLORREF initial, std::array<COLORREF, 16>& customColours);

}  // namespace lurvane::win32
