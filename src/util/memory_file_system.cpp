#include "util/memory_file_system.h"

#include <algorithm>

namespace lurvane {
namespace {

// Code points of a UTF-8 text, case-folded. A byte that does not start a valid sequence
// stands for itself, moved out of the Unicode range so that it never equals a real letter.
std::u32string FoldedCodePoints(std::string_view text) {
    std::u32string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1Fu) : length == 3 ? (lead & 0x0Fu) : (lead & 0x07u);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
            if ((next & 0xC0) != 0x80) {
                length = 0;
                break;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        if (length == 0) {
            result.push_back(0x110000u + lead);
            ++i;
            continue;
        }
        if ((code >= U'A' && code <= U'Z') || (code >= 0xC0 && code <= 0xDE && code != 0xD7)) code += 0x20;
        result.push_back(code);
        i += length;
    }
    return result;
}

bool MatchFolded(std::u32string_view name, std::u32string_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starPattern = std::u32string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starPattern != std::u32string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') ++p;
    return p == pattern.size();
}

std::string WithTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '\\') result.push_back('\\');
    return result;
}

bool SamePath(std::string_view a, std::string_view b) { return FoldedCodePoints(a) == FoldedCodePoints(b); }

// "C:\a\b\" -> "C:\a\"; empty for a root such as "C:\".
std::string ParentFolder(std::string_view folder) {
    const std::size_t slash = folder.substr(0, folder.size() - 1).rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(folder.substr(0, slash + 1));
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    const std::u32string foldedName = FoldedCodePoints(name);
    const std::u32string foldedPattern = FoldedCodePoints(pattern);
    if (MatchFolded(foldedName, foldedPattern)) return true;
    const std::u32string_view view(foldedPattern);
    return view.size() >= 2 && view.substr(view.size() - 2) == U".*" &&
           MatchFolded(foldedName, view.substr(0, view.size() - 2));
}

void MemoryFileSystem::AddFile(std::string_view path) { AddEntry(path, false); }

void MemoryFileSystem::AddFolder(std::string_view path) { EnsureFolder(WithTrailingBackslash(path)); }

MemoryFileSystem::Folder* MemoryFileSystem::FindFolder(std::string_view path) {
    const std::string wanted = WithTrailingBackslash(path);
    const auto found =
        std::find_if(folders_.begin(), folders_.end(), [&](const Folder& folder) { return SamePath(folder.Path, wanted); });
    return found == folders_.end() ? nullptr : &*found;
}

const MemoryFileSystem::Folder* MemoryFileSystem::FindFolder(std::string_view path) const {
    return const_cast<MemoryFileSystem*>(this)->FindFolder(path);
}

MemoryFileSystem::Folder& MemoryFileSystem::EnsureFolder(std::string_view path) {
    if (Folder* existing = FindFolder(path)) return *existing;
    const std::string folderPath = WithTrailingBackslash(path);
    if (!ParentFolder(folderPath).empty()) AddEntry(folderPath.substr(0, folderPath.size() - 1), true);
    if (Folder* added = FindFolder(folderPath)) return *added;
    folders_.push_back({folderPath, {}});
    return folders_.back();
}

void MemoryFileSystem::AddEntry(std::string_view path, bool isFolder) {
    const std::size_t slash = path.rfind('\\');
    const std::string parent(path.substr(0, slash == std::string_view::npos ? 0 : slash + 1));
    const std::string name(path.substr(slash == std::string_view::npos ? 0 : slash + 1));
    Folder& folder = EnsureFolder(parent);
    const bool known = std::any_of(folder.Entries.begin(), folder.Entries.end(),
                                   [&](const DirectoryEntry& entry) { return SamePath(entry.Name, name); });
    if (!known) folder.Entries.push_back({name, isFolder});
    if (isFolder && !FindFolder(std::string(path) + "\\")) folders_.push_back({std::string(path) + "\\", {}});
}

std::vector<DirectoryEntry> MemoryFileSystem::FindEntries(std::string_view folder, std::string_view pattern) const {
    std::vector<DirectoryEntry> result;
    const Folder* found = FindFolder(folder);
    if (!found) return result;
    if (!ParentFolder(found->Path).empty()) {
        for (const char* dots : {".", ".."})
            if (MatchesWildcard(dots, pattern)) result.push_back({dots, true});
    }
    for (const DirectoryEntry& entry : found->Entries)
        if (MatchesWildcard(entry.Name, pattern)) result.push_back(entry);
    return result;
}

}  // namespace lurvane
