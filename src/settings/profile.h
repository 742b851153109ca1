// Profiles: the wave, animation and path settings that belong to one background picture, kept
// in an INI file (extension "rpp") beside it. The model's profile path names the file.
#pragma once

#include <optional>

#include "settings/settings_model.h"

namespace lurvane {

struct ProfileLoadResult {
    // The first value the model refused; the load stopped there, so the values before it are
    // applied and those after it are not. Nothing when the whole profile was applied.
    std::optional<SettingId> StoppedAt;
    bool Complete() const { return !StoppedAt; }
};

// Loads the profile named by the model's profile path: the path replaces the model's path
// (a profile without one leaves marker 0 alone), then direction, count, period, amplitude,
// smoothing and frame rate, each from its key or from the profile's default. The smoothing
// never stops the load: a value below 1, or no number, counts as 1. A missing or unreadable
// file gives every default. The file is read once, however large.
ProfileLoadResult LoadINI(SettingsModel& model);

// Writes the path (at zoom factor 1) and the six wave and animation values into the profile
// named by the model's profile path, in that order, as one change of the file. False when the
// save failed or was refused because the profile would grow too large to be read again; the
// file is then as it was, unless the file system failed part way through the one write. The
// model's markers are not touched either way.
bool SaveINI(const SettingsModel& model);

}  // namespace lurvane
