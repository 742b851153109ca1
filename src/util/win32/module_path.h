// Where the running program lies on disk.
#pragma once

#include <string>

namespace lurvane::win32 {

// The full path of the program's own file, as the system loaded it; empty on failure.
std::wstring ModulePath();

}  // namespace lurvane::win32
