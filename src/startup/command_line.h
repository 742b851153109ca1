// What the screen-saver host asks for on the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lurvane {

enum class SaverMode { FullScreen, FullScreenManual, Settings, ChangePassword, Preview, None };

// The first two characters of the command line, lower-cased, then trimmed of blanks.
std::string CommandSwitch(std::string_view commandLine);

// Chooses the mode from the switch; "/m" needs "manual" anywhere in the command line.
SaverMode SelectMode(std::string_view commandLine);

// The window handle at the end of the text: the longest numeric tail, 0 when there is none.
int32_t ParseWindowHandle(std::string_view text);

// The text after the program name of a full Windows command line, without the one blank that
// separates the two. The program name is `programPath` (the running program's own path) when
// the line starts with it unquoted, as some launchers write a path with blanks; otherwise a
// quoted name, or the text up to the first blank.
std::string_view ArgumentsOf(std::string_view fullCommandLine, std::string_view programPath = {});

}  // namespace lurvane
