// Entry of the settings dialog ("/c"), optionally owned by the window whose handle the
// Display control panel passes.
#pragma once

#include <cstdint>

#include "dialog/win32/settings_dialog.h"
#include "program/win32/program_context.h"

namespace lurvane::win32 {

// Shows the dialog modally; returns the program's exit code.
int RunSettingsDialog(const ProgramContext& context, int32_t ownerHandle, DialogLinks links, MusicLinks music);

}  // namespace lurvane::win32
