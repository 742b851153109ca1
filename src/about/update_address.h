// The address of the maker's update page: the page, not the program, tells the user whether a
// newer version exists, so the program only says which product, language and version it is.
#pragma once

#include <cstdint>
#include <string>

#include "util/version.h"

namespace lurvane {

// The update page in the interface's language (German gets its own page, every other language
// the English one), with "product" and "version" in the query, as literal text.
std::string UpdateAddress(int32_t language, const ProgramVersion& version);

}  // namespace lurvane
