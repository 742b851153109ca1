// The program's entry: checks for GDI+, reads the mode switch and hands over to the mode.
#pragma once

#include <string>
#include <string_view>

namespace lurvane::win32 {

class MainForm;

int Main(std::wstring_view fullCommandLine);

bool IsDllAvailable(const wchar_t* name);
// Looks for a top-level window titled "LurvaneScreenSaver" and traces what it found.
bool IsSaverWindowPresent();
// Asks twice, as a start does: once to end a saver of this instance (there is none before its
// window is loaded) and once more to decide whether to go on. True when another saver runs.
bool AnotherSaverIsRunning();
int StartFullScreenSaver(bool startedManually);
int StartPreview(MainForm& form, long long hostHandle);
// Undoes what a full-screen start changed in the system and shows the cursor again.
bool RestoreSystemState();

// The saver hides the cursor once per run; RestoreSystemState shows it again.
void HideSaverCursor();

}  // namespace lurvane::win32
