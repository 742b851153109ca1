// The sound page's texts and its progress bar's geometry, kept apart from the windows so that
// the rounding and the wording can be checked without a sound device.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/language.h"

namespace lurvane {

// The tag fields the information box shows, as the tag reader found them (UTF-8).
struct SongTag {
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Year;
};

// Milliseconds as seconds rounded to tenths, halves to even, with `decimalSign` between the
// parts. `wholeWithoutTenth` drops a ".0" the way the locale's plain number form does; the
// progress label always keeps its one decimal so that it does not jump in width.
std::string SecondsText(int32_t milliseconds, std::string_view decimalSign, bool wholeWithoutTenth);

// True for a name whose extension is "mp3" in any case: only those are asked for a tag.
bool IsMp3Name(std::string_view fileName);

// The information box for a piece `lengthMs` long: the duration line alone for a file that is
// not MP3; for an MP3 file the tag's four lines, or the "no tag" line when `tag` is empty.
std::string SoundInfoText(const Language& texts, int32_t lengthMs, bool isMp3, const std::optional<SongTag>& tag,
                          std::string_view decimalSign);

// The filled part of a progress bar `fullWidth` wide. A position past the reported length (a
// device that rounds them differently) still leaves the bar inside its frame.
int ProgressBarWidth(int fullWidth, int32_t lengthMs, int32_t positionMs);

}  // namespace lurvane
