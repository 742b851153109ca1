#include "util/common_dialog_rules.h"

#include "util/text_rules.h"

namespace lurvane {

std::string FileNamePart(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return {};
    if (slash != std::string_view::npos && dot < slash) return {};
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FilterText(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string text;
    for (const auto& [label, pattern] : pairs) {
        text += label;
        text += '\0';
        text += pattern;
        text += '\0';
    }
    text += '\0';
    return text;
}

std::string FinishChosenPath(std::string path, std::string_view defaultExtension, std::size_t extensionOffset,
                             uint32_t filterIndex) {
    if (defaultExtension.empty()) return path;
    if (extensionOffset == 0) {
        const std::string dotted = "." + std::string(defaultExtension);
        const std::string name = FileNamePart(path);
        const std::string_view tail =
            std::string_view(name).substr(name.size() >= dotted.size() ? name.size() - dotted.size() : 0);
        if (!EqualsIgnoringAsciiCase(tail, dotted) && filterIndex == 1) path += dotted;
    } else if (extensionOffset == path.size()) {
        if (filterIndex == 1) path += defaultExtension;
        else if (!path.empty() && path.back() == '.') path.pop_back();
    }
    return path;
}

std::array<uint32_t, 16> GreyCustomColours() {
    std::array<uint32_t, 16> colours{};
    for (uint32_t i = 1; i < colours.size(); ++i) {
        const uint32_t grey = 220 - 10 * i;
        colours[i] = grey | grey << 8 | grey << 16;
    }
    return colours;
}

}  // namespace lurvane
