// The small path and folder operations the program shares. Paths are UTF-8 texts in the
// system's form: "\" between folders, "." before the extension.
//
// The file system itself sits behind FileSystem so that the folder listing, the random pick
// and the documents folder can be driven by an in-memory fake (util/memory_file_system.h);
// the Windows implementation is util/win32/win32_file_system.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lurvane {

struct DirectoryEntry {
    std::string Name;  // the entry's own name, no folder part
    bool IsFolder = false;
    friend bool operator==(const DirectoryEntry&, const DirectoryEntry&) = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The entries of `folder` (which ends in "\") whose names match the wildcard `pattern`,
    // in the order the system reports them, "." and ".." included when the system reports
    // them. A missing folder, a failed search or no match give an empty list.
    virtual std::vector<DirectoryEntry> FindEntries(std::string_view folder, std::string_view pattern) const = 0;

    // The user's personal documents folder, created when missing; empty on failure.
    virtual std::string DocumentsFolder() const = 0;
};

// Names of the entries of `folder` (ending in "\") that match `pattern` ("*.rpp"), in system
// order. A sub-folder is listed as "." followed by its name; "." and ".." are left out.
std::vector<std::string> ListFiles(const FileSystem& fileSystem, std::string_view folder, std::string_view pattern);

// Position (counting from 0) of the entry a random pick takes out of `count` entries. The
// generator is seeded afresh from the time of day of each call (seconds since midnight, as
// single precision), so every entry has the same chance. `count` must be at least 1.
std::size_t RandomEntryIndex(std::size_t count, double secondsSinceMidnight);

// One entry name out of ListFiles(folder, pattern), chosen by RandomEntryIndex; the empty text
// when nothing matches.
std::string PickRandomFile(const FileSystem& fileSystem, std::string_view folder, std::string_view pattern,
                           double secondsSinceMidnight);

// 1-based position of the extension's "." (the last "." after the last "\"), or -1.
int32_t FindExtensionDot(std::string_view path);

// The extension without its ".", empty when there is none.
std::string GetExtension(std::string_view path);

// `path` with its extension replaced by `newExtension` (given without "."), or with "." and
// `newExtension` appended when it has none.
std::string ChangeExtension(std::string_view path, std::string_view newExtension);

// The profile that belongs to a picture: the picture's path with the extension "rpp".
std::string GetProfilePath(std::string_view picturePath);

// The user's documents folder without a trailing "\"; empty when the system cannot name it.
std::string GetDocumentsFolder(const FileSystem& fileSystem);

}  // namespace lurvane
