// Where the system's own system-information program is: the registry names it in one of two
// places, below the local machine's root.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/file_functions.h"

namespace lurvane {

inline constexpr std::string_view kSystemInformationKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kSystemInformationPathValue = "PATH";
inline constexpr std::string_view kSharedToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kSystemInformationFolderValue = "MSINFO";
inline constexpr std::string_view kSystemInformationFileName = "MSINFO32.EXE";

// One value below the local machine's root as text; nothing when it is missing or unreadable.
using MachineValueReader = std::function<std::optional<std::string>(std::string_view key, std::string_view valueName)>;

// The programs worth trying, best first: the full path the first value names, then the
// program file inside the folder the second value names, when that file exists. Surrounding
// blanks and quotes of a hand-edited value are dropped; empty values give nothing. An empty
// list means the system information is not available.
std::vector<std::string> SystemInformationPrograms(const MachineValueReader& readValue, const FileSystem& files);

}  // namespace lurvane
