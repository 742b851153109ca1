// A file system held in memory, for tests: folders with files and sub-folders in the order
// they were added, Windows-style wildcard search and a settable documents folder.
#pragma once

#include "util/file_functions.h"

#include <string>
#include <string_view>
#include <vector>

namespace lurvane {

// Windows-style name matching, case-insensitive: "*" matches any run of characters (dots
// included), "?" exactly one character, and a pattern ending in ".*" also matches the name
// without any extension ("Beach.*" finds "Beach"). Characters are UTF-8 code points; case is
// folded for ASCII and Latin-1 letters.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

class MemoryFileSystem final : public FileSystem {
public:
    // Adds a file by its full path ("C:\pics\a.jpg"); missing parent folders are created.
    void AddFile(std::string_view path);
    // Adds a folder by its full path, with or without a trailing "\".
    void AddFolder(std::string_view path);
    // What DocumentsFolder reports; empty stands for a failing system call.
    void SetDocumentsFolder(std::string folder) { documents_ = std::move(folder); }

    // A folder other than a drive root lists "." and ".." first, as Windows does.
    std::vector<DirectoryEntry> FindEntries(std::string_view folder, std::string_view pattern) const override;
    std::string DocumentsFolder() const override { return documents_; }

private:
    struct Folder {
        std::string Path;  // ends in "\"
        std::vector<DirectoryEntry> Entries;
    };

    Folder* FindFolder(std::string_view path);
    const Folder* FindFolder(std::string_view path) const;
    Folder& EnsureFolder(std::string_view path);
    void AddEntry(std::string_view path, bool isFolder);

    std::vector<Folder> folders_;
    std::string documents_;
};

}  // namespace lurvane
