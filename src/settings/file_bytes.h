// Whole files as bytes, named by UTF-8 paths, so that names with any characters work on
// Windows too (there the name is handed to the wide-character functions).
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lurvane {

enum class FileReadStatus { Read, Missing, Unreadable, TooLarge };

struct FileContents {
    FileReadStatus Status = FileReadStatus::Missing;
    std::string Bytes;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The file opened for binary reading, for callers that read only parts of it; null when it
// cannot be opened.
FilePtr OpenFileForReading(const std::string& path);

// The whole file when it can be read and holds at most `limit` bytes.
FileContents ReadWholeFile(const std::string& path, std::size_t limit);

// Replaces the file's contents (creating it); false when it cannot be opened or written.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// True when a file or folder of that name exists; any error counts as false.
bool CheckFileExistance(const std::string& name);

}  // namespace lurvane
