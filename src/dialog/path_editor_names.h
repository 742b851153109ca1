// What a screen reader says for the path editor: the preview's name and each marker's name,
// in the interface language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lurvane {

// "Point 3 of 5" for the marker at `index` (from 0) of `count`.
std::string MarkerName(int32_t language, std::size_t index, std::size_t count);

// The name of the preview on which the path is drawn.
std::string PathEditorName(int32_t language);

}  // namespace lurvane
