#include "util/file_functions.h"

#include <bit>
#include <cmath>

#include "util/text_rules.h"

namespace lurvane {
namespace {

// SplitMix64's finaliser: neighbouring seeds (clock readings a few milliseconds apart) give
// unrelated outputs, and the result is the same on every compiler, unlike the standard
// distributions.
uint64_t Mix(uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// A random number in [0, 1) from a generator seeded with the given seed.
double RandomFraction(float seed) {
    const uint64_t bits = Mix(std::bit_cast<uint32_t>(seed));
    return static_cast<double>(bits >> 11) * 0x1.0p-53;
}

}  // namespace

std::vector<std::string> ListFiles(const FileSystem& fileSystem, std::string_view folder, std::string_view pattern) {
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : fileSystem.FindEntries(folder, pattern)) {
        // Some file systems hand back a name with garbage after its terminator.
        std::string name(StripAfterNul(entry.Name));
        if (entry.IsFolder) {
            if (name == "." || name == "..") continue;
            names.push_back("." + name);
        } else {
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::size_t RandomEntryIndex(std::size_t count, double secondsSinceMidnight) {
    if (count <= 1) return 0;
    const double r = RandomFraction(static_cast<float>(secondsSinceMidnight));
    const auto index = static_cast<std::size_t>(std::floor(r * static_cast<double>(count)));
    return index < count ? index : count - 1;  // r * count can round up to count for huge counts
}

std::string PickRandomFile(const FileSystem& fileSystem, std::string_view folder, std::string_view pattern,
                           double secondsSinceMidnight) {
    const std::vector<std::string> names = ListFiles(fileSystem, folder, pattern);
    if (names.empty()) return {};
    return names[RandomEntryIndex(names.size(), secondsSinceMidnight)];
}

int32_t FindExtensionDot(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return -1;
    const std::size_t slash = path.rfind('\\');
    if (slash != std::string_view::npos && slash > dot) return -1;
    return static_cast<int32_t>(dot + 1);
}

std::string GetExtension(std::string_view path) {
    const int32_t dot = FindExtensionDot(path);
    if (dot < 0) return {};
    return std::string(path.substr(static_cast<std::size_t>(dot)));
}

std::string ChangeExtension(std::string_view path, std::string_view newExtension) {
    const int32_t dot = FindExtensionDot(path);
    std::string result;
    if (dot < 0) {
        result.reserve(path.size() + 1 + newExtension.size());
        result.append(path).append(".");
    } else {
        result.assign(path.substr(0, static_cast<std::size_t>(dot)));
    }
    result.append(newExtension);
    return result;
}

std::string GetProfilePath(std::string_view picturePath) { return ChangeExtension(picturePath, "rpp"); }

std::string GetDocumentsFolder(const FileSystem& fileSystem) {
    std::string folder = fileSystem.DocumentsFolder();
    // A documents folder at a drive root comes back as "D:\"; callers append "\...".
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace lurvane
