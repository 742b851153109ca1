#include "dialog/dialog_rules.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "dialog/path_editor_names.h"
#include "dialog/tooltip_texts.h"

namespace lurvane {
namespace {

TEST(NumberBoxText, KeepsTheLeadingWholeNumberAndClampsHugeOnes) {
    EXPECT_EQ(NumberBoxText("150"), "150");
    EXPECT_EQ(NumberBoxText("12abc"), "12");
    EXPECT_EQ(NumberBoxText("abc"), "0");
    EXPECT_EQ(NumberBoxText(""), "0");
    EXPECT_EQ(NumberBoxText("-5"), "-5");
    EXPECT_EQ(NumberBoxText("2.5"), "2");
    EXPECT_EQ(NumberBoxText("3.5"), "4");
    EXPECT_EQ(NumberBoxText("99999999999999999999999"), "2147483647");
    EXPECT_EQ(NumberBoxText("-99999999999999999999999"), "-2147483648");
    EXPECT_EQ(NumberBoxText("1e999"), "2147483647");
}

TEST(PreviewInterval, RoundsHalvesToEven) {
    EXPECT_EQ(PreviewInterval(20), 50u);
    EXPECT_EQ(PreviewInterval(16), 62u);
    EXPECT_EQ(PreviewInterval(3), 333u);
    EXPECT_EQ(PreviewInterval(100), 10u);
    EXPECT_EQ(PreviewInterval(0), 1000u);
}

// The adjuster's rules as written for the dialog, one step at a time, to compare with.
int32_t ReferencePercent(int direction, double W, double w, double left) {
    return direction == 1 ? static_cast<int32_t>(100 / W * left + 1)
                          : static_cast<int32_t>((W - left - w) * (100 / W) + 1);
}

TEST(AdjusterTrack, EndsMeanOnePercentAndPlacementRoundTripsOnRandomTracks) {
    for (int direction : {0, 1}) {
        AdjusterTrack track{200, 12, direction};
        EXPECT_EQ(track.PercentAt(direction == 1 ? 0 : 188), 1) << direction;
        EXPECT_EQ(track.KnobLeft(1), direction == 1 ? 2 : 186);
    }
    std::mt19937 random(9);
    for (int round = 0; round < 2000; ++round) {
        const int W = std::uniform_int_distribution(20, 800)(random);
        const int w = std::uniform_int_distribution(4, W / 2)(random);
        const int direction = round % 2;
        const AdjusterTrack track{W, w, direction};
        const int left = std::uniform_int_distribution(0, W - w)(random);
        const int32_t percent = track.PercentAt(left);
        EXPECT_EQ(percent, ReferencePercent(direction, W, w, left)) << W << " " << w << " " << left;
        // Placing the knob from that percentage puts it within one percent of the track.
        const int placed = track.KnobLeft(percent);
        EXPECT_LE(std::abs(placed - left), W / 100 + 1) << W << " " << w << " " << left;
        EXPECT_GE(placed, 0);
        EXPECT_LE(placed, W - w);
    }
}

TEST(AdjusterTrack, ADragCentresTheKnobOnThePointerWithinTheTrack) {
    const AdjusterTrack track{200, 10, 1};
    EXPECT_EQ(track.DraggedLeft(5, 50), 50);     // the pointer at the knob's centre
    EXPECT_EQ(track.DraggedLeft(25, 50), 70);
    EXPECT_EQ(track.DraggedLeft(-100, 50), 0);   // held at the left end
    EXPECT_EQ(track.DraggedLeft(500, 50), 190);  // and at the right end
    // A smoothing far beyond the track (a hand-edited value) still stands on it.
    EXPECT_EQ(track.KnobLeft(5000), 190);
    EXPECT_EQ(AdjusterTrack({200, 10, 0}).KnobLeft(5000), 0);
}

TEST(ToolTipText, JoinsTheLinesWithLineBreaksAndLeavesOutOnlyAWhollyMissingTip) {
    Language texts(kEnglish);
    EXPECT_EQ(ToolTipText(texts, TipControl::SavePath),
              "With this button you can save profiles.\r\nProfiles contain all settings that can be adjusted \r\n"
              "in the user interface.");
    EXPECT_EQ(ToolTipText(texts, TipControl::WaveCount), "Changes the number of waves.");

    texts.SetLanguage(kItalian);  // the Italian block lacks texts 98-109 and 123-129
    EXPECT_EQ(ToolTipText(texts, TipControl::WavePreview), "");
    EXPECT_EQ(ToolTipText(texts, TipControl::Proportional), "");
    EXPECT_EQ(ToolTipText(texts, TipControl::DeletePath), "\r\n\r\n");
    EXPECT_EQ(ToolTipText(texts, TipControl::Size), "\r\n\r\n");
    EXPECT_NE(ToolTipText(texts, TipControl::WaveAmp), "");

    // The system timer's tip is German in every language.
    const std::string german = ToolTipText(texts, TipControl::UseSystemTimer);
    for (int32_t language : {kGerman, kEnglish}) {
        texts.SetLanguage(language);
        EXPECT_EQ(ToolTipText(texts, TipControl::UseSystemTimer), german);
    }
    EXPECT_EQ(german.rfind("Bei Verwendung des Systemtimers", 0), 0u);
    EXPECT_EQ(german.substr(german.size() - 13), "\xC3\xBC" "brigbleibt.");
}

// The words are the language table's; the rules are counting from one, a name of its own in
// each language, and German for a language the program does not know.
TEST(PathEditorNames, CountPointsFromOneInTheInterfaceLanguage) {
    std::set<std::string> names;
    for (const int32_t language : {kGerman, kEnglish, kItalian}) {
        const std::string third = MarkerName(language, 2, 5);
        EXPECT_TRUE(third.find('3') != std::string::npos && third.find('5') > third.find('3')) << third;
        EXPECT_EQ(third.find('2'), std::string::npos) << third;
        names.insert(third);
        names.insert(PathEditorName(language));
    }
    EXPECT_EQ(names.size(), 6u);
    EXPECT_EQ(MarkerName(0, 2, 5), MarkerName(kGerman, 2, 5));
    EXPECT_EQ(PathEditorName(0), PathEditorName(kGerman));
}

}  // namespace
}  // namespace lurvane
