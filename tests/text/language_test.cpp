#include "text/language.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace lurvane {
namespace {

class LanguageTest : public ::testing::Test {
protected:
    Language language_;
};

bool IsItalianGap(int32_t number) { return (number >= 98 && number <= 109) || (number >= 123 && number <= 129); }

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

TEST_F(LanguageTest, TableIsOrderedAndHoldsOnlyTheThreeLanguageBlocksInUtf8) {
    int32_t previous = 0;
    for (const LanguageTableEntry& entry : LanguageTable()) {
        EXPECT_GT(entry.Key, previous) << "keys must ascend without repeats";
        previous = entry.Key;
        const int32_t language = entry.Key / 1000;
        const int32_t number = entry.Key % 1000;
        EXPECT_TRUE(language >= kGerman && language <= kItalian) << entry.Key;
        EXPECT_TRUE(number >= kFirstLanguageText && number <= kLastLanguageText) << entry.Key;
        EXPECT_FALSE(entry.Text.empty()) << entry.Key;
        EXPECT_TRUE(IsValidUtf8(entry.Text)) << entry.Key;
    }
}

TEST_F(LanguageTest, GermanAndEnglishAreCompleteAndItalianLacksExactlyTheUntranslatedTooltips) {
    for (int32_t n = kFirstLanguageText; n <= kLastLanguageText; ++n) {
        language_.SetLanguage(kGerman);
        EXPECT_FALSE(language_.GetLangString(n).empty()) << "German " << n;
        language_.SetLanguage(kEnglish);
        EXPECT_FALSE(language_.GetLangString(n).empty()) << "English " << n;
        language_.SetLanguage(kItalian);
        EXPECT_EQ(language_.GetLangString(n).empty(), IsItalianGap(n)) << "Italian " << n;
    }
    EXPECT_EQ(LanguageTable().size(), 142u * 3 - 19);
}

TEST_F(LanguageTest, ItalianKeepsTheEnglishWordingOnlyWhereTheTranslatorLeftIt) {
    const std::set<int32_t> englishInItalian = {24, 25, 110, 121, 122, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141};
    for (int32_t n = kFirstLanguageText; n <= kLastLanguageText; ++n) {
        if (IsItalianGap(n)) continue;
        const auto english = FindLanguageText(2000 + n);
        const auto italian = FindLanguageText(3000 + n);
        ASSERT_TRUE(english && italian) << n;
        EXPECT_EQ(*italian == *english, englishInItalian.count(n) == 1) << n << ": " << *italian;
    }
}

TEST_F(LanguageTest, QuotedWordingsAreExact) {
    struct Expected {
        int32_t Key;
        const char* Text;
    };
    const Expected expected[] = {
        {1054, "Die Abmessungen des Desktops konnten nicht bestimmt werden."},
        {2054, "Desktop size cannot be determined."},
        {3054, "La dimensione del Desktop non può essere determinata."},
        {1055, "Der Snapshot konnte nicht erstellt werden."},
        {2055, "Snapshot failed."},
        {3055, "Istantanea fallita."},
        {2069, "As long as this text is visible, Lurvane won't respond to user inputs"},
        {1066, "Hintergrundbild wählen"},
        {3066, "Scegli un'immagine di sfondo"},
        {1067, "Alle Bilddateien"},
        {3068, "Tutti i files"},
        {1041, "Es wurde zu diesem Hintergrundbild eine Profildatei gefunden."},
        {1042, "Möchten Sie diese Profildatei ebenfalls laden?"},
        {1013, "Fra&merate festlegen"},
        {1073, "Lurvane - Einstellungen"},
        {1130, "Abspielen"},
        {1131, "Stoppen"},
        {1132, "Hintergrundmusik:"},
        {1133, "Musikdatei:"},
        {1141, "kein ID3v2 Tag"},
        {2001, " Background picture: "},
        {2010, "Wave freqency:"},
        {2020, " Background settings: "},
        {2065, "Load profile"},
        {2076, "Changes the wave direction. In that direction "},
        {2084, "Already a framerate of 20 fps means that the animation is fluently ."},
        {2102, "Three pathpoints will remain, "},
        {2128, "This makes the background image maller,"},
        {2053, "System Information Is Unavailable At This Time."},
        {2027, "A screen saver not only for the hot days"},
        {2133, "Soundfile:"},
    };
    for (const Expected& e : expected) {
        const auto text = FindLanguageText(e.Key);
        ASSERT_TRUE(text) << e.Key;
        EXPECT_EQ(*text, e.Text) << e.Key;
    }
    // Text 69 is printed over the picture in every language; each block has its own wording.
    EXPECT_NE(FindLanguageText(1069), FindLanguageText(2069));
    EXPECT_NE(FindLanguageText(3069), FindLanguageText(2069));
}

TEST_F(LanguageTest, GetLangStringFollowsTheCurrentLanguage) {
    language_.SetLanguage(kEnglish);
    EXPECT_EQ(language_.GetLanguage(), kEnglish);
    EXPECT_EQ(language_.GetLangString(55), "Snapshot failed.");
    language_.SetLanguage(kGerman);
    EXPECT_EQ(language_.GetLangString(55), "Der Snapshot konnte nicht erstellt werden.");
    language_.SetLanguage(kItalian);
    EXPECT_EQ(language_.GetLangString(55), "Istantanea fallita.");
    EXPECT_EQ(language_.GetLangString(98), "");
}

TEST_F(LanguageTest, UnsetOrUnknownLanguagesAndOutOfRangeNumbersGiveTheEmptyText) {
    language_.SetLanguage(0);  // the state before the first SetLanguage
    EXPECT_EQ(language_.GetLanguage(), 0);
    EXPECT_EQ(language_.GetLangString(1), "");
    EXPECT_EQ(language_.GetLangString(1001), "") << "must not reach the German block through the number";

    language_.SetLanguage(7);
    EXPECT_EQ(language_.GetLanguage(), 7);
    EXPECT_EQ(language_.GetLangString(1), "");

    language_.SetLanguage(kGerman);
    for (int32_t n : {0, -1, 143, 999, 1001, 2055, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()})
        EXPECT_EQ(language_.GetLangString(n), "") << n;

    for (int32_t language : {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), -1}) {
        language_.SetLanguage(language);
        EXPECT_EQ(language_.GetLangString(1), "") << language;
        EXPECT_EQ(language_.GetLangString(142), "") << language;
    }
}

TEST_F(LanguageTest, StoredSettingSelectsALanguageAndFallsBackToGerman) {
    EXPECT_EQ(LanguageFromSetting("1"), kGerman);
    EXPECT_EQ(LanguageFromSetting("2"), kEnglish);
    EXPECT_EQ(LanguageFromSetting("3"), kItalian);
    EXPECT_EQ(LanguageFromSetting(" 2 "), kEnglish);
    for (const char* stored : {"", "7", "abc", "0", "-2", "2.5", "4"})
        EXPECT_EQ(LanguageFromSetting(stored), kGerman) << '"' << stored << '"';
}

}  // namespace
}  // namespace lurvane
