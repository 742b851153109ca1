// The program's entry: checks for GDI+, reads the mode switch, builds the program's services
// and hands over to the mode.
#pragma once

#include <string>
#include <string_view>

#include "program/win32/background_music.h"
#include "imaging/win32/monitors.h"
#include "program/win32/program_context.h"

namespace lurvane::win32 {

class SaverRun;

// `programPath` is this program's own file, so that a command line naming it without quotes
// can still be cut into program and arguments.
int Main(std::wstring_view fullCommandLine, std::wstring_view programPath);

bool IsDllAvailable(const wchar_t* name);
// Looks for a top-level window titled "LurvaneScreenSaver" and traces what it found.
bool IsSaverWindowPresent(const Trace& trace);
// Asks twice, as a start does: once to end a saver of this instance (there is none before its
// window is loaded) and once more to decide whether to go on. True when another saver runs.
bool AnotherSaverIsRunning(const Trace& trace);
// One run on every monitor the list names, until input on any of them ends the runs; the
// primary monitor's run plays the music.
int StartFullScreenSaver(const ProgramContext& context, const MonitorList& monitors, BackgroundMusic& music,
                         bool startedManually);
int StartPreview(SaverRun& run, long long hostHandle, const Trace& trace);

}  // namespace lurvane::win32
