// One registry value read as text, for the about box's search for the system-information
// program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace lurvane::win32 {

// The value `valueName` of the key `keyPath` below `root`, opened for queries only. Texts end
// at their first NUL; REG_EXPAND_SZ has its environment references expanded; REG_DWORD gives
// its unsigned decimal text. Nothing for a missing key or value, a failed read or another type.
std::optional<std::string> GetKeyValue(HKEY root, std::string_view keyPath, std::string_view valueName);

// GetKeyValue below HKEY_LOCAL_MACHINE.
std::optional<std::string> ReadLocalMachineValue(std::string_view keyPath, std::string_view valueName);

}  // namespace lurvane::win32
