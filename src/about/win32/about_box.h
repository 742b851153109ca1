// The about box and the link to the maker's update page, both reached from the settings dialog.
#pragma once

#include <windows.h>

#include "imaging/win32/program_context.h"

namespace lurvane::win32 {

// The about box, modal and owned by `owner`, in the context's current language.
void ShowAboutBox(HWND owner, const ProgramContext& context);

// Opens the maker's update page, with the product, version and language, in the default browser.
void OpenUpdatePage(const ProgramContext& context);

}  // namespace lurvane::win32
