#include "about/maker_links.h"

namespace lurvane {

std::string MailLink(std::string_view address, std::string_view subject) {
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string link = "mailto:";
    link.append(address);
    link.append("?subject=");
    for (const char c : subject) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (unreserved) {
            link.push_back(c);
        } else {
            link.push_back('%');
            link.push_back(kHexDigits[byte >> 4]);
            link.push_back(kHexDigits[byte & 0xF]);
        }
    }
    return link;
}

}  // namespace lurvane
