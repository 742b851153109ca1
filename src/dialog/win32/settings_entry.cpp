#include "dialog/win32/settings_entry.h"

#include <windows.h>

namespace lurvane::win32 {

// The settings dialog is not built yet: say so instead of failing silently.
int RunSettingsDialog(int32_t ownerHandle) {
    HWND owner = ownerHandle > 0 ? reinterpret_cast<HWND>(static_cast<intptr_t>(ownerHandle)) : nullptr;
    MessageBoxW(owner, L"This version of Lurvane has no settings to change yet.", L"Lurvane", MB_OK | MB_ICONINFORMATION);
    return 0;
}

}  // namespace lurvane::win32
