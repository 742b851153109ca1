// Entry of the settings dialog ("/c"), optionally owned by the window whose handle the
// Display control panel passes.
#pragma once

#include <cstdint>

namespace lurvane::win32 {

int RunSettingsDialog(int32_t ownerHandle);

}  // namespace lurvane::win32
