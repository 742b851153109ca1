#include "util/win32/common_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "util/common_dialog_rules.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

// The longest path the wide file functions take, and its terminator.
constexpr std::size_t kPathCapacity = 32768;

struct ViewSwitch {
    uint32_t Command = 0;
    bool Done = false;
};

// Switches the file list to the requested view as soon as the list exists: it is made after
// the dialog's first notifications, so every notification tries until one succeeds.
UINT_PTR CALLBACK FileDialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* request = reinterpret_cast<OPENFILENAMEW*>(lParam);
        auto* view = reinterpret_cast<ViewSwitch*>(request->lCustData);
        view->Done = false;
        SetWindowLongPtrW(hook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        return 0;
    }
    if (message != WM_NOTIFY) return 0;
    auto* view = reinterpret_cast<ViewSwitch*>(GetWindowLongPtrW(hook, GWLP_USERDATA));
    if (view == nullptr || view->Done) return 0;
    HWND list = FindWindowExW(GetParent(hook), nullptr, L"SHELLDLL_DefView", L"");
    if (list != nullptr) {
        SendMessageW(list, WM_COMMAND, view->Command, 0);
        view->Done = true;
    }
    return 0;
}

}  // namespace

bool ShowFileDialog(HWND owner, const FileDialogRequest& request, std::string& path) {
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    const std::wstring name = Widen(FileNamePart(path));
    if (name.size() < file.size()) name.copy(file.data(), name.size());
    const std::wstring folder = Widen(FolderPart(path));
    const std::wstring filter = Widen(request.Filter);
    const std::wstring title = Widen(request.Title);
    const std::wstring extension = Widen(request.DefaultExtension);
    ViewSwitch view{request.ViewCommand};

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    // Our own completion below decides about the extension; the system adds none.
    dialog.lCustData = reinterpret_cast<LPARAM>(&view);
    dialog.lpfnHook = &FileDialogHook;

    const BOOL confirmed = request.Save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!confirmed) return false;
    // The extension is judged from the name itself: what the system reports as its offset
    // depends on whether a default extension was given to it.
    const std::string chosen = Narrow(file.data());
    const std::size_t dot = chosen.rfind('.');
    const std::size_t slash = chosen.rfind('\\');
    const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::size_t offset = !hasDot ? 0 : dot + 1;
    path = FinishChosenPath(chosen, request.DefaultExtension, offset, dialog.nFilterIndex);
    return true;
}

std::optional<COLORREF> ChooseColorDialog(HWND owner, COLORREF initial, std::array<COLORREF, 16>& customColours) {
    CHOOSECOLORW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = owner;
    chooser.rgbResult = initial;
    chooser.lpCustColors = customColours.data();
    chooser.Flags = CC_RGBINIT;
    if (!ChooseColorW(&chooser)) return std::nullopt;
    return chooser.rgbResult;
}

}  // namespace lurvane::win32
