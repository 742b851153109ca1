#include "util/win32/text_convert.h"

#include <gtest/gtest.h>

namespace lurvane::win32 {
namespace {

TEST(TextConvert, NonAsciiPathsSurviveTheRoundTrip) {
    const std::string path = "C:\\Bilder f\xC3\xBCr Oma\\Strand \xE2\x82\xAC.jpg";
    const std::wstring wide = Widen(path);
    EXPECT_EQ(wide, L"C:\\Bilder f\u00FCr Oma\\Strand \u20AC.jpg");
    EXPECT_EQ(Narrow(wide), path);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
}

}  // namespace
}  // namespace lurvane::win32
