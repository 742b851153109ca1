#include "about/update_address.h"

#include "about/maker_links.h"
#include "text/language.h"

namespace lurvane {

std::string UpdateAddress(int32_t language, const ProgramVersion& version) {
    std::string address(kUpdatePageBase);
    address.append(language == kGerman ? "_de" : "_en");
    address.append(".php?product=");
    address.append(kProductName);
    address.append("&version=");
    address.append(version.Text());
    return address;
}

}  // namespace lurvane
