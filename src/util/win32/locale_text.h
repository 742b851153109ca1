// What the user's locale says about writing numbers.
#pragma once

#include <string>

namespace lurvane::win32 {

// The decimal sign of the user's locale ("," on a German system); "." when it cannot be read.
std::string UserDecimalSeparator();

}  // namespace lurvane::win32
