#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace lurvane {
namespace {

TEST(SelectMode, OnlyTheFirstTwoCharactersChooseTheMode) {
    EXPECT_EQ(SelectMode("/s"), SaverMode::FullScreen);
    EXPECT_EQ(SelectMode("/S"), SaverMode::FullScreen);
    EXPECT_EQ(SelectMode("/s:123"), SaverMode::FullScreen);
    EXPECT_EQ(SelectMode(""), SaverMode::FullScreen);
    EXPECT_EQ(SelectMode(" /s"), SaverMode::None);
    EXPECT_EQ(SelectMode("-s"), SaverMode::None);
    EXPECT_EQ(SelectMode("/x"), SaverMode::None);
    EXPECT_EQ(SelectMode("/c"), SaverMode::Settings);
    EXPECT_EQ(SelectMode("/c:5678"), SaverMode::Settings);
    EXPECT_EQ(SelectMode("/a"), SaverMode::ChangePassword);
    EXPECT_EQ(SelectMode("/p 1234"), SaverMode::Preview);
    EXPECT_EQ(SelectMode("/P"), SaverMode::Preview);
}

TEST(SelectMode, ManualStartNeedsTheWordManualAnywhere) {
    EXPECT_EQ(SelectMode("/m manual"), SaverMode::FullScreenManual);
    EXPECT_EQ(SelectMode("/M MANUAL"), SaverMode::FullScreenManual);
    EXPECT_EQ(SelectMode("/mManual"), SaverMode::FullScreenManual);
    EXPECT_EQ(SelectMode("/m"), SaverMode::None);
    EXPECT_EQ(SelectMode("/m manu al"), SaverMode::None);
}

TEST(ParseWindowHandle, TakesTheLongestNumericTail) {
    EXPECT_EQ(ParseWindowHandle("/p 1234"), 1234);
    EXPECT_EQ(ParseWindowHandle("/c:5678"), 5678);
    EXPECT_EQ(ParseWindowHandle("/c"), 0);
    EXPECT_EQ(ParseWindowHandle("/p   42  "), 42);
    EXPECT_EQ(ParseWindowHandle("/p 0"), 0);
    EXPECT_EQ(ParseWindowHandle("/p"), 0);
    EXPECT_EQ(ParseWindowHandle(""), 0);
    EXPECT_EQ(ParseWindowHandle("/p -5"), -5);
    EXPECT_EQ(ParseWindowHandle("/p 12.5"), 12);
    EXPECT_EQ(ParseWindowHandle("/p 99999999999"), 0);
}

TEST(ArgumentsOf, DropsTheProgramNameAndOneSeparatingBlank) {
    EXPECT_EQ(ArgumentsOf("\"C:\\Saver Dir\\lurvane.scr\" /s"), "/s");
    EXPECT_EQ(ArgumentsOf("lurvane.scr /p 123"), "/p 123");
    EXPECT_EQ(ArgumentsOf("lurvane.scr  /s"), " /s");
    EXPECT_EQ(ArgumentsOf("lurvane.scr"), "");
    EXPECT_EQ(ArgumentsOf("\"unterminated"), "");
}

TEST(ArgumentsOf, AnUnquotedProgramPathWithBlanksIsCutWhole) {
    const std::string_view program = "C:\\Program Files\\Lurvane\\lurvane.scr";
    EXPECT_EQ(ArgumentsOf("C:\\Program Files\\Lurvane\\lurvane.scr /s", program), "/s");
    EXPECT_EQ(ArgumentsOf("c:\\program files\\lurvane\\LURVANE.SCR /p 123", program), "/p 123");
    EXPECT_EQ(ArgumentsOf("C:\\Program Files\\Lurvane\\lurvane.scr", program), "");
    EXPECT_EQ(ArgumentsOf("C:\\Program Files\\Lurvane\\lurvane.scr\t/c:42", program), "/c:42");
    // The quoted and the short forms are found as before.
    EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\Lurvane\\lurvane.scr\" /s", program), "/s");
    EXPECT_EQ(ArgumentsOf("lurvane.scr /s", program), "/s");
    EXPECT_EQ(ArgumentsOf("C:\\PROGRA~1\\Lurvane\\lurvane.scr /s", program), "/s");
    // Only the whole path counts: a longer name that starts like it is another program.
    EXPECT_EQ(ArgumentsOf("C:\\Program Files\\Lurvane\\lurvane.scrx /s", program), "Files\\Lurvane\\lurvane.scrx /s");
    EXPECT_EQ(SelectMode(ArgumentsOf("C:\\Program Files\\Lurvane\\lurvane.scr /S", program)), SaverMode::FullScreen);
}

}  // namespace
}  // namespace lurvane
