#include "util/memory_file_system.h"

#include <algorithm>

#include "util/text_encoding.h"

namespace lurvane {
namespace {

// Code points of a UTF-8 text, with ASCII and Latin-1 letters folded to lower case.
std::u32string FoldedCodePoints(std::string_view text) {
    std::u32string folded = Utf8ToUtf32(text);
    for (char32_t& code : folded)
        if ((code >= U'A' && code <= U'Z') || (code >= 0xC0 && code <= 0xDE && code != 0xD7)) code += 0x20;
    return folded;
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
