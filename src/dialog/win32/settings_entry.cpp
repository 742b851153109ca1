#include "dialog/win32/settings_entry.h"

#include <windows.h>

namespace lurvane::win32 {

int RunSettingsDialog(const ProgramContext& context, int32_t ownerHandle, DialogLinks links, MusicLinks music) {
    // The handle arrives as the host wrote it on the command line; a window that is gone by
    // now leaves the dialog without an owner rather than without a window.
    HWND owner = reinterpret_cast<HWND>(static_cast<intptr_t>(ownerHandle));
    if (ownerHandle <= 0 || !IsWindow(owner)) owner = nullptr;
    SettingsDialog dialog(context, std::move(links), std::move(music));
    dialog.RunModal(owner);
    return 0;
}

}  // namespace lurvane::win32
