// The maker's addresses that the about box and the update check hand to the browser, and the
// names the about box credits. The hosts sit under the reserved ".example" domain until the
// maker's own server is named; nothing else in the program depends on their values.
#pragma once

#include <string>
#include <string_view>

namespace lurvane {

inline constexpr std::string_view kProductName = "Lurvane";

inline constexpr std::string_view kMakerWebPage = "https://www.brannick.example/lurvane";
inline constexpr std::string_view kMakerMailAddress = "lurvane@brannick.example";
inline constexpr std::string_view kDonationPage = "https://www.brannick.example/donate/";
inline constexpr std::string_view kGraphicsSourcePage = "https://icons.brannick.example";
// The update page's address without its language suffix and query; its path ends in "/update".
inline constexpr std::string_view kUpdatePageBase = "https://www.brannick.example/lurvane/update";

inline constexpr std::string_view kTranslatorName = "Marta Lindqvist";
inline constexpr std::string_view kItalianTranslatorName = "Giulia Ferraro";

// A "mailto:" address that opens a new message to `address` with `subject`, which is
// percent-encoded as UTF-8 so that blanks and non-ASCII letters arrive intact.
std::string MailLink(std::string_view address, std::string_view subject);

}  // namespace lurvane
