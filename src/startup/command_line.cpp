#include "startup/command_line.h"

#include "util/text_rules.h"

namespace lurvane {

std::string CommandSwitch(std::string_view commandLine) {
    return std::string(TrimBlanks(LowerAscii(commandLine.substr(0, 2))));
}

SaverMode SelectMode(std::string_view commandLine) {
    const std::string command = CommandSwitch(commandLine);
    if (command.empty() || command == "/s") return SaverMode::FullScreen;
    if (command == "/m")
        return LowerAscii(commandLine).find("manual") != std::string::npos ? SaverMode::FullScreenManual : SaverMode::None;
    if (command == "/c") return SaverMode::Settings;
    if (command == "/a") return SaverMode::ChangePassword;
    if (command == "/p") return SaverMode::Preview;
    return SaverMode::None;
}

int32_t ParseWindowHandle(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    for (size_t start = 0; start < trimmed.size(); ++start) {
        const std::string_view tail = trimmed.substr(start);
        if (IsNumeric(tail)) {
            try {
                return RoundToInt32(NumericValue(tail));
            } catch (const RangeError&) {
                return 0;  // a number too large for a handle names no window
            }
        }
    }
    return 0;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// True when the command line starts with the program's path as it is, blanks and all, and the
// path ends there.
bool StartsWithProgramPath(std::string_view fullCommandLine, std::string_view programPath) {
    if (programPath.empty() || fullCommandLine.size() < programPath.size()) return false;
    if (!EqualsIgnoringAsciiCase(fullCommandLine.substr(0, programPath.size()), programPath)) return false;
    return fullCommandLine.size() == programPath.size() || IsBlank(fullCommandLine[programPath.size()]);
}

}  // namespace

std::string_view ArgumentsOf(std::string_view fullCommandLine, std::string_view programPath) {
    size_t pos = 0;
    if (StartsWithProgramPath(fullCommandLine, programPath)) {
        pos = programPath.size();
    } else if (!fullCommandLine.empty() && fullCommandLine[0] == '"') {
        size_t close = fullCommandLine.find('"', 1);
        pos = close == std::string_view::npos ? fullCommandLine.size() : close + 1;
    } else {
        while (pos < fullCommandLine.size() && !IsBlank(fullCommandLine[pos])) ++pos;
    }
    if (pos < fullCommandLine.size() && IsBlank(fullCommandLine[pos])) ++pos;
    return fullCommandLine.substr(pos);
}

}  // namespace lurvane
