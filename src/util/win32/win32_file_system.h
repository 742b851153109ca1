// The real file system behind FileSystem: the wide-character find functions and the shell's
// documents folder, with UTF-8 on our side of the boundary.
#pragma once

#include "util/file_functions.h"

namespace lurvane::win32 {

class Win32FileSystem final : public FileSystem {
public:
    std::vector<DirectoryEntry> FindEntries(std::string_view folder, std::string_view pattern) const override;
    std::string DocumentsFolder() const override;
};

}  // namespace lurvane::win32
