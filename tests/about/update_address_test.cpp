#include "about/update_address.h"

#include <gtest/gtest.h>

#include "about/maker_links.h"
#include "text/language.h"

namespace lurvane {
namespace {

TEST(UpdateAddress, GermanGetsItsOwnPageAndEveryOtherLanguageTheEnglishOne) {
    const ProgramVersion version{1, 1, 1};
    const std::string german = UpdateAddress(kGerman, version);
    EXPECT_EQ(german, std::string(kUpdatePageBase) + "_de.php?product=Lurvane&version=1.1.1");
    EXPECT_TRUE(kUpdatePageBase.ends_with("/update"));
    EXPECT_TRUE(kUpdatePageBase.starts_with("https://"));
    for (const int32_t language : {kEnglish, kItalian, 0, 7, -1}) {
        const std::string address = UpdateAddress(language, version);
        EXPECT_EQ(address, std::string(kUpdatePageBase) + "_en.php?product=Lurvane&version=1.1.1") << language;
    }
    EXPECT_TRUE(UpdateAddress(kGerman, ProgramVersion{10, 0, 205}).ends_with("_de.php?product=Lurvane&version=10.0.205"))
        << "plain decimal: no blanks, no leading zeros, a zero stays";
}

TEST(MailLink, TheSubjectIsPercentEncodedAsUtf8) {
    EXPECT_EQ(MailLink("a@b.example", "Lurvane"), "mailto:a@b.example?subject=Lurvane");
    EXPECT_EQ(MailLink("a@b.example", "Grüße & mehr?"), "mailto:a@b.example?subject=Gr%C3%BC%C3%9Fe%20%26%20mehr%3F");
}

}  // namespace
}  // namespace lurvane
