#include "dialog/sound_page_rules.h"

#include <algorithm>
#include <cstdlib>

#include "util/file_functions.h"

namespace lurvane {

std::string SecondsText(int32_t milliseconds, std::string_view decimalSign, bool wholeWithoutTenth) {
    // Whole numbers all the way: a binary fraction would round 215.25 the wrong way.
    const int64_t magnitude = std::llabs(static_cast<int64_t>(milliseconds));
    int64_t tenths = magnitude / 100;
    const int64_t rest = magnitude % 100;
    if (rest > 50 || (rest == 50 && tenths % 2 != 0)) ++tenths;
    std::string text = (milliseconds < 0 && tenths != 0 ? "-" : "") + std::to_string(tenths / 10);
    if (!wholeWithoutTenth || tenths % 10 != 0) text += std::string(decimalSign) + std::to_string(tenths % 10);
    return text;
}

bool IsMp3Name(std::string_view fileName) {
    std::string extension = GetExtension(fileName);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == "mp3";
}

std::string SoundInfoText(const Language& texts, int32_t lengthMs, bool isMp3, const std::optional<SongTag>& tag,
                          std::string_view decimalSign) {
    std::string text =
        texts.GetLangString(TextId::Duration) + " " + SecondsText(lengthMs, decimalSign, true) + " sec.";
    if (!isMp3) return text;
    if (!tag) return text + "\r\n" + texts.GetLangString(TextId::NoId3v2Tag);
    const std::pair<TextId, const std::string*> lines[] = {{TextId::Title, &tag->Title},
                                                           {TextId::Artist, &tag->Artist},
                                                           {TextId::Album, &tag->Album},
                                                           {TextId::Year, &tag->Year}};
    for (const auto& [label, value] : lines) text += "\r\n" + texts.GetLangString(label) + " " + *value;
    return text;
}

int ProgressBarWidth(int fullWidth, int32_t lengthMs, int32_t positionMs) {
    if (lengthMs == 0 || fullWidth <= 0) return 0;
    const double width = static_cast<double>(fullWidth) / lengthMs * positionMs;
    if (!(width > 0)) return 0;
    return width >= fullWidth ? fullWidth : static_cast<int>(width);
}

}  // namespace lurvane
