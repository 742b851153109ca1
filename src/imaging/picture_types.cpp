#include "imaging/picture_types.h"

#include <algorithm>

#include "util/text_rules.h"

namespace lurvane {

bool IsPictureExtension(std::string_view extension) {
    return std::any_of(kPictureExtensions.begin(), kPictureExtensions.end(),
                       [extension](std::string_view known) { return EqualsIgnoringAsciiCase(extension, known); });
}

}  // namespace lurvane
