#include "about/system_information.h"

namespace lurvane {
namespace {

std::string_view Unquoted(std::string_view text) {
    const auto trim = [](std::string_view part) {
        const std::size_t first = part.find_first_not_of(" \t");
        if (first == std::string_view::npos) return std::string_view();
        return part.substr(first, part.find_last_not_of(" \t") - first + 1);
    };
    text = trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = trim(text.substr(1, text.size() - 2));
    return text;
}

bool IsFileInFolder(const FileSystem& files, const std::string& folder, std::string_view name) {
    for (const DirectoryEntry& entry : files.FindEntries(folder, name))
        if (!entry.IsFolder) return true;
    return false;
}

}  // namespace

std::vector<std::string> SystemInformationPrograms(const MachineValueReader& readValue, const FileSystem& files) {
    std::vector<std::string> programs;
    if (const auto path = readValue(kSystemInformationKey, kSystemInformationPathValue)) {
        if (const std::string_view program = Unquoted(*path); !program.empty()) programs.emplace_back(program);
    }
    if (const auto location = readValue(kSharedToolsLocationKey, kSystemInformationFolderValue)) {
        std::string folder(Unquoted(*location));
        if (!folder.empty()) {
            if (folder.back() != '\\') folder.push_back('\\');
            if (IsFileInFolder(files, folder, kSystemInformationFileName)) {
                std::string program = folder + std::string(kSystemInformationFileName);
                if (programs.empty() || programs.front() != program) programs.push_back(std::move(program));
            }
        }
    }
    return programs;
}

}  // namespace lurvane
