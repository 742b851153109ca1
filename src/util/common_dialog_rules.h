// What the file and colour dialogs do with their texts and colours before and after the
// system's dialog runs, kept apart from the system calls so that it can be tested anywhere.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lurvane {

// The name a file dialog preselects for `path`: the part behind the last "\" when the last "."
// stands behind it; empty when the path names no file with an extension.
std::string FileNamePart(std::string_view path);

// The folder a file dialog starts in: `path` up to and including its last "\"; empty when it
// has none.
std::string FolderPart(std::string_view path);

// A file dialog's filter: label and pattern of each pair, every element followed by one NUL
// and the whole by a second NUL.
std::string FilterText(const std::vector<std::pair<std::string, std::string>>& pairs);

// The path a file dialog hands back, completed with `defaultExtension` (without ".") the way
// the dialogs agree on: a path without extension gets it when the first filter pair was chosen
// (`filterIndex` 1); a name ending in "." gets the extension with the first pair and loses the
// "." with any other. `extensionOffset` is the system's offset of the extension in the path (0
// when it found none). An empty default extension changes nothing.
std::string FinishChosenPath(std::string path, std::string_view defaultExtension, std::size_t extensionOffset,
                             uint32_t filterIndex);

// The colour chooser's custom colours: black, then 15 greys from 210 down to 70 (0x00BBGGRR).
std::array<uint32_t, 16> GreyCustomColours();

}  // namespace lurvane
