#include "about/update_address.h"

#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <random>
#include <string_view>

#include "about/maker_links.h"
#include "text/language.h"

namespace lurvane {
namespace {

// The query of an address split into its keys in order, as a web server would read it.
std::vector<std::pair<std::string, std::string>> QueryOf(std::string_view address) {
    std::vector<std::pair<std::string, std::string>> fields;
    const std::size_t question = address.find('?');
    if (question == std::string_view::npos) return fields;
    std::string_view rest = address.substr(question + 1);
    while (!rest.empty()) {
        const std::size_t amp = rest.find('&');
        const std::string_view field = rest.substr(0, amp);
        const std::size_t equals = field.find('=');
        fields.emplace_back(std::string(field.substr(0, equals)),
                            equals == std::string_view::npos ? std::string() : std::string(field.substr(equals + 1)));
        rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
    }
    return fields;
}

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
}

TEST(UpdateAddress, TheQueryCarriesProductThenVersionInPlainDecimalForAnyNumbers) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> number(0, 99999);
    for (int round = 0; round < 500; ++round) {
        const ProgramVersion version{round == 0 ? 0 : number(random), number(random), number(random)};
        const std::string address = UpdateAddress(kEnglish, version);
        const auto query = QueryOf(address);
        ASSERT_EQ(query.size(), 2u) << address;
        EXPECT_EQ(query[0], (std::pair<std::string, std::string>{"product", "Lurvane"}));
        ASSERT_EQ(query[1].first, "version");
        const std::string& text = query[1].second;
        EXPECT_EQ(text.find_first_not_of("0123456789."), std::string::npos) << text;
        // Split the version back into numbers: exactly three, none with a leading zero.
        int parsed[3] = {-1, -1, -1};
        std::string_view rest = text;
        for (int& part : parsed) {
            const std::size_t dot = rest.find('.');
            const std::string_view digits = rest.substr(0, dot);
            ASSERT_FALSE(digits.empty()) << text;
            EXPECT_FALSE(digits.size() > 1 && digits.front() == '0') << text;
            std::from_chars(digits.data(), digits.data() + digits.size(), part);
            rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
        }
        EXPECT_TRUE(rest.empty()) << text;
        EXPECT_EQ(parsed[0], version.Major);
        EXPECT_EQ(parsed[1], version.Minor);
        EXPECT_EQ(parsed[2], version.Patch);
    }
}

TEST(MailLink, TheSubjectIsPercentEncodedAsUtf8) {
    EXPECT_EQ(MailLink("a@b.example", "Lurvane"), "mailto:a@b.example?subject=Lurvane");
    EXPECT_EQ(MailLink("a@b.example", "Grüße & mehr?"), "mailto:a@b.example?subject=Gr%C3%BC%C3%9Fe%20%26%20mehr%3F");
}

}  // namespace
}  // namespace lurvane
