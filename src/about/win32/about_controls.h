// The about box's control ids, for the box itself and for tests that find its controls.
#pragma once

#include <windows.h>

namespace lurvane::win32::about_control {

inline constexpr WORD kIcon = 100;
inline constexpr WORD kTitle = 101;
inline constexpr WORD kVersion = 102;
inline constexpr WORD kDescription = 103;
inline constexpr WORD kFreewareNotice = 104;
inline constexpr WORD kDisclaimer = 105;
inline constexpr WORD kTranslations = 106;
inline constexpr WORD kTranslatorName = 107;
inline constexpr WORD kItalianTranslation = 108;
inline constexpr WORD kItalianTranslatorName = 109;
inline constexpr WORD kLinkFrame = 110;
inline constexpr WORD kInternetCaption = 111;
inline constexpr WORD kWebLink = 112;
inline constexpr WORD kMailCaption = 113;
inline constexpr WORD kMailLink = 114;
inline constexpr WORD kDonationCaption = 115;
inline constexpr WORD kDonationLink = 116;
inline constexpr WORD kGraphicsLink = 117;
inline constexpr WORD kSystemInfo = 118;
inline constexpr WORD kOk = IDOK;

}  // namespace lurvane::win32::about_control
