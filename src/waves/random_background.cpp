#include "waves/random_background.h"

#include "imaging/picture_types.h"

#include <algorithm>
#include <vector>

#include "util/text_rules.h"

namespace lurvane {
namespace {

std::ptrdiff_t DotCount(std::string_view text) { return std::count(text.begin(), text.end(), '.'); }

// The profiles of the folder. Only files whose extension really is "rpp" count: a sub-folder
// named like a profile has no picture, and Windows also matches "*.rpp" against short 8.3
// names, so "Beach.rppx" could turn up.
std::vector<std::string> ListProfiles(const FileSystem& fileSystem, const std::string& folder) {
    std::vector<std::string> profiles;
    for (const DirectoryEntry& entry : fileSystem.FindEntries(folder, "*.rpp"))
        if (!entry.IsFolder && EqualsIgnoringAsciiCase(GetExtension(entry.Name), "rpp")) profiles.push_back(entry.Name);
    return profiles;
}

}  // namespace

std::string PicturesFolder(const FileSystem& fileSystem) {
    return GetDocumentsFolder(fileSystem) + "\\Lurvane Pictures\\";
}

std::string PickRandomBackground(const std::string& backgroundImage, bool randomizeBackground,
                                 const FileSystem& fileSystem, double secondsSinceMidnight) {
    if (!backgroundImage.empty() || !randomizeBackground) return backgroundImage;

    const std::string folder = PicturesFolder(fileSystem);
    const std::vector<std::string> profiles = ListProfiles(fileSystem, folder);
    if (profiles.empty()) return backgroundImage;
    const std::string& profile = profiles[RandomEntryIndex(profiles.size(), secondsSinceMidnight)];

    const std::string pattern = ChangeExtension(profile, "*");
    std::vector<std::string> pictures;
    for (const DirectoryEntry& entry : fileSystem.FindEntries(folder, pattern))
        if (!entry.IsFolder && IsPictureExtension(GetExtension(entry.Name))) pictures.push_back(entry.Name);
    if (pictures.empty()) return backgroundImage;

    // "Beach.*" also finds "Beach.alt.jpg", which may be listed before "Beach.jpg" and may be
    // the picture of Beach.alt.rpp: a picture named exactly like the profile comes first. The
    // system matched the pattern (in its own case rules), so such a name has no dot more than
    // the pattern. Without one, the first picture the pattern finds ("Beach.2010.jpg") is it.
    const std::ptrdiff_t wantedDots = DotCount(pattern);
    for (const std::string& picture : pictures)
        if (DotCount(picture) == wantedDots) return folder + picture;
    return folder + pictures.front();
}

}  // namespace lurvane
