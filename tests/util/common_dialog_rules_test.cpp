#include "util/common_dialog_rules.h"

#include <gtest/gtest.h>

namespace lurvane {
namespace {

TEST(CommonDialogRules, StartFolderAndPreselectedNameComeFromTheBoxText) {
    EXPECT_EQ(FolderPart("C:\\music\\song.mp3"), "C:\\music\\");
    EXPECT_EQ(FileNamePart("C:\\music\\song.mp3"), "song.mp3");
    EXPECT_EQ(FolderPart("C:\\Pictures\\"), "C:\\Pictures\\");
    EXPECT_EQ(FileNamePart("C:\\Pictures\\"), "");
    EXPECT_EQ(FileNamePart("C:\\a.b\\noext"), "");
    EXPECT_EQ(FileNamePart("plain.txt"), "plain.txt");
    EXPECT_EQ(FolderPart(""), "");
    EXPECT_EQ(FileNamePart(""), "");
}

TEST(CommonDialogRules, TheDefaultExtensionIsAddedOnlyWhereTheFirstFilterAsksForIt) {
    // No extension reported.
    EXPECT_EQ(FinishChosenPath("C:\\p\\wave", "RPP", 0, 1), "C:\\p\\wave.RPP");
    EXPECT_EQ(FinishChosenPath("C:\\p\\wave", "RPP", 0, 2), "C:\\p\\wave");
    // The name ends in ".".
    EXPECT_EQ(FinishChosenPath("C:\\p\\wave.", "RPP", 10, 1), "C:\\p\\wave.RPP");
    EXPECT_EQ(FinishChosenPath("C:\\p\\wave.", "RPP", 10, 2), "C:\\p\\wave");
    // An extension of its own stays.
    EXPECT_EQ(FinishChosenPath("C:\\p\\wave.rpp", "RPP", 10, 1), "C:\\p\\wave.rpp");
    EXPECT_EQ(FinishChosenPath("C:\\p\\wave.txt", "RPP", 10, 1), "C:\\p\\wave.txt");
    // No default extension: nothing is added.
    EXPECT_EQ(FinishChosenPath("C:\\p\\wave", "", 0, 1), "C:\\p\\wave");
}

TEST(CommonDialogRules, FilterPairsEndInNulsAndTheCustomColoursAreGreys) {
    using namespace std::string_literals;
    EXPECT_EQ(FilterText({{"Lurvane profile (*.rpp)", "*.rpp"}, {"All", "*.*"}}),
              "Lurvane profile (*.rpp)\0*.rpp\0All\0*.*\0\0"s);
    const auto colours = GreyCustomColours();
    EXPECT_EQ(colours[0], 0u);
    EXPECT_EQ(colours[1], 0xD2D2D2u);
    EXPECT_EQ(colours[15], 0x464646u);
}

}  // namespace
}  // namespace lurvane
