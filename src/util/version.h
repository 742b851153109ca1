// The program's version: the numbers the build writes into the version resource as well.
#pragma once

#include <string>

namespace lurvane {

struct ProgramVersion {
    int Major = LURVANE_VERSION_MAJOR;
    int Minor = LURVANE_VERSION_MINOR;
    int Patch = LURVANE_VERSION_PATCH;

    std::string Text() const {
        return std::to_string(Major) + "." + std::to_string(Minor) + "." + std::to_string(Patch);
    }
};

}  // namespace lurvane
